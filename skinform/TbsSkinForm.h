#pragma once
// The skinned frame component. Dropped on a form, it takes over the form's
// window frame: it decides the frame's thickness (WM_NCCALCSIZE), paints it
// from the skin's frame pictures or, without a skin, as a plain built-in
// frame (WM_NCPAINT), cuts the window to the skin's mask (SetWindowRgn),
// answers hit tests for caption, resize borders and frame objects
// (WM_NCHITTEST), paints the client background (WM_ERASEBKGND), and keeps
// the caption and caption buttons as live frame objects.
//
// It sits in front of the form's window procedure: every message of the form
// reaches it first and is handed on unless it consumes it. Skin changes
// reach it as the skin data's messages; it passes them on to the skinned
// controls of its form through their SkinBinding.

#include <memory>
#include <optional>
#include <vector>

#include "ExtCtrls.h"
#include "Menus.h"
#include "Forms.h"
#include "SkinFormTypes.h"
#include "SkinFrameLayout.h"
#include "SkinFrameParts.h"
#include "SkinMagneticEdges.h"
#include "TRegion.h"
#include "TbsActiveSkinObject.h"

class TbsSkinData;
class TbsSkinMenu;
class TbsSkinPopupMenu;
class TbsTrayIcon;
class TbsSkinHint;
class TbsSkinStdButtonObject;

class TbsSkinForm : public TComponent {
public:
    // `AOwner` must be a form (EInvalidCast otherwise).
    explicit TbsSkinForm(TComponent* AOwner);
    ~TbsSkinForm() override;

    // ---- published properties ----
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* MenusSkinData() const { return menusSkinData_; }
    void SetMenusSkinData(TbsSkinData* value);
    TbsBorderIcons BorderIcons() const { return borderIcons_; }
    // At run time the button states follow at once.
    void SetBorderIcons(TbsBorderIcons value);
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    bool Magnetic = false;
    BYTE MagneticSize = 5;
    bool AlwaysResize = false;
    int ClientWidth = 0;
    int ClientHeight = 0;
    bool HideCaptionButtons = false;
    bool ShowIcon = false;
    TFont DefCaptionFont;
    TFont DefInActiveCaptionFont;
    TBitmap LogoBitMap;
    bool LogoBitMapTransparent = false;
    bool UseFormCursorInNCArea = false;
    TbsPositionInMonitor PositionInMonitor = bspDefault;
    bool MaximizeOnFullScreen = false;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    BYTE AlphaBlendValue = 200;
    // At run time: the window's opacity follows at once.
    void SetAlphaBlend(bool value);
    void SetAlphaBlendValue(BYTE value);
    // Shows the frame objects' hints when ShowObjectHint is set.
    TbsSkinHint* SkinHint() const { return skinHint_; }
    void SetSkinHint(TbsSkinHint* value);
    bool ShowObjectHint = false;
    bool UseDefaultObjectHint = true;
    TPopupMenu* SystemMenu() const { return systemMenu_; }
    void SetSystemMenu(TPopupMenu* value);
    bool UseDefaultSysMenu = true;
    bool DisableSystemMenu = false;
    bool MenusAlphaBlend = false;
    bool MenusAlphaBlendAnimation = false;
    BYTE MenusAlphaBlendValue = 200;
    // The menu engine's own settings, read and written straight through to
    // it; a height of 0 or less and a negative item count are ignored.
    int MaxMenuItemsInWindow();
    void SetMaxMenuItemsInWindow(int value);
    int DefMenuItemHeight();
    void SetDefMenuItemHeight(int value);
    TFont& DefMenuItemFont();
    bool UseSkinFontInMenu();
    void SetUseSkinFontInMenu(bool value);
    bool AlwaysShowInTray = false;
    bool AlwaysMinimizeToTray = false;
    TbsTrayIcon* TrayIcon() const { return trayIcon_; }
    // Hides the icon (unless AlwaysShowInTray) and gives it the frame's tray
    // menu and the restore-from-tray double click when it has none.
    void SetTrayIcon(TbsTrayIcon* value);
    // The status bar, main-menu bar and tab bar the frame can serve; this
    // program has none of them, so the references are only kept (and
    // cleared when the control is freed).
    TControl* StatusBar() const { return statusBar_; }
    void SetStatusBar(TControl* value);
    TControl* MainMenuBar() const { return mainMenuBar_; }
    void SetMainMenuBar(TControl* value);
    TControl* MDITabsBar() const { return mdiTabsBar_; }
    void SetMDITabsBar(TControl* value);

