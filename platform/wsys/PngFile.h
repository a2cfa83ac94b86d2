#pragma once
// Writing a bitmap as a PNG file (8-bit RGB), for screen read-backs that
// people and image tools look at.

#include <string>

class TBitmap;

// False when the file cannot be written.
bool SavePng(const TBitmap& bitmap, const std::string& path);
