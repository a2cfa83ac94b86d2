#include "SkinComposition.h"

#include <memory>

#include "SkinPieceCopy.h"

namespace {

// The routines resize `dest` before they read `src`; when a caller composes a
// bitmap from itself, read from a copy taken first.
class DistinctSource {
public:
    DistinctSource(const TBitmap& src, const TBitmap& dest) : source_(&src) {
        if (&src == &dest) {
            copy_ = std::make_unique<TBitmap>();
            copy_->Assign(src);
            source_ = copy_.get();
        }
    }
    const TBitmap& operator*() const { return *source_; }

private:
    const TBitmap* source_;
    std::unique_ptr<TBitmap> copy_;
};

// Either stretches `piece` over `area` or tiles it along one axis over the
// band that `area` spans along that axis.
enum class Axis { X, Y };

void StretchOrTile(TBitmap& dest, bool stretch, Axis axis, const TRect& area, const TBitmap& src,
                   const TRect& piece) {
    if (stretch)
        StretchSkinPiece(dest, area, src, piece);
    else if (axis == Axis::X)
        TileSkinPieceAlongX(dest, area.Left, area.Width(), area.Top, src, piece);
    else
        TileSkinPieceAlongY(dest, area.Top, area.Height(), area.Left, src, piece);
}

// Copies `piece` unscaled into `area`, never past the area.
void CopyInto(TBitmap& dest, const TRect& area, const TBitmap& src, const TRect& piece) {
    CopySkinPiece(dest, area.Left, area.Top, src, piece, area);
}

// The client part over `area`: tiled in both directions from its top-left, or
// stretched. Stretch kind 1 stretches the piece to a column as high as the
// area and repeats it across; kind 2 stretches it to a row as wide as the
// area and repeats it down. Strips are cut at `clip`.
void ComposeClientPart(TBitmap& dest, const TRect& area, const TRect& clip, const TBitmap& src,
                       const TRect& piece, const SkinStretchFlags& flags) {
    const int cw = piece.Width(), ch = piece.Height();
    if (cw <= 0 || ch <= 0) return;
    if (!flags.stretcheffect || IsRectEmpty(area)) {
        TileSkinPiece(dest, area, src, piece, clip);
        return;
    }
    switch (flags.stretchtype) {
        case SkinStretchKind::Full:
            StretchSkinPiece(dest, area, src, piece, clip);
            break;
        case SkinStretchKind::Horz: {
            TBitmap strip(cw, area.Height());
            StretchSkinPiece(strip, strip.BoundsRect(), src, piece);
            TileSkinPiece(dest, area, strip, strip.BoundsRect(), clip);
            break;
        }
        case SkinStretchKind::Vert: {
            TBitmap strip(area.Width(), ch);
            StretchSkinPiece(strip, strip.BoundsRect(), src, piece);
            TileSkinPiece(dest, area, strip, strip.BoundsRect(), clip);
            break;
        }
    }
}

bool NothingToCompose(const SkinCornerPoints& p, const TBitmap& src) {
    return p.rightbottompoint.X == p.lefttoppoint.X || p.rightbottompoint.Y == p.lefttoppoint.Y || src.Empty();
}

// The image the nine-part routines share; `openEnded` drops the right column.
void ComposeNineParts(const SkinCornerPoints& p, const TRect& SR, const TBitmap& source, TBitmap& dest, int W,
                      int H, const SkinCornerPoints& n, const SkinStretchFlags& flags, bool drawClient,
                      bool openEnded) {
    const DistinctSource distinct(source, dest);
    const TBitmap& src = *distinct;
    dest.SetSize(W, H);
    if (NothingToCompose(p, src)) return;

    const int sl = SR.Left, st = SR.Top, SRw = SR.Width(), SRh = SR.Height();
    const TRect& CR = p.clientrect;
    const TRect& NCR = n.clientrect;
    const TPoint &LT = p.lefttoppoint, &RT = p.righttoppoint, &LB = p.leftbottompoint, &RB = p.rightbottompoint;
    const TPoint &NLT = n.lefttoppoint, &NRT = n.righttoppoint, &NLB = n.leftbottompoint,
                 &NRB = n.rightbottompoint;
    // The open-ended image has no right column: its top and bottom edges and
    // its client part run on to the image's right edge.
    const int topEnd = openEnded ? W : NRT.X;
    const int bottomEnd = openEnded ? W : NRB.X;

    // Edges.
    StretchOrTile(dest, flags.topstretch, Axis::X, {NLT.X, 0, topEnd, NCR.Top}, src,
                  {sl + LT.X, st, sl + RT.X, st + CR.Top});
    StretchOrTile(dest, flags.bottomstretch, Axis::X, {NLB.X, NCR.Bottom, bottomEnd, H}, src,
                  {sl + LB.X, st + CR.Bottom, sl + RB.X, st + SRh});
    StretchOrTile(dest, flags.leftstretch, Axis::Y, {0, NLT.Y, NCR.Left, NLB.Y}, src,
                  {sl, st + LT.Y, sl + CR.Left, st + LB.Y});
    if (!openEnded)
        StretchOrTile(dest, flags.rightstretch, Axis::Y, {NCR.Right, NRT.Y, W, NRB.Y}, src,
                      {sl + CR.Right, st + RT.Y, sl + SRw, st + RB.Y});

    // Corners: each is an L of two pieces, one along the top or bottom edge up
    // to the corner point's x, one along the side up to its y.
    CopyInto(dest, {0, 0, NLT.X, NCR.Top}, src, {sl, st, sl + LT.X, st + CR.Top});
    CopyInto(dest, {0, NCR.Top, NCR.Left, NLT.Y}, src, {sl, st + CR.Top, sl + CR.Left, st + LT.Y});
    if (!openEnded) {
        CopyInto(dest, {NRT.X, 0, W, NCR.Top}, src, {sl + RT.X, st, sl + SRw, st + CR.Top});
        CopyInto(dest, {NCR.Right, NCR.Top, W, NRT.Y}, src, {sl + CR.Right, st + CR.Top, sl + SRw, st + RT.Y});
    }
    CopyInto(dest, {0, NLB.Y, NCR.Left, H}, src, {sl, st + LB.Y, sl + CR.Left, st + SRh});
    CopyInto(dest, {NCR.Left, NCR.Bottom, NLB.X, H}, src, {sl + CR.Left, st + CR.Bottom, sl + LB.X, st + SRh});
    if (!openEnded) {
        CopyInto(dest, {NRB.X, NCR.Bottom, W, H}, src, {sl + RB.X, st + CR.Bottom, sl + SRw, st + SRh});
        CopyInto(dest, {NCR.Right, NRB.Y, W, NCR.Bottom}, src,
                 {sl + CR.Right, st + RB.Y, sl + SRw, st + CR.Bottom});
    }

    if (!drawClient) return;
    const TRect clientPiece{sl + CR.Left, st + CR.Top, sl + CR.Right, st + CR.Bottom};
    TRect area = NCR;
    TRect clip = NCR;
    if (openEnded) {
        area.Right = W;
        // Rows of stretch kind 2 are as wide as the widened area but end
        // where the caller's client rectangle ends.
        if (!(flags.stretcheffect && flags.stretchtype == SkinStretchKind::Vert)) clip.Right = W;
    }
    ComposeClientPart(dest, area, clip, src, clientPiece, flags);
}

// The middle piece of a row image; an empty one counts as one pixel wide.
TRect RowMiddle(int leftW, int rightW, const TRect& SR) {
    TRect middle{SR.Left + leftW, SR.Top, SR.Right - rightW, SR.Bottom};
    if (middle.Width() == 0) middle.Right = middle.Left + 1;
    return middle;
}

}  // namespace

