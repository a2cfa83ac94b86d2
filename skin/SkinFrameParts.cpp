#include "SkinFrameParts.h"

#include "SkinPieceCopy.h"

namespace {

// Each part is a fresh picture: white where nothing is painted (which a mask
// reads as outside), never what an earlier call left there.
void Remake(TBitmap& part, int width, int height) {
    part.SetSize(0, 0);
    part.SetSize(width, height);
}

void CopyInto(TBitmap& dest, const TRect& area, const TBitmap& src, const TRect& piece) {
    CopySkinPiece(dest, area.Left, area.Top, src, piece, area);
}

// A side part of the frame, `width` wide: the source columns left .. right
// between the rows of the side's two corner points, tiled from the part's
// top or stretched between the corner points, then the fixed pieces above
// and below them. `CR` is the skin's client rectangle, `topY` and `bottomY`
// the side's corner point rows.
void ComposeSidePart(TBitmap& part, int width, const TBitmap& src, int st, int left, int right, int sideH,
                     const TRect& CR, int topY, int bottomY, bool stretch) {
    Remake(part, width, sideH);
    const TRect piece{left, st + topY, right, st + bottomY};
    if (stretch)
        StretchSkinPiece(part, {0, topY - CR.Top, width, sideH + bottomY - CR.Bottom}, src, piece);
    else
        TileSkinPieceAlongY(part, 0, sideH, 0, src, piece);
    if (topY > CR.Top) CopyInto(part, {0, 0, width, topY - CR.Top}, src, {left, st + CR.Top, right, st + topY});
    if (CR.Bottom > bottomY)
        CopyInto(part, {0, sideH - (CR.Bottom - bottomY), width, sideH}, src,
                 {left, st + bottomY, right, st + CR.Bottom});
}

// A mask side part: the mask's columns left .. right between the rows of the side's two
// corner points, tiled from the part's top, then the fixed pieces above and
// below them.
void ComposeSideMask(TBitmap& part, const TBitmap& mask, int left, int right, int partH, const TRect& IR, int topY,
                     int bottomY) {
    const int width = right - left;
    Remake(part, width, partH);
    if (bottomY != topY) TileSkinPieceAlongY(part, 0, partH, 0, mask, {left, topY, right, bottomY});
    if (topY > IR.Top) CopyInto(part, {0, 0, width, topY - IR.Top}, mask, {left, IR.Top, right, topY});
    if (IR.Bottom > bottomY)
        CopyInto(part, {0, partH - (IR.Bottom - bottomY), width, partH}, mask, {left, bottomY, right, IR.Bottom});
}

}  // namespace

