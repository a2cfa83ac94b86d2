#include "FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "Exceptions.h"

struct FaceRef {
    FT_Face face = nullptr;
    bool embolden = false;  // bold asked for, the face is not bold
    bool oblique = false;   // italic asked for, the face is upright
};

namespace {

// A face file as fontconfig names it, with what it offers.
struct FaceMatch {
    std::string file;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    std::string family;
};

// Height used when a font's height is 0 ("default"): 10 points.
constexpr int kDefaultHeight = -13;
// Heights beyond this are drawn at this size; larger glyphs only cost memory.
constexpr int kMaxPixelHeight = 1024;
// Shear of a synthesised italic (about 12 degrees), 16.16 fixed point.
constexpr FT_Fixed kObliqueShear = 0x3800;

class Engine {
public:
    static Engine& Get() {
        static Engine engine;
        return engine;
    }

    ~Engine() {
        fonts_.clear();
        fallbacks_.clear();
        for (auto& [key, face] : faces_) FT_Done_Face(face);
        FT_Done_FreeType(library_);
        // Without it fontconfig's configuration stays allocated at exit.
        FcFini();
    }

    FontInstance& Font(const TFont& font) {
        const auto key = std::make_tuple(LowerCase(font.Name()), font.Height(),
                                         font.Style() & (fsBold | fsItalic));
        auto it = fonts_.find(key);
        if (it == fonts_.end())
            it = fonts_.emplace(key, std::make_unique<FontInstance>(font.Name(), font.Height(), font.Style()))
                     .first;
        return *it->second;
    }

    // The face for a family (empty: the default face) or, with `lang`, the
    // preferred face for that language.
    std::unique_ptr<FaceRef> Resolve(const std::string& familyUtf8, const char* lang, bool bold,
                                     bool italic, std::string* familyOut = nullptr) {
        FcPattern* pattern = FcPatternCreate();
        if (!familyUtf8.empty())
            FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
        if (lang) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
        auto result = Match(pattern, bold, italic);
        if (!result) return nullptr;
        if (familyOut) *familyOut = result->family;
        return MakeRef(*result, bold, italic);
    }

    // Any installed face that has the character, or null.
    FaceRef* FallbackFor(char32_t c, bool bold, bool italic) {
        const auto key = std::make_tuple(c, bold, italic);
        auto it = fallbacks_.find(key);
        if (it != fallbacks_.end()) return it->second.get();
        FcPattern* pattern = FcPatternCreate();
        FcCharSet* charset = FcCharSetCreate();
        FcCharSetAddChar(charset, c);
        FcPatternAddCharSet(pattern, FC_CHARSET, charset);
        FcCharSetDestroy(charset);
        std::unique_ptr<FaceRef> ref;
        if (auto match = Match(pattern, bold, italic)) {
            ref = MakeRef(*match, bold, italic);
            if (ref && FT_Get_Char_Index(ref->face, c) == 0) ref.reset();
        }
        return fallbacks_.emplace(key, std::move(ref)).first->second.get();
    }

private:
    Engine() {
        if (!FcInit()) throw EOutOfResources("Cannot initialise fontconfig");
        if (FT_Init_FreeType(&library_) != 0) throw EOutOfResources("Cannot initialise FreeType");
    }

    // Takes ownership of `pattern`.
    std::optional<FaceMatch> Match(FcPattern* pattern, bool bold, bool italic) {
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        if (!found) return std::nullopt;
        FaceMatch match;
        FcChar8* text = nullptr;
        if (FcPatternGetString(found, FC_FILE, 0, &text) == FcResultMatch) match.file = reinterpret_cast<char*>(text);
        if (FcPatternGetString(found, FC_FAMILY, 0, &text) == FcResultMatch)
            match.family = reinterpret_cast<char*>(text);
        FcPatternGetInteger(found, FC_INDEX, 0, &match.index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &match.weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &match.slant);
        FcPatternDestroy(found);
        if (match.file.empty()) return std::nullopt;
        return match;
    }

    std::unique_ptr<FaceRef> MakeRef(const FaceMatch& match, bool bold, bool italic) {
        FT_Face face = Face(match.file, match.index);
        if (!face) return nullptr;
        auto ref = std::make_unique<FaceRef>();
        ref->face = face;
        ref->embolden = bold && match.weight < FC_WEIGHT_DEMIBOLD;
        ref->oblique = italic && match.slant == FC_SLANT_ROMAN;
        return ref;
    }

    FT_Face Face(const std::string& file, int index) {
        const auto key = std::make_pair(file, index);
        auto it = faces_.find(key);
        if (it != faces_.end()) return it->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, file.c_str(), index, &face) != 0) return nullptr;
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
        faces_.emplace(key, face);
        return face;
    }

    FT_Library library_ = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces_;
    std::map<std::tuple<AnsiString, int, unsigned>, std::unique_ptr<FontInstance>> fonts_;
    std::map<std::tuple<char32_t, bool, bool>, std::unique_ptr<FaceRef>> fallbacks_;
};

