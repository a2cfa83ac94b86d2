#include "TImage.h"

#include <algorithm>

#include "Streams.h"
#include "TCanvas.h"

// ---- TPicture ---------------------------------------------------------------------------

TPicture::TPicture() = default;

TBitmap& TPicture::Bitmap() {
    if (kind_ != Kind::Bitmap) {
        bitmap_ = std::make_unique<TBitmap>();
        icon_.reset();
        kind_ = Kind::Bitmap;
    }
    return *bitmap_;
}

TIcon& TPicture::Icon() {
    if (kind_ != Kind::Icon) {
        icon_ = std::make_unique<TIcon>();
        icon_->OnChange = [this] { Changed(); };
        bitmap_.reset();
        kind_ = Kind::Icon;
    }
    return *icon_;
}

bool TPicture::Empty() const {
    switch (kind_) {
    case Kind::Bitmap: return bitmap_->Empty();
    case Kind::Icon: return icon_->Empty();
    default: return true;
    }
}

int TPicture::Width() const {
    switch (kind_) {
    case Kind::Bitmap: return bitmap_->Width();
    case Kind::Icon: return icon_->Width();
    default: return 0;
    }
}

int TPicture::Height() const {
    switch (kind_) {
    case Kind::Bitmap: return bitmap_->Height();
    case Kind::Icon: return icon_->Height();
    default: return 0;
    }
}

void TPicture::LoadFromFile(const AnsiString& fileName) {
    bool isIcon = false;
    {
        TFileStream file(fileName, fmOpenRead);
        std::uint8_t head[4] = {};
        isIcon = file.Read(head, 4) == 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
    }
    if (isIcon) {
        TIcon loaded;
        loaded.LoadFromFile(fileName);
        Icon().Assign(loaded);  // reports the change
        return;
    }
    auto loaded = std::make_unique<TBitmap>();
    loaded->LoadFromFile(fileName);
    Bitmap().Assign(*loaded);
    Changed();
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}

void TPicture::Clear() {
    kind_ = Kind::None;
    bitmap_.reset();
    icon_.reset();
    Changed();
}

// ---- TImage -----------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 105, 105);
    ControlStyle &= ~unsigned(csOpaque);
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void TImage::SetCenter(bool value) {
    center_ = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    Invalidate();
}

void TImage::SetProportional(bool value) {
    proportional_ = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TImage::SetAutoSize(bool value) {
    autoSize_ = value;
    if (value) PictureChanged();
}

TRect TImage::DestRect() const {
    const int cw = Width(), ch = Height();
    int w = picture_.Width(), h = picture_.Height();
    if (w <= 0 || h <= 0) return {};
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_) {
            // The largest size of the picture's shape that fits.
            if (std::int64_t(cw) * h <= std::int64_t(ch) * w) {
                h = int(std::int64_t(cw) * h / w);
                w = cw;
            } else {
                w = int(std::int64_t(ch) * w / h);
                h = ch;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    if (center_) return Bounds((cw - w) / 2, (ch - h) / 2, w, h);
    return Bounds(0, 0, w, h);
}

void TImage::Paint() {
    TCanvas& c = Canvas();
    const TRect dest = DestRect();
    if (IsRectEmpty(dest)) return;
    if (picture_.HasIcon()) {
        picture_.Icon().Draw(c, dest);
        return;
    }
    TBitmap& bitmap = picture_.Bitmap();
    const bool wasTransparent = bitmap.Transparent();
    bitmap.SetTransparent(transparent_);
    c.StretchDraw(dest, bitmap);
    bitmap.SetTransparent(wasTransparent);
}
