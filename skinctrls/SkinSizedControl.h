#pragma once
// What the skinned custom control bases share, windowed or not: the size
// fitted to the bound record (a fixed image forces both dimensions, a row
// the height, a column the width, a frame nothing), DefaultWidth and
// DefaultHeight without a record, DefaultFont and UseSkinFont, and painting
// by parts with the client fill kinds. `Base` is the skinned base it builds
// on (TbsSkinControl or TbsGraphicSkinControl).

#include "Controls.h"
#include "SkinControlGeometry.h"
#include "TFont.h"

class TbsSkinControl;
class TbsGraphicSkinControl;

template <class Base>
class SkinSizedControl : public Base {
public:
    explicit SkinSizedControl(TComponent* AOwner);
    ~SkinSizedControl() override;

    const TFont& DefaultFont() const { return defaultFont_; }
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int value);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value) { useSkinFont_ = value; }

    void ApplySkin() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The bound geometry (for the state of the control as a whole).
    const SkinControlGeometry& Geometry() const { return geometry_; }
    int ResizeKind() const { return geometry_.ResizeKind; }
    const TRect& SizedClientRect() const { return geometry_.SizedClientRect; }

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void Paint() override;

    virtual void DefaultFontChanged() {}
    // Adjusts a requested size to the record and computes the sized geometry.
    virtual void FitSkinSize(int& W, int& H);
    // Shapes the control after its size or record changed (a windowed
    // control sets its window region; a windowless one has none).
    virtual void UpdateRegion() {}

    // The skinned image cut from `r` at the control's size.
    void PaintSkinImageFrom(TBitmap& bitmap, const TRect& r);
    // A record of the custom class is bound (not a foreign one).
    bool HasSkinGeometry() const { return this->recordIndex_ != -1 && geometry_.HasOwnRecord(); }
    // The font of the record's keys, or DefaultFont without UseSkinFont.
    void ApplyRecordFont(TFont& font, const AnsiString& name, int height, TFontStyles style) const;

    SkinControlGeometry geometry_;
    bool PaintByParts = false;
    bool FillClientArea = true;

private:
    TFont defaultFont_;
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    bool useSkinFont_ = true;
};

// The default font of skinned controls: Arial, 14 pixels, no style.
TFont MakeSkinDefaultFont();
