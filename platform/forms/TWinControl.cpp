// TWinControl: a control with a window of its own, made on demand. The
// window procedure of every such window is ControlWindowProc, which finds
// the control and hands the message to its WindowProc; errors that leave a
// handler go to the application's error report there.

#include <algorithm>
#include <cstdio>

#include "Controls.h"
#include "Forms.h"

namespace {
constexpr const char* kControlProp = "TWinControl";
// The control whose window CreateWindowEx is making: messages sent during
// creation arrive before the property that links the window is set.
TWinControl* g_creating = nullptr;
// A key consumed as a shortcut or dialog key also queued its character
// (TranslateMessage ran before dispatch); that character is dropped.
HWND g_eatCharFor = nullptr;

bool KeyMakesChar(WORD vk, bool sys) {
    if (vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK) return true;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (!sys && ctrl && vk >= 'A' && vk <= 'Z') return true;
    return sys && ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE);
}

bool IsInputStart(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return true;
    default: return false;
    }
}

bool IsPress(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK: return true;
    default: return false;
    }
}

bool IsNonClient(UINT msg) { return msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK; }
}  // namespace

LRESULT ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(GetProp(hwnd, kControlProp));
    if (!control && g_creating) {
        control = g_creating;
        g_creating = nullptr;
        control->handle_ = hwnd;
        SetProp(hwnd, kControlProp, control);
    }
    if (!control) return DefWindowProc(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    control->MainWndProc(m);
    return m.Result;
}

TControl* GetCaptureControl() {
    TWinControl* holder = TWinControl::FindControl(GetCapture());
    if (!holder) return nullptr;
    TControl* child = holder->captureControl_;
    return child && child->Parent() == holder ? child : holder;
}

TControl* TWinControl::PressedControl(const TMessage& m) {
    if (IsNonClient(m.Msg)) return this;
    if (handle_ && GetCapture() == handle_) return GetCaptureControl();
    TControl* child = ControlAtPos(LParamToPoint(m.LParam), false);
    return child && child->Parent() == this ? child : this;
}

TWinControl* TWinControl::FindControl(HWND hwnd) {
    return hwnd ? static_cast<TWinControl*>(GetProp(hwnd, kControlProp)) : nullptr;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    NotifyDestroying();
    DestroyComponents();
    // Children owned elsewhere stay alive but leave this parent.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    if (handle_) {
        // The object is half gone: the window dies without calling back.
        ReleaseCachedDC();
        const HWND h = handle_;
        RemoveProp(h, kControlProp);
        handle_ = nullptr;
        // The keyboard focus stays on the form rather than on nothing.
        const HWND focus = GetFocus();
        if (focus && (focus == h || IsChild(h, focus))) {
            TCustomForm* form = GetParentForm(this);
            if (form && form != static_cast<TControl*>(this) && form->HandleAllocated()) ::SetFocus(form->Handle());
        }
        if (IsWindow(h)) DestroyWindow(h);
    }
    if (parent_) parent_->RemoveControl(this);
}

