#include "TFlashMovie.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>

#include "SwfTestMovies.h"

namespace {

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};

TFlashMovie Load(const Bytes& bytes) {
    TFlashMovie movie;
    movie.LoadFromBytes(bytes);
    return movie;
}

std::unique_ptr<TBitmap> Render(const TFlashMovie& movie, int frame, int width, int height,
                                TFlashScaleMode mode = fsmExactFit, TColor background = clWhite) {
    auto bitmap = std::make_unique<TBitmap>(width, height);
    movie.RenderFrame(frame, *bitmap, mode, background);
    return bitmap;
}

// The number of pixels whose colour is `color`.
int CountPixels(const TBitmap& bitmap, TColor color) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.Pixels(x, y) == color;
    }
    return count;
}

bool IsOnlyColor(const TBitmap& bitmap, TColor color) { return CountPixels(bitmap, color) == bitmap.Width() * bitmap.Height(); }

// A 100 x 50 movie with a red square (20..40, 10..30 pixels) on a grey
// background, shown in one frame.
MovieWriter RedSquareMovie(int shapeVersion = 3) {
    MovieWriter movie(100, 50);
    movie.Background(0x80, 0x80, 0x80);
    ShapeWriter square(shapeVersion, {SolidFill(kRed, shapeVersion)});
    square.Rectangle(400, 200, 800, 600, 1);
    movie.Shape(1, square);
    movie.Place2(1, 1);
    movie.ShowFrame();
    return movie;
}

TEST(TFlashMovie, ReadsTheHeaderOfPlainAndCompressedMoviesAlike) {
    const MovieWriter writer = RedSquareMovie();
    for (const Bytes& bytes : {writer.Fws(), writer.Cws()}) {
        const TFlashMovie movie = Load(bytes);
        ASSERT_TRUE(movie.Valid());
        EXPECT_EQ(movie.FrameWidth(), 100);
        EXPECT_EQ(movie.FrameHeight(), 50);
        EXPECT_DOUBLE_EQ(movie.FrameRate(), 12);
        EXPECT_EQ(movie.FrameCount(), 1);
        EXPECT_EQ(movie.BackgroundColor(), RGB(0x80, 0x80, 0x80));
    }
    const auto plain = Render(Load(writer.Fws()), 0, 100, 50);
    const auto compressed = Render(Load(writer.Cws()), 0, 100, 50);
    EXPECT_EQ(plain->SaveToBytes(), compressed->SaveToBytes());
}

TEST(TFlashMovie, DrawsEveryShapeVersionWithExactEdgesOnPixelBoundaries) {
    for (int version = 1; version <= 4; ++version) {
        const auto bitmap = Render(Load(RedSquareMovie(version).Fws()), 0, 100, 50, fsmExactFit, clWhite);
        EXPECT_EQ(CountPixels(*bitmap, clRed), 400) << "DefineShape" << version;
        EXPECT_EQ(CountPixels(*bitmap, clWhite), 5000 - 400) << "DefineShape" << version;
        EXPECT_EQ(bitmap->Pixels(20, 10), clRed);
        EXPECT_EQ(bitmap->Pixels(39, 29), clRed);
        EXPECT_EQ(bitmap->Pixels(40, 29), clWhite);
    }
}

TEST(TFlashMovie, ScaleModesFitTheFrameToThePicture) {
    const TFlashMovie movie = Load(RedSquareMovie().Fws());
    // Exact fit stretches each axis on its own: the square becomes 60 x 40.
    auto stretched = Render(movie, 0, 300, 100, fsmExactFit);
    EXPECT_EQ(CountPixels(*stretched, clRed), 60 * 40);
    EXPECT_EQ(stretched->Pixels(60, 20), clRed);
    EXPECT_EQ(stretched->Pixels(59, 20), clWhite);
    // Show all keeps the aspect: scale 2, centred with 50 pixels each side.
    auto letterboxed = Render(movie, 0, 300, 100, fsmShowAll);
    EXPECT_EQ(CountPixels(*letterboxed, clRed), 40 * 40);
    EXPECT_EQ(letterboxed->Pixels(50 + 40, 20), clRed);
    EXPECT_EQ(letterboxed->Pixels(50 + 39, 20), clWhite);
    // No scale draws the frame at its own size in the middle.
    auto unscaled = Render(movie, 0, 300, 100, fsmNoScale);
    EXPECT_EQ(CountPixels(*unscaled, clRed), 400);
    EXPECT_EQ(unscaled->Pixels(100 + 20, 25 + 10), clRed);
}

