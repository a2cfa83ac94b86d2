#include "TIcon.h"

void TIcon::Assign(const TBitmap& picture) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(picture);
    copy->SetTransparent(true);
    picture_ = std::move(copy);
}

void TIcon::Assign(const TIcon& other) {
    if (&other == this) return;
    if (other.Empty()) picture_.reset();
    else Assign(*other.picture_);
}

void TIcon::LoadFromFile(const AnsiString& fileName) {
    TBitmap loaded;
    loaded.LoadFromFile(fileName);
    Assign(loaded);
}
