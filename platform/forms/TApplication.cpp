// TApplication: the message loop with its OnMessage filter, the default
// error report, minimising and restoring the whole program, deferred freeing
// of forms, and the hint that follows the pointer.

#include <algorithm>
#include <cstdio>
#include <cerrno>

#include "Forms.h"
#include "HintWindow.h"
#include "MessageBox.h"
#include "WindowSystem.h"

TApplication* Application = nullptr;

namespace {
constexpr const char* kAppClass = "TApplication";
constexpr UINT_PTR kHintTimerId = 1;

TRect WorkAreaAt(TPoint p) {
    MONITORINFO info;
    if (GetMonitorInfo(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), info)) return info.rcWork;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
}  // namespace

AnsiString GetShortHint(const AnsiString& hint) {
    const auto bar = hint.find('|');
    return bar == AnsiString::npos ? hint : hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& hint) {
    const auto bar = hint.find('|');
    return bar == AnsiString::npos ? hint : hint.substr(bar + 1);
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
    title_ = program_invocation_short_name ? program_invocation_short_name : "";
    hintFactory_ = [] { return CreateUnowned<THintWindow>(); };
    // The forms without an icon of their own show the application's.
    icon_.OnChange = [] {
        if (Screen)
            for (int i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->UpdateDesktopIcons();
    };
    if (!WindowSystemRunning()) return;
    WNDCLASS existing;
    if (!GetClassInfo(kAppClass, existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = &TApplication::AppWindowProc;
        wc.lpszClassName = kAppClass;
        RegisterClass(wc);
    }
    handle_ = CreateWindowEx(WS_EX_TOOLWINDOW, kAppClass, title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr);
}

TApplication::~TApplication() {
    NotifyDestroying();
    StopHintTimer();
    hintWindow_.reset();
    // The forms go while the application object is still whole.
    DestroyComponents();
    if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
    if (Application == this) Application = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == mainForm_) mainForm_ = nullptr;
    if (AComponent == mouseControl_) mouseControl_ = nullptr;
    if (AComponent == modeControl_) modeControl_ = nullptr;
    if (AComponent == hintControl_) {
        hintControl_ = nullptr;
        HideHint();
    }
}

void TApplication::SetTitle(const AnsiString& value) {
    title_ = value;
    if (handle_) SetWindowText(handle_, value);
}

void TApplication::SetMainForm(TCustomForm* form) {
    if (mainForm_ == form) return;
    mainForm_ = form;
    if (form) form->FreeNotification(this);
}

LRESULT TApplication::AppWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TApplication* app = Application;
    if (!app || app->handle_ != hwnd) return DefWindowProc(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_TIMER:
        if (wParam == kHintTimerId) app->Guard(app, [app] { app->HintTimerExpired(); });
        return 0;
    case CM_RELEASE: {
        auto* form = FromLParam<TCustomForm>(lParam);
        // Only a form that still exists is freed (it may have gone meanwhile).
        bool alive = false;
        if (Screen)
            for (int i = 0; i < Screen->FormCount(); ++i) alive = alive || Screen->Forms(i) == form;
        if (!alive) return 0;
        if (form->Owner()) FreeComponent(form);
        else form->Hide();
        return 0;
    }
    case WM_CLOSE:
        if (app->mainForm_) app->mainForm_->Close();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            app->Guard(app, [app] { app->Minimize(); });
            return 0;
        case SC_RESTORE:
            app->Guard(app, [app] { app->Restore(); });
            return 0;
        default:
            return DefWindowProc(hwnd, msg, wParam, lParam);
        }
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void TApplication::QueueRelease(TCustomForm* form) {
    if (handle_) PostMessage(handle_, CM_RELEASE, 0, ToLParam(form));
}

// ---- the loop --------------------------------------------------------------------------------

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (RunMessageFilters(msg)) return true;
    TranslateMessage(msg);
    Guard(this, [&] { DispatchMessage(msg); });
    return true;
}

