// A minimal PNG encoder: one IHDR, one zlib-compressed IDAT with filter type 0
// on every row, and IEND.

#include "PngFile.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "TBitmap.h"

namespace {
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v >> 24));
    out.push_back(std::uint8_t(v >> 16));
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::vector<std::uint8_t>& data) {
    PutU32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, uInt(out.size() - start));
    PutU32(out, std::uint32_t(crc));
}
}  // namespace

bool SavePng(const TBitmap& bitmap, const std::string& path) {
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0) return false;
    std::vector<std::uint8_t> raw;
    raw.reserve(std::size_t(h) * (std::size_t(w) * 3 + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        const std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            raw.push_back(std::uint8_t(row[x] >> 16));
            raw.push_back(std::uint8_t(row[x] >> 8));
            raw.push_back(std::uint8_t(row[x]));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK) return false;
    packed.resize(packedSize);

    std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    PutU32(ihdr, std::uint32_t(w));
    PutU32(ihdr, std::uint32_t(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter 0, no interlace
    PutChunk(file, "IHDR", ihdr);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
}
