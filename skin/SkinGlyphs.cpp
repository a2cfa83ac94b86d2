#include "SkinGlyphs.h"

namespace {

// Sets the pen and brush for one glyph and puts the caller's back afterwards.
class GlyphPen {
public:
    GlyphPen(TCanvas& canvas, TColor color) : canvas_(canvas), pen_(canvas.Pen), brush_(canvas.Brush) {
        canvas.Pen = TPen{};
        canvas.Pen.Color = color;
        canvas.Brush = TBrush{color, bsSolid};
    }
    ~GlyphPen() {
        canvas_.Pen = pen_;
        canvas_.Brush = brush_;
    }
    GlyphPen(const GlyphPen&) = delete;
    GlyphPen& operator=(const GlyphPen&) = delete;

private:
    TCanvas& canvas_;
    TPen pen_;
    TBrush brush_;
};

void Line(TCanvas& canvas, int x0, int y0, int x1, int y1) {
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}

// The outline of (left, top, right, bottom), right and bottom edges excluded.
void HollowRect(TCanvas& canvas, int left, int top, int right, int bottom) {
    canvas.Brush.Style = bsClear;
    canvas.Rectangle(left, top, right, bottom);
    canvas.Brush.Style = bsSolid;
}

TPoint CentreOf(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }

}  // namespace

void DrawCloseGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    Line(canvas, x + 1, y + 1, x + 9, y + 9);
    Line(canvas, x + 9, y + 1, x + 1, y + 9);
    Line(canvas, x + 2, y + 1, x + 10, y + 9);
    Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawSysMenuGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    HollowRect(canvas, x + 1, y + 3, x + 9, y + 6);
}

void DrawMinimizeGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    Line(canvas, x + 1, y + 8, x + 9, y + 8);
    Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    HollowRect(canvas, x, y, x + 11, y + 10);
    HollowRect(canvas, x, y, x + 11, y + 2);
}

void DrawRestoreGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    HollowRect(canvas, x + 2, y, x + 10, y + 6);
    HollowRect(canvas, x + 2, y, x + 10, y + 2);
    HollowRect(canvas, x, y + 4, x + 7, y + 10);
    HollowRect(canvas, x, y + 4, x + 7, y + 6);
}

void DrawRollDownGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    for (int i = 0; i <= 4; ++i) Line(canvas, x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i);
}

void DrawRollUpGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    for (int i = 0; i <= 4; ++i) Line(canvas, x + 1 + i, y + 6 - i, x + 9 - i, y + 6 - i);
}

void DrawTrayGlyph(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    canvas.FillRect({x + 2, y + 2, x + 7, y + 7});
}

void DrawSmallBox(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    canvas.FillRect({x, y, x + 6, y + 6});
}

void DrawCheckMark(TCanvas& canvas, int x, int y, TColor color) {
    const GlyphPen pen(canvas, color);
    for (int i = 0; i <= 2; ++i) {
        canvas.MoveTo(x, y + 5 - i);
        canvas.LineTo(x + 2, y + 7 - i);
        canvas.LineTo(x + 7, y + 2 - i);
    }
}

void DrawDropDownArrow(TCanvas& canvas, const TRect& rect, TColor color) {
    const GlyphPen pen(canvas, color);
    const TPoint c = CentreOf(rect);
    for (int n = 2; n >= 0; --n) Line(canvas, c.X - n, c.Y + 2 - n, c.X + n + 1, c.Y + 2 - n);
}

void DrawDirectionArrow(TCanvas& canvas, const TRect& rect, SkinArrowKind kind, TColor color) {
    const GlyphPen pen(canvas, color);
    const TPoint c = CentreOf(rect);
    switch (kind) {
        case SkinArrowKind::Left:
            for (int i = 0; i <= 3; ++i) Line(canvas, c.X - 2 + i, c.Y - i, c.X - 2 + i, c.Y + i + 1);
            break;
        case SkinArrowKind::Right:
            for (int n = 3; n >= 0; --n) Line(canvas, c.X + 2 - n, c.Y - n, c.X + 2 - n, c.Y + n + 1);
            break;
        case SkinArrowKind::Up:
            for (int i = 0; i <= 3; ++i) Line(canvas, c.X - i, c.Y - 2 + i, c.X + i + 1, c.Y - 2 + i);
            break;
        case SkinArrowKind::Down:
            for (int n = 3; n >= 0; --n) Line(canvas, c.X - n, c.Y + 2 - n, c.X + n + 1, c.Y + 2 - n);
            break;
    }
}
