#pragma once
// An icon: one picture in one or several sizes, with an opacity per pixel.
// Forms and the application carry one; the desktop shows it for their
// windows and the frame draws it at small-icon size. Its Handle is an HICON
// of the standard icon size that the TIcon owns (made on first use).

#include <functional>
#include <vector>

#include "AnsiString.h"
#include "Icons.h"
#include "TBitmap.h"

class TCanvas;

class TIcon {
public:
    TIcon() = default;
    ~TIcon();
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    bool Empty() const { return images_.empty(); }
    // The size of the picture Handle gives (0 while empty).
    int Width() const;
    int Height() const;

    // Copies the picture; the pixels of its transparent colour (the bottom-left
    // pixel's, unless the bitmap names one of its own) become clear.
    void Assign(const TBitmap& picture);
    void Assign(const TIcon& other);
    // An icon file (.ico) with all its sizes, or a BMP picture as Assign
    // takes it; EFOpenError or EInvalidGraphic on failure, and the icon stays
    // as it was.
    void LoadFromFile(const AnsiString& fileName);
    void Clear();

    // The handle of the picture nearest the standard icon size; null while
    // empty. The icon keeps owning it.
    HICON Handle() const;
    // Takes the pictures of `icon` and owns the handle from now on (null
    // clears the icon).
    void SetHandle(HICON icon);
    // Gives the handle to the caller, who destroys it; the icon becomes empty.
    HICON ReleaseHandle();
    // A handle of the picture scaled from the size nearest `size`, owned by
    // the icon (kept until its pictures change); null while empty.
    HICON HandleForSize(int size) const;

    // Draws the picture nearest the size, scaled to fill `rect`, blended by
    // its opacity.
    void Draw(TCanvas& canvas, const TRect& rect) const;

    // All sizes, largest first.
    const std::vector<IconPixels>& Images() const { return images_; }

    // Called after every change of the pictures.
    std::function<void()> OnChange;

private:
    // Replaces the pictures; `handle` (owned from now on) already shows the one nearest the standard size.
    void SetImages(std::vector<IconPixels> images, HICON handle = nullptr);
    const IconPixels* Nearest(int size) const;
    void DropHandles() const;

    std::vector<IconPixels> images_;
    mutable HICON handle_ = nullptr;
    mutable std::vector<std::pair<int, HICON>> sized_;
};
