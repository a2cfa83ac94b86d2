// Xlib calls on the display connection SDL opened, through SDL's window
// manager information. Kept apart so that X11's macros stay out of the rest.

#include "SdlX11Desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>

namespace {

bool X11Of(SDL_Window* window, Display*& display, Window& xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    display = info.info.x11.display;
    xwindow = info.info.x11.window;
    return display != nullptr;
}

// The window named by a WINDOW property of `owner`, or None.
Window WindowProperty(Display* display, Window owner, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window result = None;
    if (XGetWindowProperty(display, owner, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data)
        result = Window(reinterpret_cast<unsigned long*>(data)[0]);
    if (data) XFree(data);
    return result;
}

// A property read on a window that no longer exists must not end the program.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int ReportXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
    static bool reported[256] = {};
    if (!reported[error->error_code]) {
        reported[error->error_code] = true;
        char text[128] = {};
        XGetErrorText(display, error->error_code, text, sizeof text - 1);
        std::fprintf(stderr, "X error ignored: %s (request %d)\n", text, int(error->request_code));
    }
    return 0;
}

}  // namespace

bool DesktopHasWindowManager(SDL_Window* window) {
    Display* display = nullptr;
    Window xwindow = None;
    if (!X11Of(window, display, xwindow)) return false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Window root = DefaultRootWindow(display);
    XSync(display, False);
    auto* previous = XSetErrorHandler(IgnoreXError);
    const Window wm = WindowProperty(display, root, check);
    const bool confirmed = wm != None && WindowProperty(display, wm, check) == wm;
    XSync(display, False);
    XSetErrorHandler(previous);
    return confirmed;
}

void SetDesktopWindowIcons(SDL_Window* window, const std::vector<const IconPixels*>& icons) {
    Display* display = nullptr;
    Window xwindow = None;
    if (!X11Of(window, display, xwindow)) return;
    const Atom netWmIcon = XInternAtom(display, "_NET_WM_ICON", False);
    // Width, height and the ARGB rows of each icon; format-32 data travels in longs.
    std::vector<unsigned long> data;
    for (const IconPixels* icon : icons) {
        if (!icon) continue;
        data.push_back(static_cast<unsigned long>(icon->width));
        data.push_back(static_cast<unsigned long>(icon->height));
        for (std::uint32_t p : icon->argb) data.push_back(p);
    }
    if (data.empty()) XDeleteProperty(display, xwindow, netWmIcon);
    else
        XChangeProperty(display, xwindow, netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
    XFlush(display);
}

void KeepXErrorsFromEndingTheProgram() { XSetErrorHandler(ReportXError); }

void ReceiveXEvents() { SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE); }

std::optional<XPointerReport> PointerReportOf(const SDL_SysWMmsg& msg) {
    if (msg.subsystem != SDL_SYSWM_X11) return std::nullopt;
    const XEvent& e = msg.msg.x11.event;
    switch (e.type) {
    case MotionNotify:
        return XPointerReport{e.xmotion.window, {e.xmotion.x, e.xmotion.y}, {e.xmotion.x_root, e.xmotion.y_root}};
    case ButtonPress:
    case ButtonRelease:
        return XPointerReport{e.xbutton.window, {e.xbutton.x, e.xbutton.y}, {e.xbutton.x_root, e.xbutton.y_root}, true};
    case EnterNotify:
    case LeaveNotify:
        return XPointerReport{e.xcrossing.window, {e.xcrossing.x, e.xcrossing.y},
                              {e.xcrossing.x_root, e.xcrossing.y_root}};
    default:
        return std::nullopt;
    }
}

bool QueryPointerPosition(SDL_Window* window, TPoint& root) {
    Display* display = nullptr;
    Window xwindow = None;
    if (!X11Of(window, display, xwindow)) return false;
    Window rootWindow = None, child = None;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &rootWindow, &child, &rx, &ry, &wx, &wy, &mask))
        return false;
    root = {rx, ry};
    return true;
}

bool QueryWindowPosition(SDL_Window* window, TPoint& root) {
    Display* display = nullptr;
    Window xwindow = None;
    if (!X11Of(window, display, xwindow)) return false;
    Window child = None;
    int x = 0, y = 0;
    if (!XTranslateCoordinates(display, xwindow, DefaultRootWindow(display), 0, 0, &x, &y, &child)) return false;
    root = {x, y};
    return true;
}

unsigned long XWindowOf(SDL_Window* window) {
    Display* display = nullptr;
    Window xwindow = None;
    return X11Of(window, display, xwindow) ? xwindow : 0;
}
