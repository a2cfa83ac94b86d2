// An X request that names a window the server no longer has, sent on a
// connection of its own (as another program may do); kept apart from the
// tests so that Xlib's macros do not meet the window system's names.

#include "x11request_fixture.h"

#include <X11/Xlib.h>

bool SendToAVanishedWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const Window root = DefaultRootWindow(display);
    const Window gone = XCreateSimpleWindow(display, root, 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, gone);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = gone;
    event.xclient.format = 32;
    XSendEvent(display, gone, False, NoEventMask, &event);
    XSync(display, False);  // the error arrives here
    XCloseDisplay(display);
    return true;
}
