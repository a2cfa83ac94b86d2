// Regions: combining, point tests, offsets and the binary region data.

#include <gtest/gtest.h>

#include "TColor.h"
#include "TRegion.h"

namespace {

TEST(TRegion, CombineModes) {
    const TRegion a(TRect{0, 0, 10, 10});
    const TRegion b(TRect{5, 5, 15, 15});
    struct Case {
        int op;
        int kind;
        std::vector<TPoint> inside, outside;
    };
    const Case cases[] = {
        {RGN_AND, SIMPLEREGION, {{5, 5}, {9, 9}}, {{4, 5}, {10, 9}, {0, 0}}},
        {RGN_OR, COMPLEXREGION, {{0, 0}, {14, 14}, {9, 12}}, {{12, 2}, {2, 12}, {15, 15}}},
        {RGN_DIFF, COMPLEXREGION, {{0, 0}, {9, 4}, {4, 9}}, {{5, 5}, {9, 9}}},
        {RGN_XOR, COMPLEXREGION, {{0, 0}, {14, 14}}, {{5, 5}, {9, 9}, {12, 2}}},
        {RGN_COPY, SIMPLEREGION, {{0, 0}, {9, 9}}, {{10, 10}, {12, 12}}},
    };
    for (const Case& k : cases) {
        TRegion r;
        EXPECT_EQ(CombineRgn(r, a, b, k.op), k.kind) << k.op;
        for (TPoint p : k.inside) EXPECT_TRUE(PtInRegion(r, p.X, p.Y)) << k.op << " " << p.X << "," << p.Y;
        for (TPoint p : k.outside) EXPECT_FALSE(PtInRegion(r, p.X, p.Y)) << k.op << " " << p.X << "," << p.Y;
    }
    TRegion r(TRect{1, 1, 2, 2});
    EXPECT_EQ(r.Combine(a, b, 99), RGN_ERROR);
    EXPECT_EQ(r, TRegion(TRect{1, 1, 2, 2}));

    // The destination may be an operand.
    TRegion self(TRect{0, 0, 10, 10});
    self.Combine(self, b, RGN_AND);
    EXPECT_EQ(self, TRegion(TRect{5, 5, 10, 10}));
}

TEST(TRegion, RectsBoxOffsetAndEquality) {
    const TRect rects[] = {{0, 0, 4, 2}, {2, 0, 6, 2}, {0, 2, 2, 3}, {7, 7, 7, 9}};  // the last is empty
    TRegion r = TRegion::FromRects(rects);
    EXPECT_EQ(r.BoundingBox(), (TRect{0, 0, 6, 3}));
    EXPECT_EQ(r.Rects(), (std::vector<TRect>{{0, 0, 6, 2}, {0, 2, 2, 3}}));
    EXPECT_EQ(OffsetRgn(r, 10, -1), COMPLEXREGION);
    EXPECT_TRUE(r.Contains(10, -1));
    EXPECT_FALSE(r.Contains(16, 0));  // right edge excluded
    EXPECT_TRUE(r.Overlaps({15, 0, 20, 1}));
    EXPECT_FALSE(r.Overlaps({16, 0, 20, 5}));

    TRegion copy = r;
    EXPECT_EQ(copy, r);
    copy.Offset(1, 0);
    EXPECT_FALSE(copy == r);
    TRegion moved = std::move(copy);
    EXPECT_TRUE(moved.Contains(11, -1));

    EXPECT_TRUE(TRegion().IsEmpty());
    EXPECT_TRUE(TRegion(TRect{5, 5, 2, 8}).IsEmpty());     // inverted: empty
    EXPECT_EQ(CreateRectRgn(5, 5, 2, 8).BoundingBox(), (TRect{2, 5, 5, 8}));  // the platform call orders it
    TRect box{1, 2, 3, 4};
    EXPECT_EQ(GetRgnBox(TRegion(), box), NULLREGION);
    EXPECT_EQ(box, TRect{});
}

TEST(TRegion, RegionDataRoundTripsAndMalformedDataGivesNoRegion) {
    const TRect rects[] = {{0, 0, 3, 1}, {5, 0, 6, 1}, {1, 1, 2, 4}};
    const TRegion r = TRegion::FromRects(rects);
    const std::vector<std::uint8_t> data = GetRegionData(r);
    ASSERT_EQ(data.size(), 32u + 16u * 3u);
    EXPECT_EQ(data[0], 32);
    EXPECT_EQ(data[4], 1);
    EXPECT_EQ(data[8], 3);
    auto back = ExtCreateRegion(data);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, r);

    std::vector<std::uint8_t> shortData(data.begin(), data.end() - 1);
    EXPECT_FALSE(ExtCreateRegion(shortData).has_value());  // count says 3, bytes hold 2.9
    std::vector<std::uint8_t> wrongType = data;
    wrongType[4] = 2;
    EXPECT_FALSE(ExtCreateRegion(wrongType).has_value());
    std::vector<std::uint8_t> hugeCount = data;
    hugeCount[11] = 0x7F;
    EXPECT_FALSE(ExtCreateRegion(hugeCount).has_value());
    EXPECT_FALSE(ExtCreateRegion(std::span<const std::uint8_t>(data.data(), 31)).has_value());
}

TEST(TColor, SystemColoursResolveThroughTheClassicPalette) {
    struct Case {
        TColor in, rgb;
    };
    const Case cases[] = {
        {clBtnFace, 0xC0C0C0}, {clBtnShadow, 0x808080}, {clBtnHighlight, 0xFFFFFF}, {clHighlight, 0x800000},
        {clWindow, 0xFFFFFF},  {clWindowText, 0x000000}, {clInfoBk, 0xE1FFFF},     {0xFF00000F, 0xC0C0C0},
        {clRed, 0x0000FF},     {0x00123456, 0x123456},   {clNone, clNone},          {0xFF0000FF, 0x000000},
    };
    for (const Case& k : cases) EXPECT_EQ(ColorToRGB(k.in), k.rgb) << std::hex << k.in;
    EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
    EXPECT_EQ(GetRValue(0x030201), 1);
    EXPECT_EQ(GetBValue(0x030201), 3);
    EXPECT_EQ(ColorToPixel(clRed) & 0xFFFFFF, 0xFF0000u);  // x8r8g8b8: red is the high byte
    EXPECT_EQ(PixelToColor(0x00102030), RGB(0x10, 0x20, 0x30));
}

}  // namespace
