#include "SkinTextLayout.h"

#include <functional>

#include "SkinPieceCopy.h"

namespace {

constexpr char kEllipsis[] = "...";

// Byte offset where the last character of `text` starts (0 for empty text).
std::size_t LastCharStart(std::string_view text) {
    std::size_t at = 0, last = 0;
    while (at < text.size()) {
        last = at;
        at += CharLengthAt(text, at);
    }
    return last;
}

// Three 1-pixel rows from x0 to x1 (exclusive) starting at row y.
void ThreeLines(TCanvas& canvas, int x0, int x1, int y) {
    for (int i = 0; i < 3; ++i) {
        canvas.MoveTo(x0, y + i);
        canvas.LineTo(x1, y + i);
    }
}

}  // namespace

GlyphAndTextPlaces LayoutGlyphAndText(TbsButtonLayout layout, const TRect& rect, int glyphW, int glyphH, int textW,
                                      int textH, int margin, int spacing) {
    if (glyphW == 0) spacing = 0;
    const int cx = rect.Left + rect.Width() / 2;
    const int cy = rect.Top + rect.Height() / 2;
    const int half = (glyphW + textW + spacing) / 2;
    const int halfV = (glyphH + textH + spacing) / 2;
    const bool centred = margin < 0;
    GlyphAndTextPlaces at;
    switch (layout) {
        case blGlyphLeft:
        case blGlyphRight:
            at.Glyph.Y = cy - glyphH / 2;
            at.Text.Y = cy - textH / 2;
            if (layout == blGlyphLeft) {
                at.Glyph.X = centred ? cx - half : rect.Left + margin;
                at.Text.X = centred ? cx + half - textW : at.Glyph.X + glyphW + spacing;
            } else if (centred) {
                at.Text.X = cx - half;
                at.Glyph.X = cx + half - glyphW;
            } else {
                at.Glyph.X = rect.Right - glyphW - margin;
                at.Text.X = at.Glyph.X - spacing - textW;
            }
            break;
        case blGlyphTop:
        case blGlyphBottom:
            at.Glyph.X = cx - glyphW / 2;
            at.Text.X = cx - textW / 2;
            if (layout == blGlyphTop) {
                at.Glyph.Y = centred ? cy - halfV : rect.Top + margin;
                at.Text.Y = centred ? cy + halfV - textH : at.Glyph.Y + glyphH + spacing;
            } else if (centred) {
                at.Text.Y = cy - halfV;
                at.Glyph.Y = cy + halfV - glyphH;
            } else {
                at.Glyph.Y = rect.Bottom - glyphH - margin;
                at.Text.Y = at.Glyph.Y - spacing - textH;
            }
            break;
    }
    return at;
}

