#include "ImgList.h"

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}
TImageList::~TImageList() = default;

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TImageList::SetWidth(int value) {
    if (value <= 0 || value == width_) return;
    width_ = value;
    Clear();
}

void TImageList::SetHeight(int value) {
    if (value <= 0 || value == height_) return;
    height_ = value;
    Clear();
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
    const int first = Count();
    const int pieces = std::max(1, image.Width() / width_);
    for (int p = 0; p < pieces; ++p) {
        Image img;
        img.pixels = std::make_unique<TBitmap>(width_, height_);
        img.opaque.assign(std::size_t(width_ * height_), false);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const int sx = p * width_ + x;
                const TColor c = image.Pixels(sx, y);
                if (c == clNone) continue;  // outside the source
                img.pixels->SetPixels(x, y, c);
                const bool drawn = !mask || mask->Pixels(sx, y) == clBlack;
                img.opaque[std::size_t(y * width_ + x)] = drawn;
            }
        images_.push_back(std::move(img));
    }
    Changed();
    return first;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    TBitmap mask(image.Width(), image.Height());
    const TColor key = ColorToRGB(maskColor);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            mask.SetPixels(x, y, image.Pixels(x, y) == key ? clWhite : clBlack);
    return Add(image, &mask);
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    images_.erase(images_.begin() + index);
    Changed();
}

void TImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Changed();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const Image& img = images_[std::size_t(index)];
    for (int py = 0; py < height_; ++py)
        for (int px = 0; px < width_; ++px) {
            if (!img.opaque[std::size_t(py * width_ + px)]) continue;
            const TColor c = img.pixels->Pixels(px, py);
            if (enabled) {
                canvas.SetPixels(x + px, y + py, c);
                continue;
            }
            // Dark pixels make the silhouette, with a light edge below right.
            const int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
            if (lum < 192) {
                canvas.SetPixels(x + px + 1, y + py + 1, clBtnHighlight);
                canvas.SetPixels(x + px, y + py, clBtnShadow);
            }
        }
}

void TImageList::GetBitmap(int index, TBitmap& out) const {
    out.SetSize(width_, height_);
    out.Fill(clBtnFace);
    if (index < 0 || index >= Count()) return;
    Draw(out.Canvas(), 0, 0, index, true);
}
