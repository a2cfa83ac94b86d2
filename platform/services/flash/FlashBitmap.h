#pragma once
// Bitmaps of the movie format: lossless ones (DefineBitsLossless and
// DefineBitsLossless2, zlib-compressed) and JPEG ones (DefineBits with the
// shared JPEGTables, DefineBitsJPEG2, DefineBitsJPEG3 with its alpha plane).
// Decoded pixels are premultiplied 0xAARRGGBB words, ready for compositing.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct FlashBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // premultiplied a8r8g8b8, rows top to bottom
};

// The most pixels one bitmap may have: 4096 x 4096, 64 MiB decoded, far
// above what a banner shows.
constexpr std::int64_t kMaxFlashBitmapPixels = std::int64_t(16) * 1024 * 1024;

// Each decoder gives nothing for a bitmap of more than `maxPixels` pixels,
// and finds that out from the bitmap's header, before decoding any pixel.

// `body` starts after the character id. Undecodable data gives nothing.
std::optional<FlashBitmap> DecodeLosslessBitmap(std::span<const std::uint8_t> body, bool withAlpha,
                                                std::int64_t maxPixels = kMaxFlashBitmapPixels);

// A JPEG image, optionally preceded by separately stored tables
// (DefineBits uses the movie's JPEGTables).
std::optional<FlashBitmap> DecodeJpegBitmap(std::span<const std::uint8_t> tables, std::span<const std::uint8_t> image,
                                            std::int64_t maxPixels = kMaxFlashBitmapPixels);

// DefineBitsJPEG3: `body` after the character id, holding the JPEG data's
// length, the JPEG data and a zlib-compressed alpha plane.
std::optional<FlashBitmap> DecodeJpegWithAlpha(std::span<const std::uint8_t> body,
                                               std::int64_t maxPixels = kMaxFlashBitmapPixels);
