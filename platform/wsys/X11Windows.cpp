// The X windows of the top-level windows: created, placed, shaped, shown,
// hidden and iconified as the window system says, named and pictured for the
// window manager, and followed wherever the window manager or the user puts
// them. Popups that never take the focus (menus, hints, drop-down lists) are
// override-redirect: the window manager leaves them alone. Every other
// window is managed, borderless through the Motif hints.

#include "X11Backend.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <unistd.h>

#include <algorithm>

#include "Icons.h"

namespace {

constexpr long kWindowEvents = ExposureMask | StructureNotifyMask | PropertyChangeMask | FocusChangeMask |
                               KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | EnterWindowMask | LeaveWindowMask;

// ICCCM WM_STATE values.
constexpr long kNormalState = 1;
constexpr long kIconicState = 3;
// How long a window manager may take to carry out an iconify or restore.
constexpr std::uint64_t kRequestSettleMs = 2000;

void SetUtf8(Display* d, ::Window w, Atom property, Atom utf8, const std::string& text) {
    XChangeProperty(d, w, property, utf8, 8, PropModeReplace, reinterpret_cast<const unsigned char*>(text.data()),
                    int(text.size()));
}

void SetInitialState(Display* d, ::Window w, long state) {
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = int(state);
    XSetWMHints(d, w, &hints);
}

}  // namespace

