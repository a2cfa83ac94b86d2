#pragma once
// Pictures drawn by code for the banners, and their encodings in the movie
// format: lossless bitmaps (zlib) and JPEG (libjpeg-turbo), the latter also
// split into shared tables and an abbreviated image.

#include <cstdint>
#include <functional>
#include <vector>

#include "SwfWriter.h"

namespace adgen {

struct Picture {
    int Width = 0, Height = 0;
    std::vector<Rgba> Pixels;  // straight (not premultiplied) colours, rows top to bottom

    Picture(int width, int height) : Width(width), Height(height), Pixels(std::size_t(width) * height) {}
    Rgba& At(int x, int y) { return Pixels[std::size_t(y) * Width + x]; }
    // Sets every pixel from a function of its position.
    void Paint(const std::function<Rgba(int x, int y)>& colour);
};

// A DefineBitsLossless (withAlpha false) or DefineBitsLossless2 body in the
// 32-bit layout, after the character id.
Bytes LosslessBody(std::uint16_t id, const Picture& picture, bool withAlpha);

// A complete JPEG stream (DefineBitsJPEG2) at the given quality.
Bytes EncodeJpeg(const Picture& picture, int quality);

// The same picture as a tables-only stream (JPEGTables) and an abbreviated
// image stream (DefineBits).
void EncodeJpegSplit(const Picture& picture, int quality, Bytes& tables, Bytes& image);

// A small deterministic pseudo-random sequence, so regenerated files are
// identical byte for byte.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    double Unit() { return (Next() & 0xFFFF) / 65535.0; }

private:
    std::uint32_t state_;
};

}  // namespace adgen
