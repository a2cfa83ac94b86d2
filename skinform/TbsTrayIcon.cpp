#include "TbsTrayIcon.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Forms.h"
#include "WindowSystem.h"
#include "TbsSkinPopupMenu.h"

namespace {
constexpr const char* kWindowClass = "TbsTrayIconWindow";
constexpr const char* kWindowProp = "TbsTrayIcon";
constexpr UINT_PTR kClickTimer = 1;
constexpr UINT_PTR kAnimateTimer = 2;

// Every tray icon of the program watches the application window through
// one replacement of its procedure, put in with the first icon and taken
// out with the last.
struct ApplicationWatch {
    std::vector<TbsTrayIcon*> icons;
    HWND window = nullptr;
    WNDPROC kept = nullptr;
};
ApplicationWatch& Watch() {
    static ApplicationWatch watch;
    return watch;
}

TPoint CursorPos() {
    TPoint p;
    GetCursorPos(p);
    return p;
}
}  // namespace

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner) : TComponent(AOwner) {}

void TbsTrayIcon::AfterConstruction() {
    TComponent::AfterConstruction();
    if (Designing() || !WindowSystemRunning()) return;
    if (icon_.Empty() && Application) icon_.Assign(Application->Icon());
    WNDCLASS existing;
    if (!GetClassInfo(kWindowClass, existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = &TbsTrayIcon::WindowProc;
        wc.lpszClassName = kWindowClass;
        RegisterClass(wc);
    }
    window_ = CreateWindowEx(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (window_) SetProp(window_, kWindowProp, this);
    taskbarCreated_ = RegisterWindowMessage("TaskbarCreated");
    if (Application && Application->Handle()) {
        ApplicationWatch& w = Watch();
        if (w.icons.empty()) {
            w.window = Application->Handle();
            w.kept = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w.window, GWLP_WNDPROC));
            SetWindowLongPtr(w.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TbsTrayIcon::ApplicationWindowProc));
        }
        w.icons.push_back(this);
    }
    FillRecord();
    if (iconVisible_) AddIcon();
}

TbsTrayIcon::~TbsTrayIcon() {
    ApplicationWatch& w = Watch();
    if (std::erase(w.icons, this) && w.icons.empty()) {
        if (w.window && IsWindow(w.window) &&
            GetWindowLongPtr(w.window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TbsTrayIcon::ApplicationWindowProc))
            SetWindowLongPtr(w.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.kept));
        w = ApplicationWatch{};
    }
    RemoveIcon();
    if (window_ && IsWindow(window_)) {
        RemoveProp(window_, kWindowProp);
        DestroyWindow(window_);
    }
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == popupMenu_) popupMenu_ = nullptr;
    if (AComponent == iconList_) iconList_ = nullptr;
}

// ---- properties --------------------------------------------------------------------------------------

void TbsTrayIcon::SetIcon(const TIcon& icon) {
    icon_.Assign(icon);
    ModifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool value) {
    iconVisible_ = value;
    if (value) AddIcon();
    else RemoveIcon();
}

void TbsTrayIcon::SetHint(const AnsiString& value) {
    hint_ = value;
    ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool value) {
    showHint_ = value;
    ModifyIcon();
}

