// TCanvas: copying pictures onto the canvas (Draw, StretchDraw, CopyRect,
// SetDIBitsToDevice). Scaling picks the nearest source pixel, as the
// platform's default stretch mode does, so skin pieces keep crisp edges.

#include <algorithm>
#include <cstring>
#include <vector>

#include "Exceptions.h"
#include "TBitmap.h"
#include "TCanvas.h"

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

// The source coordinate sampled for destination coordinate `d`: the pixel
// under the destination pixel's centre.
int Nearest(int d, int destStart, int destLength, int srcStart, int srcLength) {
    const std::int64_t offset = std::int64_t(d - destStart) * 2 + 1;
    return srcStart + int(offset * srcLength / (2 * std::int64_t(destLength)));
}

}  // namespace

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    std::optional<std::uint32_t> key;
    if (bitmap.Transparent()) key = ColorToPixel(bitmap.TransparentColor()) & kRgbMask;
    Blit(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap, bitmap.BoundsRect(), key);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    std::optional<std::uint32_t> key;
    if (bitmap.Transparent()) key = ColorToPixel(bitmap.TransparentColor()) & kRgbMask;
    Blit(rect, bitmap, bitmap.BoundsRect(), key);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect) {
    if (!source.target_) return;
    Blit(dest, *source.target_, source.ToSurface(srcRect), std::nullopt);
}

// Copies `srcRect` (source bitmap pixels) into `dest` (logical), clipped;
// pixels equal to `transparentPixel` (RGB part) are skipped.
void TCanvas::Blit(const TRect& dest, const TBitmap& source, const TRect& srcRect,
                   std::optional<std::uint32_t> transparentPixel) {
    if (!target_ || target_->Empty() || source.Empty() || IsRectEmpty(dest) || IsRectEmpty(srcRect)) return;
    const TRect d = ToSurface(dest);
    const bool scaled = d.Width() != srcRect.Width() || d.Height() != srcRect.Height();

    // Copying within one bitmap reads from a snapshot, so no copied pixel is
    // read again as source.
    const TBitmap* src = &source;
    TBitmap snapshot;
    TRect sr = srcRect;
    if (&source == target_) {
        const TRect inside = IntersectRect(srcRect, source.BoundsRect());
        if (IsRectEmpty(inside)) return;
        snapshot.SetSize(inside.Width(), inside.Height());
        for (int y = 0; y < inside.Height(); ++y)
            std::memcpy(snapshot.ScanLine(y), source.ScanLine(inside.Top + y) + inside.Left,
                        std::size_t(inside.Width()) * 4);
        src = &snapshot;
        sr = OffsetRect(srcRect, -inside.Left, -inside.Top);
    }
    const TRect srcBounds = src->BoundsRect();

    TRegion area(d);
    if (!systemClip_ && !clip_)
        area.Combine(area, TRegion(target_->BoundsRect()), RGN_AND);
    else
        area.Combine(area, SurfaceClip(), RGN_AND);

    for (const TRect& box : area.Rects()) {
        if (!scaled && !transparentPixel) {
            // The hot path: whole rows at a time, limited to the source's pixels.
            const int dx = sr.Left - d.Left, dy = sr.Top - d.Top;
            const TRect part = IntersectRect(box, OffsetRect(srcBounds, -dx, -dy));
            if (IsRectEmpty(part)) continue;
            const std::size_t bytes = std::size_t(part.Width()) * 4;
            for (int y = part.Top; y < part.Bottom; ++y)
                std::memcpy(target_->ScanLine(y) + part.Left, src->ScanLine(y + dy) + part.Left + dx, bytes);
            continue;
        }
        std::vector<int> xs;
        xs.reserve(std::size_t(box.Width()));
        for (int x = box.Left; x < box.Right; ++x) xs.push_back(Nearest(x, d.Left, d.Width(), sr.Left, sr.Width()));
        int previousSy = -1;  // source row of the row above, when it was copied whole
        for (int y = box.Top; y < box.Bottom; ++y) {
            const int sy = Nearest(y, d.Top, d.Height(), sr.Top, sr.Height());
            if (sy < srcBounds.Top || sy >= srcBounds.Bottom) continue;
            std::uint32_t* out = target_->ScanLine(y);
            if (sy == previousSy) {
                // Enlarging repeats source rows: repeat the finished row instead.
                std::memcpy(out + box.Left, target_->ScanLine(y - 1) + box.Left, std::size_t(box.Width()) * 4);
                continue;
            }
            previousSy = transparentPixel ? -1 : sy;
            const std::uint32_t* in = src->ScanLine(sy);
            for (int x = box.Left; x < box.Right; ++x) {
                const int sx = xs[std::size_t(x - box.Left)];
                if (sx < srcBounds.Left || sx >= srcBounds.Right) continue;
                const std::uint32_t p = in[sx];
                if (transparentPixel && (p & kRgbMask) == *transparentPixel) continue;
                out[x] = p | 0xFF000000u;
            }
        }
    }
}

void TCanvas::SetDIBitsToDevice(int x, int y, int width, int height, const void* bits, int strideBytes,
                                int bitsPerPixel, bool bottomUp) {
    if (width <= 0 || height <= 0) return;
    if (!bits) throw EInvalidOperation("SetDIBitsToDevice: no pixel data");
    if (bitsPerPixel != 24 && bitsPerPixel != 32)
        throw EInvalidOperation("SetDIBitsToDevice: only 24 and 32 bits per pixel are supported");
    if (std::int64_t(strideBytes) < std::int64_t(width) * (bitsPerPixel / 8))
        throw EInvalidOperation("SetDIBitsToDevice: rows are shorter than the width");
    if (!target_ || target_->Empty()) return;

    const TRect d = ToSurface(Bounds(x, y, width, height));
    TRegion area(d);
    area.Combine(area, SurfaceClip(), RGN_AND);
    const auto* base = static_cast<const std::uint8_t*>(bits);
    for (const TRect& box : area.Rects()) {
        for (int sy = box.Top; sy < box.Bottom; ++sy) {
            const int row = bottomUp ? height - 1 - (sy - d.Top) : sy - d.Top;
            const std::uint8_t* in = base + std::size_t(row) * std::size_t(strideBytes);
            std::uint32_t* out = target_->ScanLine(sy);
            if (bitsPerPixel == 32) {
                std::memcpy(out + box.Left, in + std::size_t(box.Left - d.Left) * 4, std::size_t(box.Width()) * 4);
                for (int sx = box.Left; sx < box.Right; ++sx) out[sx] |= 0xFF000000u;
            } else {
                for (int sx = box.Left; sx < box.Right; ++sx) {
                    const std::uint8_t* p = in + std::size_t(sx - d.Left) * 3;
                    out[sx] = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
                }
            }
        }
    }
}
