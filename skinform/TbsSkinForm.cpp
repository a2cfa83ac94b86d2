// TbsSkinForm: construction and attaching to the form, the properties, skin
// application, the frame size and its limits, and the frame objects' states
// and hints.

#include "TbsSkinForm.h"

#include <algorithm>

#include "SkinBinding.h"
#include "SkinGeometry.h"
#include "SkinObjectCommands.h"
#include "SkinPlatform.h"
#include "TbsSkinAnimateObject.h"
#include "TbsSkinButtonObject.h"
#include "TbsSkinCaptionObject.h"
#include "TbsSkinData.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinHint.h"
#include "TbsSkinStdButtonObject.h"
#include "TbsTrayIcon.h"
#include "TbsUserObject.h"

namespace {
TCustomForm* OwnerForm(TComponent* owner) {
    auto* form = dynamic_cast<TCustomForm*>(owner);
    if (!form) throw EInvalidCast("Invalid class typecast");
    return form;
}

void SetUpCaptionFont(TFont& font, TColor color) {
    font.SetName("Arial");
    font.SetHeight(14);
    font.SetStyle(fsBold);
    font.SetColor(color);
}
}  // namespace

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner), form_(OwnerForm(AOwner)) {
    SetUpCaptionFont(DefCaptionFont, clBtnText);
    SetUpCaptionFont(DefInActiveCaptionFont, clBtnShadow);
    const auto makeTimer = [this](unsigned interval, void (TbsSkinForm::*tick)()) {
        TTimer* timer = CreateComponent<TTimer>(this);
        timer->SetEnabled(false);
        timer->SetInterval(interval);
        timer->OnTimer = [this, tick](TObject*) { (this->*tick)(); };
        return timer;
    };
    mouseTimer_ = makeTimer(50, &TbsSkinForm::MouseTimerTick);
    morphTimer_ = makeTimer(25, &TbsSkinForm::MorphTimerTick);
    animateTimer_ = makeTimer(25, &TbsSkinForm::AnimateTimerTick);

    form_->SetBorderIcons(0);
    form_->AutoSize = false;
    form_->AutoScroll = false;
    form_->OnShortCut = [this](TWMKey& key, bool& handled) { FormShortCut(key, handled); };
    if (Designing()) return;
    // Every message of the form comes here first.
    oldWndProc_ = form_->WindowProc;
    form_->WindowProc = [this](TMessage& m) { NewWndProc(m); };
    if (form_->HandleAllocated()) form_->RecreateWnd();
}

TbsSkinForm::~TbsSkinForm() {
    StopTimers();
    FreeObjects();
    if (oldWndProc_) {
        form_->WindowProc = oldWndProc_;
        if (holdsRegion_ && form_->HandleAllocated()) SetWindowRgn(form_->Handle(), nullptr, FALSE);
    }
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) {
        skinData_ = nullptr;
        // The records the objects were built from go with it.
        FreeObjects();
        usesSkin_ = false;
    }
    if (AComponent == menusSkinData_) menusSkinData_ = nullptr;
    if (AComponent == trayIcon_) trayIcon_ = nullptr;
    if (AComponent == trayMenu_) trayMenu_ = nullptr;
    if (AComponent == skinMenu_) skinMenu_ = nullptr;
    if (AComponent == skinHint_) skinHint_ = nullptr;
    if (AComponent == systemMenu_) systemMenu_ = nullptr;
    if (AComponent == statusBar_) statusBar_ = nullptr;
    if (AComponent == mainMenuBar_) mainMenuBar_ = nullptr;
    if (AComponent == mdiTabsBar_) mdiTabsBar_ = nullptr;
}

void TbsSkinForm::FormShortCut(TWMKey& key, bool& handled) {
    if (OnShortCut) {
        OnShortCut(key, handled);
        if (handled) return;
    }
    // Alt+Space opens the system menu under the frame's system-menu button,
    // and is the frame's key even when there is none.
    if (key.CharCode != VK_SPACE || KeyDataToShiftState(key.KeyData) != ssAlt) return;
    handled = true;
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        auto* b = dynamic_cast<TbsSkinStdButtonObject*>(objects_[i].get());
        if (b && b->command == SkinCommand::SysMenu && b->IsEnabled) {
            PopupSystemMenuUnder(*b);
            return;  // the menu's command may have changed the objects
        }
    }
}

