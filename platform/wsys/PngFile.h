#pragma once
// Writing pictures as PNG files: bitmaps as 8-bit RGB (screen read-backs that
// people and image tools look at), icons as 8-bit RGBA (the desktop's icon
// theme).

#include <cstdint>
#include <string>
#include <vector>

#include "Icons.h"

class TBitmap;

// False when the file cannot be written.
bool SavePng(const TBitmap& bitmap, const std::string& path);
bool SavePng(const IconPixels& icon, const std::string& path);
// The PNG file image of an icon (empty for an empty icon).
std::vector<std::uint8_t> EncodePng(const IconPixels& icon);
