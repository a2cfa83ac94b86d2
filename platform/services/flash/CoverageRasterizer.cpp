#include "CoverageRasterizer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSubRows = 8;  // vertical samples per pixel

struct Crossing {
    double X;
    int Winding;
};

bool Inside(int winding, FillRule rule) { return rule == FillRule::NonZero ? winding != 0 : (winding & 1) != 0; }

// Adds `weight` times the covered part of [from, to) to the pixels of a row.
void AddSpan(std::vector<float>& row, double from, double to, float weight) {
    const double width = static_cast<double>(row.size());
    from = std::clamp(from, 0.0, width);
    to = std::clamp(to, 0.0, width);
    if (to <= from) return;
    const int first = static_cast<int>(from);
    const int last = std::min(static_cast<int>(to), static_cast<int>(row.size()) - 1);
    if (first >= last) {
        row[first] += static_cast<float>((to - from) * weight);
        return;
    }
    row[first] += static_cast<float>((first + 1 - from) * weight);
    for (int x = first + 1; x < last; ++x) row[x] += weight;
    row[last] += static_cast<float>((to - last) * weight);
}

}  // namespace

CoverageMask RasterizeCoverage(const std::vector<RasterSegment>& segments, FillRule rule, const TRect& clip,
                               FlashWorkBudget& budget) {
    CoverageMask mask;
    // Only segments with height matter, and only where the clip is.
    struct Edge {
        double YTop, YBottom, XAtTop, Slope;
        int Winding;
    };
    std::vector<Edge> edges;
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const auto& s : segments) {
        if (!std::isfinite(s.X0) || !std::isfinite(s.Y0) || !std::isfinite(s.X1) || !std::isfinite(s.Y1)) continue;
        minX = std::min({minX, s.X0, s.X1});
        maxX = std::max({maxX, s.X0, s.X1});
        if (s.Y0 == s.Y1) continue;
        const bool down = s.Y1 > s.Y0;
        Edge e;
        e.YTop = down ? s.Y0 : s.Y1;
        e.YBottom = down ? s.Y1 : s.Y0;
        e.XAtTop = down ? s.X0 : s.X1;
        e.Slope = (down ? s.X1 - s.X0 : s.X0 - s.X1) / (e.YBottom - e.YTop);
        e.Winding = down ? s.Winding : -s.Winding;
        minY = std::min(minY, e.YTop);
        maxY = std::max(maxY, e.YBottom);
        edges.push_back(e);
    }
    if (edges.empty()) return mask;

    // Far-off coordinates of a damaged movie are pulled in before turning into pixels.
    auto pixel = [](double v) { return static_cast<int>(std::clamp(v, -1e6, 1e6)); };
    const TRect bounds = IntersectRect(clip, Rect(pixel(std::floor(minX)), pixel(std::floor(minY)),
                                                  pixel(std::ceil(maxX)) + 1, pixel(std::ceil(maxY)) + 1));
    if (IsRectEmpty(bounds)) return mask;

    // Every sub-row walks the pixels of the row and the edges crossing it.
    std::uint64_t work = std::uint64_t(bounds.Height()) * kSubRows * (std::uint64_t(bounds.Width()) + 1) + edges.size();
    for (const Edge& e : edges) {
        const double top = std::max(e.YTop, double(bounds.Top)), bottom = std::min(e.YBottom, double(bounds.Bottom));
        if (bottom > top) work += std::uint64_t((bottom - top) * kSubRows) + 1;
    }
    if (!budget.Spend(work)) return mask;

    mask.Bounds = bounds;
    mask.Stride = (bounds.Width() + 3) & ~3;
    mask.Alpha.assign(std::size_t(mask.Stride) * bounds.Height(), 0);

    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.YTop < b.YTop; });
    std::vector<const Edge*> active;
    std::size_t nextEdge = 0;
    std::vector<Crossing> crossings;
    std::vector<float> row(static_cast<std::size_t>(bounds.Width()));
    const float weight = 1.0f / kSubRows;

    for (int y = bounds.Top; y < bounds.Bottom; ++y) {
        std::fill(row.begin(), row.end(), 0.0f);
        for (int sub = 0; sub < kSubRows; ++sub) {
            const double sampleY = y + (sub + 0.5) / kSubRows;
            while (nextEdge < edges.size() && edges[nextEdge].YTop <= sampleY) active.push_back(&edges[nextEdge++]);
            std::erase_if(active, [sampleY](const Edge* e) { return e->YBottom <= sampleY; });
            crossings.clear();
            for (const Edge* e : active) {
                if (e->YTop > sampleY) continue;
                double x = e->XAtTop + (sampleY - e->YTop) * e->Slope;
                if (std::isnan(x)) x = e->XAtTop;  // a near-flat edge with an infinite slope
                crossings.push_back({x - bounds.Left, e->Winding});
            }
            std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.X < b.X; });
            int winding = 0;
            for (std::size_t i = 0; i < crossings.size(); ++i) {
                winding += crossings[i].Winding;
                if (Inside(winding, rule) && i + 1 < crossings.size()) AddSpan(row, crossings[i].X, crossings[i + 1].X, weight);
            }
        }
        std::uint8_t* out = mask.Alpha.data() + std::size_t(y - bounds.Top) * mask.Stride;
        for (std::size_t x = 0; x < row.size(); ++x) {
            out[x] = static_cast<std::uint8_t>(std::lround(std::clamp(row[x], 0.0f, 1.0f) * 255.0f));
        }
    }
    return mask;
}
