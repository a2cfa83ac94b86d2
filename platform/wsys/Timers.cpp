// Window timers on the backend's clock. A timer is due `interval` ms after it
// was set or last fired; due timers become WM_TIMER messages only when nothing
// else is waiting, earliest first (equal times in the order they were set),
// and a late timer fires once rather than once per missed period.

#include <algorithm>
#include <limits>

#include "WindowSystemState.h"

UINT_PTR WindowSystem::AddTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc,
                                std::function<void()> internal) {
    // The platform raises intervals below 10 ms to 10 ms.
    elapse = std::max<UINT>(elapse, 10);
    if (!hwnd && !internal) {
        // Without a window the id is made here, unless an existing one is reset.
        auto it = std::find_if(timers_.begin(), timers_.end(),
                               [&](const TimerEntry& t) { return !t.hwnd && !t.internal && t.id == id && id; });
        if (it == timers_.end()) id = ++nextThreadTimerId_;
    }
    if (internal) id = nextInternalTimerId_++;
    TimerEntry e;
    e.hwnd = hwnd;
    e.id = id;
    e.interval = elapse;
    e.due = Now() + elapse;
    e.seq = ++timerSeq_;
    e.proc = proc;
    e.internal = std::move(internal);
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const TimerEntry& t) {
        return t.hwnd == hwnd && t.id == id && bool(t.internal) == bool(e.internal);
    });
    if (it != timers_.end()) *it = std::move(e);
    else timers_.push_back(std::move(e));
    return id;
}

bool WindowSystem::RemoveTimer(HWND hwnd, UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id && !t.internal; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    // A WM_TIMER already taken from the queue is not delivered later either.
    std::erase_if(posted_, [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; });
    return true;
}

void WindowSystem::RemoveTimersOf(HWND hwnd) {
    std::erase_if(timers_, [&](const TimerEntry& t) { return t.hwnd == hwnd && !t.internal; });
}

TimerEntry* WindowSystem::DueTimer(HWND filter) {
    const std::uint64_t now = Now();
    TimerEntry* best = nullptr;
    for (auto& t : timers_) {
        if (t.due > now) continue;
        if (filter && t.hwnd != filter && !t.internal) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.seq < best->seq)) best = &t;
    }
    return best;
}

int WindowSystem::MsUntilNextTimer() {
    if (timers_.empty()) return -1;
    const std::uint64_t now = Now();
    std::uint64_t next = std::numeric_limits<std::uint64_t>::max();
    for (const auto& t : timers_) next = std::min(next, t.due);
    return next <= now ? 0 : int(std::min<std::uint64_t>(next - now, 1u << 30));
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    WindowSystem& s = Sys();
    if (hwnd && !s.Find(hwnd)) return 0;
    const UINT_PTR got = s.AddTimer(hwnd, id, elapseMs, proc, {});
    return hwnd && id == 0 && got == 0 ? 1 : got;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) { return Sys().RemoveTimer(hwnd, id) ? TRUE : FALSE; }

DWORD GetTickCount() {
    // Code that busy-waits on the tick count would spin forever on a clock
    // that only moves when told to; reads that keep seeing the same tick let
    // a millisecond pass.
    WindowSystem& s = Sys();
    std::uint64_t now = s.Now();
    if (now == s.lastTickRead_) {
        if (++s.sameTickReads_ >= 1000) {
            s.backend().Sleep(1);
            s.sameTickReads_ = 0;
            now = s.Now();
        }
    } else {
        s.sameTickReads_ = 0;
    }
    s.lastTickRead_ = now;
    return DWORD(now);
}

void Sleep(DWORD ms) { Sys().backend().Sleep(ms); }
