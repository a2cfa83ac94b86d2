#include "SkinRegions.h"

#include "SkinFrameParts.h"
#include "TbsFBitmap.h"

namespace {

// Room for the rectangles of an ordinary mask from the start, so a scan does
// not allocate row by row; a mask with more runs grows the buffer.
constexpr std::size_t kInitialRectCapacity = 10000;

void PutInt32(std::vector<std::uint8_t>& out, std::size_t at, std::int32_t value) {
    const auto bits = std::uint32_t(value);
    for (int i = 0; i < 4; ++i) out[at + std::size_t(i)] = std::uint8_t(bits >> (8 * i));
}

void PutRect(std::vector<std::uint8_t>& out, std::size_t at, const TRect& r) {
    PutInt32(out, at, r.Left);
    PutInt32(out, at + 4, r.Top);
    PutInt32(out, at + 8, r.Right);
    PutInt32(out, at + 12, r.Bottom);
}

bool IsBlack(const std::uint8_t* pixel) { return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0; }

}  // namespace

std::vector<std::uint8_t> MaskToRegionData(const TBitmap& mask, int offsetX, int offsetY) {
    if (mask.Empty()) return {};
    const TbsFBitmap pixels(mask);
    const int w = pixels.Width(), h = pixels.Height();

    std::vector<TRect> rects;
    rects.reserve(kInitialRectCapacity);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = pixels.ScanLine(y);
        int x = 0;
        while (x < w) {
            if (!IsBlack(row + 3 * x)) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < w && IsBlack(row + 3 * x)) ++x;
            rects.push_back({x0 + offsetX, y + offsetY, x + offsetX, y + offsetY + 1});
        }
    }

    std::vector<std::uint8_t> data(kRegionDataHeaderSize + 16 * rects.size());
    PutInt32(data, 0, std::int32_t(kRegionDataHeaderSize));
    PutInt32(data, 4, 1);  // rectangles
    PutInt32(data, 8, std::int32_t(rects.size()));
    PutInt32(data, 12, 0);
    PutRect(data, 16, {offsetX, offsetY, offsetX + w, offsetY + h});
    for (std::size_t i = 0; i < rects.size(); ++i) PutRect(data, kRegionDataHeaderSize + 16 * i, rects[i]);
    return data;
}

std::optional<TRegion> RegionFromMask(const TBitmap& mask) {
    const std::vector<std::uint8_t> data = MaskToRegionData(mask, 0, 0);
    if (data.empty()) return std::nullopt;
    return ExtCreateRegion(data);
}

std::optional<TRegion> ComposeSkinRegion(const SkinCornerPoints& points, const TBitmap& mask, int W,
                                         const SkinCornerPoints& sized) {
    if (sized.righttoppoint.X < sized.lefttoppoint.X || sized.leftbottompoint.Y < sized.lefttoppoint.Y)
        return std::nullopt;
    const TRect& NIR = sized.clientrect;
    if (IsRectEmpty(NIR)) return std::nullopt;

    SkinFramePartBitmaps parts;
    ComposeBorderMasks(points, mask, W, sized, parts);

    TRegion shape(NIR);
    const auto add = [&shape](const TBitmap& part, int x, int y) {
        if (part.Empty()) return;
        if (const auto region = ExtCreateRegion(MaskToRegionData(part, x, y))) shape.Combine(shape, *region, RGN_OR);
    };
    add(parts.Top, 0, 0);
    add(parts.Bottom, 0, NIR.Bottom);
    add(parts.Left, 0, NIR.Top);
    add(parts.Right, NIR.Right, NIR.Top);
    return shape;
}
