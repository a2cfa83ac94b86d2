#pragma once
// The menu engine of a skinned form: shows a chain of skinned popup windows
// (a menu and its open submenus) for whatever item tree it is given, opens a
// hovered submenu after half a second, closes the chain on a command, on
// Escape, or on a press anywhere else (also in another program's window),
// and reports back: SKINMSG_MENUCLOSED to the control that asked for the
// menu and to the form, SKINMSG_MENUCOMMANDDONE to that control after a
// command ran. While a chain shows, the application's key presses go to the
// topmost popup and wheel turns are kept from the windows below.

#include <memory>
#include <vector>

#include "Forms.h"
#include "Menus.h"
#include "TFont.h"

class TbsSkinData;
class TbsSkinMenuItem;
class TbsSkinPopupWindow;
class TTimer;

class TbsSkinMenu : public TComponent {
public:
    static constexpr unsigned kSubmenuDelayMs = 500;

    explicit TbsSkinMenu(TComponent* AOwner);
    ~TbsSkinMenu() override;

    // Settings (the frame component copies its own over them).
    int MaxMenuItemsInWindow = 0;
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    BYTE AlphaBlendValue = 150;
    int DefaultMenuItemHeight = 20;
    TFont DefaultMenuItemFont;
    // The form told about a closed chain (SKINMSG_MENUCLOSED); may be null.
    TCustomForm* NotifyForm = nullptr;

    // Shows `tree`'s children from `startIndex` at `rect` (screen
    // coordinates; an empty rectangle for a point). `control` asked for it.
    void Popup(TControl* control, TbsSkinData* skin, bool upward, TMenuItem* tree, const TRect& rect,
               int startIndex = 0);
    // Closes the popups from the topmost down to `index`; 0 closes the chain.
    void CloseFrom(int index);
    void CloseMenu();
    void ItemActivated(TbsSkinPopupWindow& popup, TbsSkinMenuItem& item, bool byKeyboard, bool execute);
    // A hovered submenu item that opens when the delay runs out.
    void StartSubmenuDelay(TbsSkinMenuItem& item);
    void CancelSubmenuDelay(const TbsSkinMenuItem* item);
    // The delay timer's work (the timer calls it).
    void SubmenuDelayElapsed();

    // A close handler run once when the current chain closes.
    void SetOneShotClose(TNotifyEvent handler) { oneShotClose_ = std::move(handler); }

    bool MenuVisible() const { return menuVisible_; }
    bool FirstPopup() const { return firstPopup_; }
    TbsSkinData* MenuSkin() const { return menuSkin_; }
    const TRect& MenuWorkArea() const { return menuWorkArea_; }
    TControl* PopupControl() const { return popupControl_; }
    TControl* CommandControl() const { return commandControl_; }
    TbsSkinMenuItem* WaitItem() const { return waitItem_; }
    bool SubmenuDelayRunning() const;
    int PopupCount() const { return int(popupList_.size()); }
    TbsSkinPopupWindow* PopupAt(int index) const;
    TbsSkinPopupWindow* TopPopup() const;
    int IndexOfPopup(const TbsSkinPopupWindow* popup) const;
    bool IsMenuWindow(HWND hwnd) const;

    // Held by the popup windows while they handle a message: a popup
    // closed meanwhile is freed only once no handler of any popup runs.
    class HandlerScope {
    public:
        explicit HandlerScope(TbsSkinMenu& engine);
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        TbsSkinMenu& engine_;
    };

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void OpenPopup(TMenuItem* tree, const TRect& anchor, bool upward, int startIndex);
    void WatchApplication(bool on);
    void FilterMessage(MSG& msg, bool& handled);
    void Notify(TControl* control, UINT msg);
    void FreeClosed();

    std::vector<TComponentPtr<TbsSkinPopupWindow>> popupList_;
    std::vector<TComponentPtr<TbsSkinPopupWindow>> closed_;
    int handlerDepth_ = 0;
    bool menuVisible_ = false;
    bool firstPopup_ = false;
    bool upward_ = false;
    TbsSkinData* menuSkin_ = nullptr;
    TRect menuWorkArea_;
    TControl* popupControl_ = nullptr;
    TControl* commandControl_ = nullptr;
    TbsSkinMenuItem* waitItem_ = nullptr;
    TTimer* delayTimer_ = nullptr;
    TNotifyEvent oneShotClose_;
    TMessageHook hook_;
};
