#include "SkinControlGeometry.h"

#include "SkinComposition.h"
#include "SkinGeometry.h"
#include "SkinPieceCopy.h"
#include "TbsSkinData.h"

const TBitmap* SkinPictureAt(const TbsSkinData& skin, int index) {
    const auto& list = skin.ActiveBitmaps();
    if (index < 0 || index >= int(list.size())) return nullptr;
    return list[std::size_t(index)].get();
}

const TbsDataSkinControl* SkinControlRecordNamed(const TbsSkinData* skin, std::string_view name, int* index) {
    const int found = skin && !skin->IsEmpty() ? skin->FindControlIndex(name) : -1;
    if (index) *index = found;
    return SkinControlRecordAt(skin, found);
}

const TbsDataSkinControl* SkinControlRecordAt(const TbsSkinData* skin, int index) {
    if (!skin) return nullptr;
    const auto& list = skin->SkinControls();
    if (index < 0 || index >= int(list.size())) return nullptr;
    return list[std::size_t(index)].get();
}

void SkinControlGeometry::Bind(const TbsSkinData& skin, const TbsDataSkinCustomControl& r) {
    skinrect = r.skinrect;
    clientrect = r.clientrect;
    lefttoppoint = r.lefttoppoint;
    righttoppoint = r.righttoppoint;
    leftbottompoint = r.leftbottompoint;
    rightbottompoint = r.rightbottompoint;
    leftstretch = r.leftstretch;
    topstretch = r.topstretch;
    rightstretch = r.rightstretch;
    bottomstretch = r.bottomstretch;
    stretcheffect = r.stretcheffect;
    stretchtype = r.stretchtype;
    SkinPicture = SkinPictureAt(skin, r.pictureindex);
    SkinMask = SkinPictureAt(skin, r.maskpictureindex);
    ResizeKind = int(r.CompositionKind());
    ownRecord_ = true;
}

void SkinControlGeometry::BindForeign() {
    ResizeKind = kResizeFixed;
    SkinPicture = nullptr;
    SkinMask = nullptr;
    ownRecord_ = false;
}

void SkinControlGeometry::Fit(int& W, int& H) {
    const int sw = WidthOf(skinrect), sh = HeightOf(skinrect);
    const int dw = W - sw, dh = H - sh;
    switch (ResizeKind) {
    case kResizeFixed:
        W = sw;
        H = sh;
        SizedClientRect = clientrect;
        break;
    case kResizeFrame:
        SizedLeftTop = lefttoppoint;
        SizedRightTop = {righttoppoint.X + dw, righttoppoint.Y};
        SizedLeftBottom = {leftbottompoint.X, leftbottompoint.Y + dh};
        SizedRightBottom = {rightbottompoint.X + dw, rightbottompoint.Y + dh};
        SizedClientRect = {clientrect.Left, clientrect.Top, clientrect.Right + dw, clientrect.Bottom + dh};
        break;
    case kResizeRow:
        H = sh;
        SizedLeftTop = lefttoppoint;
        SizedRightTop = {righttoppoint.X + dw, righttoppoint.Y};
        SizedClientRect = {clientrect.Left, clientrect.Top, clientrect.Right + dw, clientrect.Bottom};
        break;
    case kResizeColumn:
        W = sw;
        SizedLeftTop = lefttoppoint;
        SizedLeftBottom = {leftbottompoint.X, leftbottompoint.Y + dh};
        SizedClientRect = {clientrect.Left, clientrect.Top, clientrect.Right, clientrect.Bottom + dh};
        break;
    default:
        break;
    }
}

void SkinControlGeometry::PaintImage(TBitmap& bitmap, const TRect& r, int W, int H, bool byParts) const {
    if (!SkinPicture) return;
    const TBitmap& pic = *SkinPicture;
    const int sw = WidthOf(r), sh = HeightOf(r);
    switch (ResizeKind) {
    case kResizeFixed:
        bitmap.SetSize(sw, sh);
        CopySkinPiece(bitmap, 0, 0, pic, r);
        break;
    case kResizeFrame:
        if (!byParts) ComposeSkinImage(Points(), r, pic, bitmap, W, H, SizedPoints(), Flags(), true);
        break;
    case kResizeRow:
        ComposeRowImage(lefttoppoint.X, sw - righttoppoint.X, bitmap, stretcheffect, W, r, pic);
        break;
    case kResizeColumn:
        ComposeColumnImage(lefttoppoint.Y, sh - leftbottompoint.Y, bitmap, stretcheffect, H, r, pic);
        break;
    default:
        break;
    }
}

void SkinControlGeometry::ComposeParts(int W, int H, SkinFramePartBitmaps& parts) const {
    if (!SkinPicture) return;
    ComposeFrameParts(Points(), skinrect, *SkinPicture, W, H, SizedPoints(), Flags(), parts);
}

void SkinControlGeometry::DrawParts(TCanvas& canvas, int W, int H, const SkinFramePartBitmaps& parts) {
    const int topH = parts.Top.Height();
    if (!parts.Top.Empty()) canvas.Draw(0, 0, parts.Top);
    if (!parts.Left.Empty()) canvas.Draw(0, topH, parts.Left);
    if (!parts.Right.Empty()) canvas.Draw(W - parts.Right.Width(), topH, parts.Right);
    if (!parts.Bottom.Empty()) canvas.Draw(0, H - parts.Bottom.Height(), parts.Bottom);
}

void SkinControlGeometry::FillClient(TCanvas& canvas, const TRect& area) const {
    if (!SkinPicture || RectIsEmpty(area)) return;
    const TRect tile = OffsetRect(clientrect, skinrect.Left, skinrect.Top);
    const int cw = WidthOf(tile), ch = HeightOf(tile);
    if (cw <= 0 || ch <= 0) return;
    const int aw = WidthOf(area), ah = HeightOf(area);
    // The client area is composed off screen and set in one copy; tiles that
    // reach past the area are cut there, as a clipped paint would cut them.
    TBitmap fill(aw, ah);
    const TRect whole{0, 0, aw, ah};
    if (!stretcheffect) {
        TileSkinPiece(fill, whole, *SkinPicture, tile, whole);
    } else {
        switch (stretchtype) {
        case SkinStretchKind::Full:
            StretchSkinPiece(fill, whole, *SkinPicture, tile, whole);
            break;
        case SkinStretchKind::Horz: {
            TBitmap strip(cw, ah);
            StretchSkinPiece(strip, {0, 0, cw, ah}, *SkinPicture, tile);
            TileSkinPiece(fill, whole, strip, strip.BoundsRect(), whole);
            break;
        }
        case SkinStretchKind::Vert: {
            TBitmap strip(aw, ch);
            StretchSkinPiece(strip, {0, 0, aw, ch}, *SkinPicture, tile);
            TileSkinPiece(fill, whole, strip, strip.BoundsRect(), whole);
            break;
        }
        }
    }
    canvas.Draw(area.Left, area.Top, fill);
}
