#include "FlashRenderer.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "CoverageRasterizer.h"

namespace {

struct PixmanImageDeleter {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanImageDeleter>;

// A paint source with the pixels it may point into.
struct PaintSource {
    PixmanImage Image;
    std::vector<std::uint32_t> Pixels;  // a colour-transformed copy of a bitmap
};

constexpr int kMaxCurveSteps = 64;
// Gradients are defined on a square 32768 twips wide; they are set up on a
// square 2 units wide so that pixman's 16.16 fixed point never overflows.
constexpr double kGradientHalfSize = 16384.0;

pixman_color_t PixmanColor(SwfRGBA c, bool premultiply) {
    auto channel = [&](std::uint8_t v) {
        const unsigned value = premultiply ? (v * c.A + 127) / 255 : v;
        return static_cast<std::uint16_t>(value * 257);
    };
    return {channel(c.R), channel(c.G), channel(c.B), static_cast<std::uint16_t>(c.A * 257)};
}

bool ToPixmanTransform(const SwfMatrix& m, pixman_transform_t& transform) {
    const double values[] = {m.A, m.C, m.TX, m.B, m.D, m.TY};
    for (double v : values) {
        if (!std::isfinite(v) || std::fabs(v) > 32000.0) return false;
    }
    pixman_transform_init_identity(&transform);
    transform.matrix[0][0] = pixman_double_to_fixed(m.A);
    transform.matrix[0][1] = pixman_double_to_fixed(m.C);
    transform.matrix[0][2] = pixman_double_to_fixed(m.TX);
    transform.matrix[1][0] = pixman_double_to_fixed(m.B);
    transform.matrix[1][1] = pixman_double_to_fixed(m.D);
    transform.matrix[1][2] = pixman_double_to_fixed(m.TY);
    return true;
}

// Maps target pixels back into the source's own space.
bool SetSourceTransform(pixman_image_t* image, const SwfMatrix& sourceToDevice) {
    SwfMatrix deviceToSource;
    pixman_transform_t transform;
    if (!sourceToDevice.Invert(deviceToSource) || !ToPixmanTransform(deviceToSource, transform)) return false;
    return pixman_image_set_transform(image, &transform) != 0;
}

PaintSource GradientSource(const FlashFillStyle& fill, const SwfMatrix& toDevice, const SwfColorTransform& cx) {
    PaintSource source;
    std::vector<SwfGradientStop> stops = fill.Stops;
    if (stops.empty()) return source;
    std::stable_sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.Ratio < b.Ratio; });
    std::vector<pixman_gradient_stop_t> pixmanStops;
    for (const auto& stop : stops) {
        pixmanStops.push_back({pixman_double_to_fixed(stop.Ratio), PixmanColor(cx.Apply(stop.Color), false)});
    }
    if (pixmanStops.size() == 1) {
        const pixman_color_t solid = PixmanColor(cx.Apply(stops.front().Color), true);
        source.Image.reset(pixman_image_create_solid_fill(&solid));
        return source;
    }
    const int count = static_cast<int>(pixmanStops.size());
    if (fill.Type == FlashFillStyle::Kind::LinearGradient) {
        const pixman_point_fixed_t from{pixman_int_to_fixed(-1), 0};
        const pixman_point_fixed_t to{pixman_int_to_fixed(1), 0};
        source.Image.reset(pixman_image_create_linear_gradient(&from, &to, pixmanStops.data(), count));
    } else {
        const double focal = fill.Type == FlashFillStyle::Kind::FocalGradient ? std::clamp(fill.FocalPoint, -0.98, 0.98) : 0;
        const pixman_point_fixed_t inner{pixman_double_to_fixed(focal), 0};
        const pixman_point_fixed_t outer{0, 0};
        source.Image.reset(pixman_image_create_radial_gradient(&inner, &outer, 0, pixman_int_to_fixed(1),
                                                               pixmanStops.data(), count));
    }
    if (!source.Image) return source;
    const SwfMatrix unitToTwips = fill.Matrix * SwfMatrix{kGradientHalfSize, 0, 0, kGradientHalfSize, 0, 0};
    if (!SetSourceTransform(source.Image.get(), toDevice * unitToTwips)) {
        source.Image.reset();
        return source;
    }
    const pixman_repeat_t repeat = fill.SpreadMode == 1   ? PIXMAN_REPEAT_REFLECT
                                   : fill.SpreadMode == 2 ? PIXMAN_REPEAT_NORMAL
                                                          : PIXMAN_REPEAT_PAD;
    pixman_image_set_repeat(source.Image.get(), repeat);
    return source;
}

