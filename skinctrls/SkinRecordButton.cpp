#include "SkinRecordButton.h"

#include "SkinComposition.h"
#include "SkinControlGeometry.h"
#include "SkinCornerPoints.h"
#include "SkinGeometry.h"
#include "SkinPieceCopy.h"
#include "TbsSkinData.h"

namespace {
// `normal`, `active`, `down` with each empty one taking the one before it.
TRect StateRect(RecordButtonState state, const TRect& normal, const TRect& active, const TRect& down) {
    const TRect a = RectIsEmpty(active) ? normal : active;
    const TRect d = RectIsEmpty(down) ? a : down;
    switch (state) {
    case RecordButtonState::Active:
        return a;
    case RecordButtonState::Down:
        return d;
    case RecordButtonState::Normal:
        break;
    }
    return normal;
}
}  // namespace

RecordButton FindRecordButton(const TbsSkinData* skin, std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        const auto* record = dynamic_cast<const TbsDataSkinButtonControl*>(SkinControlRecordNamed(skin, name));
        const TBitmap* picture = record ? SkinPictureAt(*skin, record->pictureindex) : nullptr;
        if (picture && !RectIsEmpty(record->skinrect)) return {record, picture};
    }
    return {};
}

TRect RecordButtonImageRect(const TbsDataSkinButtonControl& r, RecordButtonState state) {
    return StateRect(state, r.skinrect, r.activeskinrect, r.downskinrect);
}

void DrawRecordButton(TBitmap& dest, const TRect& area, const RecordButton& button, RecordButtonState state) {
    if (!button || RectIsEmpty(area)) return;
    const TbsDataSkinButtonControl& b = *button.record;
    const TRect src = RecordButtonImageRect(b, state);
    if (b.CompositionKind() != SkinComposition::Frame) {
        StretchSkinPiece(dest, area, *button.picture, src);
        return;
    }
    const int w = WidthOf(area), h = HeightOf(area);
    const SkinCornerPoints points = CornerPointsOf(b);
    TBitmap image;
    ComposeSkinImage(points, src, *button.picture, image, w, h,
                     SizedCornerPoints(points, {WidthOf(src), HeightOf(src)}, {w, h}), StretchFlagsOf(b), true);
    dest.Canvas().Draw(area.Left, area.Top, image);
}

bool DrawRecordButtonMarker(TBitmap& dest, const TRect& area, const RecordButton& button, RecordButtonState state) {
    if (!button) return false;
    const TbsDataSkinButtonControl& b = *button.record;
    const TRect marker = StateRect(state, b.menumarkerrect, b.menumarkeractiverect, b.menumarkerdownrect);
    if (RectIsEmpty(marker)) return false;
    TBitmap glyph(WidthOf(marker), HeightOf(marker));
    CopySkinPiece(glyph, 0, 0, *button.picture, marker);
    glyph.SetTransparentColor(b.menumarkertransparentcolor);
    glyph.SetTransparent(true);
    const int sink = state == RecordButtonState::Down ? 1 : 0;
    dest.Canvas().Draw(area.Left + (WidthOf(area) - glyph.Width()) / 2,
                       area.Top + (HeightOf(area) - glyph.Height()) / 2 + sink, glyph);
    return true;
}

TColor RecordButtonFontColor(const TbsDataSkinButtonControl& r, RecordButtonState state, bool enabled) {
    if (!enabled) return r.disabledfontcolor;
    switch (state) {
    case RecordButtonState::Active:
        return r.activefontcolor;
    case RecordButtonState::Down:
        return r.downfontcolor;
    case RecordButtonState::Normal:
        break;
    }
    return r.fontcolor;
}