int Round(double v) { return int(std::lround(v)); }

}  // namespace

FontInstance::FontInstance(const AnsiString& name, int height, TFontStyles style) {
    Engine& engine = Engine::Get();
    const bool bold = style & fsBold, italic = style & fsItalic;
    bold_ = bold;
    italic_ = italic;
    primary_ = engine.Resolve(AnsiToUtf8(name), nullptr, bold, italic, &familyName_);
    if (!primary_) primary_ = engine.Resolve("sans-serif", nullptr, bold, italic, &familyName_);
    if (!primary_) throw EOutOfResources("No font is installed");
    cjk_ = engine.Resolve("sans-serif", "zh-cn", bold, italic);

    const FT_Face face = primary_->face;
    const double upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    double winAscent = face->ascender, winDescent = -face->descender;
    double avgWidth = 0, strikeOut = 0, strikeSize = 0;
    // The OS/2 table holds the metrics the platform sizes its fonts by.
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            winAscent = os2->usWinAscent;
            winDescent = os2->usWinDescent;
        }
        avgWidth = os2->xAvgCharWidth;
        strikeOut = os2->yStrikeoutPosition;
        strikeSize = os2->yStrikeoutSize;
    }
    const double cellUnits = winAscent + winDescent > 0 ? winAscent + winDescent : upem;

    if (height == 0) height = kDefaultHeight;
    height = std::clamp(height, -kMaxPixelHeight, kMaxPixelHeight);
    double em;
    int cell;
    if (height > 0) {  // cell height: ascent + descent
        cell = height;
        em = height * upem / cellUnits;
    } else {  // character height: the em size
        em = -height;
        cell = Round(cellUnits * em / upem);
    }
    const double scale = em / upem;
    emSize26_6_ = std::max<std::int64_t>(1, std::llround(em * 64));
    ascent_ = std::min(cell, Round(winAscent * scale));
    descent_ = std::max(0, cell - ascent_);

    const double thickness = strikeSize > 0 ? strikeSize : face->underline_thickness;
    lineThickness_ = std::max(1, Round(thickness * scale));
    underlineOffset_ = std::clamp(Round(-face->underline_position * scale), 1, std::max(1, descent_ - lineThickness_ + 1));
    strikeOutOffset_ = strikeOut > 0 ? Round(strikeOut * scale) : std::max(1, ascent_ / 3);
    aveCharWidth_ = avgWidth > 0 ? Round(avgWidth * scale) : 0;
    if (aveCharWidth_ <= 0) aveCharWidth_ = std::max(1, Glyph(U'x').Advance);
}

FontInstance::~FontInstance() = default;

const GlyphImage& FontInstance::Glyph(char32_t c) {
    auto it = glyphs_.find(c);
    if (it == glyphs_.end()) it = glyphs_.emplace(c, Render(c)).first;
    return it->second;
}

GlyphImage FontInstance::Render(char32_t c) {
    GlyphImage glyph;
    // Control characters take no room and show nothing.
    if (c < 0x20 || c == 0x7F) return glyph;

    FaceRef* ref = primary_.get();
    FT_UInt index = FT_Get_Char_Index(ref->face, c);
    if (index == 0 && cjk_) {
        if (FT_UInt i = FT_Get_Char_Index(cjk_->face, c)) ref = cjk_.get(), index = i;
    }
    if (index == 0) {
        if (FaceRef* other = Engine::Get().FallbackFor(c, bold_, italic_)) {
            ref = other;
            index = FT_Get_Char_Index(other->face, c);
        }
    }
    glyph.Found = index != 0;

    FT_Face face = ref->face;
    if (FT_Set_Char_Size(face, 0, FT_F26Dot6(emSize26_6_), 72, 72) != 0) return glyph;
    FT_Matrix shear{0x10000, ref->oblique ? kObliqueShear : 0, 0, 0x10000};
    FT_Set_Transform(face, &shear, nullptr);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0) return glyph;
    if (ref->embolden) FT_GlyphSlot_Embolden(face->glyph);
    glyph.Advance = int((face->glyph->advance.x + 32) >> 6);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return glyph;

    const FT_Bitmap& bitmap = face->glyph->bitmap;
    glyph.Left = face->glyph->bitmap_left;
    glyph.Top = face->glyph->bitmap_top;
    glyph.Width = int(bitmap.width);
    glyph.Height = int(bitmap.rows);
    glyph.Coverage.resize(std::size_t(glyph.Width) * std::size_t(glyph.Height));
    for (int y = 0; y < glyph.Height; ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        std::uint8_t* out = glyph.Coverage.data() + std::size_t(y) * std::size_t(glyph.Width);
        for (int x = 0; x < glyph.Width; ++x)
            out[x] = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255
                                                             : row[x];
    }
    return glyph;
}

FontInstance& FontFor(const TFont& font) { return Engine::Get().Font(font); }
