#include "SkinBoundControl.h"

#include "ImgList.h"
#include "SkinControlGeometry.h"
#include "SkinMessages.h"
#include "TbsSkinData.h"

template <class Base>
void SkinBoundControl<Base>::SetSkinData(TbsSkinData* value) {
    if (ReferToSkinData(*this, skinData_, value) && !this->Designing()) ApplySkin();
}

template <class Base>
void SkinBoundControl<Base>::SetHintImageList(TImageList* value) {
    if (hintImageList_ && hintImageList_ != value) hintImageList_->RemoveFreeNotification(this);
    hintImageList_ = value;
    if (value) value->FreeNotification(this);
}

template <class Base>
void SkinBoundControl<Base>::Notification(TComponent* AComponent, TOperation Operation) {
    Base::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == hintImageList_) hintImageList_ = nullptr;
}

template <class Base>
void SkinBoundControl<Base>::BindSkinRecord() {
    if (!skinData_ || skinData_->IsEmpty()) recordIndex_ = -1;
    else recordIndex_ = skinData_->FindControlIndex(skinDataName_);
}

template <class Base>
const TbsDataSkinControl* SkinBoundControl<Base>::BoundRecord() const {
    return SkinControlRecordAt(skinData_, recordIndex_);
}

template <class Base>
void SkinBoundControl<Base>::ApplySkin() {
    BindSkinRecord();
    this->Invalidate();
}

template <class Base>
void SkinBoundControl<Base>::Paint() {
    if (this->Width() <= 0 || this->Height() <= 0) return;
    BindSkinRecord();
    TBitmap buffer(this->Width(), this->Height());
    if (recordIndex_ == -1) PaintDefaultImage(buffer);
    else PaintSkinImage(buffer);
    this->Canvas().Draw(0, 0, buffer);
}

template <class Base>
void SkinBoundControl<Base>::MouseEntered() {
    if (!this->Designing() && OnMouseEnter) OnMouseEnter(this);
}

template <class Base>
void SkinBoundControl<Base>::MouseLeft() {
    if (!this->Designing() && OnMouseLeave) OnMouseLeave(this);
}

template <class Base>
void SkinBoundControl<Base>::WndProc(TMessage& m) {
    switch (m.Msg) {
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
    Base::WndProc(m);
}

template class SkinBoundControl<TCustomControl>;
template class SkinBoundControl<TGraphicControl>;
