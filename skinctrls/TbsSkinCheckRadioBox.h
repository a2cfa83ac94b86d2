#pragma once
// The skinned check box: a box with a check mark and a caption beside it.
// With a "checkradio" record the background comes from the record's image
// (its active image under the pointer), the mark from the record's pictures
// for the state (checked, unchecked, grayed; active under the pointer,
// unenabled while disabled) and the text from its font and colours; without
// one it draws the default look (a framed box over the parent's background).
// A click, or Space while focused, toggles Checked.

#include "TbsSkinCustomControl.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(TComponent* AOwner);
    ~TbsSkinCheckRadioBox() override;

    bool Checked() const { return state_ == cbChecked; }
    // Repaints and raises OnClick when the state changes.
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void ParentBackgroundChanged() override { Invalidate(); }

private:
    void Toggle();
    // The caption drawn left-aligned and vertically centred in `area`.
    void DrawCaption(TCanvas& canvas, const TRect& area, TColor color) const;
    // The record's mark picture for the state, under the pointer or disabled.
    const TRect& MarkPicture() const;
    bool Hot() const { return mouseIn_ && Enabled(); }

    TCheckBoxState state_ = cbUnchecked;
    bool pressed_ = false;
    bool mouseIn_ = false;
    // Copies of the bound record's keys (valid while bound to one).
    bool ownRecord_ = false;
    AnsiString fontName_;
    int fontHeight_ = 14;
    TFontStyles fontStyle_ = 0;
    TColor fontColor_ = 0;
    TColor activeFontColor_ = 0;
    TColor unenabledFontColor_ = 0;
    TRect activeSkinRect_;
    TRect checkImageArea_;
    TRect textArea_;
    TRect checkImageRect_;
    TRect uncheckImageRect_;
    TRect activeCheckImageRect_;
    TRect activeUncheckImageRect_;
    TRect unenabledCheckImageRect_;
    TRect unenabledUncheckImageRect_;
    TRect grayedCheckImageRect_;
    TRect activeGrayedCheckImageRect_;
};
