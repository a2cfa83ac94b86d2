// The freedesktop system tray on X11, on a display connection of its own:
// each icon is a small window handed to the owner of the _NET_SYSTEM_TRAY_S<n>
// selection, which embeds it (XEmbed). The window draws the icon blended over
// the tray's background, names itself with the tip and shows the tip in a
// small window while the pointer rests on it. A new selection owner
// (announced by a MANAGER message on the root window) is a new tray.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "AnsiString.h"
#include "DesktopBackend.h"
#include "TBitmap.h"
#include "TCanvas.h"
#include "TColor.h"
#include "TrayHost.h"

namespace {

constexpr long kSystemTrayRequestDock = 0;
constexpr int kDefaultSide = 24;

// The side an icon asks the tray for: larger on a sharp screen, as the
// program's windows are.
int IconSide() { return kDefaultSide * DesktopScale(); }
constexpr unsigned long kTipDelayMs = 600;
constexpr long kIconEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                             StructureNotifyMask | EnterWindowMask | LeaveWindowMask;

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Requests on windows the tray may have destroyed must not end the program.
class IgnoredErrors {
public:
    explicit IgnoredErrors(Display* d) : display_(d) {
        XSync(display_, False);
        previous_ = XSetErrorHandler(IgnoreXError);
    }
    ~IgnoredErrors() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

struct TrayIconWindow {
    Window window = None;
    IconPixels picture;
    std::string tip;
    int width = IconSide();
    int height = IconSide();
    bool pointerInside = false;
    unsigned long enteredAt = 0;
    int pointerX = 0, pointerY = 0;  // root coordinates
};

class X11TrayHost : public TrayHost {
public:
    explicit X11TrayHost(Display* display) : display_(display) {
        screen_ = DefaultScreen(display_);
        root_ = RootWindow(display_, screen_);
        selection_ = XInternAtom(display_, ("_NET_SYSTEM_TRAY_S" + std::to_string(screen_)).c_str(), False);
        opcode_ = XInternAtom(display_, "_NET_SYSTEM_TRAY_OPCODE", False);
        manager_ = XInternAtom(display_, "MANAGER", False);
        xembedInfo_ = XInternAtom(display_, "_XEMBED_INFO", False);
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        // The MANAGER announcement of a new tray goes to the root window.
        XSelectInput(display_, root_, StructureNotifyMask);
        WatchTray();
        XFlush(display_);
    }

    ~X11TrayHost() override {
        for (auto& [id, icon] : icons_) XDestroyWindow(display_, icon.window);
        HideTip();
        XCloseDisplay(display_);
    }

    bool Add(int id, const IconPixels& picture, const std::string& tip) override {
        WatchTray();
        if (tray_ == None) return false;
        TrayIconWindow icon;
        icon.picture = picture;
        icon.tip = tip;
        XSetWindowAttributes attrs{};
        attrs.background_pixmap = ParentRelative;
        attrs.event_mask = kIconEvents;
        icon.window = XCreateWindow(display_, root_, 0, 0, unsigned(IconSide()), unsigned(IconSide()), 0, CopyFromParent,
                                    InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attrs);
        // XEmbed version 0, mapped once embedded.
        const long info[2] = {0, 1};
        XChangeProperty(display_, icon.window, xembedInfo_, xembedInfo_, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(info), 2);
        // Trays size an embedded icon by the size it asks for.
        XSizeHints* hints = XAllocSizeHints();
        if (hints) {
            hints->flags = PMinSize | PBaseSize;
            hints->min_width = hints->base_width = IconSide();
            hints->min_height = hints->base_height = IconSide();
            XSetWMNormalHints(display_, icon.window, hints);
            XFree(hints);
        }
        XClassHint cls{const_cast<char*>("mirvodict-tray"), const_cast<char*>("mirvodict")};
        XSetClassHint(display_, icon.window, &cls);
        SetName(icon);
        const Window w = icon.window;
        icons_.emplace(id, std::move(icon));
        Dock(w);
        XFlush(display_);
        return true;
    }

    void Update(int id, const IconPixels& picture, const std::string& tip) override {
        auto it = icons_.find(id);
        if (it == icons_.end()) return;
        it->second.picture = picture;
        if (it->second.tip != tip) {
            it->second.tip = tip;
            SetName(it->second);
            if (tipFor_ == id) HideTip();
        }
        Draw(it->second);
        XFlush(display_);
    }

    void Remove(int id) override {
        auto it = icons_.find(id);
        if (it == icons_.end()) return;
        if (tipFor_ == id) HideTip();
        {
            IgnoredErrors guard(display_);
            XDestroyWindow(display_, it->second.window);
        }
        icons_.erase(it);
    }

