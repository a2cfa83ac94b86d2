#pragma once
// An off-screen picture: 32-bit pixels (x8r8g8b8 in memory, rows packed top to
// bottom) in a pixman image, with a canvas bound to it and BMP loading and
// saving. Pictures of skins, off-screen buffers of controls and the backing
// surfaces of windows are all TBitmaps.

#include <pixman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "AnsiString.h"
#include "BmpCodec.h"
#include "Geometry.h"
#include "TColor.h"

class TCanvas;
class TStream;

// Kept for callers that set it; every bitmap holds 32-bit pixels whatever the
// value, which shows 24-bit and 32-bit pictures alike.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// tmAuto: the transparent colour is the bottom-left pixel; tmFixed: the
// colour given to SetTransparentColor.
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    // A bitmap has a canvas bound to it, so it keeps its address: copy with Assign.
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect BoundsRect() const { return {0, 0, width_, height_}; }
    // Resizing keeps the pixels that still fit; new pixels are white.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // Row y (0 = top); `Width()` pixels of 0x..RRGGBB. y must be in range.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;
    // Distance between rows, in pixels.
    std::size_t StridePixels() const { return std::size_t(width_); }

    // The colour at (x, y); outside the bitmap clNone (the platform's CLR_INVALID).
    TColor Pixels(int x, int y) const;
    // Outside the bitmap nothing happens.
    void SetPixels(int x, int y, TColor color);

    TCanvas& Canvas();

    // Fills the whole bitmap with one colour.
    void Fill(TColor color);

    // BMP input and output. Load failures raise EFOpenError (file) or
    // EBmpFormatError, an EInvalidGraphic naming the file (contents), and
    // leave the bitmap as it was. A picture of more than `maxPixels` pixels
    // is refused before its pixels are allocated.
    void LoadFromFile(const AnsiString& fileName, std::uint64_t maxPixels = kMaxBmpPixels);
    // Reads the BMP picture at the start of `data`; when `consumed` is given
    // it receives the picture's length, so pictures stored back to back can
    // be read one after another.
    void LoadFromBytes(std::span<const std::uint8_t> data, std::size_t* consumed = nullptr,
                       std::uint64_t maxPixels = kMaxBmpPixels);
    // Reads one BMP file image from the stream's position and leaves the
    // position just after it.
    void LoadFromStream(TStream& stream);
    void SaveToFile(const AnsiString& fileName) const;
    void SaveToStream(TStream& stream) const;
    std::vector<std::uint8_t> SaveToBytes() const;

    // Copies size, pixels and transparency settings of another bitmap.
    void Assign(const TBitmap& source);

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format) { pixelFormat_ = format; }

    // Drawing this bitmap with TCanvas::Draw or StretchDraw skips the pixels
    // of the transparent colour while Transparent is set.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }
    // With tmAuto the bottom-left pixel's colour (clNone for an empty bitmap).
    TColor TransparentColor() const;
    // Sets the colour and switches to tmFixed.
    void SetTransparentColor(TColor color);

    // The pixman image over the pixels, for fast paths; null while empty.
    pixman_image_t* Image() const { return image_; }

private:
    void Reallocate(int width, int height, std::vector<std::uint32_t> pixels);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    pixman_image_t* image_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    TPixelFormat pixelFormat_ = pfDevice;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clNone;
};
