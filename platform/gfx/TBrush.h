#pragma once
// The brush a canvas fills with. A solid brush also paints the background of
// text and the gaps of styled lines (the platform's opaque background mode);
// bsClear leaves them as they are (transparent mode) and fills nothing.

#include "TColor.h"

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};