void ComposeSkinImage(const SkinCornerPoints& points, const TRect& skinRect, const TBitmap& src, TBitmap& dest,
                      int W, int H, const SkinCornerPoints& sized, const SkinStretchFlags& flags, bool drawClient) {
    ComposeNineParts(points, skinRect, src, dest, W, H, sized, flags, drawClient, false);
}

void ComposeOpenEndedImage(const SkinCornerPoints& points, const TRect& skinRect, const TBitmap& src,
                           TBitmap& dest, int W, int H, const SkinCornerPoints& sized,
                           const SkinStretchFlags& flags, bool drawClient) {
    ComposeNineParts(points, skinRect, src, dest, W, H, sized, flags, drawClient, true);
}

void ComposeStretchedImage(TBitmap& dest, const TBitmap& src, const TRect& skinRect, bool drawClient,
                           const TRect& clientRect) {
    const TRect& CR = clientRect;
    const SkinCornerPoints points{
        {CR.Left, CR.Top}, {CR.Right, CR.Top}, {CR.Left, CR.Bottom}, {CR.Right, CR.Bottom}, CR};
    const SkinStretchFlags flags{true, true, true, true, true, SkinStretchKind::Full};
    const int W = dest.Width(), H = dest.Height();
    const SkinCornerPoints sized =
        SizedCornerPoints(points, {skinRect.Width(), skinRect.Height()}, {W, H});
    ComposeSkinImage(points, skinRect, src, dest, W, H, sized, flags, drawClient);
}

