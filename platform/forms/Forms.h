#pragma once
// Forms, the application object and the screen: TCustomForm / TForm,
// TApplication with its message loop, error report and hints, TScreen with
// the forms in z-order and the monitors, and the two globals Application
// and Screen that an ApplicationSession sets up.

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "Controls.h"
#include "Exceptions.h"
#include "TIcon.h"

class THintWindow;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TCustomControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    TIcon& Icon() { return icon_; }
    bool KeyPreview = false;
    // Stored for the frame component, which turns them off.
    bool AutoSize = false;
    bool AutoScroll = false;

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Whether this form's window is the active window.
    bool Active() const { return active_; }

    // Sizes the window so that the client area gets that size. Before the
    // window exists the size is kept and applied when it is made, with the
    // frame its WM_NCCALCSIZE answer gives then (a frame component may draw
    // a frame of its own size); a later change of the width or height
    // replaces the kept value.
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;
    TRect ClientRect() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    bool Modal() const { return modal_; }
    // The window this form stays above (set before its window is made; a
    // modal form takes the active window when none is given).
    void SetPopupParentWindow(HWND owner) { modalOwner_ = owner; }
    // Shows the form, disables the other forms, runs the message loop until
    // ModalResult is set (Close sets mrCancel) and returns it.
    TModalResult ShowModal();
    // Asks OnCloseQuery, then OnClose decides: hide, free, minimise or stay.
    // Closing the main form ends the application.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages now being handled are done.
    void Release();
    void SetVisible(bool value) override;
    void BringToFront();
    // Offers a key to OnShortCut (then the popup menus' shortcuts).
    virtual bool IsShortCut(TWMKey& Message);
    // Makes `control` the active control and focuses its window.
    void FocusControl(TWinControl* control);
    // Called by a control of this form that got the keyboard focus. Every
    // change is announced through the form's WindowProc as CM_FOCUSCHANGED
    // (lParam: the control now focused, the form itself when it holds the
    // focus), which the form passes on to all its controls.
    void SetFocusedControl(TWinControl* control);
    void WndProc(TMessage& Message) override;
    // Gives the window the icons the desktop shows for it: the form's Icon,
    // or the application's while the form has none.
    void UpdateDesktopIcons();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TShortCutEvent OnShortCut;
    TNotifyEvent OnPaint;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void PlaceOnFirstShow();
    void ApplyConstraints(MINMAXINFO& info) const;
    // Frame thickness on each side (left, top, right, bottom).
    TRect FrameInsets() const;

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    TIcon icon_;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    bool active_ = false;
    bool modal_ = false;
    bool placed_ = false;
    bool shownOnce_ = false;
    TModalResult modalResult_ = mrNone;
    HWND modalOwner_ = nullptr;
    // A client size asked for before the window existed (-1: none).
    int pendingClientWidth_ = -1;
    int pendingClientHeight_ = -1;
    bool settingClientSize_ = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// ---------------------------------------------------------------------------

struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;           // screen position of the hint window
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;         // client coordinates of HintControl
    TPoint CursorPos;         // client coordinates of HintControl
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    AnsiString HintStr;
};

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = std::function<void(AnsiString& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using THintWindowFactory = std::function<TComponentPtr<THintWindow>()>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

// The part of a hint before "|" (the whole hint when there is none).
AnsiString GetShortHint(const AnsiString& hint);
AnsiString GetLongHint(const AnsiString& hint);

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& value);
    TIcon& Icon() { return icon_; }
    // The hidden window of the application (timers of the hint, tray use).
    HWND Handle() const { return handle_; }

    TCustomForm* MainForm() const { return mainForm_; }
    // Makes a form owned by the application; the first one becomes MainForm.
    template <class T, class... Args>
    T* CreateForm(Args&&... args) {
        T* form = CreateComponent<T>(this, std::forward<Args>(args)...);
        if (!mainForm_) SetMainForm(form);
        return form;
    }
    bool ShowMainForm = true;

    // Shows the main form and handles messages until Terminate.
    void Run();
    // Handles every waiting message, without waiting.
    void ProcessMessages();
    // Handles one message, waiting for one when none is there.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Minimising hides the other forms, minimises the main form (it stays
    // on the desktop's task bar) and then the application's window, whose
    // WM_SIZE with SIZE_MINIMIZED a component may watch (to go to the tray,
    // say). Restoring undoes it in reverse: the application's window hears
    // SIZE_RESTORED, the main form is restored and repaints, the others come
    // back. WM_SYSCOMMAND with SC_MINIMIZE or SC_RESTORE to the main form or
    // to the application's window does the same.
    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }
    void BringToFront();

    // Inside a catch block: gives the exception to OnException, or shows
    // the default error report, and returns so that the loop goes on.
    void HandleException(TObject* Sender);
    void HandleException(TObject* Sender, const std::exception& e);
    // The default error report: a message box with the text, captioned
    // with the title.
    void ShowException(const Exception& E);
    // A plain modal message box (MB_ flags), captioned with the title when
    // `caption` is empty; returns the ID of the pressed button.
    int MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags);

    // ---- hints ----
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    TColor HintColor = clInfoBk;
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& value);
    void CancelHint();
    void HideHint();
    // Shows the hint of the control under a screen point at once.
    void ActivateHint(TPoint cursorPos);
    // The class of the hint window; setting it rebuilds the window.
    void SetHintWindowClass(THintWindowFactory factory);
    THintWindow* HintWindow() const { return hintWindow_.get(); }
    // The control the pointer is over (windowed or windowless) as the
    // controls have heard it, or null.
    TControl* MouseControl() const { return mouseControl_; }
    // Called by the controls as the pointer moves over them (null: left).
    // The control the pointer leaves hears CM_MOUSELEAVE, the one it enters
    // CM_MOUSEENTER. While a control holds the pointer (GetCaptureControl)
    // only that control hears them: it is left when the pointer goes off it
    // and entered when the pointer comes back, so a button pressed, dragged
    // off and released knows the release was outside.
    void NoteMouseControl(TControl* control);
    // Finds the control under the pointer again (after the capture ended).
    void UpdateMouseControl();

    // ---- message filters ----
    // OnMessage sees each message the loop takes from the queue before it is
    // dispatched; setting Handled keeps it. A component that watches the
    // messages for a while (an open menu) adds a hook instead of replacing
    // OnMessage: hooks run newest first, then OnMessage, and the first that
    // sets Handled ends the round. Removing a hook, in any order and even
    // from inside a hook, leaves the others and OnMessage as they were.
    // TMessageHook does both for a scope. Ids are never reused.
    int AddMessageHook(TMessageEvent handler);
    void RemoveMessageHook(int id);

    // ---- modes ----
    // A control that holds a mode until the user presses somewhere else (an
    // open drop-down list, a tracking popup) declares itself the mode
    // control. A mouse press anywhere in the application outside it (on
    // another control, on a form's frame, on another form) sends it
    // CM_CANCELMODE with lParam the control pressed (null when the press was
    // on no control); the control ends its mode and clears the declaration
    // with SetModeControl(nullptr). Presses on the control or its children
    // are its own business and send nothing; a press on a window that
    // belongs to the mode but lies outside the control (its drop-down list)
    // does arrive, and the control tells it by lParam and stays.
    // Declaring another control first sends the previous one CM_CANCELMODE
    // with the new one as lParam. Independently, as the platform does, the
    // active control of the pressed control's active form hears
    // CM_CANCELMODE for presses outside it.
    TControl* ModeControl() const { return modeControl_; }
    void SetModeControl(TControl* control);
    // Called by the controls for every mouse press, before they handle it.
    void CancelModes(TControl* pressed);

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;

    void SetMainForm(TCustomForm* form);
    // Runs `work` and reports what it throws (used by the window procedures
    // and timers, so that no error leaves a handler).
    void Guard(TObject* sender, const std::function<void()>& work);
    // Forms the modal loop disabled are counted here.
    int ModalLevel() const { return modalLevel_; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    bool ProcessMessage(MSG& msg);
    // Frees the form after the current message (a form asking to be freed
    // is still on the call stack).
    void QueueRelease(TCustomForm* form);
    void Idle();
    void HintTimerExpired();
    void StartHintTimer(int ms, bool hide);
    void StopHintTimer();
    void ShowHintNow();
    THintWindow& EnsureHintWindow();
    bool RunMessageFilters(MSG& msg);
    static LRESULT AppWindowProc(HWND, UINT, WPARAM, LPARAM);

    AnsiString title_;
    TIcon icon_;
    HWND handle_ = nullptr;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool minimized_ = false;
    bool appWindowWasHidden_ = false;
    std::vector<HWND> hiddenByMinimize_;
    struct MessageHook {
        int id;
        std::shared_ptr<TMessageEvent> handler;
    };
    std::vector<MessageHook> messageHooks_;  // oldest first
    TControl* modeControl_ = nullptr;
    int modalLevel_ = 0;
    bool handlingException_ = false;

    bool showHint_ = true;
    AnsiString hint_;
    TComponentPtr<THintWindow> hintWindow_;
    THintWindowFactory hintFactory_;
    TControl* mouseControl_ = nullptr;
    TControl* hintControl_ = nullptr;
    bool hintTimerHides_ = false;
    bool hintTimerRunning_ = false;
};

