#pragma once
// A 24-bit pixel copy of a bitmap with per-pixel effects: colour effects that
// change one image (the computed look of an inactive frame), and morphs that
// blend from this image ("from") towards another ("to") by a factor k from 0
// to 1 (mouse-over animations). The source bitmap is never changed.
//
// Pixels are three bytes (blue, green, red), rows top first, each padded to a
// multiple of 4 bytes. Every computed channel is rounded to the nearest
// integer, halves to even, and clamped to 0 .. 255.

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "SkinIniValues.h"
#include "TBitmap.h"
#include "TCanvas.h"

class TbsEffectBmp {
public:
    explicit TbsEffectBmp(const TBitmap& bitmap);
    TbsEffectBmp(const TbsEffectBmp&) = delete;
    TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t RowBytes() const { return rowBytes_; }

    // Row y as Width() * 3 bytes; y must be in range and the buffer that long.
    void ReadRow(int y, std::span<std::uint8_t> buffer) const;
    void WriteRow(int y, std::span<const std::uint8_t> buffer);
    std::uint8_t* RowPointer(int y);
    const std::uint8_t* RowPointer(int y) const;

    // Sets the whole image onto the canvas with its top-left corner at (x, y).
    void DrawTo(TCanvas& canvas, int x, int y) const;
    // Makes `bitmap` a copy of the image (size and pixels).
    void AssignTo(TBitmap& bitmap) const;

    // ---- colour effects ----

    // Each channel c becomes (1 - x) * c + 255 * x, x clamped to 0 .. 1.
    void Lighten(double x);
    // Each channel c becomes (1 - x) * c, x clamped to 0 .. 1.
    void Darken(double x);
    // All channels become 0.3 R + 0.59 G + 0.11 B.
    void ToGray();
    // One random r in 0 .. amount - 1 per pixel; each channel c becomes
    // c + r - amount div 2. Nothing for an amount below 1.
    void AddNoise(int amount);
    // Each pixel becomes the mean (rounded down) of the four diagonal
    // neighbours `amount` away, clamped to the image, read as the pass goes
    // (rows above are already blurred). Nothing for an amount of 0.
    void SplitBlur(int amount);
    // Each channel c becomes 255 - c.
    void InvertColors();
    // The effect a skin names for its inactive look, with the strength the
    // skinned form uses for it.
    void ApplyImageEffect(SkinImageEffect effect);

    // ---- morphs; nothing happens when `other` differs in size ----
    // k is taken as 0 below 0 and as 1 above 1.

    void BlendFade(const TbsEffectBmp& other, double k);
    // Opens from the middle outwards: vertically when the image is higher
    // than wide, else horizontally.
    void BlendFromCentre(const TbsEffectBmp& other, double k);
    void BlendFromLeft(const TbsEffectBmp& other, double k);
    void BlendFromRight(const TbsEffectBmp& other, double k);
    void SlideFromLeft(const TbsEffectBmp& other, double k);
    void SlideFromRight(const TbsEffectBmp& other, double k);
    void PushFromLeft(const TbsEffectBmp& other, double k);
    // The morph of a skin's morph kind.
    void Morph(SkinMorphKind kind, const TbsEffectBmp& other, double k);

    // Seeds the noise source, for repeatable pictures.
    void SeedNoise(std::uint32_t seed) { random_.seed(seed); }

private:
    bool SameSize(const TbsEffectBmp& other) const {
        return other.width_ == width_ && other.height_ == height_;
    }
    void BlendFromCentreHorizontal(const TbsEffectBmp& other, double k);
    void BlendFromCentreVertical(const TbsEffectBmp& other, double k);

    int width_;
    int height_;
    std::size_t rowBytes_;
    std::vector<std::uint8_t> bits_;
    std::mt19937 random_;
};
