#pragma once
// The inside of the window system: the window objects, the queue, input,
// focus, timer and caret state, and the helpers the platform calls share.
// Only the files of this folder use it.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Backend.h"
#include "TBitmap.h"
#include "TCanvas.h"
#include "TRegion.h"
#include "Windows.h"

struct WindowClassEntry {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HCURSOR cursor = nullptr;
    TColor background = clNone;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<const WindowClassEntry> cls;
    DWORD style = 0;
    DWORD exStyle = 0;
    Window* parent = nullptr;  // the desktop for top-level windows
    Window* owner = nullptr;
    std::vector<Window*> children;  // z-order, top first
    TRect rect;                     // in the parent's client coordinates (screen for top-level)
    TRect client;                   // in window coordinates
    std::optional<TRegion> region;  // window coordinates
    BYTE alpha = 255;
    TColor colorKey = 0;
    DWORD layeredFlags = 0;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    UINT_PTR id = 0;
    std::map<std::string, void*, std::less<>> props;
    AnsiString text;
    HICON bigIcon = nullptr;    // WM_SETICON: what the desktop shows for the window
    HICON smallIcon = nullptr;

    // Painting. The update region is in window coordinates; the part outside
    // the client area is the frame still to be painted by WM_NCPAINT.
    TRegion update;
    bool erasePending = false;
    bool internalPaint = false;
    bool beganPaint = false;

    // Top-level windows: the backing surface the whole tree paints into, the
    // part painted but not yet shown, and whether the backend's copy of the
    // window's position, shape and visibility is stale.
    std::unique_ptr<TBitmap> surface;
    TRegion surfaceDirty;
    bool nativeStale = true;
    bool nativeCreated = false;
    bool nativeShown = false;

    TRect normalRect;  // where a minimised or maximised window returns to
    HWND lastActivePopup = nullptr;
    bool frameActive = false;  // the default frame's look, from WM_NCACTIVATE
    bool destroying = false;

    int Width() const { return rect.Width(); }
    int Height() const { return rect.Height(); }
    bool Has(DWORD s) const { return (style & s) == s; }
    bool HasEx(DWORD s) const { return (exStyle & s) == s; }
};

struct TimerEntry {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    std::uint64_t due = 0;
    std::uint64_t seq = 0;
    TIMERPROC proc = nullptr;
    std::function<void()> internal;  // timers of the window system itself
};

struct DcEntry {
    std::unique_ptr<TCanvas> canvas;
    HWND hwnd = nullptr;
    Window* root = nullptr;
    TRegion surfaceClip;  // top-level window coordinates
    bool hidCaret = false;
};

struct CaretState {
    HWND hwnd = nullptr;
    int width = 0;
    int height = 0;
    TPoint pos;
    int hideCount = 1;  // created hidden
    bool drawn = false;
    TRegion drawnRegion;  // top-level window coordinates of the inverted pixels
    Window* drawnRoot = nullptr;
    UINT_PTR blinkTimer = 0;
};

struct ClickState {
    HWND hwnd = nullptr;
    UINT downMessage = 0;
    DWORD time = 0;
    TPoint pos;
    bool valid = false;
};

class WindowSystem {
public:
    explicit WindowSystem(std::unique_ptr<Backend> backend);
    ~WindowSystem();

    Backend& backend() { return *backend_; }
    std::uint64_t Now() { return backend_->Now(); }

    // --- handles and tree (WindowTree.cpp) ---------------------------------
    Window* Find(HWND hwnd) const;
    Window* Desktop() const { return desktop_; }
    HWND NewHandle();
    Window* Create(DWORD exStyle, const char* className, const char* name, DWORD style, int x, int y,
                   int w, int h, HWND parent, UINT_PTR id, void* param);
    bool Destroy(Window* w);
    bool IsTopLevel(const Window* w) const { return w->parent == desktop_; }
    Window* Root(Window* w) const;  // the top-level window holding w
    // The window's top-left corner in screen coordinates and in its top-level
    // window's coordinates.
    TPoint ScreenOrigin(const Window* w) const;
    TPoint RootOrigin(const Window* w) const;
    TPoint ClientScreenOrigin(const Window* w) const;
    // WS_VISIBLE on the window and all its ancestors.
    bool IsVisible(const Window* w) const;
    // Visible and its top-level window not minimised: it can be seen.
    bool IsShown(const Window* w) const;
    bool IsEnabledChain(const Window* w) const;
    void InsertChild(Window* parent, Window* child, HWND insertAfter);
    void RemoveChild(Window* parent, Window* child);
    void AllocateSurface(Window* w);
    const std::shared_ptr<const WindowClassEntry>* FindClass(std::string_view name) const;

