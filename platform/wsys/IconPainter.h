#pragma once
// Drawing icons from shapes: each shape is a test "is this point inside",
// sampled 4 x 4 times per pixel, so edges are smooth at any size. Shapes are
// given in design units on a square of `designSize` units that maps onto the
// whole picture, so one drawing serves every icon size.

#include <cstdint>
#include <functional>
#include <vector>

#include "Icons.h"

struct IconPoint {
    double x = 0;
    double y = 0;
};

using IconShape = std::function<bool(double x, double y)>;
// The colour at a design point: straight 0xAARRGGBB.
using IconPaint = std::function<std::uint32_t(double x, double y)>;

IconShape IconCircle(double cx, double cy, double radius);
IconShape IconEllipse(double left, double top, double right, double bottom);
IconShape IconRoundRect(double left, double top, double right, double bottom, double radius);
IconShape IconPolygon(std::vector<IconPoint> points);
// A stroke from one point to another with round ends.
IconShape IconSegment(IconPoint from, IconPoint to, double halfWidth);
// The part of the ring between the radii whose direction lies between the
// two angles (degrees, clockwise from the positive x axis, y pointing down).
IconShape IconArc(double cx, double cy, double innerRadius, double outerRadius, double fromDeg, double toDeg);
IconShape IconUnion(std::vector<IconShape> parts);
IconShape IconMinus(IconShape shape, IconShape cut);

// A vertical gradient from `top` at design y0 to `bottom` at y1.
IconPaint IconVerticalGradient(std::uint32_t top, std::uint32_t bottom, double y0, double y1);

class IconPainter {
public:
    IconPainter(int pixelSize, double designSize);

    // Lays the shape over the picture in a solid colour or a paint.
    void Fill(const IconShape& shape, std::uint32_t argb);
    void Fill(const IconShape& shape, const IconPaint& paint);

    int PixelSize() const { return size_; }
    IconPixels Take();

private:
    int size_;
    double scale_;  // design units per pixel
    std::vector<std::uint32_t> argb_;
};
