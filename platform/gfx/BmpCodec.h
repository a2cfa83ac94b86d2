#pragma once
// Reading and writing Windows BMP pictures.
//
// The reader takes every BMP a user may have: 1, 4, 8, 16, 24 and 32 bits per
// pixel, RLE4 and RLE8, bottom-up and top-down rows, the 12-byte core header,
// the 40-byte info header (with or without bit-field masks) and the V4 and V5
// headers. A truncated or inconsistent file raises EInvalidGraphic with a text
// that says what is wrong; nothing is ever read outside the given bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "Exceptions.h"

// The most pixels one picture may have unless the caller allows fewer:
// 4096 x 4096, 64 MiB decoded. Screens and skins stay far below it, while a
// few bytes of run-length data could otherwise claim gigabytes.
constexpr std::uint64_t kMaxBmpPixels = std::uint64_t(1) << 24;

// Contents that are not a readable BMP picture. Reason() is the fault alone,
// so that a caller that knows the file can name it in front of it.
class EBmpFormatError : public EInvalidGraphic {
public:
    // `pixels` is the size the picture declares when that size is the fault.
    explicit EBmpFormatError(const AnsiString& reason, const AnsiString& fileName = AnsiString(),
                             std::uint64_t pixels = 0);
    const AnsiString& Reason() const noexcept { return reason_; }
    // The declared pixel count of a picture refused for its size, else 0.
    std::uint64_t DeclaredPixels() const noexcept { return pixels_; }

private:
    AnsiString reason_;
    std::uint64_t pixels_;
};

// A decoded picture: rows top to bottom, one x8r8g8b8 pixel (0x00RRGGBB, the
// top byte set) per 32-bit word, no padding between rows.
struct BmpImage {
    int Width = 0;
    int Height = 0;
    // How many bits per pixel the file used (for information only).
    int BitsPerPixel = 0;
    std::vector<std::uint32_t> Pixels;
};

// Decodes the BMP file image at the start of `data`. When `consumed` is given
// it receives the length of that image: headers, colour table and pixel data
// (the info header's image size, or the padded row size times the rows when
// that is 0), so that pictures stored back to back can be read one by one.
// A picture of more than `maxPixels` pixels is refused before anything is
// allocated for it.
BmpImage ReadBmp(std::span<const std::uint8_t> data, std::size_t* consumed = nullptr,
                 std::uint64_t maxPixels = kMaxBmpPixels);

// A 24-bit bottom-up BMP file image of `height` rows of `width` pixels taken
// from `pixels` (x8r8g8b8, rows `stridePixels` apart, top row first).
std::vector<std::uint8_t> WriteBmp24(int width, int height, const std::uint32_t* pixels,
                                     std::size_t stridePixels);
