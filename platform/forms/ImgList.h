#pragma once
// TImageList: a row of same-sized small pictures with masks, drawn by index
// (menu glyphs, hint images, list icons).

#include <memory>
#include <vector>

#include "Classes.h"
#include "TBitmap.h"
#include "TCanvas.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list, as the platform's does.
    void SetWidth(int value);
    void SetHeight(int value);
    int Count() const { return int(images_.size()); }

    // Adds `image` cut into pieces of Width (at least one); a pixel is drawn
    // where `mask` is black (no mask: everywhere). Returns the first index.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // The same, with the pixels of `maskColor` left out.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws image `index` with its top-left corner at (x, y); a disabled
    // image is drawn as a grey silhouette. An index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // Copies image `index` into `out` (transparent pixels in clBtnFace).
    void GetBitmap(int index, TBitmap& out) const;

    TNotifyEvent OnChange;

private:
    struct Image {
        std::unique_ptr<TBitmap> pixels;
        std::vector<bool> opaque;
    };
    void Changed();

    int width_ = 16;
    int height_ = 16;
    std::vector<Image> images_;
};