TEST(TFlashMovie, EdgesBetweenPixelsAreAntiAliased) {
    MovieWriter writer(40, 40);
    // A square from 10.5 to 20.5 pixels and a triangle with a diagonal edge.
    ShapeWriter shapes(3, {SolidFill({0, 0, 0, 255}, 3)});
    shapes.Rectangle(210, 210, 410, 410, 1);
    shapes.Polygon({{0, 500}, {600, 500}, {0, 780}}, 0, 1);
    writer.Shape(1, shapes);
    writer.Place2(1, 1);
    writer.ShowFrame();
    const auto bitmap = Render(Load(writer.Fws()), 0, 40, 40);
    EXPECT_EQ(bitmap->Pixels(15, 15), clBlack);
    // Half covered pixels on every side, a quarter in the corners.
    for (auto [x, y] : {std::pair{10, 15}, std::pair{20, 15}, std::pair{15, 10}, std::pair{15, 20}}) {
        EXPECT_NEAR(GetRValue(bitmap->Pixels(x, y)), 128, 3) << x << "," << y;
    }
    EXPECT_NEAR(GetRValue(bitmap->Pixels(10, 10)), 191, 3);
    // Along the diagonal there are shades between black and white.
    int shades = 0;
    for (int x = 0; x < 30; ++x) {
        for (int y = 25; y < 40; ++y) {
            const int r = GetRValue(bitmap->Pixels(x, y));
            shades += r > 20 && r < 235;
        }
    }
    EXPECT_GE(shades, 25);
}

TEST(TFlashMovie, CurvedEdgesFollowTheirCurve) {
    // A circle of radius 20 pixels made of eight quadratic curves.
    MovieWriter writer(60, 60);
    ShapeWriter circle(2, {SolidFill(kBlue, 2)});
    const double r = 400, k = r / std::cos(std::numbers::pi / 8);
    circle.MoveTo(600 + 400, 600, 0, 1, 0);
    for (int i = 1; i <= 8; ++i) {
        const double mid = (i - 0.5) * std::numbers::pi / 4, end = i * std::numbers::pi / 4;
        circle.CurveTo(static_cast<int>(std::lround(600 + k * std::cos(mid))), static_cast<int>(std::lround(600 + k * std::sin(mid))),
                       static_cast<int>(std::lround(600 + r * std::cos(end))), static_cast<int>(std::lround(600 + r * std::sin(end))));
    }
    writer.Shape(1, circle);
    writer.Place2(1, 1);
    writer.ShowFrame();
    const auto bitmap = Render(Load(writer.Fws()), 0, 60, 60);
    double area = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) area += (255 - GetRValue(bitmap->Pixels(x, y))) / 255.0;
    }
    EXPECT_NEAR(area, std::numbers::pi * 20 * 20, 0.01 * std::numbers::pi * 20 * 20);
    EXPECT_EQ(bitmap->Pixels(30, 30), clBlue);
    EXPECT_EQ(bitmap->Pixels(45, 45), clWhite);  // just outside the circle
    // Inside the circle, where an octagon through the curves' ends would not reach.
    EXPECT_EQ(bitmap->Pixels(47, 37), clBlue);
}

