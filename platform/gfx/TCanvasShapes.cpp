// TCanvas: lines, rectangles, ellipses and polygons.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "TBitmap.h"
#include "TCanvas.h"

namespace {

// On/off run lengths of the styled pens, in pixels along the line.
std::span<const int> DashPattern(TPenStyle style) {
    static constexpr std::array<int, 2> dash{18, 6};
    static constexpr std::array<int, 2> dot{3, 3};
    static constexpr std::array<int, 4> dashDot{9, 6, 3, 6};
    static constexpr std::array<int, 6> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case psDash: return dash;
        case psDot: return dot;
        case psDashDot: return dashDot;
        case psDashDotDot: return dashDotDot;
        default: return {};
    }
}

bool PatternOn(std::span<const int> pattern, int step) {
    int period = 0;
    for (int run : pattern) period += run;
    int pos = step % period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i]) return i % 2 == 0;
        pos -= pattern[i];
    }
    return true;
}

// The pixel columns [x0, x1) of row y inside a rectangle with rounded corners
// (corner ellipse radii rx, ry), sampled at pixel centres.
bool RoundedSpan(double left, double top, double right, double bottom, double rx, double ry, int y, int& x0,
                 int& x1) {
    const double yc = y + 0.5;
    if (yc < top || yc > bottom) return false;
    double inset = 0;
    double dy = 0;
    if (yc < top + ry) dy = top + ry - yc;
    else if (yc > bottom - ry) dy = yc - (bottom - ry);
    if (dy > 0 && ry > 0) {
        const double t = dy / ry;
        if (t > 1) return false;
        inset = rx - rx * std::sqrt(1 - t * t);
    }
    x0 = int(std::ceil(left + inset - 0.5));
    x1 = int(std::floor(right - inset - 0.5)) + 1;
    return x1 > x0;
}

}  // namespace

void TCanvas::LineTo(int x, int y) {
    StrokeLine(penPos_, {x, y});
    penPos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    for (std::size_t i = 1; i < points.size(); ++i) StrokeLine(points[i - 1], points[i]);
}

