#pragma once
// The pen a canvas draws lines and outlines with.

#include "TColor.h"

// psDash, psDot, psDashDot and psDashDotDot are drawn with 1-pixel width
// whatever Width says, as the platform draws styled pens.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen's colour meets the pixels: pmCopy paints, pmNot inverts the
// pixels, pmXor combines colour and pixel with exclusive or.
enum TPenMode { pmCopy, pmNot, pmXor };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
    friend bool operator==(const TPen&, const TPen&) = default;
};
