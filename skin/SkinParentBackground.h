#pragma once
// What lies under a control that is drawn transparent over its parent: the
// parent's background and own painting, and the windowless siblings beneath
// the control, drawn into the control's canvas in the control's coordinates.

#include "Controls.h"
#include "TCanvas.h"

// Paints into `canvas` (whose (0, 0) is the control's top-left corner) what
// the parent shows under `control`: the parent's erased background, its own
// painting unless it is a form (a form's painting belongs to its frame and
// client, not to the area under a child), and every visible windowless
// sibling that lies below the control in z-order and overlaps it. Nothing
// for a control without a parent. While it runs the parent carries
// csPaintCopy in its ControlState. The canvas's state is left as it was.
void PaintParentBackground(const TControl& control, TCanvas& canvas);
