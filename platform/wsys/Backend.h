#pragma once
// What the window system needs from the screen it runs on: a clock, input
// events in screen coordinates, one native surface per visible top-level
// window, the pointer shape, the clipboard and the displays. The window
// system keeps all window semantics; a backend only shows and reports.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Geometry.h"
#include "TRegion.h"
#include "WinTypes.h"

class TBitmap;

enum class EventKind {
    MouseMove,
    MouseDown,
    MouseUp,
    Wheel,
    KeyDown,
    KeyUp,
    Text,       // typed or composed text, UTF-8
    AppActive,  // the application as a whole gained (active) or lost the input focus
    Quit,       // the desktop asks the program to end
    DisplayChange,
    DesktopMinimize,  // the desktop iconified `hwnd` (task bar, window list)
    DesktopRestore,   // the desktop brought the iconified `hwnd` back
    DesktopMove,      // the desktop placed or moved `hwnd`: its top-left is now `pos`
    Hotkey,           // a key grabbed with GrabHotkey was pressed: `vk` with `modifiers`
};

enum class MouseButton { Left, Right, Middle };

struct BackendEvent {
    EventKind kind = EventKind::MouseMove;
    TPoint pos;  // screen coordinates: pointer events, DesktopMove
    MouseButton button = MouseButton::Left;
    int wheelDelta = 0;  // multiples of WHEEL_DELTA, positive away from the user
    int vk = 0;          // virtual key code of key events
    bool repeat = false; // key auto-repeat
    bool active = false; // AppActive
    std::string text;    // Text: UTF-8
    HWND hwnd = nullptr; // DesktopMinimize, DesktopRestore, DesktopMove
    unsigned modifiers = 0; // Hotkey: MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN
};

struct MonitorDesc {
    TRect bounds;
    TRect work;
};

// The state of one top-level window as the backend shows it.
struct NativeWindowState {
    HWND hwnd = nullptr;
    TRect rect;                   // screen coordinates
    bool shown = false;           // visible and not minimised
    bool minimized = false;       // visible but minimised: iconified, still in the desktop's window list
    std::optional<TRegion> shape; // window coordinates; none = the whole rectangle
    bool layered = false;
    BYTE alpha = 255;
    bool colorKeyed = false;
    std::uint32_t colorKey = 0;   // RGB, 0x00BBGGRR
    bool noActivate = false;      // popups and tool windows never take the native focus
    bool topmost = false;
    std::string title;            // the caption as the desktop shows it, UTF-8
    HICON icon = nullptr;         // the large and small icon shown for it by the desktop
    HICON smallIcon = nullptr;
};

class Backend {
public:
    virtual ~Backend() = default;

    // The displays; the first one is the primary.
    virtual std::vector<MonitorDesc> Monitors() = 0;

    // Milliseconds on the backend's clock.
    virtual std::uint64_t Now() = 0;
    // Lets `ms` milliseconds pass without handling anything.
    virtual void Sleep(unsigned ms) = 0;

    // The next input event, if one is waiting.
    virtual bool PollEvent(BackendEvent& event) = 0;
    // Blocks until an event may be waiting or `timeoutMs` passed (-1: no
    // limit). Returning early is allowed.
    virtual void WaitForEvent(int timeoutMs) = 0;

    // Creates, moves, reshapes, shows or hides the native window of `state.hwnd`.
    virtual void SyncWindow(const NativeWindowState& state) = 0;
    virtual void DestroyNativeWindow(HWND hwnd) = 0;
    // The stacking of the shown top-level windows, topmost first.
    virtual void Restack(const std::vector<HWND>& topFirst) = 0;
    // Shows the `dirty` part (window coordinates) of the window's surface.
    virtual void Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) = 0;

    // One of the IDC_ cursor numbers.
    virtual void SetPointerShape(int cursorId) = 0;
    // Keeps pointer events coming while a button is held outside our windows.
    virtual void CapturePointer(bool on) = 0;
    virtual void WarpPointer(TPoint screen) = 0;
    // Where the pointer is while it is over none of the program's windows:
    // then no pointer events come, and the last one may be long out of date
    // (the window under the pointer was hidden, the pointer moved on).
    // False while the pointer is over one of them (its events tell), or
    // when the backend cannot tell.
    virtual bool PointerElsewhere(TPoint&) { return false; }

    virtual std::string ClipboardUtf8() = 0;
    virtual void SetClipboardUtf8(const std::string& text) = 0;
    // The desktop's primary selection: the text last selected in any program
    // (X11's PRIMARY). Empty when there is none or its owner does not answer.
    virtual std::string PrimarySelectionUtf8() = 0;
    // Makes `text` the primary selection, as selecting it does.
    virtual void SetPrimarySelectionUtf8(const std::string& text) = 0;

    // Where typed text goes on the screen (the caret), so that the desktop's
    // input method can place its candidate window; an empty rect: no place.
    virtual void SetTextInputArea(const TRect& screenRect) = 0;

    // ---- keys and input of the whole desktop ----
    // Takes `vk` with exactly `modifiers` (the lock keys aside) for the
    // program wherever the focus is; a press then comes as a Hotkey event.
    // False when another program holds it or the backend cannot grab keys.
    virtual bool GrabHotkey(unsigned modifiers, int vk) { (void)modifiers; (void)vk; return false; }
    virtual void UngrabHotkey(unsigned modifiers, int vk) { (void)modifiers; (void)vk; }
    // File descriptors whose input ends WaitForEvent early, as the
    // display's does; the whole set each time.
    virtual void WatchReadable(const std::vector<int>& fds) { (void)fds; }
};
