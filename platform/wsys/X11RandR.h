#pragma once
// The monitors through the RandR extension, spoken directly on the Xlib
// connection (see X11RandR.cpp). Kept free of the window system's headers:
// the X protocol headers it needs define names of their own (BOOL).

#include <X11/Xlib.h>

#include <vector>

struct RandRMonitor {
    int x = 0, y = 0, width = 0, height = 0;
    bool primary = false;
};

struct RandRConnection {
    int opcode = 0;
    int eventBase = -1;         // the screen-change event's type; -1: no RandR
    bool listsMonitors = false; // RandR 1.5
};

// Asks for RandR 1.5 and for screen-change events on `root`.
RandRConnection OpenRandR(Display* display, Window root);
std::vector<RandRMonitor> RandRMonitors(Display* display, Window root, const RandRConnection& randr);
