// TControl: the part every control shares, windowed or not.

#include <algorithm>
#include <cstring>

#include "Controls.h"
#include "Forms.h"
#include "Menus.h"

namespace {
TShiftState ButtonShift(TShiftState s, TMouseButton b) {
    switch (b) {
    case mbLeft: return s | ssLeft;
    case mbRight: return s | ssRight;
    default: return s | ssMiddle;
    }
}
}  // namespace

HCURSOR CursorHandle(TCursor cursor) {
    int id = 0;
    switch (cursor) {
    case crArrow: id = IDC_ARROW; break;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: return nullptr;
    }
    return LoadCursor(nullptr, id);
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) s |= ssShift;
    if (GetKeyState(VK_CONTROL) & 0x8000) s |= ssCtrl;
    if (GetKeyState(VK_MENU) & 0x8000) s |= ssAlt;
    if (GetKeyState(VK_LBUTTON) & 0x8000) s |= ssLeft;
    if (GetKeyState(VK_RBUTTON) & 0x8000) s |= ssRight;
    if (GetKeyState(VK_MBUTTON) & 0x8000) s |= ssMiddle;
    return s;
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) & 0x8000) s |= ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) s |= ssShift;
    if (GetKeyState(VK_CONTROL) & 0x8000) s |= ssCtrl;
    if (keyData & KF_ALTDOWN_BIT) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    NotifyDestroying();
    DestroyComponents();
    if (parent_) parent_->RemoveControl(this);
    if (Application && Application->MouseControl() == this) Application->NoteMouseControl(nullptr);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m{Msg, WParam, LParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::HandleMouse(TMessage& m, TMouseButton button, bool down, bool dbl) {
    const TPoint p = LParamToPoint(m.LParam);
    const TShiftState shift = KeysToShiftState(m.WParam);
    if (down) {
        if (Application) Application->CancelHint();
        if (button == mbLeft) {
            if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
            if (ControlStyle & csClickEvents) ControlState |= csClicked;
            ControlState |= csLButtonDown;
            if (dbl) DblClick();
        }
        MouseDown(button, shift | (dbl ? TShiftState(ssDouble) : TShiftState(0)), p.X, p.Y);
        return;
    }
    if (button == mbLeft) {
        ControlState &= ~unsigned(csLButtonDown);
        if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
        if (ControlState & csClicked) {
            ControlState &= ~unsigned(csClicked);
            if (PtInRect(ClientRect(), p)) Click();
        }
    }
    MouseUp(button, shift, p.X, p.Y);
}

void TControl::WndProc(TMessage& m) {
    const bool dblAllowed = (ControlStyle & csDoubleClicks) != 0;
    switch (m.Msg) {
    case WM_LBUTTONDOWN: HandleMouse(m, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK: HandleMouse(m, mbLeft, true, dblAllowed); return;
    case WM_LBUTTONUP: HandleMouse(m, mbLeft, false, false); return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: HandleMouse(m, mbRight, true, false); return;
    case WM_RBUTTONUP:
        HandleMouse(m, mbRight, false, false);
        // The platform turns a right click into a context-menu request.
        DefaultHandler(m);
        return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: HandleMouse(m, mbMiddle, true, false); return;
    case WM_MBUTTONUP: HandleMouse(m, mbMiddle, false, false); return;
    case WM_MOUSEMOVE: {
        const TPoint p = LParamToPoint(m.LParam);
        MouseMove(KeysToShiftState(m.WParam), p.X, p.Y);
        return;
    }
    case WM_MOUSEWHEEL:
        if (DoMouseWheel(KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam),
                         LParamToPoint(m.LParam))) {
            m.Result = 1;
            return;
        }
        break;
    case WM_CONTEXTMENU:
        if (popupMenu_ && popupMenu_->AutoPopup) {
            TPoint p = LParamToPoint(m.LParam);
            if (p.X == -1 && p.Y == -1) p = ClientToScreen({0, 0});
            popupMenu_->SetPopupComponent(this);
            popupMenu_->Popup(p.X, p.Y);
            m.Result = 1;
            return;
        }
        break;
    case CM_HITTEST:
        m.Result = HTCLIENT;
        return;
    case CM_PARENTFONTCHANGED:
        ParentFontChanged();
        return;
    case CM_PARENTCOLORCHANGED:
        ParentColorChanged();
        return;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT:
        text_ = m.LParam ? AnsiString(FromLParam<const char>(m.LParam)) : AnsiString();
        m.Result = TRUE;
        break;
    case WM_GETTEXTLENGTH:
        m.Result = LRESULT(text_.size());
        break;
    case WM_GETTEXT: {
        char* buf = FromLParam<char>(m.LParam);
        if (!buf || m.WParam == 0) break;
        const std::size_t n = std::min<std::size_t>(text_.size(), m.WParam - 1);
        std::memcpy(buf, text_.data(), n);
        buf[n] = '\0';
        m.Result = LRESULT(n);
        break;
    }
    case WM_CONTEXTMENU:
        // Unanswered context-menu requests travel up to the parent.
        if (parent_) m.Result = parent_->Perform(m.Msg, m.WParam, m.LParam);
        break;
    default:
        break;
    }
}

AnsiString TControl::GetText() const {
    auto* self = const_cast<TControl*>(this);
    const auto len = self->Perform(WM_GETTEXTLENGTH);
    if (len <= 0) return {};
    AnsiString buf(std::size_t(len) + 1, '\0');
    const auto got = self->Perform(WM_GETTEXT, WPARAM(buf.size()), ToLParam(buf.data()));
    buf.resize(std::size_t(std::max<LRESULT>(0, std::min<LRESULT>(got, len))));
    return buf;
}

void TControl::SetText(const AnsiString& value) {
    if (GetText() == value) return;
    Perform(WM_SETTEXT, 0, ToLParam(value.c_str()));
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == parent_) return;
    if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

// ---- geometry ---------------------------------------------------------------

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (Constraints.MinWidth > 0) AWidth = std::max(AWidth, Constraints.MinWidth);
    if (Constraints.MaxWidth > 0) AWidth = std::min(AWidth, Constraints.MaxWidth);
    if (Constraints.MinHeight > 0) AHeight = std::max(AHeight, Constraints.MinHeight);
    if (Constraints.MaxHeight > 0) AHeight = std::min(AHeight, Constraints.MaxHeight);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    InvalidateControl(visible_, false);
    UpdateBoundsRect(Bounds(ALeft, ATop, AWidth, AHeight));
    InvalidateControl(visible_, false);
}

