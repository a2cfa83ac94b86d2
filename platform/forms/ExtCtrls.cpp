#include "ExtCtrls.h"

#include "Forms.h"
#include "WindowSystem.h"
#include "Windows.h"

namespace {
constexpr const char* kTimerClass = "TTimerWindow";
constexpr const char* kTimerProp = "TTimer";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
    if (window_ && IsWindow(window_)) {
        RemoveProp(window_, kTimerProp);
        DestroyWindow(window_);
    }
}

void TTimer::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    if (interval_ == value) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (window_ && IsWindow(window_)) KillTimer(window_, kTimerId);
    if (!enabled_ || interval_ == 0 || !WindowSystemRunning()) return;
    if (!window_ || !IsWindow(window_)) {
        WNDCLASS existing;
        if (!GetClassInfo(kTimerClass, existing)) {
            WNDCLASS wc;
            wc.lpfnWndProc = &TTimer::TimerWindowProc;
            wc.lpszClassName = kTimerClass;
            RegisterClass(wc);
        }
        window_ = CreateWindowEx(WS_EX_TOOLWINDOW, kTimerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
        if (!window_) throw EOutOfResources("Not enough timers available");
        SetProp(window_, kTimerProp, this);
    }
    // Restarting counts the interval again from now.
    if (!SetTimer(window_, kTimerId, interval_)) throw EOutOfResources("Not enough timers available");
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

LRESULT TTimer::TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kTimerId) {
        if (auto* timer = static_cast<TTimer*>(GetProp(hwnd, kTimerProp))) {
            if (Application) Application->Guard(timer, [timer] { timer->Timer(); });
            else timer->Timer();
        }
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
