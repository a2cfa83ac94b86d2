#include <gtest/gtest.h>

#include <vector>

#include "SkinComposition.h"
#include "SkinFrameParts.h"
#include "SkinPictureTestSupport.h"
#include "SkinPieceCopy.h"

namespace {

using skintest::MakeCoordinatePicture;
using skintest::SourceColumns;
using skintest::SourceOf;
using skintest::SourcePixel;
using skintest::SourceRows;

std::vector<int> Repeat(int value, int count) { return std::vector<int>(std::size_t(count), value); }

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// ---- three-piece images: the tiling rule ----

struct RowCase {
    const char* name;
    int leftW, rightW, W;
    std::vector<int> columns;  // source x of every produced column
};

class RowImage : public testing::TestWithParam<RowCase> {};

// The picture row is x = 0 .. 7; the skin rectangle covers x = 1 .. 5.
TEST_P(RowImage, TilesTheMiddleFromItsStartAndCutsTheLastCopy) {
    const RowCase& c = GetParam();
    TBitmap picture, image;
    MakeCoordinatePicture(picture, 8, 1);
    ComposeRowImage(c.leftW, c.rightW, image, false, c.W, {1, 0, 6, 1}, picture);
    EXPECT_EQ(image.Width(), c.W);
    EXPECT_EQ(image.Height(), 1);
    EXPECT_EQ(SourceColumns(image, 0), c.columns);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowImage,
    testing::Values(RowCase{"NoEndsTileTheWholeSkinRect", 0, 0, 12, {1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2}},
                    RowCase{"TwoAndAHalfTiles", 1, 0, 11, {1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3}},
                    RowCase{"ExactMultiple", 1, 1, 8, {1, 2, 3, 4, 2, 3, 4, 5}},
                    RowCase{"OnePixelMiddleOver100", 2, 2, 104, Concat({{1, 2}, Repeat(3, 100), {4, 5}})},
                    // An empty middle counts as one column: the first of the right end.
                    RowCase{"EmptyMiddleTakesOneColumn", 3, 2, 8, {1, 2, 3, 4, 4, 4, 4, 5}},
                    RowCase{"EndsWiderThanTheImage", 3, 3, 4, {1, 3, 4, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RowImageVariants, LeftOnlyAndMiddleOnly) {
    TBitmap picture, image;
    MakeCoordinatePicture(picture, 8, 1);
    ComposeRowImageLeft(1, 1, image, false, 9, {1, 0, 6, 1}, picture);
    EXPECT_EQ(SourceColumns(image, 0), (std::vector<int>{1, 2, 3, 4, 2, 3, 4, 2, 3}));
    ComposeRowImageMiddle(1, 1, image, false, 7, {1, 0, 6, 1}, picture);
    EXPECT_EQ(SourceColumns(image, 0), (std::vector<int>{2, 3, 4, 2, 3, 4, 2}));
}

TEST(ColumnImage, TilesTheMiddleAndPaintsNothingForAnEmptyMiddle) {
    TBitmap picture, image;
    MakeCoordinatePicture(picture, 1, 8);
    const TRect skinRect{0, 1, 1, 6};  // y = 1 .. 5
    ComposeColumnImage(1, 1, image, false, 8, skinRect, picture);
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(SourceRows(image, 0), (std::vector<int>{1, 2, 3, 4, 2, 3, 4, 5}));
    image.Fill(clWhite);
    ComposeColumnImage(3, 2, image, false, 8, skinRect, picture);
    EXPECT_EQ(SourceRows(image, 0), (std::vector<int>{1, 2, 3, -1, -1, -1, 4, 5}));
}

TEST(RowImage, ComposingAPictureFromItselfReadsTheOriginal) {
    TBitmap picture, expected;
    MakeCoordinatePicture(picture, 8, 1);
    ComposeRowImage(1, 1, expected, false, 11, {1, 0, 6, 1}, picture);
    ComposeRowImage(1, 1, picture, false, 11, {1, 0, 6, 1}, picture);
    EXPECT_EQ(SourceColumns(picture, 0), SourceColumns(expected, 0));
}

// ---- the nine-part image ----
//
// Picture 14 x 12; skin rectangle (2, 1, 12, 9), 10 x 8. Client rectangle
// (2, 2, 8, 6); corner points inside it on both axes, so every corner is a
// true L: LT (4, 3), RT (7, 3), LB (3, 5), RB (7, 5). Tile lengths: top 3,
// bottom 4, sides 2; client piece 6 x 4.
class NinePart : public testing::Test {
protected:
    NinePart() { MakeCoordinatePicture(picture, 14, 12); }

    SkinCornerPoints Sized(int W, int H) const { return SizedCornerPoints(points, {10, 8}, {W, H}); }
    void Compose(int W, int H, const SkinStretchFlags& flags = {}, bool drawClient = true) {
        ComposeSkinImage(points, skinRect, picture, image, W, H, Sized(W, H), flags, drawClient);
    }

    TBitmap picture, image;
    const TRect skinRect{2, 1, 12, 9};
    SkinCornerPoints points{{4, 3}, {7, 3}, {3, 5}, {7, 5}, {2, 2, 8, 6}};
};

TEST_F(NinePart, GrownImagePlacesCornersEdgesAndClientExactly) {
    Compose(15, 11);  // dW = 5, dH = 3
    ASSERT_EQ(image.Width(), 15);
    ASSERT_EQ(image.Height(), 11);
    // Top row: corner to LT.x, the top tile 6..8 from x = 4 cut at NRT.x = 12, the right corner.
    EXPECT_EQ(SourceColumns(image, 0), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 6, 7, 8, 6, 7, 9, 10, 11}));
    // Bottom row: the corner's second piece reaches to LB.x; the bottom tile 5..8 from x = 3.
    EXPECT_EQ(SourceColumns(image, 10), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 5, 6, 7, 8, 5, 9, 10, 11}));
    // Left and right columns: corner rows to the corner points' y, the side tile 4..5 between.
    const std::vector<int> sideRows{1, 2, 3, 4, 5, 4, 5, 4, 6, 7, 8};
    EXPECT_EQ(SourceRows(image, 0), sideRows);
    EXPECT_EQ(SourceRows(image, 14), sideRows);
    // The client part tiles the piece (4..9, 3..6) from NCR's top-left corner.
    EXPECT_EQ(SourceColumns(image, 2), Concat({{2, 3}, {4, 5, 6, 7, 8, 9, 4, 5, 6, 7, 8}, {10, 11}}));
    EXPECT_EQ(SourceRows(image, 2), (std::vector<int>{1, 2, 3, 4, 5, 6, 3, 4, 5, 7, 8}));
}