TEST(TFlashMovie, HolesFollowTheFillRule) {
    // An outer and an inner square drawn the same way round: a hole under
    // the even-odd rule, filled under the non-zero rule of DefineShape4.
    for (bool nonZero : {false, true}) {
        MovieWriter writer(40, 40);
        ShapeWriter shape(4, {SolidFill(kRed, 4)});
        shape.Rectangle(0, 0, 800, 800, 1);
        shape.Rectangle(200, 200, 600, 600, 1);
        writer.Shape(1, shape, nonZero);
        writer.Place2(1, 1);
        writer.ShowFrame();
        const auto bitmap = Render(Load(writer.Fws()), 0, 40, 40);
        EXPECT_EQ(bitmap->Pixels(5, 5), clRed);
        EXPECT_EQ(bitmap->Pixels(20, 20), nonZero ? clRed : clWhite) << nonZero;
    }
    // Two fills side by side share an edge: each fills only its side.
    MovieWriter writer(40, 20);
    ShapeWriter shape(3, {SolidFill(kRed, 3), SolidFill(kBlue, 3)});
    shape.MoveTo(0, 0, 0, 1, 0);
    shape.LineTo(400, 0);
    shape.MoveTo(400, 0, 2, 1, 0);
    shape.LineTo(400, 400);
    shape.MoveTo(400, 400, 0, 1, 0);
    shape.LineTo(0, 400);
    shape.LineTo(0, 0);
    shape.MoveTo(400, 0, 0, 2, 0);
    shape.LineTo(800, 0);
    shape.LineTo(800, 400);
    shape.LineTo(400, 400);
    writer.Shape(1, shape);
    writer.Place2(1, 1);
    writer.ShowFrame();
    const auto bitmap = Render(Load(writer.Fws()), 0, 40, 20);
    EXPECT_EQ(CountPixels(*bitmap, clRed), 400);
    EXPECT_EQ(CountPixels(*bitmap, clBlue), 400);
}

TEST(TFlashMovie, LinesAreStrokedAlongTheirEdges) {
    MovieWriter writer(40, 20);
    ShapeWriter shape(3, {}, {LineStyle(80, kBlue, 3)});
    shape.MoveTo(100, 200, 0, 0, 1);
    shape.LineTo(700, 200);
    writer.Shape(1, shape);
    writer.Place2(1, 1);
    writer.ShowFrame();
    const auto bitmap = Render(Load(writer.Fws()), 0, 40, 20);
    // A 4-pixel band from y 8 to 12, with round caps past both ends.
    for (int x = 6; x < 34; ++x) {
        EXPECT_EQ(bitmap->Pixels(x, 8), clBlue) << x;
        EXPECT_EQ(bitmap->Pixels(x, 11), clBlue) << x;
        EXPECT_EQ(bitmap->Pixels(x, 13), clWhite) << x;
    }
    EXPECT_NE(bitmap->Pixels(4, 10), clWhite);
    EXPECT_EQ(bitmap->Pixels(1, 10), clWhite);
}

TEST(TFlashMovie, PlacementsMovesColourTransformsAndRemovalsFollowTheFrames) {
    MovieWriter writer(100, 50, 10);
    ShapeWriter square(3, {SolidFill(kRed, 3)});
    square.Rectangle(0, 0, 200, 200, 1);  // 10 x 10 pixels at the origin
    writer.Shape(1, square);
    // Frame 0: placed at (10, 10). Frame 1: moved to (50, 20) and tinted
    // blue. Frame 2: removed. Frame 3: placed again by PlaceObject with a
    // colour transform that halves red.
    writer.Place2(1, 1, {1, 1, 0, 0, 200, 200});
    writer.ShowFrame();
    const TestColorTransform toBlue{0, 256, 256, 256, 0, 0, 255, 0};
    writer.Move(1, {1, 1, 0, 0, 1000, 400}, &toBlue);
    writer.ShowFrame();
    writer.Remove2(1);
    writer.ShowFrame();
    const TestColorTransform halfRed{128, 256, 256, 256, 0, 0, 0, 0};
    writer.Place1(1, 5, {2, 2, 0, 0, 0, 0}, &halfRed);
    writer.ShowFrame();
    writer.Remove1(1, 5);
    writer.ShowFrame();
    const TFlashMovie movie = Load(writer.Fws());
    ASSERT_EQ(movie.FrameCount(), 5);

    const auto frame0 = Render(movie, 0, 100, 50);
    EXPECT_EQ(frame0->Pixels(10, 10), clRed);
    EXPECT_EQ(CountPixels(*frame0, clRed), 100);
    const auto frame1 = Render(movie, 1, 100, 50);
    EXPECT_EQ(frame1->Pixels(10, 10), clWhite);
    EXPECT_EQ(frame1->Pixels(55, 25), clBlue);
    EXPECT_EQ(CountPixels(*frame1, clBlue), 100);
    EXPECT_TRUE(IsOnlyColor(*Render(movie, 2, 100, 50), clWhite));
    const auto frame3 = Render(movie, 3, 100, 50);
    EXPECT_EQ(CountPixels(*frame3, RGB(127, 0, 0)), 400);
    EXPECT_TRUE(IsOnlyColor(*Render(movie, 4, 100, 50), clWhite));

    // The movie loops: frame 5 is frame 0 again; at 10 frames a second,
    // 1.25 s in shows frame 2 and 2.05 s in frame 0.
    EXPECT_EQ(Render(movie, 5, 100, 50)->SaveToBytes(), frame0->SaveToBytes());
    EXPECT_EQ(movie.FrameAtTime(1250), 2);
    EXPECT_EQ(movie.FrameAtTime(2050), 0);
}

