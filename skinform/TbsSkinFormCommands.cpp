// TbsSkinForm: the window commands of the caption buttons (close, maximise,
// minimise, roll-up), the caption's double click, and the small icon.

#include <algorithm>

#include "SkinPlatform.h"
#include "TbsSkinAnimateObject.h"
#include "TbsSkinButtonObject.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"

void TbsSkinForm::CloseForm() { form_->Close(); }

void TbsSkinForm::RunObjectCommand(SkinCommand command, TbsActiveSkinObject* source) {
    switch (command) {
    case SkinCommand::Close: CloseForm(); break;
    case SkinCommand::Maximize:
        SetSkinWindowState(skinWindowState_ == wsMaximized ? wsNormal : wsMaximized);
        break;
    case SkinCommand::Minimize:
        if (AlwaysMinimizeToTray) MinimizeToTray();
        else SetSkinWindowState(skinWindowState_ == wsMinimized ? wsNormal : wsMinimized);
        break;
    case SkinCommand::RollUp: RollUp(!rollUpState_); break;
    case SkinCommand::SysMenu:
        if (source) PopupSystemMenuUnder(*source);
        break;
    case SkinCommand::Default:
        if (source) PopupObjectMenu(*source);
        break;
    case SkinCommand::MinimizeToTray: MinimizeToTray(); break;
    }
}

void TbsSkinForm::CaptionDoubleClick() {
    if (CanResize() && skinWindowState_ == wsMinimized) SetSkinWindowState(wsNormal);
    else if (CanResize() && skinWindowState_ != wsMaximized && !rollUpState_ && (borderIcons_ & biMaximize))
        SetSkinWindowState(wsMaximized);
    else if (CanResize() && skinWindowState_ == wsMaximized && !maxRollUpState_) SetSkinWindowState(wsNormal);
    else RollUp(!rollUpState_);
}

TbsSkinForm* FindSkinFormOf(TCustomForm* form) {
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* frame = dynamic_cast<TbsSkinForm*>(form->Components(i))) return frame;
    return nullptr;
}

// ---- the small icon ------------------------------------------------------------------------------------------

HICON TbsSkinForm::SmallIcon() {
    if (smallIconTaken_) return smallIcon_.Handle();
    smallIconTaken_ = true;
    int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (w == 0 || h == 0) {
        w = GetSystemMetrics(SM_CXSIZE);
        h = GetSystemMetrics(SM_CYSIZE);
    }
    if (w <= 0 || h <= 0) return nullptr;
    // The form's own icon, else the application's, else the standard one.
    HICON source = form_->Icon().Handle();
    if (!source && Application) source = Application->Icon().Handle();
    if (!source) source = LoadIcon(nullptr, IDI_APPLICATION);
    smallIcon_.SetHandle(CopyImage(source, IMAGE_ICON, w, h, 0));
    return smallIcon_.Handle();
}