bool TApplication::RunMessageFilters(MSG& msg) {
    bool handled = false;
    // Newest hook first; the list may change while a hook runs, so each
    // is looked up again and a removed one is skipped.
    std::vector<int> ids;
    for (const MessageHook& h : messageHooks_) ids.push_back(h.id);
    for (auto it = ids.rbegin(); it != ids.rend() && !handled; ++it) {
        auto found = std::find_if(messageHooks_.begin(), messageHooks_.end(),
                                  [id = *it](const MessageHook& h) { return h.id == id; });
        if (found == messageHooks_.end()) continue;
        const std::shared_ptr<TMessageEvent> handler = found->handler;  // alive while it runs
        Guard(this, [&] { (*handler)(msg, handled); });
    }
    if (!handled && OnMessage) {
        const TMessageEvent filter = OnMessage;  // it may replace itself
        Guard(this, [&] { filter(msg, handled); });
    }
    return handled;
}

namespace {
int g_nextMessageHookId = 0;
}

int TApplication::AddMessageHook(TMessageEvent handler) {
    if (!handler) return 0;
    const int id = ++g_nextMessageHookId;
    messageHooks_.push_back({id, std::make_shared<TMessageEvent>(std::move(handler))});
    return id;
}

void TApplication::RemoveMessageHook(int id) {
    std::erase_if(messageHooks_, [id](const MessageHook& h) { return h.id == id; });
}

TMessageHook::TMessageHook(TMessageHook&& other) noexcept : app_(other.app_), id_(other.id_) {
    other.app_ = nullptr;
    other.id_ = 0;
}

TMessageHook& TMessageHook::operator=(TMessageHook&& other) noexcept {
    if (this != &other) {
        Unhook();
        app_ = other.app_;
        id_ = other.id_;
        other.app_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

void TMessageHook::Hook(TMessageEvent handler) {
    Unhook();
    if (!Application || !handler) return;
    app_ = Application;
    id_ = app_->AddMessageHook(std::move(handler));
}

void TMessageHook::Unhook() {
    // The application may be gone already; its hooks went with it.
    if (id_ && app_ && app_ == Application) app_->RemoveMessageHook(id_);
    app_ = nullptr;
    id_ = 0;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
    PresentChanges();
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle) Guard(this, [&] { OnIdle(this, done); });
    if (done && !terminated_) WaitMessage();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run() {
    if (mainForm_ && ShowMainForm) Guard(mainForm_, [this] {
            if (mainForm_->WindowState() == wsMinimized) Minimize();
            mainForm_->Show();
        });
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

// ---- minimise and restore -------------------------------------------------------------------

void TApplication::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    CancelHint();
    hiddenByMinimize_.clear();
    const HWND mainWindow = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
    if (Screen)
        for (TCustomForm* f : Screen->FormsInZOrder())
            if (f->HandleAllocated() && IsWindowVisible(f->Handle())) hiddenByMinimize_.push_back(f->Handle());
    // The other forms go out of sight first, so that activation does not
    // wander through them; the main form goes to its minimised state (the
    // desktop keeps it in its window list).
    for (HWND h : hiddenByMinimize_)
        if (h != mainWindow) ShowWindow(h, SW_HIDE);
    if (mainWindow && IsWindow(mainWindow) && IsWindowVisible(mainWindow)) ShowWindow(mainWindow, SW_MINIMIZE);
    // Last, the application's own window: a component watching its WM_SIZE
    // (SIZE_MINIMIZED) finds the forms minimised and may take them further
    // (into the tray). It is never shown on the desktop: it has no size.
    if (handle_ && IsWindow(handle_)) {
        appWindowWasHidden_ = !IsWindowVisible(handle_);
        ShowWindow(handle_, SW_SHOWMINNOACTIVE);
    }
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    if (handle_ && IsWindow(handle_) && IsIconic(handle_)) {
        // WM_SIZE with SIZE_RESTORED tells the watching components.
        ShowWindow(handle_, SW_SHOWNOACTIVATE);
        if (appWindowWasHidden_ && IsWindow(handle_)) ShowWindow(handle_, SW_HIDE);
    }
    const std::vector<HWND> windows = std::move(hiddenByMinimize_);
    hiddenByMinimize_.clear();
    const HWND mainWindow = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
    // The main form comes back first (restored, repainted, active), then the
    // others above it in their old order.
    for (HWND h : windows)
        if (h == mainWindow && IsWindow(h)) ShowWindow(h, SW_RESTORE);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != mainWindow && IsWindow(*it)) ShowWindow(*it, SW_SHOWNA);
    BringToFront();
    if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
    TCustomForm* target = Screen && Screen->ActiveForm() ? Screen->ActiveForm() : mainForm_;
    if (target && target->HandleAllocated() && IsWindowVisible(target->Handle())) {
        HWND h = GetLastActivePopup(target->Handle());
        SetActiveWindow(h ? h : target->Handle());
    }
}

// ---- errors ------------------------------------------------------------------------------------

void TApplication::Guard(TObject* sender, const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        HandleException(sender);
    }
}

