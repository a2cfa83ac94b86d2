// Displays, work areas and the system metrics and settings derived from them.
// A monitor handle is the display's index plus one; the first is the primary.

#include <algorithm>
#include <climits>

#include "WindowSystemState.h"

namespace {
HMONITOR MonitorHandle(std::size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }

long long DistanceSquared(const TRect& r, TPoint p) {
    const long long dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - r.Right + 1 : 0;
    const long long dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0;
    return dx * dx + dy * dy;
}

HMONITOR Fallback(const std::vector<MonitorDesc>& ms, TPoint p, DWORD flags) {
    if (ms.empty() || flags == MONITOR_DEFAULTTONULL) return nullptr;
    if (flags == MONITOR_DEFAULTTOPRIMARY) return MonitorHandle(0);
    std::size_t best = 0;
    for (std::size_t i = 1; i < ms.size(); ++i)
        if (DistanceSquared(ms[i].bounds, p) < DistanceSquared(ms[best].bounds, p)) best = i;
    return MonitorHandle(best);
}

MonitorDesc Primary() {
    auto ms = Sys().backend().Monitors();
    return ms.empty() ? MonitorDesc{} : ms.front();
}
}  // namespace

HMONITOR MonitorFromPoint(TPoint point, DWORD flags) {
    const auto ms = Sys().backend().Monitors();
    for (std::size_t i = 0; i < ms.size(); ++i)
        if (PtInRect(ms[i].bounds, point)) return MonitorHandle(i);
    return Fallback(ms, point, flags);
}

HMONITOR MonitorFromRect(const TRect& rect, DWORD flags) {
    const auto ms = Sys().backend().Monitors();
    long long bestArea = 0;
    HMONITOR best = nullptr;
    for (std::size_t i = 0; i < ms.size(); ++i) {
        const TRect r = IntersectRect(ms[i].bounds, rect);
        const long long area = (long long)r.Width() * r.Height();
        if (area > bestArea) bestArea = area, best = MonitorHandle(i);
    }
    if (best) return best;
    return Fallback(ms, {rect.Left + rect.Width() / 2, rect.Top + rect.Height() / 2}, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    Window* r = s.Root(w);
    TRect rect;
    GetWindowRect(hwnd, rect);
    if (r && (r->style & (WS_MINIMIZE | WS_MAXIMIZE)) && r == w) rect = r->normalRect;
    return MonitorFromRect(rect, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO& info) {
    const auto ms = Sys().backend().Monitors();
    const std::size_t index = reinterpret_cast<std::uintptr_t>(monitor);
    if (index == 0 || index > ms.size()) return FALSE;
    info.rcMonitor = ms[index - 1].bounds;
    info.rcWork = ms[index - 1].work;
    info.dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

int GetSystemMetrics(int index) {
    WindowSystem& s = Sys();
    const MonitorDesc primary = Primary();
    TRect virt;
    const auto ms = s.backend().Monitors();
    for (const auto& m : ms) virt = UnionRect(virt, m.bounds);
    switch (index) {
    case SM_CXSCREEN: return primary.bounds.Width();
    case SM_CYSCREEN: return primary.bounds.Height();
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return primary.work.Width();
    case SM_CYFULLSCREEN: return primary.work.Height() - 19;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMAXTRACK: return virt.Width() + 12;
    case SM_CYMAXTRACK: return virt.Height() + 12;
    case SM_CXMAXIMIZED: return primary.work.Width();
    case SM_CYMAXIMIZED: return primary.work.Height();
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_XVIRTUALSCREEN: return virt.Left;
    case SM_YVIRTUALSCREEN: return virt.Top;
    case SM_CXVIRTUALSCREEN: return virt.Width();
    case SM_CYVIRTUALSCREEN: return virt.Height();
    case SM_CMONITORS: return int(ms.size());
    default: return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT, void* out, UINT) {
    if (!out) return FALSE;
    switch (action) {
    case SPI_GETWORKAREA:
        *static_cast<TRect*>(out) = Primary().work;
        return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
        *static_cast<BOOL*>(out) = TRUE;
        return TRUE;
    case SPI_GETWHEELSCROLLLINES:
        *static_cast<UINT*>(out) = 3;
        return TRUE;
    default:
        return FALSE;
    }
}
