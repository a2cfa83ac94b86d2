#include "TbsSkinMenu.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "TbsSkinData.h"
#include "TbsSkinMenuItem.h"
#include "TbsSkinPopupWindow.h"

TbsSkinMenu::TbsSkinMenu(TComponent* AOwner) : TComponent(AOwner) {
    DefaultMenuItemFont.SetName("Arial");
    DefaultMenuItemFont.SetHeight(14);
    DefaultMenuItemFont.SetStyle(0);
    delayTimer_ = CreateComponent<TTimer>(this);
    delayTimer_->SetEnabled(false);
    delayTimer_->SetInterval(kSubmenuDelayMs);
    delayTimer_->OnTimer = [this](TObject*) { SubmenuDelayElapsed(); };
}

TbsSkinMenu::~TbsSkinMenu() {
    hook_.Unhook();
    oneShotClose_ = nullptr;
    popupControl_ = commandControl_ = nullptr;
    waitItem_ = nullptr;
    popupList_.clear();
    closed_.clear();
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == popupControl_) popupControl_ = nullptr;
    if (AComponent == commandControl_) commandControl_ = nullptr;
    if (AComponent == NotifyForm) NotifyForm = nullptr;
    if (AComponent == menuSkin_) {
        // The pictures the popups draw from are going: close the chain first.
        CloseMenu();
        menuSkin_ = nullptr;
    }
}

TbsSkinMenu::HandlerScope::HandlerScope(TbsSkinMenu& engine) : engine_(engine) { ++engine_.handlerDepth_; }

TbsSkinMenu::HandlerScope::~HandlerScope() {
    if (--engine_.handlerDepth_ == 0) engine_.FreeClosed();
}

void TbsSkinMenu::FreeClosed() {
    if (handlerDepth_ == 0) closed_.clear();
}

TbsSkinPopupWindow* TbsSkinMenu::PopupAt(int index) const {
    return index >= 0 && index < int(popupList_.size()) ? popupList_[std::size_t(index)].get() : nullptr;
}

TbsSkinPopupWindow* TbsSkinMenu::TopPopup() const {
    return popupList_.empty() ? nullptr : popupList_.back().get();
}

int TbsSkinMenu::IndexOfPopup(const TbsSkinPopupWindow* popup) const {
    for (std::size_t i = 0; i < popupList_.size(); ++i)
        if (popupList_[i].get() == popup) return int(i);
    return -1;
}

bool TbsSkinMenu::IsMenuWindow(HWND hwnd) const {
    if (!hwnd) return false;
    for (const auto& p : popupList_)
        if (p->HandleAllocated() && (p->Handle() == hwnd || IsChild(p->Handle(), hwnd))) return true;
    return false;
}

bool TbsSkinMenu::SubmenuDelayRunning() const { return delayTimer_->Enabled(); }

void TbsSkinMenu::Popup(TControl* control, TbsSkinData* skin, bool upward, TMenuItem* tree, const TRect& rect,
                        int startIndex) {
    FreeClosed();
    firstPopup_ = !menuVisible_;
    if (menuVisible_) CloseFrom(0);
    popupControl_ = control;
    if (control) control->FreeNotification(this);
    upward_ = upward;
    // The work area of the monitor the form is on, else the one under the anchor.
    menuWorkArea_ = GetScreenWorkArea(true);
    MONITORINFO info;
    if (NotifyForm && NotifyForm->HandleAllocated()) GetMonitorWorkArea(NotifyForm->Handle(), true, menuWorkArea_);
    else if (GetMonitorInfo(MonitorFromPoint(rect.TopLeft(), MONITOR_DEFAULTTONEAREST), info))
        menuWorkArea_ = info.rcWork;
    if (menuSkin_ != skin) {
        if (menuSkin_) menuSkin_->RemoveFreeNotification(this);
        menuSkin_ = skin;
        if (skin) skin->FreeNotification(this);
    }
    if (!tree || startIndex < 0 || startIndex >= tree->Count()) {
        // Nothing to show: whoever asked still hears that the menu is over.
        Notify(popupControl_, SKINMSG_MENUCLOSED);
        popupControl_ = nullptr;
        oneShotClose_ = nullptr;
        return;
    }
    menuVisible_ = true;
    WatchApplication(true);
    OpenPopup(tree, rect, upward, startIndex);
    if (popupList_.empty()) CloseMenu();
}

void TbsSkinMenu::OpenPopup(TMenuItem* tree, const TRect& anchor, bool upward, int startIndex) {
    auto popup = CreateUnowned<TbsSkinPopupWindow>(*this);
    popup->Build(tree, startIndex);
    if (popup->Items().empty()) {
        closed_.push_back(std::move(popup));
        FreeClosed();
        return;
    }
    const TbsSkinPopupWindow* parent = TopPopup();
    popup->Place(anchor, upward, parent != nullptr, parent ? parent->ItemsArea().Top : 0);
    const bool fadeIn = firstPopup_ && popupList_.empty() && AlphaBlend && AlphaBlendAnimation;
    popupList_.push_back(std::move(popup));
    popupList_.back()->ShowPopup(fadeIn);
}

