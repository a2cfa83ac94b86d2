#pragma once
// The desktop backend on Xlib: one borderless X window per visible top-level
// window, kept at its place and size, shaped from its region (XShape), with
// its opacity; pointer, key and input-method events as the X server reports
// them; the clipboard and the primary selection; monitors and work areas;
// pointer shapes; the window manager's titles, icons, iconify and restore.
// Window semantics (focus, activation, z-order rules) stay in the window system.
//
// A whole-number scale factor for sharp screens lives here alone: windows
// are composed at their normal size and enlarged when presented, and every
// position and size crossing this class is converted, so the layers above
// always see 1x coordinates.
//
// Only the X11*.cpp files include this header; the rest of the program opens
// the backend through DesktopBackend.h and so never meets Xlib's macros.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Backend.h"
#include "X11RandR.h"

// Latin-1 text (an X STRING, a key's Latin-1 characters) as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

class X11Backend : public Backend {
public:
    // Opens the display named by $DISPLAY; throws EInvalidOperation when
    // there is none.
    X11Backend();
    ~X11Backend() override;
    X11Backend(const X11Backend&) = delete;
    X11Backend& operator=(const X11Backend&) = delete;

    std::vector<MonitorDesc> Monitors() override;
    std::uint64_t Now() override;
    void Sleep(unsigned ms) override;
    bool PollEvent(BackendEvent& event) override;
    void WaitForEvent(int timeoutMs) override;
    void SyncWindow(const NativeWindowState& state) override;
    void DestroyNativeWindow(HWND hwnd) override;
    void Restack(const std::vector<HWND>& topFirst) override;
    void Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) override;
    void SetPointerShape(int cursorId) override;
    void CapturePointer(bool on) override;
    void WarpPointer(TPoint screen) override;
    bool PointerElsewhere(TPoint& screen) override;
    std::string ClipboardUtf8() override;
    void SetClipboardUtf8(const std::string& text) override;
    std::string PrimarySelectionUtf8() override;
    void SetPrimarySelectionUtf8(const std::string& text) override;
    void SetTextInputArea(const TRect& screenRect) override;
    // Desktop hotkeys and watched descriptors (X11Hotkeys.cpp).
    bool GrabHotkey(unsigned modifiers, int vk) override;
    void UngrabHotkey(unsigned modifiers, int vk) override;
    void WatchReadable(const std::vector<int>& fds) override;

    int Scale() const { return scale_; }
    // The scale of the backend that is open, 1 when none is.
    static int OpenScale() { return openScale_; }

