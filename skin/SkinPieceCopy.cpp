#include "SkinPieceCopy.h"

#include <pixman.h>

#include <cstring>

#include "Exceptions.h"

namespace {

// The part of `area` that may be written: inside the target and the clip.
TRect Writable(const TBitmap& dest, const TRect& area, const TRect& clip) {
    return IntersectRect(IntersectRect(area, dest.BoundsRect()), clip);
}

// Owns a pixman image for the length of one call.
struct PixmanImage {
    pixman_image_t* image;
    ~PixmanImage() {
        if (image) pixman_image_unref(image);
    }
};

}  // namespace

void CopySkinPiece(TBitmap& dest, int x, int y, const TBitmap& src, const TRect& piece, const TRect& clip) {
    if (dest.Empty() || src.Empty() || IsRectEmpty(piece)) return;
    // Cut the piece to the source, then the place it lands on to the target.
    const TRect inSource = IntersectRect(piece, src.BoundsRect());
    if (IsRectEmpty(inSource)) return;
    const int dx = x - piece.Left, dy = y - piece.Top;  // source -> target offset
    const TRect target = Writable(dest, OffsetRect(inSource, dx, dy), clip);
    if (IsRectEmpty(target)) return;
    const std::size_t bytes = std::size_t(target.Width()) * sizeof(std::uint32_t);
    for (int ty = target.Top; ty < target.Bottom; ++ty)
        std::memcpy(dest.ScanLine(ty) + target.Left, src.ScanLine(ty - dy) + (target.Left - dx), bytes);
}

void CopySkinPiece(TBitmap& dest, int x, int y, const TBitmap& src, const TRect& piece) {
    CopySkinPiece(dest, x, y, src, piece, dest.BoundsRect());
}

void TileSkinPiece(TBitmap& dest, const TRect& band, const TBitmap& src, const TRect& piece, const TRect& clip) {
    const int pw = piece.Width(), ph = piece.Height();
    // A piece without length cannot fill anything, and a band of zero or
    // negative length has nothing to fill.
    if (pw <= 0 || ph <= 0 || IsRectEmpty(band)) return;
    const TRect bandClip = IntersectRect(band, clip);
    if (IsRectEmpty(bandClip)) return;
    for (int top = band.Top; top < band.Bottom; top += ph) {
        for (int left = band.Left; left < band.Right; left += pw) {
            // The copy is cut at the band's far edges by the clip.
            CopySkinPiece(dest, left, top, src, piece, bandClip);
        }
    }
}

void TileSkinPieceAlongX(TBitmap& dest, int start, int length, int across, const TBitmap& src,
                         const TRect& piece) {
    const TRect band{start, across, start + length, across + piece.Height()};
    TileSkinPiece(dest, band, src, piece, dest.BoundsRect());
}

void TileSkinPieceAlongY(TBitmap& dest, int start, int length, int across, const TBitmap& src,
                         const TRect& piece) {
    const TRect band{across, start, across + piece.Width(), start + length};
    TileSkinPiece(dest, band, src, piece, dest.BoundsRect());
}

void StretchSkinPiece(TBitmap& dest, const TRect& area, const TBitmap& src, const TRect& piece, const TRect& clip) {
    if (dest.Empty() || src.Empty() || IsRectEmpty(area)) return;
    const TRect inSource = IntersectRect(piece, src.BoundsRect());
    if (IsRectEmpty(inSource)) return;
    if (inSource.Width() == area.Width() && inSource.Height() == area.Height()) {
        CopySkinPiece(dest, area.Left, area.Top, src, inSource, clip);
        return;
    }
    const TRect target = Writable(dest, area, clip);
    if (IsRectEmpty(target)) return;

    // A view on the piece alone (no copy): with pad repeat, samples near the
    // piece's edges see its own edge pixels, not its neighbours in the picture.
    auto* first = const_cast<std::uint32_t*>(src.ScanLine(inSource.Top)) + inSource.Left;
    const PixmanImage view{pixman_image_create_bits(PIXMAN_x8r8g8b8, inSource.Width(), inSource.Height(), first,
                                                    int(src.StridePixels() * sizeof(std::uint32_t)))};
    if (!view.image) throw EOutOfResources("Out of system resources");
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(inSource.Width()) / area.Width()),
                                pixman_double_to_fixed(double(inSource.Height()) / area.Height()));
    pixman_image_set_transform(view.image, &scale);
    pixman_image_set_filter(view.image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(view.image, PIXMAN_REPEAT_PAD);
    pixman_image_composite32(PIXMAN_OP_SRC, view.image, nullptr, dest.Image(), target.Left - area.Left,
                             target.Top - area.Top, 0, 0, target.Left, target.Top, target.Width(),
                             target.Height());
}

void StretchSkinPiece(TBitmap& dest, const TRect& area, const TBitmap& src, const TRect& piece) {
    StretchSkinPiece(dest, area, src, piece, dest.BoundsRect());
}
