#include "ClassicLook.h"

#include <algorithm>

namespace {

void Line(TCanvas& c, int x0, int y0, int x1, int y1, TColor color) {
    c.Pen.Color = color;
    c.Pen.Style = psSolid;
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
}

// One ring of an edge: `tl` on the top and left, `br` on the bottom and right.
TRect Ring(TCanvas& c, const TRect& r, TColor tl, TColor br) {
    if (r.Width() <= 0 || r.Height() <= 0) return r;
    Line(c, r.Left, r.Bottom - 1, r.Left, r.Top, tl);
    Line(c, r.Left, r.Top, r.Right, r.Top, tl);
    Line(c, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom, br);
    Line(c, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, br);
    return InflateRect(r, -1, -1);
}

}  // namespace

TRect DrawEdge(TCanvas& c, const TRect& r, TEdgeKind kind) {
    switch (kind) {
    case TEdgeKind::Raised:
        return Ring(c, Ring(c, r, clBtnHighlight, cl3DDkShadow), cl3DLight, clBtnShadow);
    case TEdgeKind::Sunken:
        return Ring(c, Ring(c, r, clBtnShadow, clBtnHighlight), cl3DDkShadow, cl3DLight);
    case TEdgeKind::RaisedThin:
        return Ring(c, r, clBtnHighlight, clBtnShadow);
    case TEdgeKind::SunkenThin:
        return Ring(c, r, clBtnShadow, clBtnHighlight);
    case TEdgeKind::Etched:
        return Ring(c, Ring(c, r, clBtnShadow, clBtnHighlight), clBtnHighlight, clBtnShadow);
    }
    return r;
}

void DrawArrow(TCanvas& c, const TRect& r, TArrowDirection dir, TColor color) {
    const int size = std::max(2, std::min(r.Width(), r.Height()) / 4);
    const int cx = r.Left + r.Width() / 2;
    const int cy = r.Top + r.Height() / 2;
    c.Pen.Color = color;
    c.Pen.Style = psSolid;
    // Rows of decreasing length, one pixel apart: a crisp triangle at any size.
    for (int i = 0; i < size; ++i) {
        const int half = size - 1 - i;
        switch (dir) {
        case TArrowDirection::Down:
            c.MoveTo(cx - half, cy - size / 2 + i);
            c.LineTo(cx + half + 1, cy - size / 2 + i);
            break;
        case TArrowDirection::Up:
            c.MoveTo(cx - half, cy + size / 2 - i);
            c.LineTo(cx + half + 1, cy + size / 2 - i);
            break;
        case TArrowDirection::Right:
            c.MoveTo(cx - size / 2 + i, cy - half);
            c.LineTo(cx - size / 2 + i, cy + half + 1);
            break;
        case TArrowDirection::Left:
            c.MoveTo(cx + size / 2 - i, cy - half);
            c.LineTo(cx + size / 2 - i, cy + half + 1);
            break;
        }
    }
}

void DrawButtonFace(TCanvas& c, const TRect& r, bool pressed, bool isDefault) {
    TRect inner = r;
    if (isDefault) {
        c.Brush.Style = bsSolid;
        c.Brush.Color = cl3DDkShadow;
        c.FrameRect(inner);
        inner = InflateRect(inner, -1, -1);
    }
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(inner);
    if (pressed) {
        c.Brush.Color = clBtnShadow;
        c.FrameRect(inner);
    } else {
        DrawEdge(c, inner, TEdgeKind::Raised);
    }
}

void DrawDisabledText(TCanvas& c, const AnsiString& text, TRect r, unsigned flags) {
    const TColor old = c.Font.Color();
    c.Brush.Style = bsClear;
    TRect shifted = OffsetRect(r, 1, 1);
    c.Font.SetColor(clBtnHighlight);
    c.DrawText(text, shifted, flags);
    c.Font.SetColor(clBtnShadow);
    c.DrawText(text, r, flags);
    c.Font.SetColor(old);
}

void DrawScrollBar(TCanvas& c, const TScrollBarGeometry& g, TScrollPart pressed, bool enabled) {
    if (IsRectEmpty(g.Bar)) return;
    // The track: a light checker of face and highlight, as the platform shows it.
    c.Brush.Style = bsSolid;
    c.Brush.Color = cl3DLight;
    c.FillRect(g.Track);
    const TColor arrow = enabled && g.Thumb.Right > g.Thumb.Left ? clBtnText : clGrayText;
    auto button = [&](const TRect& r, TScrollPart part, TArrowDirection dir) {
        if (IsRectEmpty(r)) return;
        const bool down = pressed == part;
        c.Brush.Color = clBtnFace;
        c.FillRect(r);
        if (down) {
            c.Brush.Color = clBtnShadow;
            c.FrameRect(r);
        } else {
            DrawEdge(c, r, TEdgeKind::Raised);
        }
        DrawArrow(c, down ? OffsetRect(r, 1, 1) : r, dir, arrow);
    };
    button(g.BackButton, TScrollPart::LineBack, g.Vertical ? TArrowDirection::Up : TArrowDirection::Left);
    button(g.ForwardButton, TScrollPart::LineForward, g.Vertical ? TArrowDirection::Down : TArrowDirection::Right);
    if (enabled && !IsRectEmpty(g.Thumb)) {
        if (pressed == TScrollPart::PageBack || pressed == TScrollPart::PageForward) {
            // The pressed side of the track darkens while it repeats.
            TRect side = g.Track;
            if (pressed == TScrollPart::PageBack) {
                if (g.Vertical) side.Bottom = g.Thumb.Top; else side.Right = g.Thumb.Left;
            } else {
                if (g.Vertical) side.Top = g.Thumb.Bottom; else side.Left = g.Thumb.Right;
            }
            c.Brush.Color = cl3DDkShadow;
            c.FillRect(side);
        }
        c.Brush.Color = clBtnFace;
        c.FillRect(g.Thumb);
        DrawEdge(c, g.Thumb, TEdgeKind::Raised);
    }
}
