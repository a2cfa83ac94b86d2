#include "SkinFrameRegion.h"

#include "SkinCornerPoints.h"
#include "SkinRegions.h"

void ComposeFrameMasks(const SkinFormInfo& info, const TBitmap& mask, TSize picture, TSize frame,
                       SkinFramePartBitmaps& masks) {
    SkinCornerPoints points = CornerPointsOf(info);
    points.clientrect = info.maskrectarea;
    const SkinCornerPoints sized = SizedCornerPoints(points, picture, frame);
    ComposeBorderMasks(points, mask, frame.cx, sized, masks);
}

TRegion FrameRegionFromMasks(const TRect& maskArea, const SkinFramePartBitmaps& masks) {
    TRegion region(maskArea);
    const auto add = [&](const TBitmap& side, int x, int y) {
        if (side.Empty()) return;
        if (auto part = RegionFromMask(side)) {
            part->Offset(x, y);
            region.Combine(region, *part, RGN_OR);
        }
    };
    add(masks.Top, 0, 0);
    add(masks.Bottom, 0, maskArea.Bottom);
    add(masks.Left, 0, maskArea.Top);
    add(masks.Right, maskArea.Right, maskArea.Top);
    return region;
}
