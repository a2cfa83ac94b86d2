// Pointer and keyboard input as the X server reports it. Every pointer event
// carries its own screen position (the root coordinates the server measured
// when it happened), never one computed from where the window is now: a
// window being dragged moves between one report and the next. Keys become
// the window system's virtual keys; typed and composed text comes through
// the input method (XIM), so Chinese typed through fcitx or ibus arrives as
// whole characters.

#include "X11Backend.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <clocale>
#include <string>

#include "VirtualKeys.h"
#include "WinMessages.h"

namespace {

int VirtualKey(KeySym k) {
    if (k >= XK_a && k <= XK_z) return 'A' + int(k - XK_a);
    if (k >= XK_A && k <= XK_Z) return 'A' + int(k - XK_A);
    if (k >= XK_0 && k <= XK_9) return '0' + int(k - XK_0);
    if (k >= XK_F1 && k <= XK_F12) return VK_F1 + int(k - XK_F1);
    if (k >= XK_KP_0 && k <= XK_KP_9) return VK_NUMPAD0 + int(k - XK_KP_0);
    switch (k) {
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_BackSpace: return VK_BACK;
    case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
    case XK_space: return VK_SPACE;
    case XK_Left: case XK_KP_Left: return VK_LEFT;
    case XK_Right: case XK_KP_Right: return VK_RIGHT;
    case XK_Up: case XK_KP_Up: return VK_UP;
    case XK_Down: case XK_KP_Down: return VK_DOWN;
    case XK_Home: case XK_KP_Home: return VK_HOME;
    case XK_End: case XK_KP_End: return VK_END;
    case XK_Prior: case XK_KP_Prior: return VK_PRIOR;
    case XK_Next: case XK_KP_Next: return VK_NEXT;
    case XK_Insert: case XK_KP_Insert: return VK_INSERT;
    case XK_Delete: case XK_KP_Delete: return VK_DELETE;
    case XK_Shift_L: case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L: case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L: case XK_Alt_R: case XK_Meta_L: case XK_Meta_R: return VK_MENU;
    case XK_Caps_Lock: return VK_CAPITAL;
    case XK_Menu: return VK_APPS;
    case XK_KP_Add: return VK_ADD;
    case XK_KP_Subtract: return VK_SUBTRACT;
    case XK_KP_Multiply: return VK_MULTIPLY;
    case XK_KP_Divide: return VK_DIVIDE;
    case XK_minus: case XK_underscore: return VK_OEM_MINUS;
    case XK_equal: case XK_plus: return VK_OEM_PLUS;
    case XK_comma: case XK_less: return VK_OEM_COMMA;
    case XK_period: case XK_greater: return VK_OEM_PERIOD;
    case XK_semicolon: case XK_colon: return VK_OEM_1;
    case XK_slash: case XK_question: return VK_OEM_2;
    case XK_grave: case XK_asciitilde: return VK_OEM_3;
    case XK_bracketleft: case XK_braceleft: return VK_OEM_4;
    case XK_backslash: case XK_bar: return VK_OEM_5;
    case XK_bracketright: case XK_braceright: return VK_OEM_6;
    case XK_apostrophe: case XK_quotedbl: return VK_OEM_7;
    default: return 0;
    }
}

// Control characters (Ctrl+letter, Backspace, Return) are keys, not text.
bool Printable(const std::string& text) {
    return !text.empty() && static_cast<unsigned char>(text[0]) >= 0x20 && text[0] != 0x7F;
}

}  // namespace

void X11Backend::OnPointer(const XEvent& e) {
    BackendEvent ev;
    switch (e.type) {
    case MotionNotify:
        if (!ByXWindow(e.xmotion.window)) return;
        lastTime_ = e.xmotion.time;
        ev.kind = EventKind::MouseMove;
        ev.pos = Down(TPoint{e.xmotion.x_root, e.xmotion.y_root});
        lastPointerWindow_ = e.xmotion.window;
        break;
    case EnterNotify:
    case LeaveNotify: {
        if (!ByXWindow(e.xcrossing.window)) return;
        if (e.type == LeaveNotify && e.xcrossing.mode == NotifyGrab && !captured_) InputTakenByDesktop(false);
        lastTime_ = e.xcrossing.time;
        const bool enter = e.type == EnterNotify;
        pointerInside_ = enter;
        if (!enter) return;
        lastPointerWindow_ = e.xcrossing.window;
        ev.kind = EventKind::MouseMove;
        ev.pos = Down(TPoint{e.xcrossing.x_root, e.xcrossing.y_root});
        break;
    }
    case ButtonPress:
    case ButtonRelease: {
        if (!ByXWindow(e.xbutton.window)) return;
        lastTime_ = e.xbutton.time;
        const bool press = e.type == ButtonPress;
        ev.pos = Down(TPoint{e.xbutton.x_root, e.xbutton.y_root});
        lastPointerWindow_ = e.xbutton.window;
        switch (e.xbutton.button) {
        case Button1: ev.button = MouseButton::Left; break;
        case Button2: ev.button = MouseButton::Middle; break;
        case Button3: ev.button = MouseButton::Right; break;
        case Button4:
        case Button5:
            // The wheel: one press per notch, its release means nothing.
            if (!press) return;
            ev.kind = EventKind::Wheel;
            ev.wheelDelta = e.xbutton.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
            lastPointer_ = ev.pos;
            Push(ev);
            return;
        default:
            return;
        }
        ev.kind = press ? EventKind::MouseDown : EventKind::MouseUp;
        break;
    }
    default:
        return;
    }
    lastPointer_ = ev.pos;
    Push(ev);
}

