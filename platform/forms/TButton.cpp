#include "TButton.h"

#include "ClassicLook.h"
#include "Menus.h"

namespace {

// The default look follows the focus, so every button of the form repaints.
void InvalidateButtons(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) b->Invalidate();
        else if (auto* w = dynamic_cast<TWinControl*>(c)) InvalidateButtons(w);
    }
}

}  // namespace

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
    // The button tracks the pointer itself: a click counts only when the
    // release happens over it.
    ControlStyle = csSetCaption | csDoubleClicks | csCaptureMouse;
}

void TButton::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "TButton";
}

void TButton::SetDefault(bool value) {
    default_ = value;
    Invalidate();
}

void TButton::SetPressed(bool value) {
    if (pressed_ == value) return;
    pressed_ = value;
    Invalidate();
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

bool TButton::ActiveForEnter() {
    if (Focused()) return true;
    if (!default_) return false;
    TWinControl* focused = TWinControl::FindControl(GetFocus());
    return !dynamic_cast<TButton*>(focused);
}

void TButton::PaintWindow(HDC DC) {
    TCanvas& c = *DC;
    const TRect r{0, 0, Width(), Height()};
    const bool isDefault = Enabled() && (Focused() || (default_ && ActiveForEnter()));
    DrawButtonFace(c, r, pressed_, isDefault);
    c.Font.Assign(Font());
    TRect text = InflateRect(r, -4, -4);
    if (pressed_) text = OffsetRect(text, 1, 1);
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    c.Brush.Style = bsClear;
    if (Enabled()) {
        c.Font.SetColor(clBtnText);
        c.DrawText(Caption(), text, flags);
    } else {
        DrawDisabledText(c, Caption(), text, flags);
    }
    if (Focused()) {
        c.Brush.Style = bsSolid;
        c.DrawFocusRect(InflateRect(r, -4, -4));
    }
    c.Brush.Style = bsSolid;
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (CanFocus() && !Focused()) SetFocus();
        tracking_ = true;
        SetPressed(true);
        break;
    case WM_MOUSEMOVE:
        if (tracking_) SetPressed(PtInRect(ClientRect(), LParamToPoint(m.LParam)));
        break;
    case WM_LBUTTONUP: {
        const bool clicked = tracking_ && PtInRect(ClientRect(), LParamToPoint(m.LParam));
        tracking_ = false;
        SetPressed(false);
        TWinControl::WndProc(m);  // OnMouseUp, capture release
        if (clicked) Click();
        return;
    }
    case WM_CAPTURECHANGED:
        if (tracking_ && HWND(m.LParam) != (HandleAllocated() ? Handle() : nullptr)) {
            tracking_ = false;
            SetPressed(false);
        }
        break;
    case WM_KEYDOWN:
        if (m.WParam == VK_SPACE) {
            spaceDown_ = true;
            SetPressed(true);
        }
        break;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE && spaceDown_) {
            spaceDown_ = false;
            SetPressed(false);
            TWinControl::WndProc(m);
            Click();
            return;
        }
        break;
    case WM_KILLFOCUS:
        spaceDown_ = false;
        SetPressed(false);
        [[fallthrough]];
    case WM_SETFOCUS:
    case WM_ENABLE:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS)
            if (TCustomForm* form = GetParentForm(this)) InvalidateButtons(form);
        break;
    case CM_DIALOGKEY: {
        const WORD key = WORD(m.WParam);
        if (((key == VK_RETURN && ActiveForEnter()) || (key == VK_ESCAPE && cancel_)) &&
            (KeyDataToShiftState(m.LParam) & (ssAlt | ssCtrl)) == 0 && Visible() && Enabled()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR:
        // The caption's accelerator presses the button from anywhere on the form.
        if (IsAccel(WORD(m.WParam), Caption()) && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        m.Result = 0;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
