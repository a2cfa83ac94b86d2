#pragma once
// The few platform calls the skinning layer wraps: window opacity, scroll bar
// state, monitors and work areas, and the platform version tests.
//
// Features that older platform generations lacked (layered windows and the
// like) are always present here, so the version tests without an argument
// answer as the newest generation does; the forms with a version keep the
// arithmetic, for callers and tests that hold a version.

#include <array>
#include <cstdint>

#include "Geometry.h"
#include "WinTypes.h"

// Sets the opacity of a window that already has the layered extended style.
void SetWindowAlpha(HWND window, BYTE alpha);

// The state of a window's scroll bar, laid out as the platform reports it;
// rgstate[0] describes the bar as a whole.
struct SkinScrollBarInfo {
    DWORD cbSize = sizeof(SkinScrollBarInfo);
    TRect rcScrollBar;
    int dxyLineButton = 0;
    int xyThumbTop = 0;
    int xyThumbBottom = 0;
    int reserved = 0;
    std::array<DWORD, 6> rgstate{};
};
// The "invisible" state bit of a scroll bar.
constexpr DWORD kScrollBarStateInvisible = 0x8000;
// The window system keeps no native scroll bars (skinned controls draw their
// own), so it has no scroll-bar query: the bar is reported invisible and the
// result is 0, as on a platform without the call.
int QueryScrollBarInfo(HWND window, LONG object, SkinScrollBarInfo& info);

// More than one display is attached.
bool HasMultipleMonitors();
// The primary display's work area when `workArea`, else its whole rectangle
// from (0, 0).
TRect GetScreenWorkArea(bool workArea);
// The work area (`workArea`) or the whole rectangle of the monitor nearest to
// the window; with a single monitor GetScreenWorkArea. When the monitor cannot
// be queried, `rect` is left as it was and the result is false.
bool GetMonitorWorkArea(HWND window, bool workArea, TRect& rect);

struct PlatformVersion {
    int Major = 0;
    int Minor = 0;
    friend bool operator==(const PlatformVersion&, const PlatformVersion&) = default;
};

// Major and minor version from the value of the platform's GetVersion: the
// low byte and the high byte of its low word.
constexpr PlatformVersion PlatformVersionFromPacked(std::uint32_t packed) {
    return {int(packed & 0xFF), int((packed >> 8) & 0xFF)};
}

// The version the program reports: the newest generation's.
constexpr PlatformVersion CurrentPlatformVersion() { return {10, 0}; }

constexpr bool IsWindowsVistaOrLater(PlatformVersion v) { return v.Major > 5; }
// Version 5.2 (a server release of the 5 series) does not count.
constexpr bool IsWindowsXPOrLater(PlatformVersion v) { return v.Major > 5 || (v.Major == 5 && v.Minor == 1); }
constexpr bool IsWindows2000OrLater(PlatformVersion v) {
    return v.Major > 5 || (v.Major == 5 && v.Minor >= 0 && v.Minor <= 2);
}

constexpr bool IsWindowsVistaOrLater() { return IsWindowsVistaOrLater(CurrentPlatformVersion()); }
constexpr bool IsWindowsXPOrLater() { return IsWindowsXPOrLater(CurrentPlatformVersion()); }
constexpr bool IsWindows2000OrLater() { return IsWindows2000OrLater(CurrentPlatformVersion()); }
