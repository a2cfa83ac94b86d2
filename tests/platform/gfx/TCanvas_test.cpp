// Canvas primitives, pixel-exact where the platform defines the pixels: line
// end points, excluded right and bottom edges, clipping and origins.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "GfxTestSupport.h"
#include "TBitmap.h"
#include "TCanvas.h"

namespace {

using gfxtest::Picture;

// A white bitmap of w x h with a red pen and a red solid brush.
struct Surface {
    TBitmap bmp;
    TCanvas& c;
    Surface(int w, int h) : bmp(w, h), c(bmp.Canvas()) {
        c.Pen.Color = clRed;
        c.Brush.Color = clRed;
    }
    std::string Show() const { return Picture(bmp, clRed, bmp.BoundsRect()); }
};

TEST(TCanvasLines, EndPointIsExcluded) {
    struct Case {
        TPoint from, to;
        const char* picture;
    };
    const Case cases[] = {
        {{0, 1}, {4, 1}, ".....\n####.\n.....\n.....\n"},
        {{3, 0}, {3, 3}, "...#.\n...#.\n...#.\n.....\n"},
        {{4, 3}, {1, 0}, ".....\n..#..\n...#.\n....#\n"},  // reversed diagonal: starts at (4,3)
        {{0, 0}, {3, 1}, "##...\n..#..\n.....\n.....\n"},
        {{2, 2}, {2, 2}, ".....\n.....\n.....\n.....\n"},  // zero length draws nothing
    };
    for (const Case& k : cases) {
        Surface s(5, 4);
        s.c.MoveTo(k.from.X, k.from.Y);
        s.c.LineTo(k.to.X, k.to.Y);
        EXPECT_EQ(s.Show(), k.picture) << k.from.X << "," << k.from.Y << " -> " << k.to.X << "," << k.to.Y;
        EXPECT_EQ(s.c.PenPos(), k.to);
    }
}

TEST(TCanvasLines, DottedPenFillsGapsWithTheBrushUnlessClear) {
    Surface s(8, 2);
    s.c.Pen.Style = psDot;
    s.c.Brush.Color = clBlue;
    s.c.MoveTo(0, 0);
    s.c.LineTo(8, 0);
    EXPECT_EQ(Picture(s.bmp, clRed, {0, 0, 8, 1}), "###...##\n");
    EXPECT_EQ(Picture(s.bmp, clBlue, {0, 0, 8, 1}), "...###..\n");
    s.c.Brush.Style = bsClear;
    s.c.MoveTo(0, 1);
    s.c.LineTo(8, 1);
    EXPECT_EQ(Picture(s.bmp, clWhite, {0, 1, 8, 2}), "...###..\n");
}

TEST(TCanvasShapes, RectanglesExcludeTheirRightAndBottomEdges) {
    Surface s(6, 5);
    s.c.FillRect({1, 1, 4, 3});
    EXPECT_EQ(s.Show(), "......\n.###..\n.###..\n......\n......\n");

    Surface f(6, 5);
    f.c.FrameRect({0, 0, 5, 4});
    EXPECT_EQ(f.Show(), "#####.\n#...#.\n#...#.\n#####.\n......\n");

    // Rectangle: pen outline, brush inside, same outer extent.
    Surface r(6, 5);
    r.c.Brush.Color = clBlue;
    r.c.Rectangle(0, 0, 5, 4);
    EXPECT_EQ(r.Show(), "#####.\n#...#.\n#...#.\n#####.\n......\n");
    EXPECT_EQ(Picture(r.bmp, clBlue, r.bmp.BoundsRect()), "......\n.###..\n.###..\n......\n......\n");

    // A clear brush fills nothing, a clear pen draws no outline.
    Surface clear(4, 4);
    clear.c.Brush.Style = bsClear;
    clear.c.FillRect({0, 0, 4, 4});
    clear.c.Pen.Color = clBlue;
    clear.c.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(Picture(clear.bmp, clWhite, {1, 1, 3, 3}), "##\n##\n");
    clear.c.Pen.Style = psClear;
    clear.c.Brush.Style = bsSolid;
    clear.c.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(clear.Show(), "####\n####\n####\n####\n");
}

TEST(TCanvasShapes, EllipsePolygonAndFocusRect) {
    Surface e(7, 7);
    e.c.Ellipse(0, 0, 7, 7);
    EXPECT_EQ(e.bmp.Pixels(0, 0), clWhite);  // corners stay free
    EXPECT_EQ(e.bmp.Pixels(6, 6), clWhite);
    EXPECT_EQ(e.bmp.Pixels(3, 0), clRed);  // the outline touches each side
    EXPECT_EQ(e.bmp.Pixels(0, 3), clRed);
    EXPECT_EQ(e.bmp.Pixels(6, 3), clRed);
    EXPECT_EQ(e.bmp.Pixels(3, 6), clRed);
    const std::string shape = e.Show();
    EXPECT_EQ(shape, std::string(shape.rbegin() + 1, shape.rend()) + "\n");  // symmetric

    // Polygon fill with the brush inside and the pen on every edge, the
    // closing one included.
    Surface p(6, 6);
    p.c.Brush.Color = clBlue;
    const TPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    p.c.Polygon(square);
    EXPECT_EQ(p.Show(), "#####.\n#...#.\n#...#.\n#...#.\n#####.\n......\n");
    EXPECT_EQ(Picture(p.bmp, clBlue, {0, 0, 5, 5}), ".....\n.###.\n.###.\n.###.\n.....\n");

    Surface fr(5, 4);
    fr.c.DrawFocusRect({0, 0, 5, 4});
    EXPECT_EQ(Picture(fr.bmp, clBlack, fr.bmp.BoundsRect()), "#.#.#\n.....\n#...#\n.#.#.\n");
    fr.c.DrawFocusRect({0, 0, 5, 4});
    EXPECT_EQ(Picture(fr.bmp, clWhite, fr.bmp.BoundsRect()), "#####\n#####\n#####\n#####\n");
}

TEST(TCanvasClip, RectRegionExcludeAndSaveRestore) {
    Surface s(6, 4);
    s.c.SetClipRect({1, 1, 5, 3});
    s.c.ExcludeClipRect({2, 1, 3, 3});
    EXPECT_EQ(s.c.ClipRect(), (TRect{1, 1, 5, 3}));
    s.c.FillRect({0, 0, 6, 4});
    EXPECT_EQ(s.Show(), "......\n.#.##.\n.#.##.\n......\n");

    Surface r(6, 4);
    const TRect parts[] = {{0, 0, 2, 1}, {4, 3, 6, 4}};
    r.c.SetClipRegion(TRegion::FromRects(parts));
    const int level = r.c.SaveDC();
    r.c.IntersectClipRect({1, 0, 6, 4});
    r.c.SetOrigin(1, 0);
    r.c.Pen.Color = clBlue;
    r.c.FillRect({-1, 0, 5, 4});
    EXPECT_EQ(r.Show(), ".#....\n......\n......\n....##\n");
    EXPECT_TRUE(r.c.RestoreDC(level));
    EXPECT_EQ(r.c.Origin(), (TPoint{0, 0}));
    EXPECT_EQ(r.c.Pen.Color, clRed);
    r.c.FillRect({0, 0, 6, 4});
    EXPECT_EQ(r.Show(), "##....\n......\n......\n....##\n");
    EXPECT_FALSE(r.c.RestoreDC(-1));  // nothing saved any more
    r.c.ResetClip();
    r.c.SetPixels(3, 2, clRed);
    EXPECT_EQ(r.bmp.Pixels(3, 2), clRed);
    EXPECT_EQ(r.c.Pixels(-1, 0), clNone);
}

TEST(TCanvasClip, ChildCanvasStaysInsideItsWindow) {
    // The window system's use: a canvas over the parent's surface, moved to
    // the child's position and limited to it. The child's own clip calls and
    // ResetClip cannot reach outside.
    TBitmap surface(8, 6);
    TCanvas child(&surface);
    child.SetDeviceOrigin({2, 1});
    child.SetSystemClip(TRegion(TRect{2, 1, 6, 4}));
    child.Brush.Color = clRed;
    child.ResetClip();
    child.FillRect({-5, -5, 50, 50});
    EXPECT_EQ(Picture(surface, clRed, surface.BoundsRect()),
              "........\n..####..\n..####..\n..####..\n........\n........\n");
    EXPECT_EQ(child.ClipRect(), (TRect{0, 0, 4, 3}));
    child.Pen.Color = clBlue;
    child.MoveTo(0, 0);
    child.LineTo(3, 0);
    EXPECT_EQ(surface.Pixels(2, 1), clBlue);
    EXPECT_EQ(surface.Pixels(4, 1), clBlue);
    EXPECT_EQ(surface.Pixels(5, 1), clRed);
}

TEST(TCanvasPictures, DrawHonoursTheTransparentColour) {
    TBitmap sprite(3, 2);
    sprite.Fill(clLime);
    sprite.SetPixels(1, 0, clBlue);
    Surface s(5, 3);
    s.c.Draw(1, 1, sprite);
    EXPECT_EQ(Picture(s.bmp, clLime, s.bmp.BoundsRect()), ".....\n.#.#.\n.###.\n");
    s.bmp.Fill(clWhite);
    sprite.SetTransparent(true);  // automatic: the bottom-left pixel's colour (lime)
    s.c.Draw(1, 1, sprite);
    EXPECT_EQ(Picture(s.bmp, clWhite, s.bmp.BoundsRect()), "#####\n##.##\n#####\n");
    sprite.SetTransparentColor(clBlue);
    s.c.Draw(1, 0, sprite);
    EXPECT_EQ(s.bmp.Pixels(2, 0), clWhite);
    EXPECT_EQ(s.bmp.Pixels(1, 0), clLime);
}

TEST(TCanvasPictures, StretchDrawDoublesEveryPixel) {
    TBitmap src(2, 2);
    src.SetPixels(0, 0, clRed);
    src.SetPixels(1, 1, clRed);
    Surface s(5, 5);
    s.c.StretchDraw({0, 0, 4, 4}, src);
    EXPECT_EQ(s.Show(), "##...\n##...\n..##.\n..##.\n.....\n");
    // Shrinking picks one source pixel per target pixel.
    TBitmap small(1, 1);
    small.Canvas().StretchDraw({0, 0, 1, 1}, src);
    EXPECT_EQ(small.Pixels(0, 0), clRed);
}

TEST(TCanvasPictures, CopyRectScrollsWithinOneBitmapAndIgnoresOutsideSource) {
    Surface s(6, 1);
    for (int x = 0; x < 6; ++x) s.bmp.SetPixels(x, 0, RGB(std::uint8_t(x), 0, 0));
    s.c.CopyRect({1, 0, 6, 1}, s.c, {0, 0, 5, 1});  // overlapping move right
    for (int x = 1; x < 6; ++x) EXPECT_EQ(GetRValue(s.bmp.Pixels(x, 0)), x - 1) << x;

    TBitmap src(2, 2);
    src.Fill(clBlue);
    Surface d(4, 2);
    d.c.CopyRect({0, 0, 4, 2}, src.Canvas(), {-2, 0, 2, 2});  // left half lies outside the source
    EXPECT_EQ(Picture(d.bmp, clBlue, d.bmp.BoundsRect()), "..##\n..##\n");
    // The source canvas's origin applies to the source rectangle.
    src.SetPixels(1, 1, clRed);
    src.Canvas().SetOrigin(1, 1);
    d.c.CopyRect({0, 0, 1, 1}, src.Canvas(), {0, 0, 1, 1});
    EXPECT_EQ(d.bmp.Pixels(0, 0), clRed);
}

TEST(TCanvasPictures, SetDIBitsToDeviceFrom32And24BitRows) {
    const std::uint32_t px32[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    Surface s(4, 3);
    s.c.SetClipRect({0, 0, 4, 2});
    s.c.SetDIBitsToDevice(1, 1, 2, 2, px32, 8, 32);
    EXPECT_EQ(s.bmp.Pixels(1, 1), clRed);
    EXPECT_EQ(s.bmp.Pixels(2, 1), clLime);
    EXPECT_EQ(s.bmp.Pixels(1, 2), clWhite);  // clipped away

    // 24-bit rows padded to 4 bytes, stored bottom row first.
    const std::uint8_t px24[] = {255, 0, 0, 0, 0, 0, 255, 0};  // blue, then red above it
    s.c.ResetClip();
    s.c.SetDIBitsToDevice(0, 0, 1, 2, px24, 4, 24, true);
    EXPECT_EQ(s.bmp.Pixels(0, 0), clRed);
    EXPECT_EQ(s.bmp.Pixels(0, 1), clBlue);
    EXPECT_THROW(s.c.SetDIBitsToDevice(0, 0, 3, 1, px24, 4, 24), EInvalidOperation);
}

}  // namespace
