#include "TbsGraphicSkinCustomControl.h"

#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner) : TbsGraphicSkinControl(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.OnChange = [this] {
        DefaultFontChanged();
        if (recordIndex_ == -1) Invalidate();
    };
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() { defaultFont_.OnChange = nullptr; }

void TbsGraphicSkinCustomControl::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (recordIndex_ == -1 && value > 0) SetWidth(value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (recordIndex_ == -1 && value > 0) SetHeight(value);
}

void TbsGraphicSkinCustomControl::BindSkinRecord() {
    TbsGraphicSkinControl::BindSkinRecord();
    if (recordIndex_ == -1) return;
    if (const auto* r = dynamic_cast<const TbsDataSkinCustomControl*>(BoundRecord()))
        geometry_.Bind(*SkinData(), *r);
    else
        geometry_.BindForeign();
}

void TbsGraphicSkinCustomControl::FitSkinSize(int& W, int& H) {
    if (!HasSkinGeometry()) return;
    geometry_.Fit(W, H);
}

void TbsGraphicSkinCustomControl::PaintSkinImageFrom(TBitmap& bitmap, const TRect& r) {
    geometry_.PaintImage(bitmap, r, Width(), Height(), PaintByParts);
}

void TbsGraphicSkinCustomControl::PaintSkinImage(TBitmap& bitmap) {
    if (!HasSkinGeometry() || !geometry_.SkinPicture) {
        PaintDefaultImage(bitmap);
        return;
    }
    PaintSkinImageFrom(bitmap, geometry_.skinrect);
}

void TbsGraphicSkinCustomControl::PaintDefaultImage(TBitmap& bitmap) {
    TCanvas& c = bitmap.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(ClientRect());
}

void TbsGraphicSkinCustomControl::Paint() {
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

void TbsGraphicSkinCustomControl::ApplySkin() {
    BindSkinRecord();
    const int oldW = Width(), oldH = Height();
    if (recordIndex_ == -1) {
        if (DefaultWidth() > 0) SetWidth(DefaultWidth());
        if (DefaultHeight() > 0) SetHeight(DefaultHeight());
    } else {
        int w = oldW, h = oldH;
        FitSkinSize(w, h);
        if (w != oldW || h != oldH) SetBounds(Left(), Top(), w, h);
    }
    if ((Width() == oldW && Height() == oldH) || recordIndex_ == -1) Invalidate();
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    BindSkinRecord();
    const bool changed = (AWidth != Width() || AHeight != Height()) && recordIndex_ != -1;
    if (changed) {
        FitSkinSize(AWidth, AHeight);
        if (geometry_.ResizeKind == kResizeFixed) geometry_.SizedClientRect = geometry_.clientrect;
    }
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) Invalidate();
}
