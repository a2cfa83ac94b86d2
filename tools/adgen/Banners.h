#pragma once
// The three sample banners of the program, 300 x 50 pixels each, animated,
// with the program's name and slogans drawn as shapes over backgrounds made
// of gradients, a lossless bitmap and a JPEG picture.

#include "GlyphPaths.h"
#include "SwfWriter.h"

namespace adgen {

Bytes GradientBanner(GlyphPaths& glyphs);  // shapes, gradients and lines; compressed
Bytes BitmapBanner(GlyphPaths& glyphs);    // lossless bitmaps, word-by-word slogan; uncompressed
Bytes PhotoBanner(GlyphPaths& glyphs);     // JPEG pictures, zooming title, scrolling slogan; compressed

}  // namespace adgen