    void Poll() override {
        while (XPending(display_)) {
            XEvent e;
            XNextEvent(display_, &e);
            Handle(e);
        }
        // The tip appears once the pointer has rested on an icon for a while.
        for (auto& [id, icon] : icons_)
            if (icon.pointerInside && tipFor_ == 0 && !icon.tip.empty() && Now() - icon.enteredAt >= kTipDelayMs)
                ShowTip(id, icon);
        XFlush(display_);
    }

private:
    unsigned long Now() const {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<unsigned long>(ts.tv_sec) * 1000ul + static_cast<unsigned long>(ts.tv_nsec / 1000000);
    }

    // Finds the tray's window and watches it for its end.
    void WatchTray() {
        XGrabServer(display_);
        tray_ = XGetSelectionOwner(display_, selection_);
        if (tray_ != None) XSelectInput(display_, tray_, StructureNotifyMask);
        XUngrabServer(display_);
        XFlush(display_);
    }

    void Dock(Window w) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = tray_;
        ev.xclient.message_type = opcode_;
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = CurrentTime;
        ev.xclient.data.l[1] = kSystemTrayRequestDock;
        ev.xclient.data.l[2] = static_cast<long>(w);
        IgnoredErrors guard(display_);
        XSendEvent(display_, tray_, False, NoEventMask, &ev);
    }

    void SetName(const TrayIconWindow& icon) {
        XChangeProperty(display_, icon.window, netWmName_, utf8_, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(icon.tip.data()), int(icon.tip.size()));
        XStoreName(display_, icon.window, icon.tip.c_str());
    }

    TrayIconWindow* ByWindow(Window w, int* id = nullptr) {
        for (auto& [key, icon] : icons_)
            if (icon.window == w) {
                if (id) *id = key;
                return &icon;
            }
        return nullptr;
    }

    void Handle(XEvent& e) {
        if (e.type == ClientMessage && e.xclient.window == root_ && Atom(e.xclient.message_type) == manager_ &&
            Atom(e.xclient.data.l[1]) == selection_) {
            // A new tray: it shows none of our windows.
            HideTip();
            for (auto& [id, icon] : icons_) {
                IgnoredErrors guard(display_);
                XDestroyWindow(display_, icon.window);
            }
            icons_.clear();
            WatchTray();
            if (OnTrayCreated) OnTrayCreated();
            return;
        }
        if (e.type == DestroyNotify && e.xdestroywindow.window == tray_ && tray_ != None) {
            // The tray is gone; its icons fall back onto the root window, where
            // they must not linger.
            tray_ = None;
            HideTip();
            IgnoredErrors guard(display_);
            for (auto& [id, icon] : icons_) XUnmapWindow(display_, icon.window);
            return;
        }
        if (e.type == Expose && e.xany.window == tip_ && tip_ != None) {
            if (e.xexpose.count == 0) DrawTip();
            return;
        }
        int id = 0;
        TrayIconWindow* icon = ByWindow(e.xany.window, &id);
        if (!icon) return;
        switch (e.type) {
        case Expose:
            if (e.xexpose.count == 0) Draw(*icon);
            break;
        case ConfigureNotify:
            icon->width = e.xconfigure.width;
            icon->height = e.xconfigure.height;
            Draw(*icon);
            break;
        case EnterNotify:
            icon->pointerInside = true;
            icon->enteredAt = Now();
            icon->pointerX = e.xcrossing.x_root;
            icon->pointerY = e.xcrossing.y_root;
            break;
        case LeaveNotify:
            icon->pointerInside = false;
            if (tipFor_ == id) HideTip();
            break;
        case MotionNotify:
            icon->pointerX = e.xmotion.x_root;
            icon->pointerY = e.xmotion.y_root;
            Report(id, TrayPointer::Move, TrayButton::NoButton, e.xmotion.time);
            break;
        case ButtonPress:
        case ButtonRelease: {
            if (tipFor_ == id) HideTip();
            icon->enteredAt = Now();
            TrayButton b = TrayButton::NoButton;
            if (e.xbutton.button == Button1) b = TrayButton::Left;
            else if (e.xbutton.button == Button2) b = TrayButton::Middle;
            else if (e.xbutton.button == Button3) b = TrayButton::Right;
            if (b != TrayButton::NoButton)
                Report(id, e.type == ButtonPress ? TrayPointer::Down : TrayPointer::Up, b, e.xbutton.time);
            break;
        }
        default:
            break;
        }
    }

    void Report(int id, TrayPointer kind, TrayButton button, Time time) {
        if (!OnPointer) return;
        TrayPointerEvent ev;
        ev.icon = id;
        ev.kind = kind;
        ev.button = button;
        ev.time = std::uint32_t(time);
        OnPointer(ev);
    }

