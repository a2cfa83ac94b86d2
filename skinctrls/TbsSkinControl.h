#pragma once
// The windowed skinned control: binds itself to one record of a skin data
// component by name at every paint, paints through one off-screen bitmap
// (never erasing its background, so nothing flickers), and raises mouse
// enter and leave events. Without a skin, or without a record of its name,
// it draws its default look.

#include "SkinBoundControl.h"

class TbsSkinControl : public SkinBoundControl<TCustomControl> {
public:
    explicit TbsSkinControl(TComponent* AOwner);
    ~TbsSkinControl() override;

    void WndProc(TMessage& Message) override;

protected:
    // One paint message paints once: the background is never erased.
    void EraseBackground(HDC) override {}
    // Sends SKINMSG_PARENTBGCHANGED to every child control.
    void NotifyChildrenOfBackground();

    // True while WM_PAINT is handled, for descendants that paint in their
    // background-erase handler.
    bool IsPaintingFromWmPaint = false;
};

// Sends SKINMSG_PARENTBGCHANGED to each child of `parent`: a window message
// to windowed children, a direct control message to windowless ones.
void SendParentBackgroundChanged(TWinControl& parent);
