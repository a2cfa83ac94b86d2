#include "TbsSkinAnimateObject.h"

#include <algorithm>

#include "SkinGeometry.h"
#include "TbsSkinForm.h"

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm& form, const TbsDataSkinAnimate* record)
    : TbsActiveSkinObject(form, record) {
    if (!record) return;
    countframes = std::max(record->countframes, 1);
    cycle = record->cycle;
    buttonstyle = record->buttonstyle;
    timerinterval = std::max(record->timerinterval, 25);
    command = record->command;
    downskinrect = record->downskinrect;
    restorerect = record->restorerect;
    restoreactiverect = record->restoreactiverect;
    restoredownrect = record->restoredownrect;
    restoreinactiverect = record->restoreinactiverect;
}

bool TbsSkinAnimateObject::UsesRestoreImages() const {
    if (RectIsEmpty(restorerect)) return false;
    switch (command) {
    case SkinCommand::Maximize: return form_.SkinWindowState() == wsMaximized;
    case SkinCommand::Minimize: return form_.SkinWindowState() == wsMinimized;
    case SkinCommand::RollUp: return form_.RollUpState();
    default: return false;
    }
}

TRect TbsSkinAnimateObject::FrameRect(const TRect& first, int k) const {
    const int w = first.Width(), h = first.Height();
    return {first.Left + w * (k - 1), first.Top, first.Left + w * k, first.Top + h};
}

void TbsSkinAnimateObject::Draw(TCanvas& canvas, bool) {
    if (!LoadedSkin()) return;
    if (!MenuShown) {
        if (!form_.IsFormActive() && !RectIsEmpty(InactiveRect())) DrawPiece(canvas, ObjectPicture, InactiveRect());
        else if (Pressed && MouseIn && !RectIsEmpty(DownRect())) DrawPiece(canvas, ObjectPicture, DownRect());
        else DrawPiece(canvas, ObjectPicture, FrameRect(NormalRect(), AnimationFrame));
        return;
    }
    if (!RectIsEmpty(DownRect())) {
        DrawPiece(canvas, ObjectPicture, DownRect());
        return;
    }
    AnimationFrame = countframes;
    DrawPiece(canvas, ObjectPicture, FrameRect(NormalRect(), AnimationFrame));
}

void TbsSkinAnimateObject::MouseEnter() {
    MouseIn = true;
    if (!MenuShown && buttonstyle) {
        ActiveLook = true;
        AnimationForward = true;
        if (Pressed && !RectIsEmpty(DownRect())) form_.PaintObject(this);
        else form_.StartAnimateTimer();
    }
    FireMouseEnter();
}

void TbsSkinAnimateObject::MouseLeave() {
    if (!MouseIn) return;
    MouseIn = false;
    if (!MenuShown && buttonstyle) {
        ActiveLook = true;
        AnimationForward = false;
        if (Pressed && !RectIsEmpty(DownRect())) form_.PaintObject(this);
        else form_.StartAnimateTimer();
    }
    FireMouseLeave();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, TMouseButton Button) {
    FireMouseDown(X, Y, Button);
    if (!RectIsEmpty(DownRect()) && Button == mbLeft) {
        AnimationFrame = countframes;
        Pressed = true;
        form_.PaintObject(this);
    }
    if (command == SkinCommand::SysMenu && MouseIn && buttonstyle && Button == mbLeft)
        form_.RunObjectCommand(command, this);
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (MenuShown) return;
    if (!RectIsEmpty(DownRect()) && Button == mbLeft) {
        Pressed = false;
        form_.PaintObject(this);
        form_.StartAnimateTimer();
    }
    if (command != SkinCommand::SysMenu && MouseIn && buttonstyle && Button == mbLeft)
        form_.RunObjectCommand(command, this);
}

void TbsSkinAnimateObject::DblClick() {
    if (command == SkinCommand::SysMenu) form_.CloseForm();
}

bool TbsSkinAnimateObject::AnimationStep() {
    if (!ActiveLook || (Pressed && !RectIsEmpty(DownRect()))) return false;
    if (FrameElapsed < timerinterval) {
        FrameElapsed += 25;
        return true;
    }
    FrameElapsed = 25;
    if (AnimationForward) {
        ++AnimationFrame;
        if (AnimationFrame > countframes) AnimationFrame = 1;
        if (!cycle && AnimationFrame == countframes) ActiveLook = false;
    } else {
        --AnimationFrame;
        if (AnimationFrame < 1) AnimationFrame = countframes;
        if (AnimationFrame == 1) ActiveLook = false;
    }
    form_.PaintObject(this);
    return true;
}

void TbsSkinAnimateObject::MenuClosed() {
    ActiveLook = true;
    AnimationFrame = countframes;
    Pressed = false;
    MenuShown = false;
    AnimationForward = false;
    form_.StartAnimateTimer();
}