// ---- properties -----------------------------------------------------------------------------

void TbsSkinForm::SetSkinData(TbsSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (skinData_) {
        skinData_->FreeNotification(this);
        skinnable_ = skinData_->SkinnableForm();
    }
    if (!Designing()) ApplySkin();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* value) {
    if (menusSkinData_) menusSkinData_->RemoveFreeNotification(this);
    menusSkinData_ = value;
    if (value) value->FreeNotification(this);
}

namespace {
// Points `slot` at `value`, asking `holder` to hear when it is freed.
template <class T>
void Reference(TComponent* holder, T*& slot, T* value) {
    if (slot == value) return;
    if (slot) slot->RemoveFreeNotification(holder);
    slot = value;
    if (slot) slot->FreeNotification(holder);
}
}  // namespace

void TbsSkinForm::SetSkinHint(TbsSkinHint* value) {
    if (skinHint_ && value != skinHint_) HideObjectHint();
    Reference(this, skinHint_, value);
}
void TbsSkinForm::SetSystemMenu(TPopupMenu* value) { Reference(this, systemMenu_, value); }
void TbsSkinForm::SetStatusBar(TControl* value) { Reference(this, statusBar_, value); }
void TbsSkinForm::SetMainMenuBar(TControl* value) { Reference(this, mainMenuBar_, value); }
void TbsSkinForm::SetMDITabsBar(TControl* value) { Reference(this, mdiTabsBar_, value); }

void TbsSkinForm::SetBorderIcons(TbsBorderIcons value) {
    borderIcons_ = value;
    if (Designing() || Loading()) return;
    UpdateButtonStates();
    RepaintFrame();
}

bool TbsSkinForm::CanResize() const {
    const TFormBorderStyle bs = form_->BorderStyle();
    return AlwaysResize || bs == bsSizeable || bs == bsSizeToolWin;
}

bool TbsSkinForm::Bordered() const { return form_->BorderStyle() != bsNone; }

bool TbsSkinForm::IsFormActive() const {
    return form_->HandleAllocated() && GetActiveWindow() == const_cast<TCustomForm*>(form_)->Handle();
}

int TbsSkinForm::DefaultCaptionHeight() const { return DefaultCaptionHeightFor(form_->BorderStyle()); }
int TbsSkinForm::DefaultButtonSize() const { return DefaultButtonSizeFor(form_->BorderStyle()); }

TPoint TbsSkinForm::ToWindowPoint(TPoint screen) const { return {screen.X - form_->Left(), screen.Y - form_->Top()}; }

AnsiString TbsSkinForm::FormCaption() const { return form_->Caption(); }

void TbsSkinForm::TakeFrameSize() {
    // The window knows its new size before the form's bounds follow it
    // (WM_SIZE comes first).
    if (form_->HandleAllocated()) {
        TRect r;
        GetWindowRect(form_->Handle(), r);
        frameWidth_ = r.Width();
        frameHeight_ = r.Height();
        return;
    }
    frameWidth_ = form_->Width();
    frameHeight_ = form_->Height();
}

// ---- size limits ----------------------------------------------------------------------------

int TbsSkinForm::MinFrameWidth() const {
    if (!usesSkin_) return MinWidth > 0 ? MinWidth : 120;
    const int picW = skinData_->MainBitmap().Width();
    if (picW < MinWidth && skinWindowState_ != wsMinimized) return MinWidth;
    const int formMin = skinData_->FormInfo().formminwidth;
    return formMin > 0 ? formMin : picW;
}

int TbsSkinForm::MinFrameHeight() const {
    const int h = usesSkin_ ? skinData_->MainBitmap().Height() - HeightOf(skinData_->FormInfo().clientrect)
                            : DefaultCaptionHeight() + 6;
    if (h >= MinHeight || rollUpState_ || skinWindowState_ == wsMinimized) return h;
    return MinHeight;
}

namespace {
TRect MonitorArea(HWND window, bool whole) {
    TRect area = GetScreenWorkArea(!whole);
    if (window) GetMonitorWorkArea(window, !whole, area);
    return area;
}
}  // namespace

int TbsSkinForm::MaxFrameWidth() const {
    const HWND h = form_->HandleAllocated() ? const_cast<TCustomForm*>(form_)->Handle() : nullptr;
    int w = MonitorArea(h, MaximizeOnFullScreen).Width();
    if (MaxWidth != 0 && MaxWidth < w) w = MaxWidth;
    return w;
}

