// Input from the backend turned into window messages: the window under the
// pointer is found by z-order, regions and WM_NCHITTEST; the hit code chooses
// client or non-client mouse messages; capture, mouse activation, double
// clicks, mouse-leave tracking, keys to the focused window, and typed text as
// WM_CHAR bytes in code page 936.

#include <cstdlib>

#include "WindowSystemState.h"

namespace {
bool Down(const BYTE* keys, int vk) { return (keys[vk] & 0x80) != 0; }

int ButtonVk(MouseButton b) {
    switch (b) {
    case MouseButton::Left: return VK_LBUTTON;
    case MouseButton::Right: return VK_RBUTTON;
    default: return VK_MBUTTON;
    }
}

// Client messages for (button, down) and the double-click variants.
UINT ClientButtonMessage(MouseButton b, bool down) {
    switch (b) {
    case MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

// Non-client messages sit 0x160 below their client counterparts.
constexpr UINT kNonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;
}  // namespace

void WindowSystem::NotifyParentsOfPress(Window* w, UINT downMessage, TPoint screen) {
    // Each ancestor hears of the press, nearest first, until a window that
    // asked not to tell its parent (WS_EX_NOPARENTNOTIFY) or a top-level one.
    const HWND pressed = w->handle;
    while (w && (w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        Window* parent = w->parent;
        if (!parent || parent == desktop_) break;
        const HWND ph = parent->handle;
        const TPoint co = ClientScreenOrigin(parent);
        Send(ph, WM_PARENTNOTIFY, MAKEWPARAM(int(downMessage), 0), MAKELPARAM(screen.X - co.X, screen.Y - co.Y));
        // A handler may have destroyed the chain; stop where it broke.
        if (!Find(pressed) || !(w = Find(ph))) return;
    }
}

WPARAM WindowSystem::MouseKeyFlags() const {
    WPARAM f = 0;
    if (Down(keyState_, VK_LBUTTON)) f |= MK_LBUTTON;
    if (Down(keyState_, VK_RBUTTON)) f |= MK_RBUTTON;
    if (Down(keyState_, VK_MBUTTON)) f |= MK_MBUTTON;
    if (Down(keyState_, VK_SHIFT)) f |= MK_SHIFT;
    if (Down(keyState_, VK_CONTROL)) f |= MK_CONTROL;
    return f;
}

Window* WindowSystem::WindowAt(Window* w, TPoint screen, bool askHitTest, int& hitCode) {
    const HWND h = w->handle;
    const TPoint co = ClientScreenOrigin(w);
    const TPoint cp{screen.X - co.X, screen.Y - co.Y};
    if (PtInRect({0, 0, w->client.Width(), w->client.Height()}, cp)) {
        const std::vector<Window*> kids = w->children;
        for (Window* c : kids) {
            if (!(c->style & WS_VISIBLE) || !PtInRect(c->rect, cp)) continue;
            if (c->region && !c->region->Contains(cp.X - c->rect.Left, cp.Y - c->rect.Top)) continue;
            // A disabled child hides what lies under it; the parent takes the input.
            if (c->style & WS_DISABLED) break;
            if (Window* r = WindowAt(c, screen, askHitTest, hitCode)) return r;
            if (!Find(h)) return nullptr;
        }
    }
    if (askHitTest) {
        hitCode = int(Send(h, WM_NCHITTEST, 0, PointToLParam(screen)));
        if (hitCode == HTTRANSPARENT || !Find(h)) return nullptr;
    }
    return w;
}

Window* WindowSystem::HitWindow(TPoint screen, int& hitCode) {
    hitCode = HTNOWHERE;
    const std::vector<Window*> tops = desktop_->children;
    for (Window* t : tops) {
        if (!Find(t->handle) || !IsShown(t) || !PtInRect(t->rect, screen)) continue;
        if (t->region && !t->region->Contains(screen.X - t->rect.Left, screen.Y - t->rect.Top)) continue;
        if (t->style & WS_DISABLED) {
            hitCode = HTERROR;
            return t;
        }
        if (Window* w = WindowAt(t, screen, true, hitCode)) return w;
    }
    return nullptr;
}

void WindowSystem::HandleEvent(const BackendEvent& ev) {
    switch (ev.kind) {
    case EventKind::MouseMove:
    case EventKind::MouseDown:
    case EventKind::MouseUp:
    case EventKind::Wheel:
        HandlePointer(ev);
        break;
    case EventKind::KeyDown:
    case EventKind::KeyUp:
        HandleKey(ev);
        break;
    case EventKind::Text:
        HandleText(ev);
        break;
    case EventKind::AppActive:
        // Keys pressed in other programs meanwhile (Alt+Tab) end any Alt tap.
        altTapping_ = altTapped_ = false;
        SetAppActive(ev.active);
        break;
    case EventKind::Quit:
        // The desktop asks every top-level window to close, as on session end.
        for (Window* t : std::vector<Window*>(desktop_->children))
            if (IsVisible(t)) Post(t->handle, WM_CLOSE, 0, 0);
        break;
    case EventKind::DesktopMinimize:
    case EventKind::DesktopRestore: {
        // Each marks the desktop's copy stale when the program refuses, so
        // the desktop shows the state the window is really in.
        Window* w = Find(ev.hwnd);
        if (!w || !IsTopLevel(w)) break;
        if (ev.kind == EventKind::DesktopRestore) RestoreFromDesktop(w);
        else if (IsVisible(w)) MinimizeFromDesktop(w);
        break;
    }
    case EventKind::DesktopMove:
        FollowDesktopMove(Find(ev.hwnd), ev.pos);
        break;
    case EventKind::Hotkey:
        HandleHotkey(ev);
        break;
    case EventKind::DisplayChange: {
        TRect all;
        for (const auto& m : backend_->Monitors()) all = UnionRect(all, m.bounds);
        desktop_->rect = all;
        desktop_->client = {0, 0, all.Width(), all.Height()};
        for (Window* t : std::vector<Window*>(desktop_->children))
            Post(t->handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(all.Width(), all.Height()));
        break;
    }
    }
}

void WindowSystem::HandlePointer(const BackendEvent& ev) {
    const DWORD now = DWORD(Now());
    cursorPos_ = ev.pos;
    cursorKnown_ = true;
    const bool down = ev.kind == EventKind::MouseDown;
    const bool up = ev.kind == EventKind::MouseUp;
    if (down) {
        keyState_[ButtonVk(ev.button)] = BYTE((keyState_[ButtonVk(ev.button)] ^ 1) | 0x80);
        altTapping_ = false;  // Alt+click is not a tap of Alt
    }
    if (up) keyState_[ButtonVk(ev.button)] &= BYTE(~0x80);

    if (ev.kind == EventKind::Wheel) {
        Window* target = Find(focus_ ? focus_ : active_);
        if (target && IsEnabledChain(target))
            Post(target->handle, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeyFlags()), ev.wheelDelta),
                 PointToLParam(ev.pos));
        return;
    }

    int ht = HTCLIENT;
    Window* target = nullptr;
    const bool captured = capture_ && Find(capture_);
    if (captured) target = Find(capture_);
    else target = HitWindow(ev.pos, ht);

    if (trackLeave_ && (!target || target->handle != trackLeave_ || (ht != HTCLIENT) != trackLeaveNonClient_)) {
        Post(trackLeave_, trackLeaveNonClient_ ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        trackLeave_ = nullptr;
    }
    if (!target) {
        lastMoveWindow_ = nullptr;
        if (ev.kind == EventKind::MouseMove) backend_->SetPointerShape(IDC_ARROW);
        return;
    }
    const HWND h = target->handle;
    if (ev.kind == EventKind::MouseMove && h == lastMoveWindow_ && ev.pos == lastMovePos_) return;
    lastMoveWindow_ = h;
    lastMovePos_ = ev.pos;

    const UINT clientMsg = ev.kind == EventKind::MouseMove ? UINT(WM_MOUSEMOVE) : ClientButtonMessage(ev.button, down);
    if (!captured) {
        if (down && ht != HTERROR) {
            Window* root = Root(target);
            if (root && active_ != root->handle) {
                const LRESULT ma = Send(h, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root->handle),
                                        MAKELPARAM(ht, int(clientMsg)));
                if (!(target = Find(h)) || !(root = Find(root->handle))) return;
                const bool eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
                if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && !(root->exStyle & WS_EX_NOACTIVATE))
                    ActivateWindow(root, WA_CLICKACTIVE);
                if (eat || !Find(h)) return;
            }
        }
        Send(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(ht, int(clientMsg)));
        if (!(target = Find(h))) return;
    }
    if (ht == HTERROR) return;  // disabled: no mouse messages