    // The icon, scaled to the window and centred, blended over what the tray
    // shows behind the window.
    void Draw(TrayIconWindow& icon) {
        const int w = std::max(icon.width, 1), h = std::max(icon.height, 1);
        IgnoredErrors guard(display_);
        XClearWindow(display_, icon.window);
        if (icon.picture.argb.empty()) return;
        XImage* image = XGetImage(display_, icon.window, 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
        if (!image) return;
        const int side = std::min(w, h);
        const IconPixels scaled = ScaleIconPixels(icon.picture, side, side);
        const int left = (w - side) / 2, top = (h - side) / 2;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const std::uint32_t p = scaled.argb[std::size_t(y) * std::size_t(side) + std::size_t(x)];
                const unsigned a = p >> 24;
                if (a == 0) continue;
                const unsigned long under = XGetPixel(image, left + x, top + y);
                unsigned long out = 0;
                for (int s : {16, 8, 0}) {
                    const unsigned c = ((p >> s) & 0xFF) * a + ((under >> s) & 0xFF) * (255 - a);
                    out |= static_cast<unsigned long>((c + 127) / 255) << s;
                }
                XPutPixel(image, left + x, top + y, out);
            }
        GC gc = XCreateGC(display_, icon.window, 0, nullptr);
        XPutImage(display_, icon.window, gc, image, 0, 0, 0, 0, unsigned(w), unsigned(h));
        XFreeGC(display_, gc);
        XDestroyImage(image);
    }

    // The tip: the text on the hint colour in a thin frame, below the pointer.
    void ShowTip(int id, const TrayIconWindow& icon) {
        HideTip();
        TBitmap bitmap;
        TCanvas& c = bitmap.Canvas();
        c.Font.SetName("Arial");
        c.Font.SetHeight(-12);
        const AnsiString text = Utf8ToAnsi(icon.tip);
        TRect r{0, 0, 400, 0};
        c.DrawText(text, r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
        const int w = r.Width() + 8, h = r.Height() + 6;
        bitmap.SetSize(w, h);
        c.Brush.Color = clInfoBk;
        c.FillRect({0, 0, w, h});
        c.Brush.Color = clBlack;
        c.FrameRect({0, 0, w, h});
        c.Brush.Style = bsClear;
        c.Font.SetColor(clInfoText);
        TRect textRect{4, 3, w - 4, h - 3};
        c.DrawText(text, textRect, DT_NOPREFIX | DT_WORDBREAK);

        const int sw = DisplayWidth(display_, screen_), sh = DisplayHeight(display_, screen_);
        int x = std::clamp(icon.pointerX, 0, std::max(0, sw - w));
        int y = icon.pointerY + 20;
        if (y + h > sh) y = icon.pointerY - h - 4;
        XSetWindowAttributes attrs{};
        attrs.override_redirect = True;
        attrs.event_mask = ExposureMask;
        tip_ = XCreateWindow(display_, root_, x, y, unsigned(w), unsigned(h), 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect | CWEventMask, &attrs);
        tipPicture_ = std::make_unique<TBitmap>();
        tipPicture_->Assign(bitmap);
        XMapRaised(display_, tip_);
        DrawTip();
        tipFor_ = id;
    }

    void DrawTip() {
        if (tip_ == None || !tipPicture_ || DefaultDepth(display_, screen_) < 24) return;
        const int w = tipPicture_->Width(), h = tipPicture_->Height();
        XImage* image = XCreateImage(display_, DefaultVisual(display_, screen_), unsigned(DefaultDepth(display_, screen_)),
                                     ZPixmap, 0, nullptr, unsigned(w), unsigned(h), 32, 0);
        if (!image) return;
        image->data = static_cast<char*>(std::malloc(std::size_t(image->bytes_per_line) * std::size_t(h)));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) XPutPixel(image, x, y, tipPicture_->ScanLine(y)[x] & 0xFFFFFF);
        GC gc = XCreateGC(display_, tip_, 0, nullptr);
        XPutImage(display_, tip_, gc, image, 0, 0, 0, 0, unsigned(w), unsigned(h));
        XFreeGC(display_, gc);
        XDestroyImage(image);
    }

    void HideTip() {
        tipPicture_.reset();
        if (tip_ != None) XDestroyWindow(display_, tip_);
        tip_ = None;
        tipFor_ = 0;
    }

    Display* display_;
    int screen_ = 0;
    Window root_ = None;
    Window tray_ = None;
    Window tip_ = None;
    std::unique_ptr<TBitmap> tipPicture_;
    int tipFor_ = 0;
    Atom selection_, opcode_, manager_, xembedInfo_, netWmName_, utf8_;
    std::map<int, TrayIconWindow> icons_;
};

}  // namespace

std::unique_ptr<TrayHost> OpenX11TrayHost() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    Display* display = XOpenDisplay(name);
    if (!display) return nullptr;
    return std::make_unique<X11TrayHost>(display);
}
