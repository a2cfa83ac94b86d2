// The in-memory screen: queued input, a virtual clock and composition of the
// presented window surfaces, bottom window first, cut by each window's shape
// and blended by its opacity.

#include "HeadlessBackend.h"

#include <algorithm>

#include "Exceptions.h"
#include "PngFile.h"
#include "WindowSystem.h"
#include "WindowSystemState.h"

namespace {
// After this many waits in a row with no input, nothing will ever come.
constexpr int kMaxIdleWaits = 100000;

std::uint32_t Blend(std::uint32_t src, std::uint32_t dst, unsigned alpha) {
    auto channel = [&](int shift) {
        const unsigned s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        return ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

}  // namespace

HeadlessBackend::HeadlessBackend(int width, int height) {
    const TRect screen{0, 0, width, height};
    monitors_.push_back({screen, screen});
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::SetMonitors(std::vector<MonitorDesc> monitors) {
    monitors_ = std::move(monitors);
    BackendEvent ev;
    ev.kind = EventKind::DisplayChange;
    Push(ev);
}

void HeadlessBackend::SetWorkArea(const TRect& work) {
    if (!monitors_.empty()) monitors_.front().work = work;
}

// --- input ----------------------------------------------------------------------------

void HeadlessBackend::MouseMove(int x, int y) {
    BackendEvent ev;
    ev.kind = EventKind::MouseMove;
    ev.pos = {x, y};
    Push(ev);
}

void HeadlessBackend::MouseDown(int x, int y, MouseButton button) {
    MouseMove(x, y);
    BackendEvent ev;
    ev.kind = EventKind::MouseDown;
    ev.pos = {x, y};
    ev.button = button;
    Push(ev);
}

void HeadlessBackend::MouseUp(int x, int y, MouseButton button) {
    MouseMove(x, y);
    MouseUpWithoutMove(x, y, button);
}

void HeadlessBackend::MouseUpWithoutMove(int x, int y, MouseButton button) {
    BackendEvent ev;
    ev.kind = EventKind::MouseUp;
    ev.pos = {x, y};
    ev.button = button;
    Push(ev);
}

void HeadlessBackend::Click(int x, int y, MouseButton button) {
    MouseDown(x, y, button);
    MouseUp(x, y, button);
}

void HeadlessBackend::Drag(TPoint from, TPoint to, int steps) {
    MouseDown(from.X, from.Y);
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i)
        MouseMove(from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps);
    MouseUp(to.X, to.Y);
}

void HeadlessBackend::Wheel(int x, int y, int delta) {
    BackendEvent ev;
    ev.kind = EventKind::Wheel;
    ev.pos = {x, y};
    ev.wheelDelta = delta;
    Push(ev);
}

void HeadlessBackend::KeyDown(int vk) {
    BackendEvent ev;
    ev.kind = EventKind::KeyDown;
    ev.vk = vk;
    Push(ev);
}

void HeadlessBackend::KeyUp(int vk) {
    BackendEvent ev;
    ev.kind = EventKind::KeyUp;
    ev.vk = vk;
    Push(ev);
}

void HeadlessBackend::KeyPress(int vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void HeadlessBackend::Text(std::string_view utf8) {
    BackendEvent ev;
    ev.kind = EventKind::Text;
    ev.text = std::string(utf8);
    Push(ev);
}

void HeadlessBackend::SetAppActive(bool active) {
    BackendEvent ev;
    ev.kind = EventKind::AppActive;
    ev.active = active;
    Push(ev);
}

void HeadlessBackend::RequestQuit() {
    BackendEvent ev;
    ev.kind = EventKind::Quit;
    Push(ev);
}

void HeadlessBackend::DesktopMinimize(HWND hwnd) {
    BackendEvent ev;
    ev.kind = EventKind::DesktopMinimize;
    ev.hwnd = hwnd;
    Push(ev);
}

void HeadlessBackend::DesktopRestore(HWND hwnd) {
    BackendEvent ev;
    ev.kind = EventKind::DesktopRestore;
    ev.hwnd = hwnd;
    Push(ev);
}

void HeadlessBackend::DesktopMove(HWND hwnd, TPoint topLeft) {
    if (auto it = windows_.find(hwnd); it != windows_.end()) {
        TRect& r = it->second.state.rect;
        r = OffsetRect(r, topLeft.X - r.Left, topLeft.Y - r.Top);
    }
    BackendEvent ev;
    ev.kind = EventKind::DesktopMove;
    ev.hwnd = hwnd;
    ev.pos = topLeft;
    Push(ev);
}

void HeadlessBackend::WarpPointer(TPoint screen) { MouseMove(screen.X, screen.Y); }

bool HeadlessBackend::PollEvent(BackendEvent& event) {
    if (events_.empty()) return false;
    event = std::move(events_.front());
    events_.pop_front();
    idleWaits_ = 0;
    return true;
}

void HeadlessBackend::WaitForEvent(int timeoutMs) {
    if (!events_.empty()) return;
    if (++idleWaits_ > kMaxIdleWaits)
        throw EInvalidOperation("The program waits for input that the test never supplies");
    if (idle_) {
        idle_();
        return;
    }
    if (timeoutMs < 0) throw EInvalidOperation("The program waits for input, with no timer running and none queued");
    now_ += unsigned(timeoutMs);
}

// --- the clock ---------------------------------------------------------------------------

void HeadlessBackend::Advance(unsigned ms) {
    const std::uint64_t target = now_ + ms;
    PumpMessages();
    for (;;) {
        WindowSystem& s = Sys();
        std::uint64_t next = target + 1;
        for (const auto& t : s.timers_) next = std::min(next, t.due);
        if (next > target) break;
        if (next > now_) now_ = next;
        const std::uint64_t before = now_;
        PumpMessages();
        // A timer that stays due after the pump (its window refuses messages)
        // must not stop the clock.
        bool stuck = false;
        for (const auto& t : Sys().timers_) stuck = stuck || t.due <= before;
        if (stuck && now_ == before) ++now_;
    }
    now_ = std::max(now_, target);
    PumpMessages();
}

// --- native windows -----------------------------------------------------------------------

void HeadlessBackend::SyncWindow(const NativeWindowState& state) {
    NativeWindow& w = windows_[state.hwnd];
    w.state = state;
    if (!w.pixels) w.pixels = std::make_unique<TBitmap>();
}

void HeadlessBackend::DestroyNativeWindow(HWND hwnd) {
    windows_.erase(hwnd);
    std::erase(stacking_, hwnd);
}

void HeadlessBackend::Restack(const std::vector<HWND>& topFirst) { stacking_ = topFirst; }

void HeadlessBackend::Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    TBitmap& px = *it->second.pixels;
    if (px.Width() != surface.Width() || px.Height() != surface.Height()) px.SetSize(surface.Width(), surface.Height());
    const TRect bounds = surface.BoundsRect();
    for (const TRect& r0 : dirty.Rects()) {
        const TRect r = IntersectRect(r0, bounds);
        for (int y = r.Top; y < r.Bottom; ++y)
            std::copy(surface.ScanLine(y) + r.Left, surface.ScanLine(y) + r.Right, px.ScanLine(y) + r.Left);
    }
    it->second.lastPresented = dirty;
    ++presentCount_;
}

bool HeadlessBackend::IsShownNatively(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it != windows_.end() && it->second.state.shown;
}

bool HeadlessBackend::IsMinimizedNatively(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it != windows_.end() && it->second.state.minimized;
}

const NativeWindowState* HeadlessBackend::NativeState(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second.state;
}

TRegion HeadlessBackend::LastPresented(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? TRegion() : it->second.lastPresented;
}

// --- read-back -----------------------------------------------------------------------------

void HeadlessBackend::ReadScreen(TBitmap& out) const {
    TRect all;
    for (const auto& m : monitors_) all = UnionRect(all, m.bounds);
    ReadScreenRect(all, out);
}

void HeadlessBackend::ReadScreenRect(const TRect& area, TBitmap& out) const {
    out.SetSize(area.Width(), area.Height());
    const std::uint32_t desk = ColorToPixel(desktopColor_) & 0x00FFFFFFu;
    for (int y = 0; y < out.Height(); ++y) std::fill(out.ScanLine(y), out.ScanLine(y) + out.Width(), desk);
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        auto found = windows_.find(*it);
        if (found == windows_.end() || !found->second.state.shown) continue;
        const NativeWindow& w = found->second;
        const TBitmap& px = *w.pixels;
        TRegion shape(TRect{0, 0, std::min(px.Width(), w.state.rect.Width()), std::min(px.Height(), w.state.rect.Height())});
        if (w.state.shape) shape.Combine(shape, *w.state.shape, RGN_AND);
        const std::uint32_t key = ColorToPixel(TColor(w.state.colorKey)) & 0x00FFFFFFu;
        for (const TRect& r : shape.Rects()) {
            for (int y = r.Top; y < r.Bottom; ++y) {
                const int sy = w.state.rect.Top + y - area.Top;
                if (sy < 0 || sy >= out.Height()) continue;
                const std::uint32_t* src = px.ScanLine(y);
                std::uint32_t* dst = out.ScanLine(sy);
                for (int x = r.Left; x < r.Right; ++x) {
                    const int sx = w.state.rect.Left + x - area.Left;
                    if (sx < 0 || sx >= out.Width()) continue;
                    const std::uint32_t p = src[x] & 0x00FFFFFFu;
                    if (w.state.colorKeyed && p == key) continue;
                    dst[sx] = w.state.alpha == 255 ? p : Blend(p, dst[sx], w.state.alpha);
                }
            }
        }
    }
}

bool HeadlessBackend::SaveScreenPng(const std::string& path) const {
    TBitmap screen;
    ReadScreen(screen);
    return SavePng(screen, path);
}
