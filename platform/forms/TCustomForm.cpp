// TCustomForm: a top-level window with a frame chosen by BorderStyle and
// BorderIcons, placed by Position, shown plainly or modally, closed through
// OnCloseQuery and OnClose, with the active control and Tab navigation.

#include <algorithm>

#include "Forms.h"
#include "Menus.h"

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisibleFlag(false);
    ControlStyle |= csAcceptsControls;
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
    icon_.OnChange = [this] { UpdateDesktopIcons(); };
}

TCustomForm::~TCustomForm() {
    if (Screen) Screen->RemoveForm(this);
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
}

void TCustomForm::AfterConstruction() {
    TCustomControl::AfterConstruction();
    if (OnCreate) OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
    TCustomControl::BeforeDestruction();
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == activeControl_) activeControl_ = nullptr;
    if (AComponent == focusedControl_) focusedControl_ = nullptr;
}

// ---- the window ------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (Parent() || ParentWindow()) return;  // a form sitting inside another window
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    p.WinClassName = "TForm";
    switch (borderStyle_) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        const bool plain = borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin;
        if (plain && (borderIcons_ & biMinimize)) p.Style |= WS_MINIMIZEBOX;
        if (plain && (borderIcons_ & biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.WndParent = modalOwner_;
}

void TCustomForm::UpdateDesktopIcons() {
    if (!HandleAllocated() || (GetWindowLong(Handle(), GWL_STYLE) & WS_CHILD)) return;
    const TIcon* icon = &icon_;
    if (icon->Empty() && Application) icon = &Application->Icon();
    SendMessage(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon->Handle()));
    SendMessage(Handle(), WM_SETICON, ICON_SMALL,
                reinterpret_cast<LPARAM>(icon->HandleForSize(GetSystemMetrics(SM_CXSMICON))));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (borderIcons_ == value) return;
    borderIcons_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (formStyle_ == value) return;
    formStyle_ = value;
    if (HandleAllocated())
        SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
    if (HandleAllocated() && const_cast<TCustomForm*>(this)->Showing()) {
        HWND h = const_cast<TCustomForm*>(this)->Handle();
        if (IsIconic(h)) return wsMinimized;
        if (IsZoomed(h)) return wsMaximized;
        return wsNormal;
    }
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState value) {
    windowState_ = value;
    if (!HandleAllocated() || !Visible()) return;
    switch (value) {
    case wsMinimized: ShowWindow(Handle(), SW_MINIMIZE); break;
    case wsMaximized: ShowWindow(Handle(), SW_MAXIMIZE); break;
    case wsNormal: ShowWindow(Handle(), SW_RESTORE); break;
    }
}

TRect TCustomForm::FrameInsets() const {
    auto* self = const_cast<TCustomForm*>(this);
    if (HandleAllocated()) {
        TRect window, client;
        GetWindowRect(self->Handle(), window);
        GetClientRect(self->Handle(), client);
        TPoint origin{0, 0};
        ::ClientToScreen(self->Handle(), origin);
        return {origin.X - window.Left, origin.Y - window.Top, window.Right - origin.X - client.Width(),
                window.Bottom - origin.Y - client.Height()};
    }
    TCreateParams p;
    self->CreateParams(p);
    TRect r{0, 0, 0, 0};
    AdjustWindowRectEx(r, p.Style, FALSE, p.ExStyle);
    return {-r.Left, -r.Top, r.Right, r.Bottom};
}

TRect TCustomForm::ClientRect() const {
    if (HandleAllocated()) return TCustomControl::ClientRect();
    const TRect in = FrameInsets();
    return {0, 0, std::max(0, Width() - in.Left - in.Right), std::max(0, Height() - in.Top - in.Bottom)};
}

namespace {
// Marks bounds changes made on behalf of a client size.
struct ClientSizing {
    bool& flag;
    explicit ClientSizing(bool& f) : flag(f) { flag = true; }
    ~ClientSizing() { flag = false; }
    ClientSizing(const ClientSizing&) = delete;
    ClientSizing& operator=(const ClientSizing&) = delete;
};
}  // namespace

void TCustomForm::SetClientWidth(int value) {
    // Without a window the default frame is only a guess: the size is kept
    // and applied to the real frame when the window is made.
    if (!HandleAllocated()) pendingClientWidth_ = std::max(0, value);
    const TRect in = FrameInsets();
    ClientSizing sizing(settingClientSize_);
    SetBounds(Left(), Top(), std::max(0, value) + in.Left + in.Right, Height());
}

