// The X connection and its event pump. Every event is read here: selection
// requests are answered at once (so a program pasting from us is served while
// we sit in a modal loop of our own), the rest become the window system's
// events in the order the server sent them.

#include "X11Backend.h"

#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/extensions/shape.h>

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "Exceptions.h"

namespace {

// Xlib's default handler ends the process on any error, and some are
// harmless races the program cannot prevent: a request naming a window the
// server has just destroyed (another program's window may vanish under a
// request; a window manager may be replaced meanwhile). None ends the
// program; each kind is written to the error stream once.
int ReportXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
    static bool reported[256][256] = {};
    bool& seen = reported[error->error_code][error->request_code];
    if (!seen) {
        seen = true;
        char text[128] = {};
        XGetErrorText(display, error->error_code, text, sizeof text - 1);
        std::fprintf(stderr, "X error ignored: %s (request %d.%d)\n", text, int(error->request_code),
                     int(error->minor_code));
    }
    return 0;
}

// The connection is gone (the X server ended or the session closed): there
// is nothing left to show anything on. Xlib does not let the program go on
// after this handler, so it ends here, saying why instead of crashing.
int DisplayLost(Display*) {
    std::fprintf(stderr, "mirvodict: the connection to the X display was lost; ending.\n");
    std::fflush(stderr);
    std::_Exit(1);
}

std::uint64_t MonotonicMs() {
    using namespace std::chrono;
    return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

X11Backend::X11Backend() : start_(MonotonicMs()) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        const char* name = std::getenv("DISPLAY");
        throw EInvalidOperation(std::string("Cannot open the display: ") +
                                (name && *name ? std::string("no X server answers at ") + name : "DISPLAY is not set"));
    }
    XSetErrorHandler(ReportXError);
    XSetIOErrorHandler(DisplayLost);
    screen_ = DefaultScreen(display_);
    root_ = RootWindow(display_, screen_);
    visual_ = DefaultVisual(display_, screen_);
    depth_ = DefaultDepth(display_, screen_);
    InternAtoms();
    ReadScale();
    openScale_ = scale_;

    int major = 0, minor = 0;
    Bool pixmaps = False;
    // Shared memory serves only a server on this machine; a remote one
    // (ssh forwarding) takes the pixels by XPutImage.
    if (XShmQueryVersion(display_, &major, &minor, &pixmaps)) {
        shm_ = true;
        shmCompletion_ = XShmGetEventBase(display_) + ShmCompletion;
    }
    randr_ = OpenRandR(display_, root_);
    // The work area (_NET_WORKAREA) lives on the root window.
    XSelectInput(display_, root_, PropertyChangeMask);
    // Held keys repeat as presses without releases between them.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display_, True, &supported);

    XSetWindowAttributes attrs{};
    attrs.event_mask = PropertyChangeMask;
    selectionWindow_ = XCreateWindow(display_, root_, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask,
                                     &attrs);
    workArea_ = ReadWorkArea();
    XFlush(display_);
}

X11Backend::~X11Backend() {
    openScale_ = 1;
    for (auto& [h, n] : windows_) {
        if (n.ic) XDestroyIC(n.ic);
        FreeImage(n.pixels);
        if (n.window) XDestroyWindow(display_, n.window);
    }
    windows_.clear();
    for (auto& [id, c] : cursors_) XFreeCursor(display_, c);
    if (im_) XCloseIM(im_);
    XDestroyWindow(display_, selectionWindow_);
    XCloseDisplay(display_);
}

void X11Backend::InternAtoms() {
    const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "_NET_WM_NAME", "_NET_WM_ICON",
                           "_NET_WM_PID", "UTF8_STRING", "_MOTIF_WM_HINTS", "_NET_WM_WINDOW_OPACITY",
                           "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_HIDDEN", "_NET_WORKAREA",
                           "_NET_SUPPORTING_WM_CHECK", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL",
                           "CLIPBOARD", "TARGETS", "TEXT", "INCR", "MULTIPLE", "TIMESTAMP", "MIRVO_SELECTION",
                           "_NET_CURRENT_DESKTOP"};
    constexpr int count = int(sizeof names / sizeof names[0]);
    static_assert(sizeof atoms_ == count * sizeof(Atom));
    XInternAtoms(display_, const_cast<char**>(names), count, False, reinterpret_cast<Atom*>(&atoms_));
}

