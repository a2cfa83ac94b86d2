// TbsSkinForm: the skinned menus popped from the frame: the menus of frame
// objects, the system menu (its items for the current state, shown at a
// point or under a rectangle), and the menu state kept while one is open.

#include <algorithm>

#include "SkinPlatform.h"
#include "TbsSkinAnimateObject.h"
#include "TbsSkinButtonObject.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"

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

namespace {
// The names of the standard items; an item so named in the user's system
// menu is taken out before the current ones are put in.
constexpr const char* kStandardItemNames[] = {"BSF_MINITEM", "BSF_MAXITEM", "BSF_CLOSE",
                                              "BSF_MINTOTRAY", "BSF_ROLLUP", "BSF_RESTORE"};

bool IsStandardItem(const TMenuItem* item) {
    return std::any_of(std::begin(kStandardItemNames), std::end(kStandardItemNames),
                       [&](const char* name) { return item->Name() == name; });
}
}  // namespace

std::unique_ptr<TMenuItem> TbsSkinForm::MakeSystemMenuItem(SystemMenuItemKind kind) {
    struct Row {
        const char* name;
        const char* key;
        const char* fallback;
    };
    static constexpr Row rows[] = {
        {"BSF_MINITEM", "MI_MINCAPTION", "最小化(&n)"},       {"BSF_MAXITEM", "MI_MAXCAPTION", "最大化(&x)"},
        {"BSF_RESTORE", "MI_RESTORECAPTION", "还原(&R)"},     {"BSF_ROLLUP", "MI_ROLLUPCAPTION", "向上卷拢(&l)"},
        {"BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "最小化到图标(&T)"}, {"BSF_CLOSE", "MI_CLOSECAPTION", "关闭(&C)"}};
    const Row& row = rows[int(kind)];
    const TbsResourceStrData* strings = skinData_ ? skinData_->ResourceStrData() : nullptr;
    auto item = std::make_unique<TMenuItem>(nullptr);
    // The name also picks the item's built-in glyph in the skinned menu.
    item->SetName(row.name);
    item->SetCaption(strings ? strings->LookupString(row.key) : AnsiString(row.fallback));
    std::function<void()> action;
    switch (kind) {
    case SystemMenuItemKind::Minimize: action = [this] { RunObjectCommand(SkinCommand::Minimize); }; break;
    case SystemMenuItemKind::Maximize: action = [this] { SetSkinWindowState(wsMaximized); }; break;
    case SystemMenuItemKind::Restore:
        action = [this] {
            if (rollUpState_ && skinWindowState_ == wsNormal) RollUp(false);
            else SetSkinWindowState(wsNormal);
        };
        break;
    case SystemMenuItemKind::RollUp: action = [this] { RollUp(true); }; break;
    case SystemMenuItemKind::MinimizeToTray: action = [this] { MinimizeToTray(); }; break;
    case SystemMenuItemKind::Close:
        action = [this] { CloseForm(); };
        item->ShortCut = TextToShortCut("Alt+F4");
        break;
    }
    item->OnClick = [action = std::move(action)](TObject*) { action(); };
    return item;
}

bool TbsSkinForm::SystemMenuItemPresent(SystemMenuItemKind kind) const {
    switch (kind) {
    case SystemMenuItemKind::Minimize: return (borderIcons_ & biMinimize) && skinWindowState_ != wsMinimized;
    case SystemMenuItemKind::Maximize: return (borderIcons_ & biMaximize) && skinWindowState_ != wsMaximized;
    case SystemMenuItemKind::Restore: return skinWindowState_ != wsNormal || rollUpState_;
    case SystemMenuItemKind::RollUp:
        return (borderIcons_ & biRollUp) && !rollUpState_ && skinWindowState_ != wsMinimized;
    case SystemMenuItemKind::MinimizeToTray: return (borderIcons_ & biMinimizeToTray) != 0;
    case SystemMenuItemKind::Close: return true;
    }
    return false;
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
    using K = SystemMenuItemKind;
    if (systemMenu_) {
        TMenuItem* root = systemMenu_->Items();
        if (!UseDefaultSysMenu) return root;
        for (int i = root->Count() - 1; i >= 0; --i)
            if (IsStandardItem(root->Items(i))) root->Delete(i);
        // Each goes in at the top, so they read minimise, restore, maximise,
        // roll-up, minimise-to-tray above the menu's own items.
        for (K kind : {K::MinimizeToTray, K::RollUp, K::Maximize, K::Restore, K::Minimize})
            if (SystemMenuItemPresent(kind)) root->Insert(0, MakeSystemMenuItem(kind));
        root->Add(MakeSystemMenuItem(K::Close));
        return root;
    }
    if (!defaultSystemMenu_) defaultSystemMenu_ = CreateComponent<TPopupMenu>(this);
    TMenuItem* root = defaultSystemMenu_->Items();
    root->Clear();
    for (K kind : {K::Minimize, K::Maximize, K::Restore, K::RollUp, K::MinimizeToTray})
        if (SystemMenuItemPresent(kind)) root->Add(MakeSystemMenuItem(kind));
    if (root->Count() > 0) root->Add(std::make_unique<TMenuItem>(nullptr))->SetCaption(cLineCaption);
    root->Add(MakeSystemMenuItem(K::Close));
    return root;
}

void TbsSkinForm::PopupSystemMenuUnder(TbsActiveSkinObject& object) {
    if (!form_->HandleAllocated()) return;
    if (GetCapture() == form_->Handle()) ReleaseCapture();
    capturedIndex_ = -1;
    // The button that opened the menu is released when it closes (found again
    // by name: a skin change may have rebuilt the objects meanwhile).
    const AnsiString opener = object.IDName;
    PopupSystemMenu(OffsetRect(object.ObjectRect, form_->Left(), form_->Top()), [this, opener](TObject*) {
        TbsActiveSkinObject* o = FindObject(opener);
        if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o); b && b->Pressed) b->SetPressed(false);
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->Pressed) a->MenuClosed();
    });
}

