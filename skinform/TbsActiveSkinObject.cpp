#include "TbsActiveSkinObject.h"

#include "SkinGeometry.h"
#include "SkinObjectDrawing.h"
#include "TbsEffectBmp.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm& form, const TbsDataSkinObject* record) : form_(form) {
    if (!record) return;
    IDName = record->EntryName;
    HintText = record->hint;
    skinrect = record->skinrect;
    activeskinrect = record->activeskinrect;
    inactiveskinrect = record->inactiveskinrect;
    skinrectinapicture = record->skinrectinapicture;
    morphing = record->morphing;
    morphkind = record->morphkind;
    ObjectRect = skinrect;
    if (const TbsSkinData* skin = form.SkinData()) {
        const auto& pictures = skin->ActiveBitmaps();
        const int index = record->activepictureindex;
        if (index >= 0 && index < int(pictures.size())) ObjectPicture = pictures[std::size_t(index)].get();
    }
    // Without its own picture the object has no active image to show or morph to.
    if (!ObjectPicture) activeskinrect = TRect{};
}

const TbsSkinData* TbsActiveSkinObject::LoadedSkin() const {
    const TbsSkinData* skin = form_.SkinData();
    return skin && !skin->IsEmpty() ? skin : nullptr;
}

const TBitmap* TbsActiveSkinObject::MainPicture() const {
    const TbsSkinData* skin = LoadedSkin();
    return skin ? &skin->MainBitmap() : nullptr;
}

const TBitmap* TbsActiveSkinObject::NormalPicture() const {
    return skinrectinapicture ? ObjectPicture : MainPicture();
}

bool TbsActiveSkinObject::CanMorph() const {
    const TbsSkinData* skin = LoadedSkin();
    return morphing && ObjectPicture && !RectIsEmpty(activeskinrect) && skin && skin->EnableSkinEffects();
}

bool TbsActiveSkinObject::IsMorphPending() const {
    return (ActiveLook && MorphFactor < 1) || (!ActiveLook && MorphFactor > 0);
}

bool TbsActiveSkinObject::MorphBetweenEnds() const {
    return (ActiveLook && MorphFactor != 1) || (!ActiveLook && MorphFactor != 0);
}

void TbsActiveSkinObject::StateChanged() {
    if (CanMorph()) form_.StartMorphTimer();
    else form_.PaintObject(this);
}

bool TbsActiveSkinObject::MorphStep() {
    if (!CanMorph() || !IsMorphPending()) return false;
    MorphFactor += ActiveLook ? 0.2 : -0.2;
    // Five steps of 0.2 must land on the ends exactly.
    if (MorphFactor > 0.999) MorphFactor = 1;
    if (MorphFactor < 0.001) MorphFactor = 0;
    form_.PaintObject(this);
    return true;
}

void TbsActiveSkinObject::DrawPiece(TCanvas& canvas, const TBitmap* picture, const TRect& piece) const {
    if (picture) DrawSkinPiece(canvas, ObjectRect, *picture, piece);
}

void TbsActiveSkinObject::DrawMorph(TCanvas& canvas, const TBitmap& normalPicture, const TRect& normal,
                                    const TRect& active) const {
    const TSize size{ObjectRect.Width(), ObjectRect.Height()};
    TBitmap from, to;
    SkinPieceImage(normalPicture, normal, size, from);
    SkinPieceImage(*ObjectPicture, active, size, to);
    TbsEffectBmp blend(from);
    blend.Morph(morphkind, TbsEffectBmp(to), MorphFactor);
    blend.DrawTo(canvas, ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::DrawImages(TCanvas& canvas, bool direct, const TRect& normal, const TRect& active,
                                     const TRect& inactive, const TBitmap* normalPicture) {
    if (!LoadedSkin()) return;
    if (IsEnabled && !form_.IsFormActive() && !RectIsEmpty(inactive)) {
        DrawPiece(canvas, ObjectPicture, inactive);
        return;
    }
    if (CanMorph() && MorphBetweenEnds() && normalPicture && !RectIsEmpty(active)) {
        DrawMorph(canvas, *normalPicture, normal, active);
        return;
    }
    if (ActiveLook && !RectIsEmpty(active)) {
        DrawPiece(canvas, ObjectPicture, active);
        return;
    }
    // The frame strips already show an image that is part of the frame picture.
    if (!direct && !skinrectinapicture) return;
    DrawPiece(canvas, normalPicture, normal);
}

void TbsActiveSkinObject::Draw(TCanvas& canvas, bool direct) {
    DrawImages(canvas, direct, skinrect, activeskinrect, inactiveskinrect, NormalPicture());
}

void TbsActiveSkinObject::FireMouseDown(int X, int Y, TMouseButton Button) {
    if (form_.OnMouseDownEvent) form_.OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::FireMouseUp(int X, int Y, TMouseButton Button) {
    if (form_.OnMouseUpEvent) form_.OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::FireMouseEnter() {
    if (form_.OnMouseEnterEvent) form_.OnMouseEnterEvent(IDName);
}

void TbsActiveSkinObject::FireMouseLeave() {
    if (form_.OnMouseLeaveEvent) form_.OnMouseLeaveEvent(IDName);
}

void TbsActiveSkinObject::MouseDown(int X, int Y, TMouseButton Button) { FireMouseDown(X, Y, Button); }

void TbsActiveSkinObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (MouseIn) FireMouseUp(X, Y, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) {
    if (form_.OnMouseMoveEvent) form_.OnMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsActiveSkinObject::MouseEnter() {
    MouseIn = true;
    ActiveLook = true;
    if (!RectIsEmpty(activeskinrect)) StateChanged();
    FireMouseEnter();
}

void TbsActiveSkinObject::MouseLeave() {
    MouseIn = false;
    ActiveLook = false;
    if (!RectIsEmpty(activeskinrect)) StateChanged();
    FireMouseLeave();
}
