#include "SkinMenuPlacement.h"

#include <algorithm>

TPoint PlaceSkinMenu(const SkinMenuPlacementInput& in) {
    const TRect& a = in.anchor;
    const TRect& w = in.workArea;
    const int h = in.height;
    const bool aboveMiddle = a.Top < w.Top + w.Height() / 2;
    const bool cutToWorkArea = in.scrollable && !in.scrollLimited;
    bool overlaps = false;
    int y = 0;
    if (cutToWorkArea) {
        y = w.Top;
    } else if (in.submenu) {
        const int t = in.parentItemsTop;
        if (a.Top + h - t <= w.Bottom) y = a.Top - t;
        else if (aboveMiddle) y = w.Bottom - h;
        else y = std::max(a.Bottom + t - h, w.Top);
    } else if (in.upward) {
        if (a.Top - h >= w.Top) {
            y = a.Top - h;
        } else if (aboveMiddle) {
            if (a.Bottom + h <= w.Bottom) {
                y = a.Bottom;
            } else {
                y = w.Bottom - h;
                overlaps = true;
            }
        } else {
            y = w.Top;
            overlaps = true;
        }
    } else if (a.Bottom + h <= w.Bottom) {
        y = a.Bottom;
    } else if (aboveMiddle) {
        y = w.Bottom - h;
        overlaps = true;
    } else if (a.Top - h >= w.Top) {
        y = a.Top - h;
    } else {
        y = w.Top;
        overlaps = true;
    }

    int x = 0;
    if (!in.submenu && !cutToWorkArea && !overlaps) {
        x = a.Left;
        if (x + in.width > w.Right) x = w.Right - in.width;
        else if (x < w.Left) x = w.Left;
    } else {
        x = a.Right + in.width + 1 <= w.Right ? a.Right + 1 : a.Left - in.width - 1;
    }
    return {x, y};
}
