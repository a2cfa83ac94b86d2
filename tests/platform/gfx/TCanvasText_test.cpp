// Text: faces, measuring, DrawText layout and the rendered look.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "FontEngine.h"
#include "GfxTestSupport.h"
#include "TBitmap.h"
#include "TCanvas.h"

namespace {

const AnsiString kTitle = Utf8ToAnsi("Mirvo英语小词典");

TFont MakeFont(const char* name, int height, TFontStyles style = 0) {
    TFont f;
    f.SetName(name);
    f.SetHeight(height);
    f.SetStyle(style);
    f.SetColor(clBlack);
    return f;
}

// Renders the program's title the way the reference image was made.
void RenderTitle(TBitmap& bmp) {
    bmp.SetSize(120, 20);
    bmp.Fill(clWhite);
    TCanvas& c = bmp.Canvas();
    c.Font = MakeFont("Arial", 14);
    c.Brush.Style = bsClear;
    c.TextOut(2, 3, kTitle);
}

bool HasInk(const TBitmap& bmp, const TRect& area) {
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (bmp.Pixels(x, y) != clWhite) return true;
    return false;
}

TEST(TFontFaces, NamesResolveToInstalledMetricFaces) {
    EXPECT_EQ(FontFor(MakeFont("Arial", 14)).FamilyName(), "Liberation Sans");
    EXPECT_EQ(FontFor(MakeFont("MS Sans Serif", -11)).FamilyName(), "DejaVu Sans");
}

TEST(TFontFaces, HeightSignChoosesCellOrCharacterHeight) {
    // Positive: the cell is exactly that high. Negative: the em is, and the
    // cell (ascent + descent) is larger for a face like Arial.
    FontInstance& cell = FontFor(MakeFont("Arial", 14));
    EXPECT_EQ(cell.CellHeight(), 14);
    FontInstance& em = FontFor(MakeFont("Arial", -14));
    EXPECT_GT(em.CellHeight(), 14);
    EXPECT_GT(em.Ascent(), cell.Ascent());

    TFont f;
    f.SetSize(9);
    EXPECT_EQ(f.Height(), -12);
    f.SetHeight(14);
    EXPECT_EQ(f.Size(), -11);  // a positive height reports a negative size, as the platform does
}

TEST(TCanvasText, TitleHasAGlyphForEveryCharacter) {
    FontInstance& font = FontFor(MakeFont("Arial", 14));
    const std::u32string wide = AnsiToUtf32(kTitle);
    ASSERT_EQ(wide.size(), 10u);
    TBitmap bmp;
    RenderTitle(bmp);
    int x = 2;
    for (char32_t c : wide) {
        const GlyphImage& g = font.Glyph(c);
        EXPECT_TRUE(g.Found) << "no face has U+" << std::hex << unsigned(c);
        EXPECT_GT(g.Advance, 0);
        // Ink inside the character's own cell: nothing is left blank.
        EXPECT_TRUE(HasInk(bmp, {x, 3, x + g.Advance, 3 + font.CellHeight()})) << "blank cell for U+" << std::hex
                                                                              << unsigned(c);
        x += g.Advance;
    }
    // Chinese characters are full-width: about the em size, far wider than "i".
    EXPECT_GE(font.Advance(U'英'), 11);
    EXPECT_LT(font.Advance(U'i'), 6);
}

TEST(TCanvasText, TitleMatchesReferenceImage) {
    // The reference was rendered here once and inspected by eye. FreeType
    // versions may round anti-aliased edges slightly differently, so each
    // channel may differ by a little; a missing or moved glyph differs by far more.
    TBitmap expected;
    expected.LoadFromFile((gfxtest::ReferenceDir() / "title_arial14.bmp").string());
    TBitmap actual;
    RenderTitle(actual);
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    int worst = 0;
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x) {
            const TColor a = actual.Pixels(x, y), e = expected.Pixels(x, y);
            worst = std::max({worst, std::abs(GetRValue(a) - GetRValue(e)), std::abs(GetGValue(a) - GetGValue(e)),
                              std::abs(GetBValue(a) - GetBValue(e))});
        }
    EXPECT_LE(worst, 24);
}

TEST(TCanvasText, ExtentIsTheSumOfAdvancesAndTheCellHeight) {
    TCanvas c;
    c.Font = MakeFont("Arial", 14);
    FontInstance& font = FontFor(c.Font);
    int sum = 0;
    for (char32_t ch : AnsiToUtf32(kTitle)) sum += font.Advance(ch);
    EXPECT_EQ(c.TextWidth(kTitle), sum);
    EXPECT_EQ(c.TextHeight(kTitle), 14);
    EXPECT_EQ(c.TextExtent(""), (TSize{0, 14}));
    // Bold is wider; the width follows the font as it changes.
    const int regular = c.TextWidth("Dictionary");
    c.Font.SetStyle(fsBold);
    EXPECT_GT(c.TextWidth("Dictionary"), regular);
}

