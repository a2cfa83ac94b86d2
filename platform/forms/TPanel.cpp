#include "TPanel.h"

#include <algorithm>

#include "ClassicLook.h"

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
    ControlStyle |= csAcceptsControls | csOpaque;
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) { bevelOuter_ = value, Changed(); }
void TCustomPanel::SetBevelInner(TBevelCut value) { bevelInner_ = value, Changed(); }
void TCustomPanel::SetBevelWidth(int value) { bevelWidth_ = std::max(1, value), Changed(); }
void TCustomPanel::SetBorderWidth(int value) { borderWidth_ = std::max(0, value), Changed(); }
void TCustomPanel::SetBorderStyle(TBorderStyle value) { borderStyle_ = value, Changed(); }
void TCustomPanel::SetAlignment(TAlignment value) { alignment_ = value, Invalidate(); }

int TCustomPanel::EdgeWidth() const {
    int w = borderStyle_ == bsSingle ? 1 : 0;
    if (bevelOuter_ != bvNone) w += bevelWidth_;
    w += borderWidth_;
    if (bevelInner_ != bvNone) w += bevelWidth_;
    return w;
}

TRect TCustomPanel::ClientRect() const {
    const int e = EdgeWidth();
    return {e, e, std::max(e, Width() - e), std::max(e, Height() - e)};
}

void TCustomPanel::Paint() {
    TCanvas& c = Canvas();
    TRect r{0, 0, Width(), Height()};
    c.Brush.Style = bsSolid;
    c.Brush.Color = Color();
    c.FillRect(r);
    if (borderStyle_ == bsSingle) {
        c.Brush.Color = cl3DDkShadow;
        c.FrameRect(r);
        r = InflateRect(r, -1, -1);
    }
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        for (int i = 0; i < bevelWidth_; ++i) {
            if (cut == bvRaised) r = DrawEdge(c, r, TEdgeKind::RaisedThin);
            else if (cut == bvLowered) r = DrawEdge(c, r, TEdgeKind::SunkenThin);
            else r = InflateRect(r, -1, -1);
        }
    };
    bevel(bevelOuter_);
    r = InflateRect(r, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    if (!Caption().empty()) {
        c.Font.Assign(Font());
        c.Brush.Style = bsClear;
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
        if (alignment_ == taCenter) flags |= DT_CENTER;
        else if (alignment_ == taRightJustify) flags |= DT_RIGHT;
        TRect text = InflateRect(r, -2, 0);
        if (Enabled()) c.DrawText(Caption(), text, flags);
        else DrawDisabledText(c, Caption(), text, flags);
        c.Brush.Style = bsSolid;
    }
}

void TCustomPanel::WndProc(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED || m.Msg == CM_COLORCHANGED || m.Msg == CM_ENABLEDCHANGED)
        Invalidate();
    TCustomControl::WndProc(m);
}
