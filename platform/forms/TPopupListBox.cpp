#include "TPopupListBox.h"

#include <algorithm>

TPopupListBox::TPopupListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    SetTabStop(false);
    // The window is shown and hidden by Popup and CloseUp alone.
    SetVisible(false);
}

void TPopupListBox::CreateParams(TCreateParams& Params) {
    TCustomListBox::CreateParams(Params);
    Params.WinClassName = "TPopupListBox";
    Params.Style = WS_POPUP | WS_CLIPSIBLINGS;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
    Params.WindowClassStyle |= CS_DROPSHADOW;
}

void TPopupListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    ApplyAlpha();
}

void TPopupListBox::SetPopupOwner(TWinControl* owner) {
    if (owner == popupOwner_) return;
    if (popupOwner_) popupOwner_->RemoveFreeNotification(this);
    popupOwner_ = owner;
    if (owner) owner->FreeNotification(this);
}

void TPopupListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupOwner_) popupOwner_ = nullptr;
}

int TPopupListBox::HeightForRows(int rows) const { return std::max(0, rows) * ItemHeight() + 2 * bars_.BorderWidth(); }

bool TPopupListBox::Popup(const TRect& anchor, int width, int height) {
    MONITORINFO mi;
    GetMonitorInfo(MonitorFromRect(anchor, MONITOR_DEFAULTTONEAREST), mi);
    TPoint at{anchor.Left, anchor.Bottom};
    // A list that would pass the bottom of the work area opens above.
    const bool above = at.Y + height > mi.rcWork.Bottom;
    if (above) at.Y = anchor.Top - height;
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, at.X, at.Y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return above;
}

void TPopupListBox::CloseUp() {
    if (IsPoppedUp()) ShowWindow(Handle(), SW_HIDE);
}

bool TPopupListBox::IsPoppedUp() const {
    return HandleAllocated() && IsWindowVisible(const_cast<TPopupListBox*>(this)->Handle());
}

int TPopupListBox::ItemAtScreen(TPoint screenPos, bool* onItems) const {
    const TPoint p = ScreenToClient(screenPos);
    const bool inside = IsPoppedUp() && PtInRect(ClientRect(), p);
    if (onItems) *onItems = inside;
    return inside ? ItemAtPos(p) : -1;
}

bool TPopupListBox::ContainsScreenPoint(TPoint screenPos) const {
    if (!IsPoppedUp()) return false;
    TRect r;
    GetWindowRect(const_cast<TPopupListBox*>(this)->Handle(), r);
    return PtInRect(r, screenPos);
}

void TPopupListBox::SetAlphaBlend(bool value) {
    alphaBlend_ = value;
    ApplyAlpha();
}

void TPopupListBox::SetAlphaBlendValue(int value) {
    alphaBlendValue_ = std::clamp(value, 0, 255);
    ApplyAlpha();
}

void TPopupListBox::ApplyAlpha() {
    if (!HandleAllocated()) return;
    const HWND h = Handle();
    const LONG ex = GetWindowLong(h, GWL_EXSTYLE);
    if (!alphaBlend_) {
        if (ex & WS_EX_LAYERED) SetWindowLong(h, GWL_EXSTYLE, ex & ~LONG(WS_EX_LAYERED));
        return;
    }
    if (!(ex & WS_EX_LAYERED)) SetWindowLong(h, GWL_EXSTYLE, ex | LONG(WS_EX_LAYERED));
    SetLayeredWindowAttributes(h, clNone, BYTE(alphaBlendValue_), LWA_ALPHA);
}

void TPopupListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (popupOwner_ && popupOwner_->HandleAllocated()) {
            // The owner tracks the press with the capture, as for a press
            // that started on its own field.
            const HWND owner = popupOwner_->Handle();
            const TPoint p = popupOwner_->ScreenToClient(ClientToScreen(LParamToPoint(m.LParam)));
            SetCapture(owner);
            SendMessage(owner, WM_LBUTTONDOWN, m.WParam, PointToLParam(p));
            return;
        }
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (popupOwner_) return;
        break;
    default:
        break;
    }
    TCustomListBox::WndProc(m);
}
