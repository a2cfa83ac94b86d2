#pragma once
// Small helpers shared by the graphics tests.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ScratchFolder.h"
#include "TBitmap.h"

namespace gfxtest {

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
