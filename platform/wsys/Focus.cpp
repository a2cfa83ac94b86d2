// Activation of top-level windows, keyboard focus, mouse capture and the
// enabled state. The focus model lives here, not in the desktop: keys go to
// the window system's focused window whichever native window received them.

#include <algorithm>

#include "WindowSystemState.h"

namespace {
bool Contains(const Window* ancestor, const Window* w) {
    for (const Window* c = w; c; c = c->parent)
        if (c == ancestor) return true;
    return false;
}
}  // namespace

void WindowSystem::SetAppActive(bool active) {
    if (active == appActive_) return;
    if (active) {
        Window* w = Find(lastActive_);
        if (!w || !IsShown(w)) {
            w = nullptr;
            for (Window* t : desktop_->children)
                if (IsShown(t) && !(t->style & WS_DISABLED) && !(t->exStyle & WS_EX_NOACTIVATE)) {
                    w = t;
                    break;
                }
        }
        if (w) {
            ActivateWindow(w, WA_ACTIVE);
        } else {
            appActive_ = true;
        }
        return;
    }
    lastActive_ = active_;
    const HWND old = active_;
    if (focus_) SetFocusWindow(nullptr);
    active_ = nullptr;
    if (Find(old)) {
        Send(old, WM_NCACTIVATE, FALSE, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
    appActive_ = false;
    std::vector<HWND> tops;
    for (Window* t : desktop_->children) tops.push_back(t->handle);
    for (HWND t : tops) Send(t, WM_ACTIVATEAPP, FALSE, 0);
}

void WindowSystem::ActivateWindow(Window* w, WORD how) {
    if (!w) return;
    w = Root(w);
    if (!w) return;
    const HWND h = w->handle;
    const HWND old = active_;
    if (old == h) return;
    // The new window counts as active while the old one hears it lost.
    active_ = h;
    if (Window* o = Find(old)) {
        Send(old, WM_NCACTIVATE, FALSE, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (o->style & WS_MINIMIZE) ? 1 : 0),
             LPARAM(reinterpret_cast<std::uintptr_t>(h)));
        if (Window* f = Find(focus_); f && (o = Find(old)) && Contains(o, f)) SetFocusWindow(nullptr);
    }
    if (active_ != h) return;  // a handler activated something else meanwhile
    if (!appActive_) {
        appActive_ = true;
        std::vector<HWND> tops;
        for (Window* t : desktop_->children) tops.push_back(t->handle);
        for (HWND t : tops) Send(t, WM_ACTIVATEAPP, TRUE, 0);
    }
    if (!(w = Find(h)) || active_ != h) return;
    SetPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!(w = Find(h))) return;
    if (w->owner) w->owner->lastActivePopup = h;
    Send(h, WM_NCACTIVATE, TRUE, 0);
    if (!(w = Find(h))) return;
    Send(h, WM_ACTIVATE, MAKEWPARAM(how, (w->style & WS_MINIMIZE) ? 1 : 0),
         LPARAM(reinterpret_cast<std::uintptr_t>(old)));
}

