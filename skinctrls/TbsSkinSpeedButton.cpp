#include "TbsSkinSpeedButton.h"

#include "Menus.h"
#include "SkinGeometry.h"
#include "SkinParentBackground.h"
#include "TbsSkinData.h"

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner) : TbsGraphicSkinCustomControl(AOwner) {
    SetSkinDataName("toolbutton");
    SetBounds(0, 0, 25, 25);
    ControlStyle |= csCaptureMouse | csClickEvents | csDoubleClicks;
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() = default;

void TbsSkinSpeedButton::SetFlat(bool value) {
    flat_ = value;
    SetTransparent(value);
}

void TbsSkinSpeedButton::SetTransparent(bool value) {
    transparent_ = value;
    if (value) ControlStyle &= ~unsigned(csOpaque);
    else ControlStyle |= csOpaque;
    Invalidate();
}

void TbsSkinSpeedButton::SetShowCaption(bool value) {
    showCaption_ = value;
    if (widthWithCaption_ > 0 && widthWithoutCaption_ > 0) SetWidth(value ? widthWithCaption_ : widthWithoutCaption_);
    else Invalidate();
}

void TbsSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == ImageList()) ForgetImageList();
}

void TbsSkinSpeedButton::ForEachGroupSibling(const std::function<void(SkinButtonCore&)>& visit) {
    if (!Parent() || GroupIndex() == 0) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TbsSkinSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->GroupIndex() == GroupIndex()) visit(*other);
    }
}

void TbsSkinSpeedButton::DoButtonClick() { RunClickHandlers(); }

void TbsSkinSpeedButton::FitSkinSize(int& W, int& H) {
    int w = W, h = H;
    TbsGraphicSkinCustomControl::FitSkinSize(w, h);
    if (UseSkinSize()) {
        W = w;
        H = h;
    }
}

void TbsSkinSpeedButton::BindSkinRecord() {
    TbsGraphicSkinCustomControl::BindSkinRecord();
    BindButtonRecord(recordIndex_ != -1 ? BoundRecord() : nullptr);
}

void TbsSkinSpeedButton::ApplySkin() {
    BeforeApplySkin();
    TbsGraphicSkinCustomControl::ApplySkin();
    AfterApplySkin();
}

bool TbsSkinSpeedButton::LooksHotOrDown() const { return MouseIn() || Down(); }

void TbsSkinSpeedButton::PaintTransparentIdle(TBitmap& bitmap) {
    PaintParentBackground(*this, bitmap.Canvas());
    TCanvas& c = bitmap.Canvas();
    const TbsDataSkinButtonControl& r = ButtonRecord();
    if (UseSkinFont() && HasButtonRecord()) {
        c.Font.SetName(r.fontname);
        c.Font.SetHeight(r.fontheight);
        c.Font.SetStyle(r.fontstyle);
    } else {
        c.Font.Assign(DefaultFont());
    }
    const TbsSkinData* skin = SkinData();
    TColor colour = DefaultFont().Color();
    if (!Enabled()) colour = skin ? skin->SkinColors().cbtnshadow : clBtnShadow;
    else if (UseSkinFontColor()) colour = skin ? skin->SkinColors().cbtntext : clBtnText;
    c.Font.SetColor(colour);
    const TRect rect = HasButtonRecord() ? geometry_.SizedClientRect : ClientRect();
    DrawGlyphAndCaption(c, RectIsEmpty(rect) ? ClientRect() : rect, false, false, Enabled());
}

void TbsSkinSpeedButton::PaintSkinImage(TBitmap& bitmap) {
    if (transparent_ && !LooksHotOrDown()) PaintTransparentIdle(bitmap);
    else PaintSkinnedButton(bitmap);
}

void TbsSkinSpeedButton::PaintDefaultImage(TBitmap& bitmap) {
    if (transparent_ && !LooksHotOrDown()) PaintTransparentIdle(bitmap);
    else PaintDefaultButton(bitmap);
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) ButtonMouseDown();
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) ButtonMouseUp();
    if (Visible()) TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinSpeedButton::MouseEntered() {
    TbsGraphicSkinCustomControl::MouseEntered();
    if (!Designing()) ButtonMouseEnter();
}

void TbsSkinSpeedButton::MouseLeft() {
    TbsGraphicSkinCustomControl::MouseLeft();
    if (!Designing()) ButtonMouseLeave();
}

void TbsSkinSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_DIALOGCHAR: {
        TWinControl* parent = Parent();
        if (Enabled() && Visible() && parent && parent->Showing() && showCaption_ &&
            IsAccel(WORD(m.WParam), Caption())) {
            DoButtonClick();
            m.Result = 1;
            return;
        }
        break;
    }
    case CM_ENABLEDCHANGED:
        ButtonEnabledChanged();
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TbsGraphicSkinCustomControl::WndProc(m);
}
