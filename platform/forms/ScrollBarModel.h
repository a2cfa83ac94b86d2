#pragma once
// The arithmetic of a classic scroll bar, apart from any window: the range
// with its page, the places of the arrow buttons, the track and the thumb,
// which part a point hits, and the position a dragged thumb stands for. The
// free-standing TScrollBar and the bars built into the memo, the list box and
// the list view all use it.

#include "Geometry.h"

// Scroll request codes (WM_HSCROLL / WM_VSCROLL low word), platform values.
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

// Which bar of a window (GetScrollInfo's first argument).
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;

// A range with a page, as the platform's SCROLLINFO holds it. With a page,
// the largest position is Max - Page + 1; without one (Page 0), Max.
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;

    int MaxPos() const { return Page > 0 ? (Max - Page + 1 > Min ? Max - Page + 1 : Min) : (Max > Min ? Max : Min); }
    int Clamp(int pos) const { return pos < Min ? Min : (pos > MaxPos() ? MaxPos() : pos); }
    // Whether there is anything to scroll (the platform hides the bar otherwise).
    bool Scrollable() const { return MaxPos() > Min; }
    friend bool operator==(const TScrollInfo&, const TScrollInfo&) = default;
};

enum class TScrollPart { None, LineBack, PageBack, Thumb, PageForward, LineForward };

struct TScrollBarGeometry {
    TRect Bar;
    TRect BackButton;     // left or top arrow
    TRect ForwardButton;  // right or bottom arrow
    TRect Track;          // between the buttons
    TRect Thumb;          // empty when nothing can scroll or there is no room
    bool Vertical = false;
};

// Minimum thumb length in pixels.
inline constexpr int kMinThumbLength = 8;

TScrollBarGeometry LayoutScrollBar(const TRect& bar, bool vertical, const TScrollInfo& info);
TScrollPart HitTestScrollBar(const TScrollBarGeometry& g, TPoint p);
// The position that puts the thumb's leading edge `thumbStart` pixels into
// the track (clamped into the range).
int PositionFromThumb(const TScrollBarGeometry& g, const TScrollInfo& info, int thumbStart);
