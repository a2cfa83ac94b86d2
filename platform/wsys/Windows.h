#pragma once
// The window system's calls, with the platform's names and meanings: window
// classes and windows, the parent/child tree and owners, styles, positions and
// z-order, show states, messages and the queue, painting, pointer and keyboard
// input, focus and activation, timers, monitors, cursors, clipboard and caret.
//
// Everything runs on the one GUI thread. The calls need a running window
// system (see WindowSystem.h); a handle that names no window makes a call
// fail the way the platform fails it (FALSE, 0 or a null handle).

#include <functional>
#include <string>

#include "AnsiString.h"
#include "Geometry.h"
#include "TColor.h"
#include "TRegion.h"
#include "Icons.h"
#include "VirtualKeys.h"
#include "WinMessages.h"
#include "WinStyles.h"
#include "WinTypes.h"

// --- window classes ------------------------------------------------------------

// Registers a class by name; 0 when the name is taken or missing.
ATOM RegisterClass(const WNDCLASS& wc);
BOOL UnregisterClass(const char* className);
BOOL GetClassInfo(const char* className, WNDCLASS& out);
AnsiString GetClassName(HWND hwnd);
UINT GetClassStyle(HWND hwnd);

// --- windows and the tree ------------------------------------------------------

// `parent` is the parent of a WS_CHILD window and the owner of any other.
// `id` is the child identifier (the platform's hMenu of a child window).
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, UINT_PTR id = 0,
                    void* param = nullptr);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
HWND GetDesktopWindow();
// The parent of a child window, the owner of any other (as the platform does).
HWND GetParent(HWND hwnd);
// Makes `hwnd` a child of `newParent` (null: the desktop); returns the old parent.
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND parent);
BOOL IsChild(HWND parent, HWND hwnd);
// Calls `fn` for every descendant, parent before children, top of the z-order
// first; stops when `fn` returns false.
void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& fn);
// Calls `fn` for every top-level window, top of the z-order first.
void EnumWindows(const std::function<bool(HWND)>& fn);

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
// Returns the previous value. GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING
// and WM_STYLECHANGED; GWLP_WNDPROC replaces the window procedure (subclassing).
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index) { return LONG(GetWindowLongPtr(hwnd, index)); }
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    return LONG(SetWindowLongPtr(hwnd, index, LONG_PTR(DWORD(value))));
}
WNDPROC GetWindowProc(HWND hwnd);
// Replaces the window procedure; returns the previous one to pass messages on to.
WNDPROC SubclassWindow(HWND hwnd, WNDPROC proc);

BOOL SetProp(HWND hwnd, const char* name, void* data);
void* GetProp(HWND hwnd, const char* name);
void* RemoveProp(HWND hwnd, const char* name);

BOOL SetWindowText(HWND hwnd, const AnsiString& text);
AnsiString GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

// --- geometry --------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, TRect& rect);  // screen coordinates
BOOL GetClientRect(HWND hwnd, TRect& rect);  // (0, 0, client width, client height)
BOOL ClientToScreen(HWND hwnd, TPoint& point);
BOOL ScreenToClient(HWND hwnd, TPoint& point);
// Converts client coordinates of `from` to client coordinates of `to` (null:
// the screen).
int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count);
// Grows a client rectangle to the window rectangle the default frame gives.
BOOL AdjustWindowRectEx(TRect& rect, DWORD style, BOOL menu, DWORD exStyle);

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
// Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT& placement);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT& placement);

// Returns whether the window was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);

// The visible, enabled window under a screen point, deepest child first;
// window regions and WM_NCHITTEST's HTTRANSPARENT are respected.
HWND WindowFromPoint(TPoint screen);
// The child of `parent` under a point in its client coordinates (hidden and
// disabled children included), the parent itself when no child is there.
HWND ChildWindowFromPoint(HWND parent, TPoint client);

// The window keeps a copy of the region (window coordinates); null removes it.
// Painting and pointer input both stop at the region's edge.
int SetWindowRgn(HWND hwnd, const TRegion* region, BOOL redraw);
// Copies the window's region into `out`; RGN_ERROR when it has none.
int GetWindowRgn(HWND hwnd, TRegion& out);

// The window needs WS_EX_LAYERED. LWA_ALPHA uses `alpha`; LWA_COLORKEY makes
// pixels of `key` transparent.
BOOL SetLayeredWindowAttributes(HWND hwnd, TColor key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, TColor* key, BYTE* alpha, DWORD* flags);

// --- messages --------------------------------------------------------------------

// A message number for a name that programs agree on (0xC000 to 0xFFFF);
// the same name, whatever its letter case, gives the same number. 0 for an
// empty name.
UINT RegisterWindowMessage(const char* name);
// Calls the window procedure at once and returns its result; re-entrant.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message; a null hwnd makes a message for the thread.
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(int exitCode);
// Waits for the next message; FALSE when it is WM_QUIT.
BOOL GetMessage(MSG& msg, HWND hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0);
BOOL PeekMessage(MSG& msg, HWND hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0,
                 UINT remove = PM_REMOVE);
LRESULT DispatchMessage(const MSG& msg);
// Queues WM_CHAR / WM_SYSCHAR for keys that carry a control character (Enter,
// Tab, Backspace, Escape, Ctrl+letter) and for Alt+key. Printable text arrives
// as WM_CHAR from the text input of the desktop.
BOOL TranslateMessage(const MSG& msg);
// Blocks until a message is waiting.
BOOL WaitMessage();
DWORD GetMessageTime();
TPoint GetMessagePos();
// Passes a message to a window procedure (null: the default one).
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// --- painting ---------------------------------------------------------------------