TEST(TFlashMovie, FramesWhoseChangesLeaveTheListAsItWasShowTheSamePicture) {
    MovieWriter writer(100, 50, 10);
    ShapeWriter square(3, {SolidFill(kRed, 3)});
    square.Rectangle(0, 0, 200, 200, 1);
    writer.Shape(1, square);
    // 0: placed; 1: no change; 2: moved to where it stands and an empty
    // depth removed; 3: moved; 4: moved back, as in frame 0; 5: faded.
    writer.Place2(1, 1, {1, 1, 0, 0, 200, 200});
    writer.ShowFrame();
    writer.ShowFrame();
    writer.Move(1, {1, 1, 0, 0, 200, 200});
    writer.Remove2(7);
    writer.ShowFrame();
    writer.Move(1, {1, 1, 0, 0, 1000, 400});
    writer.ShowFrame();
    writer.Move(1, {1, 1, 0, 0, 200, 200});
    writer.ShowFrame();
    const TestColorTransform faded{256, 256, 256, 128, 0, 0, 0, 0};
    writer.Move(1, {1, 1, 0, 0, 200, 200}, &faded);
    writer.ShowFrame();
    const TFlashMovie movie = Load(writer.Fws());
    ASSERT_EQ(movie.FrameCount(), 6);
    EXPECT_EQ(movie.PictureAt(1), movie.PictureAt(0));
    EXPECT_EQ(movie.PictureAt(2), movie.PictureAt(0));
    EXPECT_NE(movie.PictureAt(3), movie.PictureAt(2));
    EXPECT_NE(movie.PictureAt(4), movie.PictureAt(3));
    EXPECT_NE(movie.PictureAt(5), movie.PictureAt(4));
    EXPECT_NE(movie.PictureAt(5), movie.PictureAt(0));
    EXPECT_EQ(movie.PictureAt(6), movie.PictureAt(0));  // looping around

    // A loop whose last frame shows what its first does: one picture over the seam.
    MovieWriter loop(100, 50, 10);
    loop.Shape(1, square);
    loop.Place2(1, 1);
    loop.ShowFrame();
    loop.Remove2(1);
    loop.ShowFrame();
    loop.Place2(1, 1);
    loop.ShowFrame();
    const TFlashMovie looping = Load(loop.Fws());
    ASSERT_EQ(looping.FrameCount(), 3);
    EXPECT_EQ(looping.PictureAt(2), looping.PictureAt(0));
    EXPECT_NE(looping.PictureAt(1), looping.PictureAt(0));
}

TEST(TFlashMovie, FramesDrawnWithACacheLookAsDrawnAfresh) {
    // The delivered ads fade, move, scale and replace shapes from frame to
    // frame; every frame drawn in order with the cache, across the loop's
    // seam and a change of size, matches the frame drawn without it.
    for (int ad = 1; ad <= 3; ++ad) {
        TFlashMovie movie;
        movie.LoadFromFile(AnsiString(MIRVO_SOURCE_DIR) + "/dat/ad/ad" + std::to_string(ad) + ".swf");
        ASSERT_GT(movie.FrameCount(), 1) << ad;
        FlashRenderCache cache;
        for (int frame = 0; frame < movie.FrameCount() + 3; ++frame) {
            const int width = frame == 5 ? 200 : 300, height = frame == 5 ? 40 : 50;
            TBitmap cached(width, height);
            ASSERT_TRUE(movie.RenderFrame(frame, cached, fsmShowAll, clWhite, &cache)) << ad << " frame " << frame;
            EXPECT_TRUE(cached.SaveToBytes() == Render(movie, frame, width, height, fsmShowAll)->SaveToBytes())
                << "ad " << ad << " frame " << frame;
        }
    }
}

