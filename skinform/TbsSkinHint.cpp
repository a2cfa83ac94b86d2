#include "TbsSkinHint.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "ImgList.h"
#include "SkinBinding.h"
#include "TbsSkinData.h"
#include "TbsSkinHintWindow.h"

namespace {
// The pause before the next hint while one is showing.
constexpr int kShortHintPause = 100;
}  // namespace

bool SkinHintExtras::HasImage() const { return Images && ImageIndex >= 0 && ImageIndex < Images->Count(); }

TbsSkinHint* ServingSkinHint() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (int i = 0; i < main->ComponentCount(); ++i)
        if (auto* hint = dynamic_cast<TbsSkinHint*>(main->Components(i)); hint && hint->Active()) return hint;
    return nullptr;
}

TbsSkinHint::TbsSkinHint(TComponent* AOwner)
    : TComponent(AOwner), hookTarget_(std::make_shared<TbsSkinHint*>(this)) {
    DefaultFont.SetName("Arial");
    DefaultFont.SetHeight(14);
    hintWindow_ = CreateComponent<TbsSkinHintWindow>(this);
    timer_ = CreateComponent<TTimer>(this);
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject*) { TimerExpired(); };
    if (Designing() || !Application) return;
    Application->SetHintWindowClass([] { return CreateUnowned<TbsSkinHintWindow>(); });
    // Switching the hints off and on drops the window of the old class.
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    HookApplication();
    Application->HintShortPause = kShortHintPause;
}

TbsSkinHint::~TbsSkinHint() {
    *hookTarget_ = nullptr;
    timer_->SetEnabled(false);
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == extras_.Images) extras_.Images = nullptr;
}

void TbsSkinHint::SetSkinData(TbsSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (skinData_) skinData_->FreeNotification(this);
}

void TbsSkinHint::SetActive(bool value) {
    active_ = value;
    if (!value || Designing()) return;
    if (TCustomForm* main = Application ? Application->MainForm() : nullptr) {
        for (int i = 0; i < main->ComponentCount(); ++i)
            if (auto* other = dynamic_cast<TbsSkinHint*>(main->Components(i)); other && other != this)
                other->active_ = false;
    }
    HookApplication();
}

void TbsSkinHint::HookApplication() {
    if (!Application) return;
    Application->OnShowHint = [target = hookTarget_](AnsiString& hintStr, bool& canShow, THintInfo& info) {
        if (*target) (*target)->ShowHintHook(hintStr, canShow, info);
    };
}

void TbsSkinHint::ShowHintHook(AnsiString& hintStr, bool& canShow, THintInfo& info) {
    // The extras go where the hint window looks: the serving component.
    TbsSkinHint* serving = ServingSkinHint();
    SkinHintExtras& extras = serving ? serving->extras_ : extras_;
    TbsSkinHint* keeper = serving ? serving : this;
    extras = {};
    // A plain control's hint shows no title or image of an earlier one.
    if (SkinHintSource* source = SkinHintSourceOf(info.HintControl)) {
        extras.Title = source->HintTitle();
        extras.ImageIndex = source->HintImageIndex();
        extras.Images = source->HintImageList();
        if (extras.Images) extras.Images->FreeNotification(keeper);
    }
    if (OnShowHint) OnShowHint(hintStr, canShow, info);
}

bool TbsSkinHint::HintPending() const { return timer_->Enabled() && !timerHides_; }

void TbsSkinHint::ShowHintText(const AnsiString& text) {
    timer_->SetEnabled(false);
    pendingText_ = text;
    extras_ = {};
    timerHides_ = false;
    timer_->SetInterval(unsigned(std::max(Application ? Application->HintPause : 500, 1)));
    timer_->SetEnabled(true);
}

void TbsSkinHint::TimerExpired() {
    timer_->SetEnabled(false);
    if (timerHides_) {
        HideHintNow();
        return;
    }
    TPoint cursor;
    GetCursorPos(cursor);
    const TPoint at{cursor.X, cursor.Y + CursorVisibleHeight(GetCursor())};
    hintWindow_->ActivateHint(Bounds(at.X, at.Y, 0, 0), pendingText_);
    const int hidePause = Application ? Application->HintHidePause : 2500;
    if (hidePause <= 0) return;
    timerHides_ = true;
    timer_->SetInterval(unsigned(hidePause));
    timer_->SetEnabled(true);
}

void TbsSkinHint::HideHintNow() {
    timer_->SetEnabled(false);
    timerHides_ = false;
    if (hintWindow_->HintShowing()) {
        SetWindowPos(hintWindow_->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
        hintWindow_->ReleaseHint();
        extras_ = {};
    }
}