TEST_F(NinePart, TargetOfTheSkinRectsSizeReproducesItForEveryFlagSet) {
    const SkinStretchFlags tiled{};
    const SkinStretchFlags stretched[] = {{true, true, true, true, true, SkinStretchKind::Full},
                                          {true, true, true, true, true, SkinStretchKind::Horz},
                                          {true, true, true, true, true, SkinStretchKind::Vert}};
    std::vector<SkinStretchFlags> all{tiled};
    all.insert(all.end(), std::begin(stretched), std::end(stretched));
    for (const SkinStretchFlags& flags : all) {
        Compose(10, 8, flags);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(SourceOf(image, x, y), (SourcePixel{x + 2, y + 1}))
                    << "at " << x << "," << y << " kind " << int(flags.stretchtype);
    }
}

TEST_F(NinePart, ClientIsLeftAloneWithoutDrawClient) {
    Compose(15, 11, {}, false);
    EXPECT_EQ(SourceOf(image, 6, 5), SourcePixel{});
    EXPECT_EQ(SourceOf(image, 0, 5), (SourcePixel{2, 4}));
}

TEST_F(NinePart, DegenerateInputsResizeAndPaintNothing) {
    points.rightbottompoint.X = points.lefttoppoint.X;  // RB on LT's column
    Compose(15, 11);
    EXPECT_EQ(image.Width(), 15);
    EXPECT_EQ(image.Height(), 11);
    EXPECT_EQ(SourceOf(image, 0, 0), SourcePixel{});

    points.rightbottompoint = {7, 5};
    TBitmap empty;
    ComposeSkinImage(points, skinRect, empty, image, 12, 9, Sized(12, 9), {}, true);
    EXPECT_EQ(image.Width(), 12);
    EXPECT_EQ(SourceOf(image, 0, 0), SourcePixel{});
}

