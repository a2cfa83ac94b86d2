// The monitors through the RandR extension, spoken directly on the Xlib
// connection: the three requests this program needs (the version, the
// screen-change events and the list of monitors) do not justify loading
// libXrandr and libXrender at every start.

#include "X11RandR.h"

#include <cstring>
#include <vector>

#include <X11/Xlibint.h>
#include <X11/extensions/randr.h>
#include <X11/extensions/randrproto.h>

namespace {

// Xlib drops events of extensions it has no converter for; a screen change
// needs no fields beyond its type.
Bool ScreenChangeToEvent(Display* display, XEvent* event, xEvent* wire) {
    event->type = wire->u.u.type & 0x7F;
    event->xany.serial = _XSetLastRequestRead(display, reinterpret_cast<xGenericReply*>(wire));
    event->xany.send_event = (wire->u.u.type & 0x80) != 0;
    event->xany.display = display;
    event->xany.window = None;
    return True;
}

}  // namespace

RandRConnection OpenRandR(Display* dpy, Window root) {
    RandRConnection randr;
    int event = 0, error = 0;
    if (!XQueryExtension(dpy, "RANDR", &randr.opcode, &event, &error)) return randr;
    bool monitors = false;
    LockDisplay(dpy);
    {
        xRRQueryVersionReq* req;
        GetReq(RRQueryVersion, req);
        req->reqType = CARD8(randr.opcode);
        req->randrReqType = X_RRQueryVersion;
        req->majorVersion = 1;
        req->minorVersion = 5;
        xRRQueryVersionReply rep;
        if (_XReply(dpy, reinterpret_cast<xReply*>(&rep), 0, xTrue))
            monitors = rep.majorVersion > 1 || (rep.majorVersion == 1 && rep.minorVersion >= 5);
    }
    {
        xRRSelectInputReq* req;
        GetReq(RRSelectInput, req);
        req->reqType = CARD8(randr.opcode);
        req->randrReqType = X_RRSelectInput;
        req->window = CARD32(root);
        req->enable = RRScreenChangeNotifyMask;
    }
    UnlockDisplay(dpy);
    SyncHandle();
    XESetWireToEvent(dpy, event + RRScreenChangeNotify, ScreenChangeToEvent);
    randr.eventBase = event + RRScreenChangeNotify;
    randr.listsMonitors = monitors;
    return randr;
}

std::vector<RandRMonitor> RandRMonitors(Display* dpy, Window root, const RandRConnection& randr) {
    std::vector<RandRMonitor> out;
    if (!randr.listsMonitors) return out;
    LockDisplay(dpy);
    xRRGetMonitorsReq* req;
    GetReq(RRGetMonitors, req);
    req->reqType = CARD8(randr.opcode);
    req->randrReqType = X_RRGetMonitors;
    req->window = CARD32(root);
    req->get_active = xTrue;
    xRRGetMonitorsReply rep;
    if (_XReply(dpy, reinterpret_cast<xReply*>(&rep), 0, xFalse)) {
        // Each monitor: its description, then one CARD32 per output.
        std::vector<CARD32> data(rep.length);
        if (rep.length) _XRead(dpy, reinterpret_cast<char*>(data.data()), long(rep.length) * 4);
        std::size_t at = 0;
        for (CARD32 i = 0; i < rep.nmonitors && at + sz_xRRMonitorInfo / 4 <= data.size(); ++i) {
            xRRMonitorInfo info;
            std::memcpy(&info, data.data() + at, sz_xRRMonitorInfo);
            at += sz_xRRMonitorInfo / 4 + info.noutput;
            out.push_back({info.x, info.y, int(info.width), int(info.height), info.primary != 0});
        }
    }
    UnlockDisplay(dpy);
    SyncHandle();
    return out;
}