void ComposeFrameParts(const SkinCornerPoints& p, const TRect& SR, const TBitmap& src, int W, int H,
                       const SkinCornerPoints& n, const SkinStretchFlags& flags, SkinFramePartBitmaps& parts) {
    const int sl = SR.Left, st = SR.Top, SRw = SR.Width(), SRh = SR.Height();
    const TRect& CR = p.clientrect;
    const TRect& NCR = n.clientrect;
    const TPoint &LT = p.lefttoppoint, &RT = p.righttoppoint, &LB = p.leftbottompoint, &RB = p.rightbottompoint;

    int topH = NCR.Top;
    if (W > 0 && topH > 0 && RT.X > LT.X) {
        TBitmap& top = parts.Top;
        Remake(top, W, topH);
        const TRect piece{sl + LT.X, st, sl + RT.X, st + topH};
        if (flags.topstretch)
            StretchSkinPiece(top, {n.lefttoppoint.X, 0, n.righttoppoint.X, topH}, src, piece);
        else
            TileSkinPieceAlongX(top, 0, W, 0, src, piece);
        CopyInto(top, {0, 0, n.lefttoppoint.X, topH}, src, {sl, st, sl + LT.X, st + topH});
        CopyInto(top, {n.righttoppoint.X, 0, W, topH}, src, {sl + RT.X, st, sl + SRw, st + topH});
    } else {
        parts.Top.SetSize(0, 0);
        topH = 0;
    }

    int bottomH = H - NCR.Bottom;
    if (W > 0 && bottomH > 0 && RB.X > LB.X) {
        TBitmap& bottom = parts.Bottom;
        Remake(bottom, W, bottomH);
        const int rowTop = st + SRh - bottomH;
        const TRect piece{sl + LB.X, rowTop, sl + RB.X, st + SRh};
        if (flags.bottomstretch)
            StretchSkinPiece(bottom, {n.leftbottompoint.X, 0, n.rightbottompoint.X, bottomH}, src, piece);
        else
            TileSkinPieceAlongX(bottom, 0, W, 0, src, piece);
        CopyInto(bottom, {0, 0, n.leftbottompoint.X, bottomH}, src, {sl, rowTop, sl + LB.X, st + SRh});
        CopyInto(bottom, {n.rightbottompoint.X, 0, W, bottomH}, src, {sl + RB.X, rowTop, sl + SRw, st + SRh});
    } else {
        parts.Bottom.SetSize(0, 0);
        bottomH = 0;
    }

    const int sideH = H - topH - bottomH;
    if (NCR.Left > 0 && sideH > 0 && LB.Y > LT.Y)
        ComposeSidePart(parts.Left, NCR.Left, src, st, sl, sl + NCR.Left, sideH, CR, LT.Y, LB.Y, flags.leftstretch);
    else
        parts.Left.SetSize(0, 0);

    if (W - NCR.Right >= 1 && sideH >= 1 && RB.Y > RT.Y)
        ComposeSidePart(parts.Right, W - NCR.Right, src, st, sl + CR.Right, sl + SRw, sideH, CR, RT.Y, RB.Y,
                        flags.rightstretch);
    else
        parts.Right.SetSize(0, 0);
}

void ComposeBorderMasks(const SkinCornerPoints& p, const TBitmap& mask, int W, const SkinCornerPoints& n,
                        SkinFramePartBitmaps& parts) {
    const int Mw = mask.Width(), Mh = mask.Height();
    const TRect& IR = p.clientrect;
    const TRect& NIR = n.clientrect;
    const TPoint &LT = p.lefttoppoint, &RT = p.righttoppoint, &LB = p.leftbottompoint, &RB = p.rightbottompoint;
    const int sideH = NIR.Height();

    if (IR.Left > 0 && sideH > 0)
        ComposeSideMask(parts.Left, mask, 0, IR.Left, sideH, IR, LT.Y, LB.Y);
    else
        parts.Left.SetSize(0, 0);

    if (Mw - IR.Right > 0 && sideH > 0)
        ComposeSideMask(parts.Right, mask, IR.Right, Mw, sideH, IR, RT.Y, RB.Y);
    else
        parts.Right.SetSize(0, 0);

    if (W > 0 && IR.Top > 0) {
        TBitmap& top = parts.Top;
        Remake(top, W, IR.Top);
        const int from = n.lefttoppoint.X;
        TileSkinPieceAlongX(top, from, n.righttoppoint.X - from, 0, mask, {LT.X, 0, RT.X, IR.Top});
        CopyInto(top, {0, 0, LT.X, IR.Top}, mask, {0, 0, LT.X, IR.Top});
        CopyInto(top, {n.righttoppoint.X, 0, W, IR.Top}, mask, {RT.X, 0, Mw, IR.Top});
    } else {
        parts.Top.SetSize(0, 0);
    }

    const int bottomH = Mh - IR.Bottom;
    if (W >= 1 && bottomH >= 1) {
        TBitmap& bottom = parts.Bottom;
        Remake(bottom, W, bottomH);
        const int from = n.leftbottompoint.X;
        TileSkinPieceAlongX(bottom, from, n.rightbottompoint.X - from, 0, mask, {LB.X, IR.Bottom, RB.X, Mh});
        CopyInto(bottom, {0, 0, LB.X, bottomH}, mask, {0, IR.Bottom, LB.X, Mh});
        CopyInto(bottom, {n.rightbottompoint.X, 0, W, bottomH}, mask, {RB.X, IR.Bottom, Mw, Mh});
    } else {
        parts.Bottom.SetSize(0, 0);
    }
}