void WindowSystem::ActivateAnother(Window* leaving) {
    Window* next = nullptr;
    auto usable = [&](Window* t) {
        return t && t != leaving && IsShown(t) && !(t->style & WS_DISABLED) &&
               !(t->exStyle & WS_EX_NOACTIVATE) && !Contains(leaving, t) && t->owner != leaving;
    };
    if (leaving && usable(leaving->owner)) next = leaving->owner;
    if (!next)
        for (Window* t : desktop_->children)
            if (usable(t) && !(t->exStyle & WS_EX_TOOLWINDOW)) {
                next = t;
                break;
            }
    if (next) {
        ActivateWindow(next, WA_ACTIVE);
        return;
    }
    const HWND old = active_;
    active_ = nullptr;
    if (focus_) SetFocusWindow(nullptr);
    if (Find(old)) {
        Send(old, WM_NCACTIVATE, FALSE, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
}

void WindowSystem::SetFocusWindow(Window* w) {
    const HWND h = w ? w->handle : nullptr;
    if (w) {
        Window* r = Root(w);
        if (r && active_ != r->handle) {
            ActivateWindow(r, WA_ACTIVE);
            if (!Find(h)) return;
        }
    }
    const HWND old = focus_;
    if (old == h) return;
    if (Find(old)) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(h), 0);
    if (focus_ != old) return;  // the handler moved the focus itself
    if (h && !Find(h)) return;
    focus_ = h;
    if (h) Send(h, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

void WindowSystem::SetCaptureWindow(Window* w) {
    const HWND h = w ? w->handle : nullptr;
    const HWND old = capture_;
    if (old == h) return;
    capture_ = h;
    backend_->CapturePointer(h != nullptr);
    if (Find(old)) Send(old, WM_CAPTURECHANGED, 0, LPARAM(reinterpret_cast<std::uintptr_t>(h)));
}

void WindowSystem::ForgetWindow(Window* w) {
    const HWND h = w->handle;
    if (capture_ && Contains(w, Find(capture_))) SetCaptureWindow(nullptr);
    if (focus_ && Contains(w, Find(focus_))) {
        if (focus_ == h) Send(h, WM_KILLFOCUS, 0, 0);
        focus_ = nullptr;
    }
    if (active_ == h) ActivateAnother(w);
    if (active_ == h) active_ = nullptr;
    if (lastActive_ == h) lastActive_ = nullptr;
    if (trackLeave_ == h) trackLeave_ = nullptr;
    if (lastMoveWindow_ == h) lastMoveWindow_ = nullptr;
    if (lastClick_.hwnd == h) lastClick_.valid = false;
    if (caret_.hwnd == h) DestroyCaret();
}

// --- the platform calls ------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
    WindowSystem& s = Sys();
    const HWND old = s.capture_;
    if (Window* w = s.Find(hwnd)) s.SetCaptureWindow(w);
    return old;
}

BOOL ReleaseCapture() {
    Sys().SetCaptureWindow(nullptr);
    return TRUE;
}

HWND GetCapture() { return Sys().capture_; }

HWND SetFocus(HWND hwnd) {
    WindowSystem& s = Sys();
    const HWND old = s.focus_;
    if (!hwnd) {
        s.SetFocusWindow(nullptr);
        return old;
    }
    Window* w = s.Find(hwnd);
    if (!w || !s.IsEnabledChain(w)) return nullptr;
    s.SetFocusWindow(w);
    return old;
}

HWND GetFocus() { return Sys().focus_; }

HWND SetActiveWindow(HWND hwnd) {
    WindowSystem& s = Sys();
    const HWND old = s.active_;
    Window* w = s.Find(hwnd);
    if (!w || w == s.Desktop()) return nullptr;
    s.ActivateWindow(w, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() { return Sys().active_; }

BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) || GetActiveWindow() == hwnd ? TRUE : FALSE; }

HWND GetForegroundWindow() {
    WindowSystem& s = Sys();
    return s.appActive_ ? s.active_ : nullptr;
}

HWND GetLastActivePopup(HWND owner) {
    WindowSystem& s = Sys();
    Window* o = s.Find(owner);
    if (!o) return nullptr;
    Window* p = s.Find(o->lastActivePopup);
    if (p && p->owner == o && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED)) return p->handle;
    return owner;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (bool(enable) != wasDisabled) return wasDisabled ? TRUE : FALSE;
    if (enable) {
        w->style &= ~DWORD(WS_DISABLED);
    } else {
        w->style |= WS_DISABLED;
        // A disabled window keeps neither the pointer nor the keys.
        if (s.capture_ && Contains(w, s.Find(s.capture_))) s.SetCaptureWindow(nullptr);
        if (s.focus_ && Contains(w, s.Find(s.focus_))) s.SetFocusWindow(nullptr);
        s.Send(hwnd, WM_CANCELMODE, 0, 0);
    }
    s.Send(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = Sys().Find(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}
