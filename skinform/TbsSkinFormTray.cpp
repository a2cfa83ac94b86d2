// TbsSkinForm: minimising into the tray icon and restoring from it, and the
// small menu the icon shows.

#include "Forms.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinPopupMenu.h"
#include "TbsTrayIcon.h"

void TbsSkinForm::SetTrayIcon(TbsTrayIcon* value) {
    if (trayIcon_ == value) return;
    if (trayIcon_) trayIcon_->RemoveFreeNotification(this);
    trayIcon_ = value;
    if (!value) return;
    value->FreeNotification(this);
    if (!AlwaysShowInTray) value->SetIconVisible(false);
    value->MinimizeToTray = false;
    if (Designing()) return;
    if (!value->PopupMenu()) value->SetPopupMenu(TrayMenu());
    if (!value->OnDblClick) value->OnDblClick = [this](TObject*) { RestoreFromTray(); };
}

TbsSkinPopupMenu* TbsSkinForm::TrayMenu() {
    if (trayMenu_) return trayMenu_;
    trayMenu_ = CreateComponent<TbsSkinPopupMenu>(this);
    trayMenu_->SetMenuForm(form_);
    const TbsResourceStrData* strings = skinData_ ? skinData_->ResourceStrData() : nullptr;
    const auto add = [&](const char* name, const char* key, const char* fallback, std::function<void()> action) {
        TMenuItem* item = CreateComponent<TMenuItem>(trayMenu_);
        item->SetName(name);
        item->SetCaption(strings ? strings->LookupString(key) : AnsiString(fallback));
        if (action) item->OnClick = [action = std::move(action)](TObject*) { action(); };
        trayMenu_->Items()->Add(item);
        return item;
    };
    add("TRAY_BSF_RESTORE", "MI_RESTORECAPTION", "还原(&R)", [this] { RestoreFromTray(); });
    add("", "", "-", nullptr)->SetCaption(cLineCaption);
    add("TRAY_BSF_CLOSE", "MI_CLOSECAPTION", "关闭(&C)", [this] { CloseForm(); })->ShortCut = TextToShortCut("Alt+F4");
    return trayMenu_;
}

void TbsSkinForm::MinimizeToTray() {
    if (!trayIcon_ || !Application) return;
    trayIcon_->MinimizeToTray = true;
    Application->Minimize();
    if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFromTray() {
    if (!trayIcon_) return;
    trayIcon_->MinimizeToTray = false;
    trayIcon_->ShowMainForm();
    if (!AlwaysShowInTray) trayIcon_->SetIconVisible(false);
    if (OnRestoreFromTray) OnRestoreFromTray(this);
}
