#pragma once
// A popup menu whose items (ordinary TMenuItem entries) are shown by the
// skinned menu engine of the form it belongs to, in that form's menu skin,
// instead of the platform's plain popup window. Unlike the platform popup it
// returns at once: the menu runs in the application's message loop, and its
// end is reported by OnMenuClose (and SKINMSG_MENUCLOSED to the control it
// was popped for).

#include "Menus.h"

class TbsSkinData;
class TbsSkinForm;
class TCustomForm;

class TbsSkinPopupMenu : public TPopupMenu {
public:
    explicit TbsSkinPopupMenu(TComponent* AOwner);
    ~TbsSkinPopupMenu() override;

    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TNotifyEvent OnMenuClose;
    // The form whose frame component shows the menu (set for a tray menu);
    // when none, the owner (or the owner's owner) that is a form.
    TCustomForm* MenuForm() const { return form_; }
    void SetMenuForm(TCustomForm* form);

    // At a screen point.
    void Popup(int X, int Y) override;
    // Under (or, with `upward`, above) a screen rectangle: a frame object's menu.
    void PopupUnder(const TRect& rect, bool upward);
    // For a control that owns the menu (a button with a drop-down menu).
    void PopupForControl(TControl* control, const TRect& rect, bool upward);
    // An edit box's context menu: shown only when skin data is known; the edit
    // hears SKINMSG_MENUCLOSED and SKINMSG_MENUCOMMANDDONE. False when nothing
    // was shown.
    bool PopupForEdit(TControl* edit, int X, int Y);

    // The frame component that would show the menu, or null.
    TbsSkinForm* FindSkinForm() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Show(TControl* control, const TRect& rect, bool upward, bool needsSkin);

    TbsSkinData* skinData_ = nullptr;
    TCustomForm* form_ = nullptr;
};