    // ---- events ----
    TbsCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnChangeSkinData;
    TNotifyEvent OnBeforeChangeSkinData;
    TNotifyEvent OnAfterChangeSkinData;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeActivate;
    TNotifyEvent OnChangeRollUpState;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnMaximize;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnRestoreFromTray;
    TNotifyEvent OnSkinMenuOpen;
    TNotifyEvent OnSkinMenuClose;
    // Raised by the main-menu bar, which no window of this program has.
    TNotifyEvent OnMainMenuEnter;
    TNotifyEvent OnMainMenuExit;
    // Offered every shortcut of the form before the frame's own keys.
    TShortCutEvent OnShortCut;
    TbsMouseDownEvent OnMouseDownEvent;
    TbsMouseUpEvent OnMouseUpEvent;
    TbsMouseMoveEvent OnMouseMoveEvent;
    TbsMouseEnterEvent OnMouseEnterEvent;
    TbsMouseLeaveEvent OnMouseLeaveEvent;
    TbsPaintEvent OnPaintEvent;
    TbsActivateCustomObjectEvent OnActivateCustomObject;

    // ---- the frame ----
    // Rebuilds objects, geometry and region from the current skin.
    void ApplySkin();
    // Makes the window system ask for the frame size again.
    void Reframe();
    // Switches the frame takeover on or off.
    void SetSkinnable(bool value);
    bool Skinnable() const { return skinnable_; }
    bool UsesSkin() const { return usesSkin_; }
    bool CanResize() const;
    bool IsFormActive() const;
    int MinFrameWidth() const;
    int MinFrameHeight() const;
    int MaxFrameWidth() const;
    int MaxFrameHeight() const;
    int DefaultCaptionHeight() const;
    int DefaultButtonSize() const;
    TPoint ToWindowPoint(TPoint screen) const;
    // Draws one object straight onto the window.
    void PaintObject(TbsActiveSkinObject* object);
    // The frame geometry for FrameWidth x FrameHeight (after ComputeFrameLayout).
    const SkinFrameLayout& Layout() const { return layout_; }
    void ComputeFrameLayout();
    void LayoutObjects();
    void LayoutDefaultButtons();
    void UpdateRegion();
    // ComputeFrameLayout, LayoutObjects and UpdateRegion for the current size.
    void UpdateFrame();
    // Paints the skinned or built-in frame into `dc` (window coordinates), or
    // onto the window when `dc` is null.
    void PaintSkinFrame(HDC dc = nullptr);
    void PaintDefaultFrame(HDC dc = nullptr);
    // Fills the client background into `dc` (client coordinates).
    void PaintClientBackground(HDC dc);
    // Asks the window for a frame repaint (WM_NCPAINT).
    void RepaintFrame();
    int HitTestSkin(TPoint windowPoint) const;
    int HitTestDefault(TPoint windowPoint) const;
    TRect DefaultCaptionRect() const { return defaultCaptionRect_; }
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    const SkinFramePartBitmaps& Masks() const { return masks_; }

    // ---- frame objects ----
    const std::vector<std::unique_ptr<TbsActiveSkinObject>>& ObjectList() const { return objects_; }
    TbsActiveSkinObject* FindObject(const AnsiString& idName) const;
    void UpdateButtonStates();
    void AssignObjectHints();
    void ResetPointerStates();
    int HotIndex() const { return hotIndex_; }
    int CapturedIndex() const { return capturedIndex_; }
    // Hides a frame object's hint (when object hints are shown).
    void HideObjectHint();
    // Pointer routing (points in window coordinates).
    void UpdateHotObject(int x, int y, bool track = true);
    void PressObject(TMouseButton button, TPoint p);
    void ReleaseObject(TMouseButton button, TPoint p);
    void MoveOverObject(TPoint p);
    // Activation look of the caption objects.
    void UpdateActive(bool repaint);
    void StartMorphTimer();
    void StartAnimateTimer();
    // One tick of each timer (the timers call them).
    void MorphTimerTick();
    void AnimateTimerTick();
    void MouseTimerTick();
    bool MorphTimerRunning() const;
    bool AnimateTimerRunning() const;

    // ---- what frame objects ask for ----
    TCustomForm* Form() const { return form_; }
    AnsiString FormCaption() const;
    TWindowState SkinWindowState() const { return skinWindowState_; }
    bool RollUpState() const { return rollUpState_; }
    // The form's icon at the system's small-icon size, taken once.
    HICON SmallIcon();
    void RunObjectCommand(SkinCommand command, TbsActiveSkinObject* source = nullptr);
    void PopupObjectMenu(TbsActiveSkinObject& object);
    // The system menu under an object (released again when the menu closes)
    // or under a screen rectangle.
    void PopupSystemMenuUnder(TbsActiveSkinObject& object);
    void PopupSystemMenuUnder(const TRect& rect);
    // The system menu at a screen point (a right click on the caption).
    void PopupSystemMenuAt(int x, int y);
    // A skinned menu popped from the frame is showing; the application's key
    // presses and wheel turns are kept for it meanwhile.
    bool SkinMenuOpen() const { return skinMenuOpen_; }
    // Ends the menu state: the opener object is released, the message filter
    // taken off, OnSkinMenuClose raised.
    void ResetMenuState();
    // The menu engine that shows this form's skinned menus (made when first
    // needed), with the form's menu settings applied.
    TbsSkinMenu& SkinMenu();
    // The system menu's items for the current state (built-in captions, or the
    // skin's texts when it has a text table): the frame's own menu, or the
    // user's SystemMenu with the standard items put in (UseDefaultSysMenu).
    TMenuItem* GetSystemMenuItems();
    void CloseForm();

