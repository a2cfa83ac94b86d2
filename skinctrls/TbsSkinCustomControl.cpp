#include "TbsSkinCustomControl.h"

#include "SkinComposition.h"
#include "SkinGeometry.h"
#include "SkinMessages.h"
#include "SkinRegions.h"
#include "TbsSkinData.h"

TFont MakeSkinDefaultFont() {
    TFont f;
    f.SetName("Arial");
    f.SetHeight(14);
    f.SetStyle(0);
    return f;
}

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner) : TbsSkinControl(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.OnChange = [this] {
        DefaultFontChanged();
        if (recordIndex_ == -1) Invalidate();
    };
}

TbsSkinCustomControl::~TbsSkinCustomControl() { defaultFont_.OnChange = nullptr; }

void TbsSkinCustomControl::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (recordIndex_ == -1 && value > 0) SetWidth(value);
}

void TbsSkinCustomControl::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (recordIndex_ == -1 && value > 0) SetHeight(value);
}

void TbsSkinCustomControl::BindSkinRecord() {
    TbsSkinControl::BindSkinRecord();
    if (recordIndex_ == -1) return;
    if (const auto* r = dynamic_cast<const TbsDataSkinCustomControl*>(BoundRecord()))
        geometry_.Bind(*SkinData(), *r);
    else
        geometry_.BindForeign();
}

void TbsSkinCustomControl::FitSkinSize(int& W, int& H) {
    // A record of another class carries no geometry of its own: the stale
    // copies must not force a size on the control.
    if (!HasSkinGeometry()) return;
    geometry_.Fit(W, H);
}

void TbsSkinCustomControl::PaintSkinImageFrom(TBitmap& bitmap, const TRect& r) {
    geometry_.PaintImage(bitmap, r, Width(), Height(), PaintByParts);
}

void TbsSkinCustomControl::PaintSkinImage(TBitmap& bitmap) {
    // A record of another class has no picture: the control keeps its
    // default look rather than showing nothing.
    if (!HasSkinGeometry() || !geometry_.SkinPicture) {
        PaintDefaultImage(bitmap);
        return;
    }
    PaintSkinImageFrom(bitmap, geometry_.skinrect);
}

void TbsSkinCustomControl::PaintDefaultImage(TBitmap& bitmap) {
    TCanvas& c = bitmap.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(ClientRect());
}

void TbsSkinCustomControl::ApplyRecordFont(TFont& font, const AnsiString& name, int height,
                                           TFontStyles style) const {
    if (useSkinFont_) {
        font.SetName(name);
        font.SetHeight(height);
        font.SetStyle(style);
    } else {
        font.Assign(defaultFont_);
    }
}

void TbsSkinCustomControl::Paint() {
    if (Width() < 1 || Height() < 1) return;
    BindSkinRecord();
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    if (!HasSkinGeometry() || !PaintByParts || geometry_.ResizeKind != kResizeFrame || !geometry_.SkinPicture) {
        TBitmap buffer(Width(), Height());
        if (recordIndex_ == -1) PaintDefaultImage(buffer);
        else PaintSkinImage(buffer);
        Canvas().Draw(0, 0, buffer);
        return;
    }
    geometry_.PaintByParts(Canvas(), Width(), Height(), FillClientArea,
                           [this](TBitmap& top) { PaintSkinImage(top); });
}

void TbsSkinCustomControl::ApplySkin() {
    BindSkinRecord();
    const int oldW = Width(), oldH = Height();
    if (recordIndex_ == -1) {
        if (defaultWidth_ > 0) SetWidth(defaultWidth_);
        if (defaultHeight_ > 0) SetHeight(defaultHeight_);
    } else {
        int w = oldW, h = oldH;
        FitSkinSize(w, h);
        if (w != oldW || h != oldH) SetBounds(Left(), Top(), w, h);
    }
    if ((Width() == oldW && Height() == oldH) || recordIndex_ == -1) {
        UpdateRegion();
        Invalidate();
    }
}

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    BindSkinRecord();
    const bool changed = (AWidth != Width() || AHeight != Height()) && recordIndex_ != -1;
    if (changed) {
        FitSkinSize(AWidth, AHeight);
        if (geometry_.ResizeKind == kResizeFixed) geometry_.SizedClientRect = geometry_.clientrect;
    }
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) {
        UpdateRegion();
        Invalidate();
    }
    // A stretched client picture was composed again: whatever shows it
    // through must repaint.
    if (HasSkinGeometry() && geometry_.stretcheffect) NotifyChildrenOfBackground();
}

void TbsSkinCustomControl::SetRegion(std::optional<TRegion> region) {
    if (!HandleAllocated()) {
        windowRegion_ = std::move(region);
        return;
    }
    // The window keeps its own copy; ours only records what is set.
    SetWindowRgn(Handle(), region ? &*region : nullptr, TRUE);
    windowRegion_ = std::move(region);
}

void TbsSkinCustomControl::CreateWnd() {
    TbsSkinControl::CreateWnd();
    if (windowRegion_) SetWindowRgn(Handle(), &*windowRegion_, TRUE);
}

void TbsSkinCustomControl::UpdateRegion() {
    if (!Parent()) return;
    const TBitmap* mask = geometry_.SkinMask;
    if (!mask || !HasSkinGeometry()) {
        if (windowRegion_) SetRegion(std::nullopt);
        return;
    }
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    std::optional<TRegion> region;
    const TRect maskRect{0, 0, WidthOf(geometry_.skinrect), HeightOf(geometry_.skinrect)};
    switch (geometry_.ResizeKind) {
    case kResizeFixed:
        region = RegionFromMask(*mask);
        break;
    case kResizeFrame:
        region = ComposeSkinRegion(geometry_.Points(), *mask, Width(), geometry_.SizedPoints());
        break;
    case kResizeRow: {
        // The mask composed like the image: its right end moves with the width.
        TBitmap sized;
        ComposeRowImage(geometry_.lefttoppoint.X, maskRect.Right - geometry_.righttoppoint.X, sized, false, Width(),
                        maskRect, *mask);
        region = RegionFromMask(sized);
        break;
    }
    case kResizeColumn: {
        TBitmap sized;
        ComposeColumnImage(geometry_.lefttoppoint.Y, maskRect.Bottom - geometry_.leftbottompoint.Y, sized, false,
                           Height(), maskRect, *mask);
        region = RegionFromMask(sized);
        break;
    }
    default:
        break;
    }
    SetRegion(std::move(region));
}
