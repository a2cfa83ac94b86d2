#include "TbsFBitmap.h"

TbsFBitmap::TbsFBitmap(const TBitmap& bitmap)
    : width_(bitmap.Empty() ? 0 : bitmap.Width()),
      height_(bitmap.Empty() ? 0 : bitmap.Height()),
      rowBytes_(Row24Bytes(width_)),
      bits_(rowBytes_ * std::size_t(height_)) {
    rows_.reserve(std::size_t(height_));
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = bits_.data() + std::size_t(y) * rowBytes_;
        rows_.push_back(row);
        const std::uint32_t* in = bitmap.ScanLine(y);
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t p = in[x];
            row[3 * x] = std::uint8_t(p);
            row[3 * x + 1] = std::uint8_t(p >> 8);
            row[3 * x + 2] = std::uint8_t(p >> 16);
        }
    }
}
