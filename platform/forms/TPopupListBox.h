#pragma once
// A list box that pops up: a top-level tool window with a drop shadow that
// never takes the activation or the focus, shown under (or above) a field
// at a screen position and hidden again. The combo box drops one down; any
// other control with a drop-down list can use it or derive from it (and
// draw its items its own way through DrawItem).
//
// While it is open, the control that opened it (PopupOwner) holds the mode:
// it keeps the keyboard focus and, usually, the pointer capture. A left
// press that lands on the items while the owner has no capture (after the
// list's own scroll bar was used, say) is handed to the owner with the
// capture, so the owner tracks every pick the same way; the other buttons'
// presses and all releases on the items are swallowed.

#include "TListBox.h"

class TPopupListBox : public TCustomListBox {
public:
    explicit TPopupListBox(TComponent* AOwner);

    // The control that holds the mode while the list is open (not owned;
    // cleared when it is destroyed).
    TWinControl* PopupOwner() const { return popupOwner_; }
    void SetPopupOwner(TWinControl* owner);

    // The window height that shows `rows` rows, frame included.
    virtual int HeightForRows(int rows) const;
    // Shows the list `width` × `height` with its top-left corner at the
    // bottom-left of `anchor` (screen coordinates), or with its bottom at the
    // anchor's top when the work area of the anchor's monitor ends first.
    // Returns true when the list opened above.
    bool Popup(const TRect& anchor, int width, int height);
    // Hides the list; nothing happens when it is not open.
    void CloseUp();
    bool IsPoppedUp() const;

    // For the owner tracking the pointer: the item under a screen point, or
    // -1; `onItems` tells whether the point is over the item area at all.
    int ItemAtScreen(TPoint screenPos, bool* onItems = nullptr) const;
    // Whether a screen point lies on the list's window (items, frame or bar).
    bool ContainsScreenPoint(TPoint screenPos) const;

    // Translucency of the list's window (0 transparent .. 255 opaque).
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    int AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(int value);

    bool CanFocus() const override { return false; }
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ApplyAlpha();

    TWinControl* popupOwner_ = nullptr;
    bool alphaBlend_ = false;
    int alphaBlendValue_ = 255;
};
