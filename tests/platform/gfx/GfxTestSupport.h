#pragma once
// Small helpers shared by the graphics tests.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TBitmap.h"

namespace gfxtest {

// A fresh directory under the build tree for files a test writes.
inline std::filesystem::path ScratchDir(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(MIRVO_BINARY_DIR) / "test-scratch" / "gfx" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::filesystem::path ReferenceDir() {
    return std::filesystem::path(MIRVO_SOURCE_DIR) / "tests" / "platform" / "gfx" / "reference";
}

// Rows of characters, one per pixel: '#' for `ink`, '.' for anything else.
inline std::string Picture(const TBitmap& bmp, TColor ink, TRect area) {
    std::string out;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) out += bmp.Pixels(x, y) == ink ? '#' : '.';
        out += '\n';
    }
    return out;
}

inline bool HaveImageMagick() { return std::system("command -v convert >/dev/null 2>&1") == 0; }

}  // namespace gfxtest
