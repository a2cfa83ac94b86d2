#pragma once
// The skinned multi-line edit: a borderless platform memo whose whole window
// is text area, with font, text and background colours from a memo record
// (the active ones while the pointer is over it or it has the focus). Its
// own scroll bars never show; it keeps their scroll information and hands it
// to skinned scroll bars attached as VScrollBar and HScrollBar, which scroll
// it in turn. Without attached bars it scrolls by keyboard and by one line
// per wheel step.

#include "SkinBinding.h"
#include "SkinControlRecords.h"
#include "TMemo.h"

class TbsSkinData;
class TbsSkinScrollBar;
class TbsSkinPopupMenu;

class TbsSkinMemo2 : public TMemo, public SkinBinding {
public:
    explicit TbsSkinMemo2(TComponent* AOwner);
    ~TbsSkinMemo2() override;

    // ---- the binding ----
    TbsSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }
    void ForgetSkinRecord() override { recordIndex_ = -1; }
    void ApplySkin() override;
    int RecordIndex() const { return recordIndex_; }

    const TFont& DefaultFont() const { return defaultFont_; }
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);
    bool UseSkinFontColor() const { return useSkinFontColor_; }
    void SetUseSkinFontColor(bool value);

    // ---- attached skinned scroll bars (cleared when they are destroyed) ----
    TbsSkinScrollBar* VScrollBar() const { return vScrollBar_; }
    void SetVScrollBar(TbsSkinScrollBar* value);
    TbsSkinScrollBar* HScrollBar() const { return hScrollBar_; }
    void SetHScrollBar(TbsSkinScrollBar* value);
    // Copies the memo's scroll information to the attached bars.
    void SyncScrollBars();

    // The platform's bars stay hidden whatever these say.
    void SetScrollBars(TScrollStyle value);
    void SetWordWrap(bool value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    bool MouseIn() const { return mouseIn_; }
    // The skinned context menu while it exists.
    TbsSkinPopupMenu* EditMenu() const { return editMenu_; }

    void WndProc(TMessage& Message) override;

protected:
    void PaintWindow(HDC DC) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Bound() const { return recordIndex_ != -1; }
    void BindSkinRecord();
    void HidePlatformBars();
    void ApplyStateColours();
    void PaintDisabled(TCanvas& canvas);
    void Attach(TbsSkinScrollBar*& slot, TbsSkinScrollBar* bar, UINT scrollMessage);
    static bool ChangesScrolling(const TMessage& m);

    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_ = "memo";
    int recordIndex_ = -1;
    TbsDataSkinMemoControl rec_{""};
    bool hasRecord_ = false;
    TColor disabledFontColor_ = clGrayText;

    TFont defaultFont_;
    bool useSkinFont_ = true;
    bool useSkinFontColor_ = true;
    TbsSkinScrollBar* vScrollBar_ = nullptr;
    TbsSkinScrollBar* hScrollBar_ = nullptr;
    bool mouseIn_ = false;
    bool syncing_ = false;
    TbsSkinPopupMenu* editMenu_ = nullptr;
};