private:
    // The pixels of one window as last presented, at the screen's scale, in
    // shared memory when the server offers it.
    struct Image {
        XImage* image = nullptr;
        XShmSegmentInfo shm{};
        bool shared = false;
        int width = 0, height = 0;
    };

    struct Native {
        ::Window window = 0;
        NativeWindowState state;
        bool overrideRedirect = false;
        bool visible = false;   // mapped by us and not iconified
        bool mapped = false;    // the server says it is viewable
        bool mapRequested = false;  // we asked for it to be shown and it has not been yet
        bool iconified = false; // minimised through the window manager (as far as we know)
        long requestedState = 0;        // the WM_STATE asked of the window manager and not yet reported
        std::uint64_t requestedAt = 0;
        TSize size;             // the X window's size, at the screen's scale
        std::optional<TRegion> appliedShape;
        std::optional<TRegion> keyShape;    // a colour-keyed window: where its pixels are not the key
        bool shapeApplied = false;
        TSize shapedSize;
        std::string title;
        bool titleApplied = false;
        HICON icon = nullptr, smallIcon = nullptr;
        bool iconsApplied = false;
        int opacity = -1;
        bool above = false;
        TPoint placed{-100000, -100000};    // the position last asked of the server (1x)
        std::vector<TPoint> requested;      // positions asked for and not yet reported back
        TPoint lastReport{-100000, -100000}; // the position the server reported last (1x)
        bool parentIsRoot = true;           // not framed by a window manager
        bool movePending = false;           // a DesktopMove not yet handed to the window system
        XIC ic = nullptr;
        Image pixels;
    };

    // One transfer of a large selection to a requestor, piece by piece (INCR).
    struct OutgoingTransfer {
        ::Window requestor = 0;
        Atom property = 0;
        Atom type = 0;
        std::string data;
        std::size_t offset = 0;
        std::uint64_t started = 0;
    };

    // --- X11Backend.cpp: the connection, the event pump -----------------------
    void InternAtoms();
    void ReadScale();
    // Reads every event the connection holds, answering the ones that need
    // an answer at once (selection requests) and queueing the rest.
    void DrainConnection();
    void Handle(XEvent& e);
    bool WaitReadable(int timeoutMs);
    Native* ByXWindow(::Window w, HWND* hwnd = nullptr);
    void Push(BackendEvent ev) { pending_.push_back(std::move(ev)); }

    // --- X11Windows.cpp: windows, shapes, the window manager -------------------
    bool CreateNative(Native& n);
    void ApplyShape(Native& n);
    void ApplyLooks(Native& n);
    void ApplyOpacity(Native& n);
    void ApplyAbove(Native& n);
    void MoveResize(Native& n);
    void Show(Native& n);
    void Hide(Native& n);
    void Iconify(Native& n);
    void ReturnInputFocus();
    bool HasWindowManager();
    void OnConfigure(const XConfigureEvent& e);
    void OnReparent(const XReparentEvent& e);
    void ReportPosition(HWND hwnd, Native& n, TPoint screenScaled);
    void OnWmState(HWND hwnd, Native& n);
    void OnFocusChange();

    // --- X11Present.cpp: the pixels ---------------------------------------------
    bool EnsureImage(Native& n);
    void FreeImage(Image& image);
    void PutImage(Native& n, const TRect& scaledRect);
    // Returns once the server has read every shared image put so far.
    void AwaitSharedPuts();
    void ShapeByColorKey(Native& n, const TBitmap& surface);

    // --- X11Input.cpp: pointer, keys, input method -------------------------------
    void OnPointer(const XEvent& e);
    void OnKey(XKeyEvent& e);
    void InputTakenByDesktop(bool returned);
    void OpenInputMethod();
    static void InputMethodEnded(XIM im, XPointer self, XPointer);
    static void InputMethodStarted(Display* display, XPointer self, XPointer);
    void CreateInputContext(Native& n);
    void ApplyTextInputArea();

    // --- X11Selections.cpp: clipboard and primary selection ----------------------
    void Own(Atom selection, const std::string& text);
    std::string Fetch(Atom selection);
    void OnSelectionRequest(const XSelectionRequestEvent& e);
    void OnSelectionClear(const XSelectionClearEvent& e);
    void OnRequestorPropertyDeleted(const XPropertyEvent& e);
    bool AwaitEvent(int type, ::Window w, Atom atom, XEvent& out, std::uint64_t deadline);

    // --- X11Monitors.cpp -------------------------------------------------------------
    std::vector<MonitorDesc> ReadMonitors();
    std::vector<long> ReadWorkArea();

    // --- X11Cursors.cpp ---------------------------------------------------------------
    Cursor CursorFor(int cursorId);

    // Scale conversions: X coordinates are the window system's times scale_.
    int Up(int v) const { return v * scale_; }
    int Down(int v) const { return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_); }
    TPoint Down(TPoint p) const { return {Down(p.X), Down(p.Y)}; }

    Display* display_ = nullptr;
    int screen_ = 0;
    ::Window root_ = 0;
    // A grabbed key pressed or released anywhere (X11Hotkeys.cpp); false
    // when the key is none of them.
    bool OnHotkey(const XKeyEvent& e);
    struct GrabbedKey {
        unsigned modifiers;
        int vk;
        unsigned keycode;
        unsigned mask;
    };
    std::vector<GrabbedKey> grabbedKeys_;
    // Modifier keys held as far as the program knows whose release never
    // came (the window manager held the keyboard meanwhile, as in its
    // Alt+drag) are let go when a later key event's state says they are up.
    void ReleaseLostModifiers(const XKeyEvent& e);
    std::vector<int> watchedFds_;
    Visual* visual_ = nullptr;
    int depth_ = 24;
    int scale_ = 1;
    static inline int openScale_ = 1;
    bool shm_ = false;
    // Shared-memory puts the server has not yet said it finished reading; it
    // says so with a completion event, usually read long before the next paint.
    int shmPutsPending_ = 0;
    int shmCompletion_ = -1;
    RandRConnection randr_;
    ::Window selectionWindow_ = 0;  // owns our selections and receives their transfers
    Time lastTime_ = CurrentTime;   // the server time of the latest user event
    std::uint64_t start_ = 0;

    struct {
        Atom wmProtocols, wmDeleteWindow, wmState, netWmName, netWmIcon, netWmPid, utf8String, motifHints,
            netWmOpacity, netWmState, netWmStateAbove, netWmStateHidden, netWorkarea, netSupportingWmCheck,
            netWmWindowType, netWmWindowTypeNormal, clipboard, targets, text, incr, multiple, timestamp,
            transfer, netCurrentDesktop;
    } atoms_{};

    std::map<HWND, Native> windows_;
    std::vector<HWND> stacking_;
    std::deque<BackendEvent> pending_;
    std::optional<std::vector<MonitorDesc>> monitors_;
    std::vector<long> workArea_;

    // Input.
    XIM im_ = nullptr;
    bool inputMethodPending_ = true;
    std::set<unsigned> keysDown_;  // key codes held, to tell auto-repeat from presses
    bool pointerInside_ = false;
    TPoint lastPointer_;
    ::Window lastPointerWindow_ = 0;
    bool captured_ = false;
    bool appActive_ = false;
    bool focusDirty_ = false;
    TRect textArea_;

    // Pointer shapes.
    std::map<int, Cursor> cursors_;
    int cursorId_ = 32512;

    // Selections we own: their text, and the time we took them.
    std::map<Atom, std::string> owned_;
    std::map<Atom, Time> ownedSince_;
    std::vector<OutgoingTransfer> transfers_;
};
