#include "Banners.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace adgen {

namespace {

constexpr int kWidth = 300, kHeight = 50;      // pixels
constexpr int kW = kWidth * 20, kH = kHeight * 20;  // twips
constexpr double kFrameRate = 12;
const char* const kProgramName = "Mirvo英语小词典";

// 0..1 over frames [from, to], eased out so motion settles gently.
double EaseOut(int frame, int from, int to) {
    const double t = std::clamp((frame - from) / double(to - from), 0.0, 1.0);
    return 1 - (1 - t) * (1 - t) * (1 - t);
}

int Lerp(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

Rgba Mix(Rgba a, Rgba b, double t) {
    auto m = [t](std::uint8_t x, std::uint8_t y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return {m(a.R, b.R), m(a.G, b.G), m(a.B, b.B), m(a.A, b.A)};
}

ShapeBuilder TextShape(const Path& text, const FillStyle& fill) {
    ShapeBuilder shape(4, true);  // glyph contours may overlap: non-zero winding
    shape.Draw(text, shape.AddFill(fill));
    return shape;
}

// An open book: two pages with curved top edges and a spine, outlined.
ShapeBuilder BookIcon(int left, int top, int width, int height, Rgba page, Rgba outline) {
    ShapeBuilder shape(3);
    const int fill = shape.AddFill(FillStyle::Solid(page));
    const int line = shape.AddLine({28, outline});
    const int mid = left + width / 2, right = left + width, bottom = top + height;
    Path leftPage;
    leftPage.MoveTo(mid, top + height / 6);
    leftPage.CurveTo(left + width / 4, top - height / 10, left, top + height / 8);
    leftPage.LineTo(left, bottom - height / 8);
    leftPage.CurveTo(left + width / 4, bottom - height / 3, mid, bottom);
    leftPage.Close();
    Path rightPage;
    rightPage.MoveTo(mid, top + height / 6);
    rightPage.CurveTo(right - width / 4, top - height / 10, right, top + height / 8);
    rightPage.LineTo(right, bottom - height / 8);
    rightPage.CurveTo(right - width / 4, bottom - height / 3, mid, bottom);
    rightPage.Close();
    shape.Draw(leftPage, fill, line);
    shape.Draw(rightPage, fill, line);
    // Lines of text on the pages.
    const int thin = shape.AddLine({16, Mix(outline, page, 0.45)});
    for (int i = 0; i < 3; ++i) {
        const int y = top + height * (2 + i) / 6 + height / 12;
        Path rule;
        rule.MoveTo(left + width / 8, y);
        rule.LineTo(mid - width / 10, y + height / 24);
        rule.MoveTo(right - width / 8, y);
        rule.LineTo(mid + width / 10, y + height / 24);
        shape.Draw(rule, 0, thin);
    }
    return shape;
}

}  // namespace

Bytes GradientBanner(GlyphPaths& glyphs) {
    MovieBuilder movie(kWidth, kHeight, kFrameRate);
    movie.SetBackgroundColor({16, 60, 140});

    ShapeBuilder background(3);
    Path full;
    full.Rectangle(0, 0, kW, kH);
    background.Draw(full, background.AddFill(FillStyle::Linear(0, kW, kH / 2, {{0, {12, 52, 130}}, {160, {18, 110, 170}}, {255, {24, 160, 170}}})));
    movie.DefineShape(1, background);

    ShapeBuilder bubbles(3);
    const int bubbleFill = bubbles.AddFill(FillStyle::Solid({255, 255, 255, 36}));
    for (auto [x, y, r] : {std::tuple{4700, 300, 260}, std::tuple{5400, 760, 180}, std::tuple{3900, 900, 140},
                           std::tuple{5800, 200, 110}, std::tuple{1500, 950, 120}}) {
        Path circle;
        circle.Ellipse(x, y, r, r);
        bubbles.Draw(circle, bubbleFill);
    }
    movie.DefineShape(2, bubbles);

    movie.DefineShape(3, BookIcon(220, 200, 720, 600, {255, 255, 255}, {250, 190, 50}));

    const int titleX = 1120;
    movie.DefineShape(4, TextShape(glyphs.Text(kProgramName, 24, titleX, 530), FillStyle::Solid({255, 255, 255})));
    movie.DefineShape(5, TextShape(glyphs.Text("英汉互查 · 一点即得", 13, titleX + 20, 880, 20), FillStyle::Solid({255, 222, 110})));

    // A slanted band of light that sweeps across the title.
    ShapeBuilder shine(3);
    Path band;
    band.MoveTo(0, 0);
    band.LineTo(260, 0);
    band.LineTo(60, kH);
    band.LineTo(-200, kH);
    band.Close();
    shine.Draw(band, shine.AddFill(FillStyle::Linear(-200, 260, kH / 2, {{0, {255, 255, 255, 0}}, {128, {255, 255, 255, 110}}, {255, {255, 255, 255, 0}}})));
    movie.DefineShape(6, shine);

    constexpr int frames = 48;
    const int bookCentreX = 220 + 360, bookCentreY = 500;
    for (int f = 0; f < frames; ++f) {
        const double slide = EaseOut(f, 0, 11);
        const double pop = EaseOut(f, 0, 7);
        const Matrix titleAt = Matrix::Translate(Lerp(-4200, 0, slide), 0);
        const Matrix bookAt = Matrix::ScaleAbout(0.5 + 0.5 * pop, bookCentreX, bookCentreY);
        const ColorTransform sloganAlpha = ColorTransform::Alpha(EaseOut(f, 12, 22));
        // The bubbles bob up and down once per loop, so the loop has no seam.
        const Matrix bubblesAt = Matrix::Translate(0, static_cast<int>(std::lround(-60 * std::sin(2 * std::numbers::pi * f / frames))));
        if (f == 0) {
            movie.Place(1, 1);
            movie.Place(2, 2, bubblesAt);
            movie.Place(3, 3, bookAt);
            movie.Place(4, 4, titleAt);
            movie.Place(5, 5, {}, &sloganAlpha);
        } else {
            movie.Move(2, bubblesAt);
            if (f <= 7) movie.Move(3, bookAt);
            if (f <= 11) movie.Move(4, titleAt);
            if (f >= 12 && f <= 22) movie.Move(5, {}, &sloganAlpha);
        }
        if (f >= 26 && f <= 38) {
            const Matrix shineAt = Matrix::Translate(Lerp(900, 5200, (f - 26) / 12.0), 0);
            if (f == 26) movie.Place(6, 6, shineAt);
            else movie.Move(6, shineAt);
        }
        if (f == 39) movie.Remove(6);
        movie.ShowFrame();
    }
    return movie.Finish(true);
}

Bytes BitmapBanner(GlyphPaths& glyphs) {
    MovieBuilder movie(kWidth, kHeight, kFrameRate);
    movie.SetBackgroundColor({250, 140, 70});

    // A warm picture at half size, drawn twice as large and smoothed.
    Picture warm(kWidth / 2, kHeight / 2);
    warm.Paint([](int x, int y) {
        const double t = x / double(kWidth / 2 - 1);
        Rgba c = Mix({255, 166, 64}, {240, 90, 120}, t);
        // Soft diagonal stripes.
        const double stripe = 0.5 + 0.5 * std::sin((x + 2.0 * y) * 0.22);
        c = Mix(c, {255, 255, 255}, 0.10 * stripe);
        return c;
    });
    movie.Tag(20, LosslessBody(1, warm, false));

    // A sparkle with soft transparent edges.
    Picture sparkle(16, 16);
    sparkle.Paint([](int x, int y) {
        const double dx = x - 7.5, dy = y - 7.5;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double star = std::max(0.0, 1 - std::min(std::fabs(dx), std::fabs(dy)) / 1.6) * std::max(0.0, 1 - r / 8);
        const double glow = std::max(0.0, 1 - r / 5.5);
        const double a = std::clamp(star + 0.6 * glow, 0.0, 1.0);
        return Rgba{255, 250, 220, static_cast<std::uint8_t>(std::lround(a * 255))};
    });
    movie.Tag(36, LosslessBody(2, sparkle, true));

    ShapeBuilder background(3);
    Path full;
    full.Rectangle(0, 0, kW, kH);
    background.Draw(full, background.AddFill(FillStyle::Bitmap(1, 40, 0, 0)));
    movie.DefineShape(3, background);

    ShapeBuilder sparkleShape(3);
    Path square;
    square.Rectangle(0, 0, 320, 320);
    sparkleShape.Draw(square, sparkleShape.AddFill(FillStyle::Bitmap(2, 20, 0, 0)));
    movie.DefineShape(4, sparkleShape);

    // The title with a white halo: the outline stroked wide beneath the fill.
    const std::string title = kProgramName;
    const int titleX = (kW - glyphs.Width(title, 24)) / 2;
    const Path titlePath = glyphs.Text(title, 24, titleX, 540);
    ShapeBuilder halo(4, true);
    halo.Draw(titlePath, 0, halo.AddLine({70, {255, 255, 255}}));
    movie.DefineShape(5, halo);
    movie.DefineShape(6, TextShape(titlePath, FillStyle::Solid({120, 30, 40})));

    // Three slogan words that pop in one after another.
    const char* const words[] = {"小巧", "快速", "好用"};
    const Rgba colours[] = {{110, 25, 35}, {150, 45, 20}, {110, 25, 35}};
    int wordCentres[3];
    for (int i = 0; i < 3; ++i) {
        const int width = glyphs.Width(words[i], 15);
        wordCentres[i] = kW / 2 + (i - 1) * 1400;
        ShapeBuilder word(1);
        Path path = glyphs.Text(words[i], 15, wordCentres[i] - width / 2, 910);
        word.Draw(path, word.AddFill(FillStyle::Solid(colours[i])));
        movie.DefineShape(static_cast<std::uint16_t>(7 + i), word);
    }

    constexpr int frames = 48;
    for (int f = 0; f < frames; ++f) {
        const ColorTransform fade = ColorTransform::Alpha(EaseOut(f, 0, 6));
        if (f == 0) {
            movie.Place(1, 3);
            movie.Place(2, 5, {}, &fade);
            movie.Place(3, 6, {}, &fade);
        } else if (f <= 6) {
            movie.Move(2, {}, &fade);
            movie.Move(3, {}, &fade);
        }
        for (int i = 0; i < 3; ++i) {
            const int start = 8 + 6 * i;
            if (f < start) continue;
            const double scale = 1.6 - 0.6 * EaseOut(f, start, start + 3);
            const Matrix at = Matrix::ScaleAbout(scale, wordCentres[i], 840);
            if (f == start) movie.Place(10 + i, static_cast<std::uint16_t>(7 + i), at);
            else if (f <= start + 3) movie.Move(10 + i, at);
        }
        // The sparkle, placed and removed with the older tags, drifts over the title.
        if (f == 12) movie.PlaceObject(4, 20, Matrix::Translate(titleX - 100, 60));
        if (f > 12 && f < 40) movie.Move(20, Matrix::Translate(titleX - 100 + (f - 12) * 140, 60 + ((f % 6) < 3 ? 0 : 20)));
        if (f == 40) movie.RemoveObject(4, 20);
        if (f == 44) {
            for (int i = 0; i < 3; ++i) movie.Remove(10 + i);
        }
        movie.ShowFrame();
    }
    return movie.Finish(false);
}

Bytes PhotoBanner(GlyphPaths& glyphs) {
    MovieBuilder movie(kWidth, kHeight, kFrameRate);
    movie.SetBackgroundColor({200, 225, 250});

    // A pale sky with soft clouds and a line of green hills.
    Picture sky(kWidth, kHeight);
    Lcg random(20240611);
    struct Cloud { double x, y, r; };
    std::vector<Cloud> clouds;
    for (int i = 0; i < 14; ++i) clouds.push_back({random.Unit() * kWidth, 6 + random.Unit() * 22, 5 + random.Unit() * 9});
    sky.Paint([&](int x, int y) {
        Rgba c = Mix({120, 180, 240}, {225, 240, 252}, y / double(kHeight - 1));
        double cloud = 0;
        for (const auto& k : clouds) {
            const double dx = (x - k.x) / (k.r * 1.8), dy = (y - k.y) / k.r;
            cloud += std::exp(-(dx * dx + dy * dy));
        }
        c = Mix(c, {255, 255, 255}, std::min(0.85, cloud * 0.7));
        const double hill = kHeight - 5 - 3 * std::sin(x * 0.035) - 2 * std::sin(x * 0.11 + 1);
        if (y > hill) c = Mix({120, 190, 90}, {70, 150, 70}, std::min(1.0, (y - hill) / 8));
        return c;
    });
    Bytes tables, image;
    EncodeJpegSplit(sky, 88, tables, image);
    movie.Tag(8, tables);
    BitWriter bits;
    bits.U16(1);
    bits.Append(image);
    movie.Tag(6, bits.Data());

    // A round badge from a second, complete JPEG picture.
    Picture badge(40, 40);
    badge.Paint([](int x, int y) {
        const double dx = x - 19.5, dy = y - 19.5;
        const double r = std::sqrt(dx * dx + dy * dy) / 20;
        return Mix({255, 200, 60}, {235, 110, 30}, std::min(1.0, r));
    });
    BitWriter jpeg2;
    jpeg2.U16(2);
    jpeg2.Append(EncodeJpeg(badge, 90));
    movie.Tag(21, jpeg2.Data());

    ShapeBuilder background(2);
    Path full;
    full.Rectangle(0, 0, kW, kH);
    background.Draw(full, background.AddFill(FillStyle::Bitmap(1, 20, 0, 0)));
    movie.DefineShape(3, background);

    const int badgeX = 160, badgeY = 100, badgeSize = 800;
    ShapeBuilder badgeShape(3);
    Path circle;
    circle.Ellipse(badgeX + badgeSize / 2, badgeY + badgeSize / 2, badgeSize / 2, badgeSize / 2);
    badgeShape.Draw(circle, badgeShape.AddFill(FillStyle::Bitmap(2, badgeSize / 40.0, badgeX, badgeY)),
                    badgeShape.AddLine({30, {255, 255, 255}}));
    const Path badgeLetter = glyphs.Text("M", 26, badgeX + badgeSize / 2 - glyphs.Width("M", 26) / 2, badgeY + 640);
    badgeShape.Draw(badgeLetter, badgeShape.AddFill(FillStyle::Solid({255, 255, 255})));
    movie.DefineShape(4, badgeShape);

    const std::string title = kProgramName;
    const int titleX = 1100, titleBaseline = 520;
    const int titleWidth = glyphs.Width(title, 22);
    movie.DefineShape(5, TextShape(glyphs.Text(title, 22, titleX, titleBaseline),
                                   FillStyle::Radial(titleX + titleWidth / 2, 330, titleWidth / 2, 500,
                                                     {{0, {110, 40, 170}}, {255, {20, 60, 150}}})));

    const std::string slogan = "随时随地 · 轻松查词";
    movie.DefineShape(6, TextShape(glyphs.Text(slogan, 14, 0, 850, 10), FillStyle::Solid({25, 55, 130})));

    constexpr int frames = 72;
    const int titleCentreX = titleX + titleWidth / 2, titleCentreY = 400;
    for (int f = 0; f < frames; ++f) {
        const double zoom = EaseOut(f, 0, 9);
        const Matrix titleAt = Matrix::ScaleAbout(0.3 + 0.7 * zoom, titleCentreX, titleCentreY);
        const ColorTransform titleAlpha = ColorTransform::Alpha(zoom);
        // The slogan glides in from the right under the title, stays, and fades before the loop.
        const Matrix sloganAt = Matrix::Translate(Lerp(kW, titleX + 20, EaseOut(f, 10, 24)), 0);
        const ColorTransform sloganAlpha = ColorTransform::Alpha(1 - EaseOut(f, 60, 70));
        if (f == 0) {
            movie.Place(1, 3);
            movie.Place(2, 4);
            movie.Place(3, 5, titleAt, &titleAlpha);
        } else if (f <= 9) {
            movie.Move(3, titleAt, &titleAlpha);
        }
        if (f == 10) movie.Place(4, 6, sloganAt);
        else if (f > 10 && f <= 24) movie.Move(4, sloganAt);
        else if (f > 60) movie.Move(4, sloganAt, &sloganAlpha);
        movie.ShowFrame();
    }
    return movie.Finish(true);
}

}  // namespace adgen
