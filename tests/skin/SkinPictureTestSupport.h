#pragma once
// Synthetic pictures for the composition tests. A "coordinate picture" has in
// every pixel its own position (red = x, green = y, blue = a marker), so a
// composed image tells for each of its pixels which source pixel landed there.
// Pixels a routine did not paint keep the white of a fresh bitmap.

#include <string>
#include <vector>

#include "TBitmap.h"

namespace skintest {

constexpr int kMarker = 0x40;

inline void MakeCoordinatePicture(TBitmap& bitmap, int width, int height) {
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixels(x, y, RGB(std::uint8_t(x), std::uint8_t(y), kMarker));
}

struct SourcePixel {
    int x = -1;  // -1: not painted (or not from the picture)
    int y = -1;
    friend bool operator==(const SourcePixel&, const SourcePixel&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const SourcePixel& p) {
    return out << "(" << p.x << "," << p.y << ")";
}

inline SourcePixel SourceOf(const TBitmap& image, int x, int y) {
    const TColor c = image.Pixels(x, y);
    if (c == clNone || GetBValue(c) != kMarker) return {};
    return {GetRValue(c), GetGValue(c)};
}

// The source x of every pixel of row y (-1 where not painted).
inline std::vector<int> SourceColumns(const TBitmap& image, int y) {
    std::vector<int> xs;
    for (int x = 0; x < image.Width(); ++x) xs.push_back(SourceOf(image, x, y).x);
    return xs;
}

// The source y of every pixel of column x.
inline std::vector<int> SourceRows(const TBitmap& image, int x) {
    std::vector<int> ys;
    for (int y = 0; y < image.Height(); ++y) ys.push_back(SourceOf(image, x, y).y);
    return ys;
}

// A picture drawn from rows of characters: '#' black, '.' white, any other
// character a grey.
inline void MakeMaskPicture(TBitmap& bitmap, const std::vector<std::string>& rows) {
    bitmap.SetSize(rows.empty() ? 0 : int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const char c = rows[std::size_t(y)][std::size_t(x)];
            bitmap.SetPixels(x, y, c == '#' ? clBlack : c == '.' ? clWhite : clGray);
        }
}

}  // namespace skintest