    // ---- window states ----
    void SetSkinWindowState(TWindowState state);
    // The window rectangle before minimising or maximising; empty when none.
    const TRect& NormalBounds() const { return normalBounds_; }
    // True until the window was first centred on its monitor (or that was
    // not wanted).
    bool FirstPlacementPending = true;
    // Centres the window on its monitor as PositionInMonitor says.
    void PlaceInMonitor();
    const MagneticState& Magnet() const { return magnetic_; }
    void RollUp(bool value);
    // Into the tray and back; nothing without a TrayIcon.
    void MinimizeToTray();
    void RestoreFromTray();
    // "还原" and "关闭" for the tray icon (made when first needed).
    TbsSkinPopupMenu* TrayMenu();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void NewWndProc(TMessage& m);
    // The form's OnShortCut: the user's handler, then Alt+Space.
    void FormShortCut(TWMKey& key, bool& handled);
    // Handles a message of the table; true when it is consumed.
    bool HandleMessage(TMessage& m);
    void CallOldWndProc(TMessage& m) { oldWndProc_(m); }
    void FreeObjects();
    void CreateObjects();
    void CreateDefaultButtons();
    void StopTimers();
    void TakeFrameSize();
    bool Bordered() const;
    void CorrectSize();
    void NcCalcSize(TMessage& m);
    void DrawStrips(TCanvas& target);
    void LayoutButtonRow();
    void SkinChangeMessage(TMessage& m);
    void MenuClosed();
    enum class SystemMenuItemKind { Minimize, Maximize, Restore, RollUp, MinimizeToTray, Close };
    std::unique_ptr<TMenuItem> MakeSystemMenuItem(SystemMenuItemKind kind);
    bool SystemMenuItemPresent(SystemMenuItemKind kind) const;
    void PopupSystemMenu(const TRect& anchor, TNotifyEvent onClose);
    void EnterMenuState();
    void MenuStateFilter(MSG& msg, bool& handled);
    void CaptionDoubleClick();
    void DoMaximize();
    void DoRestore();
    void DoMinimize();
    bool MinimizedSlotTaken(TPoint slot) const;
    void ShowWindowMessage(bool shown);
    void FadeIn();
    void MovingProposal(TRect& proposed);
    void PaintFrameInto(HDC dc);

    TCustomForm* form_;
    TWndMethod oldWndProc_;
    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* menusSkinData_ = nullptr;
    TbsBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize | biRollUp;
    bool skinnable_ = true;
    bool usesSkin_ = false;
    bool changing_ = false;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    SkinFrameLayout layout_;
    TRect defaultCaptionRect_;
    SkinFramePartBitmaps masks_;
    bool holdsRegion_ = false;
    std::vector<std::unique_ptr<TbsActiveSkinObject>> objects_;
    int hotIndex_ = -1;
    int prevHotIndex_ = -1;
    int capturedIndex_ = -1;
    bool inSizeMove_ = false;
    // Counts move/size loops, so a press can tell that it started one.
    unsigned sizeMoveCount_ = 0;
    bool dragFullWindows_ = false;
    bool formActive_ = false;
    TWindowState skinWindowState_ = wsNormal;
    bool rollUpState_ = false;
    bool maxRollUpState_ = false;
    bool rollUpBeforeMax_ = false;
    int restoreHeight_ = 0;
    TRect normalBounds_;
    MagneticState magnetic_;
    TTimer* mouseTimer_ = nullptr;
    TTimer* morphTimer_ = nullptr;
    TTimer* animateTimer_ = nullptr;
    TIcon smallIcon_;
    bool smallIconTaken_ = false;
    TPopupMenu* defaultSystemMenu_ = nullptr;
    TbsSkinMenu* skinMenu_ = nullptr;
    bool skinMenuOpen_ = false;
    TMessageHook menuHook_;
    TbsTrayIcon* trayIcon_ = nullptr;
    TbsSkinPopupMenu* trayMenu_ = nullptr;
    TbsSkinHint* skinHint_ = nullptr;
    TPopupMenu* systemMenu_ = nullptr;
    TControl* statusBar_ = nullptr;
    TControl* mainMenuBar_ = nullptr;
    TControl* mdiTabsBar_ = nullptr;
};

// The frame component on `form`, or null.
TbsSkinForm* FindSkinFormOf(TCustomForm* form);