void TbsTrayIcon::SetPopupMenu(TbsSkinPopupMenu* menu) {
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TbsTrayIcon::SetIconList(TImageList* list) {
    if (iconList_) iconList_->RemoveFreeNotification(this);
    iconList_ = list;
    if (list) list->FreeNotification(this);
    ModifyIcon();
}

void TbsTrayIcon::SetIconIndex(int value) {
    iconIndex_ = value;
    ModifyIcon();
}

void TbsTrayIcon::SetCycleIcons(bool value) {
    cycleIcons_ = value;
    StartAnimation();
}

void TbsTrayIcon::SetAnimateTimerInterval(unsigned ms) {
    animateInterval_ = ms;
    StartAnimation();
}

void TbsTrayIcon::StartAnimation() {
    if (!window_) return;
    KillTimer(window_, kAnimateTimer);
    if (cycleIcons_ && animateInterval_ > 0 && iconList_ && iconList_->Count() > 0)
        SetTimer(window_, kAnimateTimer, animateInterval_);
}

// ---- the record and the shell ------------------------------------------------------------------------

void TbsTrayIcon::CurrentPicture(TIcon& out) const {
    // While cycling, the list's current picture stands for the icon.
    if (cycleIcons_ && iconList_ && iconIndex_ >= 0 && iconIndex_ < iconList_->Count()) {
        TBitmap picture;
        picture.SetSize(iconList_->Width(), iconList_->Height());
        iconList_->Draw(picture.Canvas(), 0, 0, iconIndex_);
        out.Assign(picture);
        return;
    }
    out.Assign(icon_);
}

void TbsTrayIcon::FillRecord() {
    data_ = NOTIFYICONDATA{};
    data_.cbSize = NOTIFYICONDATA_V2_SIZE;
    data_.hWnd = window_;
    data_.uID = kIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    // The shell copies the picture; the record only lends it.
    CurrentPicture(shownPicture_);
    data_.hIcon = shownPicture_.Handle();
    // No picture of its own nor the application's: the standard one.
    if (!data_.hIcon) data_.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    if (showHint_) {
        const std::size_t n = std::min(hint_.size(), sizeof data_.szTip - 1);
        std::memcpy(data_.szTip, hint_.data(), n);
    }
}

bool TbsTrayIcon::AddIcon() {
    if (!window_) return false;
    if (iconShown_) return true;
    FillRecord();
    iconShown_ = Shell_NotifyIcon(NIM_ADD, data_) != FALSE;
    return iconShown_;
}

void TbsTrayIcon::ModifyIcon() {
    if (!iconShown_) return;
    FillRecord();
    Shell_NotifyIcon(NIM_MODIFY, data_);
}

void TbsTrayIcon::RemoveIcon() {
    if (!iconShown_) return;
    iconShown_ = false;
    Shell_NotifyIcon(NIM_DELETE, data_);
}

// ---- to the tray and back ----------------------------------------------------------------------------

bool TbsTrayIcon::HideMainForm() {
    // With no tray to hold the icon the windows stay minimised on the task
    // bar: hiding them would leave nothing to bring them back with.
    if (!AddIcon()) return false;
    if (Screen)
        for (TCustomForm* f : Screen->FormsInZOrder())
            if (f->HandleAllocated() && (IsWindowVisible(f->Handle()) || IsIconic(f->Handle())))
                ShowWindow(f->Handle(), SW_HIDE);
    appHidden_ = true;
    return true;
}

void TbsTrayIcon::ShowMainForm() {
    appHidden_ = false;
    if (!Application) return;
    TCustomForm* main = Application->MainForm();
    if (Application->Minimized()) {
        Application->Restore();
    } else if (main && main->HandleAllocated()) {
        ShowWindow(main->Handle(), SW_RESTORE);
        Application->BringToFront();
    }
}

// ---- messages ----------------------------------------------------------------------------------------

LRESULT TbsTrayIcon::ApplicationWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::vector<TbsTrayIcon*> icons = Watch().icons;
    for (TbsTrayIcon* icon : icons)
        if (std::find(Watch().icons.begin(), Watch().icons.end(), icon) != Watch().icons.end())
            icon->ApplicationMessage(msg, wParam);
    const WNDPROC kept = Watch().kept;
    return kept ? CallWindowProc(kept, hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

void TbsTrayIcon::ApplicationMessage(UINT msg, WPARAM wParam) {
    if (msg == WM_SIZE && wParam == SIZE_MINIMIZED && MinimizeToTray) {
        HideMainForm();
    } else if (taskbarCreated_ && msg == taskbarCreated_) {
        // A new tray (the desktop's panel restarted): every icon must be added again.
        // An application hidden in the tray needs its icon back above all.
        iconShown_ = false;
        if (iconVisible_ || appHidden_) AddIcon();
    } else if (msg == WM_WINDOWPOSCHANGED && MinimizedOnStart && !minimizedOnStartDone_ && Application &&
               Application->MainForm() && Application->MainForm()->FormStyle() == fsMDIForm) {
        minimizedOnStartDone_ = true;
        ShowWindow(Application->Handle(), SW_HIDE);
    }
}

LRESULT TbsTrayIcon::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* icon = static_cast<TbsTrayIcon*>(GetProp(hwnd, kWindowProp));
    if (icon && msg == kCallbackMessage) {
        const auto run = [&] { icon->HandleCallback(UINT(lParam)); };
        if (Application) Application->Guard(icon, run);
        else run();
        return 0;
    }
    if (icon && msg == WM_TIMER) {
        icon->Timer(wParam);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void TbsTrayIcon::Timer(UINT_PTR id) {
    if (id == kClickTimer) {
        KillTimer(window_, kClickTimer);
        // No second press came within the double-click time: a single click.
        const bool click = clickPending_ && buttonUp_;
        clickPending_ = false;
        if (click && OnClick) OnClick(this);
    } else if (id == kAnimateTimer) {
        if (!iconList_ || iconList_->Count() == 0) return;
        int next = (iconIndex_ + 1) % iconList_->Count();
        if (OnCycle) OnCycle(this, next);
        SetIconIndex(std::clamp(next, 0, iconList_->Count() - 1));
    }
}

void TbsTrayIcon::PopupAtCursor() {
    if (!popupMenu_) return;
    if (!popupMenu_->MenuForm()) {
        TCustomForm* form = dynamic_cast<TCustomForm*>(Owner());
        if (!form && Application) form = Application->MainForm();
        popupMenu_->SetMenuForm(form);
    }
    const TPoint p = CursorPos();
    popupMenu_->Popup(p.X, p.Y);
}

void TbsTrayIcon::HandleCallback(UINT mouseMessage) {
    if (!Enabled) return;
    const TPoint p = CursorPos();
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, 0, p.X, p.Y);
        break;
    case WM_LBUTTONDOWN:
        clickPending_ = true;
        buttonUp_ = false;
        SetTimer(window_, kClickTimer, GetDoubleClickTime());
        if (OnMouseDown) OnMouseDown(this, mbLeft, 0, p.X, p.Y);
        if (PopupByLeftButton) PopupAtCursor();
        break;
    case WM_LBUTTONUP:
        buttonUp_ = true;
        if (OnMouseUp) OnMouseUp(this, mbLeft, 0, p.X, p.Y);
        break;
    case WM_LBUTTONDBLCLK:
        clickPending_ = false;
        KillTimer(window_, kClickTimer);
        if (OnDblClick) OnDblClick(this);
        if (popupMenu_ && popupMenu_->AutoPopup && !PopupByLeftButton) {
            TMenuItem* items = popupMenu_->Items();
            for (int i = 0; i < items->Count(); ++i)
                if (items->Items(i)->Default && items->Items(i)->Enabled) {
                    items->Items(i)->Click();
                    break;
                }
        }
        break;
    case WM_RBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbRight, 0, p.X, p.Y);
        break;
    case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbRight, 0, p.X, p.Y);
        if (!PopupByLeftButton) PopupAtCursor();
        break;
    case WM_MBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbMiddle, 0, p.X, p.Y);
        break;
    case WM_MBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbMiddle, 0, p.X, p.Y);
        break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    default:
        break;
    }
}