// Whole-number enlargement for sharp screens: what MIRVO_SCALE says (1 to
// 3), otherwise 2 when the desktop declares 144 dpi or more for its fonts
// (Xft.dpi, the setting desktops change for high-density screens).
void X11Backend::ReadScale() {
    if (const char* env = std::getenv("MIRVO_SCALE"); env && *env) {
        const int v = std::atoi(env);
        scale_ = v >= 1 && v <= 3 ? v : 1;
        return;
    }
    scale_ = 1;
    const char* resources = XResourceManagerString(display_);
    if (!resources) return;
    for (const char* p = resources; p && *p;) {
        const char* eol = std::strchr(p, '\n');
        const std::string line(p, eol ? std::size_t(eol - p) : std::strlen(p));
        if (line.rfind("Xft.dpi:", 0) == 0) {
            const double dpi = std::atof(line.c_str() + 8);
            if (dpi >= 144) scale_ = 2;
        }
        p = eol ? eol + 1 : nullptr;
    }
}

std::uint64_t X11Backend::Now() { return MonotonicMs() - start_ + 1; }

void X11Backend::Sleep(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

X11Backend::Native* X11Backend::ByXWindow(::Window w, HWND* hwnd) {
    if (!w) return nullptr;
    for (auto& [h, n] : windows_)
        if (n.window == w) {
            if (hwnd) *hwnd = h;
            return &n;
        }
    return nullptr;
}

void X11Backend::DrainConnection() {
    while (XPending(display_)) {
        XEvent e;
        XNextEvent(display_, &e);
        // The input method sees every event first and keeps the ones it
        // composes from.
        if (XFilterEvent(&e, None)) continue;
        Handle(e);
    }
}

void X11Backend::Handle(XEvent& e) {
    if (e.type == shmCompletion_) {
        if (shmPutsPending_ > 0) --shmPutsPending_;
        return;
    }
    if (randr_.eventBase >= 0 && e.type == randr_.eventBase) {
        monitors_.reset();
        BackendEvent ev;
        ev.kind = EventKind::DisplayChange;
        Push(ev);
        return;
    }
    HWND hwnd = nullptr;
    switch (e.type) {
    case MotionNotify:
    case ButtonPress:
    case ButtonRelease:
    case EnterNotify:
    case LeaveNotify:
        OnPointer(e);
        return;
    case KeyPress:
    case KeyRelease:
        // Grabbed keys come to the root window, not to one of ours; other
        // keys may come there too (the focus on the root) and stay keys.
        if (e.xkey.window == root_ && OnHotkey(e.xkey)) return;
        ReleaseLostModifiers(e.xkey);
        OnKey(e.xkey);
        return;
    case FocusIn:
    case FocusOut:
        if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab) {
            if (ByXWindow(e.xfocus.window)) InputTakenByDesktop(e.type == FocusIn);
            return;
        }
        if (Native* n = ByXWindow(e.xfocus.window); n && n->ic) {
            if (e.type == FocusIn) {
                XSetICFocus(n->ic);
                ApplyTextInputArea();
            } else {
                XUnsetICFocus(n->ic);
            }
        }
        focusDirty_ = true;
        return;
    case Expose:
        if (Native* n = ByXWindow(e.xexpose.window); n && n->pixels.image)
            PutImage(*n, {e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height});
        return;
    case ConfigureNotify:
        OnConfigure(e.xconfigure);
        return;
    case ReparentNotify:
        OnReparent(e.xreparent);
        return;
    case MapNotify:
        if (Native* n = ByXWindow(e.xmap.window, &hwnd)) {
            n->mapped = true;
            const bool requested = n->mapRequested;
            n->mapRequested = false;
            // A window manager shows a window we asked it to show once its
            // frame stands where it placed it (which it may not report
            // otherwise). Other maps (a new window manager taking the window
            // over) come before the frame is placed.
            if (requested && !n->parentIsRoot) {
                int x = 0, y = 0;
                ::Window child = None;
                if (XTranslateCoordinates(display_, n->window, root_, 0, 0, &x, &y, &child))
                    ReportPosition(hwnd, *n, {x, y});
            }
        }
        return;
    case UnmapNotify:
        if (Native* n = ByXWindow(e.xunmap.window)) n->mapped = false;
        return;
    case PropertyNotify:
        if (e.xproperty.window == root_) {
            if (e.xproperty.atom == atoms_.netWorkarea || e.xproperty.atom == atoms_.netCurrentDesktop) {
                std::vector<long> area = ReadWorkArea();
                if (area != workArea_) {
                    workArea_ = std::move(area);
                    monitors_.reset();
                    BackendEvent ev;
                    ev.kind = EventKind::DisplayChange;
                    Push(ev);
                }
            }
            return;
        }
        if (e.xproperty.state == PropertyDelete) OnRequestorPropertyDeleted(e.xproperty);
        if (Native* n = ByXWindow(e.xproperty.window, &hwnd);
            n && (e.xproperty.atom == atoms_.wmState || e.xproperty.atom == atoms_.netWmState))
            OnWmState(hwnd, *n);
        return;
    case ClientMessage:
        if (e.xclient.message_type == atoms_.wmProtocols && Atom(e.xclient.data.l[0]) == atoms_.wmDeleteWindow &&
            ByXWindow(e.xclient.window)) {
            BackendEvent ev;
            ev.kind = EventKind::Quit;
            Push(ev);
        }
        return;
    case SelectionRequest:
        OnSelectionRequest(e.xselectionrequest);
        return;
    case SelectionClear:
        OnSelectionClear(e.xselectionclear);
        return;
    case MappingNotify:
        XRefreshKeyboardMapping(&e.xmapping);
        return;
    default:
        return;
    }
}

