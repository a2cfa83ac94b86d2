#pragma once
// What the SDL backend tells the X11 desktop beyond SDL's own calls: whether
// a window manager runs (only then can a window be iconified and brought
// back), and the window's icons in every size it has (_NET_WM_ICON).

#include <optional>
#include <vector>

#include "Geometry.h"
#include "Icons.h"

struct SDL_Window;
struct SDL_SysWMmsg;

// True when a window manager announces itself on the window's screen
// (_NET_SUPPORTING_WM_CHECK on the root window, confirmed on the window it names).
bool DesktopHasWindowManager(SDL_Window* window);
// Makes an X error a reported event instead of the end of the program. Xlib's
// own handler exits on any error, and some are harmless races the program
// cannot prevent: a request naming a window the server has just destroyed
// (SDL wakes its event wait by sending to a window from a second connection,
// another program's window may vanish under a request). Those are ignored;
// any other error is written to the error stream once per kind.
void KeepXErrorsFromEndingTheProgram();
// Replaces the window's desktop icons; empty removes them.
void SetDesktopWindowIcons(SDL_Window* window, const std::vector<const IconPixels*>& icons);

// Where the X server saw the pointer for one pointer event (motion, button,
// crossing): in its window and on the screen, at the time of the event.
struct XPointerReport {
    unsigned long xwindow = 0;
    TPoint local;
    TPoint root;
    bool button = false;  // a press or a release
};
// Asks SDL to pass each X event on (SDL_SYSWMEVENT) ahead of its own events.
void ReceiveXEvents();
// The pointer report an X event carries; nothing for other events.
std::optional<XPointerReport> PointerReportOf(const SDL_SysWMmsg& msg);
// The pointer's position on the screen of `window`, asked of the X server.
bool QueryPointerPosition(SDL_Window* window, TPoint& root);
// Where `window` stands on its screen now, asked of the X server: the
// desktop reports moves late and passes through places it does not keep.
bool QueryWindowPosition(SDL_Window* window, TPoint& root);
// The X window of an SDL window; 0 when it has none.
unsigned long XWindowOf(SDL_Window* window);