    const bool client = captured || ht == HTCLIENT;
    UINT msg = clientMsg;
    if (down) {
        const bool dblAllowed = !client || (target->cls->style & CS_DBLCLKS);
        const int half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
        const int halfY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        const bool isDouble = dblAllowed && lastClick_.valid && lastClick_.hwnd == h &&
                              lastClick_.downMessage == (client ? clientMsg : clientMsg - kNonClientOffset) &&
                              now - lastClick_.time <= doubleClickTime_ &&
                              std::abs(ev.pos.X - lastClick_.pos.X) <= half &&
                              std::abs(ev.pos.Y - lastClick_.pos.Y) <= halfY;
        if (isDouble) {
            msg = clientMsg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
            lastClick_.valid = false;  // a third click starts over
        } else {
            lastClick_ = {h, client ? clientMsg : clientMsg - kNonClientOffset, now, ev.pos, true};
        }
    }
    if (client) {
        if (down) {
            NotifyParentsOfPress(target, clientMsg, ev.pos);
            if (!(target = Find(h))) return;
        }
        const TPoint co = ClientScreenOrigin(target);
        Post(h, msg, MouseKeyFlags(), MAKELPARAM(ev.pos.X - co.X, ev.pos.Y - co.Y));
    } else {
        Post(h, msg - kNonClientOffset, WPARAM(ht), PointToLParam(ev.pos));
    }
}

