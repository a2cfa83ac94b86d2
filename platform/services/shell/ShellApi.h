#pragma once
// The shell calls, under the platform's names: opening a document or URL
// with the desktop's handler, and notification icons in the desktop's tray
// (further below). The handler is the desktop's opener (xdg-open), started
// directly with an argument vector, never through a shell, so no character of
// the URL is ever interpreted; the call returns as soon as it has started.

#include <cstdint>
#include <memory>
#include <string>

#include "WinTypes.h"

// A module handle. ShellExecuteA uses it only as a number: above 32 when the
// handler started, one of the error codes below otherwise.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

using LPCSTR = const char*;
using INT = int;

// Error results of ShellExecuteA (all 32 or below).
inline constexpr int SE_ERR_FNF = 2;            // no file or URL given
inline constexpr int SE_ERR_PNF = 3;            // the working directory does not exist
inline constexpr int SE_ERR_ACCESSDENIED = 5;   // the handler may not be run
inline constexpr int SE_ERR_OOM = 8;            // out of memory, or the argument is too long
inline constexpr int SE_ERR_NOASSOC = 31;       // no handler for the verb, or none installed

// The number a successful ShellExecuteA returns as its handle.
inline constexpr int kShellExecuteStarted = 42;

constexpr bool ShellExecuteSucceeded(HINSTANCE result) { return reinterpret_cast<std::intptr_t>(result) > 32; }

// Opens `file` (a URL such as "mailto:..." or a path) with the desktop's
// handler. `verb` "open" in any case, or null, is the only verb the desktop
// knows; any other gives SE_ERR_NOASSOC without starting anything. `file` is
// text in the program's code page and reaches the handler as one UTF-8
// argument; a relative path that starts with '-' is passed as "./-..." so the
// handler cannot take it for an option. A non-empty `directory` becomes the
// handler's working directory. `owner`, `parameters` and `showCommand` have no
// counterpart for a desktop handler and are ignored (a document takes no
// parameters; the handler decides how its window appears).
//
// The handler runs in its own session with only the standard streams
// inherited. It is not waited for; a background thread collects its exit
// status, so it never lingers as a zombie.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT showCommand);

// The program started as the handler: "xdg-open" (found through PATH) unless
// replaced. Tests put a small script here to see exactly what the handler
// receives; an empty name restores the default.
void SetShellOpenHandler(std::string program);
const std::string& ShellOpenHandler();

// ---- notification icons (the system tray) ------------------------------------------------

class TrayHost;

inline constexpr DWORD NIM_ADD = 0x00000000;
inline constexpr DWORD NIM_MODIFY = 0x00000001;
inline constexpr DWORD NIM_DELETE = 0x00000002;

inline constexpr UINT NIF_MESSAGE = 0x00000001;
inline constexpr UINT NIF_ICON = 0x00000002;
inline constexpr UINT NIF_TIP = 0x00000004;
inline constexpr UINT NIF_STATE = 0x00000008;
inline constexpr UINT NIF_INFO = 0x00000010;

inline constexpr UINT NIN_BALLOONUSERCLICK = 0x0405;  // WM_USER + 5

// The record sizes callers fill in: the first layout (a 64-byte tip) and
// the later one with state and balloon fields (a 128-byte tip).
inline constexpr DWORD NOTIFYICONDATA_V1_SIZE = 88;
inline constexpr DWORD NOTIFYICONDATA_V2_SIZE = 488;

struct NOTIFYICONDATA {
    DWORD cbSize = NOTIFYICONDATA_V2_SIZE;
    HWND hWnd = nullptr;          // the window that gets the callback message
    UINT uID = 0;                 // the icon's number among that window's icons
    UINT uFlags = 0;              // which of the fields below count (NIF_)
    UINT uCallbackMessage = 0;    // sent with wParam = uID, lParam = the mouse message
    HICON hIcon = nullptr;        // copied: the caller may destroy it afterwards
    char szTip[128] = {};         // code page 936, ends at the first zero
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char szInfo[256] = {};
    UINT uTimeout = 0;
    char szInfoTitle[64] = {};
    DWORD dwInfoFlags = 0;
};

// Adds, changes or removes the icon of (hWnd, uID) in the desktop's tray.
// NIM_ADD fails when the icon exists already, when the record is not valid,
// or when the desktop has no tray (ShellNotifyIconError says which); the
// program must then keep its window reachable. NIM_MODIFY and NIM_DELETE fail
// for an icon that does not exist. The pointer on the icon reaches hWnd as
// uCallbackMessage with uID in wParam and WM_MOUSEMOVE, WM_xBUTTONDOWN,
// WM_xBUTTONUP or WM_xBUTTONDBLCLK in lParam. When a tray appears on the
// desktop later, every top-level window is sent the message registered as
// "TaskbarCreated", and the icons must be added again.
BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data);
// Why the last failing Shell_NotifyIcon failed (empty after a success).
const std::string& ShellNotifyIconError();
// Replaces the tray the icons go to (tests use a stand-in); null goes back to
// the desktop's. Icons of the previous tray are forgotten.
void SetTrayHost(std::unique_ptr<TrayHost> host);
// Handles the tray's news now (the window system also does it on a timer).
void PollTray();
