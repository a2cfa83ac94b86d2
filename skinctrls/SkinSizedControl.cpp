#include "SkinSizedControl.h"

#include "SkinGeometry.h"
#include "TbsGraphicSkinControl.h"
#include "TbsSkinControl.h"
#include "TbsSkinData.h"

TFont MakeSkinDefaultFont() {
    TFont f;
    f.SetName("Arial");
    f.SetHeight(14);
    f.SetStyle(0);
    return f;
}

template <class Base>
SkinSizedControl<Base>::SkinSizedControl(TComponent* AOwner) : Base(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.OnChange = [this] {
        DefaultFontChanged();
        if (this->recordIndex_ == -1) this->Invalidate();
    };
}

template <class Base>
SkinSizedControl<Base>::~SkinSizedControl() {
    defaultFont_.OnChange = nullptr;
}

template <class Base>
void SkinSizedControl<Base>::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (this->recordIndex_ == -1 && value > 0) this->SetWidth(value);
}

template <class Base>
void SkinSizedControl<Base>::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (this->recordIndex_ == -1 && value > 0) this->SetHeight(value);
}

template <class Base>
void SkinSizedControl<Base>::BindSkinRecord() {
    Base::BindSkinRecord();
    if (this->recordIndex_ == -1) return;
    if (const auto* r = dynamic_cast<const TbsDataSkinCustomControl*>(this->BoundRecord()))
        geometry_.Bind(*this->SkinData(), *r);
    else
        geometry_.BindForeign();
}

template <class Base>
void SkinSizedControl<Base>::FitSkinSize(int& W, int& H) {
    // A record of another class carries no geometry of its own: the stale
    // copies must not force a size on the control.
    if (!HasSkinGeometry()) return;
    geometry_.Fit(W, H);
}

template <class Base>
void SkinSizedControl<Base>::PaintSkinImageFrom(TBitmap& bitmap, const TRect& r) {
    geometry_.PaintImage(bitmap, r, this->Width(), this->Height(), PaintByParts);
}

template <class Base>
void SkinSizedControl<Base>::PaintSkinImage(TBitmap& bitmap) {
    // A record of another class has no picture: the control keeps its
    // default look rather than showing nothing.
    if (!HasSkinGeometry() || !geometry_.SkinPicture) {
        PaintDefaultImage(bitmap);
        return;
    }
    PaintSkinImageFrom(bitmap, geometry_.skinrect);
}

template <class Base>
void SkinSizedControl<Base>::PaintDefaultImage(TBitmap& bitmap) {
    TCanvas& c = bitmap.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(this->ClientRect());
}

template <class Base>
void SkinSizedControl<Base>::ApplyRecordFont(TFont& font, const AnsiString& name, int height,
                                             TFontStyles style) const {
    if (useSkinFont_) {
        font.SetName(name);
        font.SetHeight(height);
        font.SetStyle(style);
    } else {
        font.Assign(defaultFont_);
    }
}

template <class Base>
void SkinSizedControl<Base>::Paint() {
    if (this->Width() < 1 || this->Height() < 1) return;
    BindSkinRecord();
    int w = this->Width(), h = this->Height();
    FitSkinSize(w, h);
    if (!HasSkinGeometry() || !PaintByParts || geometry_.ResizeKind != kResizeFrame || !geometry_.SkinPicture) {
        TBitmap buffer(this->Width(), this->Height());
        if (this->recordIndex_ == -1) PaintDefaultImage(buffer);
        else PaintSkinImage(buffer);
        this->Canvas().Draw(0, 0, buffer);
        return;
    }
    geometry_.PaintByParts(this->Canvas(), this->Width(), this->Height(), FillClientArea,
                           [this](TBitmap& top) { PaintSkinImage(top); });
}

template <class Base>
void SkinSizedControl<Base>::ApplySkin() {
    BindSkinRecord();
    const int oldW = this->Width(), oldH = this->Height();
    if (this->recordIndex_ == -1) {
        if (defaultWidth_ > 0) this->SetWidth(defaultWidth_);
        if (defaultHeight_ > 0) this->SetHeight(defaultHeight_);
    } else {
        int w = oldW, h = oldH;
        FitSkinSize(w, h);
        if (w != oldW || h != oldH) this->SetBounds(this->Left(), this->Top(), w, h);
    }
    if ((this->Width() == oldW && this->Height() == oldH) || this->recordIndex_ == -1) {
        UpdateRegion();
        this->Invalidate();
    }
}

template <class Base>
void SkinSizedControl<Base>::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    BindSkinRecord();
    const bool changed = (AWidth != this->Width() || AHeight != this->Height()) && this->recordIndex_ != -1;
    if (changed) {
        FitSkinSize(AWidth, AHeight);
        if (geometry_.ResizeKind == kResizeFixed) geometry_.SizedClientRect = geometry_.clientrect;
    }
    Base::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) {
        UpdateRegion();
        this->Invalidate();
    }
}

template class SkinSizedControl<TbsSkinControl>;
template class SkinSizedControl<TbsGraphicSkinControl>;
