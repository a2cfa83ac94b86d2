// TbsSkinForm: the window commands of the caption buttons (close, maximise,
// minimise, roll-up), the window states the frame keeps itself, the system
// menu shown under the system-menu button, and the small icon.

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

// ---- menus under objects -----------------------------------------------------------------------------

namespace {
TMenuItem* MenuItemsOf(TbsActiveSkinObject& o) {
    if (auto* b = dynamic_cast<TbsSkinButtonObject*>(&o)) return b->MenuItems;
    if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(&o)) return a->MenuItems;
    return nullptr;
}
}  // namespace

void TbsSkinForm::PopupObjectMenu(TbsActiveSkinObject& object) {
    TMenuItem* items = MenuItemsOf(object);
    if (!items || items->Count() == 0 || !form_->HandleAllocated()) return;
    if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(&object)) a->MenuShown = true;
    const TRect r = OffsetRect(object.ObjectRect, form_->Left(), form_->Top());
    if (GetCapture() == form_->Handle()) ReleaseCapture();
    capturedIndex_ = -1;
    // The pressed object is released when the menu closes (SKINMSG_MENUCLOSED).
    TbsSkinMenu& engine = SkinMenu();
    if (engine.MenuVisible()) engine.CloseMenu();
    engine.Popup(nullptr, menusSkinData_ ? menusSkinData_ : skinData_, false, items, r);
}

TbsSkinMenu& TbsSkinForm::SkinMenu() {
    if (!skinMenu_) {
        skinMenu_ = CreateComponent<TbsSkinMenu>(this);
        skinMenu_->NotifyForm = form_;
    }
    skinMenu_->AlphaBlend = MenusAlphaBlend;
    skinMenu_->AlphaBlendAnimation = MenusAlphaBlendAnimation;
    skinMenu_->AlphaBlendValue = MenusAlphaBlendValue;
    return *skinMenu_;
}

TbsSkinForm* FindSkinFormOf(TCustomForm* form) {
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* frame = dynamic_cast<TbsSkinForm*>(form->Components(i))) return frame;
    return nullptr;
}

void TbsSkinForm::MenuClosed() {
    for (const auto& o : objects_) {
        if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o.get()); b && b->Pressed && b->MenuItems) {
            b->SetPressed(false);
            return;
        }
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get()); a && a->MenuShown) {
            a->MenuClosed();
            return;
        }
    }
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
    if (!defaultSystemMenu_) defaultSystemMenu_ = CreateComponent<TPopupMenu>(this);
    TMenuItem* root = defaultSystemMenu_->Items();
    root->Clear();
    const TbsResourceStrData* strings = skinData_ ? skinData_->ResourceStrData() : nullptr;
    const auto add = [&](const char* key, const char* fallback, const char* name, std::function<void()> action) {
        auto item = std::make_unique<TMenuItem>(nullptr);
        // The name picks the item's built-in glyph in the skinned menu.
        item->SetName(name);
        item->SetCaption(strings ? strings->LookupString(key) : AnsiString(fallback));
        item->OnClick = [action = std::move(action)](TObject*) { action(); };
        root->Add(std::move(item));
    };
    if ((borderIcons_ & biMinimize) && skinWindowState_ != wsMinimized)
        add("MI_MINCAPTION", "最小化(&n)", "BSF_MINITEM", [this] { RunObjectCommand(SkinCommand::Minimize); });
    if ((borderIcons_ & biMaximize) && skinWindowState_ != wsMaximized)
        add("MI_MAXCAPTION", "最大化(&x)", "BSF_MAXITEM", [this] { SetSkinWindowState(wsMaximized); });
    if (skinWindowState_ != wsNormal || rollUpState_)
        add("MI_RESTORECAPTION", "还原(&R)", "BSF_RESTORE", [this] {
            if (rollUpState_ && skinWindowState_ == wsNormal) RollUp(false);
            else SetSkinWindowState(wsNormal);
        });
    if ((borderIcons_ & biRollUp) && !rollUpState_ && skinWindowState_ != wsMinimized)
        add("MI_ROLLUPCAPTION", "向上卷拢(&l)", "BSF_ROLLUP", [this] { RollUp(true); });
    if (borderIcons_ & biMinimizeToTray)
        add("MI_MINTOTRAYCAPTION", "最小化到图标(&T)", "BSF_MINTOTRAY", [this] { MinimizeToTray(); });
    if (root->Count() > 0) root->Add(std::make_unique<TMenuItem>(nullptr))->SetCaption(cLineCaption);
    add("MI_CLOSECAPTION", "关闭(&C)", "BSF_CLOSE", [this] { CloseForm(); });
    return root;
}

