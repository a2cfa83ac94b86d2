#pragma once
// The desktop backend on SDL2: one borderless native window per visible
// top-level window, kept at its place and size, shaped from its region, with
// its opacity; real pointer, key and input-method text events; the desktop's
// clipboard, pointer shapes and display work areas. A top-level window shows
// its caption and icons to the desktop, and a minimised one is iconified by
// the window manager, from where the user can bring it back. Window semantics (focus,
// activation, z-order rules) stay in the window system.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"
#include "SdlX11Desktop.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

class SdlBackend : public Backend {
public:
    // Opens the display named by $DISPLAY; throws EInvalidOperation when
    // there is none.
    SdlBackend();
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

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

private:
    struct Native {
        SDL_Window* window = nullptr;
        NativeWindowState state;
        bool visible = false;
        TSize shapedSize;
        std::optional<TRegion> appliedShape;
        bool shapeApplied = false;
        bool iconified = false;  // minimised through the window manager (as far as we know)
        std::string title;
        HICON icon = nullptr;
        HICON smallIcon = nullptr;
        bool iconsApplied = false;
    };

    void Translate(const SDL_Event& e);
    Native* ByWindowId(std::uint32_t id, HWND* hwnd = nullptr);
    void ApplyShape(Native& n);
    void ReturnInputFocus();
    bool CreateNative(Native& n, const NativeWindowState& state);
    void ApplyDesktopLooks(Native& n);
    void Hide(Native& n);
    void Iconify(Native& n);

    std::map<HWND, Native> windows_;
    // The monitors as last asked of the X server: each question is a round
    // trip, and a burst of window placements asks many times. Asked again
    // after the program waited for events or the displays changed.
    std::optional<std::vector<MonitorDesc>> monitors_;
    std::deque<BackendEvent> pending_;
    std::map<int, SDL_Cursor*> cursors_;
    std::vector<HWND> stacking_;
    TPoint lastPointer_;
    // The X server's account of the latest pointer event, which SDL hands
    // over just ahead of its own event for it.
    std::optional<XPointerReport> pointerReport_;
    bool appActive_ = false;
    bool focusDirty_ = false;
};