TEST(TCanvasText, DrawTextUsesTheAdvancesTextWidthReports) {
    TBitmap bmp(200, 30);
    TCanvas& c = bmp.Canvas();
    c.Font = MakeFont("Arial", 14);
    c.Brush.Color = clRed;  // opaque: the text's cell is filled, showing its extent
    const AnsiString text = Utf8ToAnsi("Hello 你好 world");
    const int width = c.TextWidth(text);

    TRect calc{10, 5, 10, 5};
    EXPECT_EQ(c.DrawText(text, calc, DT_CALCRECT | DT_SINGLELINE), 14);
    EXPECT_EQ(calc, (TRect{10, 5, 10 + width, 19}));
    EXPECT_EQ(bmp.Pixels(10, 5), clWhite);  // DT_CALCRECT draws nothing

    TRect r{0, 0, 200, 30};
    c.DrawText(text, r, DT_RIGHT | DT_SINGLELINE);
    // Right-aligned: the filled cell ends exactly at the right edge and
    // starts exactly `width` before it.
    EXPECT_EQ(bmp.Pixels(199, 0), clRed);
    EXPECT_EQ(bmp.Pixels(200 - width, 13), clRed);
    EXPECT_EQ(bmp.Pixels(200 - width - 1, 13), clWhite);
    EXPECT_EQ(bmp.Pixels(199, 14), clWhite);
}