void TbsSkinForm::PopupSystemMenuUnder(const TRect& rect) { PopupSystemMenu(rect, nullptr); }

void TbsSkinForm::PopupSystemMenuAt(int x, int y) { PopupSystemMenu({x, y, x, y}, nullptr); }

void TbsSkinForm::PopupSystemMenu(const TRect& anchor, TNotifyEvent onClose) {
    if (!form_->HandleAllocated()) return;
    // The open chain may show the system menu's items: it goes before they are rebuilt.
    TbsSkinMenu& engine = SkinMenu();
    if (engine.MenuVisible()) engine.CloseMenu();
    TMenuItem* items = GetSystemMenuItems();
    EnterMenuState();
    if (onClose) engine.SetOneShotClose(std::move(onClose));
    engine.Popup(nullptr, menusSkinData_ ? menusSkinData_ : skinData_, false, items, anchor);
}

// ---- the menu state ------------------------------------------------------------------------------------

void TbsSkinForm::EnterMenuState() {
    if (!menuHook_.Hooked()) menuHook_.Hook([this](MSG& msg, bool& handled) { MenuStateFilter(msg, handled); });
    if (skinMenuOpen_) return;
    skinMenuOpen_ = true;
    if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TbsSkinForm::MenuStateFilter(MSG& msg, bool& handled) {
    // While the engine's popups show, its own filter, hooked after this one
    // and so asked first, takes the keys to the topmost popup; what reaches
    // here is kept from the windows below the menu, and Escape ends a menu
    // state that outlived its popups.
    if (msg.message == WM_KEYDOWN) {
        handled = true;
        if (msg.wParam == VK_ESCAPE && !(skinMenu_ && skinMenu_->MenuVisible())) ResetMenuState();
    } else if (msg.message == WM_MOUSEWHEEL) {
        handled = true;
    }
}

void TbsSkinForm::ResetMenuState() {
    const bool wasOpen = skinMenuOpen_;
    skinMenuOpen_ = false;
    MenuClosed();
    // Unhooking from inside the filter is allowed: the other filters stay.
    menuHook_.Unhook();
    if (wasOpen && OnSkinMenuClose) OnSkinMenuClose(this);
}
