#pragma once
// The skinned single-line edit: the platform edit does all the editing in
// its text area, and the control paints the frame around it (its non-client
// area) and the background under the text from an edit record ("edit", or
// "buttonedit" with an edit button), switching to the record's active image
// and text colour while the pointer is over it or it has the focus. With
// UseSkinFont the font and the height come from the record. Without a skin
// it draws a two-pixel frame around a DefaultColor field. ButtonMode adds a
// square button at the right end that raises OnButtonClick.

#include "SkinBinding.h"
#include "SkinControlRecords.h"
#include "TBitmap.h"
#include "TbsCustomEdit.h"

class TbsSkinData;

class TbsSkinCustomEdit : public TbsCustomEdit, public SkinBinding {
public:
    explicit TbsSkinCustomEdit(TComponent* AOwner);
    ~TbsSkinCustomEdit() override;

    // ---- the binding ----
    TbsSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    // Stores the name only; it takes effect at the next ApplySkin or paint.
    void SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }
    void ForgetSkinRecord() override { recordIndex_ = -1; }
    void ApplySkin() override;
    int RecordIndex() const { return recordIndex_; }

    // ---- look ----
    const TFont& DefaultFont() const { return defaultFont_; }
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }
    TColor DefaultColor() const { return defaultColor_; }
    void SetDefaultColor(TColor value);
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int value);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);
    bool ButtonMode() const { return buttonMode_; }
    void SetButtonMode(bool value);

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // ---- state, for the look and for tests (window coordinates) ----
    TRect TextRect() const { return textRect_; }
    TRect ButtonRect() const { return buttonRect_; }
    bool MouseIn() const { return mouseIn_; }
    bool ButtonDown() const { return buttonDown_; }
    bool ButtonHot() const { return buttonHot_; }

    // Height for the font: its text height plus the frame above and below.
    void FitHeightToFont();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

protected:
    void PaintWindow(HDC DC) override;
    // The window learns the frame's metrics as soon as it exists.
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Bound() const { return recordIndex_ != -1; }
    bool Active() const { return mouseIn_ || Focused(); }
    void BindSkinRecord();
    void CalcLayout();
    int SkinWidth() const;
    int SkinHeight() const;
    TRect StateRect() const;
    void ApplyFontColour();
    void ApplyCharset();
    void FrameChanged();
    void RepaintFrame();
    void PaintFrame();
    void ComposeFrame(TBitmap& frame);
    void ComposeButton(TBitmap& frame);
    void PaintTextBackground(TCanvas& canvas);
    void PaintDisabledText(TCanvas& canvas);
    void MouseEntered();
    void MouseLeft();
    int HitTest(TPoint screen);
    void DefaultFontChanged();

    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_ = "edit";
    int recordIndex_ = -1;
    // The bound record, fallbacks applied, and its picture.
    TbsDataSkinEditControl rec_{""};
    bool hasRecord_ = false;
    const TBitmap* picture_ = nullptr;
    int leftEndWidth_ = 0;
    int rightEndWidth_ = 0;

    TFont defaultFont_;
    TColor defaultColor_ = clWindow;
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    bool useSkinFont_ = true;
    bool buttonMode_ = false;

    bool mouseIn_ = false;
    bool buttonDown_ = false;
    bool buttonHot_ = false;
    TRect textRect_;
    TRect buttonRect_;
    bool settingFont_ = false;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    explicit TbsSkinEdit(TComponent* AOwner) : TbsSkinCustomEdit(AOwner) {}
};
