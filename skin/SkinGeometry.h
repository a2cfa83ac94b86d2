#pragma once
// Small rectangle and point tests the skinning code uses everywhere. They keep
// the skin format's own notion of "empty": a rectangle is empty when it has no
// positive width or height, a point when either coordinate is 0 (a skin file
// writes an absent point as 0,0 and never stores negative values).

#include "Geometry.h"

constexpr int WidthOf(const TRect& r) { return r.Right - r.Left; }
constexpr int HeightOf(const TRect& r) { return r.Bottom - r.Top; }

constexpr bool RectIsEmpty(const TRect& r) { return WidthOf(r) <= 0 || HeightOf(r) <= 0; }
constexpr bool PointIsEmpty(const TPoint& p) { return p.X == 0 || p.Y == 0; }
constexpr bool RectsEqual(const TRect& a, const TRect& b) { return a == b; }
constexpr TRect MakeEmptyRect() { return {0, 0, 0, 0}; }

// Right and bottom edges count as inside.
constexpr bool PointInRectInclusive(const TRect& r, const TPoint& p) {
    return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

// Both corners of `inner` pass the ordinary point-in-rectangle test of `outer`
// (right and bottom edges excluded), so an inner rectangle that touches the
// outer's right or bottom edge does not count as inside.
constexpr bool RectInsideRect(const TRect& inner, const TRect& outer) {
    return PtInRect(outer, inner.TopLeft()) && PtInRect(outer, inner.BottomRight());
}