PaintSource BitmapSource(const FlashFillStyle& fill, const SwfMatrix& toDevice, const SwfColorTransform& cx,
                         const std::map<std::uint16_t, FlashBitmap>& bitmaps, FlashWorkBudget& budget) {
    PaintSource source;
    const auto found = bitmaps.find(fill.BitmapId);
    if (found == bitmaps.end()) return source;
    const FlashBitmap& bitmap = found->second;
    std::uint32_t* pixels = const_cast<std::uint32_t*>(bitmap.Pixels.data());  // pixman only reads them
    if (!cx.IsIdentity()) {
        // A colour-transformed bitmap is copied whole, every time it is drawn.
        if (!budget.Spend(bitmap.Pixels.size())) return source;
        source.Pixels = bitmap.Pixels;
        for (auto& p : source.Pixels) {
            const std::uint8_t a = p >> 24;
            auto straight = [a](std::uint32_t c) { return std::uint8_t(a == 0 ? 0 : std::min<std::uint32_t>(255, c * 255 / a)); };
            const SwfRGBA c = cx.Apply({straight((p >> 16) & 0xFF), straight((p >> 8) & 0xFF), straight(p & 0xFF), a});
            auto pre = [&c](std::uint8_t v) { return std::uint32_t((v * c.A + 127) / 255); };
            p = (std::uint32_t(c.A) << 24) | (pre(c.R) << 16) | (pre(c.G) << 8) | pre(c.B);
        }
        pixels = source.Pixels.data();
    }
    source.Image.reset(pixman_image_create_bits(PIXMAN_a8r8g8b8, bitmap.Width, bitmap.Height, pixels, bitmap.Width * 4));
    if (!source.Image) return source;
    if (!SetSourceTransform(source.Image.get(), toDevice * fill.Matrix)) {
        source.Image.reset();
        return source;
    }
    pixman_image_set_filter(source.Image.get(), fill.Smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(source.Image.get(), fill.Repeat ? PIXMAN_REPEAT_NORMAL : PIXMAN_REPEAT_PAD);
    return source;
}

PaintSource MakeSource(const FlashFillStyle& fill, const SwfMatrix& toDevice, const SwfColorTransform& cx,
                       const std::map<std::uint16_t, FlashBitmap>& bitmaps, FlashWorkBudget& budget) {
    switch (fill.Type) {
        case FlashFillStyle::Kind::Solid: {
            const SwfRGBA color = cx.Apply(fill.Color);
            PaintSource source;
            if (color.A == 0) return source;
            const pixman_color_t solid = PixmanColor(color, true);
            source.Image.reset(pixman_image_create_solid_fill(&solid));
            return source;
        }
        case FlashFillStyle::Kind::Bitmap:
            return BitmapSource(fill, toDevice, cx, bitmaps, budget);
        default:
            return GradientSource(fill, toDevice, cx);
    }
}

void Composite(const PaintSource& source, const CoverageMask& mask, TBitmap& target) {
    if (!source.Image || mask.Empty() || target.Image() == nullptr) return;
    PixmanImage maskImage(pixman_image_create_bits(PIXMAN_a8, mask.Bounds.Width(), mask.Bounds.Height(),
                                                   reinterpret_cast<std::uint32_t*>(const_cast<std::uint8_t*>(mask.Alpha.data())),
                                                   mask.Stride));
    if (!maskImage) return;
    pixman_image_composite32(PIXMAN_OP_OVER, source.Image.get(), maskImage.get(), target.Image(), mask.Bounds.Left,
                             mask.Bounds.Top, 0, 0, mask.Bounds.Left, mask.Bounds.Top, mask.Bounds.Width(),
                             mask.Bounds.Height());
}

// The edge in target pixels as a polyline; curves are cut into steps short
// enough that no step strays more than a fraction of a pixel.
void FlattenEdge(const FlashEdge& edge, const SwfMatrix& toDevice, std::vector<SwfPoint>& points) {
    points.clear();
    const SwfPoint from = toDevice.Apply(edge.From);
    const SwfPoint to = toDevice.Apply(edge.To);
    points.push_back(from);
    if (edge.Curved) {
        const SwfPoint control = toDevice.Apply(edge.Control);
        const double bendX = from.X - 2 * control.X + to.X;
        const double bendY = from.Y - 2 * control.Y + to.Y;
        const double bend = std::sqrt(bendX * bendX + bendY * bendY);
        const int steps = std::isfinite(bend) ? std::clamp(static_cast<int>(std::ceil(std::sqrt(bend * 2))), 1, kMaxCurveSteps) : 1;
        for (int i = 1; i < steps; ++i) {
            const double t = static_cast<double>(i) / steps, u = 1 - t;
            points.push_back({u * u * from.X + 2 * u * t * control.X + t * t * to.X,
                              u * u * from.Y + 2 * u * t * control.Y + t * t * to.Y});
        }
    }
    points.push_back(to);
}

void AddPolyline(const std::vector<SwfPoint>& points, int winding, std::vector<RasterSegment>& segments) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        segments.push_back({points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, winding});
    }
}

