#pragma once
// Opening a document or URL with the desktop's handler, under the platform's
// name. The handler is the desktop's opener (xdg-open), started directly with
// an argument vector, never through a shell, so no character of the URL is
// ever interpreted; the call returns as soon as the handler has started.

#include <cstdint>
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
