#pragma once
// The windowless skinned control: the same binding as the windowed one
// (record looked up by name at every paint, one off-screen bitmap per paint,
// default look without a record), drawn into its parent's window. It marks
// itself opaque: the parent need not paint under it.

#include "Controls.h"
#include "SkinBinding.h"
#include "TBitmap.h"

class TbsSkinData;
class TImageList;
class TbsDataSkinControl;

class TbsGraphicSkinControl : public TGraphicControl, public SkinBinding, public SkinHintSource {
public:
    explicit TbsGraphicSkinControl(TComponent* AOwner);
    ~TbsGraphicSkinControl() override;

    TbsSkinData* SkinData() const override { return skinData_; }
    // Stores the reference; a loaded skin (outside design) is applied at once.
    virtual void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    // Stores the name only; it takes effect at the next paint or ApplySkin.
    void SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }
    void ForgetSkinRecord() override;
    void ApplySkin() override;
    int RecordIndex() const { return recordIndex_; }

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
    virtual void BindSkinRecord();
    virtual void PaintDefaultImage(TBitmap&) {}
    virtual void PaintSkinImage(TBitmap&) {}
    // The parent's background under the control changed; a control that is
    // not opaque repaints.
    virtual void ParentBackgroundChanged();
    const TbsDataSkinControl* BoundRecord() const;

    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
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