void TbsSkinMenu::CloseFrom(int index) {
    index = std::max(index, 0);
    while (int(popupList_.size()) > index) {
        TComponentPtr<TbsSkinPopupWindow> popup = std::move(popupList_.back());
        popupList_.pop_back();
        if (waitItem_) {
            for (const auto& item : popup->Items())
                if (item.get() == waitItem_) {
                    waitItem_ = nullptr;
                    delayTimer_->SetEnabled(false);
                }
        }
        if (popup->HandleAllocated()) ShowWindow(popup->Handle(), SW_HIDE);
        closed_.push_back(std::move(popup));
    }
    if (TbsSkinPopupWindow* top = TopPopup()) {
        // The item that opened the closed submenu looks like any other again.
        for (const auto& item : top->Items())
            if (item->SubmenuOpen) {
                item->SubmenuOpen = false;
                top->RepaintItem(*item);
            }
    }
    if (index == 0 && menuVisible_) {
        menuVisible_ = false;
        delayTimer_->SetEnabled(false);
        WatchApplication(false);
        commandControl_ = popupControl_;
        TControl* control = popupControl_;
        popupControl_ = nullptr;
        Notify(control, SKINMSG_MENUCLOSED);
        if (TNotifyEvent closed = std::move(oneShotClose_)) {
            oneShotClose_ = nullptr;
            closed(this);
        }
    }
    FreeClosed();
}

void TbsSkinMenu::CloseMenu() {
    const bool wasVisible = menuVisible_;
    CloseFrom(0);
    delayTimer_->SetEnabled(false);
    waitItem_ = nullptr;
    if (wasVisible && NotifyForm) NotifyForm->Perform(SKINMSG_MENUCLOSED, 0, 0);
    if (popupControl_) {
        TControl* control = popupControl_;
        popupControl_ = nullptr;
        Notify(control, SKINMSG_MENUCLOSED);
    }
}

void TbsSkinMenu::Notify(TControl* control, UINT msg) {
    if (control) control->Perform(msg, 0, 0);
}

void TbsSkinMenu::StartSubmenuDelay(TbsSkinMenuItem& item) {
    waitItem_ = &item;
    delayTimer_->SetEnabled(false);
    delayTimer_->SetEnabled(true);
}

void TbsSkinMenu::CancelSubmenuDelay(const TbsSkinMenuItem* item) {
    if (waitItem_ && waitItem_ == item) {
        waitItem_ = nullptr;
        delayTimer_->SetEnabled(false);
    }
}

void TbsSkinMenu::SubmenuDelayElapsed() {
    delayTimer_->SetEnabled(false);
    TbsSkinMenuItem* item = waitItem_;
    waitItem_ = nullptr;
    if (!item) return;
    for (const auto& popup : popupList_) {
        if (popup->IndexOf(item) < 0) continue;
        HandlerScope scope(*this);
        ItemActivated(*popup, *item, false, true);
        return;
    }
}

void TbsSkinMenu::ItemActivated(TbsSkinPopupWindow& popup, TbsSkinMenuItem& item, bool byKeyboard, bool execute) {
    const int level = IndexOfPopup(&popup);
    if (level < 0) return;
    TMenuItem* menuItem = item.MenuItem();
    if (!item.HasSubmenu()) {
        if (!execute) {
            CloseFrom(level + 1);
            return;
        }
        HandlerScope scope(*this);
        // Every popup is gone before the command runs: a command that opens a
        // dialog or another menu finds the screen clear.
        CloseMenu();
        if (TMenu* menu = menuItem->GetParentMenu()) menu->DispatchCommand(menuItem);
        else menuItem->Click();
        TControl* control = commandControl_;
        commandControl_ = nullptr;
        Notify(control, SKINMSG_MENUCOMMANDDONE);
        return;
    }
    if (!execute) {
        if (byKeyboard) return;
        CloseFrom(level + 1);
        StartSubmenuDelay(item);
        return;
    }
    if (TMenu* menu = menuItem->GetParentMenu()) menu->DispatchCommand(menuItem);
    else menuItem->Click();
    if (IndexOfPopup(&popup) < 0 || popup.IndexOf(&item) < 0) return;  // the command closed the menu
    delayTimer_->SetEnabled(false);
    waitItem_ = nullptr;
    CloseFrom(level + 1);
    item.SubmenuOpen = true;
    popup.RepaintItem(item);
    const TRect anchor = OffsetRect(item.ItemRect, popup.Left(), popup.Top());
    OpenPopup(menuItem, anchor, upward_, 0);
}

// ---- the application while a chain shows ---------------------------------------------------------------

void TbsSkinMenu::WatchApplication(bool on) {
    if (!on) {
        hook_.Unhook();
        return;
    }
    if (!hook_.Hooked()) hook_.Hook([this](MSG& msg, bool& handled) { FilterMessage(msg, handled); });
}

namespace {
bool IsPress(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}
}  // namespace

void TbsSkinMenu::FilterMessage(MSG& msg, bool& handled) {
    if (!menuVisible_) return;
    if (IsPress(msg.message)) {
        // A press anywhere else ends the menu; the press itself goes on.
        if (!IsMenuWindow(msg.hwnd)) CloseMenu();
        return;
    }
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        handled = true;
        if (TbsSkinPopupWindow* top = TopPopup()) {
            HandlerScope scope(*this);
            top->KeyDown(WORD(msg.wParam));
        }
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_MOUSEWHEEL:
        handled = true;
        return;
    default:
        return;
    }
}