bool X11Backend::CreateNative(Native& n) {
    if (n.window) return true;
    const NativeWindowState& st = n.state;
    n.size = {Up(std::max(st.rect.Width(), 1)), Up(std::max(st.rect.Height(), 1))};
    n.overrideRedirect = st.noActivate;
    XSetWindowAttributes attrs{};
    attrs.background_pixmap = None;  // our pixels cover it; no flash of a background first
    attrs.border_pixel = 0;
    attrs.bit_gravity = NorthWestGravity;
    attrs.override_redirect = n.overrideRedirect ? True : False;
    attrs.event_mask = kWindowEvents;
    attrs.cursor = CursorFor(cursorId_);
    n.window = XCreateWindow(display_, root_, Up(st.rect.Left), Up(st.rect.Top), unsigned(n.size.cx),
                             unsigned(n.size.cy), 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixmap | CWBorderPixel | CWBitGravity | CWOverrideRedirect | CWEventMask | CWCursor,
                             &attrs);
    if (!n.window) return false;
    n.placed = st.rect.TopLeft();
    n.requested.clear();
    n.lastReport = n.placed;
    n.parentIsRoot = true;

    XClassHint cls{const_cast<char*>("mirvodict"), const_cast<char*>("Mirvodict")};
    XSetClassHint(display_, n.window, &cls);
    Atom protocols[] = {atoms_.wmDeleteWindow};
    XSetWMProtocols(display_, n.window, protocols, 1);
    const long pid = long(getpid());
    XChangeProperty(display_, n.window, atoms_.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    // No frame: the skin draws the window's own.
    const long motif[5] = {2 /* decorations given */, 0, 0 /* none */, 0, 0};
    XChangeProperty(display_, n.window, atoms_.motifHints, atoms_.motifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    // The window goes where the program puts it, not where the window
    // manager would place a new window.
    if (XSizeHints* hints = XAllocSizeHints()) {
        hints->flags = USPosition | PPosition | USSize | PSize;
        hints->x = Up(st.rect.Left);
        hints->y = Up(st.rect.Top);
        hints->width = n.size.cx;
        hints->height = n.size.cy;
        XSetWMNormalHints(display_, n.window, hints);
        XFree(hints);
    }
    SetInitialState(display_, n.window, kNormalState);
    n.shapeApplied = false;
    n.titleApplied = false;
    n.iconsApplied = false;
    n.opacity = -1;
    n.above = false;
    CreateInputContext(n);
    return true;
}

void X11Backend::ApplyShape(Native& n) {
    const TSize size{n.state.rect.Width(), n.state.rect.Height()};
    if (size.cx <= 0 || size.cy <= 0) return;
    if (n.shapeApplied && n.shapedSize == size && n.appliedShape == n.state.shape) return;
    if (!n.state.shape && !n.keyShape) {
        XShapeCombineMask(display_, n.window, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        TRegion shape(TRect{0, 0, size.cx, size.cy});
        if (n.state.shape) shape.Combine(shape, *n.state.shape, RGN_AND);
        if (n.keyShape) shape.Combine(shape, *n.keyShape, RGN_AND);
        std::vector<XRectangle> rects;
        for (const TRect& r : shape.Rects())
            rects.push_back({short(Up(r.Left)), short(Up(r.Top)), static_cast<unsigned short>(Up(r.Width())),
                             static_cast<unsigned short>(Up(r.Height()))});
        XShapeCombineRectangles(display_, n.window, ShapeBounding, 0, 0, rects.data(), int(rects.size()), ShapeSet,
                                YXBanded);
    }
    n.shapeApplied = true;
    n.shapedSize = size;
    n.appliedShape = n.state.shape;
}

// The caption and the icons the desktop shows in its window list and task bar.
void X11Backend::ApplyLooks(Native& n) {
    if (!n.titleApplied || n.title != n.state.title) {
        n.title = n.state.title;
        n.titleApplied = true;
        SetUtf8(display_, n.window, atoms_.netWmName, atoms_.utf8String, n.title);
        SetUtf8(display_, n.window, XA_WM_NAME, atoms_.utf8String, n.title);
    }
    if (n.iconsApplied && n.icon == n.state.icon && n.smallIcon == n.state.smallIcon) return;
    n.icon = n.state.icon;
    n.smallIcon = n.state.smallIcon;
    n.iconsApplied = true;
    // Width, height and the ARGB rows of each icon; format-32 data travels in longs.
    std::vector<unsigned long> data;
    for (HICON h : {n.icon, n.smallIcon != n.icon ? n.smallIcon : nullptr}) {
        const IconPixels* icon = IconPixelsOf(h);
        if (!icon) continue;
        data.push_back(static_cast<unsigned long>(icon->width));
        data.push_back(static_cast<unsigned long>(icon->height));
        for (std::uint32_t p : icon->argb) data.push_back(p);
    }
    if (data.empty()) XDeleteProperty(display_, n.window, atoms_.netWmIcon);
    else
        XChangeProperty(display_, n.window, atoms_.netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
}

// Opacity is the compositing manager's business; without one the window
// shows opaque, as it would anywhere without one.
void X11Backend::ApplyOpacity(Native& n) {
    const int alpha = n.state.layered ? int(n.state.alpha) : 255;
    if (alpha == n.opacity) return;
    n.opacity = alpha;
    if (alpha >= 255) {
        XDeleteProperty(display_, n.window, atoms_.netWmOpacity);
        return;
    }
    const unsigned long value = static_cast<unsigned long>(alpha) * 0x01010101UL;
    XChangeProperty(display_, n.window, atoms_.netWmOpacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
}

// A managed window that stays on top asks the window manager for it; before
// mapping through the property it reads, afterwards through a request.
void X11Backend::ApplyAbove(Native& n) {
    if (n.overrideRedirect || n.above == n.state.topmost) return;
    n.above = n.state.topmost;
    if (!n.mapped) {
        if (n.above)
            XChangeProperty(display_, n.window, atoms_.netWmState, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&atoms_.netWmStateAbove), 1);
        else
            XDeleteProperty(display_, n.window, atoms_.netWmState);
        return;
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = n.window;
    e.xclient.message_type = atoms_.netWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = n.above ? 1 : 0;
    e.xclient.data.l[1] = long(atoms_.netWmStateAbove);
    e.xclient.data.l[3] = 1;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void X11Backend::MoveResize(Native& n) {
    const TSize size{Up(std::max(n.state.rect.Width(), 1)), Up(std::max(n.state.rect.Height(), 1))};
    const TPoint pos = n.state.rect.TopLeft();
    const bool resize = size != n.size;
    // Until the window system has heard where the desktop put the window,
    // its older position is not a request to move the window back.
    const bool move = pos != n.placed && !n.movePending;
    if (!resize && !move) return;
    if (move) {
        n.placed = pos;
        n.requested.push_back(pos);
        // A window that never hears back about its requests must not grow
        // the list without end.
        if (n.requested.size() > 64) n.requested.erase(n.requested.begin());
    }
    n.size = size;
    if (move && resize)
        XMoveResizeWindow(display_, n.window, Up(pos.X), Up(pos.Y), unsigned(size.cx), unsigned(size.cy));
    else if (move)
        XMoveWindow(display_, n.window, Up(pos.X), Up(pos.Y));
    else
        XResizeWindow(display_, n.window, unsigned(size.cx), unsigned(size.cy));
}

void X11Backend::Show(Native& n) {
    if (n.iconified) {
        // Mapping an iconic window is the ICCCM way back to the normal state.
        SetInitialState(display_, n.window, kNormalState);
        XMapWindow(display_, n.window);
        n.mapRequested = true;
        n.iconified = false;
        n.visible = true;
        n.requestedState = kNormalState;
        n.requestedAt = Now();
        return;
    }
    if (n.visible) return;
    SetInitialState(display_, n.window, kNormalState);
    XMapRaised(display_, n.window);
    n.mapRequested = true;
    n.visible = true;
    // A popup (a menu from the tray icon) shown while none of the program's
    // windows holds the desktop's input focus takes it: only a program with
    // the focus hears the user turn to another one, which is what closes
    // such a popup. Window managers do not focus popups themselves.
    if (n.overrideRedirect && !appActive_) XSetInputFocus(display_, n.window, RevertToParent, CurrentTime);
}

void X11Backend::Hide(Native& n) {
    if (!n.window || (!n.visible && !n.iconified)) {
        n.visible = n.iconified = false;
        return;
    }
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    if (n.overrideRedirect) XUnmapWindow(display_, n.window);
    else XWithdrawWindow(display_, n.window, screen_);
    n.visible = false;
    n.iconified = false;
    if (focus == n.window) ReturnInputFocus();
}

// A minimised window goes to the window manager's icons, where the task bar
// and window list still offer it. Without a window manager nothing could
// bring it back, so it is only hidden, until the program restores it.
void X11Backend::Iconify(Native& n) {
    if (n.iconified) return;
    if (!CreateNative(n)) return;
    if (n.overrideRedirect || !HasWindowManager()) {
        Hide(n);
        return;
    }
    const bool wasVisible = n.visible;
    ::Window focus = None;
    int revert = 0;
    if (wasVisible) XGetInputFocus(display_, &focus, &revert);
    MoveResize(n);
    ApplyShape(n);
    ApplyLooks(n);
    if (wasVisible) {
        XIconifyWindow(display_, n.window, screen_);
    } else {
        SetInitialState(display_, n.window, kIconicState);
        XMapWindow(display_, n.window);
    }
    n.iconified = true;
    n.visible = false;
    n.requestedState = kIconicState;
    n.requestedAt = Now();
    if (wasVisible && focus == n.window) ReturnInputFocus();
}

bool X11Backend::HasWindowManager() {
    auto windowProperty = [&](::Window owner) -> ::Window {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        ::Window result = None;
        if (XGetWindowProperty(display_, owner, atoms_.netSupportingWmCheck, 0, 1, False, XA_WINDOW, &type, &format,
                               &count, &after, &data) == Success &&
            type == XA_WINDOW && format == 32 && count == 1 && data)
            result = ::Window(reinterpret_cast<unsigned long*>(data)[0]);
        if (data) XFree(data);
        return result;
    };
    const ::Window wm = windowProperty(root_);
    return wm != None && windowProperty(wm) == wm;
}

void X11Backend::SyncWindow(const NativeWindowState& state) {
    Native& n = windows_[state.hwnd];
    n.state = state;
    if (state.minimized) {
        Iconify(n);
        return;
    }
    if (!state.shown) {
        Hide(n);
        return;
    }
    if (!n.window && !CreateNative(n)) return;
    MoveResize(n);
    ApplyShape(n);
    ApplyLooks(n);
    ApplyOpacity(n);
    ApplyAbove(n);
    Show(n);
}

void X11Backend::DestroyNativeWindow(HWND hwnd) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    Native& n = it->second;
    ::Window focus = None;
    int revert = 0;
    if (n.window && n.visible) XGetInputFocus(display_, &focus, &revert);
    if (n.ic) XDestroyIC(n.ic);
    FreeImage(n.pixels);
    const ::Window gone = n.window;
    if (gone) XDestroyWindow(display_, gone);
    windows_.erase(it);
    std::erase(stacking_, hwnd);
    if (gone && focus == gone) ReturnInputFocus();
}

// Hiding or destroying the window that holds the desktop's input focus
// leaves the focus nowhere, and keys would be lost: hand it to the topmost
// window that may take it.
void X11Backend::ReturnInputFocus() {
    for (HWND h : stacking_) {
        auto it = windows_.find(h);
        if (it == windows_.end() || !it->second.visible || !it->second.window) continue;
        if (it->second.state.noActivate) continue;
        XSetInputFocus(display_, it->second.window, RevertToParent, CurrentTime);
        return;
    }
}

void X11Backend::Restack(const std::vector<HWND>& topFirst) {
    std::vector<HWND> shown;
    for (HWND h : topFirst) {
        auto it = windows_.find(h);
        if (it != windows_.end() && it->second.visible) shown.push_back(h);
    }
    if (shown == stacking_) return;
    stacking_ = shown;
    // Raised from the bottom up, each one through the window manager when
    // it manages the window, so the order holds among its frames too.
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) XRaiseWindow(display_, windows_[*it].window);
}

// --- what the server reports about our windows ------------------------------------

void X11Backend::OnConfigure(const XConfigureEvent& e) {
    HWND hwnd = nullptr;
    Native* n = ByXWindow(e.window, &hwnd);
    if (!n) return;
    // A window manager's own report (synthetic) is in root coordinates; the
    // server's is relative to the parent, which is the root only while no
    // window manager has framed the window.
    if (e.send_event || n->parentIsRoot) {
        ReportPosition(hwnd, *n, {e.x, e.y});
        return;
    }
    int x = 0, y = 0;
    ::Window child = None;
    if (XTranslateCoordinates(display_, e.window, root_, 0, 0, &x, &y, &child)) ReportPosition(hwnd, *n, {x, y});
}

// A window manager framing the window (or, ending, handing it back to the
// root) says nothing yet about where the window is: a new frame may stand
// anywhere until the window manager places it and reports that.
void X11Backend::OnReparent(const XReparentEvent& e) {
    if (Native* n = ByXWindow(e.window)) n->parentIsRoot = e.parent == root_;
}

// A position the program asked for coming back is not news (it and every
// earlier request are done); nor is the same report twice. Any other is the
// window manager or the user moving the window, which the window system
// takes over so that clicks land where the controls are drawn.
void X11Backend::ReportPosition(HWND hwnd, Native& n, TPoint screenScaled) {
    const TPoint pos = Down(screenScaled);
    if (auto it = std::find(n.requested.begin(), n.requested.end(), pos); it != n.requested.end()) {
        n.requested.erase(n.requested.begin(), it + 1);
        n.lastReport = pos;
        return;
    }
    if (pos == n.lastReport) return;
    n.lastReport = pos;
    n.placed = pos;
    if (pos == n.state.rect.TopLeft()) return;
    n.state.rect = {pos.X, pos.Y, pos.X + n.state.rect.Width(), pos.Y + n.state.rect.Height()};
    BackendEvent ev;
    ev.kind = EventKind::DesktopMove;
    ev.hwnd = hwnd;
    ev.pos = pos;
    n.movePending = true;
    Push(ev);
}

// Only changes the desktop made are news: our own iconify and restore are
// recorded when asked for.
void X11Backend::OnWmState(HWND hwnd, Native& n) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long state = -1;
    if (XGetWindowProperty(display_, n.window, atoms_.wmState, 0, 2, False, atoms_.wmState, &type, &format, &count,
                           &after, &data) == Success &&
        format == 32 && count >= 1 && data)
        state = reinterpret_cast<long*>(data)[0];
    if (data) XFree(data);
    // A report read before the window manager carried out our own request
    // still shows the old state: that is not the desktop changing it.
    if (n.requestedState) {
        if (state == n.requestedState) n.requestedState = 0;
        else if (Now() - n.requestedAt < kRequestSettleMs) return;
        n.requestedState = 0;
    }
    BackendEvent ev;
    ev.hwnd = hwnd;
    if (state == kIconicState && !n.iconified && n.visible) {
        n.iconified = true;
        n.visible = false;
        ev.kind = EventKind::DesktopMinimize;
        Push(ev);
    } else if (state == kNormalState && n.iconified) {
        n.iconified = false;
        n.visible = true;
        ev.kind = EventKind::DesktopRestore;
        Push(ev);
    }
}

// Focus moves between our own windows are not the application losing it.
void X11Backend::OnFocusChange() {
    focusDirty_ = false;
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    const bool active = ByXWindow(focus) != nullptr;
    if (active == appActive_) return;
    appActive_ = active;
    BackendEvent ev;
    ev.kind = EventKind::AppActive;
    ev.active = active;
    Push(ev);
}
