#pragma once
// The windowless skinned control with the record's geometry: its size is
// fitted to the record like the windowed custom control's, it takes
// DefaultWidth and DefaultHeight without a record and draws with
// DefaultFont; it has no window and so no region.

#include "SkinControlGeometry.h"
#include "TbsGraphicSkinControl.h"

class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl {
public:
    explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;

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

    const SkinControlGeometry& Geometry() const { return geometry_; }
    int ResizeKind() const { return geometry_.ResizeKind; }
    const TRect& SizedClientRect() const { return geometry_.SizedClientRect; }

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void Paint() override;

    virtual void DefaultFontChanged() {}
    virtual void FitSkinSize(int& W, int& H);

    void PaintSkinImageFrom(TBitmap& bitmap, const TRect& r);
    bool HasSkinGeometry() const { return recordIndex_ != -1 && geometry_.HasOwnRecord(); }

    SkinControlGeometry geometry_;
    bool PaintByParts = false;
    bool FillClientArea = true;

private:
    TFont defaultFont_;
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    bool useSkinFont_ = true;
};