// ---- bitmaps ----

Bytes LosslessTag(std::uint16_t id, int format, int width, int height, const Bytes& table, const Bytes& pixels) {
    BitWriter w;
    w.U16(id);
    w.U8(static_cast<std::uint8_t>(format));
    w.U16(static_cast<std::uint16_t>(width));
    w.U16(static_cast<std::uint16_t>(height));
    Bytes raw = table;
    raw.insert(raw.end(), pixels.begin(), pixels.end());
    if (format == 3) w.U8(static_cast<std::uint8_t>(table.size() / 4 - 1));
    w.Append(MovieWriter::Deflate(raw));
    return w.Data();
}

// Draws bitmap 1 scaled to 10 screen pixels per bitmap pixel over a 20 x 20
// square at the origin.
TFlashMovie BitmapMovie(int bitmapTag, const Bytes& bitmapBody, bool smooth = false) {
    MovieWriter writer(40, 40);
    writer.Tag(bitmapTag, bitmapBody);
    ShapeWriter square(3, {BitmapFill(1, {200, 200, 0, 0, 0, 0}, false, smooth)});
    square.Rectangle(0, 0, 400, 400, 1);
    writer.Shape(2, square);
    writer.Place2(1, 2);
    writer.ShowFrame();
    return Load(writer.Fws());
}

