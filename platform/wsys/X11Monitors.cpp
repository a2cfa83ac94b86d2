// The monitors (XRandR) and the desktop's work area (_NET_WORKAREA, the part
// not taken by panels), read again when either changes.

#include "X11Backend.h"

#include <X11/Xatom.h>

#include <algorithm>

std::vector<long> X11Backend::ReadWorkArea() {
    auto cardinals = [&](Atom property) {
        std::vector<long> out;
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, root_, property, 0, 1024, False, XA_CARDINAL, &type, &format, &count, &after,
                               &data) == Success &&
            type == XA_CARDINAL && format == 32 && data)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        if (data) XFree(data);
        return out;
    };
    std::vector<long> all = cardinals(atoms_.netWorkarea);
    // One rectangle per virtual desktop: the current one's.
    std::size_t desktop = 0;
    if (const auto current = cardinals(atoms_.netCurrentDesktop); !current.empty() && current[0] >= 0)
        desktop = std::size_t(current[0]);
    if (all.size() < (desktop + 1) * 4) desktop = 0;
    if (all.size() < 4) return {};
    return {all.begin() + long(desktop * 4), all.begin() + long(desktop * 4 + 4)};
}

std::vector<MonitorDesc> X11Backend::ReadMonitors() {
    std::vector<TRect> screens;
    for (const RandRMonitor& m : RandRMonitors(display_, root_, randr_)) {
        const TRect r{m.x, m.y, m.x + m.width, m.y + m.height};
        // The primary display comes first.
        if (m.primary) screens.insert(screens.begin(), r);
        else screens.push_back(r);
    }
    if (screens.empty())
        screens.push_back({0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)});
    TRect work;
    if (workArea_.size() == 4)
        work = {int(workArea_[0]), int(workArea_[1]), int(workArea_[0] + workArea_[2]), int(workArea_[1] + workArea_[3])};
    std::vector<MonitorDesc> out;
    for (const TRect& s : screens) {
        // The desktop gives one work area for all monitors together; each
        // monitor's is its part of it.
        TRect w = IsRectEmpty(work) ? s : IntersectRect(s, work);
        if (IsRectEmpty(w)) w = s;
        const auto down = [&](const TRect& r) { return TRect{Down(r.Left), Down(r.Top), Down(r.Right), Down(r.Bottom)}; };
        out.push_back({down(s), down(w)});
    }
    return out;
}

std::vector<MonitorDesc> X11Backend::Monitors() {
    if (!monitors_) monitors_ = ReadMonitors();
    return *monitors_;
}
