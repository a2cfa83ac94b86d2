#include "TColor.h"

#include <array>

namespace {

// The classic "Windows Standard" scheme: grey 3-D faces, navy captions.
constexpr std::array<TColor, COLOR_ENDCOLORS> kSystemPalette = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application work space
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(192, 192, 192),  // 3-D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
    RGB(0, 0, 0),        // (unused index 25)
    RGB(0, 0, 255),      // hot-tracked item
    RGB(16, 132, 208),   // active caption gradient
    RGB(181, 181, 181),  // inactive caption gradient
    RGB(0, 0, 128),      // menu highlight
    RGB(192, 192, 192),  // menu bar
};

}  // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= int(kSystemPalette.size())) return clBlack;
    return kSystemPalette[std::size_t(index)];
}

TColor ColorToRGB(TColor color) {
    return IsSystemColor(color) ? GetSysColor(int(color & 0xFF)) : color;
}

std::uint32_t ColorToPixel(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return 0xFF000000u | (std::uint32_t(GetRValue(rgb)) << 16) |
           (std::uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
}
