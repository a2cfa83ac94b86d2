#pragma once
// The windowed skinned control: binds itself to one record of a skin data
// component by name at every paint, paints through one off-screen bitmap
// (never erasing its background, so nothing flickers), and raises mouse
// enter and leave events. Without a skin, or without a record of its name,
// it draws its default look.

#include "Controls.h"
#include "SkinBinding.h"
#include "TBitmap.h"

class TbsSkinData;
class TImageList;

class TbsSkinControl : public TCustomControl, public SkinBinding, public SkinHintSource {
public:
    explicit TbsSkinControl(TComponent* AOwner);
    ~TbsSkinControl() override;

    // ---- the binding ----
    TbsSkinData* SkinData() const override { return skinData_; }
    // Stores the reference; a loaded skin (outside design) is applied at once.
    // Nil only stores: the next paint draws the default look.
    virtual void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    // Stores the name only; it takes effect at the next paint or ApplySkin.
    virtual void SetSkinDataName(const AnsiString& value);
    void ForgetSkinRecord() override;
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
    // The background under the control changed (a transparent descendant
    // repaints).
    virtual void ParentBackgroundChanged() {}
    // The record at RecordIndex, or null.
    const class TbsDataSkinControl* BoundRecord() const;

    void Paint() override;
    // One paint message paints once: the background is never erased.
    void EraseBackground(HDC) override {}
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Sends SKINMSG_PARENTBGCHANGED to every child control.
    void NotifyChildrenOfBackground();
    // The pointer entered or left (CM_MOUSEENTER / CM_MOUSELEAVE).
    virtual void MouseEntered();
    virtual void MouseLeft();

    int recordIndex_ = -1;
    // True while WM_PAINT is handled, for descendants that paint in their
    // background-erase handler.
    bool IsPaintingFromWmPaint = false;

private:
    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_;
    AnsiString hintTitle_;
    int hintImageIndex_ = 0;
    TImageList* hintImageList_ = nullptr;
};

// Sends SKINMSG_PARENTBGCHANGED to each child of `parent`: a window message
// to windowed children, a direct control message to windowless ones.
void SendParentBackgroundChanged(TWinControl& parent);
