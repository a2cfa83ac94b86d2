// Scroll bar arithmetic: thumb size and place, hit tests, dragging.

#include <gtest/gtest.h>

#include "ScrollBarModel.h"

namespace {

TEST(ScrollBarModelTest, ThumbSizeFollowsThePageAndItsPlaceThePosition) {
    // A vertical bar 16 wide and 216 high: 16-pixel arrows, a 184-pixel track.
    const TRect bar{0, 0, 16, 216};
    TScrollInfo info{0, 99, 23, 0};
    TScrollBarGeometry g = LayoutScrollBar(bar, true, info);
    EXPECT_EQ(g.Track, (TRect{0, 16, 16, 200}));
    EXPECT_EQ(g.Thumb.Height(), 42);  // 184 * 23 / 100
    EXPECT_EQ(g.Thumb.Top, 16);
    info.Pos = info.MaxPos();
    EXPECT_EQ(info.MaxPos(), 77);
    g = LayoutScrollBar(bar, true, info);
    EXPECT_EQ(g.Thumb.Bottom, 200);
    // A huge range keeps a grabbable thumb.
    g = LayoutScrollBar(bar, true, {0, 100000, 10, 0});
    EXPECT_EQ(g.Thumb.Height(), kMinThumbLength);
    // Nothing to scroll: no thumb at all.
    EXPECT_TRUE(IsRectEmpty(LayoutScrollBar(bar, true, {0, 9, 10, 0}).Thumb));
    EXPECT_FALSE((TScrollInfo{0, 9, 10, 0}).Scrollable());
}

TEST(ScrollBarModelTest, HitTestsAndDraggingMapBackToPositions) {
    const TRect bar{0, 0, 216, 16};
    TScrollInfo info{0, 99, 23, 40};
    const TScrollBarGeometry g = LayoutScrollBar(bar, false, info);
    EXPECT_EQ(HitTestScrollBar(g, {3, 8}), TScrollPart::LineBack);
    EXPECT_EQ(HitTestScrollBar(g, {210, 8}), TScrollPart::LineForward);
    EXPECT_EQ(HitTestScrollBar(g, {g.Thumb.Left + 1, 8}), TScrollPart::Thumb);
    EXPECT_EQ(HitTestScrollBar(g, {g.Thumb.Left - 1, 8}), TScrollPart::PageBack);
    EXPECT_EQ(HitTestScrollBar(g, {g.Thumb.Right, 8}), TScrollPart::PageForward);
    EXPECT_EQ(HitTestScrollBar(g, {300, 8}), TScrollPart::None);
    // The thumb's own place maps back to its position; the ends to the range's ends.
    EXPECT_EQ(PositionFromThumb(g, info, g.Thumb.Left - g.Track.Left), 40);
    EXPECT_EQ(PositionFromThumb(g, info, -50), 0);
    EXPECT_EQ(PositionFromThumb(g, info, 5000), 77);
    // Min = Max: nothing to drag.
    const TScrollInfo flat{5, 5, 0, 5};
    EXPECT_EQ(PositionFromThumb(LayoutScrollBar(bar, false, flat), flat, 30), 5);
}

}  // namespace
