#pragma once
// The window system's scalar types, handles and parameter structures, under
// the platform's names so that message handling reads as it does there.

#include <cstdint>

#include "Geometry.h"

class TCanvas;
class TRegion;

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// A window handle is an opaque number: it never points at memory, so a
// handle kept after its window died is simply not found again.
struct HWND__;
using HWND = HWND__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
// An icon owns its pixels until DestroyIcon; see Icons.h.
struct HICON__;
using HICON = HICON__*;

// A device context is a canvas; a region handle points at a region value.
using HDC = TCanvas*;
using HRGN = TRegion*;

using RECT = TRect;
using POINT = TPoint;
using SIZE = TSize;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// --- packing of message parameters ------------------------------------------

constexpr WORD LOWORD(std::uintptr_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) { return WPARAM(MAKELPARAM(lo, hi)) & 0xFFFFFFFFu; }
constexpr LRESULT MAKELRESULT(int lo, int hi) { return MAKELPARAM(lo, hi); }
// Pointer positions travel as signed 16-bit halves.
constexpr int GET_X_LPARAM(LPARAM lp) { return std::int16_t(LOWORD(std::uintptr_t(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return std::int16_t(HIWORD(std::uintptr_t(lp))); }
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp) { return std::int16_t(HIWORD(wp)); }
constexpr LPARAM PointToLParam(TPoint p) { return MAKELPARAM(p.X, p.Y); }
constexpr TPoint LParamToPoint(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

// Pointer-carrying parameters, both ways.
template <typename T> LPARAM ToLParam(T* p) { return reinterpret_cast<LPARAM>(p); }
template <typename T> T* FromLParam(LPARAM lp) { return reinterpret_cast<T*>(lp); }
inline WPARAM DcToWParam(HDC dc) { return reinterpret_cast<WPARAM>(dc); }
inline HDC WParamToDc(WPARAM wp) { return reinterpret_cast<HDC>(wp); }

// --- structures -----------------------------------------------------------------

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

// rgrc[0] is the proposed window rectangle on entry and the client rectangle on
// return, both in the parent's client coordinates (the screen for top-level
// windows).
struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

// The rectangle a WM_NCCALCSIZE hands over: the window's proposed rectangle
// in, its client rectangle out (first of the parameters, or the lone rectangle).
inline TRect* NcCalcSizeRect(WPARAM wParam, LPARAM lParam) {
    return wParam ? &FromLParam<NCCALCSIZE_PARAMS>(lParam)->rgrc[0] : FromLParam<TRect>(lParam);
}

struct MINMAXINFO {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    UINT_PTR id = 0;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const char* lpszName = nullptr;
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    TRect rcPaint;
};

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
};

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = 0;
    TPoint ptMinPosition;
    TPoint ptMaxPosition;
    TRect rcNormalPosition;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};

// A window class. The background is a colour (system colours allowed) rather
// than a brush; clNone-like 0x1FFFFFFF means none, and WM_ERASEBKGND then
// leaves the background alone.
struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HCURSOR hCursor = nullptr;
    std::uint32_t hbrBackground = 0x1FFFFFFF;
    const char* lpszClassName = nullptr;
};
