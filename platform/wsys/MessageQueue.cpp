// Sending and posting messages, the one message queue and its retrieval in
// the platform's order: posted messages, the quit request, input, painting,
// timers.

#include <algorithm>

#include "WindowSystemState.h"

namespace {
// Keeps the objects of windows destroyed during a call alive until the
// outermost call returns, so that code up the stack never touches freed memory.
struct CallScope {
    WindowSystem& s;
    explicit CallScope(WindowSystem& sys) : s(sys) { ++s.callDepth_; }
    ~CallScope() {
        if (--s.callDepth_ == 0) s.FlushGraveyard();
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
};

bool InRange(UINT msg, UINT min, UINT max) { return (min == 0 && max == 0) || (msg >= min && msg <= max); }
}  // namespace

void WindowSystem::FlushGraveyard() { graveyard_.clear(); }

LRESULT WindowSystem::Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    const WNDPROC proc = w->proc;
    CallScope scope(*this);
    return proc ? proc(hwnd, msg, wp, lp) : DefWindowProc(hwnd, msg, wp, lp);
}

void WindowSystem::Post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = DWORD(Now());
    m.pt = cursorPos_;
    posted_.push_back(m);
}

bool WindowSystem::NextMessage(MSG& out, HWND filter, UINT min, UINT max, bool remove, bool wait,
                               bool allowInput) {
    for (;;) {
        for (auto it = posted_.begin(); it != posted_.end(); ++it) {
            if (filter && it->hwnd != filter) continue;
            if (!InRange(it->message, min, max)) continue;
            out = *it;
            if (remove) {
                posted_.erase(it);
                lastMessageTime_ = out.time;
                lastMessagePos_ = out.pt;
            }
            return true;
        }
        if (quitPending_ && !filter) {
            out = MSG{};
            out.message = WM_QUIT;
            out.wParam = WPARAM(quitCode_);
            if (remove) quitPending_ = false;
            return true;
        }
        BackendEvent ev;
        if (allowInput && backend_->PollEvent(ev)) {
            HandleEvent(ev);
            continue;
        }
        if (InRange(WM_PAINT, min, max)) {
            Window* target = nullptr;
            for (Window* top : std::vector<Window*>(desktop_->children))
                if ((target = FindPaintTarget(top, filter))) break;
            if (target) {
                const HWND h = target->handle;
                SendNcPaint(target);
                target = Find(h);
                if (!target) continue;
                TRegion clientPart(target->client);
                clientPart.Combine(clientPart, target->update, RGN_AND);
                if (!clientPart.IsEmpty() || target->internalPaint) {
                    out = MSG{};
                    out.hwnd = h;
                    out.message = WM_PAINT;
                    out.time = DWORD(Now());
                    out.pt = cursorPos_;
                    return true;
                }
                continue;
            }
        }
        if (InRange(WM_TIMER, min, max)) {
            if (TimerEntry* t = DueTimer(filter)) {
                if (t->internal) {
                    auto fn = t->internal;
                    t->due = Now() + t->interval;
                    fn();
                    continue;
                }
                out = MSG{};
                out.hwnd = t->hwnd;
                out.message = WM_TIMER;
                out.wParam = t->id;
                out.lParam = reinterpret_cast<LPARAM>(t->proc);
                out.time = DWORD(Now());
                out.pt = cursorPos_;
                // A late timer fires once, not once per missed period.
                if (remove) t->due = Now() + t->interval;
                return true;
            }
        }
        if (PostReadable()) continue;
        if (!wait) return false;
        Present();
        backend_->WaitForEvent(MsUntilNextTimer());
    }
}

void WindowSystem::DispatchPendingNonInput() {
    MSG m;
    while (NextMessage(m, nullptr, 0, 0, true, false, false)) {
        if (m.message == WM_QUIT) {
            quitPending_ = true;
            quitCode_ = int(m.wParam);
            break;
        }
        TranslateMessage(m);
        Dispatch(m);
    }
    Present();
}

LRESULT WindowSystem::Dispatch(const MSG& msg) {
    CallScope scope(*this);
    if (msg.message == WM_TIMER && msg.lParam) {
        // Check the timer still exists: KillTimer may have run since.
        const bool alive = std::any_of(timers_.begin(), timers_.end(), [&](const TimerEntry& t) {
            return t.hwnd == msg.hwnd && t.id == msg.wParam;
        });
        if (alive) reinterpret_cast<TIMERPROC>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, DWORD(Now()));
        return 0;
    }
    if (!msg.hwnd) return 0;
    if (msg.message == WM_PAINT) {
        Window* w = Find(msg.hwnd);
        if (!w) return 0;
        w->beganPaint = false;
        const LRESULT r = Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        if ((w = Find(msg.hwnd)) && !w->beganPaint) {
            // A procedure that never began painting would be asked forever.
            Validate(w, TRegion(w->client), 0);
            w->internalPaint = false;
        }
        return r;
    }
    return Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

// --- the platform calls ----------------------------------------------------------------

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Sys().Send(hwnd, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowSystem& s = Sys();
    if (hwnd && !s.Find(hwnd)) return FALSE;
    s.Post(hwnd, msg, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    WindowSystem& s = Sys();
    s.quitPending_ = true;
    s.quitCode_ = exitCode;
}

BOOL GetMessage(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    Sys().NextMessage(msg, hwnd, filterMin, filterMax, true, true);
    return msg.message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    return Sys().NextMessage(msg, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0, false) ? TRUE : FALSE;
}

LRESULT DispatchMessage(const MSG& msg) { return Sys().Dispatch(msg); }

BOOL TranslateMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return FALSE;
    WindowSystem& s = Sys();
    const int vk = int(msg.wParam);
    const bool ctrl = (s.keyState_[VK_CONTROL] & 0x80) != 0;
    const bool shift = (s.keyState_[VK_SHIFT] & 0x80) != 0;
    const bool alt = msg.message == WM_SYSKEYDOWN && (msg.lParam & KF_ALTDOWN_BIT);
    int ch = 0;
    switch (vk) {
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = 9; break;
    case VK_RETURN: ch = ctrl ? 10 : 13; break;
    case VK_ESCAPE: ch = 27; break;
    default:
        if (alt && ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE))
            ch = (vk >= 'A' && vk <= 'Z' && !shift) ? vk - 'A' + 'a' : vk;
        else if (ctrl && !alt && vk >= 'A' && vk <= 'Z')
            ch = vk - 'A' + 1;
    }
    if (!ch) return FALSE;
    MSG c = msg;
    c.message = alt ? WM_SYSCHAR : WM_CHAR;
    c.wParam = WPARAM(ch);
    // The character comes next, before anything queued later.
    s.posted_.push_front(c);
    return TRUE;
}

BOOL WaitMessage() {
    MSG m;
    Sys().NextMessage(m, nullptr, 0, 0, false, true);
    return TRUE;
}

DWORD GetMessageTime() { return Sys().lastMessageTime_; }
TPoint GetMessagePos() { return Sys().lastMessagePos_; }

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return DefWindowProc(hwnd, msg, wParam, lParam);
    WindowSystem& s = Sys();
    CallScope scope(s);
    return proc(hwnd, msg, wParam, lParam);
}