void WindowSystem::HandleKey(const BackendEvent& ev) {
    const int vk = ev.vk & 0xFF;
    const bool down = ev.kind == EventKind::KeyDown;
    const bool wasDown = Down(keyState_, vk);
    // Alt pressed and released with nothing else between is a tap: the
    // default window procedure turns its release into the keyboard menu
    // command (SC_KEYMENU).
    if (down && vk == VK_MENU) {
        if (!wasDown)
            altTapping_ = !Down(keyState_, VK_CONTROL) && !Down(keyState_, VK_SHIFT) &&
                          !Down(keyState_, VK_LWIN) && !Down(keyState_, VK_RWIN);
    } else if (down) {
        altTapping_ = false;
        altTapped_ = false;
    } else if (vk == VK_MENU) {
        altTapped_ = altTapping_;
        altTapping_ = false;
    }
    if (down) {
        if (!wasDown) keyState_[vk] ^= 1;
        keyState_[vk] |= 0x80;
    } else {
        keyState_[vk] &= BYTE(~0x80);
    }
    const bool alt = Down(keyState_, VK_MENU) || (vk == VK_MENU && !down);
    const bool ctrl = Down(keyState_, VK_CONTROL);
    Window* target = Find(focus_ ? focus_ : active_);
    if (!target) return;
    // Alt combinations, F10 and keys while no window has the focus are
    // "system" keys, as the menu and window commands expect.
    const bool sys = (alt && !ctrl) || vk == VK_F10 || !focus_;
    LPARAM lp = 1 | (LPARAM(vk) << 16);
    if (alt && !ctrl) lp |= KF_ALTDOWN_BIT;
    if (down && wasDown) lp |= KF_REPEAT_BIT;
    if (!down) lp |= KF_REPEAT_BIT | KF_UP_BIT;
    const UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    Post(target->handle, msg, WPARAM(vk), lp);
}

void WindowSystem::HandleText(const BackendEvent& ev) {
    // Alt+key also reports its character; the key message already covers it.
    if (Down(keyState_, VK_MENU) && !Down(keyState_, VK_CONTROL)) return;
    Window* target = Find(focus_);
    if (!target) return;
    const AnsiString bytes = Utf8ToAnsi(ev.text);
    for (unsigned char b : bytes) Post(target->handle, WM_CHAR, WPARAM(b), 1);
}

// --- the platform calls ------------------------------------------------------------------

HWND WindowFromPoint(TPoint screen) {
    int ht = 0;
    Window* w = Sys().HitWindow(screen, ht);
    return w ? w->handle : nullptr;
}

BOOL GetCursorPos(TPoint& point) {
    WindowSystem& s = Sys();
    // Away from the program's windows the pointer sends no events; ask where it went.
    if (TPoint elsewhere; s.backend().PointerElsewhere(elsewhere)) s.cursorPos_ = elsewhere;
    point = s.cursorPos_;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    WindowSystem& s = Sys();
    s.cursorPos_ = {x, y};
    s.backend().WarpPointer({x, y});
    return TRUE;
}

short GetKeyState(int vk) {
    const BYTE k = Sys().keyState_[vk & 0xFF];
    return short(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

short GetAsyncKeyState(int vk) { return short(GetKeyState(vk) & 0x8000); }

BOOL TrackMouseEvent(TRACKMOUSEEVENT& tme) {
    WindowSystem& s = Sys();
    if (tme.dwFlags & TME_CANCEL) {
        if (s.trackLeave_ == tme.hwndTrack) s.trackLeave_ = nullptr;
        return TRUE;
    }
    if (!(tme.dwFlags & TME_LEAVE) || !s.Find(tme.hwndTrack)) return FALSE;
    const bool nonClient = (tme.dwFlags & TME_NONCLIENT) != 0;
    int ht = HTNOWHERE;
    Window* under = s.HitWindow(s.cursorPos_, ht);
    if (!under || under->handle != tme.hwndTrack || (ht != HTCLIENT) != nonClient) {
        // The pointer already left: the notice comes at once.
        s.Post(tme.hwndTrack, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    s.trackLeave_ = tme.hwndTrack;
    s.trackLeaveNonClient_ = nonClient;
    return TRUE;
}

UINT GetDoubleClickTime() { return Sys().doubleClickTime_; }

BOOL SetDoubleClickTime(UINT ms) {
    Sys().doubleClickTime_ = ms ? ms : 500;
    return TRUE;
}
