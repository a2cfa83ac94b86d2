#pragma once
// The binding every skinned control base shares, windowed or not: the skin
// data reference (cleared when the skin data goes) and the record name, the
// record looked up by name at every paint, one off-screen bitmap per paint
// (default look without a record), the hint title and image, and the mouse
// enter and leave events. `Base` is the platform control the skinned base
// builds on (TCustomControl or TGraphicControl).

#include "Controls.h"
#include "SkinBinding.h"
#include "TBitmap.h"

class TbsSkinData;
class TImageList;
class TbsDataSkinControl;

template <class Base>
class SkinBoundControl : public Base, public SkinBinding, public SkinHintSource {
public:
    explicit SkinBoundControl(TComponent* AOwner) : Base(AOwner) {}

    // ---- the binding ----
    TbsSkinData* SkinData() const override { return skinData_; }
    // Stores the reference; a loaded skin (outside design) is applied at once.
    // Nil only stores: the next paint draws the default look.
    virtual void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    // Stores the name only; it takes effect at the next paint or ApplySkin.
    virtual void SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }
    void ForgetSkinRecord() override { recordIndex_ = -1; }
    void ApplySkin() override;
    // Index of the bound record in the skin's control list, -1 when unbound.
    int RecordIndex() const { return recordIndex_; }

    // ---- hint extras ----
    AnsiString HintTitle() const override { return hintTitle_; }
    void SetHintTitle(const AnsiString& value) { hintTitle_ = value; }
    int HintImageIndex() const override { return hintImageIndex_; }
    void SetHintImageIndex(int value) { hintImageIndex_ = value; }
    TImageList* HintImageList() const override { return hintImageList_; }
    void SetHintImageList(TImageList* value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    void WndProc(TMessage& Message) override;

protected:
    // Looks the record up by name; descendants extend it to copy their keys.
    virtual void BindSkinRecord();
    // The look without skin, and the skinned look, into a bitmap of the
    // control's size.
    virtual void PaintDefaultImage(TBitmap&) {}
    virtual void PaintSkinImage(TBitmap&) {}
    // The background under the control changed (SKINMSG_PARENTBGCHANGED).
    virtual void ParentBackgroundChanged() {}
    // The record at RecordIndex, or null.
    const TbsDataSkinControl* BoundRecord() const;

    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The pointer entered or left (CM_MOUSEENTER / CM_MOUSELEAVE).
    virtual void MouseEntered();
    virtual void MouseLeft();

    int recordIndex_ = -1;

private:
    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_;
    AnsiString hintTitle_;
    int hintImageIndex_ = 0;
    TImageList* hintImageList_ = nullptr;
};

extern template class SkinBoundControl<TCustomControl>;
extern template class SkinBoundControl<TGraphicControl>;