void X11Backend::OnKey(XKeyEvent& e) {
    if (e.time) lastTime_ = e.time;
    const bool press = e.type == KeyPress;
    BackendEvent ev;
    // An input method hands its composed text over as a press without a key.
    if (e.keycode != 0) {
        KeySym sym = XkbKeycodeToKeysym(display_, KeyCode(e.keycode), 0, 0);
        // The keypad's digits are its second level while Num Lock is on.
        if (const KeySym second = XkbKeycodeToKeysym(display_, KeyCode(e.keycode), 0, 1);
            IsKeypadKey(second) && (e.state & Mod2Mask) && second >= XK_KP_0 && second <= XK_KP_9)
            sym = second;
        ev.vk = VirtualKey(sym);
        if (press) {
            // With detectable auto-repeat a held key sends presses only.
            ev.repeat = !keysDown_.insert(e.keycode).second;
        } else {
            keysDown_.erase(e.keycode);
        }
        if (ev.vk) {
            ev.kind = press ? EventKind::KeyDown : EventKind::KeyUp;
            Push(ev);
        }
    }
    if (!press) return;
    std::string text;
    Native* n = ByXWindow(e.window);
    char buf[256];
    KeySym sym = NoSymbol;
    if (n && n->ic) {
        Status status = 0;
        int len = Xutf8LookupString(n->ic, &e, buf, int(sizeof buf), &sym, &status);
        if (status == XBufferOverflow) {
            std::string big(std::size_t(len), '\0');
            len = Xutf8LookupString(n->ic, &e, big.data(), len, &sym, &status);
            if (status == XLookupChars || status == XLookupBoth) text.assign(big.data(), std::size_t(std::max(len, 0)));
        } else if (status == XLookupChars || status == XLookupBoth) {
            text.assign(buf, std::size_t(std::max(len, 0)));
        }
    } else {
        const int len = XLookupString(&e, buf, int(sizeof buf), &sym, nullptr);
        // Without an input method XLookupString gives Latin-1.
        text = Latin1ToUtf8({buf, static_cast<std::size_t>(len)});
    }
    if (!Printable(text)) return;
    BackendEvent t;
    t.kind = EventKind::Text;
    t.text = std::move(text);
    Push(t);
}

// The desktop's input method, if one serves this locale (XMODIFIERS names
// fcitx or ibus), otherwise Xlib's own (dead keys and compose sequences).
// The locale is the user's only while the method opens, as the rest of the
// program relies on the C locale's rules. An input method that ends (it is
// restarted, the user switches) is dropped at once, or keys would go on
// being sent to it and be lost, and the next one to start is taken up.
void X11Backend::OpenInputMethod() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current ? current : "C";
    if (std::setlocale(LC_CTYPE, "") && XSupportsLocale()) {
        XSetLocaleModifiers("");
        im_ = XOpenIM(display_, nullptr, nullptr, nullptr);
        if (!im_) {
            XSetLocaleModifiers("@im=none");
            im_ = XOpenIM(display_, nullptr, nullptr, nullptr);
        }
    }
    if (im_) {
        XIMCallback destroyed{reinterpret_cast<XPointer>(this), &X11Backend::InputMethodEnded};
        XSetIMValues(im_, XNDestroyCallback, &destroyed, nullptr);
        for (auto& [h, n] : windows_)
            if (n.window) CreateInputContext(n);
        // The window that has the focus already got its focus event.
        ::Window focus = None;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        if (Native* n = ByXWindow(focus); n && n->ic) XSetICFocus(n->ic);
        ApplyTextInputArea();
    }
    std::setlocale(LC_CTYPE, previous.c_str());
}

void X11Backend::InputMethodEnded(XIM, XPointer self, XPointer) {
    auto* backend = reinterpret_cast<X11Backend*>(self);
    // The contexts went with the method.
    backend->im_ = nullptr;
    for (auto& [h, n] : backend->windows_) n.ic = nullptr;
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current ? current : "C";
    std::setlocale(LC_CTYPE, "");
    XSetLocaleModifiers("");
    XRegisterIMInstantiateCallback(backend->display_, nullptr, nullptr, nullptr, &X11Backend::InputMethodStarted,
                                   self);
    std::setlocale(LC_CTYPE, previous.c_str());
}

