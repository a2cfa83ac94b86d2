#include "SkinWindowPlacement.h"

TPoint CentreIn(const TRect& area, int width, int height) {
    return {area.Left + area.Width() / 2 - width / 2, area.Top + area.Height() / 2 - height / 2};
}

TPoint FindMinimizedSlot(const TRect& area, int width, int height, const std::function<bool(TPoint)>& taken) {
    const TPoint first{area.Left, area.Bottom - height};
    // A strip of no size would never leave its first slot.
    if (width <= 0 || height <= 0) return first;
    TPoint slot = first;
    while (taken(slot)) {
        slot.X += width;
        if (slot.X + width > area.Right) {
            slot.X = area.Left;
            slot.Y -= height;
        }
        if (slot.Y < area.Top) return first;
    }
    return slot;
}
