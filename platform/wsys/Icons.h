#pragma once
// Icons: small pictures with an opacity per pixel, shared by the window
// frames, the desktop (window and tray icons) and the message dialogs. A
// handle made here owns its pixels until DestroyIcon; a handle that was
// destroyed, or never made here, is simply not found.

#include <cstdint>
#include <vector>

#include "WinTypes.h"

// Straight (not premultiplied) 0xAARRGGBB pixels, rows top first.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// Null when the pixels are empty or do not fill width x height.
HICON CreateIconFromPixels(IconPixels pixels);
// The pixels of a live icon, or null.
const IconPixels* IconPixelsOf(HICON icon);
// False for a null, unknown or already destroyed handle.
BOOL DestroyIcon(HICON icon);