void X11Backend::InputMethodStarted(Display* display, XPointer self, XPointer) {
    auto* backend = reinterpret_cast<X11Backend*>(self);
    if (backend->im_) return;
    backend->OpenInputMethod();
    if (!backend->im_) return;
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current ? current : "C";
    std::setlocale(LC_CTYPE, "");
    XUnregisterIMInstantiateCallback(display, nullptr, nullptr, nullptr, &X11Backend::InputMethodStarted, self);
    std::setlocale(LC_CTYPE, previous.c_str());
}

void X11Backend::CreateInputContext(Native& n) {
    if (!im_ || n.ic) return;
    // The input method keeps its preedit and status in windows of its own;
    // the candidate window is placed at the spot the caret gives.
    n.ic = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, n.window,
                     XNFocusWindow, n.window, nullptr);
    if (!n.ic)
        n.ic = XCreateIC(im_, XNInputStyle, XIMPreeditNone | XIMStatusNone, XNClientWindow, n.window, XNFocusWindow,
                         n.window, nullptr);
    if (!n.ic) return;
    long filter = 0;
    if (!XGetICValues(n.ic, XNFilterEvents, &filter, nullptr) && filter) {
        XWindowAttributes attrs;
        if (XGetWindowAttributes(display_, n.window, &attrs))
            XSelectInput(display_, n.window, attrs.your_event_mask | filter);
    }
}

// The candidate window's place goes to the input context of the window the
// caret is in; the caret may be placed before that window is shown or has
// the focus, so it is given again when either happens.
void X11Backend::SetTextInputArea(const TRect& screenRect) {
    textArea_ = screenRect;
    ApplyTextInputArea();
}

void X11Backend::ApplyTextInputArea() {
    if (IsRectEmpty(textArea_)) return;
    for (auto& [h, n] : windows_) {
        if (!n.visible || !n.ic || !PtInRect(n.state.rect, textArea_.TopLeft())) continue;
        XPoint spot{short(Up(textArea_.Left - n.state.rect.Left)), short(Up(textArea_.Bottom - n.state.rect.Top))};
        XVaNestedList attrs = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
        XSetICValues(n.ic, XNPreeditAttributes, attrs, nullptr);
        XFree(attrs);
        return;
    }
}

// Pointer events keep coming to the program while it holds the pointer,
// wherever the pointer goes: menus and move loops need the clicks outside.
void X11Backend::CapturePointer(bool on) {
    if (on == captured_) return;
    if (!on) {
        XUngrabPointer(display_, CurrentTime);
        captured_ = false;
        XFlush(display_);
        return;
    }
    ::Window target = None;
    if (Native* n = ByXWindow(lastPointerWindow_); n && n->visible) target = n->window;
    for (auto it = stacking_.begin(); !target && it != stacking_.end(); ++it)
        if (auto w = windows_.find(*it); w != windows_.end() && w->second.visible) target = w->second.window;
    if (!target) return;
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    captured_ = XGrabPointer(display_, target, True, mask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) ==
                GrabSuccess;
    XFlush(display_);
}

void X11Backend::WarpPointer(TPoint screen) {
    XWarpPointer(display_, None, root_, 0, 0, 0, 0, Up(screen.X), Up(screen.Y));
    XFlush(display_);
}

bool X11Backend::PointerElsewhere(TPoint& screen) {
    Native* n = ByXWindow(lastPointerWindow_);
    if (pointerInside_ && n && n->visible) return false;
    ::Window rootWindow = None, child = None;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display_, root_, &rootWindow, &child, &rx, &ry, &wx, &wy, &mask)) return false;
    screen = Down(TPoint{rx, ry});
    return true;
}

// Another client (a window manager moving the window on Alt+drag) holds the
// keyboard or the pointer for a while: presses and releases meanwhile went
// to it. The window system hears that its input was interrupted (the
// application's activation reported again, unchanged), which ends any Alt
// tap in progress; once the grab is over, keys we saw go down but that are
// up now are released.
void X11Backend::InputTakenByDesktop(bool returned) {
    BackendEvent ev;
    ev.kind = EventKind::AppActive;
    ev.active = appActive_;
    Push(ev);
    if (!returned || keysDown_.empty()) return;
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    for (auto it = keysDown_.begin(); it != keysDown_.end();) {
        const unsigned code = *it;
        if (code < 256 && (keys[code / 8] & (1 << (code % 8)))) {
            ++it;
            continue;
        }
        it = keysDown_.erase(it);
        BackendEvent up;
        up.kind = EventKind::KeyUp;
        up.vk = VirtualKey(XkbKeycodeToKeysym(display_, KeyCode(code), 0, 0));
        if (up.vk) Push(up);
    }
}
