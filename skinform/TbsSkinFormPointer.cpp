// TbsSkinForm: the pointer over the frame objects (hot, pressed, released),
// the activation look, and the three timers that track the pointer, morph
// objects and play animations.

#include "TbsSkinAnimateObject.h"
#include "TbsSkinButtonObject.h"
#include "TbsSkinCaptionObject.h"
#include "TbsSkinForm.h"
#include "TbsSkinHint.h"

namespace {
bool IsCaption(const TbsActiveSkinObject* o) { return dynamic_cast<const TbsSkinCaptionObject*>(o) != nullptr; }
}  // namespace

void TbsSkinForm::UpdateHotObject(int x, int y, bool track) {
    if (!IsFormActive() || objects_.empty()) return;
    prevHotIndex_ = hotIndex_;
    int hot = -1;
    if (track) {
        for (std::size_t i = 0; i < objects_.size(); ++i) {
            const auto& o = objects_[i];
            if (o->IsEnabled && o->IsVisible && PtInRect(o->ObjectRect, {x, y})) {
                hot = int(i);
                break;
            }
        }
    }
    if (capturedIndex_ != -1 && hot != capturedIndex_) hot = -1;
    hotIndex_ = hot;
    if (hotIndex_ == prevHotIndex_) return;
    if (prevHotIndex_ >= 0 && prevHotIndex_ < int(objects_.size())) {
        TbsActiveSkinObject* previous = objects_[std::size_t(prevHotIndex_)].get();
        if (previous->IsEnabled && previous->IsVisible) previous->MouseLeave();
        if (!previous->HintText.empty()) HideObjectHint();
    }
    if (hotIndex_ >= 0 && hotIndex_ < int(objects_.size())) {
        TbsActiveSkinObject* now = objects_[std::size_t(hotIndex_)].get();
        if (now->IsEnabled && now->IsVisible) {
            now->MouseEnter();
            if (ShowObjectHint && skinHint_ && !now->HintText.empty()) skinHint_->ShowHintText(now->HintText);
        }
    }
}

void TbsSkinForm::HideObjectHint() {
    if (ShowObjectHint && skinHint_) skinHint_->HideHintNow();
}

void TbsSkinForm::PressObject(TMouseButton button, TPoint p) {
    if (hotIndex_ < 0 || hotIndex_ >= int(objects_.size())) return;
    TbsActiveSkinObject* o = objects_[std::size_t(hotIndex_)].get();
    if (!IsCaption(o)) SetCapture(form_->Handle());
    capturedIndex_ = hotIndex_;
    o->MouseDown(p.X, p.Y, button);
}

void TbsSkinForm::ReleaseObject(TMouseButton button, TPoint p) {
    if (capturedIndex_ < 0 || capturedIndex_ >= int(objects_.size())) return;
    TbsActiveSkinObject* o = objects_[std::size_t(capturedIndex_)].get();
    if (!IsCaption(o) && GetCapture() == form_->Handle()) ReleaseCapture();
    capturedIndex_ = -1;
    // The object's command may close the form; nothing of it is used after.
    o->MouseUp(p.X, p.Y, button);
}

void TbsSkinForm::MoveOverObject(TPoint p) {
    const int index = capturedIndex_ != -1 ? capturedIndex_ : hotIndex_;
    if (index >= 0 && index < int(objects_.size())) objects_[std::size_t(index)]->MouseMove(p.X, p.Y);
}

void TbsSkinForm::UpdateActive(bool repaint) {
    const bool active = IsFormActive();
    for (const auto& o : objects_) {
        auto* caption = dynamic_cast<TbsSkinCaptionObject*>(o.get());
        if (!caption || caption->ActiveLook == active) continue;
        caption->SetActive(active, repaint);
        if (repaint) {
            if (caption->CanMorph()) StartMorphTimer();
            RepaintFrame();
        } else if (caption->CanMorph()) {
            caption->MorphFactor = active ? 1 : 0;
        }
        break;
    }
    if (active && OnActivate) OnActivate(this);
    if (!active && OnDeActivate) OnDeActivate(this);
}

// ---- timers ----------------------------------------------------------------------------------------

void TbsSkinForm::StopTimers() {
    mouseTimer_->SetEnabled(false);
    morphTimer_->SetEnabled(false);
    animateTimer_->SetEnabled(false);
}

void TbsSkinForm::StartMorphTimer() {
    if (form_->HandleAllocated()) morphTimer_->SetEnabled(true);
}

void TbsSkinForm::StartAnimateTimer() {
    if (form_->HandleAllocated()) animateTimer_->SetEnabled(true);
}

bool TbsSkinForm::MorphTimerRunning() const { return morphTimer_->Enabled(); }
bool TbsSkinForm::AnimateTimerRunning() const { return animateTimer_->Enabled(); }

void TbsSkinForm::MorphTimerTick() {
    bool moved = false;
    for (const auto& o : objects_) moved = o->MorphStep() || moved;
    if (!moved) morphTimer_->SetEnabled(false);
}

void TbsSkinForm::AnimateTimerTick() {
    bool moved = false;
    for (const auto& o : objects_) {
        if (auto* caption = dynamic_cast<TbsSkinCaptionObject*>(o.get())) moved = caption->AnimationStep() || moved;
        else if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(o.get())) moved = animate->AnimationStep() || moved;
    }
    if (!moved) animateTimer_->SetEnabled(false);
}

void TbsSkinForm::MouseTimerTick() {
    if (!IsFormActive()) return;
    if (inSizeMove_) {
        mouseTimer_->SetEnabled(false);
        return;
    }
    TPoint cursor;
    if (!GetCursorPos(cursor)) return;
    const TPoint p = ToWindowPoint(cursor);
    const TRect client = usesSkin_ ? layout_.FrameClientRect
                                   : TRect{3, DefaultCaptionHeight() + 3, frameWidth_ - 3, frameHeight_ - 3};
    if (!PtInRect(client, p)) UpdateHotObject(p.X, p.Y);
    else if (hotIndex_ != -1) UpdateHotObject(-1, -1);
}
