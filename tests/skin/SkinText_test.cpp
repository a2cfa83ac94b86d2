// Glyph and text layout, text fitting, the small glyphs, and the geometry
// helpers that go with them.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinTextLayout.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of `bitmap` that are not white.
PixelSet Painted(const TBitmap& bitmap) {
    PixelSet set;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixels(x, y) != clWhite) set.insert({x, y});
    return set;
}

PixelSet Filled(int left, int top, int right, int bottom) {
    PixelSet set;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) set.insert({x, y});
    return set;
}

// ---- LayoutGlyphAndText ----

struct LayoutCase {
    const char* name;
    TbsButtonLayout layout;
    int glyphW, glyphH, textW, textH, margin, spacing;
    GlyphAndTextPlaces expected;
};

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, PlacesGlyphAndText) {
    const LayoutCase& c = GetParam();
    const TRect rect{0, 0, 100, 40};  // centre (50, 20)
    EXPECT_EQ(LayoutGlyphAndText(c.layout, rect, c.glyphW, c.glyphH, c.textW, c.textH, c.margin, c.spacing),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Layout,
    testing::Values(
        // Centred group, glyph first: (16 + 40 + 4) / 2 = 30 either side of x = 50.
        LayoutCase{"LeftCentred", blGlyphLeft, 16, 10, 40, 14, -1, 4, {{20, 15}, {40, 13}}},
        LayoutCase{"RightCentred", blGlyphRight, 16, 10, 40, 14, -1, 4, {{64, 15}, {20, 13}}},
        LayoutCase{"LeftWithMargin", blGlyphLeft, 16, 10, 40, 14, 3, 4, {{3, 15}, {23, 13}}},
        LayoutCase{"RightWithMargin", blGlyphRight, 16, 10, 40, 14, 3, 4, {{81, 15}, {37, 13}}},
        // (10 + 14 + 2) / 2 = 13 either side of y = 20; across, both centred on x = 50.
        LayoutCase{"TopCentred", blGlyphTop, 16, 10, 40, 14, -1, 2, {{42, 7}, {30, 19}}},
        LayoutCase{"BottomCentred", blGlyphBottom, 16, 10, 40, 14, -1, 2, {{42, 23}, {30, 7}}},
        LayoutCase{"TopWithMargin", blGlyphTop, 16, 10, 40, 14, 1, 2, {{42, 1}, {30, 13}}},
        LayoutCase{"BottomWithMargin", blGlyphBottom, 16, 10, 40, 14, 1, 2, {{42, 29}, {30, 13}}},
        // Without a glyph the spacing does not count: the text is centred alone.
        LayoutCase{"NoGlyphNoSpacing", blGlyphLeft, 0, 0, 40, 14, -1, 8, {{30, 20}, {30, 13}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- text fitting ----

class TextFitting : public testing::Test {
protected:
    TextFitting() {
        canvas.Font.SetName("Arial");
        canvas.Font.SetHeight(14);
    }
    TCanvas canvas;  // measures without a surface
};

TEST_F(TextFitting, ShortensWithEllipsisOnlyWhenNeeded) {
    EXPECT_EQ(FitTextToWidth(canvas, "Hello world", 1000), "Hello world");
    const int width = canvas.TextWidth("Hel...");
    EXPECT_EQ(FitTextToWidth(canvas, "Hello world", width), "Hel...");
    EXPECT_EQ(FitTextToWidth(canvas, "Hello world", 1), "...");
    EXPECT_EQ(FitTextToWidth(canvas, "", 0), "");
}

TEST_F(TextFitting, RemovesDoubleByteCharactersWhole) {
    const AnsiString word = "单词表";  // three double-byte characters
    const int width = canvas.TextWidth(AnsiString("单") + "...");
    EXPECT_EQ(FitTextToWidth(canvas, word, width), AnsiString("单") + "...");
    EXPECT_EQ(FitTextToWidth(canvas, word, width - 1), "...");
}

TEST_F(TextFitting, WideTextFitsTheSameWay) {
    EXPECT_EQ(FitWideTextToWidth(canvas, U"abcdef", 1000), U"abcdef");
    EXPECT_EQ(FitWideTextToWidth(canvas, U"abcdef", WideTextWidth(canvas, U"ab...")), U"ab...");
    EXPECT_GT(WideTextHeight(canvas, U"ab"), 0);
}

// ---- glyph strips and the glyph-and-text drawing ----

TEST(DrawGlyphFrame, DrawsOneFrameWithItsBottomLeftColourTransparent) {
    TBitmap strip(6, 2), target(8, 4);
    strip.Fill(clRed);
    for (int x = 3; x < 6; ++x)
        for (int y = 0; y < 2; ++y) strip.SetPixels(x, y, clBlue);
    strip.SetPixels(3, 1, clLime);  // frame 2's bottom-left pixel
    strip.SetPixels(5, 0, clLime);
    target.Fill(clWhite);
    DrawGlyphFrame(target.Canvas(), 1, 1, 2, 2, strip);
    EXPECT_EQ(Painted(target), (PixelSet{{1, 1}, {2, 1}, {2, 2}, {3, 2}}));
    EXPECT_EQ(target.Pixels(1, 1), clBlue);

    target.Fill(clWhite);
    DrawGlyphFrame(target.Canvas(), 0, 0, 3, 2, strip);  // no third frame
    DrawGlyphFrame(target.Canvas(), 0, 0, 1, 0, strip);  // no frames at all
    EXPECT_TRUE(Painted(target).empty());
}

TEST(DrawBitmapGlyphAndText, MarkWithoutGlyphOrTextFillsTheRectInset) {
    TBitmap target(20, 16);
    const TBitmap noGlyph;
    for (const bool down : {false, true}) {
        target.Fill(clWhite);
        DrawBitmapGlyphAndText(target.Canvas(), {0, 0, 20, 16}, -1, clRed, true, down, 1, 1, noGlyph, "", blGlyphLeft,
                               1);
        EXPECT_EQ(Painted(target), down ? Filled(4, 5, 18, 13) : Filled(4, 4, 18, 12)) << "down " << down;
    }
}

TEST(DrawBitmapGlyphAndText, GlyphMarkRunsAcrossTheWholeStripBelowTheGlyph) {
    TBitmap strip(8, 4), target(20, 16);
    strip.Fill(clBlue);
    strip.SetPixels(0, 3, clLime);  // frame 1's transparent colour
    target.Fill(clWhite);
    // Frame width 4, centred: glyph at (8, 6); mark rows 8 .. 10 from x = 8 to 16.
    DrawBitmapGlyphAndText(target.Canvas(), {0, 0, 20, 16}, -1, clRed, true, false, 1, 2, strip, "", blGlyphLeft, 1);
    EXPECT_EQ(target.Pixels(8, 6), clBlue);
    EXPECT_EQ(target.Pixels(8, 10), clRed);
    EXPECT_EQ(target.Pixels(15, 10), clRed);
    EXPECT_EQ(target.Pixels(16, 10), clWhite);
    EXPECT_EQ(target.Pixels(8, 11), clWhite);
}

TEST(DrawBitmapGlyphAndText, CaptionIsCentredAndMovesWhenDown) {
    const auto draw = [](bool down) {
        auto target = std::make_unique<TBitmap>(80, 30);
        target->Fill(clWhite);
        target->Canvas().Font.SetName("Arial");
        target->Canvas().Font.SetHeight(14);
        target->Canvas().Font.SetColor(clBlack);
        DrawBitmapGlyphAndText(target->Canvas(), {0, 0, 80, 30}, -1, clRed, false, down, 1, 1, TBitmap(), "OK",
                               blGlyphLeft, 1);
        return Painted(*target);
    };
    const PixelSet up = draw(false);
    ASSERT_FALSE(up.empty());
    int left = 80, right = 0, top = 30, bottom = 0;
    for (const auto& [x, y] : up) {
        left = std::min(left, x), right = std::max(right, x + 1);
        top = std::min(top, y), bottom = std::max(bottom, y + 1);
    }
    EXPECT_NEAR((left + right) / 2.0, 40, 2);
    EXPECT_NEAR((top + bottom) / 2.0, 15, 3);

    PixelSet shiftedBack;
    for (const auto& [x, y] : draw(true)) shiftedBack.insert({x - 1, y - 1});
    EXPECT_EQ(shiftedBack, up);
}

// ---- DrawImageListGlyphAndText ----

// A list of 4 x 4 images: image 0 all `color`.
std::unique_ptr<TImageList> SolidImages(TColor color) {
    auto images = std::make_unique<TImageList>(nullptr);
    images->SetWidth(4);
    images->SetHeight(4);
    TBitmap solid(4, 4);
    solid.Fill(color);
    images->Add(solid);
    return images;
}

PixelSet OfColor(const TBitmap& bitmap, TColor color) {
    PixelSet set;
    for (const auto& [x, y] : Painted(bitmap))
        if (bitmap.Pixels(x, y) == color) set.insert({x, y});
    return set;
}

TEST(DrawImageListGlyphAndText, GlyphMarkRunsAcrossTheGlyphOverItsLastTwoRowsAndTheOneBelow) {
    const auto images = SolidImages(clBlue);
    TBitmap target(20, 16);
    target.Fill(clWhite);
    // Centred: (4 + 1) / 2 = 2 left of x = 10, so the glyph stands at (8, 6).
    DrawImageListGlyphAndText(target.Canvas(), {0, 0, 20, 16}, -1, clRed, true, true, false, images.get(), 0, "",
                              blGlyphLeft, 1);
    EXPECT_EQ(Painted(target), Filled(8, 6, 12, 11));
    EXPECT_EQ(OfColor(target, clRed), Filled(8, 8, 12, 11));
}

TEST(DrawImageListGlyphAndText, AnIndexOutsideTheListIsNoGlyphAndTheFilledMarkIgnoresDown) {
    const auto images = SolidImages(clBlue);
    const struct {
        const char* what;
        const TImageList* images;
        int index;
    } cases[] = {{"index -1", images.get(), -1}, {"index past the end", images.get(), 1}, {"no list", nullptr, 0}};
    for (const auto& c : cases) {
        for (const bool down : {false, true}) {
            TBitmap target(20, 16);
            target.Fill(clWhite);
            DrawImageListGlyphAndText(target.Canvas(), {0, 0, 20, 16}, -1, clRed, true, true, down, c.images, c.index,
                                      "", blGlyphLeft, 1);
            EXPECT_EQ(OfColor(target, clRed), Filled(4, 4, 18, 12)) << c.what << ", down " << down;
            EXPECT_EQ(Painted(target), Filled(4, 4, 18, 12)) << c.what << ", down " << down;
        }
    }
}

TEST(DrawImageListGlyphAndText, GlyphTakesItsDisabledLookAndMovesWhenDown) {
    const auto images = SolidImages(clBlack);
    for (const bool enabled : {true, false}) {
        for (const bool down : {false, true}) {
            TBitmap drawn(20, 16), expected(20, 16);
            drawn.Fill(clWhite);
            expected.Fill(clWhite);
            DrawImageListGlyphAndText(drawn.Canvas(), {0, 0, 20, 16}, -1, clRed, false, enabled, down, images.get(), 0,
                                      "", blGlyphLeft, 1);
            images->Draw(expected.Canvas(), down ? 9 : 8, down ? 7 : 6, 0, enabled);
            EXPECT_EQ(Painted(drawn), Painted(expected)) << "enabled " << enabled << ", down " << down;
            EXPECT_EQ(OfColor(drawn, clBlack), OfColor(expected, clBlack)) << "enabled " << enabled;
        }
    }
}

TEST(DrawImageListGlyphAndText, CaptionStandsBesideTheGlyphAndTheGroupIsCentred) {
    const auto images = SolidImages(clBlue);
    TBitmap target(100, 30);
    target.Fill(clWhite);
    target.Canvas().Font.SetName("Arial");
    target.Canvas().Font.SetHeight(14);
    target.Canvas().Font.SetColor(clBlack);
    const int spacing = 5;
    DrawImageListGlyphAndText(target.Canvas(), {0, 0, 100, 30}, -1, clRed, false, true, false, images.get(), 0, "OK",
                              blGlyphLeft, spacing);
    const PixelSet glyph = OfColor(target, clBlue);
    ASSERT_EQ(glyph.size(), 16u);
    const int glyphLeft = glyph.begin()->first;
    int textLeft = 100, textRight = 0;
    for (const auto& [x, y] : Painted(target)) {
        if (target.Pixels(x, y) == clBlue) continue;
        textLeft = std::min(textLeft, x), textRight = std::max(textRight, x + 1);
    }
    ASSERT_LT(textLeft, textRight) << "no caption drawn";
    EXPECT_GE(textLeft, glyphLeft + 4 + spacing);
    EXPECT_NEAR((glyphLeft + textRight) / 2.0, 50, 2);
}

// ---- small glyphs ----

class Glyphs : public testing::Test {
protected:
    Glyphs() : target(16, 16) { target.Fill(clWhite); }
    TCanvas& Canvas() { return target.Canvas(); }
    TBitmap target;
};

TEST_F(Glyphs, BoxesAndBarsCoverExactlyTheirCells) {
    DrawSmallBox(Canvas(), 2, 3, clBlack);
    EXPECT_EQ(Painted(target), Filled(2, 3, 8, 9));

    target.Fill(clWhite);
    DrawTrayGlyph(Canvas(), 0, 0, clBlack);
    EXPECT_EQ(Painted(target), Filled(2, 2, 7, 7));

    target.Fill(clWhite);
    DrawMinimizeGlyph(Canvas(), 0, 0, clBlack);
    EXPECT_EQ(Painted(target), Filled(1, 8, 9, 10));

    target.Fill(clWhite);
    DrawSysMenuGlyph(Canvas(), 0, 0, clBlack);
    PixelSet outline = Filled(1, 3, 9, 6);
    outline.erase({2, 4}), outline.erase({3, 4}), outline.erase({4, 4}), outline.erase({5, 4}),
        outline.erase({6, 4}), outline.erase({7, 4});
    EXPECT_EQ(Painted(target), outline);
}

TEST_F(Glyphs, CloseGlyphIsFourDiagonals) {
    DrawCloseGlyph(Canvas(), 0, 0, clBlack);
    PixelSet expected;
    for (int i = 0; i < 8; ++i) {
        expected.insert({1 + i, 1 + i});
        expected.insert({9 - i, 1 + i});
        expected.insert({2 + i, 1 + i});
        expected.insert({8 - i, 1 + i});
    }
    EXPECT_EQ(Painted(target), expected);
}

TEST_F(Glyphs, CheckMarkIsThreePixelsThick) {
    DrawCheckMark(Canvas(), 0, 0, clBlack);
    const PixelSet painted = Painted(target);
    for (const auto& p : {std::pair{0, 5}, {0, 3}, {1, 6}, {2, 7}, {2, 5}, {6, 3}, {6, 1}})
        EXPECT_TRUE(painted.contains(p)) << p.first << "," << p.second;
    EXPECT_FALSE(painted.contains({7, 2}));  // the end point is left out
    EXPECT_EQ(painted.size(), 21u);
}

TEST_F(Glyphs, DropDownArrowIsATrianglePointingDown) {
    DrawDropDownArrow(Canvas(), {0, 0, 10, 10}, clBlack);  // centre (5, 5)
    PixelSet expected = Filled(3, 5, 8, 6);
    expected.merge(Filled(4, 6, 7, 7));
    expected.insert({5, 7});
    EXPECT_EQ(Painted(target), expected);
}

TEST_F(Glyphs, DirectionArrowsPointTheirWay) {
    struct Case {
        SkinArrowKind kind;
        PixelSet expected;
    };
    const auto column = [](int x, int from, int to) { return Filled(x, from, x + 1, to + 1); };
    const auto row = [](int y, int from, int to) { return Filled(from, y, to + 1, y + 1); };
    const auto join = [](std::initializer_list<PixelSet> sets) {
        PixelSet all;
        for (const auto& s : sets) all.insert(s.begin(), s.end());
        return all;
    };
    const Case cases[] = {
        {SkinArrowKind::Left, join({column(3, 5, 5), column(4, 4, 6), column(5, 3, 7), column(6, 2, 8)})},
        {SkinArrowKind::Right, join({column(4, 2, 8), column(5, 3, 7), column(6, 4, 6), column(7, 5, 5)})},
        {SkinArrowKind::Up, join({row(3, 5, 5), row(4, 4, 6), row(5, 3, 7), row(6, 2, 8)})},
        {SkinArrowKind::Down, join({row(4, 2, 8), row(5, 3, 7), row(6, 4, 6), row(7, 5, 5)})},
    };
    for (const Case& c : cases) {
        target.Fill(clWhite);
        DrawDirectionArrow(Canvas(), {0, 0, 10, 10}, c.kind, clBlack);
        EXPECT_EQ(Painted(target), c.expected) << int(c.kind);
    }
}

TEST_F(Glyphs, LeaveThePenAndBrushAsTheyWere) {
    Canvas().Pen.Color = clGreen;
    Canvas().Brush.Color = clYellow;
    Canvas().Brush.Style = bsClear;
    DrawTrayGlyph(Canvas(), 0, 0, clRed);
    DrawMaximizeGlyph(Canvas(), 0, 0, clRed);
    EXPECT_EQ(Canvas().Pen.Color, clGreen);
    EXPECT_EQ(Canvas().Brush.Color, clYellow);
    EXPECT_EQ(Canvas().Brush.Style, bsClear);
}

// ---- geometry helpers ----

TEST(SkinGeometry, EdgeConventions) {
    const TRect r{2, 2, 6, 5};
    EXPECT_TRUE(PointInRectInclusive(r, {6, 5}));
    EXPECT_FALSE(PointInRectInclusive(r, {7, 5}));
    EXPECT_TRUE(RectInsideRect({2, 2, 5, 4}, r));
    EXPECT_FALSE(RectInsideRect({2, 2, 6, 4}, r));  // the inner's right edge lies on the outer's
    EXPECT_TRUE(PointIsEmpty({0, 7}));
    EXPECT_FALSE(PointIsEmpty({1, 7}));
    EXPECT_TRUE(RectIsEmpty({0, 0, 0, 0}));
    EXPECT_TRUE(RectIsEmpty({5, 0, 4, 9}));
    EXPECT_EQ(WidthOf(r), 4);
    EXPECT_EQ(HeightOf(r), 3);
}

}  // namespace
