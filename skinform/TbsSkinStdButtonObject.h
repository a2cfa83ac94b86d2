#pragma once
// A caption button with a window command (close, maximise, minimise, system
// menu, roll-up, minimise to the tray, or none). Built from a skin record it
// shows the record's images, with a restore look while its command's state
// holds; made without a skin it draws the built-in look: a flat face, a navy
// frame when hot or pressed, and the command's glyph.

#include "TbsSkinButtonObject.h"

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
    TbsSkinStdButtonObject(TbsSkinForm& form, const TbsDataSkinStdButton* record);
    // A record-less button with the built-in look.
    TbsSkinStdButtonObject(TbsSkinForm& form, SkinCommand command, const AnsiString& name);

    bool IsMorphPending() const override;
    void Draw(TCanvas& Canvas, bool Direct) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void DblClick() override;

    // The button shows the form's small icon instead of an image.
    bool ShowsIcon() const;
    // The command's window state holds (maximised, minimised, rolled up).
    bool RestoreConditionHolds() const;

    SkinCommand command = SkinCommand::Default;
    bool FromRecord = false;
    TRect restorerect;
    TRect restoreactiverect;
    TRect restoredownrect;
    TRect restoreinactiverect;

private:
    void DrawBuiltIn(TCanvas& canvas);
    void DrawIcon(TCanvas& canvas);
};