bool X11Backend::PollEvent(BackendEvent& event) {
    if (pending_.empty()) DrainConnection();
    if (pending_.empty() && focusDirty_) OnFocusChange();
    if (pending_.empty()) return false;
    event = std::move(pending_.front());
    pending_.pop_front();
    if (event.kind == EventKind::DesktopMove)
        if (auto it = windows_.find(event.hwnd); it != windows_.end()) it->second.movePending = false;
    return true;
}

bool X11Backend::WaitReadable(int timeoutMs) {
    XFlush(display_);
    if (XPending(display_)) return true;
    std::vector<pollfd> fds{{ConnectionNumber(display_), POLLIN, 0}};
    for (const int fd : watchedFds_) fds.push_back({fd, POLLIN, 0});
    return poll(fds.data(), fds.size(), timeoutMs) > 0;
}

void X11Backend::WaitForEvent(int timeoutMs) {
    if (!pending_.empty() || focusDirty_) return;
    // The input method opens once the first window is on the screen: its
    // start (a compose table parsed, a server asked) need not delay the
    // first picture.
    if (inputMethodPending_ &&
        std::any_of(windows_.begin(), windows_.end(), [](const auto& w) { return w.second.visible; })) {
        inputMethodPending_ = false;
        OpenInputMethod();
    }
    // Selection requests and other events that need no program attention
    // are answered here; only queued events end the wait early.
    const std::uint64_t end = timeoutMs < 0 ? 0 : Now() + std::uint64_t(timeoutMs);
    for (;;) {
        int left = -1;
        if (timeoutMs >= 0) {
            const std::uint64_t now = Now();
            if (now >= end) return;
            left = int(end - now);
        }
        if (!WaitReadable(left)) return;
        DrainConnection();
        if (!pending_.empty() || focusDirty_) return;
        // A watched descriptor with input ends the wait as well.
        if (!watchedFds_.empty()) {
            std::vector<pollfd> fds;
            for (const int fd : watchedFds_) fds.push_back({fd, POLLIN, 0});
            if (poll(fds.data(), fds.size(), 0) > 0) return;
        }
    }
}
