#pragma once
// The frame and scroll bars a control keeps in its non-client area: a sunken
// two-pixel edge (optional) and a vertical and a horizontal classic bar that
// appear when there is something to scroll. The memo, the list box and the
// list view own one and pass their window messages through it first.
//
// Pressing a bar sends the control WM_VSCROLL / WM_HSCROLL through its
// WindowProc, as the platform's bars do, so a control (or whoever replaced
// its WindowProc) scrolls in one place whatever asked for it. Buttons and
// the track repeat while held (first after 500 ms, then every 50 ms).

#include <functional>

#include "ControlMessages.h"
#include "ScrollBarModel.h"
#include "Windows.h"

class TWindowScrollBars {
public:
    // Performs a scroll request on the control: (WM_VSCROLL or WM_HSCROLL, code, position).
    using PerformFn = std::function<void(UINT msg, int code, int pos)>;

    explicit TWindowScrollBars(PerformFn perform) : perform_(std::move(perform)) {}

    // Which bars may appear at all (the ScrollBars property).
    void SetAllowed(bool horizontal, bool vertical, HWND hwnd);
    // The sunken edge around everything.
    void SetBorder(bool on, HWND hwnd);
    int BorderWidth() const { return border_ ? 2 : 0; }

    const TScrollInfo& Info(int bar) const { return bar == SB_VERT ? vert_ : horz_; }
    // Stores the range; a bar that appears or disappears changes the client
    // area (the window's frame is recalculated), otherwise the bar repaints.
    void SetInfo(int bar, const TScrollInfo& info, HWND hwnd);
    bool Shown(int bar) const;

    // Handles the non-client and tracking messages; true when consumed.
    bool HandleMessage(TMessage& m, HWND hwnd, bool enabled);

private:
    struct Layout {
        TRect vert, horz, corner;  // window coordinates
    };
    Layout ComputeLayout(HWND hwnd) const;
    void Repaint(HWND hwnd) const;
    void Paint(HWND hwnd, bool enabled) const;
    void Step(TScrollPart part);
    void StopTracking(HWND hwnd);
    TPoint WindowPointOfClientMessage(HWND hwnd, LPARAM lp) const;

    PerformFn perform_;
    TScrollInfo vert_;
    TScrollInfo horz_;
    bool allowH_ = true;
    bool allowV_ = true;
    bool border_ = true;

    // Tracking a press.
    int trackBar_ = -1;
    TScrollPart trackPart_ = TScrollPart::None;
    bool pointerOnPart_ = false;
    int dragOffset_ = 0;  // pointer to thumb start, along the bar
    TPoint lastPoint_;
    bool firstRepeat_ = true;
};
