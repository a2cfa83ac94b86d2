#pragma once
// A speed button with a drop-down part at its right edge that opens a
// skinned popup menu under the button. The drop-down part shows the record's
// track image (a "menubutton" record's trackbuttonrect) with the menu marker
// of the button's state on it; without skin it is set off by a line and shows
// a small arrow. Pressing the drop-down part opens the menu; so does pressing
// anywhere on a button that has no click of its own (no OnClick, no action).
// The button stays pressed while its menu is open and is released when the
// menu closes, however it closes.

#include "TbsSkinSpeedButton.h"

class TbsSkinPopupMenu;

class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
public:
    explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
    ~TbsSkinMenuSpeedButton() override;

    TbsSkinPopupMenu* SkinPopupMenu() const { return skinPopupMenu_; }
    void SetSkinPopupMenu(TbsSkinPopupMenu* value);

    // Opens the menu under the button (nothing without a menu).
    void ShowMenu();
    bool MenuOpen() const { return menuOpen_; }
    // Fired once the menu has closed and the button is up again.
    TNotifyEvent OnMenuClose;
    // The drop-down part in the button's coordinates.
    TRect TrackButtonRect() const;

    void DoButtonClick() override;
    void WndProc(TMessage& Message) override;

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool HoldsPressedLook() const override { return menuOpen_; }
    TRect ContentRect(const TRect& rect) const override;

private:
    int TrackWidth() const;
    bool HasClickOfItsOwn() const { return OnClick || Action(); }
    void MenuClosed();
    void DrawSkinnedTrack(TBitmap& bitmap);
    void DrawDefaultTrack(TBitmap& bitmap);

    TbsSkinPopupMenu* skinPopupMenu_ = nullptr;
    TRect trackbuttonrect_;
    bool menuOpen_ = false;
    // The press that opened the menu: its release must not click.
    bool pressOpenedMenu_ = false;
    // A press on the button closed its open menu: it must not reopen it.
    bool pressClosedMenu_ = false;
    DWORD closingPressTime_ = 0;
};
