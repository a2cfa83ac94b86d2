#pragma once
// A frame object that can be pressed: it shows its down image while pressed
// with the pointer over it, its disabled image when disabled, and keeps a
// menu shown under it pressed until that menu closes.

#include "TbsActiveSkinObject.h"

class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsSkinForm& form, const TbsDataSkinButton* record);

    bool IsMorphPending() const override;
    void Draw(TCanvas& Canvas, bool Direct) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    void SetPressed(bool value);
    bool HasMenu() const;

    bool Pressed = false;
    // Items shown under the button while it is pressed; none by default.
    TMenuItem* MenuItems = nullptr;
    TRect downrect;
    TRect disableskinrsect;
};
