#pragma once
// The platform's plain look, drawn with a canvas: 3-D edges, button faces,
// arrows and classic scroll bars. Shared by every standard control so that
// they look alike.

#include "Geometry.h"
#include "ScrollBarModel.h"
#include "TCanvas.h"

enum class TEdgeKind {
    Raised,      // a button: light top-left, dark bottom-right, two pixels
    Sunken,      // an edit field: the reverse, two pixels
    RaisedThin,  // one pixel
    SunkenThin,  // one pixel
    Etched,      // a groove (group boxes)
};

// Draws the edge inside `r`; returns the rectangle inside it.
TRect DrawEdge(TCanvas& c, const TRect& r, TEdgeKind kind);

enum class TArrowDirection { Left, Up, Right, Down };
// A small filled triangle centred in `r`.
void DrawArrow(TCanvas& c, const TRect& r, TArrowDirection dir, TColor color);

// A push button face: raised, or sunken while pressed; `isDefault` adds the
// black outer frame of the default button.
void DrawButtonFace(TCanvas& c, const TRect& r, bool pressed, bool isDefault);

// Text drawn greyed the way disabled controls show it: a highlight copy one
// pixel down-right under a shadow copy.
void DrawDisabledText(TCanvas& c, const AnsiString& text, TRect r, unsigned flags);

// A classic scroll bar; `pressed` is the part held down (drawn pushed in).
void DrawScrollBar(TCanvas& c, const TScrollBarGeometry& g, TScrollPart pressed, bool enabled);
