// TbsSkinForm: the window states the frame keeps itself (normal, minimised,
// maximised), the slots of minimised secondary windows, and roll-up.

#include <algorithm>

#include "SkinPlatform.h"
#include "TbsSkinAnimateObject.h"
#include "TbsSkinButtonObject.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "SkinWindowPlacement.h"

// ---- window states -----------------------------------------------------------------------------------------

void TbsSkinForm::SetSkinWindowState(TWindowState state) {
    if (!skinnable_) {
        form_->SetWindowState(state);
        return;
    }
    if (state == skinWindowState_) return;
    const bool mainForm = Application && Application->MainForm() == form_;
    if (!(state == wsMinimized && mainForm)) skinWindowState_ = state;
    switch (state) {
    case wsMinimized: DoMinimize(); break;
    case wsMaximized: DoMaximize(); break;
    case wsNormal: DoRestore(); break;
    }
}

namespace {
TRect WorkAreaOf(TCustomForm* form) {
    TRect area = GetScreenWorkArea(true);
    if (form->HandleAllocated()) GetMonitorWorkArea(form->Handle(), true, area);
    return area;
}
}  // namespace

bool TbsSkinForm::MinimizedSlotTaken(TPoint slot) const {
    if (!Screen) return false;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* other = Screen->Forms(i);
        if (other == form_ || (Application && other == Application->MainForm()) || !other->Visible()) continue;
        const TbsSkinForm* frame = FindSkinFormOf(other);
        if (frame && frame->SkinWindowState() == wsMinimized && other->Left() == slot.X && other->Top() == slot.Y)
            return true;
    }
    return false;
}

void TbsSkinForm::DoMinimize() {
    if (Application && Application->MainForm() == form_) {
        Application->Minimize();
    } else {
        if (IsRectEmpty(normalBounds_)) normalBounds_ = form_->BoundsRect();
        const int w = MinFrameWidth(), h = MinFrameHeight();
        const TPoint slot = FindMinimizedSlot(WorkAreaOf(form_), w, h, [this](TPoint p) { return MinimizedSlotTaken(p); });
        form_->SetBounds(slot.X, slot.Y, w, h);
    }
    if (OnMinimize) OnMinimize(this);
}

void TbsSkinForm::PlaceInMonitor() {
    if (PositionInMonitor == bspDefault) return;
    TRect area = GetScreenWorkArea(PositionInMonitor == bspDesktopCenter);
    if (form_->HandleAllocated()) GetMonitorWorkArea(form_->Handle(), PositionInMonitor == bspDesktopCenter, area);
    const TPoint origin = CentreIn(area, form_->Width(), form_->Height());
    form_->SetBounds(origin.X, origin.Y, form_->Width(), form_->Height());
}

void TbsSkinForm::DoMaximize() {
    rollUpBeforeMax_ = rollUpState_;
    if (IsRectEmpty(normalBounds_)) normalBounds_ = form_->BoundsRect();
    const HWND h = form_->HandleAllocated() ? form_->Handle() : nullptr;
    TRect monitor = GetScreenWorkArea(false), work = GetScreenWorkArea(true);
    if (h) {
        GetMonitorWorkArea(h, false, monitor);
        GetMonitorWorkArea(h, true, work);
    }
    TRect target = MaximizeOnFullScreen ? monitor : work;
    // A hidden task bar at the screen's edge must still be reachable.
    if (!MaximizeOnFullScreen && work.Width() == monitor.Width() && work.Height() == monitor.Height() &&
        monitor == GetScreenWorkArea(false))
        target = InflateRect(target, -1, -1);
    form_->SetBoundsRect(target);
    if (OnMaximize) OnMaximize(this);
}

void TbsSkinForm::DoRestore() {
    if (rollUpState_ && !rollUpBeforeMax_ && maxRollUpState_) RollUp(false);
    rollUpBeforeMax_ = false;
    maxRollUpState_ = false;
    const TRect before = form_->BoundsRect();
    if (FirstPlacementPending) {
        // Restored before it was ever shown: the earlier size, placed as the
        // first show would have placed it.
        FirstPlacementPending = false;
        if (!IsRectEmpty(normalBounds_)) form_->SetBounds(form_->Left(), form_->Top(), normalBounds_.Width(), normalBounds_.Height());
        PlaceInMonitor();
    } else if (!IsRectEmpty(normalBounds_)) {
        form_->SetBoundsRect(normalBounds_);
    }
    if (form_->HandleAllocated()) mouseTimer_->SetEnabled(true);
    if (before.Width() == form_->Width() && before.Height() == form_->Height()) Reframe();
    form_->Invalidate();
    normalBounds_ = TRect{};
    if (OnRestore) OnRestore(this);
}

void TbsSkinForm::RollUp(bool value) {
    if (!(borderIcons_ & biRollUp) || skinWindowState_ == wsMinimized) return;
    if (rollUpState_ && skinWindowState_ == wsMaximized && !maxRollUpState_) return;
    if (skinWindowState_ == wsMaximized) maxRollUpState_ = value;
    rollUpState_ = value;
    if (value) {
        restoreHeight_ = form_->Height();
        form_->SetHeight(MinFrameHeight());
    } else if (ClientHeight > 0) {
        form_->SetClientHeight(ClientHeight);
    } else {
        form_->SetHeight(restoreHeight_);
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}