void TWinControl::MainWndProc(TMessage& m) {
    const HWND self = handle_;
    auto work = [&] {
        if (Application && IsInputStart(m.Msg)) Application->CancelHint();
        if (Application && IsPress(m.Msg)) {
            // A control holding a mode elsewhere ends it before this press is handled.
            Application->CancelModes(PressedControl(m));
            if (FindControl(self) != this) return;
        }
        if (m.Msg == WM_MOUSEMOVE || m.Msg == WM_MOUSELEAVE || m.Msg == WM_NCMOUSEMOVE) TrackMouseControl(m);
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
            g_eatCharFor = nullptr;
            TMessage cn{m.Msg == WM_KEYDOWN ? CN_KEYDOWN : CN_SYSKEYDOWN, m.WParam, m.LParam, 0};
            WindowProc(cn);
            if (cn.Result) {
                if (KeyMakesChar(WORD(m.WParam), m.Msg == WM_SYSKEYDOWN)) g_eatCharFor = self;
                m.Result = 0;
                return;
            }
        } else if (m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR) {
            if (g_eatCharFor && g_eatCharFor == self) {
                g_eatCharFor = nullptr;
                return;
            }
            if (m.Msg == WM_CHAR) {
                TMessage cn{CN_CHAR, m.WParam, m.LParam, 0};
                WindowProc(cn);
                if (cn.Result) return;
            }
        } else if (m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP) {
            g_eatCharFor = nullptr;
        }
        WindowProc(m);
        // The pointer may be over another control than the one that held it.
        if (m.Msg == WM_CAPTURECHANGED && Application) Application->UpdateMouseControl();
    };
    if (Application) {
        Application->Guard(this, work);
        return;
    }
    try {
        work();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

// ---- the window ----------------------------------------------------------------------

HWND TWinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::HandleNeeded() { Handle(); }

bool TWinControl::Showing() const { return handle_ && IsWindowVisible(handle_); }

void TWinControl::SetParentWindow(HWND value) {
    if (parentWindow_ == value) return;
    parentWindow_ = value;
    if (handle_ && !parent_) RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = StoredText();
    // Child windows are never painted over by their parent.
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (tabStop_) p.Style |= WS_TABSTOP;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WinClassName = "TWinControl";
    p.WindowClassStyle = CS_DBLCLKS;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if (p.Style & WS_CHILD) {
        if (parent_) p.WndParent = parent_->Handle();
        else p.WndParent = parentWindow_;
        // Making the parent's window may have made ours already.
        if (handle_) return;
        if (!p.WndParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    }
    WNDCLASS existing;
    if (!GetClassInfo(p.WinClassName.c_str(), existing)) {
        WNDCLASS wc;
        wc.style = p.WindowClassStyle;
        wc.lpfnWndProc = &ControlWindowProc;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = p.WindowClassBackground;
        wc.lpszClassName = p.WinClassName.c_str();
        RegisterClass(wc);
    }
    g_creating = this;
    const HWND h = CreateWindowEx(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                                  p.Width, p.Height, p.WndParent);
    g_creating = nullptr;
    if (!h) throw EOutOfResources("Error creating window");
    if (!handle_) {
        handle_ = h;
        SetProp(h, kControlProp, this);
    }
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    ControlState |= csCreating;
    try {
        CreateWnd();
    } catch (...) {
        ControlState &= ~unsigned(csCreating);
        throw;
    }
    ControlState &= ~unsigned(csCreating);
    if (!handle_) return;
    // Keep the stored bounds in step with what the window system granted.
    UpdateWindowBounds();
    const std::vector<TControl*> kids = controls_;
    for (TControl* c : kids)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
    // Stack the children's windows in the order of the control list.
    HWND above = HWND_BOTTOM;
    for (TControl* c : controls_) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (!w || !w->handle_) continue;
        SetWindowPos(w->handle_, above == HWND_BOTTOM ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = w->handle_;
    }
    AlignControls();
}

void TWinControl::DestroyWnd() {
    ReleaseCachedDC();
    if (handle_) DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    destroyingHandle_ = true;
    DestroyWnd();
    destroyingHandle_ = false;
    if (handle_) {
        RemoveProp(handle_, kControlProp);
        handle_ = nullptr;
    }
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    const bool hadFocus = Focused();
    const bool topLevel = !(GetWindowLong(handle_, GWL_STYLE) & WS_CHILD);
    WINDOWPLACEMENT place;
    GetWindowPlacement(handle_, place);
    const bool shown = IsWindowVisible(handle_) != FALSE;
    const bool active = GetActiveWindow() == handle_;
    const HWND above = topLevel ? GetWindow(handle_, GW_HWNDPREV) : nullptr;
    DestroyHandle();
    CreateHandle();
    if (!handle_) return;
    if (topLevel) {
        // The new window takes the old one's place in the z-order (unless
        // the window above was an owned one, gone with the old window).
        if (above && IsWindow(above))
            SetWindowPos(handle_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (shown) {
            // Back to the same place, size and show state; the normal place
            // of a minimised or maximised window is kept too.
            switch (place.showCmd) {
            case SW_SHOWMINIMIZED: place.showCmd = SW_SHOWMINNOACTIVE; break;
            case SW_SHOWMAXIMIZED: break;
            default: place.showCmd = active ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE; break;
            }
            SetWindowPlacement(handle_, place);
            if (!handle_) return;
        }
    }
    if (hadFocus && handle_) ::SetFocus(handle_);
}

void TWinControl::UpdateWindowBounds() {
    if (!handle_ || IsIconic(handle_)) return;
    TRect r;
    GetWindowRect(handle_, r);
    if (GetWindowLong(handle_, GWL_STYLE) & WS_CHILD) {
        TPoint tl = r.TopLeft();
        MapWindowPoints(nullptr, GetParent(handle_), &tl, 1);
        r = Bounds(tl.X, tl.Y, r.Width(), r.Height());
    }
    UpdateBoundsRect(r);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
    ReleaseCachedDC();
    const auto* pos = FromLParam<WINDOWPOS>(m.LParam);
    if (pos && (pos->flags & SWP_NOMOVE) && (pos->flags & SWP_NOSIZE)) return;
    const int oldW = Width(), oldH = Height();
    UpdateWindowBounds();
    if (Width() != oldW || Height() != oldH) AlignControls();
}

// ---- geometry and state -------------------------------------------------------------------

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (Constraints.MinWidth > 0) AWidth = std::max(AWidth, Constraints.MinWidth);
    if (Constraints.MaxWidth > 0) AWidth = std::min(AWidth, Constraints.MaxWidth);
    if (Constraints.MinHeight > 0) AHeight = std::max(AHeight, Constraints.MinHeight);
    if (Constraints.MaxHeight > 0) AHeight = std::min(AHeight, Constraints.MaxHeight);
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    if (handle_ && !IsIconic(handle_)) {
        // The window reports back through WM_WINDOWPOSCHANGED.
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    UpdateBoundsRect(Bounds(ALeft, ATop, AWidth, AHeight));
    AlignControls();
}

TRect TWinControl::ClientRect() const {
    if (handle_) {
        TRect r;
        GetClientRect(handle_, r);
        return r;
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
    if (handle_) {
        TPoint p{0, 0};
        ::ClientToScreen(handle_, p);
        return p;
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetVisible(bool value) {
    if (Visible() == value) return;
    TControl::SetVisible(value);
    if (!handle_) {
        // A shown child of a shown parent needs its window now.
        if (value && parent_ && parent_->handle_) CreateHandle();
        return;
    }
    if (!value && Focused()) {
        if (TCustomForm* form = GetParentForm(this); form && form != this) form->SelectNext(this, true, true);
    }
    ShowWindow(handle_, value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool value) {
    if (Enabled() == value) return;
    TControl::SetEnabled(value);
    if (handle_) EnableWindow(handle_, value ? TRUE : FALSE);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, (ControlStyle & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == parent_) return;
    if (AParent && (AParent == this || ContainsControl(AParent)))
        throw EInvalidOperation("A control cannot be a parent of itself");
    if (handle_) DestroyHandle();
    TControl::SetParent(AParent);
    if (AParent && AParent->handle_) CreateHandle();
}

// ---- children ---------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
    control->parent_ = this;
    controls_.push_back(control);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(w);
    }
    control->ParentFontChanged();
    control->ParentColorChanged();
    Perform(CM_CONTROLLISTCHANGE, WPARAM(ToLParam(control)), TRUE);
    control->UpdateAnchorRules();
    if (control->Align() != alNone) AlignControls();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    if (control->parent_ != this) return;
    control->Invalidate();
    if (captureControl_ == control) captureControl_ = nullptr;
    std::erase(controls_, control);
    if (auto* w = dynamic_cast<TWinControl*>(control)) std::erase(tabList_, w);
    control->parent_ = nullptr;
    if (!Destroying()) {
        if (TCustomForm* form = GetParentForm(this)) {
            TMessage m{CM_CONTROLLISTCHANGE, WPARAM(ToLParam(control)), FALSE, 0};
            form->Perform(m.Msg, m.WParam, m.LParam);
        }
        if (control->Align() != alNone) AlignControls();
    }
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        const bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
        if (windowed && !allowWinControls) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (!PtInRect(c->BoundsRect(), pos)) continue;
        const TPoint local{pos.X - c->Left(), pos.Y - c->Top()};
        if (c->Perform(CM_HITTEST, 0, PointToLParam(local)) == 0) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    const std::vector<TControl*> kids = controls_;
    for (TControl* c : kids) {
        c->WindowProc(message);
        if (message.Result) return;
    }
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0) AlignControls();
}

void TWinControl::AlignControls() {
    if (alignDisabled_ || (ControlState & csAligning)) return;
    ControlState |= csAligning;
    TRect r = ClientRect();
    auto place = [&](TAlign which) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == which && c->Visible()) list.push_back(c);
        // Controls of one kind keep their order on the side they hug.
        std::stable_sort(list.begin(), list.end(), [which](TControl* a, TControl* b) {
            switch (which) {
            case alTop: return a->Top() < b->Top();
            case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
            case alLeft: return a->Left() < b->Left();
            case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
            default: return false;
            }
        });
        for (TControl* c : list) {
            switch (which) {
            case alTop:
                c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
                r.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
                r.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
                r.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
                r.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
                break;
            default: break;
            }
        }
    };
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
    ApplyAnchors();
    ControlState &= ~unsigned(csAligning);
}

// ---- focus and Tab order ------------------------------------------------------------------------

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    std::erase(list, this);
    const int at = std::clamp(value, 0, int(list.size()));
    list.insert(list.begin() + at, this);
}

void TWinControl::SetTabStop(bool value) {
    if (tabStop_ == value) return;
    tabStop_ = value;
    if (handle_) {
        const LONG style = GetWindowLong(handle_, GWL_STYLE);
        SetWindowLong(handle_, GWL_STYLE, value ? (style | LONG(WS_TABSTOP)) : (style & ~LONG(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int n = int(list.size());
    int start = -1;
    if (current) {
        auto it = std::find(list.begin(), list.end(), current);
        if (it != list.end()) start = int(it - list.begin());
    }
    if (start < 0) start = goForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[std::size_t(i)];
        if (c == current) break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == (current ? current->Parent() : this)) &&
            c->CanFocus())
            return c;
    }
    return nullptr;
}

bool TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (!next) return false;
    next->SetFocus();
    return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
    for (const TWinControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    const TCustomForm* form = GetParentForm(this);
    return !form || form->Visible();
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this) {
        form->FocusControl(this);
        return;
    }
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled) {
    HWND h = WindowFromPoint(screenPos);
    TWinControl* w = nullptr;
    for (; h && !w; h = GetParent(h)) w = TWinControl::FindControl(h);
    if (!w) return nullptr;
    TControl* c = w->ControlAtPos(w->ScreenToClient(screenPos), allowDisabled);
    return c ? c : w;
}
