#pragma once
// The skinned container: a plain panel, or a group box with a caption bar
// that may carry a check box (enabling the children) or a roll-up arrow
// (collapsing the panel to its caption). It paints by parts, so the area
// under its children is filled from the skin, and can be transparent over
// its parent's background.

#include "ImgList.h"
#include "TbsSkinCustomControl.h"
#include "TextAlignment.h"

enum TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
// Where the caption's image stands: just before the text, or at the left
// edge with the text aligned on its own.
enum TbsImagePosition { bsipDefault, bsipLeft };

class TbsSkinPanel : public TbsSkinCustomControl {
public:
    explicit TbsSkinPanel(TComponent* AOwner);
    ~TbsSkinPanel() override;

    bool CaptionMode() const { return captionMode_; }
    virtual void SetCaptionMode(bool value);
    int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
    virtual void SetDefaultCaptionHeight(int value);
    TAlignment DefaultAlignment() const { return defaultAlignment_; }
    void SetDefaultAlignment(TAlignment value);
    TbsSkinBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TbsSkinBorderStyle value);
    bool CheckedMode() const { return checkedMode_; }
    void SetCheckedMode(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool AutoEnabledControls() const { return autoEnabledControls_; }
    void SetAutoEnabledControls(bool value) { autoEnabledControls_ = value; }
    bool RollUpMode() const { return rollUpMode_; }
    void SetRollUpMode(bool value);
    bool RollUpState() const { return rollUpState_; }
    void SetRollUpState(bool value);
    // The height before rolling up; -1 while expanded.
    int RealHeight() const { return realHeight_; }
    const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TImageList* CaptionImageList() const { return captionImageList_; }
    void SetCaptionImageList(TImageList* value);
    int CaptionImageIndex() const { return captionImageIndex_; }
    void SetCaptionImageIndex(int value);
    TbsImagePosition ImagePosition() const { return imagePosition_; }
    void SetImagePosition(TbsImagePosition value);
    bool TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(bool value);
    // The caption bar in the control's coordinates, as last painted.
    const TRect& CaptionArea() const { return captionArea_; }

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    TRect ClientRect() const override;
    void ApplySkin() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

protected:
    void BindSkinRecord() override;
    void Paint() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void ParentBackgroundChanged() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Drawn over a transparent panel before it is shown; nothing here.
    virtual void PaintOverTransparent(TCanvas&) {}

private:
    bool HasPanelSkin() const { return HasSkinGeometry() && geometry_.SkinPicture; }
    void Realign();
    void Collapse();
    void Expand();
    void PaintBackgroundPicture(TCanvas& canvas);
    void PaintTransparent(TCanvas& canvas);
    // The skinned caption (text, check image, image, arrow) in `area`.
    void DrawSkinCaption(TCanvas& canvas, TRect area);
    void DrawDefaultCaption(TCanvas& canvas);
    // Glyph or caption image size (0 x 0 for none) and drawing.
    TSize CaptionImageSize() const;
    void DrawCaptionImage(TCanvas& canvas, int x, int y);
    TRect SizedCaptionRect() const;

    bool captionMode_ = false;
    int defaultCaptionHeight_ = 22;
    TAlignment defaultAlignment_ = taLeftJustify;
    TbsSkinBorderStyle borderStyle_ = bvFrame;
    bool checkedMode_ = false;
    bool checked_ = false;
    bool autoEnabledControls_ = true;
    bool rollUpMode_ = false;
    bool rollUpState_ = false;
    int realHeight_ = -1;
    bool resizingForRollUp_ = false;
    TSizeConstraints savedConstraints_;
    TBitmap glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 2;
    TImageList* captionImageList_ = nullptr;
    int captionImageIndex_ = -1;
    TbsImagePosition imagePosition_ = bsipDefault;
    bool transparentMode_ = false;
    TRect captionArea_;

    // The caption keys of the bound panel record.
    int bgpictureindex_ = -1;
    TRect captionrect_;
    TAlignment alignment_ = taCenter;
    AnsiString fontname_ = "Arial";
    int fontheight_ = 14;
    TFontStyles fontstyle_ = 0;
    TColor fontcolor_ = 0;
    TRect checkimagerect_;
    TRect uncheckimagerect_;
    TRect markframerect_;
    TRect framerect_;
    TRect frametextrect_;
    int frameleftoffset_ = 0;
    int framerightoffset_ = 0;
};