// A closed polygon, always added with the same turning sense, so that the
// pieces of a stroke join into one area under the non-zero rule.
void AddClosedPolygon(std::vector<SwfPoint> polygon, std::vector<RasterSegment>& segments) {
    double area = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const SwfPoint& a = polygon[i];
        const SwfPoint& b = polygon[(i + 1) % polygon.size()];
        area += a.X * b.Y - b.X * a.Y;
    }
    if (area < 0) std::reverse(polygon.begin(), polygon.end());
    polygon.push_back(polygon.front());
    AddPolyline(polygon, 1, segments);
}

void AddRoundDot(SwfPoint centre, double radius, std::vector<RasterSegment>& segments) {
    const int sides = std::clamp(static_cast<int>(radius * 4), 8, 48);
    std::vector<SwfPoint> polygon;
    for (int i = 0; i < sides; ++i) {
        const double angle = 2 * std::numbers::pi * i / sides;
        polygon.push_back({centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle)});
    }
    AddClosedPolygon(std::move(polygon), segments);
}

// The outline of a stroke along the polyline: a band per step and round
// caps and joins at the ends of the edge.
void AddStroke(const std::vector<SwfPoint>& points, double halfWidth, std::vector<RasterSegment>& segments) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        const SwfPoint a = points[i - 1], b = points[i];
        const double dx = b.X - a.X, dy = b.Y - a.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 1e-9) || !std::isfinite(length)) continue;
        const double nx = -dy / length * halfWidth, ny = dx / length * halfWidth;
        AddClosedPolygon({{a.X + nx, a.Y + ny}, {b.X + nx, b.Y + ny}, {b.X - nx, b.Y - ny}, {a.X - nx, a.Y - ny}}, segments);
    }
    AddRoundDot(points.front(), halfWidth, segments);
    AddRoundDot(points.back(), halfWidth, segments);
}

// The edges of a layer sorted by the styles they bound, in one pass over
// the edges: a fill style's edges with the winding they add (an edge bounds
// the style on its right with +1 and the one on its left with -1), and a
// line style's edges. Styles no edge uses cost nothing but their empty slot.
struct StyleEdges {
    std::vector<std::vector<std::pair<const FlashEdge*, int>>> Fills;
    std::vector<std::vector<const FlashEdge*>> Lines;
};

