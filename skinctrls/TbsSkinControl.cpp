#include "TbsSkinControl.h"

#include "ImgList.h"
#include "SkinControlGeometry.h"
#include "SkinMessages.h"
#include "TbsSkinData.h"

void SendParentBackgroundChanged(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        if (auto* w = dynamic_cast<TWinControl*>(child); w && w->HandleAllocated())
            SendMessage(w->Handle(), SKINMSG_PARENTBGCHANGED, 0, 0);
        else
            child->Perform(SKINMSG_PARENTBGCHANGED, 0, 0);
    }
}

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::SetSkinData(TbsSkinData* value) {
    if (skinData_ && skinData_ != value) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (value) value->FreeNotification(this);
    if (value && !value->IsEmpty() && !Designing()) ApplySkin();
}

void TbsSkinControl::SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }

void TbsSkinControl::SetHintImageList(TImageList* value) {
    if (hintImageList_ && hintImageList_ != value) hintImageList_->RemoveFreeNotification(this);
    hintImageList_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == hintImageList_) hintImageList_ = nullptr;
}

void TbsSkinControl::BindSkinRecord() {
    if (!skinData_ || skinData_->IsEmpty()) recordIndex_ = -1;
    else recordIndex_ = skinData_->FindControlIndex(skinDataName_);
}

const TbsDataSkinControl* TbsSkinControl::BoundRecord() const { return SkinControlRecordAt(skinData_, recordIndex_); }

void TbsSkinControl::ForgetSkinRecord() { recordIndex_ = -1; }

void TbsSkinControl::ApplySkin() {
    BindSkinRecord();
    Invalidate();
}

void TbsSkinControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    BindSkinRecord();
    TBitmap buffer(Width(), Height());
    if (recordIndex_ == -1) PaintDefaultImage(buffer);
    else PaintSkinImage(buffer);
    Canvas().Draw(0, 0, buffer);
}

void TbsSkinControl::NotifyChildrenOfBackground() { SendParentBackgroundChanged(*this); }

void TbsSkinControl::MouseEntered() {
    if (!Designing() && OnMouseEnter) OnMouseEnter(this);
}

void TbsSkinControl::MouseLeft() {
    if (!Designing() && OnMouseLeave) OnMouseLeave(this);
}

void TbsSkinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        IsPaintingFromWmPaint = true;
        try {
            TCustomControl::WndProc(m);
        } catch (...) {
            IsPaintingFromWmPaint = false;
            throw;
        }
        IsPaintingFromWmPaint = false;
        return;
    case SKINMSG_PARENTBGCHANGED:
        ParentBackgroundChanged();
        return;
    case CM_MOUSEENTER:
        // Only the control's own enter, not one of a child passed up.
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) MouseEntered();
        break;
    case CM_MOUSELEAVE:
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) MouseLeft();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}
