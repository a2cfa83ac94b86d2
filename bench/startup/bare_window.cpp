// The floor the program's start is measured against: a bare Xlib program
// that shows a 550 x 390 window in the middle of the screen, painted in one
// colour, and then waits for events until it is stopped.
#include <X11/Xlib.h>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const int screen = DefaultScreen(display);
    const int w = 550, h = 390;
    const int x = (DisplayWidth(display, screen) - w) / 2, y = (DisplayHeight(display, screen) - h) / 2;
    XSetWindowAttributes attrs{};
    attrs.background_pixmap = None;
    attrs.event_mask = ExposureMask;
    const Window window = XCreateWindow(display, RootWindow(display, screen), x, y, w, h, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWBackPixmap | CWEventMask,
                                        &attrs);
    XMapWindow(display, window);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, 0xEEF1F6);
    for (;;) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == Expose) {
            XFillRectangle(display, window, gc, 0, 0, w, h);
            XFlush(display);
        }
    }
}
