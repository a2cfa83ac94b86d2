#pragma once
// Value types for positions and areas, with the platform's conventions: a
// rectangle holds its left and top edges and excludes its right and bottom ones.

#include <algorithm>

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

constexpr bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

constexpr bool PtInRect(const TRect& r, const TPoint& p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

constexpr TRect OffsetRect(const TRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

constexpr TRect InflateRect(const TRect& r, int dx, int dy) {
    return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}

// `r` less a frame of the given widths on each side (Left, Top, Right,
// Bottom); never narrower or lower than nothing.
constexpr TRect InsetRect(const TRect& r, const TRect& insets) {
    const int left = r.Left + insets.Left, top = r.Top + insets.Top;
    return {left, top, std::max(left, r.Right - insets.Right), std::max(top, r.Bottom - insets.Bottom)};
}

// The common part of two rectangles; an empty rectangle (all zero) when they
// do not overlap, as the platform returns it.
constexpr TRect IntersectRect(const TRect& a, const TRect& b) {
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    return IsRectEmpty(r) ? TRect{} : r;
}

// The smallest rectangle holding both; an empty one does not count.
constexpr TRect UnionRect(const TRect& a, const TRect& b) {
    if (IsRectEmpty(a)) return IsRectEmpty(b) ? TRect{} : b;
    if (IsRectEmpty(b)) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}
