#pragma once
// The skinned speed button: the push button's looks, glyphs, groups, repeat
// and morphs on a windowless control that never takes the focus. It can be
// flat (no frame animation) or transparent (glyph and caption straight on
// the parent's background until the pointer is over it or it is down), and
// can hide its caption, switching between two widths.

#include "SkinButtonCore.h"
#include "TbsGraphicSkinCustomControl.h"

class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl, public SkinButtonCore {
public:
    explicit TbsSkinSpeedButton(TComponent* AOwner);
    ~TbsSkinSpeedButton() override;

    bool Flat() const { return flat_; }
    // Also sets Transparent.
    void SetFlat(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    int WidthWithCaption() const { return widthWithCaption_; }
    void SetWidthWithCaption(int value) { widthWithCaption_ = value; }
    int WidthWithoutCaption() const { return widthWithoutCaption_; }
    void SetWidthWithoutCaption(int value) { widthWithoutCaption_ = value; }

    void Click() override {}
    void DoButtonClick() override;
    void ApplySkin() override;
    void WndProc(TMessage& Message) override;

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    // Without UseSkinSize the button keeps any size it is given.
    void FitSkinSize(int& W, int& H) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TControl& HostControl() override { return *this; }
    TbsSkinData* HostSkinData() const override { return SkinData(); }
    bool HostHasRecord() const override { return recordIndex_ != -1; }
    SkinControlGeometry& HostGeometry() override { return geometry_; }
    const TFont& HostDefaultFont() const override { return DefaultFont(); }
    bool HostUseSkinFont() const override { return UseSkinFont(); }
    void ForEachGroupSibling(const std::function<void(SkinButtonCore&)>& visit) override;
    void SkinSizeRuleChanged() override { ApplySkin(); }
    void PaintSkinImageFrom(TBitmap& bitmap, const TRect& r) override {
        TbsGraphicSkinCustomControl::PaintSkinImageFrom(bitmap, r);
    }
    bool AnimationAllowed() const override { return !flat_; }
    bool MorphAllowed() const override { return !transparent_; }
    AnsiString ButtonCaption() override { return showCaption_ ? Caption() : AnsiString(); }

private:
    // The idle look of a transparent button: glyph and caption on the parent.
    void PaintTransparentIdle(TBitmap& bitmap);
    bool LooksHotOrDown() const;

    bool flat_ = false;
    bool transparent_ = false;
    bool showCaption_ = true;
    int widthWithCaption_ = 0;
    int widthWithoutCaption_ = 0;
};
