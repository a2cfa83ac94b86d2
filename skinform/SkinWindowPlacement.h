#pragma once
// Where the frame puts a window: centred in a monitor's rectangle, and the
// slot of a minimised secondary window (a title strip) at the bottom of the
// work area.

#include <functional>

#include "Geometry.h"

// The origin that centres a `width` x `height` window in `area` (halves
// rounded toward zero).
TPoint CentreIn(const TRect& area, int width, int height);

// The first free slot for a minimised strip of `width` x `height`, from the
// bottom-left corner of `area` to the right, then row by row upwards.
// `taken` tells whether another minimised window already sits at a slot's
// origin. When every row is full the first slot is used again.
TPoint FindMinimizedSlot(const TRect& area, int width, int height, const std::function<bool(TPoint)>& taken);
