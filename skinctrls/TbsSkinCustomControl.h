#pragma once
// The windowed skinned control with the record's geometry: the size is
// fitted to the record (a fixed image forces both dimensions, a row the
// height, a column the width, a frame nothing), the window is shaped by the
// record's mask, and without a record the control takes DefaultWidth and
// DefaultHeight and draws with DefaultFont.

#include <optional>

#include "SkinControlGeometry.h"
#include "TRegion.h"
#include "TbsSkinControl.h"

class TbsSkinCustomControl : public TbsSkinControl {
public:
    explicit TbsSkinCustomControl(TComponent* AOwner);
    ~TbsSkinCustomControl() override;

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
    bool HasWindowRegion() const { return windowRegion_.has_value(); }

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void Paint() override;
    // A region set before the window existed is given to it now.
    void CreateWnd() override;

    virtual void DefaultFontChanged() {}
    // Adjusts a requested size to the record and computes the sized geometry.
    virtual void FitSkinSize(int& W, int& H);
    // Sets or removes the window region built from the record's mask.
    virtual void UpdateRegion();

    // The skinned image cut from `r` at the control's size.
    void PaintSkinImageFrom(TBitmap& bitmap, const TRect& r);
    // A record of the custom class is bound (not a foreign one).
    bool HasSkinGeometry() const { return recordIndex_ != -1 && geometry_.HasOwnRecord(); }
    // The font of the record's keys, or DefaultFont without UseSkinFont.
    void ApplyRecordFont(TFont& font, const AnsiString& name, int height, TFontStyles style) const;

    SkinControlGeometry geometry_;
    bool PaintByParts = false;
    bool FillClientArea = true;

private:
    void SetRegion(std::optional<TRegion> region);

    TFont defaultFont_;
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    bool useSkinFont_ = true;
    std::optional<TRegion> windowRegion_;
};

// The default font of skinned controls: Arial, 14 pixels, no style.
TFont MakeSkinDefaultFont();