void TCustomForm::SetClientHeight(int value) {
    if (!HandleAllocated()) pendingClientHeight_ = std::max(0, value);
    const TRect in = FrameInsets();
    ClientSizing sizing(settingClientSize_);
    SetBounds(Left(), Top(), Width(), std::max(0, value) + in.Top + in.Bottom);
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!HandleAllocated() && !settingClientSize_) {
        // An explicit window size replaces a kept client size.
        if (AWidth != Width()) pendingClientWidth_ = -1;
        if (AHeight != Height()) pendingClientHeight_ = -1;
    }
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomForm::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateDesktopIcons();
    if (!HandleAllocated() || (pendingClientWidth_ < 0 && pendingClientHeight_ < 0)) return;
    // The frame is now what the window's WM_NCCALCSIZE made it.
    const TRect in = FrameInsets();
    const int width = pendingClientWidth_ >= 0 ? pendingClientWidth_ + in.Left + in.Right : Width();
    const int height = pendingClientHeight_ >= 0 ? pendingClientHeight_ + in.Top + in.Bottom : Height();
    pendingClientWidth_ = pendingClientHeight_ = -1;
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::PlaceOnFirstShow() {
    if (placed_) return;
    placed_ = true;
    TRect area;
    switch (position_) {
    case poScreenCenter:
        area = Screen ? Screen->MonitorFromPoint({0, 0}).BoundsRect : TRect{};
        break;
    case poDesktopCenter:
        area = Screen ? Screen->DesktopRect() : TRect{};
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* over = position_ == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
        if (!over && Application) over = Application->MainForm();
        if (over && over != this) area = over->BoundsRect();
        else if (Screen) area = Screen->MonitorFromPoint({0, 0}).BoundsRect;
        break;
    }
    default:
        return;
    }
    if (IsRectEmpty(area)) return;
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

// ---- showing and closing ------------------------------------------------------------------------

void TCustomForm::SetVisible(bool value) {
    if (Parent()) {
        TCustomControl::SetVisible(value);
        return;
    }
    if (value) {
        const bool wasVisible = Visible() && Showing();
        SetVisibleFlag(true);
        HandleNeeded();
        if (wasVisible) return;
        PlaceOnFirstShow();
        DoShow();
        if (!Visible()) return;  // OnShow hid it again
        if (!activeControl_) {
            TWinControl* first = FindNextControl(nullptr, true, true, false);
            if (first) SetActiveControl(first);
        }
        int cmd = SW_SHOWNORMAL;
        if (windowState_ == wsMinimized) cmd = SW_SHOWMINIMIZED;
        else if (windowState_ == wsMaximized) cmd = SW_SHOWMAXIMIZED;
        ShowWindow(Handle(), cmd);
        shownOnce_ = true;
        return;
    }
    if (!Visible()) return;
    SetVisibleFlag(false);
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    DoHide();
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::BringToFront() {
    if (HandleAllocated() && Showing()) SetActiveWindow(Handle());
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() {
    if (Application) Application->QueueRelease(this);
    else Hide();
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) ReleaseCapture();
    if (Application) Application->CancelHint();
    const HWND activeBefore = GetActiveWindow();
    // The modal form stays above the window that was active.
    if (!HandleAllocated() && !modalOwner_) modalOwner_ = activeBefore;
    std::vector<HWND> disabled;
    const HWND self = Handle();
    EnumWindows([&](HWND h) {
        if (h != self && IsWindowVisible(h) && IsWindowEnabled(h) && TWinControl::FindControl(h)) disabled.push_back(h);
        return true;
    });
    for (HWND h : disabled) EnableWindow(h, FALSE);
    struct Restore {
        TCustomForm& form;
        std::vector<HWND>& disabled;
        HWND activeBefore;
        ~Restore() {
            for (HWND h : disabled)
                if (IsWindow(h)) EnableWindow(h, TRUE);
            form.modal_ = false;
            if (Application) --Application->modalLevel_;
            if (form.Visible()) form.Hide();
            if (activeBefore && IsWindow(activeBefore) && IsWindowVisible(activeBefore)) SetActiveWindow(activeBefore);
        }
    } restore{*this, disabled, activeBefore};
    modal_ = true;
    modalResult_ = mrNone;
    if (Application) ++Application->modalLevel_;
    Show();
    while (true) {
        if (!Application) break;
        Application->HandleMessage();
        if (Application->Terminated()) {
            if (modalResult_ == mrNone) modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ == mrNone) continue;
        // Closing a modal form still asks OnCloseQuery and OnClose.
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            if (OnClose) OnClose(this, action);
        }
        if (action == caNone) {
            modalResult_ = mrNone;
            continue;
        }
        if (action == caFree) Release();
        break;
    }
    return modalResult_;
}

