#include "SkinObjectDrawing.h"

#include <algorithm>

#include "SkinGeometry.h"
#include "SkinPieceCopy.h"

void DrawSkinPiece(TCanvas& canvas, const TRect& dest, const TBitmap& src, const TRect& piece) {
    if (src.Empty() || RectIsEmpty(piece) || RectIsEmpty(dest)) return;
    if (dest.Width() == piece.Width() && dest.Height() == piece.Height()) {
        // Reading through the picture's canvas leaves the picture as it is.
        canvas.CopyRect(dest, const_cast<TBitmap&>(src).Canvas(), piece);
        return;
    }
    TBitmap image;
    SkinPieceImage(src, piece, {dest.Width(), dest.Height()}, image);
    canvas.Draw(dest.Left, dest.Top, image);
}

void SkinPieceImage(const TBitmap& src, const TRect& piece, TSize size, TBitmap& out) {
    out.SetSize(std::max(size.cx, 0), std::max(size.cy, 0));
    if (out.Empty() || src.Empty() || RectIsEmpty(piece)) return;
    if (size.cx == piece.Width() && size.cy == piece.Height()) CopySkinPiece(out, 0, 0, src, piece);
    else StretchSkinPiece(out, out.BoundsRect(), src, piece);
}
