// Another program on the test's display that gets in the dictionary's way:
//
//   desktop_rival stall-selection   owns the primary selection and never
//                                   answers a request for it
//   desktop_rival grab-key          holds Ctrl+Alt+Z (with every lock state)
//
// Prints "ready" once it holds what it takes, then waits to be killed.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
    const std::string mode = argc == 2 ? argv[1] : "";
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    const Window root = DefaultRootWindow(display);
    if (mode == "stall-selection") {
        const Window w = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(display, XA_PRIMARY, w, CurrentTime);
        if (XGetSelectionOwner(display, XA_PRIMARY) != w) return 1;
    } else if (mode == "grab-key") {
        const KeyCode z = XKeysymToKeycode(display, XK_z);
        for (const unsigned lock : {0u, unsigned(LockMask), unsigned(Mod2Mask), unsigned(LockMask | Mod2Mask)})
            XGrabKey(display, z, ControlMask | Mod1Mask | lock, root, False, GrabModeAsync, GrabModeAsync);
    } else {
        std::fprintf(stderr, "usage: desktop_rival stall-selection | grab-key\n");
        return 2;
    }
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    // Events are never read: a selection request stays unanswered.
    for (;;) pause();
}
