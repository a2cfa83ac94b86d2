// TbsSkinForm: the window states the frame keeps itself (normal, minimised,
// maximised), the slots of minimised secondary windows, and roll-up.

#include <algorithm>

#include "SkinPlatform.h"
#include "TbsSkinAnimateObject.h"
#include "TbsSkinButtonObject.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"

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

void TbsSkinForm::DoMinimize() {
    if (Application && Application->MainForm() == form_) {
        Application->Minimize();
    } else {
        if (IsRectEmpty(normalBounds_)) normalBounds_ = form_->BoundsRect();
        TRect area = GetScreenWorkArea(true);
        if (form_->HandleAllocated()) GetMonitorWorkArea(form_->Handle(), true, area);
        form_->SetBounds(area.Left, area.Bottom - MinFrameHeight(), MinFrameWidth(), MinFrameHeight());
    }
    if (OnMinimize) OnMinimize(this);
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
    if (!IsRectEmpty(normalBounds_)) form_->SetBoundsRect(normalBounds_);
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
