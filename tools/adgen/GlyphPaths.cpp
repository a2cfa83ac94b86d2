#include "GlyphPaths.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <stdexcept>
#include <vector>

namespace adgen {

namespace {

std::u32string DecodeUtf8(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < length && i + k < text.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += length;
    }
    return out;
}

std::string FontFile(const char* pattern) {
    FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, query, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(query);
    if (file.empty()) throw std::runtime_error(std::string("no font for ") + pattern);
    return file;
}

// Collects FreeType's outline callbacks into a path, in twips.
struct OutlineSink {
    Path* path;
    double originX, baseline;  // twips
    double scale;              // twips per 26.6 unit
    double lastX = 0, lastY = 0;

    int X(const FT_Vector* v) const { return static_cast<int>(std::lround(originX + v->x * scale)); }
    int Y(const FT_Vector* v) const { return static_cast<int>(std::lround(baseline - v->y * scale)); }
};

int MoveTo(const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    s.path->Close();
    s.path->MoveTo(s.X(to), s.Y(to));
    s.lastX = to->x;
    s.lastY = to->y;
    return 0;
}
int LineTo(const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    s.path->LineTo(s.X(to), s.Y(to));
    s.lastX = to->x;
    s.lastY = to->y;
    return 0;
}
int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    s.path->CurveTo(s.X(control), s.Y(control), s.X(to), s.Y(to));
    s.lastX = to->x;
    s.lastY = to->y;
    return 0;
}
// Fonts with cubic outlines: one quadratic per cubic is close enough at banner sizes.
int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    const FT_Vector control{static_cast<FT_Pos>((3 * (c1->x + c2->x) - s.lastX - to->x) / 4),
                            static_cast<FT_Pos>((3 * (c1->y + c2->y) - s.lastY - to->y) / 4)};
    return ConicTo(&control, to, user);
}

}  // namespace

struct GlyphPaths::Fonts {
    FT_Library library = nullptr;
    FT_Face latin = nullptr;
    FT_Face chinese = nullptr;

    ~Fonts() {
        if (latin) FT_Done_Face(latin);
        if (chinese) FT_Done_Face(chinese);
        if (library) FT_Done_FreeType(library);
        FcFini();  // fontconfig's caches, so a leak checker sees a clean exit
    }

    FT_Face FaceFor(char32_t c) const { return c < 0x80 ? latin : chinese; }
};

GlyphPaths::GlyphPaths() : fonts_(std::make_unique<Fonts>()) {
    if (FT_Init_FreeType(&fonts_->library) != 0) throw std::runtime_error("FreeType failed");
    if (FT_New_Face(fonts_->library, FontFile("Liberation Sans:bold").c_str(), 0, &fonts_->latin) != 0 ||
        FT_New_Face(fonts_->library, FontFile("WenQuanYi Micro Hei").c_str(), 0, &fonts_->chinese) != 0) {
        throw std::runtime_error("cannot open the banner fonts");
    }
}

GlyphPaths::~GlyphPaths() = default;

Path GlyphPaths::Text(const std::string& text, double pixelSize, int x, int baseline, int tracking) {
    Path path;
    double penX = x;
    const double scale = 20.0 / 64.0;  // 26.6 pixels to twips
    for (char32_t c : DecodeUtf8(text)) {
        FT_Face face = fonts_->FaceFor(c);
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
        if (FT_Load_Char(face, c, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) continue;
        OutlineSink sink{&path, penX, static_cast<double>(baseline), scale};
        FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
        FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
        path.Close();
        penX += face->glyph->advance.x * scale + tracking;
    }
    return path;
}

int GlyphPaths::Width(const std::string& text, double pixelSize, int tracking) {
    double width = 0;
    int count = 0;
    for (char32_t c : DecodeUtf8(text)) {
        FT_Face face = fonts_->FaceFor(c);
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
        if (FT_Load_Char(face, c, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) continue;
        width += face->glyph->advance.x * 20.0 / 64.0;
        ++count;
    }
    return static_cast<int>(std::lround(width + tracking * std::max(0, count - 1)));
}

}  // namespace adgen
