// The caret: one per program, owned by a window, blinking by inverting the
// pixels under it on the window's surface. Painting never meets the inverted
// pixels: a canvas over the caret's surface takes the caret off while it
// lives and puts it back when it is released.

#include <algorithm>

#include "WindowSystemState.h"

namespace {
void InvertRegion(TBitmap& surface, const TRegion& rgn) {
    const TRect bounds = surface.BoundsRect();
    for (const TRect& r0 : rgn.Rects()) {
        const TRect r = IntersectRect(r0, bounds);
        for (int y = r.Top; y < r.Bottom; ++y) {
            std::uint32_t* row = surface.ScanLine(y);
            for (int x = r.Left; x < r.Right; ++x) row[x] ^= 0x00FFFFFFu;
        }
    }
}
}  // namespace

void WindowSystem::DrawCaret(bool on) {
    if (on == caret_.drawn) return;
    if (!on) {
        // Inverting the same pixels again restores them.
        Window* root = caret_.drawnRoot;
        if (root && root->surface) {
            InvertRegion(*root->surface, caret_.drawnRegion);
            root->surfaceDirty.Combine(root->surfaceDirty, caret_.drawnRegion, RGN_OR);
        }
        caret_.drawn = false;
        caret_.drawnRoot = nullptr;
        caret_.drawnRegion = TRegion();
        return;
    }
    Window* w = Find(caret_.hwnd);
    if (!w || !IsShown(w) || caret_.width <= 0 || caret_.height <= 0) return;
    Window* root = Root(w);
    if (!root || !root->surface) return;
    const TPoint o = RootOrigin(w);
    TRegion rgn(Bounds(o.X + w->client.Left + caret_.pos.X, o.Y + w->client.Top + caret_.pos.Y, caret_.width,
                       caret_.height));
    rgn.Combine(rgn, VisibleRegion(w, true), RGN_AND);
    rgn.Combine(rgn, TRegion(root->surface->BoundsRect()), RGN_AND);
    if (rgn.IsEmpty()) return;
    InvertRegion(*root->surface, rgn);
    root->surfaceDirty.Combine(root->surfaceDirty, rgn, RGN_OR);
    caret_.drawn = true;
    caret_.drawnRoot = root;
    caret_.drawnRegion = rgn;
}

void WindowSystem::CaretBlink() {
    if (!caret_.hwnd || caret_.hideCount > 0 || caretPaintHidden_ > 0) return;
    DrawCaret(!caret_.drawn);
    Present();
}

void WindowSystem::RestoreCaretAfterPaint() {
    if (caret_.hwnd && caret_.hideCount == 0 && caretPaintHidden_ == 0) DrawCaret(true);
}

namespace {
void RestartBlink(WindowSystem& s) {
    for (auto& t : s.timers_)
        if (t.internal && t.id == s.caret_.blinkTimer) t.due = s.Now() + t.interval;
}

void UpdateTextInputArea(WindowSystem& s) {
    Window* w = s.Find(s.caret_.hwnd);
    if (!w) {
        s.backend().SetTextInputArea({});
        return;
    }
    const TPoint o = s.ClientScreenOrigin(w);
    s.backend().SetTextInputArea(
        Bounds(o.X + s.caret_.pos.X, o.Y + s.caret_.pos.Y, std::max(s.caret_.width, 1), std::max(s.caret_.height, 1)));
}
}  // namespace

BOOL CreateCaret(HWND hwnd, int width, int height) {
    WindowSystem& s = Sys();
    if (!s.Find(hwnd)) return FALSE;
    DestroyCaret();
    s.caret_ = CaretState{};
    s.caret_.hwnd = hwnd;
    s.caret_.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    s.caret_.height = height > 0 ? height : 16;
    s.caret_.blinkTimer = s.AddTimer(nullptr, 0, s.caretBlinkTime_, nullptr, [&s] { s.CaretBlink(); });
    UpdateTextInputArea(s);
    return TRUE;
}

BOOL DestroyCaret() {
    WindowSystem& s = Sys();
    if (!s.caret_.hwnd) return FALSE;
    s.DrawCaret(false);
    const UINT_PTR id = s.caret_.blinkTimer;
    std::erase_if(s.timers_, [&](const TimerEntry& t) { return t.internal && t.id == id; });
    s.caret_ = CaretState{};
    s.backend().SetTextInputArea({});
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    WindowSystem& s = Sys();
    if (!s.caret_.hwnd || (hwnd && hwnd != s.caret_.hwnd)) return FALSE;
    if (s.caret_.hideCount > 0) --s.caret_.hideCount;
    if (s.caret_.hideCount == 0 && s.caretPaintHidden_ == 0) {
        s.DrawCaret(true);
        RestartBlink(s);
    }
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    WindowSystem& s = Sys();
    if (!s.caret_.hwnd || (hwnd && hwnd != s.caret_.hwnd)) return FALSE;
    ++s.caret_.hideCount;
    s.DrawCaret(false);
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    WindowSystem& s = Sys();
    if (!s.caret_.hwnd) return FALSE;
    const bool was = s.caret_.drawn;
    s.DrawCaret(false);
    s.caret_.pos = {x, y};
    if (was || (s.caret_.hideCount == 0 && s.caretPaintHidden_ == 0)) {
        s.DrawCaret(true);
        RestartBlink(s);
    }
    UpdateTextInputArea(s);
    return TRUE;
}

BOOL GetCaretPos(TPoint& point) {
    WindowSystem& s = Sys();
    if (!s.caret_.hwnd) return FALSE;
    point = s.caret_.pos;
    return TRUE;
}

UINT GetCaretBlinkTime() { return Sys().caretBlinkTime_; }

BOOL SetCaretBlinkTime(UINT ms) {
    WindowSystem& s = Sys();
    s.caretBlinkTime_ = std::max<UINT>(ms, 10);
    for (auto& t : s.timers_)
        if (t.internal && t.id == s.caret_.blinkTimer) t.interval = s.caretBlinkTime_;
    return TRUE;
}
