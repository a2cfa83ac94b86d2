// The move/size loop of the default window procedure. It runs inside the
// WM_SYSCOMMAND that started it and returns when the drag ends, taking
// pointer and key input itself while posted messages, painting and timers go
// on being handled. Each step proposes a rectangle (screen coordinates) with
// WM_MOVING or WM_SIZING, which the window may change, and moves the window
// where the answer says. Escape puts the window back where it started.

#include <algorithm>

#include "WindowSystemState.h"

namespace {
bool HasLeft(WPARAM e) { return e == WMSZ_LEFT || e == WMSZ_TOPLEFT || e == WMSZ_BOTTOMLEFT; }
bool HasRight(WPARAM e) { return e == WMSZ_RIGHT || e == WMSZ_TOPRIGHT || e == WMSZ_BOTTOMRIGHT; }
bool HasTop(WPARAM e) { return e == WMSZ_TOP || e == WMSZ_TOPLEFT || e == WMSZ_TOPRIGHT; }
bool HasBottom(WPARAM e) { return e == WMSZ_BOTTOM || e == WMSZ_BOTTOMLEFT || e == WMSZ_BOTTOMRIGHT; }

// The start rectangle with the dragged edges moved by (dx, dy), kept within
// the tracking limits by holding the opposite edges still.
TRect SizedRect(const TRect& start, WPARAM edge, int dx, int dy, const MINMAXINFO& mmi) {
    TRect r = start;
    const int minW = mmi.ptMinTrackSize.X, maxW = std::max(mmi.ptMaxTrackSize.X, minW);
    const int minH = mmi.ptMinTrackSize.Y, maxH = std::max(mmi.ptMaxTrackSize.Y, minH);
    if (HasLeft(edge)) r.Left = r.Right - std::clamp(start.Width() - dx, minW, maxW);
    if (HasRight(edge)) r.Right = r.Left + std::clamp(start.Width() + dx, minW, maxW);
    if (HasTop(edge)) r.Top = r.Bottom - std::clamp(start.Height() - dy, minH, maxH);
    if (HasBottom(edge)) r.Bottom = r.Top + std::clamp(start.Height() + dy, minH, maxH);
    return r;
}
}  // namespace

void WindowSystem::RunMoveSize(Window* w, UINT command, TPoint start) {
    const bool isMove = (command & 0xFFF0) == SC_MOVE;
    const WPARAM edge = isMove ? 0 : (command & 0x000F);
    if (inMoveSize_ || (!isMove && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT))) return;
    if (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) return;  // a maximised window stays put
    const HWND h = w->handle;
    // Started from a menu rather than a press: the drag follows the pointer
    // until a click.
    const bool endOnClick = !(keyState_[VK_LBUTTON] & 0x80);
    if (endOnClick) start = cursorPos_;

    ++inMoveSize_;
    const TRect startRect = w->rect;
    const MINMAXINFO mmi = QueryMinMax(w);
    Send(h, WM_ENTERSIZEMOVE, 0, 0);
    if ((w = Find(h))) SetCaptureWindow(w);

    bool done = false, cancelled = false;
    TPoint last = start;
    // One step of the drag: the pointer is at `pos`.
    const auto follow = [&](TPoint pos) {
        cursorPos_ = pos;
        if (pos == last) return;  // the pointer did not move
        last = pos;
        if (!(w = Find(h))) return;
        const int dx = pos.X - start.X, dy = pos.Y - start.Y;
        // The proposal travels in screen coordinates.
        const TPoint po = ClientScreenOrigin(w->parent);
        TRect prop = isMove ? OffsetRect(startRect, dx, dy) : SizedRect(startRect, edge, dx, dy, mmi);
        prop = OffsetRect(prop, po.X, po.Y);
        Send(h, isMove ? WM_MOVING : WM_SIZING, edge, ToLParam(&prop));
        if (!(w = Find(h))) return;
        prop = OffsetRect(prop, -po.X, -po.Y);
        if (prop != w->rect) {
            UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
            if (isMove) flags |= SWP_NOSIZE;
            SetPos(w, nullptr, prop.Left, prop.Top, prop.Width(), prop.Height(), flags);
        }
    };
    while (!done && (w = Find(h))) {
        DispatchPendingNonInput();
        BackendEvent ev;
        if (!backend_->PollEvent(ev)) {
            backend_->WaitForEvent(MsUntilNextTimer());
            continue;
        }
        switch (ev.kind) {
        case EventKind::MouseMove:
            follow(ev.pos);
            break;
        case EventKind::MouseDown:
        case EventKind::MouseUp: {
            const int vk = ev.button == MouseButton::Left ? VK_LBUTTON : ev.button == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
            const bool ends = endOnClick || (ev.kind == EventKind::MouseUp && ev.button == MouseButton::Left);
            // The drag ends where the button went up, even when a move on the
            // way there was never reported (a desktop may drop moves it
            // delivers outside the window).
            if (ends) follow(ev.pos);
            cursorPos_ = ev.pos;
            if (ev.kind == EventKind::MouseDown) keyState_[vk] |= 0x80;
            else keyState_[vk] &= BYTE(~0x80);
            // The release that ends the drag is not passed on.
            if (ends) done = true;
            break;
        }
        case EventKind::KeyDown:
            keyState_[ev.vk & 0xFF] |= 0x80;
            if (ev.vk == VK_ESCAPE) done = cancelled = true;
            else if (ev.vk == VK_RETURN) done = true;
            break;
        case EventKind::KeyUp:
            keyState_[ev.vk & 0xFF] &= BYTE(~0x80);
            break;
        case EventKind::Text:
        case EventKind::Wheel:
            break;
        default:
            HandleEvent(ev);
            break;
        }
    }
    if (cancelled && (w = Find(h)))
        SetPos(w, nullptr, startRect.Left, startRect.Top, startRect.Width(), startRect.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
    if (capture_ == h) SetCaptureWindow(nullptr);
    --inMoveSize_;
    // A press that moved nothing may still be the first half of a double click.
    if ((w = Find(h)) && w->rect != startRect) lastClick_.valid = false;
    Send(h, WM_EXITSIZEMOVE, 0, 0);
}
