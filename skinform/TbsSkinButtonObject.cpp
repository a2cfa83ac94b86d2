#include "TbsSkinButtonObject.h"

#include "Menus.h"
#include "SkinGeometry.h"
#include "TbsSkinForm.h"

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm& form, const TbsDataSkinButton* record)
    : TbsActiveSkinObject(form, record) {
    if (!record) return;
    downrect = record->downrect;
    disableskinrsect = record->disableskinrsect;
}

bool TbsSkinButtonObject::HasMenu() const { return MenuItems && MenuItems->Count() > 0; }

bool TbsSkinButtonObject::IsMorphPending() const {
    if (MenuItems && Pressed) return false;
    return TbsActiveSkinObject::IsMorphPending();
}

void TbsSkinButtonObject::Draw(TCanvas& canvas, bool direct) {
    if (!LoadedSkin()) return;
    if (!IsEnabled && !RectIsEmpty(disableskinrsect)) {
        DrawPiece(canvas, ObjectPicture, disableskinrsect);
        return;
    }
    if (Pressed && MouseIn && !RectIsEmpty(downrect)) {
        DrawPiece(canvas, ObjectPicture, downrect);
        return;
    }
    TbsActiveSkinObject::Draw(canvas, direct);
}

void TbsSkinButtonObject::SetPressed(bool value) {
    Pressed = value;
    if (CanMorph() && ActiveLook) MorphFactor = 1;
    form_.PaintObject(this);
    if (CanMorph() && !Pressed) StateChanged();
}

void TbsSkinButtonObject::MouseDown(int X, int Y, TMouseButton Button) {
    if (!IsEnabled) return;
    if (Button == mbLeft && !Pressed) {
        SetPressed(true);
        if (HasMenu()) form_.PopupObjectMenu(*this);
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (!IsEnabled) return;
    if (Button == mbLeft && !MenuItems && Pressed) SetPressed(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter() {
    MouseIn = true;
    ActiveLook = true;
    if (Pressed && !RectIsEmpty(downrect)) {
        if (CanMorph()) MorphFactor = 1;
        form_.PaintObject(this);
    } else if (!RectIsEmpty(activeskinrect)) {
        StateChanged();
    }
    FireMouseEnter();
}

void TbsSkinButtonObject::MouseLeave() {
    MouseIn = false;
    ActiveLook = false;
    if (!(MenuItems && Pressed)) {
        form_.PaintObject(this);
        StateChanged();
    }
    FireMouseLeave();
}
