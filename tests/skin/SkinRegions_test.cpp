#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SkinFrameParts.h"
#include "SkinPictureTestSupport.h"
#include "SkinRegions.h"

namespace {

using skintest::MakeMaskPicture;

std::int32_t Int32At(const std::vector<std::uint8_t>& data, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | data.at(at + std::size_t(i));
    return std::int32_t(v);
}

TRect RectAt(const std::vector<std::uint8_t>& data, std::size_t at) {
    return {Int32At(data, at), Int32At(data, at + 4), Int32At(data, at + 8), Int32At(data, at + 12)};
}

std::vector<TRect> RectsOf(const std::vector<std::uint8_t>& data) {
    std::vector<TRect> rects;
    for (std::size_t i = 0; i < std::size_t(Int32At(data, 8)); ++i) rects.push_back(RectAt(data, 32 + 16 * i));
    return rects;
}

struct MaskCase {
    const char* name;
    std::vector<std::string> rows;
    int offsetX, offsetY;
    std::vector<TRect> rects;
};

class MaskData : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskData, OneRectanglePerRunOfBlackPixels) {
    const MaskCase& c = GetParam();
    TBitmap mask;
    MakeMaskPicture(mask, c.rows);
    const std::vector<std::uint8_t> data = MaskToRegionData(mask, c.offsetX, c.offsetY);
    ASSERT_EQ(data.size(), 32 + 16 * c.rects.size());
    EXPECT_EQ(Int32At(data, 0), 32);
    EXPECT_EQ(Int32At(data, 4), 1);
    EXPECT_EQ(Int32At(data, 8), std::int32_t(c.rects.size()));
    EXPECT_EQ(Int32At(data, 12), 0);
    EXPECT_EQ(RectAt(data, 16), (TRect{c.offsetX, c.offsetY, c.offsetX + mask.Width(), c.offsetY + mask.Height()}));
    EXPECT_EQ(RectsOf(data), c.rects);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskData,
    testing::Values(MaskCase{"BlackWhiteBlack", {"##..#"}, 0, 0, {{0, 0, 2, 1}, {4, 0, 5, 1}}},
                    MaskCase{"AllWhite", {"...", "..."}, 0, 0, {}},
                    // Only pure black is inside; a dark grey is not.
                    MaskCase{"GreyIsOutside", {"#g#"}, 0, 0, {{0, 0, 1, 1}, {2, 0, 3, 1}}},
                    MaskCase{"RowsFromTheTopWithOffset",
                             {".##.", "####"},
                             10,
                             20,
                             {{11, 20, 13, 21}, {10, 21, 14, 22}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MaskToRegionData, EmptyMaskGivesNoData) {
    EXPECT_TRUE(MaskToRegionData(TBitmap(), 0, 0).empty());
    EXPECT_FALSE(RegionFromMask(TBitmap()).has_value());
}

TEST(MaskToRegionData, KeepsEveryRectanglePastTenThousand) {
    // A checkerboard: 100 runs in each of 101 rows.
    TBitmap mask(200, 101);
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 200; ++x) mask.SetPixels(x, y, (x + y) % 2 == 0 ? clBlack : clWhite);
    const std::vector<std::uint8_t> data = MaskToRegionData(mask, 0, 0);
    ASSERT_EQ(Int32At(data, 8), 10100);
    ASSERT_EQ(data.size(), 32u + 16u * 10100u);
    EXPECT_EQ(RectAt(data, data.size() - 16), (TRect{198, 100, 199, 101}));
    const auto region = RegionFromMask(mask);
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(region->Contains(198, 100));
    EXPECT_FALSE(region->Contains(199, 100));
}

TEST(RegionFromMask, HoldsExactlyTheBlackPixels) {
    TBitmap mask;
    MakeMaskPicture(mask, {".#.", "###", ".#."});
    const auto region = RegionFromMask(mask);
    ASSERT_TRUE(region.has_value());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(region->Contains(x, y), mask.Pixels(x, y) == clBlack) << x << "," << y;
}

// A 10 x 8 mask with rounded top corners, inner rectangle (2, 2, 8, 6) and
// the corner points on its edges.
class SkinRegion : public testing::Test {
protected:
    SkinRegion() {
        MakeMaskPicture(mask, {"..######..", ".########.", "##########", "##########", "##########",
                               "##########", "##########", "##########"});
    }
    SkinCornerPoints Sized(int W, int H) const { return SizedCornerPoints(points, {10, 8}, {W, H}); }

    TBitmap mask;
    const SkinCornerPoints points{{3, 2}, {7, 2}, {3, 6}, {7, 6}, {2, 2, 8, 6}};
};

TEST_F(SkinRegion, BorderMasksFollowTheGrownWindow) {
    SkinFramePartBitmaps parts;
    ComposeBorderMasks(points, mask, 20, Sized(20, 12), parts);
    EXPECT_EQ(parts.Top.Width(), 20);
    EXPECT_EQ(parts.Top.Height(), 2);
    EXPECT_EQ(parts.Bottom.Height(), 2);
    EXPECT_EQ(parts.Left.Width(), 2);
    EXPECT_EQ(parts.Left.Height(), 8);
    EXPECT_EQ(parts.Right.Width(), 2);
    EXPECT_EQ(parts.Top.Pixels(18, 0), clWhite);
    EXPECT_EQ(parts.Top.Pixels(17, 0), clBlack);
}

TEST_F(SkinRegion, CutsTheRoundedCornersOfAGrownWindow) {
    const auto region = ComposeSkinRegion(points, mask, 20, Sized(20, 12));
    ASSERT_TRUE(region.has_value());
    struct Probe {
        int x, y;
        bool inside;
    };
    const Probe probes[] = {
        {0, 0, false}, {1, 0, false},  {2, 0, true},   {0, 1, false},  {1, 1, true},   // top-left corner
        {19, 0, false}, {18, 0, false}, {17, 0, true}, {19, 1, false}, {18, 1, true},  // top-right corner
        {10, 0, true},  {0, 2, true},   {19, 9, true}, {10, 5, true},  {0, 11, true}, {19, 11, true},
        {20, 5, false}, {5, 12, false},
    };
    for (const Probe& p : probes) EXPECT_EQ(region->Contains(p.x, p.y), p.inside) << p.x << "," << p.y;
    EXPECT_EQ(region->BoundingBox(), (TRect{0, 0, 20, 12}));
}

TEST_F(SkinRegion, NoRegionForInvertedCornersOrAnEmptyInnerRectangle) {
    EXPECT_FALSE(ComposeSkinRegion(points, mask, 2, Sized(2, 12)).has_value());  // NRT left of NLT
    EXPECT_FALSE(ComposeSkinRegion(points, mask, 20, Sized(20, 4)).has_value());  // inner height 0
}

}  // namespace
