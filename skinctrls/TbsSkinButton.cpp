#include "TbsSkinButton.h"

#include "Menus.h"
#include "TbsSkinData.h"

void AnnounceFocusToButtons(TWinControl& root, TWinControl* focused) {
    for (int i = 0; i < root.ControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(root.Controls(i));
        if (!w) continue;
        if (dynamic_cast<TbsSkinButton*>(w)) w->Perform(CM_FOCUSCHANGED, 0, ToLParam(focused));
        AnnounceFocusToButtons(*w, focused);
    }
}

TbsSkinButton::TbsSkinButton(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetSkinDataName("button");
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks | csOpaque;
}

TbsSkinButton::~TbsSkinButton() = default;

void TbsSkinButton::SetCanFocused(bool value) {
    canFocused_ = value;
    SetTabStop(value);
}

void TbsSkinButton::SetGroupIndex(int value) {
    SkinButtonCore::SetGroupIndex(value);
    if (value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetDefault(bool value) {
    default_ = value;
    if (HandleAllocated() && canFocused_)
        if (TCustomForm* form = GetParentForm(this)) AnnounceFocusToButtons(*form, form->ActiveControl());
}

void TbsSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == ImageList()) ForgetImageList();
}

void TbsSkinButton::ForEachGroupSibling(const std::function<void(SkinButtonCore&)>& visit) {
    if (!Parent() || GroupIndex() == 0) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TbsSkinButton*>(Parent()->Controls(i));
        if (other && other != this && other->GroupIndex() == GroupIndex()) visit(*other);
    }
}

void TbsSkinButton::DoButtonClick() {
    if (canFocused_)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    RunClickHandlers();
}

// ---- binding and painting ---------------------------------------------------------------------

void TbsSkinButton::BindSkinRecord() {
    TbsSkinCustomControl::BindSkinRecord();
    BindButtonRecord(recordIndex_ != -1 ? BoundRecord() : nullptr);
}

void TbsSkinButton::FitSkinSize(int& W, int& H) {
    int w = W, h = H;
    TbsSkinCustomControl::FitSkinSize(w, h);
    if (UseSkinSize()) {
        W = w;
        H = h;
    }
}

void TbsSkinButton::UpdateRegion() {
    // A button of free size is not shaped by the record's mask.
    if (!UseSkinSize()) geometry_.SkinMask = nullptr;
    TbsSkinCustomControl::UpdateRegion();
}

void TbsSkinButton::PaintSkinImage(TBitmap& bitmap) { PaintSkinnedButton(bitmap); }

void TbsSkinButton::PaintDefaultImage(TBitmap& bitmap) { PaintDefaultButton(bitmap); }

void TbsSkinButton::ApplySkin() {
    BeforeApplySkin();
    TbsSkinCustomControl::ApplySkin();
    AfterApplySkin();
}

void TbsSkinButton::CreateWnd() {
    TbsSkinCustomControl::CreateWnd();
    defaultActive_ = default_;
}

// ---- pointer ----------------------------------------------------------------------------------

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) ButtonMouseDown();
}

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) ButtonMouseUp();
    // A click may have freed the window (a closed dialog) or hidden the button.
    if (HandleAllocated() && Visible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::MouseEntered() {
    TbsSkinCustomControl::MouseEntered();
    if (!Designing()) ButtonMouseEnter();
}

void TbsSkinButton::MouseLeft() {
    TbsSkinCustomControl::MouseLeft();
    if (!Designing()) ButtonMouseLeave();
}

// ---- keyboard and focus -------------------------------------------------------------------------

void TbsSkinButton::FocusChanged(TWinControl* sender) {
    const bool senderIsButton = dynamic_cast<TbsSkinButton*>(sender) != nullptr;
    defaultActive_ = senderIsButton ? sender == this : default_;
    if (!canFocused_ || !default_) return;
    if (senderIsButton && sender != this && MouseIn()) {
        SetMouseIn(false);
        StateChanged();
    } else if (!senderIsButton && !MouseIn()) {
        if (MorphAvailable()) SetMorphFactor(1);
        SetMouseIn(true);
        StateChanged();
    }
}

bool TbsSkinButton::HandleDialogKey(TMessage& m) {
    const WORD key = WORD(m.WParam);
    const TShiftState shift = KeyDataToShiftState(m.LParam);
    if (key == VK_RETURN && defaultActive_ && Enabled()) return true;
    return key == VK_ESCAPE && cancel_ && canFocused_ && (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus();
}

void TbsSkinButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The button takes the focus before it is pressed; one that cannot
        // take it is not pressed at all.
        if (canFocused_ && !Focused() && !Designing()) {
            takingFocus_ = true;
            if (CanFocus()) SetFocus();
            takingFocus_ = false;
            if (!Focused()) return;
        }
        break;
    case WM_KEYDOWN:
        if (!canFocused_) break;
        if (m.WParam == VK_SPACE) {
            if (AnimationAvailable()) StopAnimation();
            spaceDown_ = true;
            SetDown(true);
            if (RepeatMode()) DoButtonClick();
        } else if (m.WParam == VK_RETURN) {
            DoButtonClick();
        }
        break;
    case WM_KEYUP:
        // Only a Space that went down here clicks: one pressed on another
        // control and released after the focus moved is not a press of ours.
        if (canFocused_ && m.WParam == VK_SPACE && spaceDown_) {
            spaceDown_ = false;
            SetDown(false);
            DoButtonClick();
        }
        break;
    case WM_SETFOCUS:
        TbsSkinCustomControl::WndProc(m);
        // The buttons of the form learn at once which of them Enter clicks
        // now, as the form's own announcement of the change tells them.
        if (TCustomForm* form = GetParentForm(this)) AnnounceFocusToButtons(*form, this);
        defaultActive_ = true;
        if (canFocused_) {
            StartAnimation(true);
            StateChanged();
        }
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::WndProc(m);
        spaceDown_ = false;
        // Until another button says it has the focus, the default button is
        // the one Enter clicks again.
        if (TCustomForm* form = GetParentForm(this); form && !form->Destroying())
            AnnounceFocusToButtons(*form, nullptr);
        StopRepeat();
        if (GroupIndex() == 0 && Down()) SetDownFlag(false);
        if (canFocused_) {
            StartAnimation(false);
            StateChanged();
        }
        return;
    case CM_FOCUSCHANGED:
        FocusChanged(FromLParam<TWinControl>(m.LParam));
        break;
    case CM_DIALOGKEY:
        if (HandleDialogKey(m)) {
            DoButtonClick();
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (canFocused_ && CanFocus() && IsAccel(WORD(m.WParam), Caption())) {
            SetFocus();
            DoButtonClick();
            m.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        ButtonEnabledChanged();
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TbsSkinCustomControl::WndProc(m);
}