int TbsSkinForm::MaxFrameHeight() const {
    const HWND h = form_->HandleAllocated() ? const_cast<TCustomForm*>(form_)->Handle() : nullptr;
    int v = MonitorArea(h, MaximizeOnFullScreen).Height();
    if (MaxHeight != 0 && MaxHeight < v) v = MaxHeight;
    return v;
}

// ---- skin application ---------------------------------------------------------------------------

void TbsSkinForm::FreeObjects() {
    objects_.clear();
    hotIndex_ = prevHotIndex_ = capturedIndex_ = -1;
}

void TbsSkinForm::CreateObjects() {
    FreeObjects();
    for (const auto& record : skinData_->SkinObjects()) {
        const TbsDataSkinObject* r = record.get();
        std::unique_ptr<TbsActiveSkinObject> object;
        // Menu items and the main-menu bar's own records make no frame object.
        if (dynamic_cast<const TbsDataSkinMainMenuBarButton*>(r) || dynamic_cast<const TbsDataSkinMenuItem*>(r) ||
            dynamic_cast<const TbsDataSkinMainMenuItem*>(r))
            continue;
        if (auto* std = dynamic_cast<const TbsDataSkinStdButton*>(r))
            object = std::make_unique<TbsSkinStdButtonObject>(*this, std);
        else if (auto* button = dynamic_cast<const TbsDataSkinButton*>(r))
            object = std::make_unique<TbsSkinButtonObject>(*this, button);
        else if (auto* caption = dynamic_cast<const TbsDataSkinCaption*>(r))
            object = std::make_unique<TbsSkinCaptionObject>(*this, caption);
        else if (auto* animate = dynamic_cast<const TbsDataSkinAnimate*>(r))
            object = std::make_unique<TbsSkinAnimateObject>(*this, animate);
        else if (auto* user = dynamic_cast<const TbsDataUserObject*>(r))
            object = std::make_unique<TbsUserObject>(*this, user);
        if (object) objects_.push_back(std::move(object));
    }
}

void TbsSkinForm::CreateDefaultButtons() {
    const struct {
        SkinCommand command;
        const char* name;
    } buttons[] = {{SkinCommand::Close, "closebutton"},    {SkinCommand::Maximize, "maxbutton"},
                   {SkinCommand::Minimize, "minbutton"},   {SkinCommand::RollUp, "rollupbutton"},
                   {SkinCommand::SysMenu, "sysmenubutton"}, {SkinCommand::MinimizeToTray, "traybutton"}};
    for (const auto& b : buttons) objects_.push_back(std::make_unique<TbsSkinStdButtonObject>(*this, b.command, b.name));
    UpdateButtonStates();
}

void TbsSkinForm::ApplySkin() {
    hotIndex_ = prevHotIndex_ = capturedIndex_ = -1;
    usesSkin_ = skinData_ && !skinData_->IsEmpty();
    changing_ = false;
    if (usesSkin_ && skinnable_) {
        CreateObjects();
        UpdateButtonStates();
    } else {
        FreeObjects();
        TakeFrameSize();
        UpdateRegion();
    }
    if (skinnable_) {
        form_->SetBorderIcons(0);
    } else {
        TBorderIcons icons = 0;
        if (!HideCaptionButtons) icons |= biSystemMenu;
        icons |= borderIcons_ & (biMinimize | biMaximize);
        form_->SetBorderIcons(icons);
    }
    CorrectSize();
    TakeFrameSize();
    if (usesSkin_) UpdateFrame();
    if (form_->HandleAllocated()) {
        form_->Invalidate();
        RepaintFrame();
    }
    UpdateActive(false);
    if (form_->HandleAllocated()) mouseTimer_->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    if (!rollUpState_) {
        if (ClientWidth > 0) form_->SetClientWidth(ClientWidth);
        if (ClientHeight > 0) form_->SetClientHeight(ClientHeight);
    }
}

void TbsSkinForm::CorrectSize() {
    const int minW = MinFrameWidth(), minH = MinFrameHeight();
    const int w = form_->Width(), h = form_->Height();
    if (w < minW && h < minH) form_->SetBounds(form_->Left(), form_->Top(), minW, minH);
    else if (h < minH) form_->SetHeight(minH);
    else if (w < minW) form_->SetWidth(minW);
    else Reframe();
    if (rollUpState_ || skinWindowState_ == wsMinimized) form_->SetHeight(minH);
    if (skinWindowState_ == wsMinimized) form_->SetWidth(minW);
}