StyleEdges SortEdgesByStyle(const FlashShapeLayer& layer) {
    StyleEdges sorted;
    sorted.Fills.resize(layer.Fills.size() + 1);
    sorted.Lines.resize(layer.Lines.size() + 1);
    for (const FlashEdge& edge : layer.Edges) {
        // An edge with the same fill on both sides bounds nothing.
        if (edge.FillStyle0 != edge.FillStyle1) {
            if (edge.FillStyle0 > 0) sorted.Fills[std::size_t(edge.FillStyle0)].emplace_back(&edge, -1);
            if (edge.FillStyle1 > 0) sorted.Fills[std::size_t(edge.FillStyle1)].emplace_back(&edge, 1);
        }
        if (edge.LineStyle > 0) sorted.Lines[std::size_t(edge.LineStyle)].push_back(&edge);
    }
    return sorted;
}

}  // namespace

bool DrawFlashShape(const FlashShape& shape, const SwfMatrix& toDevice, const SwfColorTransform& colorTransform,
                    const std::map<std::uint16_t, FlashBitmap>& bitmaps, TBitmap& target, FlashWorkBudget& budget,
                    FlashShapeCoverage* kept) {
    const TRect clip = target.BoundsRect();
    const FillRule rule = shape.NonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd;
    const double lineScale = std::sqrt(std::fabs(toDevice.Determinant()));
    std::vector<SwfPoint> points;
    std::vector<RasterSegment> segments;
    std::size_t paintIndex = 0;  // the paint's place in drawing order

    // Paints the area that `outline` encloses with `paint`, within the
    // budget. The outline is only built and scan-converted when the paint
    // shows and no coverage is kept for it from an earlier frame.
    auto fill = [&](const FlashFillStyle& paint, FillRule fillRule, auto&& outline) {
        const std::size_t index = paintIndex++;
        const PaintSource source = MakeSource(paint, toDevice, colorTransform, bitmaps, budget);
        if (budget.Exhausted()) return false;
        if (!source.Image) return true;
        if (kept != nullptr && index < kept->Paints.size() && kept->Paints[index]) {
            const CoverageMask& mask = *kept->Paints[index];
            // Compositing a kept mask costs a step per pixel it covers.
            if (!budget.Spend(std::uint64_t(mask.Stride) * std::uint64_t(mask.Bounds.Height()) + 1)) return false;
            Composite(source, mask, target);
            return true;
        }
        segments.clear();
        if (!outline()) return false;
        if (segments.empty()) return true;
        CoverageMask mask = RasterizeCoverage(segments, fillRule, clip, budget);
        if (budget.Exhausted()) return false;
        Composite(source, mask, target);
        if (kept != nullptr) {
            if (kept->Paints.size() <= index) kept->Paints.resize(index + 1);
            kept->Paints[index] = std::move(mask);
        }
        return true;
    };

    for (const FlashShapeLayer& layer : shape.Layers) {
        if (!budget.Spend(layer.Edges.size() + layer.Fills.size() + layer.Lines.size())) return false;
        const StyleEdges sorted = SortEdgesByStyle(layer);
        for (std::size_t style = 1; style < sorted.Fills.size(); ++style) {
            if (sorted.Fills[style].empty()) continue;
            const auto outline = [&] {
                for (const auto& [edge, winding] : sorted.Fills[style]) {
                    FlattenEdge(*edge, toDevice, points);
                    if (!budget.Spend(points.size())) return false;
                    AddPolyline(points, winding, segments);
                }
                return true;
            };
            if (!fill(layer.Fills[style - 1], rule, outline)) return false;
        }
        for (std::size_t style = 1; style < sorted.Lines.size(); ++style) {
            if (sorted.Lines[style].empty()) continue;
            const FlashLineStyle& line = layer.Lines[style - 1];
            const auto outline = [&] {
                // Lines never get thinner than one pixel, however far scaled down.
                const double halfWidth = std::max(1.0, line.Width * lineScale) / 2;
                for (const FlashEdge* edge : sorted.Lines[style]) {
                    FlattenEdge(*edge, toDevice, points);
                    const std::size_t before = segments.size();
                    AddStroke(points, halfWidth, segments);
                    if (!budget.Spend(segments.size() - before)) return false;
                }
                return true;
            };
            FlashFillStyle paint = line.HasFill ? line.Fill : FlashFillStyle{};
            if (!line.HasFill) paint.Color = line.Color;
            if (!fill(paint, FillRule::NonZero, outline)) return false;
        }
    }
    return true;
}
