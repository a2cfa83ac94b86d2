#pragma once
// An icon: a small picture whose transparent colour shows what lies under it.
// Forms and the application carry one; the frame shows it at small-icon size.

#include <memory>

#include "AnsiString.h"
#include "TBitmap.h"

class TIcon {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    bool Empty() const { return !picture_ || picture_->Empty(); }
    int Width() const { return picture_ ? picture_->Width() : 0; }
    int Height() const { return picture_ ? picture_->Height() : 0; }
    // Copies the picture; its bottom-left pixel's colour becomes transparent
    // unless the bitmap names a transparent colour of its own.
    void Assign(const TBitmap& picture);
    void Assign(const TIcon& other);
    // A BMP file (EFOpenError / EInvalidGraphic on failure).
    void LoadFromFile(const AnsiString& fileName);
    void Clear() { picture_.reset(); }
    // The picture, or null while empty.
    const TBitmap* Picture() const { return picture_.get(); }

private:
    std::unique_ptr<TBitmap> picture_;
};
