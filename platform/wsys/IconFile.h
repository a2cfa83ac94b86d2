#pragma once
// Icon files (.ico): a directory of pictures of several sizes. Each picture
// is a device-independent bitmap of 32 bits (colour and opacity) or 24 bits
// (colour, with the 1-bit mask saying what is transparent). Reading checks
// every size and offset against the bytes it was given and refuses pictures
// larger than 256 x 256, so a damaged or hostile file costs nothing.

#include <cstdint>
#include <span>
#include <vector>

#include "Icons.h"

// The pictures in file order; EInvalidGraphic when the file is not a
// readable icon file.
std::vector<IconPixels> ReadIconFile(std::span<const std::uint8_t> data);
// An icon file of 32-bit pictures (each with its mask); every picture must
// be 1 to 256 pixels on a side.
std::vector<std::uint8_t> WriteIconFile(const std::vector<IconPixels>& images);
