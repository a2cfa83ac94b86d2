#pragma once
// Controls: TControl (geometry, visibility, font and colour, caption, hint,
// cursor, mouse events, the replaceable WindowProc and Perform), TWinControl
// (a window made on demand, child controls, Tab order and focus, key
// events), TGraphicControl (windowless, painted by its parent) and
// TCustomControl (a window with a Canvas and Paint).
//
// Every message a control handles goes through WindowProc, whether it came
// from the window system (windowed controls) or from Perform. WindowProc
// starts out calling WndProc; a component can keep the current value, put
// its own function in its place, and hand on what it does not consume.

#include <functional>
#include <memory>
#include <vector>

#include "Classes.h"
#include "ControlMessages.h"
#include "Geometry.h"
#include "TCanvas.h"
#include "TColor.h"
#include "TFont.h"
#include "Windows.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Cursors, with the platform's numbers; crDefault leaves the choice to the
// window's class.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
// The window system cursor for a TCursor (null for crNone and crDefault).
HCURSOR CursorHandle(TCursor cursor);

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 0x0001,
    csCaptureMouse = 0x0002,
    csClickEvents = 0x0008,
    csFramed = 0x0010,
    csSetCaption = 0x0020,
    csOpaque = 0x0040,
    csDoubleClicks = 0x0080,
    csFixedWidth = 0x0100,
    csFixedHeight = 0x0200,
    csNoStdEvents = 0x0800,
    csReplicatable = 0x4000,
};
using TControlStyle = unsigned;

enum TControlStateFlag : unsigned {
    csLButtonDown = 0x0001,
    csClicked = 0x0002,
    csFocusing = 0x0040,
    csCreating = 0x0080,
    csPaintCopy = 0x0100,
    csAligning = 0x0800,
};
using TControlState = unsigned;

using TWndMethod = std::function<void(TMessage& Message)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Size limits of a control; 0 means no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

// What CreateWnd passes to the window system; CreateParams fills it.
struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    UINT WindowClassStyle = CS_DBLCLKS;
    TColor WindowClassBackground = clNone;
    AnsiString WinClassName;
};

