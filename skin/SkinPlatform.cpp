#include "SkinPlatform.h"

#include "WinStyles.h"
#include "Windows.h"

void SetWindowAlpha(HWND window, BYTE alpha) { SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA); }

int QueryScrollBarInfo(HWND, LONG, SkinScrollBarInfo& info) {
    info.rgstate[0] = kScrollBarStateInvisible;
    return 0;
}

bool HasMultipleMonitors() { return GetSystemMetrics(SM_CMONITORS) > 1; }

TRect GetScreenWorkArea(bool workArea) {
    TRect rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (workArea) SystemParametersInfo(SPI_GETWORKAREA, 0, &rect);
    return rect;
}

bool GetMonitorWorkArea(HWND window, bool workArea, TRect& rect) {
    if (!HasMultipleMonitors()) {
        rect = GetScreenWorkArea(workArea);
        return true;
    }
    MONITORINFO info;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfo(monitor, info)) return false;
    rect = workArea ? info.rcWork : info.rcMonitor;
    return true;
}
