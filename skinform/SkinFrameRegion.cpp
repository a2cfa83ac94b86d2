#include "SkinFrameRegion.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "SkinCornerPoints.h"

void ComposeFrameMasks(const SkinFormInfo& info, const TBitmap& mask, TSize picture, TSize frame,
                       SkinFramePartBitmaps& masks) {
    SkinCornerPoints points = CornerPointsOf(info);
    points.clientrect = info.maskrectarea;
    const SkinCornerPoints sized = SizedCornerPoints(points, picture, frame);
    ComposeBorderMasks(points, mask, frame.cx, sized, masks);
}

namespace {
// Adds the black pixels of `mask`, placed at (x0, y0), as rectangles: one per
// run of black pixels, and a run that continues the same run of the row above
// only lengthens it, so the long plain sides of a frame give one rectangle
// each instead of one per row.
void AddMaskRects(const TBitmap& mask, int x0, int y0, std::vector<TRect>& rects) {
    const int w = mask.Width();
    std::size_t bandStart = rects.size();  // the rectangles of the row above
    std::vector<std::pair<int, int>> runs, previous;
    for (int y = 0; y < mask.Height(); ++y) {
        const std::uint32_t* row = mask.ScanLine(y);
        const bool sameAsAbove = y > 0 && std::memcmp(row, mask.ScanLine(y - 1), std::size_t(w) * 4) == 0;
        if (!sameAsAbove) {
            runs.clear();
            for (int x = 0; x < w;) {
                if ((row[x] & 0x00FFFFFFu) != 0) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < w && (row[x] & 0x00FFFFFFu) == 0) ++x;
                runs.emplace_back(start, x);
            }
        }
        if (y > 0 && (sameAsAbove || runs == previous)) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) ++rects[i].Bottom;
            continue;
        }
        bandStart = rects.size();
        for (const auto& [from, to] : runs) rects.push_back({x0 + from, y0 + y, x0 + to, y0 + y + 1});
        previous = runs;
    }
}
}  // namespace

TRegion FrameRegionFromMasks(const TRect& maskArea, const SkinFramePartBitmaps& masks) {
    std::vector<TRect> rects{maskArea};
    AddMaskRects(masks.Top, 0, 0, rects);
    AddMaskRects(masks.Bottom, 0, maskArea.Bottom, rects);
    AddMaskRects(masks.Left, 0, maskArea.Top, rects);
    AddMaskRects(masks.Right, maskArea.Right, maskArea.Top, rects);
    return TRegion::FromRects(rects);
}