TEST(TCanvasText, DrawTextCalcRectWrapsAtWordsAndChineseCharacters) {
    TCanvas c;
    c.Font = MakeFont("Arial", 14);
    const int word = c.TextWidth("word");
    const int space = c.TextWidth(" ");

    struct Case {
        const char* utf8;
        int width;
        unsigned flags;
        int lines;
        int calcWidth;  // -1: do not check
    };
    const Case cases[] = {
        {"word word word", 2 * word + space, DT_WORDBREAK, 2, 2 * word + space},
        {"word word word", 2 * word + space - 1, DT_WORDBREAK, 3, word},
        {"word\r\nword\nword\rword", 1000, 0, 4, word},
        {"word\r\nword", 1000, DT_SINGLELINE, 1, 2 * word},
        {"longlonglongword", word, DT_WORDBREAK, 1, -1},  // a long word stays whole
        {"", 100, DT_SINGLELINE, 1, 0},
        {"", 100, 0, 0, 0},
    };
    for (const Case& k : cases) {
        TRect r{0, 0, k.width, 0};
        const int h = c.DrawText(Utf8ToAnsi(k.utf8), r, k.flags | DT_CALCRECT);
        EXPECT_EQ(h, 14 * k.lines) << k.utf8;
        EXPECT_EQ(r.Bottom, 14 * k.lines) << k.utf8;
        if (k.calcWidth >= 0) {
            EXPECT_EQ(r.Right, k.calcWidth) << k.utf8;
        }
    }

    // Chinese text wraps between characters although it has no spaces.
    const AnsiString chinese = Utf8ToAnsi("英语小词典英语小词典");
    const int one = c.TextWidth(Utf8ToAnsi("英"));
    TRect r{0, 0, 4 * one, 0};
    c.DrawText(chinese, r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(r.Bottom, 3 * 14);
    EXPECT_EQ(r.Right, 4 * one);
}

TEST(TCanvasText, PrefixAndEllipsis) {
    TBitmap bmp(120, 20);
    TCanvas& c = bmp.Canvas();
    c.Font = MakeFont("Arial", 14);
    c.Brush.Style = bsClear;
    // "&&" is one ampersand and "&F" underlines F without showing "&".
    TRect r{0, 0, 120, 20};
    c.DrawText("&File", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Right, c.TextWidth("File"));
    r = {0, 0, 120, 20};
    c.DrawText("a&&b", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Right, c.TextWidth("a&b"));
    r = {0, 0, 120, 20};
    c.DrawText("a&&b", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.Right, c.TextWidth("a&&b"));

    // The underline of the prefixed character runs under its advance only.
    r = {0, 0, 120, 20};
    c.DrawText("W&W", r, DT_SINGLELINE);
    FontInstance& font = FontFor(c.Font);
    const int underlineY = font.Ascent() + font.UnderlineOffset();
    const int w = c.TextWidth("W");
    EXPECT_EQ(bmp.Pixels(w + 1, underlineY), clBlack);
    EXPECT_EQ(bmp.Pixels(w - 2, underlineY), clWhite);

    // An ellipsis keeps the line within the rectangle and ends in "...".
    const AnsiString longText = "A rather long line of text that cannot fit";
    r = {0, 0, 80, 20};
    c.DrawText(longText, r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(r.Right, 80);
    EXPECT_GT(r.Right, 80 - c.TextWidth("W..."));
}

TEST(TCanvasText, ExpandTabsAdvancesToEightAverageCharacters) {
    TCanvas c;
    c.Font = MakeFont("Arial", 14);
    const int tab = 8 * FontFor(c.Font).AveCharWidth();
    TRect r{0, 0, 500, 0};
    c.DrawText("a\tb", r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Right, tab + c.TextWidth("b"));
}

TEST(TCanvasText, ClippingAndVerticalCentring) {
    TBitmap bmp(60, 40);
    TCanvas& c = bmp.Canvas();
    c.Font = MakeFont("Arial", 14);
    c.Brush.Color = clRed;
    // A rect narrower than the text clips it, unless DT_NOCLIP.
    TRect r{0, 0, 10, 40};
    c.DrawText("WWWW", r, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(bmp.Pixels(9, 13), clRed);
    EXPECT_EQ(bmp.Pixels(10, 13), clWhite);
    EXPECT_EQ(bmp.Pixels(0, 12), clWhite);  // centred: (40 - 14) / 2 = 13 is the first row
    EXPECT_EQ(bmp.Pixels(0, 26), clRed);
    EXPECT_EQ(bmp.Pixels(0, 27), clWhite);
    r = {0, 0, 10, 14};
    c.DrawText("WWWW", r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(bmp.Pixels(10, 0), clRed);

    // TextRect fills its rect and clips the text to it.
    bmp.Fill(clWhite);
    c.Brush.Color = clLime;
    c.TextRect({5, 5, 20, 15}, 5, 5, "WWWW");
    EXPECT_EQ(bmp.Pixels(5, 14), clLime);
    EXPECT_EQ(bmp.Pixels(19, 5), clLime);
    EXPECT_EQ(bmp.Pixels(20, 5), clWhite);
    EXPECT_EQ(bmp.Pixels(5, 15), clWhite);
}

TEST(TCanvasText, TextOutMovesThePenAndHonoursStyleLines) {
    TBitmap bmp(100, 20);
    TCanvas& c = bmp.Canvas();
    c.Font = MakeFont("Arial", 14, fsUnderline | fsStrikeOut);
    c.Brush.Style = bsClear;
    c.TextOut(3, 2, "ii");
    const int w = c.TextWidth("ii");
    EXPECT_EQ(c.PenPos(), (TPoint{3 + w, 2}));
    FontInstance& font = FontFor(c.Font);
    // Both lines run across the whole text, also between the letters.
    for (int x = 3; x < 3 + w; ++x) {
        EXPECT_EQ(bmp.Pixels(x, 2 + font.Ascent() + font.UnderlineOffset()), clBlack) << x;
        EXPECT_EQ(bmp.Pixels(x, 2 + font.Ascent() - font.StrikeOutOffset()), clBlack) << x;
    }
    EXPECT_EQ(bmp.Pixels(3 + w, 2 + font.Ascent() + font.UnderlineOffset()), clWhite);
}

}  // namespace

namespace {

// Draws `text` with `flags` into a fresh bitmap and returns its pixels.
std::vector<TColor> Rendered(const AnsiString& text, int width, unsigned flags) {
    TBitmap bmp(300, 20);
    bmp.Fill(clWhite);
    TCanvas& c = bmp.Canvas();
    c.Font = MakeFont("Arial", 14);
    c.Brush.Style = bsClear;
    TRect r{0, 0, width, 20};
    c.DrawText(text, r, flags | DT_SINGLELINE | DT_NOPREFIX);
    std::vector<TColor> out;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 300; ++x) out.push_back(bmp.Pixels(x, y));
    return out;
}

}  // namespace

TEST(TCanvasText, PathEllipsisKeepsTheLastElementAndCutsBeforeIt) {
    struct Case {
        const char* text;
        const char* shown;  // what the line reads at the width of `shown`
        unsigned extra;
    };
    const std::string chinese = Utf8ToAnsi("/home/用户/词典/单词.txt");
    const std::string chineseShown = Utf8ToAnsi("/home/用.../单词.txt");
    const Case cases[] = {
        {"/home/user/words/list.txt", "/home/user/words/list.txt", 0},  // fits: unchanged
        {"/home/user/words/list.txt", "/home/us.../list.txt", 0},
        {"/home/user/words/list.txt", ".../list.txt", 0},              // the whole head gives way
        {"C:\\Program Files\\dict\\words.txt", "C:\\Pro...\\words.txt", 0},
        {"/home/user/words/list.txt", ".../li...", DT_END_ELLIPSIS},    // then the tail is cut at its end
        {"averyveryverylongname", "averyve...", 0},                       // no separator: cut at the end
        {"/averyveryverylongname", "/averyve...", 0},                     // nothing before the separator
        {chinese.c_str(), chineseShown.c_str(), 0},
    };
    TCanvas measure;
    measure.Font = MakeFont("Arial", 14);
    for (const Case& k : cases) {
        const int width = measure.TextWidth(k.shown);
        EXPECT_EQ(Rendered(k.text, width, DT_PATH_ELLIPSIS | k.extra), Rendered(k.shown, width, 0)) << k.shown;
        TRect calc{0, 0, width, 20};
        measure.DrawText(k.text, calc, DT_CALCRECT | DT_SINGLELINE | DT_PATH_ELLIPSIS | k.extra);
        EXPECT_EQ(calc.Right, width) << k.shown;
    }
}