void TbsSkinForm::PopupSystemMenuUnder(TbsActiveSkinObject& object) {
    if (!form_->HandleAllocated()) return;
    // The open chain may show the system menu's items: it goes before they are rebuilt.
    TbsSkinMenu& engine = SkinMenu();
    if (engine.MenuVisible()) engine.CloseMenu();
    TMenuItem* items = GetSystemMenuItems();
    const TRect r = OffsetRect(object.ObjectRect, form_->Left(), form_->Top());
    if (GetCapture() == form_->Handle()) ReleaseCapture();
    capturedIndex_ = -1;
    // The button that opened the menu is released when it closes (found again
    // by name: a skin change may have rebuilt the objects meanwhile).
    const AnsiString opener = object.IDName;
    engine.SetOneShotClose([this, opener](TObject*) {
        TbsActiveSkinObject* o = FindObject(opener);
        if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o); b && b->Pressed) b->SetPressed(false);
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->Pressed) a->MenuClosed();
    });
    engine.Popup(nullptr, menusSkinData_ ? menusSkinData_ : skinData_, false, items, r);
}

void TbsSkinForm::PopupSystemMenuAt(int x, int y) {
    if (!form_->HandleAllocated()) return;
    TbsSkinMenu& engine = SkinMenu();
    if (engine.MenuVisible()) engine.CloseMenu();
    TMenuItem* items = GetSystemMenuItems();
    engine.Popup(nullptr, menusSkinData_ ? menusSkinData_ : skinData_, false, items, {x, y, x, y});
}

// ---- window states -----------------------------------------------------------------------------------------

void TbsSkinForm::SetSkinWindowState(TWindowState state) {
    if (!skinnable_) {
        form_->SetWindowState(state);
        return;
    }
    if (state == skinWindowState_) return;
    const bool mainForm = Application && Application->MainForm() == form_;
    if (!(state == wsMinimized && mainForm)) skinWindowState_ = state;
    switch (state) {
    case wsMinimized: DoMinimize(); break;
    case wsMaximized: DoMaximize(); break;
    case wsNormal: DoRestore(); break;
    }
}

void TbsSkinForm::DoMinimize() {
    if (Application && Application->MainForm() == form_) {
        Application->Minimize();
    } else {
        if (IsRectEmpty(normalBounds_)) normalBounds_ = form_->BoundsRect();
        TRect area = GetScreenWorkArea(true);
        if (form_->HandleAllocated()) GetMonitorWorkArea(form_->Handle(), true, area);
        form_->SetBounds(area.Left, area.Bottom - MinFrameHeight(), MinFrameWidth(), MinFrameHeight());
    }
    if (OnMinimize) OnMinimize(this);
}

void TbsSkinForm::DoMaximize() {
    rollUpBeforeMax_ = rollUpState_;
    if (IsRectEmpty(normalBounds_)) normalBounds_ = form_->BoundsRect();
    const HWND h = form_->HandleAllocated() ? form_->Handle() : nullptr;
    TRect monitor = GetScreenWorkArea(false), work = GetScreenWorkArea(true);
    if (h) {
        GetMonitorWorkArea(h, false, monitor);
        GetMonitorWorkArea(h, true, work);
    }
    TRect target = MaximizeOnFullScreen ? monitor : work;
    // A hidden task bar at the screen's edge must still be reachable.
    if (!MaximizeOnFullScreen && work.Width() == monitor.Width() && work.Height() == monitor.Height() &&
        monitor == GetScreenWorkArea(false))
        target = InflateRect(target, -1, -1);
    form_->SetBoundsRect(target);
    if (OnMaximize) OnMaximize(this);
}

void TbsSkinForm::DoRestore() {
    if (rollUpState_ && !rollUpBeforeMax_ && maxRollUpState_) RollUp(false);
    rollUpBeforeMax_ = false;
    maxRollUpState_ = false;
    const TRect before = form_->BoundsRect();
    if (!IsRectEmpty(normalBounds_)) form_->SetBoundsRect(normalBounds_);
    if (form_->HandleAllocated()) mouseTimer_->SetEnabled(true);
    if (before.Width() == form_->Width() && before.Height() == form_->Height()) Reframe();
    form_->Invalidate();
    normalBounds_ = TRect{};
    if (OnRestore) OnRestore(this);
}

void TbsSkinForm::RollUp(bool value) {
    if (!(borderIcons_ & biRollUp) || skinWindowState_ == wsMinimized) return;
    if (rollUpState_ && skinWindowState_ == wsMaximized && !maxRollUpState_) return;
    if (skinWindowState_ == wsMaximized) maxRollUpState_ = value;
    rollUpState_ = value;
    if (value) {
        restoreHeight_ = form_->Height();
        form_->SetHeight(MinFrameHeight());
    } else if (ClientHeight > 0) {
        form_->SetClientHeight(ClientHeight);
    } else {
        form_->SetHeight(restoreHeight_);
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
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