TEST(TFlashMovie, LosslessBitmapsFillShapesPixelForPixel) {
    // 2 x 2: red, green / blue, white, in each stored layout.
    const Bytes argb{255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255};
    const Bytes rgb15{0x7C, 0x00, 0x03, 0xE0, 0x00, 0x1F, 0x7F, 0xFF};
    const Bytes table{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    const Bytes indices{0, 1, 0, 0, 2, 3, 0, 0};  // rows padded to four bytes
    struct Case {
        const char* what;
        int tag;
        Bytes body;
    };
    const Case cases[] = {
        {"24-bit", 20, LosslessTag(1, 5, 2, 2, {}, argb)},
        {"32-bit with alpha", 36, LosslessTag(1, 5, 2, 2, {}, argb)},
        {"15-bit", 20, LosslessTag(1, 4, 2, 2, {}, rgb15)},
        {"colour-mapped with alpha", 36, LosslessTag(1, 3, 2, 2, table, indices)},
    };
    for (const auto& c : cases) {
        const auto bitmap = Render(BitmapMovie(c.tag, c.body), 0, 40, 40);
        EXPECT_EQ(bitmap->Pixels(5, 5), clRed) << c.what;
        EXPECT_EQ(bitmap->Pixels(15, 5), clLime) << c.what;
        EXPECT_EQ(bitmap->Pixels(5, 15), clBlue) << c.what;
        EXPECT_EQ(bitmap->Pixels(15, 15), clWhite) << c.what;
        EXPECT_EQ(bitmap->Pixels(25, 25), clWhite) << c.what;  // outside the square
    }
    // Alpha blends over the background: half-transparent black (premultiplied) on white.
    const Bytes halfBlack{128, 0, 0, 0};
    const auto blended = Render(BitmapMovie(36, LosslessTag(1, 5, 1, 1, {}, halfBlack)), 0, 40, 40);
    EXPECT_NEAR(GetRValue(blended->Pixels(5, 5)), 127, 2);
}

TEST(TFlashMovie, JpegBitmapsAreDecodedWithAndWithoutAlpha) {
    // A 16 x 16 picture, red on the left half and blue on the right.
    std::ifstream file(std::string(MIRVO_SOURCE_DIR) + "/tests/platform/services/flash/fixtures/red_blue.jpg", std::ios::binary);
    const Bytes jpeg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(jpeg.size(), 100u);

    Bytes jpeg2{1, 0};
    jpeg2.insert(jpeg2.end(), jpeg.begin(), jpeg.end());
    // Drawn at 20 twips per picture pixel: the picture covers 16 x 16 pixels.
    MovieWriter writer(40, 40);
    writer.Tag(21, jpeg2);
    ShapeWriter square(3, {BitmapFill(1, {20, 20, 0, 0, 0, 0}, false, true)});
    square.Rectangle(0, 0, 320, 320, 1);
    writer.Shape(2, square);
    writer.Place2(1, 2);
    writer.ShowFrame();
    const auto opaque = Render(Load(writer.Fws()), 0, 40, 40);
    EXPECT_GT(GetRValue(opaque->Pixels(3, 8)), 230);
    EXPECT_LT(GetBValue(opaque->Pixels(3, 8)), 30);
    EXPECT_GT(GetBValue(opaque->Pixels(12, 8)), 230);
    EXPECT_LT(GetRValue(opaque->Pixels(12, 8)), 30);

    // DefineBitsJPEG3: the same picture with an alpha plane that makes the
    // bottom half transparent.
    BitWriter jpeg3;
    jpeg3.U16(1);
    jpeg3.U32(static_cast<std::uint32_t>(jpeg.size()));
    jpeg3.Append(jpeg);
    Bytes alpha(16 * 16, 255);
    std::fill(alpha.begin() + 16 * 8, alpha.end(), 0);
    jpeg3.Append(MovieWriter::Deflate(alpha));
    MovieWriter withAlpha(40, 40);
    withAlpha.Tag(35, jpeg3.Data());
    withAlpha.Shape(2, square);
    withAlpha.Place2(1, 2);
    withAlpha.ShowFrame();
    const auto masked = Render(Load(withAlpha.Fws()), 0, 40, 40);
    EXPECT_GT(GetRValue(masked->Pixels(3, 3)), 230);
    EXPECT_LT(GetGValue(masked->Pixels(3, 3)), 30);
    EXPECT_EQ(masked->Pixels(3, 13), clWhite);
}

TEST(TFlashMovie, LinearGradientsRunAcrossTheirSquare) {
    MovieWriter writer(100, 20);
    // The gradient square (32768 twips) scaled to 2000 twips, centred at x 1000.
    ShapeWriter shape(3, {LinearGradientFill({2000.0 / 32768, 2000.0 / 32768, 0, 0, 1000, 200}, kRed, kBlue)});
    shape.Rectangle(0, 0, 2000, 400, 1);
    writer.Shape(1, shape);
    writer.Place2(1, 1);
    writer.ShowFrame();
    const auto bitmap = Render(Load(writer.Fws()), 0, 100, 20);
    EXPECT_GT(GetRValue(bitmap->Pixels(0, 10)), 245);
    EXPECT_GT(GetBValue(bitmap->Pixels(99, 10)), 245);
    EXPECT_NEAR(GetRValue(bitmap->Pixels(50, 10)), 128, 8);
    EXPECT_NEAR(GetBValue(bitmap->Pixels(50, 10)), 128, 8);
    for (int x = 1; x < 100; ++x) EXPECT_LE(GetRValue(bitmap->Pixels(x, 10)), GetRValue(bitmap->Pixels(x - 1, 10)));
}

// ---- damaged and unusual files ----

TEST(TFlashMovie, UnknownTagsAreSkipped) {
    MovieWriter plain = RedSquareMovie();
    MovieWriter withExtras(100, 50);
    withExtras.Tag(777, Bytes(100, 0xAB));  // long form header
    withExtras.Tag(43, {'l', 'a', 'b', 'e', 'l', 0});  // FrameLabel
    withExtras.Background(0x80, 0x80, 0x80);
    ShapeWriter square(3, {SolidFill(kRed, 3)});
    square.Rectangle(400, 200, 800, 600, 1);
    withExtras.Shape(1, square);
    withExtras.Tag(12, {0});  // DoAction
    withExtras.Place2(1, 1);
    withExtras.ShowFrame();
    EXPECT_EQ(Render(Load(withExtras.Fws()), 0, 100, 50)->SaveToBytes(),
              Render(Load(plain.Fws()), 0, 100, 50)->SaveToBytes());
}

TEST(TFlashMovie, ADamagedFileShowsTheBackgroundAndNeverFails) {
    const Bytes good = RedSquareMovie().Fws();
    const Bytes goodCompressed = RedSquareMovie().Cws();
    Bytes zeroSize = good;
    zeroSize[8] = 0x00;  // a rectangle with 0 bits per field
    Bytes hugeTag = good;
    hugeTag.resize(good.size() - 2);
    // A DefineShape header that claims 2 GB.
    for (std::uint8_t b : {0xBF, 0x00, 0xFF, 0xFF, 0xFF, 0x7F}) hugeTag.push_back(b);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
        {"a header only", Bytes(good.begin(), good.begin() + 8)},
        {"no frame size", zeroSize},
        {"compressed, cut in the middle", Bytes(goodCompressed.begin(), goodCompressed.begin() + goodCompressed.size() / 2)},
        {"compressed garbage", Bytes{'C', 'W', 'S', 8, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6}},
        {"an LZMA movie", Bytes{'Z', 'W', 'S', 13, 100, 0, 0, 0, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        const TFlashMovie movie = Load(c.bytes);
        EXPECT_TRUE(IsOnlyColor(*Render(movie, 0, 30, 20, fsmExactFit, clWhite), clWhite)) << c.what;
        EXPECT_EQ(movie.FrameAtTime(5000), 0) << c.what;
    }
    // A shape with an absurd number of edges would only cost drawing time:
    // it is dropped, and the rest of the movie still plays.
    MovieWriter huge(100, 50);
    ShapeWriter zigzag(3, {SolidFill(kBlue, 3)});
    zigzag.MoveTo(0, 0, 0, 1, 0);
    for (int i = 0; i < 60000; ++i) zigzag.LineTo(i % 2 == 0 ? 2000 : 0, (i + 1) / 60);
    zigzag.LineTo(0, 0);
    huge.Shape(1, zigzag);
    ShapeWriter square(3, {SolidFill(kRed, 3)});
    square.Rectangle(400, 200, 800, 600, 1);
    huge.Shape(2, square);
    huge.Place2(1, 1);
    huge.Place2(2, 2);
    huge.ShowFrame();
    const auto withoutHugeShape = Render(Load(huge.Cws()), 0, 100, 50);
    EXPECT_EQ(CountPixels(*withoutHugeShape, clRed), 400);
    EXPECT_EQ(CountPixels(*withoutHugeShape, clWhite), 5000 - 400);

    // A tag that claims more bytes than the file holds ends the movie there;
    // the frames before it still play.
    const auto cut = Render(Load(hugeTag), 0, 100, 50);
    EXPECT_EQ(CountPixels(*cut, clRed), 400);
}

TEST(TFlashMovie, RandomDamageNeverCrashesTheDecoderOrRenderer) {
    MovieWriter writer(60, 30);
    ShapeWriter shape(4, {SolidFill(kRed, 4), LinearGradientFill({0.01, 0.01, 0, 0, 300, 300}, kRed, kBlue)},
                      {LineStyle(40, kBlue, 4)});
    shape.Rectangle(0, 0, 600, 400, 1, 1);
    shape.MoveTo(600, 0, 0, 2, 0);
    shape.CurveTo(900, 0, 900, 300);
    shape.LineTo(600, 0);
    writer.Tag(20, LosslessTag(3, 5, 1, 1, {}, {255, 1, 2, 3}));
    writer.Shape(1, shape);
    writer.Place2(1, 1, {1.5, 0.5, 0.2, -0.1, 100, 50});
    writer.ShowFrame();
    const TestColorTransform cx{100, 200, 300, 128, 10, -10, 5, 0};
    writer.Move(1, {0.5, 2, 0, 0, 300, 0}, &cx);
    writer.ShowFrame();
    const Bytes original = writer.Fws();

    std::mt19937 random(20240611);
    TBitmap target(60, 30);
    for (int round = 0; round < 400; ++round) {
        Bytes damaged = original;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = 8 + random() % (damaged.size() - 8);
            damaged[at] = static_cast<std::uint8_t>(random());
        }
        if (round % 5 == 0) damaged.resize(8 + random() % (damaged.size() - 8));
        const TFlashMovie movie = Load(damaged);
        for (int frame = 0; frame < 2; ++frame) movie.RenderFrame(frame, target, fsmExactFit, clWhite);
    }
    SUCCEED();  // the sanitizers watch every read and every arithmetic step
}

}  // namespace
