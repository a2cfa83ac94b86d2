#pragma once
// TTimer: a component that raises OnTimer every Interval milliseconds while
// Enabled, through a window timer of the message loop.

#include "Classes.h"
#include "WinTypes.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    static LRESULT TimerWindowProc(HWND, UINT, WPARAM, LPARAM);

    bool enabled_ = true;
    unsigned interval_ = 1000;
    HWND window_ = nullptr;
};
