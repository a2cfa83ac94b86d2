#pragma once
// A 24-bit top-down copy of a bitmap for direct pixel access: three bytes per
// pixel (blue, green, red), each row padded to a multiple of 4 bytes
// (3 * width + width mod 4), with a table of row pointers. Mask scans walk it
// row by row without touching the source bitmap again.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "TBitmap.h"

class TbsFBitmap {
public:
    explicit TbsFBitmap(const TBitmap& bitmap);
    TbsFBitmap(const TbsFBitmap&) = delete;
    TbsFBitmap& operator=(const TbsFBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Bytes per row, padding included.
    std::size_t RowBytes() const { return rowBytes_; }

    // Row y (0 = top); y must be in range.
    std::uint8_t* ScanLine(int y) { return rows_.at(std::size_t(y)); }
    const std::uint8_t* ScanLine(int y) const { return rows_.at(std::size_t(y)); }
    // The whole pixel block, rows in order.
    const std::uint8_t* Bits() const { return bits_.data(); }

private:
    int width_;
    int height_;
    std::size_t rowBytes_;
    std::vector<std::uint8_t> bits_;
    std::vector<std::uint8_t*> rows_;
};

// Bytes per row of a 24-bit picture `width` pixels wide, padded to 4 bytes.
constexpr std::size_t Row24Bytes(int width) { return std::size_t(width) * 3 + std::size_t(width % 4); }
