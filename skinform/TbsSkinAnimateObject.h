#pragma once
// A frame object that plays a strip of equal frames: forward while the pointer
// is over it (to the last frame, or round and round when it cycles), backward
// when the pointer leaves; it can carry a window command like a caption
// button and freeze on its down image while a menu it opened is shown.

#include "TbsActiveSkinObject.h"

class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
    TbsSkinAnimateObject(TbsSkinForm& form, const TbsDataSkinAnimate* record);

    void Draw(TCanvas& Canvas, bool Direct) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DblClick() override;

    // Frame k (1-based) of the strip that starts at `first`.
    TRect FrameRect(const TRect& first, int k) const;
    // One animation tick of 25 ms; false when the object did not move.
    bool AnimationStep();
    // The menu shown under the object closed: run back from the last frame.
    void MenuClosed();

    int countframes = 1;
    bool cycle = false;
    bool buttonstyle = false;
    int timerinterval = 50;
    SkinCommand command = SkinCommand::Default;
    TRect downskinrect;
    TRect restorerect;
    TRect restoreactiverect;
    TRect restoredownrect;
    TRect restoreinactiverect;

    int AnimationFrame = 1;
    bool AnimationForward = true;
    int FrameElapsed = 25;
    bool Pressed = false;
    bool MenuShown = false;
    TMenuItem* MenuItems = nullptr;

private:
    bool UsesRestoreImages() const;
    const TRect& NormalRect() const { return UsesRestoreImages() ? restorerect : skinrect; }
    const TRect& DownRect() const { return UsesRestoreImages() ? restoredownrect : downskinrect; }
    const TRect& InactiveRect() const { return UsesRestoreImages() ? restoreinactiverect : inactiveskinrect; }
};
