#include "TbsSkinStdButtonObject.h"

#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "TbsSkinForm.h"

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm& form, const TbsDataSkinStdButton* record)
    : TbsSkinButtonObject(form, record), FromRecord(record != nullptr) {
    if (!record) return;
    command = record->command;
    restorerect = record->restorerect;
    restoreactiverect = record->restoreactiverect;
    restoredownrect = record->restoredownrect;
    restoreinactiverect = record->restoreinactiverect;
}

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm& form, SkinCommand cmd, const AnsiString& name)
    : TbsSkinButtonObject(form, nullptr), command(cmd) {
    IDName = name;
    skinrectinapicture = true;
    const TRect unit{0, 0, 1, 1};
    skinrect = activeskinrect = inactiveskinrect = downrect = disableskinrsect = unit;
    restorerect = restoreactiverect = restoredownrect = restoreinactiverect = unit;
    ObjectRect = unit;
}

bool TbsSkinStdButtonObject::ShowsIcon() const {
    return command == SkinCommand::SysMenu && form_.ShowIcon && (!FromRecord || skinrectinapicture);
}

bool TbsSkinStdButtonObject::IsMorphPending() const {
    if (ShowsIcon()) return false;
    return TbsSkinButtonObject::IsMorphPending();
}

bool TbsSkinStdButtonObject::RestoreConditionHolds() const {
    switch (command) {
    case SkinCommand::Maximize: return form_.SkinWindowState() == wsMaximized;
    case SkinCommand::Minimize: return form_.SkinWindowState() == wsMinimized;
    case SkinCommand::RollUp: return form_.RollUpState();
    default: return false;
    }
}

void TbsSkinStdButtonObject::DrawIcon(TCanvas& canvas) {
    if (const HICON icon = form_.SmallIcon()) ::DrawIcon(&canvas, ObjectRect.Left, ObjectRect.Top, icon);
}

void TbsSkinStdButtonObject::DrawBuiltIn(TCanvas& canvas) {
    if (ShowsIcon()) {
        DrawIcon(canvas);
        return;
    }
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap face(w, h);
    TCanvas& c = face.Canvas();
    const bool down = Pressed && MouseIn;
    c.Brush.Style = bsSolid;
    if (MouseIn) {
        c.Brush.Color = down ? RGB(0x85, 0x93, 0xB5) : RGB(0xB6, 0xBD, 0xD2);
        c.FillRect(face.BoundsRect());
        c.Brush.Color = RGB(0, 0, 0x80);
        c.FrameRect(face.BoundsRect());
    } else {
        c.Brush.Color = clBtnFace;
        c.FillRect(face.BoundsRect());
    }
    const int x = down ? w / 2 - 4 : w / 2 - 5;
    const int y = down ? h / 2 - 3 : h / 2 - 4;
    const TColor color = IsEnabled ? clBtnText : clBtnShadow;
    switch (command) {
    case SkinCommand::Close: DrawCloseGlyph(c, x, y, color); break;
    case SkinCommand::Maximize:
        if (RestoreConditionHolds()) DrawRestoreGlyph(c, x, y, color);
        else DrawMaximizeGlyph(c, x, y, color);
        break;
    case SkinCommand::Minimize:
        if (RestoreConditionHolds()) DrawRestoreGlyph(c, x, y, color);
        else DrawMinimizeGlyph(c, x, y, color);
        break;
    case SkinCommand::SysMenu: DrawSysMenuGlyph(c, x, y, color); break;
    case SkinCommand::RollUp:
        if (RestoreConditionHolds()) DrawRollDownGlyph(c, x, y, color);
        else DrawRollUpGlyph(c, x, y, color);
        break;
    case SkinCommand::MinimizeToTray: DrawTrayGlyph(c, x, y, color); break;
    case SkinCommand::Default: break;
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, face);
}

void TbsSkinStdButtonObject::Draw(TCanvas& canvas, bool direct) {
    if (!FromRecord) {
        DrawBuiltIn(canvas);
        return;
    }
    if (!LoadedSkin()) return;
    if (ShowsIcon()) {
        DrawIcon(canvas);
        MorphFactor = 0;
        return;
    }
    if (IsEnabled && !RectIsEmpty(restorerect) && RestoreConditionHolds()) {
        if (!form_.IsFormActive() && !RectIsEmpty(restoreinactiverect)) {
            DrawPiece(canvas, ObjectPicture, restoreinactiverect);
            return;
        }
        if (Pressed && MouseIn && !RectIsEmpty(restoredownrect)) {
            DrawPiece(canvas, ObjectPicture, restoredownrect);
            return;
        }
        // The restore images all lie in the object's own picture.
        DrawImages(canvas, true, restorerect, ObjectPicture ? restoreactiverect : TRect{}, TRect{}, ObjectPicture);
        return;
    }
    TbsSkinButtonObject::Draw(canvas, direct);
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton Button) {
    // A caption button raises no mouse-down event of its own.
    if (!IsEnabled || Button != mbLeft || Pressed) return;
    SetPressed(true);
    if (command == SkinCommand::SysMenu) form_.PopupSystemMenuUnder(*this);
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (Button != mbLeft || !ActiveLook) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        return;
    }
    if (command == SkinCommand::Close) {
        // Closing may free the form and this object with it: release first.
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        form_.RunObjectCommand(command);
        return;
    }
    form_.RunObjectCommand(command);
    TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick() {
    if (command == SkinCommand::SysMenu) form_.CloseForm();
}
