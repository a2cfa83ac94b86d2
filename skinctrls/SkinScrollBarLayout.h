#pragma once
// Where the parts of a skinned scroll bar lie for its size, range and
// position: the decrement and increment buttons, the track, the thumb and
// the thumb's travel. Without a skin the bar has 17-pixel buttons inside a
// one-pixel margin and a thumb of at least 16 pixels; with one, the places
// come from the record, the parts in the right (or bottom) end move with the
// bar's length, and the thumb is at least as long as the skin's thumb.
// Kept apart from any window so that the arithmetic can be checked alone.

#include "Geometry.h"
#include "SkinControlRecords.h"

struct ScrollBarRange {
    int Min = 0;
    int Max = 100;
    int Position = 0;
    int PageSize = 0;  // 0: no page, the thumb has its fixed length
};

struct ScrollBarLayout {
    TRect DecButton;  // left or top
    TRect IncButton;  // right or bottom
    TRect Track;
    TRect Thumb;
    int ThumbTravelStart = 0;  // where the thumb's centre may go, along the bar
    int ThumbTravelEnd = 0;
    int ThumbShift = 0;        // thumb start minus track start, along the bar
};

// Without a skin. `usableLength` is the bar's length less the corner kept
// free while it shares one with a vertical bar.
ScrollBarLayout LayoutDefaultScrollBar(int W, int H, bool vertical, int usableLength, const ScrollBarRange& range);

// From a scroll bar record (places relative to its skinrect).
ScrollBarLayout LayoutSkinnedScrollBar(int W, int H, bool vertical, const TbsDataSkinScrollBarControl& record,
                                       const ScrollBarRange& range);

// The position a thumb dragged to `shift` (thumb start minus track start)
// stands for, clamped to the range. `thumbLength` is the thumb's current
// length along the bar; with a page the travel is measured from it.
int ScrollBarPositionForShift(const ScrollBarLayout& layout, bool vertical, int thumbLength, int shift,
                              const ScrollBarRange& range);