// Hooks the application's message filter chain (TApplication::AddMessageHook)
// for the object's lifetime or until Unhook; does nothing without an
// application. Move-only.
class TMessageHook {
public:
    TMessageHook() = default;
    explicit TMessageHook(TMessageEvent handler) { Hook(std::move(handler)); }
    ~TMessageHook() { Unhook(); }
    TMessageHook(TMessageHook&& other) noexcept;
    TMessageHook& operator=(TMessageHook&& other) noexcept;
    TMessageHook(const TMessageHook&) = delete;
    TMessageHook& operator=(const TMessageHook&) = delete;

    // Replaces an earlier hook of this object.
    void Hook(TMessageEvent handler);
    void Unhook();
    bool Hooked() const { return id_ != 0; }

private:
    TApplication* app_ = nullptr;
    int id_ = 0;
};

// ---------------------------------------------------------------------------

struct TMonitor {
    HMONITOR Handle = nullptr;
    int MonitorNum = 0;
    TRect BoundsRect;
    TRect WorkareaRect;
    bool Primary = false;
    int Left() const { return BoundsRect.Left; }
    int Top() const { return BoundsRect.Top; }
    int Width() const { return BoundsRect.Width(); }
    int Height() const { return BoundsRect.Height(); }
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The forms, topmost window first; forms without a window follow in the
    // order they were made.
    int FormCount() const;
    TCustomForm* Forms(int index) const;
    std::vector<TCustomForm*> FormsInZOrder() const;
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }

    // Any value but crDefault overrides every control's cursor.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    int Width() const;
    int Height() const;
    TRect DesktopRect() const;
    // The primary monitor's work area.
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int MonitorCount() const;
    TMonitor Monitors(int index) const;
    TMonitor MonitorFromWindow(HWND hwnd) const;
    TMonitor MonitorFromPoint(TPoint p) const;
    TMonitor MonitorFromRect(const TRect& r) const;

    TFont HintFont;
    TFont MenuFont;

    // Sends a message synchronously through the forms' WindowProc: first to
    // `first` (when not null), then to every other form in z-order. A form
    // freed while the message travels is skipped.
    void SendToForms(TCustomForm* first, UINT msg, WPARAM wParam, LPARAM lParam);

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);
    void SetActiveControl(TWinControl* control);

    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TCursor cursor_ = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

// Makes Application and Screen for its lifetime (inside a running window
// system) and frees them, with every form, at its end.
class ApplicationSession {
public:
    ApplicationSession();
    ~ApplicationSession();
    ApplicationSession(const ApplicationSession&) = delete;
    ApplicationSession& operator=(const ApplicationSession&) = delete;

private:
    TComponentPtr<TApplication> application_;
    TComponentPtr<TScreen> screen_;
};
