#pragma once
// The image control: a windowless control showing a picture (a bitmap) or an
// icon on its parent. Center puts the picture in the middle, Stretch scales
// it to the bounds (keeping its shape with Proportional, which also shrinks a
// picture that does not fit), AutoSize fits the bounds to the picture.
// Bitmaps may be Transparent (their transparent colour shows the parent);
// icons always blend by their opacity.

#include <memory>

#include "Controls.h"
#include "TIcon.h"

// What an image shows: a bitmap or an icon, whichever was asked for last
// (asking for the bitmap makes the picture a bitmap, and so on).
class TPicture {
public:
    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TBitmap& Bitmap();
    TIcon& Icon();
    bool HasBitmap() const { return kind_ == Kind::Bitmap; }
    bool HasIcon() const { return kind_ == Kind::Icon; }
    bool Empty() const;
    int Width() const;
    int Height() const;
    // A BMP or icon file, told apart by their contents.
    void LoadFromFile(const AnsiString& fileName);
    // The owner calls this after changing the bitmap or icon in place.
    void Changed();
    void Clear();

    std::function<void()> OnChange;

private:
    enum class Kind { None, Bitmap, Icon };
    Kind kind_ = Kind::None;
    std::unique_ptr<TBitmap> bitmap_;
    std::unique_ptr<TIcon> icon_;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);

    TPicture& Picture() { return picture_; }
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    // Where the picture lands in the control's client coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    TPicture picture_;
    bool center_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};
