#pragma once
// Where a popup menu window goes: beside or under its anchor (a point, the
// object or button that opened it, or the parent item of a submenu), kept
// inside the work area of the monitor it opens on. Pure arithmetic, so the
// cases near the edges of the work area can be checked one by one.

#include "Geometry.h"

struct SkinMenuPlacementInput {
    TRect anchor;          // screen coordinates; an empty rectangle for a point
    TRect workArea;
    int width = 0;         // the popup's size
    int height = 0;
    int parentItemsTop = 0;  // a submenu: the top of its parent's items area
    bool submenu = false;
    bool upward = false;     // the menu prefers to open above its anchor
    bool scrollable = false; // cut to the work area's height
    bool scrollLimited = false;  // scrolling because of a maximum item count
};

// The popup's top-left corner on the screen.
TPoint PlaceSkinMenu(const SkinMenuPlacementInput& in);
