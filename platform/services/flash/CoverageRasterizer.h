#pragma once
// Anti-aliased scan conversion of polygons given as loose line segments.
// Each pixel's coverage is measured exactly across the row and on several
// sub-rows down it, so edges come out smooth at any angle.

#include <cstdint>
#include <vector>

#include "FlashWorkBudget.h"
#include "Geometry.h"

enum class FillRule { EvenOdd, NonZero };

struct RasterSegment {
    double X0, Y0, X1, Y1;
    int Winding = 1;  // counted when the segment runs downwards, negated upwards
};

// Coverage of the pixels of Bounds (0 = outside, 255 = fully inside), one
// byte per pixel, rows Stride bytes apart (a multiple of 4, as pixman wants).
struct CoverageMask {
    TRect Bounds;
    int Stride = 0;
    std::vector<std::uint8_t> Alpha;
    bool Empty() const { return IsRectEmpty(Bounds); }
};

// Only pixels inside `clip` are measured; segments may lie anywhere. The
// work grows with the area measured and the rows each segment crosses; it
// is spent from `budget` before any of it is done, and when the budget does
// not hold it the mask comes back empty (and the budget exhausted).
CoverageMask RasterizeCoverage(const std::vector<RasterSegment>& segments, FillRule rule, const TRect& clip,
                               FlashWorkBudget& budget);
