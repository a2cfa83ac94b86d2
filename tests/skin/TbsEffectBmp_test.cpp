#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "Exceptions.h"
#include "TbsEffectBmp.h"

namespace {

TColor Grey(int v) { return RGB(std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)); }

// A bitmap of `rows` of colours.
void Fill(TBitmap& bitmap, const std::vector<std::vector<TColor>>& rows) {
    bitmap.SetSize(int(rows.at(0).size()), int(rows.size()));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) bitmap.SetPixels(x, y, rows[std::size_t(y)][std::size_t(x)]);
}

TColor PixelOf(const TbsEffectBmp& image, int x, int y) {
    const std::uint8_t* p = image.RowPointer(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

// The red channel of every pixel, row by row.
std::vector<int> Reds(const TbsEffectBmp& image) {
    std::vector<int> reds;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) reds.push_back(GetRValue(PixelOf(image, x, y)));
    return reds;
}

std::vector<TColor> GreyRow(std::initializer_list<int> values) {
    std::vector<TColor> row;
    for (int v : values) row.push_back(Grey(v));
    return row;
}

// ---- layout ----

TEST(TbsEffectBmp, CopiesPixelsIntoPaddedRowsAndBack) {
    TBitmap source;
    Fill(source, {{clRed, clLime, clBlue, clWhite, Grey(7)}, {clBlack, clNavy, clTeal, clMaroon, Grey(9)}});
    const TbsEffectBmp image(source);
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.RowBytes(), 16u);  // 15 bytes of pixels, padded to 4
    EXPECT_EQ(image.RowPointer(0)[0], 0x00);  // blue, green, red order
    EXPECT_EQ(image.RowPointer(0)[2], 0xFF);
    EXPECT_EQ(PixelOf(image, 2, 1), clTeal);

    TBitmap copy, drawn(7, 4);
    image.AssignTo(copy);
    drawn.Fill(clWhite);
    image.DrawTo(drawn.Canvas(), 2, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(copy.Pixels(x, y), source.Pixels(x, y));
            EXPECT_EQ(drawn.Pixels(x + 2, y + 1), source.Pixels(x, y));
        }
    EXPECT_EQ(drawn.Pixels(1, 1), clWhite);
}

TEST(TbsEffectBmp, RowsReadAndWriteThroughABuffer) {
    TBitmap source;
    Fill(source, {GreyRow({1, 2, 3}), GreyRow({4, 5, 6})});
    TbsEffectBmp image(source);
    std::vector<std::uint8_t> row(9);
    image.ReadRow(1, row);
    image.WriteRow(0, row);
    EXPECT_EQ(Reds(image), (std::vector<int>{4, 5, 6, 4, 5, 6}));
    std::vector<std::uint8_t> shortRow(8);
    EXPECT_THROW(image.ReadRow(0, shortRow), Exception);
    EXPECT_THROW(image.RowPointer(2), Exception);
}

// ---- colour effects ----

struct ColourCase {
    const char* name;
    std::function<void(TbsEffectBmp&)> effect;
    TColor before, after;
};

class ColourEffect : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourEffect, TurnsOneColourIntoAnother) {
    const ColourCase& c = GetParam();
    TBitmap source;
    Fill(source, {{c.before, c.before}});
    TbsEffectBmp image(source);
    c.effect(image);
    EXPECT_EQ(PixelOf(image, 0, 0), c.after) << std::hex << PixelOf(image, 0, 0);
    EXPECT_EQ(PixelOf(image, 1, 0), c.after);
    EXPECT_EQ(source.Pixels(0, 0), c.before) << "the source bitmap is not changed";
}

const auto lighten = [](double x) { return [x](TbsEffectBmp& b) { b.Lighten(x); }; };
const auto darken = [](double x) { return [x](TbsEffectBmp& b) { b.Darken(x); }; };
const auto gray = [](TbsEffectBmp& b) { b.ToGray(); };
const auto effect = [](SkinImageEffect e) { return [e](TbsEffectBmp& b) { b.ApplyImageEffect(e); }; };