void ComposeRowImage(int leftW, int rightW, TBitmap& dest, bool stretch, int W, const TRect& skinRect,
                     const TBitmap& source) {
    const DistinctSource distinct(source, dest);
    const TBitmap& src = *distinct;
    const TRect& SR = skinRect;
    const int SRh = SR.Height();
    dest.SetSize(W, SRh);
    if (leftW != 0) CopyInto(dest, {0, 0, leftW, SRh}, src, {SR.Left, SR.Top, SR.Left + leftW, SR.Bottom});
    if (rightW != 0)
        CopyInto(dest, {W - rightW, 0, W, SRh}, src, {SR.Right - rightW, SR.Top, SR.Right, SR.Bottom});
    StretchOrTile(dest, stretch, Axis::X, {leftW, 0, W - rightW, SRh}, src, RowMiddle(leftW, rightW, SR));
}

void ComposeRowImageLeft(int leftW, int rightW, TBitmap& dest, bool stretch, int W, const TRect& skinRect,
                         const TBitmap& source) {
    const DistinctSource distinct(source, dest);
    const TBitmap& src = *distinct;
    const TRect& SR = skinRect;
    const int SRh = SR.Height();
    dest.SetSize(W, SRh);
    if (leftW != 0) CopyInto(dest, {0, 0, leftW, SRh}, src, {SR.Left, SR.Top, SR.Left + leftW, SR.Bottom});
    StretchOrTile(dest, stretch, Axis::X, {leftW, 0, W, SRh}, src, RowMiddle(leftW, rightW, SR));
}

void ComposeRowImageMiddle(int leftW, int rightW, TBitmap& dest, bool stretch, int W, const TRect& skinRect,
                           const TBitmap& source) {
    const DistinctSource distinct(source, dest);
    const TBitmap& src = *distinct;
    const int SRh = skinRect.Height();
    dest.SetSize(W, SRh);
    StretchOrTile(dest, stretch, Axis::X, {0, 0, W, SRh}, src, RowMiddle(leftW, rightW, skinRect));
}

void ComposeColumnImage(int topH, int bottomH, TBitmap& dest, bool stretch, int H, const TRect& skinRect,
                        const TBitmap& source) {
    const DistinctSource distinct(source, dest);
    const TBitmap& src = *distinct;
    const TRect& SR = skinRect;
    const int SRw = SR.Width();
    dest.SetSize(SRw, H);
    if (topH != 0) CopyInto(dest, {0, 0, SRw, topH}, src, {SR.Left, SR.Top, SR.Right, SR.Top + topH});
    if (bottomH != 0)
        CopyInto(dest, {0, H - bottomH, SRw, H}, src, {SR.Left, SR.Bottom - bottomH, SR.Right, SR.Bottom});
    StretchOrTile(dest, stretch, Axis::Y, {0, topH, SRw, H - bottomH}, src,
                  {SR.Left, SR.Top + topH, SR.Right, SR.Bottom - bottomH});
}
