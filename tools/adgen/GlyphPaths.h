#pragma once
// Text as outlines: each character's glyph is taken from an installed font
// (a Latin face for ASCII, a Chinese face for the rest) and turned into path
// contours in twips, so the banners carry their text as shapes.

#include <memory>
#include <string>

#include "SwfWriter.h"

namespace adgen {

class GlyphPaths {
public:
    GlyphPaths();
    ~GlyphPaths();
    GlyphPaths(const GlyphPaths&) = delete;
    GlyphPaths& operator=(const GlyphPaths&) = delete;

    // The outline of UTF-8 `text` set at `pixelSize` pixels per em, starting
    // at `x` twips with its baseline at `baseline` twips. Adds `tracking`
    // twips between characters.
    Path Text(const std::string& text, double pixelSize, int x, int baseline, int tracking = 0);
    // The advance width of the same text, in twips.
    int Width(const std::string& text, double pixelSize, int tracking = 0);

private:
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
};

}  // namespace adgen
