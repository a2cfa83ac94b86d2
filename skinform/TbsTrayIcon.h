#pragma once
// An icon in the desktop's notification area (the system tray). It reports
// the pointer on the icon as events, pops its skinned menu from the icon,
// and, while MinimizeToTray is set, takes a minimised application off the
// task bar into the tray. Without a tray on the desktop nothing is hidden:
// the application stays minimised where the user can find it.

#include <functional>

#include "Controls.h"
#include "ImgList.h"
#include "ShellApi.h"
#include "TIcon.h"

class TbsSkinPopupMenu;

using TbsCycleEvent = std::function<void(TObject* Sender, int& NextIndex)>;

class TbsTrayIcon : public TComponent {
public:
    // The message the tray sends the icon's window, the mouse message in lParam.
    static constexpr UINT kCallbackMessage = WM_USER + 1024;
    static constexpr UINT kIconId = 1;

    explicit TbsTrayIcon(TComponent* AOwner);
    ~TbsTrayIcon() override;
    void AfterConstruction() override;

    // ---- published properties ----
    TIcon& Icon() { return icon_; }
    // Takes a new picture (shown at once when the icon is up).
    void SetIcon(const TIcon& icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool value);
    bool Enabled = true;
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    TbsSkinPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TbsSkinPopupMenu* menu);
    bool PopupByLeftButton = false;
    bool MinimizedOnStart = false;
    bool MinimizeToTray = true;
    TImageList* IconList() const { return iconList_; }
    void SetIconList(TImageList* list);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int value);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool value);
    unsigned AnimateTimerInterval() const { return animateInterval_; }
    void SetAnimateTimerInterval(unsigned ms);
    bool DesignPreview = false;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TbsCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintClick;

    // ---- what the frame component and tests use ----
    // Whether the tray shows the icon now.
    bool IconShown() const { return iconShown_; }
    // Takes the application into the tray: the icon goes up and the minimised
    // windows leave the task bar. False, with nothing hidden, when the icon
    // cannot be shown (no tray).
    bool HideMainForm();
    // Brings the application back from the tray.
    void ShowMainForm();
    bool ApplicationHidden() const { return appHidden_; }
    // The record handed to the shell.
    const NOTIFYICONDATA& IconData() const { return data_; }
    // The window the tray's callback messages go to.
    HWND Handle() const { return window_; }
    // One callback message (the mouse message the tray reported).
    void HandleCallback(UINT mouseMessage);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    static LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT ApplicationWindowProc(HWND, UINT, WPARAM, LPARAM);
    void ApplicationMessage(UINT msg, WPARAM wParam);
    bool AddIcon();
    void ModifyIcon();
    void RemoveIcon();
    void FillRecord();
    void Timer(UINT_PTR id);
    void PopupAtCursor();
    void StartAnimation();
    void CurrentPicture(TIcon& out) const;

    TIcon icon_;
    bool iconVisible_ = true;
    AnsiString hint_;
    bool showHint_ = true;
    TbsSkinPopupMenu* popupMenu_ = nullptr;
    TImageList* iconList_ = nullptr;
    int iconIndex_ = 0;
    bool cycleIcons_ = false;
    unsigned animateInterval_ = 0;

    HWND window_ = nullptr;
    NOTIFYICONDATA data_;
    TIcon shownPicture_;
    bool iconShown_ = false;
    bool appHidden_ = false;
    UINT taskbarCreated_ = 0;
    bool clickPending_ = false;
    bool buttonUp_ = false;
    bool minimizedOnStartDone_ = false;
};