INSTANTIATE_TEST_SUITE_P(
    Values, ColourEffect,
    testing::Values(
        ColourCase{"LightenBlackRoundsHalfToEven", lighten(0.5), clBlack, Grey(128)},
        ColourCase{"LightenKeepsWhite", lighten(0.5), clWhite, clWhite},
        ColourCase{"LightenAboveOneIsOne", lighten(2), Grey(30), clWhite},
        ColourCase{"DarkenHundred", darken(0.3), Grey(100), Grey(70)},
        ColourCase{"DarkenKeepsBlack", darken(0.3), clBlack, clBlack},
        ColourCase{"DarkenBelowZeroIsZero", darken(-1), Grey(100), Grey(100)},
        ColourCase{"GrayOfWhite", gray, clWhite, clWhite},
        ColourCase{"GrayOfBlack", gray, clBlack, clBlack},
        ColourCase{"GrayOfGreen", gray, clLime, Grey(150)},
        // 0.5 c + 127.5: 132.5, 137.5 and 142.5 go to the even neighbours.
        ColourCase{"Brightness", effect(SkinImageEffect::Brightness), RGB(10, 20, 30), RGB(132, 138, 142)},
        ColourCase{"Darkness", effect(SkinImageEffect::Darkness), RGB(10, 20, 30), RGB(7, 14, 21)},
        ColourCase{"Grayscale", effect(SkinImageEffect::Grayscale), RGB(10, 20, 30), Grey(18)},
        ColourCase{"Invert", effect(SkinImageEffect::Invert), RGB(10, 20, 30), RGB(245, 235, 225)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TbsEffectBmp, InvertingTwiceRestoresTheImage) {
    TBitmap source;
    Fill(source, {{RGB(1, 2, 3), RGB(200, 100, 0)}, {clWhite, RGB(9, 99, 255)}});
    TbsEffectBmp image(source);
    image.InvertColors();
    EXPECT_NE(PixelOf(image, 0, 0), RGB(1, 2, 3));
    image.InvertColors();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(PixelOf(image, x, y), source.Pixels(x, y));
}

TEST(TbsEffectBmp, NoiseShiftsAllChannelsOfAPixelAlike) {
    TBitmap source(20, 20);
    source.Fill(RGB(128, 100, 60));
    TbsEffectBmp image(source);
    image.SeedNoise(7);
    image.AddNoise(50);
    std::set<int> shifts;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const TColor c = PixelOf(image, x, y);
            const int shift = GetRValue(c) - 128;
            EXPECT_EQ(GetGValue(c) - 100, shift);
            EXPECT_EQ(GetBValue(c) - 60, shift);
            EXPECT_GE(shift, -25);
            EXPECT_LE(shift, 24);
            shifts.insert(shift);
        }
    EXPECT_GT(shifts.size(), 10u);

    TbsEffectBmp untouched(source);
    untouched.AddNoise(0);
    EXPECT_EQ(PixelOf(untouched, 3, 3), RGB(128, 100, 60));
}

TEST(TbsEffectBmp, SplitBlurWorksInPlaceFromTheTopLeft) {
    TBitmap one, row;
    Fill(one, {{RGB(10, 20, 30)}});
    TbsEffectBmp single(one);
    single.SplitBlur(1);
    EXPECT_EQ(PixelOf(single, 0, 0), RGB(10, 20, 30));

    // x = 0 reads itself and x = 1; x = 1 then reads the already blurred x = 0.
    Fill(row, {GreyRow({0, 40, 80})});
    TbsEffectBmp image(row);
    image.SplitBlur(1);
    EXPECT_EQ(Reds(image), (std::vector<int>{20, 50, 65}));
    image.SplitBlur(0);
    EXPECT_EQ(Reds(image), (std::vector<int>{20, 50, 65}));
}

// ---- morphs ----

TEST(TbsEffectBmp, BlendFadeEndsAndRounding) {
    TBitmap from, to;
    Fill(from, {GreyRow({0, 0, 10})});
    Fill(to, {GreyRow({1, 3, 20})});
    const TbsEffectBmp other(to);
    const auto fade = [&](double k) {
        TbsEffectBmp image(from);
        image.BlendFade(other, k);
        return Reds(image);
    };
    EXPECT_EQ(fade(0), (std::vector<int>{0, 0, 10}));
    EXPECT_EQ(fade(1), (std::vector<int>{1, 3, 20}));
    EXPECT_EQ(fade(1.5), (std::vector<int>{1, 3, 20}));
    EXPECT_EQ(fade(0.5), (std::vector<int>{0, 2, 15}));  // 0.5 and 1.5 go to even
}

struct MorphCase {
    const char* name;
    SkinMorphKind kind;
    double k;
    std::vector<std::vector<TColor>> from, to;
    std::vector<int> expected;  // reds after the morph
};

class Morph : public testing::TestWithParam<MorphCase> {};

TEST_P(Morph, BlendsTowardsTheOtherImage) {
    const MorphCase& c = GetParam();
    TBitmap from, to;
    Fill(from, c.from);
    Fill(to, c.to);
    TbsEffectBmp image(from);
    image.Morph(c.kind, TbsEffectBmp(to), c.k);
    EXPECT_EQ(Reds(image), c.expected);
}

const std::vector<std::vector<TColor>> kFrom4{GreyRow({1, 2, 3, 4})};
const std::vector<std::vector<TColor>> kTo4{GreyRow({10, 20, 30, 40})};
const std::vector<std::vector<TColor>> kBlack4{GreyRow({0, 0, 0, 0})};
const std::vector<std::vector<TColor>> kGrey4{GreyRow({200, 200, 200, 200})};
const std::vector<std::vector<TColor>> kBlackColumn(8, GreyRow({0}));
const std::vector<std::vector<TColor>> kGreyColumn(8, GreyRow({200}));

INSTANTIATE_TEST_SUITE_P(
    Kinds, Morph,
    testing::Values(
        MorphCase{"PushHalf", SkinMorphKind::Push, 0.5, kFrom4, kTo4, {20, 30, 40, 1}},
        MorphCase{"PushZeroStillPushesOneColumn", SkinMorphKind::Push, 0, kFrom4, kTo4, {40, 1, 2, 3}},
        MorphCase{"SlideFromLeftHalf", SkinMorphKind::LeftSlide, 0.5, kFrom4, kTo4, {30, 40, 3, 4}},
        MorphCase{"SlideFromLeftZeroMovesOneColumn", SkinMorphKind::LeftSlide, 0, kFrom4, kTo4, {40, 2, 3, 4}},
        MorphCase{"SlideFromRightHalf", SkinMorphKind::RightSlide, 0.5, kFrom4, kTo4, {1, 2, 10, 20}},
        MorphCase{"SlideFromRightWholeStopsOneShort", SkinMorphKind::RightSlide, 1, kFrom4, kTo4, {1, 10, 20, 30}},
        MorphCase{"BlendFromLeftHalf", SkinMorphKind::LeftGradient, 0.5, kBlack4, kGrey4, {200, 100, 0, 0}},
        MorphCase{"BlendFromRightHalf", SkinMorphKind::RightGradient, 0.5, kBlack4, kGrey4, {0, 0, 100, 200}},
        MorphCase{"CentreHorizontal",
                  SkinMorphKind::Gradient,
                  0.5,
                  {GreyRow({0, 0, 0, 0, 0, 0, 0, 0})},
                  {GreyRow({200, 200, 200, 200, 200, 200, 200, 200})},
                  {0, 100, 200, 200, 200, 200, 200, 100}},
        // Higher than wide: rows open from the middle, with the steeper ramp.
        MorphCase{"CentreVertical",
                  SkinMorphKind::Gradient,
                  0.5,
                  kBlackColumn,
                  kGreyColumn,
                  {0, 0, 200, 200, 200, 200, 200, 0}},
        MorphCase{"FadeHalf", SkinMorphKind::Default, 0.5, kBlack4, kGrey4, {100, 100, 100, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TbsEffectBmp, MorphsBetweenImagesOfDifferentSizesChangeNothing) {
    TBitmap from, wider, taller;
    Fill(from, {GreyRow({1, 2, 3, 4})});
    Fill(wider, {GreyRow({9, 9, 9, 9, 9})});
    Fill(taller, {GreyRow({9, 9, 9, 9}), GreyRow({9, 9, 9, 9})});
    const TbsEffectBmp w(wider), t(taller);
    for (int kind = 0; kind <= 6; ++kind)
        for (const TbsEffectBmp* other : {&w, &t}) {
            TbsEffectBmp image(from);
            image.Morph(SkinMorphKind(kind), *other, 0.5);
            EXPECT_EQ(Reds(image), (std::vector<int>{1, 2, 3, 4})) << "kind " << kind;
        }
}

}  // namespace