TEST_F(NinePart, ZeroTileLengthLeavesItsBandUnpainted) {
    points.righttoppoint = {4, 3};  // top tile length 0
    Compose(15, 11);
    EXPECT_EQ(SourceOf(image, 5, 0), SourcePixel{});
    EXPECT_EQ(SourceOf(image, 0, 0), (SourcePixel{2, 1}));
}

TEST_F(NinePart, TargetSmallerThanTheFixedPartsStaysInsideTheImage) {
    for (const auto& [W, H] : {std::pair{3, 2}, std::pair{1, 1}, std::pair{0, 5}, std::pair{-4, -4}}) {
        Compose(W, H, {true, true, true, true, true, SkinStretchKind::Horz});
        Compose(W, H);
        EXPECT_EQ(image.Width(), std::max(W, 0));
        EXPECT_EQ(image.Height(), std::max(H, 0));
    }
}

TEST_F(NinePart, StretchKindsRepeatStretchedStripsAlongTheOtherAxis) {
    const TRect& ncr = Sized(22, 15).clientrect;  // (2, 2, 20, 13): 18 x 11 from a 6 x 4 piece
    // Kind 1: columns keep their source x (stretched only vertically), repeating every 6.
    Compose(22, 15, {false, false, false, false, true, SkinStretchKind::Horz});
    for (int x = ncr.Left; x < ncr.Right; ++x)
        EXPECT_EQ(SourceOf(image, x, 7).x, 4 + (x - ncr.Left) % 6) << x;
    // Kind 2: rows keep their source y, repeating every 4.
    Compose(22, 15, {false, false, false, false, true, SkinStretchKind::Vert});
    for (int y = ncr.Top; y < ncr.Bottom; ++y)
        EXPECT_EQ(SourceOf(image, 7, y).y, 3 + (y - ncr.Top) % 4) << y;
    // Kind 0 fills the client rectangle and no more.
    Compose(22, 15, {false, false, false, false, true, SkinStretchKind::Full});
    EXPECT_EQ(SourceOf(image, ncr.Left, ncr.Top), (SourcePixel{4, 3}));
    EXPECT_EQ(SourceOf(image, ncr.Right - 1, ncr.Bottom - 1), (SourcePixel{9, 6}));
    EXPECT_EQ(SourceOf(image, ncr.Right, ncr.Top).x, 10);  // the right edge's own pixels
}

TEST_F(NinePart, OpenEndedImageRunsTopBottomAndClientToTheRightEdge) {
    ComposeOpenEndedImage(points, skinRect, picture, image, 15, 11, Sized(15, 11), {}, true);
    EXPECT_EQ(SourceColumns(image, 0), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 6, 7, 8, 6, 7, 8, 6, 7}));
    EXPECT_EQ(SourceColumns(image, 10), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 5, 6, 7, 8, 5, 6, 7, 8}));
    EXPECT_EQ(SourceOf(image, 14, 4), (SourcePixel{4, 5}));  // client tile, not the right edge
}

TEST_F(NinePart, OpenEndedRowsOfStretchKind2EndAtTheCallersClientRight) {
    const SkinCornerPoints sized = Sized(15, 11);  // client right 13
    ComposeOpenEndedImage(points, skinRect, picture, image, 15, 11, sized,
                          {false, false, false, false, true, SkinStretchKind::Vert}, true);
    EXPECT_EQ(SourceOf(image, 12, 4).y, 5);
    EXPECT_EQ(SourceOf(image, 13, 4), SourcePixel{});
}

TEST(StretchedImage, KeepsTheTargetSizeAndPutsCornersAtTheClientRectsCorners) {
    TBitmap picture, image(20, 16);
    MakeCoordinatePicture(picture, 14, 12);
    ComposeStretchedImage(image, picture, {2, 1, 12, 9}, true, {2, 2, 8, 6});
    EXPECT_EQ(image.Width(), 20);
    EXPECT_EQ(image.Height(), 16);
    EXPECT_EQ(SourceOf(image, 0, 0), (SourcePixel{2, 1}));
    EXPECT_EQ(SourceOf(image, 1, 1), (SourcePixel{3, 2}));
    EXPECT_EQ(SourceOf(image, 19, 15), (SourcePixel{11, 8}));
    EXPECT_EQ(SourceOf(image, 18, 14), (SourcePixel{10, 7}));
}