void TControl::UpdateBoundsRect(const TRect& r) {
    const bool resized = r.Width() != width_ || r.Height() != height_;
    const bool changed = resized || r.Left != left_ || r.Top != top_;
    left_ = r.Left;
    top_ = r.Top;
    width_ = r.Width();
    height_ = r.Height();
    if (!changed) return;
    UpdateAnchorRules();
    BoundsChanged();
    if (parent_ && align_ != alNone && !(parent_->ControlState & csAligning)) parent_->AlignControls();
    if (resized) Resize();
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

TRect TControl::ClientRect() const { return {0, 0, width_, height_}; }

void TControl::SetClientWidth(int value) { SetWidth(value); }
void TControl::SetClientHeight(int value) { SetHeight(value); }

TPoint TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    const TPoint o = parent_->ClientOrigin();
    return {o.X + left_, o.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign value) {
    if (align_ == value) return;
    align_ = value;
    if (parent_) parent_->AlignControls();
}

// ---- state ---------------------------------------------------------------------

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    InvalidateControl(true, false);
    Perform(CM_VISIBLECHANGED, value);
    if (parent_ && align_ != alNone) parent_->AlignControls();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

bool TControl::IsVisibleOnScreen() const {
    if (!visible_) return false;
    if (parent_) return parent_->IsVisibleOnScreen();
    if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->Showing();
    return false;
}

// ---- look --------------------------------------------------------------------------

void TControl::FontChanged() {
    if (inFontChange_) return;
    parentFont_ = false;
    Perform(CM_FONTCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->Perform(CM_PARENTFONTCHANGED);
    Invalidate();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    inFontChange_ = true;
    font_.Assign(parent_->Font());
    inFontChange_ = false;
    Perform(CM_FONTCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->Perform(CM_PARENTFONTCHANGED);
    Invalidate();
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) ParentFontChanged();
}

void TControl::SetColor(TColor value) {
    parentColor_ = false;
    if (color_ == value) return;
    color_ = value;
    Perform(CM_COLORCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->Perform(CM_PARENTCOLORCHANGED);
    Invalidate();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->Perform(CM_PARENTCOLORCHANGED);
    Invalidate();
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value) ParentColorChanged();
}

void TControl::SetCursor(TCursor value) {
    if (cursor_ == value) return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED);
}

bool TControl::ShowHint() const {
    if (parentShowHint_ && parent_) return parent_->ShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool value) {
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    parentShowHint_ = value;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_ == menu) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

// ---- painting --------------------------------------------------------------------

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (!isVisible || !parent_ || !parent_->HandleAllocated()) return;
    const TRect r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, isOpaque ? FALSE : TRUE);
}

void TControl::Invalidate() { InvalidateControl(visible_, (ControlStyle & csOpaque) != 0); }

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

bool TControl::MouseCapture() const {
    if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->HandleAllocated() && GetCapture() == w->handle_;
    return parent_ && parent_->captureControl_ == this && parent_->HandleAllocated() &&
           GetCapture() == parent_->handle_;
}

void TControl::SetMouseCapture(bool value) {
    if (MouseCapture() == value) return;
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (value) SetCapture(w->Handle());
        else ReleaseCapture();
        return;
    }
    if (!parent_) return;
    if (value) {
        parent_->captureControl_ = this;
        SetCapture(parent_->Handle());
    } else {
        parent_->captureControl_ = nullptr;
        ReleaseCapture();
    }
}

// ---- events ------------------------------------------------------------------------

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, ButtonShift(Shift, Button), X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}