// A canvas in client coordinates clipped to the update region; the update
// region is validated. Sends WM_NCPAINT and WM_ERASEBKGND as needed.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT& ps);
// A canvas over the client area (client coordinates).
HDC GetDC(HWND hwnd);
// A canvas over the whole window, frame included (window coordinates).
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
// `rect` in client coordinates; null: the whole client area.
BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, const TRegion* region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const TRect* rect);
BOOL ValidateRgn(HWND hwnd, const TRegion* region);
BOOL UpdateWindow(HWND hwnd);
// `rect` or `region` in client coordinates; when both are null, the client
// area, or with RDW_FRAME the whole window.
BOOL RedrawWindow(HWND hwnd, const TRect* rect, const TRegion* region, UINT flags);
BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, TRegion& region, BOOL erase);
// Paints the window, frame and children, into `dc` with the window's top-left
// corner at the canvas's (0, 0).
BOOL PrintWindow(HWND hwnd, HDC dc, UINT flags);

// --- pointer and keyboard ------------------------------------------------------------

HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetCursorPos(TPoint& point);
BOOL SetCursorPos(int x, int y);
// Bit 15 set while the key is down; bit 0 toggles with each press.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);
BOOL TrackMouseEvent(TRACKMOUSEEVENT& tme);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT ms);

HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
// The owned window that was active last (the modal dialog of a disabled owner).
HWND GetLastActivePopup(HWND owner);

// --- timers and the clock -------------------------------------------------------------

// With a window: replaces a timer of the same id and returns the id (nonzero).
// Without: makes a new id. WM_TIMER carries the id in wParam and `proc` in lParam.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetTickCount();
void Sleep(DWORD ms);

// --- monitors and system settings --------------------------------------------------------

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(TPoint point, DWORD flags);
HMONITOR MonitorFromRect(const TRect& rect, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO& info);

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;
inline constexpr int SM_SWAPBUTTON = 23;
inline constexpr int SM_CXMIN = 28;
inline constexpr int SM_CYMIN = 29;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CXMINTRACK = 34;
inline constexpr int SM_CYMINTRACK = 35;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CYSMCAPTION = 51;
inline constexpr int SM_CXMAXTRACK = 59;
inline constexpr int SM_CYMAXTRACK = 60;
inline constexpr int SM_CXMAXIMIZED = 61;
inline constexpr int SM_CYMAXIMIZED = 62;
inline constexpr int SM_CXDRAG = 68;
inline constexpr int SM_CYDRAG = 69;
inline constexpr int SM_MOUSEWHEELPRESENT = 75;
inline constexpr int SM_XVIRTUALSCREEN = 76;
inline constexpr int SM_YVIRTUALSCREEN = 77;
inline constexpr int SM_CXVIRTUALSCREEN = 78;
inline constexpr int SM_CYVIRTUALSCREEN = 79;
inline constexpr int SM_CMONITORS = 80;
int GetSystemMetrics(int index);

inline constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
inline constexpr UINT SPI_GETWORKAREA = 0x0030;
inline constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
// SPI_GETWORKAREA fills a TRect (the primary monitor's work area),
// SPI_GETDRAGFULLWINDOWS a BOOL, SPI_GETWHEELSCROLLLINES a UINT.
BOOL SystemParametersInfo(UINT action, UINT param, void* out, UINT winIni = 0);

// --- cursors ---------------------------------------------------------------------------

inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_CROSS = 32515;
inline constexpr int IDC_UPARROW = 32516;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZENESW = 32643;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;
inline constexpr int IDC_NO = 32648;
inline constexpr int IDC_HAND = 32649;
inline constexpr int IDC_APPSTARTING = 32650;
inline constexpr int IDC_HELP = 32651;
// One of the standard cursors; `instance` is kept for the platform's shape
// and must be null.
HCURSOR LoadCursor(void* instance, int cursorId);
// The IDC_ number of a cursor handle (0 for null).
int CursorId(HCURSOR cursor);
// Returns the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// How far the visible pixels of a cursor reach below its hot spot, so that a
// hint shown under the pointer is not covered by it. The shapes are the
// desktop's, without pictures of their own here, so the figures are those of
// the standard 32-pixel shapes; a null or unknown cursor counts as the arrow.
int CursorVisibleHeight(HCURSOR cursor);

// --- clipboard -----------------------------------------------------------------------

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_UNICODETEXT = 13;
// Text in code page 936; the desktop's clipboard holds it as Unicode.
BOOL SetClipboardText(const AnsiString& text);
AnsiString GetClipboardText();
BOOL IsClipboardFormatAvailable(UINT format);

// --- caret -----------------------------------------------------------------------------

// A caret of width x height pixels for the window (one per program); it is
// hidden until ShowCaret and blinks by inverting the pixels under it.
BOOL CreateCaret(HWND hwnd, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);  // client coordinates of the caret's window
BOOL GetCaretPos(TPoint& point);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT ms);

// --- sound -----------------------------------------------------------------------------

// The platform's warning beep; counted, as there is no sound here.
BOOL MessageBeep(UINT type);
