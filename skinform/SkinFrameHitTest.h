#pragma once
// The frame's answers to "what is at this point" (WM_NCHITTEST), for the
// skinned frame and for the built-in one, as functions of the frame's state,
// and the mask test that tells whether a point lies inside a skinned window's
// shape. Points are window coordinates; every rectangle test leaves out the
// right and bottom edges.

#include <functional>

#include "Geometry.h"
#include "SkinFrameLayout.h"
#include "SkinFrameParts.h"

// The four mask bitmaps cut for the current size, placed around the mask
// area: top at (0, 0), bottom at (0, MaskArea.Bottom), left at
// (0, MaskArea.Top), right at (MaskArea.Right, MaskArea.Top).
bool InsideMask(const SkinFrameLayout& layout, const SkinFramePartBitmaps& masks, TPoint p);

struct SkinHitTestState {
    TSize window;
    int borderWidth = 0;
    bool hasMask = false;
    bool rolledUpOrMinimized = false;
    bool maximized = false;
    bool canResize = false;
    bool inSizeMove = false;
    bool hotObject = false;
    // Whether a point lies on a caption object.
    std::function<bool(TPoint)> onCaption;
};

int HitTestSkinFrame(const SkinFrameLayout& layout, const SkinFramePartBitmaps& masks, const SkinHitTestState& state,
                     TPoint p);

struct DefaultHitTestState {
    TSize window;
    int captionHeight = 19;
    TRect captionRect;  // the built-in caption, window coordinates
    bool normalAndUnrolled = true;
    bool canResize = false;
    bool hotObject = false;
};

int HitTestDefaultFrame(const DefaultHitTestState& state, TPoint p);
