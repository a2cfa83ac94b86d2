#pragma once
// The skinned check box: a box with a check mark and a caption beside it.
// With a "checkbox" record the background comes from the record's image, the
// mark from its check and uncheck pictures and the text from its font and
// colours; without one it draws the default look (a framed box over the
// parent's background). A click, or Space while focused, toggles Checked.

#include "TbsSkinCustomControl.h"

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(TComponent* AOwner);
    ~TbsSkinCheckRadioBox() override;

    bool Checked() const { return checked_; }
    // Repaints and raises OnClick when the state changes.
    void SetChecked(bool value);

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void ParentBackgroundChanged() override { Invalidate(); }

private:
    void Toggle();
    // The caption drawn left-aligned and vertically centred in `area`.
    void DrawCaption(TCanvas& canvas, const TRect& area, TColor color) const;

    bool checked_ = false;
    bool pressed_ = false;
    // Copies of the bound record's keys (valid while bound to one).
    bool ownRecord_ = false;
    AnsiString fontName_;
    int fontHeight_ = 14;
    TFontStyles fontStyle_ = 0;
    TColor fontColor_ = 0;
    TColor unenabledFontColor_ = 0;
    TRect checkImageArea_;
    TRect textArea_;
    TRect checkImageRect_;
    TRect uncheckImageRect_;
};
