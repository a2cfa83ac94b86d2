#pragma once
// The faces behind TFont: fontconfig picks the installed face for a font name
// and style (Arial -> Liberation Sans, MS Sans Serif -> DejaVu Sans), FreeType
// renders anti-aliased glyph coverage, and every glyph is rendered once per
// font and kept. Characters the chosen face lacks (Chinese ones in a Latin
// face) come from the CJK face (sans-serif for zh-cn), then from any installed
// face that has them.
//
// Everything here runs on the one GUI thread; nothing is locked.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "TFont.h"

// One rendered character: 8-bit coverage rows, placed relative to the pen
// position on the baseline (Left to the right, Top upwards).
struct GlyphImage {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Advance = 0;
    std::vector<std::uint8_t> Coverage;  // Width * Height bytes, rows top down
    // False when no installed face has the character and the face's
    // "missing character" box was drawn instead.
    bool Found = true;
};

struct FaceRef;  // a loaded face with its synthesis flags (FontEngine.cpp)

// A font resolved to faces at one pixel size.
class FontInstance {
public:
    FontInstance(const AnsiString& name, int height, TFontStyles style);
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int CellHeight() const { return ascent_ + descent_; }
    int AveCharWidth() const { return aveCharWidth_; }
    // Offsets below (underline) and above (strike-out) the baseline, and the
    // line thickness, in pixels.
    int UnderlineOffset() const { return underlineOffset_; }
    int StrikeOutOffset() const { return strikeOutOffset_; }
    int LineThickness() const { return lineThickness_; }
    // The family fontconfig chose for the name (for diagnostics and tests).
    const std::string& FamilyName() const { return familyName_; }

    const GlyphImage& Glyph(char32_t c);
    int Advance(char32_t c) { return Glyph(c).Advance; }

private:
    GlyphImage Render(char32_t c);

    std::unique_ptr<FaceRef> primary_;
    std::unique_ptr<FaceRef> cjk_;
    bool bold_ = false;
    bool italic_ = false;
    std::int64_t emSize26_6_ = 0;  // em size in 1/64 pixel
    int ascent_ = 0;
    int descent_ = 0;
    int aveCharWidth_ = 0;
    int underlineOffset_ = 1;
    int strikeOutOffset_ = 1;
    int lineThickness_ = 1;
    std::string familyName_;
    std::unordered_map<char32_t, GlyphImage> glyphs_;
};

// The shared instance for a font's name, height and bold/italic style.
FontInstance& FontFor(const TFont& font);
