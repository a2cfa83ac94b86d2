#pragma once
// Tiny BMP files that declare huge pictures: an RLE8 picture whose run-length
// data is only the end-of-picture marker, so a few dozen bytes claim
// width x height pixels. Loaders must refuse them, or decode them within
// their limits, without costing more than the limits allow.

#include <cstdint>
#include <string>

namespace hostile {

inline void PutLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char(v >> (8 * i)));
}

// 60 bytes: file header, 40-byte info header, one palette entry, and the
// end-of-picture marker.
inline std::string RleBmp(std::uint32_t width, std::uint32_t height) {
    const std::uint32_t dataOffset = 14 + 40 + 4;
    std::string b = "BM";
    PutLe(b, dataOffset + 2, 4);
    PutLe(b, 0, 4);
    PutLe(b, dataOffset, 4);
    PutLe(b, 40, 4);
    PutLe(b, width, 4);
    PutLe(b, height, 4);
    PutLe(b, 1, 2);   // planes
    PutLe(b, 8, 2);   // bits per pixel
    PutLe(b, 1, 4);   // RLE8
    PutLe(b, 2, 4);   // image size
    PutLe(b, 0, 4);
    PutLe(b, 0, 4);
    PutLe(b, 1, 4);   // colours used
    PutLe(b, 0, 4);
    PutLe(b, 0x00336699, 4);
    b += std::string("\x00\x01", 2);
    return b;
}

}  // namespace hostile
