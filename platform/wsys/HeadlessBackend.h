#pragma once
// A screen in memory with a virtual clock, for tests. Input is injected at
// screen coordinates and handled at the next pump; the clock moves only when
// told to (or when the program sleeps or busy-waits on it); the composed
// screen, as the presented window surfaces and their shapes and opacity make
// it, can be read back and saved as PNG.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Backend.h"
#include "TBitmap.h"
#include "TColor.h"

class HeadlessBackend : public Backend {
public:
    HeadlessBackend(int width, int height);
    ~HeadlessBackend() override;

    // --- the displays ---------------------------------------------------------
    void SetMonitors(std::vector<MonitorDesc> monitors);
    // The primary display's work area (for example above a task bar).
    void SetWorkArea(const TRect& work);
    void SetDesktopColor(TColor color) { desktopColor_ = color; }

    // --- input, queued for the next pump ----------------------------------------
    void MouseMove(int x, int y);
    void MouseDown(int x, int y, MouseButton button = MouseButton::Left);
    void MouseUp(int x, int y, MouseButton button = MouseButton::Left);
    // A release reported at a place no move announced, as from a desktop
    // that dropped the moves on the way there.
    void MouseUpWithoutMove(int x, int y, MouseButton button = MouseButton::Left);
    void Click(int x, int y, MouseButton button = MouseButton::Left);
    // Moves to the start, presses, moves in `steps` steps to the end, releases.
    void Drag(TPoint from, TPoint to, int steps = 4);
    void Wheel(int x, int y, int delta);
    void KeyDown(int vk);
    void KeyUp(int vk);
    void KeyPress(int vk);
    void Text(std::string_view utf8);
    void SetAppActive(bool active);
    void RequestQuit();
    // The desktop's own minimise and restore of a top-level window (its task
    // bar entry clicked), as a window manager reports them.
    void DesktopMinimize(HWND hwnd);
    void DesktopRestore(HWND hwnd);
    // The desktop moves a shown top-level window (a window manager's drag or
    // placement): its native window goes to `topLeft` at once, and the move
    // is reported as a window manager reports it.
    void DesktopMove(HWND hwnd, TPoint topLeft);

    // --- the clock ---------------------------------------------------------------
    // Moves the clock forward by `ms`, stopping at every timer that falls due
    // on the way and handling all messages there, so timers fire in order.
    void Advance(unsigned ms);
    // Called when the program would block for input none was injected for;
    // it may inject some, advance the clock or post a quit. Without one, a
    // blocking wait lets the clock run to the next timer, and fails when
    // nothing could ever arrive.
    void SetIdleHandler(std::function<void()> handler) { idle_ = std::move(handler); }

    // --- what the screen shows -------------------------------------------------------
    // The composed virtual screen.
    void ReadScreen(TBitmap& out) const;
    // The screen area `rect` of the composed screen.
    void ReadScreenRect(const TRect& rect, TBitmap& out) const;
    bool SaveScreenPng(const std::string& path) const;
    bool IsShownNatively(HWND hwnd) const;
    // Iconified: minimised, but still in the desktop's window list.
    bool IsMinimizedNatively(HWND hwnd) const;
    // The last state the window system gave the backend for the window, or null.
    const NativeWindowState* NativeState(HWND hwnd) const;
    int PresentCount() const { return presentCount_; }
    // The window-coordinate area of the last Present of the window.
    TRegion LastPresented(HWND hwnd) const;
    int PointerShape() const { return pointerShape_; }
    bool PointerCaptured() const { return captured_; }
    TRect TextInputArea() const { return textArea_; }
    const std::vector<HWND>& Stacking() const { return stacking_; }

    // --- Backend -----------------------------------------------------------------------
    std::vector<MonitorDesc> Monitors() override { return monitors_; }
    std::uint64_t Now() override { return now_; }
    void Sleep(unsigned ms) override { now_ += ms; }
    bool PollEvent(BackendEvent& event) override;
    void WaitForEvent(int timeoutMs) override;
    void SyncWindow(const NativeWindowState& state) override;
    void DestroyNativeWindow(HWND hwnd) override;
    void Restack(const std::vector<HWND>& topFirst) override;
    void Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) override;
    void SetPointerShape(int cursorId) override { pointerShape_ = cursorId; }
    void CapturePointer(bool on) override { captured_ = on; }
    void WarpPointer(TPoint screen) override;
    std::string ClipboardUtf8() override { return clipboard_; }
    void SetClipboardUtf8(const std::string& text) override { clipboard_ = text; }
    std::string PrimarySelectionUtf8() override { return primary_; }
    void SetPrimarySelectionUtf8(const std::string& text) override { primary_ = text; }
    void SetTextInputArea(const TRect& screenRect) override { textArea_ = screenRect; }

    // --- desktop hotkeys (HeadlessHotkeys.cpp) --------------------------------------
    bool GrabHotkey(unsigned modifiers, int vk) override;
    void UngrabHotkey(unsigned modifiers, int vk) override;
    // Another program holds the key: grabbing it fails.
    void HoldHotkeyElsewhere(unsigned modifiers, int vk);
    // Presses the key as the desktop would: a Hotkey event when the program
    // holds it. False when it does not.
    bool PressHotkey(unsigned modifiers, int vk);

private:
    struct NativeWindow {
        NativeWindowState state;
        std::unique_ptr<TBitmap> pixels;
        TRegion lastPresented;
    };

    void Push(BackendEvent ev) { events_.push_back(std::move(ev)); }

    std::vector<MonitorDesc> monitors_;
    std::deque<BackendEvent> events_;
    std::uint64_t now_ = 1000;
    int idleWaits_ = 0;
    std::function<void()> idle_;
    std::map<HWND, NativeWindow> windows_;
    std::vector<HWND> stacking_;
    TColor desktopColor_ = RGB(0, 0x80, 0x80);
    int presentCount_ = 0;
    int pointerShape_ = 0;
    bool captured_ = false;
    std::string clipboard_;
    std::string primary_;
    TRect textArea_;
    std::vector<std::pair<unsigned, int>> grabbedKeys_;
    std::vector<std::pair<unsigned, int>> keysHeldElsewhere_;
};
