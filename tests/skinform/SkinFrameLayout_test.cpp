// Frame geometry as pure arithmetic: how the skin's points land on windows of
// other sizes, the client area the frame leaves, and where objects that are
// part of the frame picture go.

#include <gtest/gtest.h>

#include "SkinFrameLayout.h"

namespace {

// A 200 x 100 frame picture: 8-pixel corners, a 30-pixel caption band,
// client (3, 30)-(197, 97).
SkinFormInfo Info() {
    SkinFormInfo i;
    i.lefttoppoint = {8, 30};
    i.righttoppoint = {192, 30};
    i.leftbottompoint = {8, 97};
    i.rightbottompoint = {192, 97};
    i.clientrect = {3, 30, 197, 97};
    i.maskrectarea = {3, 30, 197, 97};
    i.captionrect = {4, 5, 196, 25};
    i.hittestlefttoppoint = {8, 30};
    i.hittestrighttoppoint = {192, 30};
    i.hittestleftbottompoint = {8, 97};
    i.hittestrightbottompoint = {192, 97};
    i.buttonsoffset = 2;
    return i;
}
constexpr TSize kPicture{200, 100};

TEST(SkinFrameLayout, CornerPointsAndAreasMoveWithTheSize) {
    const struct {
        TSize frame;
        int dW, dH;
    } cases[] = {{{200, 100}, 0, 0}, {{551, 391}, 351, 291}, {{150, 60}, -50, -40}};
    for (const auto& c : cases) {
        const SkinFrameLayout l = ComputeFrameLayout(Info(), kPicture, c.frame);
        EXPECT_EQ(l.FrameLeftTop, (TPoint{8, 30}));
        EXPECT_EQ(l.FrameRightTop, (TPoint{192 + c.dW, 30}));
        EXPECT_EQ(l.FrameLeftBottom, (TPoint{8, 97 + c.dH}));
        EXPECT_EQ(l.FrameRightBottom, (TPoint{192 + c.dW, 97 + c.dH}));
        EXPECT_EQ(l.FrameClientRect, (TRect{3, 30, 197 + c.dW, 97 + c.dH}));
        EXPECT_EQ(l.CaptionArea, (TRect{4, 5, 196 + c.dW, 25}));
        EXPECT_EQ(l.HitRightBottom, (TPoint{192 + c.dW, 97 + c.dH}));
        EXPECT_EQ(l.HitLeftBottom, (TPoint{8, 97 + c.dH}));
        EXPECT_EQ(l.MaskArea, (TRect{3, 30, 197 + c.dW, 97 + c.dH}));
        EXPECT_EQ(l.ButtonsOffset, 2);
    }
}

TEST(SkinFrameLayout, AButtonsAreaInTheRightHalfMovesOneInTheLeftHalfStays) {
    const struct {
        TRect buttons;
        TRect expected;
    } cases[] = {
        {{150, 5, 196, 25}, {250, 5, 296, 25}},  // right half: moves with the right edge
        {{101, 5, 120, 25}, {201, 5, 220, 25}},  // just right of the middle
        {{100, 5, 120, 25}, {100, 5, 120, 25}},  // on the middle: stays
        {{4, 5, 60, 25}, {4, 5, 60, 25}},        // left half: stays
        {{0, 0, 0, 0}, {0, 0, 0, 0}},            // none
    };
    for (const auto& c : cases) {
        SkinFormInfo info = Info();
        info.buttonsrect = c.buttons;
        EXPECT_EQ(ComputeFrameLayout(info, kPicture, {300, 100}).ButtonsArea, c.expected) << c.buttons.Left;
    }
    SkinFormInfo noCaption = Info();
    noCaption.captionrect = {};
    EXPECT_EQ(ComputeFrameLayout(noCaption, kPicture, {300, 100}).CaptionArea, (TRect{}));
}

TEST(SkinFrameLayout, ClientAreaLeavesTheFrameAndNeverTurnsInsideOut) {
    EXPECT_EQ(SkinnedClientRect(Info(), kPicture, {100, 80, 651, 471}), (TRect{103, 110, 648, 468}));
    // Smaller than the frame alone: the client shrinks to nothing at its top-left.
    EXPECT_EQ(SkinnedClientRect(Info(), kPicture, {100, 80, 104, 90}), (TRect{103, 110, 103, 110}));
    EXPECT_EQ(DefaultClientRect({10, 10, 310, 210}, 19), (TRect{13, 32, 307, 207}));
    EXPECT_EQ(DefaultClientRect({10, 10, 310, 210}, 15), (TRect{13, 28, 307, 207}));
    EXPECT_EQ(DefaultClientRect({10, 10, 14, 20}, 19), (TRect{13, 32, 13, 32}));
}

TEST(SkinFrameLayout, ToolWindowsHaveTheSmallCaptionAndButtons) {
    const struct {
        TFormBorderStyle style;
        int caption, button;
    } cases[] = {{bsToolWindow, 15, 13}, {bsSizeToolWin, 15, 13}, {bsSizeable, 19, 17},
                 {bsSingle, 19, 17},     {bsDialog, 19, 17},      {bsNone, 19, 17}};
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultCaptionHeightFor(c.style), c.caption) << c.style;
        EXPECT_EQ(DefaultButtonSizeFor(c.style), c.button) << c.style;
    }
}

TEST(SkinFrameLayout, FramePictureObjectsKeepTheirCorner) {
    // The window is 100 wider and 50 higher than the picture.
    const TPoint rightBottom{292, 147};
    const struct {
        TRect skin;
        TRect expected;
    } cases[] = {
        {{1, 1, 6, 6}, {1, 1, 6, 6}},                  // top-left corner: stays
        {{193, 2, 199, 8}, {293, 2, 299, 8}},          // top-right: moves right
        {{2, 98, 6, 99}, {2, 148, 6, 149}},            // bottom-left: moves down
        {{193, 98, 199, 99}, {293, 148, 299, 149}},    // bottom-right: both
        {{4, 5, 196, 25}, {4, 5, 296, 25}},            // across the top: widens
        {{2, 98, 196, 99}, {2, 148, 296, 149}},        // across the bottom: widens, moves down
        {{1, 10, 6, 98}, {1, 10, 6, 148}},             // down the left: grows
        {{193, 10, 199, 98}, {293, 10, 299, 148}},     // down the right: moves right, grows
        {{2, 2, 196, 98}, {2, 2, 296, 148}},           // top-left to bottom-right: grows both ways
        {{50, 40, 60, 50}, {50, 40, 60, 50}},          // in the middle: stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapSkinRect(c.skin, Info(), kPicture, rightBottom), c.expected) << c.skin.Left << "," << c.skin.Top;
}

}  // namespace
