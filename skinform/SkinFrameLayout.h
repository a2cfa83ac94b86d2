#pragma once
// The geometry of a skinned window frame for one window size: where the skin's
// corner points, client area, caption and button areas, resize corners and
// mask area lie on the window (window coordinates, frame included), and the
// non-client size a frame leaves for the client. Pure arithmetic, so every
// rule can be checked without a window.

#include "Forms.h"
#include "Geometry.h"
#include "SkinIniValues.h"

struct SkinFrameLayout {
    TPoint FrameLeftTop;
    TPoint FrameRightTop;
    TPoint FrameLeftBottom;
    TPoint FrameRightBottom;
    TRect FrameClientRect;
    TRect CaptionArea;
    TRect ButtonsArea;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    TPoint HitLeftTop;
    TPoint HitRightTop;
    TPoint HitLeftBottom;
    TPoint HitRightBottom;
    TRect MaskArea;

    friend bool operator==(const SkinFrameLayout&, const SkinFrameLayout&) = default;
};

// The frame of a `frame`-sized window drawn from a frame picture of size
// `picture`: points right of the fixed left parts move with the width, those
// below the fixed top parts with the height. A buttons area that starts in the
// right half of the picture moves with the right edge; one in the left half
// stays.
SkinFrameLayout ComputeFrameLayout(const SkinFormInfo& info, TSize picture, TSize frame);

// The client rectangle a skinned frame leaves of the proposed window
// rectangle: the picture's frame thickness on each side, never inverted.
TRect SkinnedClientRect(const SkinFormInfo& info, TSize picture, const TRect& proposed);
// The same for the built-in frame: 3 pixels each side, and the caption above.
TRect DefaultClientRect(const TRect& proposed, int captionHeight);

// Caption height and caption button size of the built-in frame.
int DefaultCaptionHeightFor(TFormBorderStyle style);
int DefaultButtonSizeFor(TFormBorderStyle style);

// Where a frame object whose image lies in the frame picture goes on the
// window: it keeps its place relative to the nearest picture corner, and a
// rectangle spanning corners stretches between them. `frameRightBottom` is
// the right-bottom point placed on the window.
TRect MapSkinRect(const TRect& skinRect, const SkinFormInfo& info, TSize picture, TPoint frameRightBottom);