namespace {

// What the two glyph-and-text drawings differ in: the glyph's size and how it
// is drawn, how wide its mark runs, and whether the mark that fills the rect
// (no glyph, no text) moves down with the pressed offset.
struct GlyphToDraw {
    int width = 0;
    int height = 0;
    int markWidth = 0;
    bool fillMarkFollowsDown = false;
    std::function<void(int x, int y)> draw;
};

void DrawGlyphAndText(TCanvas& canvas, const TRect& rect, int margin, TColor markColor, bool drawMark, bool down,
                      const GlyphToDraw& glyph, const AnsiString& text, TbsButtonLayout layout, int spacing) {
    const bool sideBySide = layout == blGlyphLeft || layout == blGlyphRight;
    int textW = 0, textH = 0;
    if (!text.empty()) {
        TRect box{0, 0, rect.Width() - (sideBySide ? glyph.width : 0), rect.Height() - (sideBySide ? 0 : glyph.height)};
        canvas.DrawText(text, box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        textW = box.Width();
        textH = box.Height();
    }
    canvas.Brush.Style = bsClear;
    GlyphAndTextPlaces at = LayoutGlyphAndText(layout, rect, glyph.width, glyph.height, textW, textH, margin, spacing);
    if (down) {
        at.Glyph = {at.Glyph.X + 1, at.Glyph.Y + 1};
        at.Text = {at.Text.X + 1, at.Text.Y + 1};
    }
    const TRect textBox{at.Text.X, at.Text.Y, at.Text.X + textW + 2, at.Text.Y + textH};
    if (!text.empty()) {
        TRect r = textBox;
        canvas.DrawText(text, r, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
    }
    if (glyph.width > 0) glyph.draw(at.Glyph.X, at.Glyph.Y);
    if (!drawMark) return;
    canvas.Pen.Color = markColor;
    if (glyph.width > 0) {
        ThreeLines(canvas, at.Glyph.X, at.Glyph.X + glyph.markWidth, at.Glyph.Y + glyph.height - 2);
    } else if (!text.empty()) {
        ThreeLines(canvas, textBox.Left, textBox.Right, textBox.Bottom - 1);
    } else {
        const bool shifted = down && glyph.fillMarkFollowsDown;
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = markColor;
        canvas.FillRect({rect.Left + 4, rect.Top + (shifted ? 5 : 4), rect.Right - 2, rect.Bottom - (shifted ? 3 : 4)});
        canvas.Brush.Style = bsClear;
    }
}

}  // namespace

void DrawImageListGlyphAndText(TCanvas& canvas, const TRect& rect, int margin, TColor markColor, bool drawMark,
                               bool enabled, bool down, const TImageList* images, int imageIndex,
                               const AnsiString& text, TbsButtonLayout layout, int spacing) {
    GlyphToDraw glyph;
    if (images && imageIndex >= 0 && imageIndex < images->Count()) {
        glyph.width = images->Width();
        glyph.height = images->Height();
        glyph.markWidth = glyph.width;
        glyph.draw = [&](int x, int y) { images->Draw(canvas, x, y, imageIndex, enabled); };
    }
    DrawGlyphAndText(canvas, rect, margin, markColor, drawMark, down, glyph, text, layout, spacing);
}

void DrawBitmapGlyphAndText(TCanvas& canvas, const TRect& rect, int margin, TColor markColor, bool drawMark, bool down,
                            int frameIndex, int frameCount, const TBitmap& strip, const AnsiString& text,
                            TbsButtonLayout layout, int spacing) {
    GlyphToDraw glyph;
    glyph.fillMarkFollowsDown = true;
    if (!strip.Empty() && frameCount > 0 && strip.Width() / frameCount > 0) {
        glyph.width = strip.Width() / frameCount;
        glyph.height = strip.Height();
        // The mark runs under the whole strip, not just the frame shown.
        glyph.markWidth = strip.Width();
        glyph.draw = [&](int x, int y) { DrawGlyphFrame(canvas, x, y, frameIndex, frameCount, strip); };
    }
    DrawGlyphAndText(canvas, rect, margin, markColor, drawMark, down, glyph, text, layout, spacing);
}

void DrawGlyphFrame(TCanvas& canvas, int x, int y, int index, int count, const TBitmap& strip) {
    if (strip.Empty() || count <= 0 || index < 1 || index > count) return;
    const int fw = strip.Width() / count;
    if (fw <= 0) return;
    TBitmap frame(fw, strip.Height());
    CopySkinPiece(frame, 0, 0, strip, {fw * (index - 1), 0, fw * index, strip.Height()});
    frame.SetTransparent(true);  // the bottom-left pixel's colour
    canvas.Draw(x, y, frame);
}

AnsiString FitTextToWidth(TCanvas& canvas, std::string_view text, int width) {
    AnsiString fitted(text);
    if (canvas.TextWidth(fitted) <= width) return fitted;
    while (!fitted.empty()) {
        fitted.erase(LastCharStart(fitted));
        if (canvas.TextWidth(fitted + kEllipsis) <= width) break;
    }
    return fitted + kEllipsis;
}

std::u32string FitWideTextToWidth(TCanvas& canvas, std::u32string_view text, int width) {
    std::u32string fitted(text);
    if (WideTextWidth(canvas, fitted) <= width) return fitted;
    const std::u32string ellipsis = U"...";
    while (!fitted.empty()) {
        fitted.pop_back();
        if (WideTextWidth(canvas, fitted + ellipsis) <= width) break;
    }
    return fitted + ellipsis;
}

int WideTextWidth(TCanvas& canvas, std::u32string_view text) {
    TRect r{};
    canvas.DrawTextW(text, r, DT_CALCRECT);
    return r.Width();
}

int WideTextHeight(TCanvas& canvas, std::u32string_view text) {
    TRect r{};
    canvas.DrawTextW(text, r, DT_CALCRECT);
    return r.Height();
}

void DrawWideText(TCanvas& canvas, std::u32string_view text, TRect rect, unsigned format) {
    canvas.DrawTextW(text, rect, format);
}

void DrawTextVCentered(TCanvas& canvas, const AnsiString& text, const TRect& rect) {
    TRect r = rect;
    canvas.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void DrawTextLeftCentered(TCanvas& canvas, const AnsiString& text, const TRect& rect) {
    DrawTextLeftCenteredAt(canvas, text, rect, 0);
}

void DrawTextLeftCenteredAt(TCanvas& canvas, const AnsiString& text, const TRect& rect, int offset) {
    const int y = rect.Top + (rect.Height() - canvas.TextHeight(text)) / 2;
    canvas.TextRect(rect, rect.Left + offset + 2, y, text);
}