void TApplication::HandleException(TObject* Sender) {
    try {
        throw;
    } catch (const Exception& e) {
        HandleException(Sender, e);
    } catch (const std::exception& e) {
        HandleException(Sender, e);
    } catch (...) {
        HandleException(Sender, Exception("Unknown error"));
    }
}

void TApplication::HandleException(TObject* Sender, const std::exception& e) {
    const auto* known = dynamic_cast<const Exception*>(&e);
    const Exception wrapped(known ? known->Message() : AnsiString(e.what()));
    try {
        if (OnException) OnException(Sender, known ? *known : wrapped);
        else ShowException(known ? *known : wrapped);
    } catch (const std::exception& inner) {
        // The report itself failed; nothing is left to show it with.
        std::fprintf(stderr, "%s\n", inner.what());
    }
}

void TApplication::ShowException(const Exception& E) {
    AnsiString text = E.Message();
    // The report ends its sentence, as the platform's does.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    return ::MessageBox(owner, text, caption.empty() ? title_ : caption, flags);
}

// ---- hints ----------------------------------------------------------------------------------------

void TApplication::SetShowHint(bool value) {
    showHint_ = value;
    if (!value) CancelHint();
}

void TApplication::SetHint(const AnsiString& value) {
    if (hint_ == value) return;
    hint_ = value;
    if (OnHint) OnHint(this);
}

void TApplication::SetHintWindowClass(THintWindowFactory factory) {
    HideHint();
    hintFactory_ = factory ? std::move(factory) : THintWindowFactory([] { return CreateUnowned<THintWindow>(); });
    hintWindow_.reset();
}

THintWindow& TApplication::EnsureHintWindow() {
    if (!hintWindow_) hintWindow_ = hintFactory_();
    return *hintWindow_;
}

void TApplication::StartHintTimer(int ms, bool hide) {
    if (!handle_) return;
    hintTimerHides_ = hide;
    hintTimerRunning_ = true;
    SetTimer(handle_, kHintTimerId, UINT(std::max(ms, 1)));
}

void TApplication::StopHintTimer() {
    if (!hintTimerRunning_) return;
    hintTimerRunning_ = false;
    if (handle_) KillTimer(handle_, kHintTimerId);
}

void TApplication::HideHint() {
    if (hintWindow_ && hintWindow_->HintShowing()) hintWindow_->ReleaseHint();
}

void TApplication::CancelHint() {
    StopHintTimer();
    HideHint();
}

namespace {
// The control whose Hint text applies: the control itself or the nearest
// parent that has one.
TControl* HintSource(TControl* c) {
    while (c && c->Hint().empty()) c = c->Parent();
    return c;
}
}  // namespace

void TApplication::UpdateMouseControl() {
    TPoint p;
    GetCursorPos(p);
    NoteMouseControl(FindDragTarget(p, false));
}

void TApplication::SetModeControl(TControl* control) {
    if (control == modeControl_) return;
    TControl* old = modeControl_;
    modeControl_ = control;
    if (control) control->FreeNotification(this);
    if (old) old->Perform(CM_CANCELMODE, 0, ToLParam(control));
}

namespace {
bool Within(TControl* pressed, TControl* holder) {
    for (TControl* c = pressed; c; c = c->Parent())
        if (c == holder) return true;
    return false;
}
}  // namespace

