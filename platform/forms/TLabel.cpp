#include "TLabel.h"

#include "ClassicLook.h"
#include "Menus.h"

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
    ControlStyle |= csOpaque;
    ControlStyle &= ~unsigned(csCaptureMouse);
}

void TCustomLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value) {
    transparent_ = value;
    if (value) ControlStyle &= ~unsigned(csOpaque);
    else ControlStyle |= csOpaque;
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    focusControl_ = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

unsigned TCustomLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    if (alignment_ == taRightJustify) flags |= DT_RIGHT;
    else if (alignment_ == taCenter) flags |= DT_CENTER;
    return flags;
}

void TCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
    AnsiString text = Caption();
    if (flags & DT_CALCRECT) {
        // Measuring needs no surface, so a label can size itself before it
        // has a parent window.
        TCanvas measure;
        measure.Font.Assign(Font());
        // An empty caption still measures one line high.
        if (text.empty() || (showAccelChar_ && text == "&")) text = " ";
        measure.DrawText(text, rect, flags);
        return;
    }
    TCanvas& c = Canvas();
    c.Font.Assign(Font());
    c.Brush.Style = bsClear;
    if (Enabled()) {
        c.DrawText(text, rect, flags);
    } else {
        DrawDisabledText(c, text, rect, flags);
    }
    c.Brush.Style = bsSolid;
}

void TCustomLabel::Paint() {
    TCanvas& c = Canvas();
    const TRect client{0, 0, Width(), Height()};
    if (!transparent_) {
        c.Brush.Style = bsSolid;
        c.Brush.Color = Color();
        c.FillRect(client);
    }
    TRect r = client;
    const unsigned flags = TextFlags();
    if (layout_ != tlTop) {
        TRect measured = client;
        DoDrawText(measured, flags | DT_CALCRECT);
        const int h = measured.Height();
        r.Top = layout_ == tlBottom ? client.Bottom - h : (client.Height() - h) / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || Loading()) return;
    TRect r{0, 0, wordWrap_ ? Width() : 0, 0};
    DoDrawText(r, TextFlags() | DT_CALCRECT);
    const int w = wordWrap_ ? Width() : r.Width();
    int x = Left();
    if (alignment_ == taRightJustify && !wordWrap_) x = Left() + Width() - w;
    SetBounds(x, Top(), w, r.Height());
}

void TCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        // Alt+accelerator (or the accelerator alone in a dialog) focuses the
        // partner; a label that is disabled or not shown offers no letter.
        if (showAccelChar_ && Enabled() && Visible() && focusControl_ && focusControl_->CanFocus() &&
            IsAccel(WORD(m.WParam), Caption())) {
            focusControl_->SetFocus();
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}