// ---- focus ------------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || GetParentForm(control) != this))
        throw EInvalidOperation("Invalid active control");
    if (activeControl_ && activeControl_ != focusedControl_) activeControl_->RemoveFreeNotification(this);
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (control && active_ && control->CanFocus()) ::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control) return;
    if (!control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetActiveControl(control);
    if (HandleAllocated() && GetActiveWindow() == Handle() && GetFocus() != control->Handle())
        ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
    if (focusedControl_ == control) return;
    // Containers between the old and the new control hear OnExit and OnEnter.
    auto chain = [this](TWinControl* c) {
        std::vector<TWinControl*> out;
        for (TWinControl* w = c; w && w != this; w = w->Parent()) out.push_back(w);
        return out;
    };
    const std::vector<TWinControl*> oldChain = chain(focusedControl_);
    const std::vector<TWinControl*> newChain = chain(control);
    if (focusedControl_) focusedControl_->RemoveFreeNotification(this);
    focusedControl_ = control;
    if (control) control->FreeNotification(this);
    if (control && control != this) {
        if (activeControl_ != control) {
            if (activeControl_) activeControl_->RemoveFreeNotification(this);
            activeControl_ = control;
            control->FreeNotification(this);
        }
    }
    if (Screen) Screen->SetActiveControl(control);
    for (TWinControl* w : oldChain)
        if (std::find(newChain.begin(), newChain.end(), w) == newChain.end()) w->Perform(CM_EXIT);
    for (auto it = newChain.rbegin(); it != newChain.rend(); ++it)
        if (std::find(oldChain.begin(), oldChain.end(), *it) == oldChain.end()) (*it)->Perform(CM_ENTER);
    // Controls that look different with the focus elsewhere (the default
    // button's highlight) hear of every change.
    if (focusedControl_ == control) Perform(CM_FOCUSCHANGED, 0, ToLParam(control ? control : this));
}

bool TCustomForm::IsShortCut(TWMKey& m) {
    bool handled = false;
    if (OnShortCut) OnShortCut(m, handled);
    if (handled) return true;
    for (TControl* c = activeControl_; c; c = c->Parent())
        if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(m)) return true;
    if (TPopupMenu* menu = PopupMenu(); menu && menu->IsShortCut(m)) return true;
    return false;
}

void TCustomForm::ApplyConstraints(MINMAXINFO& info) const {
    if (Constraints.MinWidth > 0) info.ptMinTrackSize.X = Constraints.MinWidth;
    if (Constraints.MinHeight > 0) info.ptMinTrackSize.Y = Constraints.MinHeight;
    if (Constraints.MaxWidth > 0) info.ptMaxTrackSize.X = Constraints.MaxWidth;
    if (Constraints.MaxHeight > 0) info.ptMaxTrackSize.Y = Constraints.MaxHeight;
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---- messages -----------------------------------------------------------------------------------------

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_ACTIVATE: {
        const bool nowActive = LOWORD(m.WParam) != WA_INACTIVE;
        active_ = nowActive;
        if (nowActive) {
            if (Screen) Screen->SetActiveForm(this);
            if (activeControl_ && activeControl_->CanFocus() && activeControl_->HandleAllocated())
                ::SetFocus(activeControl_->Handle());
            const HWND focus = GetFocus();
            if (!focus || (focus != Handle() && !IsChild(Handle(), focus))) DefaultHandler(m);
            Activate();
        } else {
            Deactivate();
        }
        return;
    }
    case WM_SYSCOMMAND: {
        const UINT cmd = UINT(m.WParam & 0xFFF0);
        // Alt+letter: the control with that accelerator takes it before the
        // keyboard menu does. Space and '-' open system menus; a lone Alt
        // (no character) only the menu.
        const WORD ch = LOWORD(m.LParam);
        if (cmd == SC_KEYMENU && ch && ch != ' ' && ch != '-' && HandleAllocated() && !IsIconic(Handle()) &&
            !GetCapture() && Perform(CM_DIALOGCHAR, ch, KF_ALTDOWN_BIT)) {
            m.Result = 0;
            return;
        }
        if (Application && Application->MainForm() == this) {
            if (cmd == SC_MINIMIZE) {
                Application->Minimize();
                return;
            }
            if (cmd == SC_RESTORE && Application->Minimized()) {
                Application->Restore();
                return;
            }
        }
        break;
    }
    case WM_GETMINMAXINFO:
        DefaultHandler(m);
        if (auto* info = FromLParam<MINMAXINFO>(m.LParam)) ApplyConstraints(*info);
        return;
    case CM_DIALOGKEY: {
        const WORD key = WORD(m.WParam);
        const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (key == VK_TAB && !ctrl) {
            const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            SelectNext(activeControl_, !back, true);
            m.Result = 1;
            return;
        }
        if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && activeControl_ &&
            activeControl_->Parent()) {
            activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN, false);
            m.Result = 1;
            return;
        }
        break;
    }
    case CM_CONTROLLISTCHANGE:
        if (!m.LParam) {
            // A control left the form: forget it if it held the focus.
            auto* gone = FromLParam<TControl>(LPARAM(m.WParam));
            auto inside = [gone](TWinControl* c) {
                for (TControl* p = c; p; p = p->Parent())
                    if (p == gone) return true;
                return false;
            };
            if (activeControl_ && inside(activeControl_)) activeControl_ = nullptr;
            if (focusedControl_ && inside(focusedControl_)) focusedControl_ = nullptr;
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}