// Key state of the moment as a TShiftState (keys and mouse buttons).
TShiftState KeyboardStateToShiftState();
// Shift state from the MK_ flags of a mouse message plus the Alt key.
TShiftState KeysToShiftState(WPARAM keys);
// Shift state of a key message's lParam plus the Shift and Ctrl keys.
TShiftState KeyDataToShiftState(LPARAM keyData);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- messages ----
    TWndMethod WindowProc;
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    // Where unhandled messages end (for windowed controls: the window's
    // previous procedure).
    virtual void DefaultHandler(TMessage& Message);

    // ---- tree ----
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);

    // ---- geometry (parent client coordinates) ----
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    // The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    // Which parent edges the control keeps its distance to when the parent
    // is resized: akRight alone moves it with the right edge, akLeft and
    // akRight stretch it, neither keeps its centre in proportion (the same
    // for akTop/akBottom). Distances are those of the moment the anchors or
    // the bounds were last set.
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value);
    TSizeConstraints Constraints;

    // ---- state ----
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    // Visible here and in every parent up to a shown top-level window.
    bool IsVisibleOnScreen() const;

    // ---- look ----
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value) { font_.Assign(value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    // ---- text ----
    // Caption and Text are one value; setting it performs WM_SETTEXT, so a
    // replaced WindowProc sees the change, then CM_TEXTCHANGED.
    AnsiString Caption() const { return GetText(); }
    void SetCaption(const AnsiString& value) { SetText(value); }
    AnsiString Text() const { return GetText(); }
    virtual AnsiString GetText() const;
    virtual void SetText(const AnsiString& value);

    // ---- hints and menus ----
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& value) { hint_ = value; }
    // With ParentShowHint the parent's setting counts.
    bool ShowHint() const;
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState ControlState = 0;

    // ---- painting ----
    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    // Invalidate, then Update.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // Raises OnClick (buttons and menus call it for keyboard presses too).
    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void Resize();
    // Called after the bounds changed (before OnResize).
    virtual void BoundsChanged() {}
    // Changes the stored bounds without moving any window.
    void UpdateBoundsRect(const TRect& r);
    // Invalidates this control's area in its parent (windowless controls).
    void InvalidateControl(bool isVisible, bool isOpaque);
    // The font or colour to use when the parent's is inherited.
    void ParentFontChanged();
    void ParentColorChanged();
    // The text kept for the control (windowed controls mirror it in the window).
    AnsiString& StoredText() { return text_; }
    // Changes the Visible flag alone (forms show and hide their windows themselves).
    void SetVisibleFlag(bool value) { visible_ = value; }

    TWinControl* parent_ = nullptr;

private:
    friend class TWinControl;
    // Remembers the bounds and the parent's client size that anchoring
    // measures from (not while the parent itself is placing its children).
    void UpdateAnchorRules();
    struct AnchorRules {
        TRect bounds;
        TSize parentSize;
        bool valid = false;
    };
    AnchorRules anchorRules_;

    void HandleMouse(TMessage& m, TMouseButton button, bool down, bool dbl);
    void FontChanged();

    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool visible_ = true;
    bool enabled_ = true;
    TFont font_;
    bool parentFont_ = true;
    bool inFontChange_ = false;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    TCursor cursor_ = crDefault;
    AnsiString text_;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // ---- the window ----
    // Makes the window (and those of the child controls) when there is none.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // Destroys and makes the window again (children included), keeping
    // state: the focus, and for a top-level window its place, size, show
    // state (normal, minimised, maximised, with the normal place) and its
    // place in the z-order; a shown window is shown again, without taking
    // the activation unless it had it. The new window's WM_NCCALCSIZE
    // decides the new client area.
    void RecreateWnd();
    // A foreign window to sit in when there is no Parent (0: none).
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND value);
    // The control owning a window, or null.
    static TWinControl* FindControl(HWND hwnd);

    // ---- children ----
    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(std::size_t(index)); }
    // The topmost visible child at a client point (disabled ones only with
    // `allowDisabled`, windowed ones only with `allowWinControls`).
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
    bool ContainsControl(const TControl* control) const;
    // Calls Perform on every child until one sets a nonzero Result.
    void Broadcast(TMessage& message);
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Realign() { AlignControls(); }

    // ---- focus and Tab order ----
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // The windowed descendants in Tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next control after `current` in Tab order among this control's
    // descendants; with `checkTabStop` only those with TabStop; `checkParent`
    // keeps to direct children of current's parent.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    // Focuses that next control; false when there was none.
    bool SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    // The window exists and is visible.
    bool Showing() const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void Invalidate() override;
    void Update() override;
    void SetParent(TWinControl* AParent) override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWnd();
    void DestroyHandle();
    // The procedure unhandled messages are passed to (DefWindowProc unless
    // the control sits on another window class).
    WNDPROC DefWndProc = nullptr;

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Paints the window: WM_PAINT's DC, PaintWindow, then windowless children.
    void PaintHandler(TMessage& Message);
    virtual void PaintWindow(HDC DC);
    void PaintControls(HDC DC, TControl* first);
    virtual void AlignControls();
    // Fills the background with Color unless csOpaque.
    virtual void EraseBackground(HDC DC);
    // Keeps the cached DC (Canvas outside painting) from outliving a change.
    virtual void ReleaseCachedDC() {}

    TControl* captureControl_ = nullptr;  // windowless child holding the pointer

private:
    friend class TControl;
    friend TControl* GetCaptureControl();
    friend LRESULT ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    // The control a press in this window's message goes to (this, or a windowless child).
    TControl* PressedControl(const TMessage& m);
    void MainWndProc(TMessage& m);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateShowing();
    // Places the anchored children after a change of the client size.
    void ApplyAnchors();
    void UpdateWindowBounds();
    bool DoKeyMessage(TMessage& m);  // CN_KEYDOWN / CN_SYSKEYDOWN
    bool IsControlMouseMsg(TMessage& m);
    static bool IsMouseMessage(UINT msg);
    void TrackMouseControl(TMessage& m);
    void SetCursorFor(TMessage& m);
    void WMWindowPosChanged(TMessage& m);

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    std::vector<TControl*> controls_;  // z-order: first is bottom
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int alignDisabled_ = 0;
    bool destroyingHandle_ = false;
    bool mouseTracked_ = false;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    // The drawing surface: while painting, the parent's paint DC moved to this
    // control and clipped to it; outside painting, one over the parent.
    TCanvas& Canvas();
    void WndProc(TMessage& Message) override;

protected:
    virtual void Paint() {}

private:
    HDC paintDc_ = nullptr;
    HDC ownDc_ = nullptr;
    HWND ownDcWindow_ = nullptr;
    int ownDcSave_ = 0;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    // While painting, the paint DC; outside painting, a DC over the client
    // area kept until the next paint, size change or window destruction.
    TCanvas& Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    void ReleaseCachedDC() override;

private:
    HDC paintDc_ = nullptr;
    HDC ownDc_ = nullptr;
    HWND ownDcWindow_ = nullptr;
};

// The control holding the pointer: the windowed control whose window has
// the capture, or the windowless child of it that asked for it; null when
// no control has it.
TControl* GetCaptureControl();
// The form a control sits on (the top of its parent chain), or null.
TCustomForm* GetParentForm(const TControl* control);
// The control under a screen point: the deepest windowed control with a
// window there, then its windowless child at the point.
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);
