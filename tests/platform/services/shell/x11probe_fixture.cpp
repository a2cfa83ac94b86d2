#include <X11/Xlib.h>

#include <cstring>

#include "X11Probe.h"

namespace {

Window FindNamed(Display* d, Window w, const char* name) {
    char* wmName = nullptr;
    if (XFetchName(d, w, &wmName) && wmName) {
        const bool match = std::strcmp(wmName, name) == 0;
        XFree(wmName);
        if (match) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n)) return None;
    Window found = None;
    for (unsigned i = 0; i < n && found == None; ++i) found = FindNamed(d, children[i], name);
    if (children) XFree(children);
    return found;
}

}  // namespace

bool TrayOwned(const std::string& display) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return false;
    const bool owned = XGetSelectionOwner(d, XInternAtom(d, "_NET_SYSTEM_TRAY_S0", False)) != None;
    XCloseDisplay(d);
    return owned;
}

bool FindDockedWindow(const std::string& display, const std::string& name, DockedWindow& out) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return false;
    bool docked = false;
    if (const Window w = FindNamed(d, DefaultRootWindow(d), name.c_str()); w != None) {
        Window root, parent, *children = nullptr;
        unsigned n = 0;
        XQueryTree(d, w, &root, &parent, &children, &n);
        if (children) XFree(children);
        XWindowAttributes attrs;
        if (XGetWindowAttributes(d, w, &attrs)) {
            Window child;
            XTranslateCoordinates(d, w, root, 0, 0, &out.x, &out.y, &child);
            out.width = attrs.width;
            out.height = attrs.height;
            docked = parent != root && attrs.map_state == IsViewable;
        }
    }
    XCloseDisplay(d);
    return docked;
}
