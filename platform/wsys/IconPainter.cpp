// Shape tests and "over" compositing with straight alpha.

#include "IconPainter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int kSamples = 4;  // per axis and pixel

std::uint32_t Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFFu; }

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

// `src` with its alpha scaled by `coverage` laid over `dst`.
std::uint32_t Over(std::uint32_t src, double coverage, std::uint32_t dst) {
    const double sa = Channel(src, 24) / 255.0 * coverage;
    if (sa <= 0) return dst;
    const double da = Channel(dst, 24) / 255.0;
    const double oa = sa + da * (1 - sa);
    std::uint32_t out = std::uint32_t(std::lround(oa * 255)) << 24;
    for (int shift : {16, 8, 0}) {
        const double c = (Channel(src, shift) * sa + Channel(dst, shift) * da * (1 - sa)) / oa;
        out |= std::uint32_t(std::clamp(std::lround(c), 0L, 255L)) << shift;
    }
    return out;
}
}  // namespace

IconShape IconCircle(double cx, double cy, double radius) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

IconShape IconEllipse(double left, double top, double right, double bottom) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2, rx = (right - left) / 2, ry = (bottom - top) / 2;
    return [=](double x, double y) {
        if (rx <= 0 || ry <= 0) return false;
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1;
    };
}

IconShape IconRoundRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x > right || y < top || y > bottom) return false;
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

IconShape IconPolygon(std::vector<IconPoint> points) {
    return [pts = std::move(points)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const IconPoint& a = pts[i];
            const IconPoint& b = pts[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
        return inside;
    };
}

IconShape IconSegment(IconPoint from, IconPoint to, double halfWidth) {
    return [=](double x, double y) {
        const double vx = to.x - from.x, vy = to.y - from.y;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((x - from.x) * vx + (y - from.y) * vy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = x - (from.x + t * vx), dy = y - (from.y + t * vy);
        return dx * dx + dy * dy <= halfWidth * halfWidth;
    };
}

IconShape IconArc(double cx, double cy, double innerRadius, double outerRadius, double fromDeg, double toDeg) {
    return [=](double x, double y) {
        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d2 < innerRadius * innerRadius || d2 > outerRadius * outerRadius) return false;
        double a = std::atan2(y - cy, x - cx) * 180 / std::numbers::pi;
        double from = std::fmod(fromDeg, 360.0), to = std::fmod(toDeg, 360.0);
        if (a < 0) a += 360;
        if (from < 0) from += 360;
        if (to < 0) to += 360;
        return from <= to ? (a >= from && a <= to) : (a >= from || a <= to);
    };
}

IconShape IconUnion(std::vector<IconShape> parts) {
    return [ps = std::move(parts)](double x, double y) {
        return std::any_of(ps.begin(), ps.end(), [&](const IconShape& s) { return s(x, y); });
    };
}

IconShape IconMinus(IconShape shape, IconShape cut) {
    return [=](double x, double y) { return shape(x, y) && !cut(x, y); };
}

IconPaint IconVerticalGradient(std::uint32_t top, std::uint32_t bottom, double y0, double y1) {
    return [=](double, double y) {
        const double t = y1 > y0 ? std::clamp((y - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
        std::uint32_t out = 0;
        for (int shift : {24, 16, 8, 0})
            out |= std::uint32_t(std::lround(Lerp(Channel(top, shift), Channel(bottom, shift), t))) << shift;
        return out;
    };
}

IconPainter::IconPainter(int pixelSize, double designSize)
    : size_(std::max(pixelSize, 1)), scale_(designSize / std::max(pixelSize, 1)),
      argb_(std::size_t(size_) * std::size_t(size_), 0u) {}

void IconPainter::Fill(const IconShape& shape, std::uint32_t argb) {
    Fill(shape, [argb](double, double) { return argb; });
}

void IconPainter::Fill(const IconShape& shape, const IconPaint& paint) {
    for (int py = 0; py < size_; ++py) {
        for (int px = 0; px < size_; ++px) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += shape((px + (sx + 0.5) / kSamples) * scale_, (py + (sy + 0.5) / kSamples) * scale_);
            if (!hits) continue;
            std::uint32_t& dst = argb_[std::size_t(py) * std::size_t(size_) + std::size_t(px)];
            dst = Over(paint((px + 0.5) * scale_, (py + 0.5) * scale_), double(hits) / (kSamples * kSamples), dst);
        }
    }
}

IconPixels IconPainter::Take() {
    IconPixels out{size_, size_, std::move(argb_)};
    argb_.assign(std::size_t(size_) * std::size_t(size_), 0u);
    return out;
}
