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

// Rows of `channels` bytes per pixel, each row led by its filter byte (0).
std::vector<std::uint8_t> Encode(int w, int h, int channels, const std::vector<std::uint8_t>& raw) {
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK) return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    PutU32(ihdr, std::uint32_t(w));
    PutU32(ihdr, std::uint32_t(h));
    // 8 bits, RGB or RGBA, deflate, filter 0, no interlace
    ihdr.insert(ihdr.end(), {8, std::uint8_t(channels == 4 ? 6 : 2), 0, 0, 0});
    PutChunk(file, "IHDR", ihdr);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    return file;
}

bool WriteFile(const std::vector<std::uint8_t>& file, const std::string& path) {
    if (file.empty()) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
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
    return WriteFile(Encode(w, h, 3, raw), path);
}

std::vector<std::uint8_t> EncodePng(const IconPixels& icon) {
    const int w = icon.width, h = icon.height;
    if (w <= 0 || h <= 0 || icon.argb.size() != std::size_t(w) * std::size_t(h)) return {};
    std::vector<std::uint8_t> raw;
    raw.reserve(std::size_t(h) * (std::size_t(w) * 4 + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = icon.argb[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            raw.insert(raw.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), std::uint8_t(p >> 24)});
        }
    }
    return Encode(w, h, 4, raw);
}

bool SavePng(const IconPixels& icon, const std::string& path) { return WriteFile(EncodePng(icon), path); }