void TApplication::CancelModes(TControl* pressed) {
    TControl* notified = nullptr;
    // The platform's rule: the active control of the pressed control's form.
    if (TCustomForm* form = GetParentForm(pressed); form && form->Active()) {
        TWinControl* active = form->ActiveControl();
        if (active && !Within(pressed, active)) {
            notified = active;
            active->Perform(CM_CANCELMODE, 0, ToLParam(pressed));
        }
    }
    // The declared mode holder, wherever it is.
    if (TControl* holder = modeControl_; holder && holder != notified && !Within(pressed, holder))
        holder->Perform(CM_CANCELMODE, 0, ToLParam(pressed));
}

void TApplication::NoteMouseControl(TControl* actual) {
    // While a control holds the pointer only it may be entered or left.
    TControl* holder = GetCaptureControl();
    TControl* control = holder && actual != holder ? nullptr : actual;
    if (control == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (control) control->FreeNotification(this);
    if (old) old->Perform(CM_MOUSELEAVE, 0, ToLParam(old));
    if (control) control->Perform(CM_MOUSEENTER, 0, ToLParam(control));
    if (mouseControl_ != control) return;  // a handler moved on already

    TControl* source = HintSource(control);
    SetHint(source ? GetLongHint(source->Hint()) : AnsiString());
    const bool wanted = control && showHint_ && control->ShowHint() && source &&
                        !GetShortHint(source->Hint()).empty();
    const bool wasShowing = hintWindow_ && hintWindow_->HintShowing();
    hintControl_ = wanted ? control : nullptr;
    if (wasShowing) HideHint();
    if (!wanted) {
        StopHintTimer();
        return;
    }
    // Moving from one hint to the next shows the next one almost at once.
    StartHintTimer(wasShowing ? HintShortPause : HintPause, false);
}

void TApplication::HintTimerExpired() {
    StopHintTimer();
    if (hintTimerHides_) {
        HideHint();
        return;
    }
    ShowHintNow();
}

void TApplication::ActivateHint(TPoint cursorPos) {
    TControl* control = FindDragTarget(cursorPos, false);
    if (!control) return;
    hintControl_ = control;
    control->FreeNotification(this);
    ShowHintNow();
}

void TApplication::ShowHintNow() {
    TControl* control = hintControl_;
    TControl* source = HintSource(control);
    if (!control || !source || !showHint_) return;
    TPoint cursor;
    GetCursorPos(cursor);
    THintInfo info;
    info.HintControl = control;
    info.HintStr = GetShortHint(source->Hint());
    info.HintPos = {cursor.X, cursor.Y + CursorVisibleHeight(GetCursor())};
    info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = HintColor;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(cursor);
    info.HideTimeout = HintHidePause;
    bool canShow = control->Perform(CM_HINTSHOW, 0, ToLParam(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty()) return;
    THintWindow& window = EnsureHintWindow();
    window.SetColor(info.HintColor);
    TRect r = window.CalcHintRect(info.HintMaxWidth, info.HintStr);
    r = OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    const TRect work = WorkAreaAt(cursor);
    if (r.Right > work.Right) r = OffsetRect(r, work.Right - r.Right, 0);
    if (r.Left < work.Left) r = OffsetRect(r, work.Left - r.Left, 0);
    // No room below the pointer: the hint goes above it.
    if (r.Bottom > work.Bottom) r = OffsetRect(r, 0, cursor.Y - r.Height() - 2 - r.Top);
    if (r.Top < work.Top) r = OffsetRect(r, 0, work.Top - r.Top);
    window.ActivateHint(r, info.HintStr);
    if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, true);
}

// ---- the session ---------------------------------------------------------------------------------------

ApplicationSession::ApplicationSession() {
    screen_ = CreateUnowned<TScreen>();
    Screen = screen_.get();
    application_ = CreateUnowned<TApplication>();
    Application = application_.get();
}

ApplicationSession::~ApplicationSession() {
    application_.reset();
    Application = nullptr;
    screen_.reset();
    Screen = nullptr;
}