    std::unordered_map<std::string, std::shared_ptr<const WindowClassEntry>> classes_;

    // --- messages (MessageQueue.cpp) ---------------------------------------
    LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp) { return Send(w->handle, msg, wp, lp); }
    void Post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // The next message, by the platform's priorities; false when none is
    // waiting and `wait` is false.
    bool NextMessage(MSG& out, HWND filter, UINT min, UINT max, bool remove, bool wait,
                     bool allowInput = true);
    // Posted messages, painting and timers, without touching input: the
    // modal loops run this between input events.
    void DispatchPendingNonInput();
    LRESULT Dispatch(const MSG& msg);
    void FlushGraveyard();

    std::deque<MSG> posted_;
    bool quitPending_ = false;
    int quitCode_ = 0;
    DWORD lastMessageTime_ = 0;
    TPoint lastMessagePos_;
    int callDepth_ = 0;
    std::vector<std::unique_ptr<Window>> graveyard_;

    // --- window positions (WindowPos.cpp) ----------------------------------
    bool SetPos(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    bool Show(Window* w, int cmd);
    // The desktop minimised or restored a top-level window (its task bar
    // entry, its window list): the window hears it as a user's command
    // would come, WM_SYSCOMMAND with SC_MINIMIZE or SC_RESTORE, and its
    // procedure decides. When it refuses, the desktop is told the window's
    // state again. Backends' events call these; nothing happens for a child
    // window or one already in that state.
    void MinimizeFromDesktop(Window* w);
    void RestoreFromDesktop(Window* w);
    // The desktop placed or moved a top-level window to `topLeft` (a window
    // manager's placement or move, a restore, another monitor): the window
    // follows as if the program had moved it, so input is found where the
    // window really is. When its procedure holds it elsewhere, the desktop is
    // told the window's place again.
    void FollowDesktopMove(Window* w, TPoint topLeft);
    TRect CalcClient(Window* w, const TRect& windowRectInParent, WINDOWPOS* pos);
    MINMAXINFO QueryMinMax(Window* w);
    void MarkNativeStale(Window* w);
    void Restack();
    bool restackPending_ = true;

    // --- painting (Paint.cpp) -------------------------------------------------
    // `rgn` in window coordinates.
    void Invalidate(Window* w, const TRegion& rgn, UINT flags);
    void InvalidateWhole(Window* w);
    void Validate(Window* w, const TRegion& rgn, UINT flags);
    // The pixels of the window (client or whole) that can be seen, in its
    // top-level window's coordinates.
    TRegion VisibleRegion(const Window* w, bool clientOnly) const;
    // The area the window covers in its parent's client coordinates.
    TRegion ShapeInParent(const Window* w) const;
    Window* FindPaintTarget(Window* w, HWND filter);
    void SendNcPaint(Window* w);
    void PaintNow(Window* w, bool children);
    HDC MakeDc(Window* w, bool clientArea, const TRegion* limitWindowCoords);
    bool ReleaseDcEntry(HDC dc);
    void Present();

    std::vector<DcEntry> dcs_;

    // --- input, focus, activation (Input.cpp, Focus.cpp) ----------------------
    void HandleEvent(const BackendEvent& ev);
    void HandlePointer(const BackendEvent& ev);
    void HandleKey(const BackendEvent& ev);
    void HandleText(const BackendEvent& ev);
    // The window under a screen point and its hit-test code, asking WM_NCHITTEST.
    Window* HitWindow(TPoint screen, int& hitCode);
    Window* WindowAt(Window* w, TPoint screen, bool askHitTest, int& hitCode);
    WPARAM MouseKeyFlags() const;
    void SetCaptureWindow(Window* w);
    void ActivateWindow(Window* w, WORD how);
    void ActivateAnother(Window* leaving);
    void SetFocusWindow(Window* w);
    void SetAppActive(bool active);
    void ForgetWindow(Window* w);  // capture, focus, activation, tracking, caret
    void UpdateCursorFor(TPoint screen);
    // WM_PARENTNOTIFY to the ancestors of a child window pressed at a screen point.
    void NotifyParentsOfPress(Window* w, UINT downMessage, TPoint screen);

    HWND capture_ = nullptr;
    HWND focus_ = nullptr;
    HWND active_ = nullptr;
    HWND lastActive_ = nullptr;  // the active window while the application is inactive
    bool appActive_ = false;
    TPoint cursorPos_;
    bool cursorKnown_ = false;
    BYTE keyState_[256] = {};
    ClickState lastClick_;
    UINT doubleClickTime_ = 500;
    HWND lastMoveWindow_ = nullptr;
    TPoint lastMovePos_{-100000, -100000};
    HWND trackLeave_ = nullptr;
    bool trackLeaveNonClient_ = false;
    HCURSOR cursor_ = nullptr;
    int inMoveSize_ = 0;
    bool altTapping_ = false;  // Alt is down and nothing else was pressed since
    bool altTapped_ = false;   // the last Alt release ended a tap

    // --- move and size loop (MoveSizeLoop.cpp) ---------------------------------
    void RunMoveSize(Window* w, UINT command, TPoint start);

    // --- timers (Timers.cpp) ----------------------------------------------------
    UINT_PTR AddTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc, std::function<void()> internal);
    bool RemoveTimer(HWND hwnd, UINT_PTR id);
    void RemoveTimersOf(HWND hwnd);
    // The earliest due timer (not the internal ones when `messagesOnly`).
    TimerEntry* DueTimer(HWND filter);
    int MsUntilNextTimer();

    std::vector<TimerEntry> timers_;
    std::uint64_t timerSeq_ = 0;
    UINT_PTR nextThreadTimerId_ = 0x7F00;
    UINT_PTR nextInternalTimerId_ = 1;
    std::uint64_t lastTickRead_ = 0;
    int sameTickReads_ = 0;

    // --- caret (Caret.cpp) -------------------------------------------------------
    void DrawCaret(bool on);
    void CaretBlink();
    void HideCaretForPaint(Window* w);
    void RestoreCaretAfterPaint();
    CaretState caret_;
    UINT caretBlinkTime_ = 530;
    int caretPaintHidden_ = 0;

    int beeps_ = 0;

    // --- desktop hotkeys and watched descriptors (DesktopInput.cpp) -------------------
    struct HotkeyEntry {
        HWND hwnd;
        int id;
        unsigned modifiers;
        int vk;
    };
    struct ReadableWatch {
        int fd;
        HWND hwnd;
        UINT message;
    };
    void HandleHotkey(const BackendEvent& ev);
    // Posts the message of each watched descriptor that has input and has
    // none of its messages waiting; true when it posted any.
    bool PostReadable();
    std::vector<HotkeyEntry> hotkeys_;
    std::vector<ReadableWatch> readableWatches_;

private:
    std::unique_ptr<Backend> backend_;
    std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> windows_;
    Window* desktop_ = nullptr;
    std::uintptr_t nextHandle_ = 0x10000;
};

// The running window system; throws EInvalidOperation when there is none.
WindowSystem& Sys();
WindowSystem* SysOrNull();

TRect ToWindowRect(const Window* w);  // (0, 0, width, height)

// The thickness of the default frame on each side (Left, Top, Right, Bottom
// hold the widths) for the given styles.
TRect DefaultFrameInsets(DWORD style, DWORD exStyle);
// Paints the default frame of a window that has one into its window canvas.
void PaintDefaultFrame(HWND hwnd, bool active);
