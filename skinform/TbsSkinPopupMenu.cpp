#include "TbsSkinPopupMenu.h"

#include "Forms.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

TbsSkinPopupMenu::~TbsSkinPopupMenu() = default;

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetMenuForm(TCustomForm* form) {
    if (form_ == form) return;
    if (form_) form_->RemoveFreeNotification(this);
    form_ = form;
    if (form) form->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == form_) form_ = nullptr;
}

TbsSkinForm* TbsSkinPopupMenu::FindSkinForm() const {
    TCustomForm* form = form_;
    if (!form) form = dynamic_cast<TCustomForm*>(Owner());
    if (!form && Owner()) form = dynamic_cast<TCustomForm*>(Owner()->Owner());
    // A control's menu belongs to the form the control sits on.
    if (!form) {
        if (auto* control = dynamic_cast<TControl*>(Owner())) form = GetParentForm(control);
    }
    if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm())
        form = Application->MainForm();
    return form ? FindSkinFormOf(form) : nullptr;
}

bool TbsSkinPopupMenu::Show(TControl* control, const TRect& rect, bool upward, bool needsSkin) {
    TbsSkinForm* frame = FindSkinForm();
    if (!frame) return false;
    if (!skinData_) SetSkinData(frame->MenusSkinData() ? frame->MenusSkinData() : frame->SkinData());
    if (needsSkin && !skinData_) return false;
    if (OnPopup) OnPopup(this);
    TbsSkinMenu& engine = frame->SkinMenu();
    // A chain that still shows ends first, with its own close handler.
    if (engine.MenuVisible()) engine.CloseMenu();
    SetPopupPoint(rect.TopLeft());
    engine.SetOneShotClose(OnMenuClose);
    engine.Popup(control, skinData_, upward, Items(), rect, 0);
    return true;
}

void TbsSkinPopupMenu::Popup(int X, int Y) { Show(nullptr, {X, Y, X, Y}, false, false); }

void TbsSkinPopupMenu::PopupUnder(const TRect& rect, bool upward) { Show(nullptr, rect, upward, false); }

void TbsSkinPopupMenu::PopupForControl(TControl* control, const TRect& rect, bool upward) {
    Show(control, rect, upward, false);
}

bool TbsSkinPopupMenu::PopupForEdit(TControl* edit, int X, int Y) { return Show(edit, {X, Y, X, Y}, false, true); }