// A line from `from` to `to`, `to` excluded, with the pen; the gaps of a
// styled pen take the brush colour unless the brush is clear.
void TCanvas::StrokeLine(TPoint from, TPoint to) {
    if (Pen.Style == psClear || !target_ || from == to) return;
    const TRegion clip = SurfaceClip();
    if (clip.IsEmpty()) return;
    const std::uint32_t ink = ColorToPixel(Pen.Color);
    const std::uint32_t gap = ColorToPixel(Brush.Color);
    const std::span<const int> pattern = DashPattern(Pen.Style);
    const bool fillGaps = Brush.Style != bsClear;
    // Styled pens are always 1 pixel wide; a wide pen stamps a square per step.
    const int width = pattern.empty() ? std::max(1, Pen.Width) : 1;
    const int before = (width - 1) / 2, after = width - 1 - before;

    const TPoint shift = Shift();
    int x = from.X + shift.X, y = from.Y + shift.Y;
    const int ex = to.X + shift.X, ey = to.Y + shift.Y;
    const int dx = std::abs(ex - x), dy = -std::abs(ey - y);
    const int sx = x < ex ? 1 : -1, sy = y < ey ? 1 : -1;
    int err = dx + dy;
    for (int step = 0; x != ex || y != ey; ++step) {
        const bool on = pattern.empty() || PatternOn(pattern, step);
        if (on || fillGaps) {
            const std::uint32_t pixel = on ? ink : gap;
            const TPenMode mode = on ? Pen.Mode : pmCopy;
            if (width == 1)
                PlotSurface(x, y, pixel, mode, clip);
            else
                for (int py = y - before; py <= y + after; ++py)
                    for (int px = x - before; px <= x + after; ++px) PlotSurface(px, py, pixel, mode, clip);
        }
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

void TCanvas::FillSpans(const std::vector<Span>& spans, TColor color, TPenMode mode) {
    if (!target_) return;
    const TRegion clip = SurfaceClip();
    const std::uint32_t pixel = ColorToPixel(color);
    const TPoint shift = Shift();
    for (const auto& [y, xs] : spans) {
        if (mode == pmCopy) {
            FillSurfaceRect({xs.first + shift.X, y + shift.Y, xs.second + shift.X, y + shift.Y + 1}, pixel, clip);
        } else {
            for (int x = xs.first; x < xs.second; ++x) PlotSurface(x + shift.X, y + shift.Y, pixel, mode, clip);
        }
    }
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    const bool outline = Pen.Style != psClear;
    const int w = outline ? (DashPattern(Pen.Style).empty() ? std::max(1, Pen.Width) : 1) : 0;
    if (Brush.Style != bsClear)
        FillSurfaceRect(ToSurface({left + w, top + w, right - w, bottom - w}), ColorToPixel(Brush.Color));
    if (!outline) return;
    const int r = right - 1, b = bottom - 1;
    if (w == 1 && r > left && b > top) {
        // One closed path: every border pixel once, so styled pens and pen
        // modes behave.
        StrokeLine({left, top}, {r, top});
        StrokeLine({r, top}, {r, b});
        StrokeLine({r, b}, {left, b});
        StrokeLine({left, b}, {left, top});
        return;
    }
    std::vector<Span> spans;
    for (int y = top; y < bottom; ++y) {
        if (y < top + w || y >= bottom - w)
            spans.push_back({y, {left, right}});
        else {
            spans.push_back({y, {left, std::min(right, left + w)}});
            spans.push_back({y, {std::max(left, right - w), right}});
        }
    }
    FillSpans(spans, Pen.Color, Pen.Mode);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    StrokeRoundedRect(left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    StrokeRoundedRect(left, top, right, bottom, cornerW, cornerH);
}

// Fills the rounded shape with the brush and rings it with the pen; the
// ring is the shape minus the same shape inset by the pen width.
void TCanvas::StrokeRoundedRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    const double rx = std::min(std::abs(cornerW), right - left) / 2.0;
    const double ry = std::min(std::abs(cornerH), bottom - top) / 2.0;
    const int w = Pen.Style == psClear ? 0 : std::max(1, Pen.Width);

    std::vector<Span> fill, ring;
    for (int y = top; y < bottom; ++y) {
        int ox0, ox1;
        if (!RoundedSpan(left, top, right, bottom, rx, ry, y, ox0, ox1)) continue;
        int ix0 = 0, ix1 = 0;
        const bool inner = RoundedSpan(left + w, top + w, right - w, bottom - w, std::max(0.0, rx - w),
                                       std::max(0.0, ry - w), y, ix0, ix1);
        if (!inner) {
            ring.push_back({y, {ox0, ox1}});
            continue;
        }
        fill.push_back({y, {ix0, ix1}});
        if (ix0 > ox0) ring.push_back({y, {ox0, ix0}});
        if (ox1 > ix1) ring.push_back({y, {ix1, ox1}});
    }
    if (Brush.Style != bsClear) FillSpans(fill, Brush.Color, pmCopy);
    if (w > 0) FillSpans(ring, Pen.Color, Pen.Mode);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    if (Brush.Style != bsClear && points.size() >= 3) {
        int minY = points[0].Y, maxY = points[0].Y;
        for (const TPoint& p : points) minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
        std::vector<Span> spans;
        std::vector<double> crossings;
        for (int y = minY; y < maxY; ++y) {
            // Alternate rule at pixel centres: inside between odd and even crossings.
            const double yc = y + 0.5;
            crossings.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const TPoint a = points[i], b = points[(i + 1) % points.size()];
                if ((a.Y <= yc && yc < b.Y) || (b.Y <= yc && yc < a.Y))
                    crossings.push_back(a.X + (yc - a.Y) * (b.X - a.X) / double(b.Y - a.Y));
            }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                const int x0 = int(std::ceil(crossings[i] - 0.5));
                const int x1 = int(std::ceil(crossings[i + 1] - 0.5));
                if (x1 > x0) spans.push_back({y, {x0, x1}});
            }
        }
        FillSpans(spans, Brush.Color, pmCopy);
    }
    for (std::size_t i = 0; i < points.size(); ++i) StrokeLine(points[i], points[(i + 1) % points.size()]);
}
