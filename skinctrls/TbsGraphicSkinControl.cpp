#include "TbsGraphicSkinControl.h"

#include "ImgList.h"
#include "SkinControlGeometry.h"
#include "SkinMessages.h"
#include "TbsSkinData.h"

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle |= csOpaque;
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() = default;

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* value) {
    if (skinData_ && skinData_ != value) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (value) value->FreeNotification(this);
    if (value && !value->IsEmpty() && !Designing()) ApplySkin();
}

void TbsGraphicSkinControl::SetHintImageList(TImageList* value) {
    if (hintImageList_ && hintImageList_ != value) hintImageList_->RemoveFreeNotification(this);
    hintImageList_ = value;
    if (value) value->FreeNotification(this);
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == hintImageList_) hintImageList_ = nullptr;
}

void TbsGraphicSkinControl::BindSkinRecord() {
    if (!skinData_ || skinData_->IsEmpty()) recordIndex_ = -1;
    else recordIndex_ = skinData_->FindControlIndex(skinDataName_);
}

const TbsDataSkinControl* TbsGraphicSkinControl::BoundRecord() const { return SkinControlRecordAt(skinData_, recordIndex_); }

void TbsGraphicSkinControl::ForgetSkinRecord() { recordIndex_ = -1; }

void TbsGraphicSkinControl::ApplySkin() {
    BindSkinRecord();
    Invalidate();
}

void TbsGraphicSkinControl::ParentBackgroundChanged() {
    if (!(ControlStyle & csOpaque)) Invalidate();
}

void TbsGraphicSkinControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    BindSkinRecord();
    TBitmap buffer(Width(), Height());
    if (recordIndex_ == -1) PaintDefaultImage(buffer);
    else PaintSkinImage(buffer);
    Canvas().Draw(0, 0, buffer);
}

void TbsGraphicSkinControl::MouseEntered() {
    if (!Designing() && OnMouseEnter) OnMouseEnter(this);
}

void TbsGraphicSkinControl::MouseLeft() {
    if (!Designing() && OnMouseLeave) OnMouseLeave(this);
}

void TbsGraphicSkinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case SKINMSG_PARENTBGCHANGED:
        ParentBackgroundChanged();
        return;
    case CM_MOUSEENTER:
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) MouseEntered();
        break;
    case CM_MOUSELEAVE:
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) MouseLeft();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}