// ---- bilinear stretching ----

TEST(StretchSkinPiece, BlendsNeighboursAndNeverSamplesOutsideThePiece) {
    // Red | black | white | red: only the middle two form the piece.
    TBitmap picture(4, 1), image(8, 1);
    picture.SetPixels(0, 0, clRed);
    picture.SetPixels(1, 0, clBlack);
    picture.SetPixels(2, 0, clWhite);
    picture.SetPixels(3, 0, clRed);
    StretchSkinPiece(image, {0, 0, 8, 1}, picture, {1, 0, 3, 1});
    int previous = -1;
    bool blended = false;
    for (int x = 0; x < 8; ++x) {
        const TColor c = image.Pixels(x, 0);
        EXPECT_EQ(GetRValue(c), GetBValue(c)) << "grey only, no red from outside the piece, at " << x;
        EXPECT_GE(int(GetGValue(c)), previous);
        previous = GetGValue(c);
        blended = blended || (previous > 40 && previous < 215);
    }
    EXPECT_EQ(image.Pixels(0, 0), clBlack);
    EXPECT_EQ(image.Pixels(7, 0), clWhite);
    EXPECT_TRUE(blended) << "a bilinear stretch has grey steps between black and white";
}

// ---- frame parts ----

class FramePartsTest : public NinePart {
protected:
    void ComposeParts(int W, int H) { ComposeFrameParts(points, skinRect, picture, W, H, Sized(W, H), {}, parts); }
    SkinFramePartBitmaps parts;
};

TEST_F(FramePartsTest, TilesStartAtEachPartsOriginUnderTheFixedEnds) {
    ComposeParts(15, 11);
    ASSERT_EQ(parts.Top.Width(), 15);
    ASSERT_EQ(parts.Top.Height(), 2);
    // The top tile 6..8 runs from x = 0, so at x = 4 it is at its second column.
    EXPECT_EQ(SourceColumns(parts.Top, 0), (std::vector<int>{2, 3, 4, 5, 7, 8, 6, 7, 8, 6, 7, 8, 9, 10, 11}));
    ASSERT_EQ(parts.Bottom.Height(), 2);
    EXPECT_EQ(SourceColumns(parts.Bottom, 0), (std::vector<int>{2, 3, 4, 8, 5, 6, 7, 8, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(SourceOf(parts.Bottom, 0, 0).y, 7);
    // Sides: 7 rows between the top and bottom parts, the fixed pieces over the tile.
    ASSERT_EQ(parts.Left.Width(), 2);
    ASSERT_EQ(parts.Left.Height(), 7);
    EXPECT_EQ(SourceRows(parts.Left, 0), (std::vector<int>{3, 5, 4, 5, 4, 5, 6}));
    ASSERT_EQ(parts.Right.Width(), 2);
    EXPECT_EQ(SourceRows(parts.Right, 1), (std::vector<int>{3, 5, 4, 5, 4, 5, 6}));
    EXPECT_EQ(SourceOf(parts.Right, 0, 0).x, 10);
}

TEST_F(FramePartsTest, StretchedSidesSpanTheCornerPointsRows) {
    ComposeFrameParts(points, skinRect, picture, 15, 13, Sized(15, 13),
                      {true, true, true, true, false, SkinStretchKind::Full}, parts);
    ASSERT_EQ(parts.Left.Height(), 9);
    const std::vector<int> rows = SourceRows(parts.Left, 0);
    EXPECT_EQ(rows.front(), 3);
    EXPECT_EQ(rows[1], 4);
    EXPECT_EQ(rows[7], 5);
    EXPECT_EQ(rows.back(), 6);
}

TEST_F(FramePartsTest, PartsThatCannotBeMadeAreEmptyAndDoNotCount) {
    ComposeParts(15, 11);  // leaves content behind in every part
    points.righttoppoint = {4, 3};  // no top tile
    ComposeParts(15, 11);
    EXPECT_TRUE(parts.Top.Empty());
    EXPECT_EQ(parts.Left.Height(), 9);  // H minus the bottom part only
    ComposeParts(0, 11);
    EXPECT_TRUE(parts.Top.Empty());
    EXPECT_TRUE(parts.Bottom.Empty());
}

}  // namespace