void TbsSkinForm::Reframe() {
    if (!form_->HandleAllocated()) return;
    const int w = form_->Width();
    // The frame thickness is asked again when the size changes; a window at
    // its minimum width grows first so that the limits never refuse the step.
    if (w <= MinFrameWidth()) {
        form_->SetWidth(w + 1);
        form_->SetWidth(w);
    } else {
        form_->SetWidth(w - 1);
        form_->SetWidth(w);
    }
}

void TbsSkinForm::SetSkinnable(bool value) {
    if (Designing()) return;
    formActive_ = IsFormActive();
    // A maximised window is set to normal in the old mode and maximised again
    // in the new one, hidden meanwhile so that the switch is not seen.
    const bool wasVisible = form_->Visible();
    bool remaximise = false;
    if (skinnable_ && skinWindowState_ == wsMaximized) {
        form_->Hide();
        SetSkinWindowState(wsNormal);
        remaximise = true;
    } else if (!skinnable_ && form_->WindowState() == wsMaximized) {
        form_->SetWindowState(wsNormal);
        form_->Hide();
        remaximise = true;
    }
    skinnable_ = value;
    ApplySkin();
    ApplySkinToControls(form_, nullptr);
    if (form_->HandleAllocated())
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
    if (!remaximise) return;
    if (skinnable_) SetSkinWindowState(wsMaximized);
    else form_->SetWindowState(wsMaximized);
    if (wasVisible) form_->Show();
}

// ---- object states and hints ------------------------------------------------------------------------

TbsActiveSkinObject* TbsSkinForm::FindObject(const AnsiString& idName) const {
    for (const auto& o : objects_)
        if (o->IDName == idName) return o.get();
    return nullptr;
}

void TbsSkinForm::UpdateButtonStates() {
    for (const auto& o : objects_) {
        auto* std = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
        auto* animate = dynamic_cast<TbsSkinAnimateObject*>(o.get());
        if (!std && !animate) continue;
        if (HideCaptionButtons) {
            o->IsEnabled = false;
            o->IsVisible = !o->skinrectinapicture;
            continue;
        }
        if (animate && !animate->buttonstyle) continue;
        const SkinCommand command = std ? std->command : animate->command;
        switch (command) {
        case SkinCommand::Maximize:
        case SkinCommand::Minimize:
        case SkinCommand::RollUp:
        case SkinCommand::MinimizeToTray:
            o->IsEnabled = (borderIcons_ & CommandInfo(command).enabledBy) != 0;
            o->IsVisible = o->skinrectinapicture ? o->IsEnabled : true;
            break;
        case SkinCommand::SysMenu:
            o->IsEnabled = (borderIcons_ & biSystemMenu) && !DisableSystemMenu;
            o->IsVisible = o->skinrectinapicture ? o->IsEnabled : true;
            break;
        case SkinCommand::Default: {
            bool visible = false;
            if (OnActivateCustomObject) OnActivateCustomObject(o->IDName, visible);
            o->IsVisible = visible;
            break;
        }
        case SkinCommand::Close: break;
        }
    }
    AssignObjectHints();
}

void TbsSkinForm::AssignObjectHints() {
    if (!UseDefaultObjectHint || !skinData_) return;
    const TbsResourceStrData* strings = skinData_->ResourceStrData();
    for (const auto& o : objects_) {
        SkinCommand command;
        if (auto* std = dynamic_cast<TbsSkinStdButtonObject*>(o.get())) command = std->command;
        else if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(o.get())) command = animate->command;
        else continue;
        const SkinCommandInfo& info = CommandInfo(command);
        if (!info.hintKey) continue;
        o->HintText = strings ? strings->LookupString(info.hintKey) : AnsiString(info.fallbackHint);
    }
}

void TbsSkinForm::ResetPointerStates() {
    for (const auto& o : objects_) {
        if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(o.get())) {
            animate->MouseIn = false;
            animate->ActiveLook = false;
            animate->AnimationFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject*>(o.get())) {
            o->ActiveLook = false;
            o->MouseIn = false;
            o->MorphFactor = 0;
        }
    }
}
