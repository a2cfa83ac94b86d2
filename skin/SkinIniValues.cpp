#include "SkinIniValues.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "Exceptions.h"
#include "SkinKeyTable.h"
#include "SysUtils.h"

namespace {

// A word and the value it stands for; the first entry of a table is also the
// word written for that value.
template <class T>
struct WordValue {
    const char* word;
    T value;
};

template <class T>
T ValueFromWord(std::span<const WordValue<T>> table, std::string_view word, T otherWord) {
    for (const auto& entry : table)
        if (word == entry.word) return entry.value;
    return otherWord;
}

template <class T>
const char* WordOfValue(std::span<const WordValue<T>> table, T value) {
    for (const auto& entry : table)
        if (entry.value == value) return entry.word;
    return table.front().word;
}

constexpr std::array<WordValue<SkinStretchKind>, 3> kStretchWords{{
    {"stfull", SkinStretchKind::Full},
    {"sthorz", SkinStretchKind::Horz},
    {"stvert", SkinStretchKind::Vert},
}};

constexpr std::array<WordValue<SkinImageEffect>, 6> kEffectWords{{
    {"iebrightness", SkinImageEffect::Brightness},
    {"iedarkness", SkinImageEffect::Darkness},
    {"iegrayscale", SkinImageEffect::Grayscale},
    {"ienoise", SkinImageEffect::Noise},
    {"iesplitblur", SkinImageEffect::SplitBlur},
    {"ieinvert", SkinImageEffect::Invert},
}};

constexpr std::array<WordValue<SkinMorphKind>, 7> kMorphWords{{
    {"mkdefault", SkinMorphKind::Default},
    {"mkgradient", SkinMorphKind::Gradient},
    {"mkleftgradient", SkinMorphKind::LeftGradient},
    {"mkrightgradient", SkinMorphKind::RightGradient},
    {"mkleftslide", SkinMorphKind::LeftSlide},
    {"mkrightslide", SkinMorphKind::RightSlide},
    {"mkpush", SkinMorphKind::Push},
}};

constexpr std::array<WordValue<SkinCommand>, 7> kCommandWords{{
    {"cmclose", SkinCommand::Close},
    {"cmmaximize", SkinCommand::Maximize},
    {"cmminimize", SkinCommand::Minimize},
    {"cmsysmenu", SkinCommand::SysMenu},
    {"cmdefault", SkinCommand::Default},
    {"cmrollup", SkinCommand::RollUp},
    {"cmminimizetotray", SkinCommand::MinimizeToTray},
}};

// "tarightjustify" is only ever written: on reading, every word that is not
// one of the other two means right.
constexpr std::array<WordValue<SkinAlignment>, 3> kAlignmentWords{{
    {"taleftjustify", SkinAlignment::LeftJustify},
    {"tacenter", SkinAlignment::Center},
    {"tarightjustify", SkinAlignment::RightJustify},
}};

constexpr std::array<WordValue<TFontStyles>, 4> kFontStyleWords{{
    {"fsbold", fsBold},
    {"fsitalic", fsItalic},
    {"fsunderline", fsUnderline},
    {"fsstrikeout", fsStrikeOut},
}};

// The N numbers of a comma-separated list; see ParseRectValue.
template <std::size_t N>
std::array<int, N> ParseNumberList(std::string_view text) {
    std::array<AnsiString, N> digits;
    std::size_t slot = 0;
    for (const char c : text) {
        if (c == ',') {
            // Numbers beyond the last slot are ignored rather than stored.
            if (++slot == N) break;
        } else if (c >= '0' && c <= '9') {
            digits[slot] += c;
        }
    }
    std::array<int, N> values{};
    for (std::size_t i = 0; i < N; ++i) values[i] = StrToInt(digits[i]);
    return values;
}

[[noreturn]] void RaiseBadValue(const char* what, std::string_view section, std::string_view key,
                                std::string_view value, const Exception& cause) {
    throw EConvertError("Skin value [" + AnsiString(section) + "] " + AnsiString(key) + "=" + AnsiString(value) +
                        " is not a valid " + what + ": " + cause.Message());
}

// How many entries of a counted list to read. Every entry past the last
// numbered key of the section is empty, so reading stops one entry after it:
// all present entries are read, a reader still sees that the list claims more
// than the section holds, and a count of millions costs nothing.
int ListLength(const TMemIniFile& ini, std::string_view section, std::string_view countKey) {
    const int count = ini.ReadInteger(section, countKey, 0);
    if (count <= 0) return 0;
    TStringList keys;
    ini.ReadSection(section, keys);
    std::int64_t last = -1;
    for (int k = 0; k < keys.Count(); ++k) {
        int index = 0;
        if (TryStrToInt(keys[k], index) && index >= 0 && index < count && IntToStr(index) == keys[k])
            last = std::max<std::int64_t>(last, index);
    }
    return static_cast<int>(std::min<std::int64_t>(count, last + 2));
}

}  // namespace

// ---- words ----

SkinStretchKind StretchKindFromWord(std::string_view word) {
    if (word == "stfull") return SkinStretchKind::Full;
    if (word == "stvert") return SkinStretchKind::Vert;
    return SkinStretchKind::Horz;
}

const char* StretchKindWord(SkinStretchKind kind) { return WordOfValue<SkinStretchKind>(kStretchWords, kind); }

SkinImageEffect ImageEffectFromWord(std::string_view word) {
    return ValueFromWord<SkinImageEffect>(kEffectWords, word, SkinImageEffect::Grayscale);
}

SkinMorphKind MorphKindFromWord(std::string_view word) {
    return ValueFromWord<SkinMorphKind>(kMorphWords, word, SkinMorphKind::Default);
}

const char* MorphKindWord(SkinMorphKind kind) { return WordOfValue<SkinMorphKind>(kMorphWords, kind); }

SkinCommand CommandFromWord(std::string_view word) {
    return ValueFromWord<SkinCommand>(kCommandWords, word, SkinCommand::MinimizeToTray);
}

const char* CommandWord(SkinCommand command) { return WordOfValue<SkinCommand>(kCommandWords, command); }

SkinAlignment AlignmentFromWord(std::string_view word) {
    if (word == "taleftjustify") return SkinAlignment::LeftJustify;
    if (word == "tacenter") return SkinAlignment::Center;
    return SkinAlignment::RightJustify;
}

const char* AlignmentWord(SkinAlignment alignment) {
    return WordOfValue<SkinAlignment>(kAlignmentWords, alignment);
}

TFontStyles FontStyleFromText(std::string_view text) {
    TFontStyles style = 0;
    for (const auto& entry : kFontStyleWords)
        if (text.find(entry.word) != std::string_view::npos) style |= entry.value;
    return style;
}

AnsiString FontStyleText(TFontStyles style) {
    AnsiString text;
    for (const auto& entry : kFontStyleWords) {
        if ((style & entry.value) == 0) continue;
        if (!text.empty()) text += ',';
        text += entry.word;
    }
    return text;
}

// ---- number lists ----

TRect ParseRectValue(std::string_view text) {
    const auto v = ParseNumberList<4>(text);
    return {v[0], v[1], v[2], v[3]};
}

TPoint ParsePointValue(std::string_view text) {
    const auto v = ParseNumberList<2>(text);
    return {v[0], v[1]};
}

// ---- readers and writers ----

int IniReadInteger(const TMemIniFile& ini, std::string_view section, std::string_view key, int defaultValue) {
    return ini.ReadInteger(section, key, defaultValue);
}

void IniWriteInteger(TMemIniFile& ini, std::string_view section, std::string_view key, int value) {
    ini.WriteInteger(section, key, value);
}

TColor IniReadColor(const TMemIniFile& ini, std::string_view section, std::string_view key, TColor defaultValue) {
    return static_cast<TColor>(ini.ReadInteger(section, key, static_cast<std::int32_t>(defaultValue)));
}

void IniWriteColor(TMemIniFile& ini, std::string_view section, std::string_view key, TColor value) {
    ini.WriteInteger(section, key, static_cast<std::int32_t>(value));
}

bool IniReadBool(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return ini.ReadInteger(section, key, 0) == 1;
}

void IniWriteBool(TMemIniFile& ini, std::string_view section, std::string_view key, bool value) {
    ini.WriteInteger(section, key, value ? 1 : 0);
}

AnsiString IniReadString(const TMemIniFile& ini, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    return ini.ReadString(section, key, defaultValue);
}

void IniWriteString(TMemIniFile& ini, std::string_view section, std::string_view key, std::string_view value) {
    ini.WriteString(section, key, value);
}

TRect IniReadRect(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    const AnsiString text = ini.ReadString(section, key, "0,0,0,0");
    try {
        return ParseRectValue(text);
    } catch (const EConvertError& e) {
        RaiseBadValue("rectangle", section, key, text, e);
    }
}

void IniWriteRect(TMemIniFile& ini, std::string_view section, std::string_view key, const TRect& rect) {
    ini.WriteString(section, key,
                    IntToStr(rect.Left) + "," + IntToStr(rect.Top) + "," + IntToStr(rect.Right) + "," +
                        IntToStr(rect.Bottom));
}

TPoint IniReadPoint(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    const AnsiString text = ini.ReadString(section, key, "0,0");
    try {
        return ParsePointValue(text);
    } catch (const EConvertError& e) {
        RaiseBadValue("point", section, key, text, e);
    }
}

void IniWritePoint(TMemIniFile& ini, std::string_view section, std::string_view key, const TPoint& point) {
    ini.WriteString(section, key, IntToStr(point.X) + "," + IntToStr(point.Y));
}

TFontStyles IniReadFontStyle(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return FontStyleFromText(ini.ReadString(section, key, ""));
}

void IniWriteFontStyle(TMemIniFile& ini, std::string_view section, std::string_view key, TFontStyles style) {
    ini.WriteString(section, key, FontStyleText(style));
}

SkinAlignment IniReadAlignment(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return AlignmentFromWord(ini.ReadString(section, key, "tacenter"));
}

void IniWriteAlignment(TMemIniFile& ini, std::string_view section, std::string_view key, SkinAlignment alignment) {
    ini.WriteString(section, key, AlignmentWord(alignment));
}

SkinStretchKind IniReadStretchKind(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return StretchKindFromWord(ini.ReadString(section, key, "stfull"));
}

void IniWriteStretchKind(TMemIniFile& ini, std::string_view section, std::string_view key, SkinStretchKind kind) {
    ini.WriteString(section, key, StretchKindWord(kind));
}

SkinMorphKind IniReadMorphKind(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return MorphKindFromWord(ini.ReadString(section, key, "mkdefault"));
}

void IniWriteMorphKind(TMemIniFile& ini, std::string_view section, std::string_view key, SkinMorphKind kind) {
    ini.WriteString(section, key, MorphKindWord(kind));
}

SkinCommand IniReadCommand(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return CommandFromWord(ini.ReadString(section, key, "cmdefault"));
}

void IniWriteCommand(TMemIniFile& ini, std::string_view section, std::string_view key, SkinCommand command) {
    ini.WriteString(section, key, CommandWord(command));
}

SkinImageEffect IniReadImageEffect(const TMemIniFile& ini, std::string_view section, std::string_view key) {
    return ImageEffectFromWord(ini.ReadString(section, key, "iebrightness"));
}

void IniReadList(const TMemIniFile& ini, std::string_view section, std::string_view key, TStrings& list) {
    const int count = ListLength(ini, section, AnsiString(key) + "count");
    for (int i = 0; i < count; ++i) list.Add(ini.ReadString(section, IntToStr(i), ""));
}

// ---- directory sections ----

SkinDirectoryEntry SplitDirectoryEntry(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return {};
    return {AnsiString(text.substr(0, colon)), AnsiString(text.substr(colon + 1))};
}

std::vector<SkinDirectoryEntry> IniReadDirectory(const TMemIniFile& ini, std::string_view section) {
    const int count = ListLength(ini, section, "count");
    std::vector<SkinDirectoryEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) entries.push_back(SplitDirectoryEntry(ini.ReadString(section, IntToStr(i), "")));
    return entries;
}

// ---- FORMINFO ----

namespace {

const SkinKeyTable<SkinFormInfo>& FormInfoKeys() {
    using F = SkinFormInfo;
    static const auto table = SkinKeyTable<F>()
                                  .Point("lefttoppoint", &F::lefttoppoint)
                                  .Point("righttoppoint", &F::righttoppoint)
                                  .Point("leftbottompoint", &F::leftbottompoint)
                                  .Point("rightbottompoint", &F::rightbottompoint)
                                  .Rect("clientrect", &F::clientrect)
                                  .Integer("bgpictureindex", &F::bgpictureindex, -1)
                                  .Integer("mdibgpictureindex", &F::mdibgpictureindex, -1)
                                  .Boolean("leftstretch", &F::leftstretch)
                                  .Boolean("rightstretch", &F::rightstretch)
                                  .Boolean("topstretch", &F::topstretch)
                                  .Boolean("bottomstretch", &F::bottomstretch)
                                  .Boolean("stretcheffect", &F::stretcheffect)
                                  .StretchKind("stretchtype", &F::stretchtype)
                                  .Boolean("mdibgstretcheffect", &F::mdibgstretcheffect)
                                  .StretchKind("mdibgstretchtype", &F::mdibgstretchtype)
                                  .Rect("maskrectarea", &F::maskrectarea)
                                  .Point("hittestlefttoppoint", &F::hittestlefttoppoint)
                                  .Point("hittestrighttoppoint", &F::hittestrighttoppoint)
                                  .Point("hittestleftbottompoint", &F::hittestleftbottompoint)
                                  .Point("hittestrightbottompoint", &F::hittestrightbottompoint)
                                  .Rect("buttonsrect", &F::buttonsrect)
                                  .Rect("captionrect", &F::captionrect)
                                  .Integer("buttonsoffset", &F::buttonsoffset, 0)
                                  .Boolean("buttonsinleft", &F::buttonsinleft)
                                  .Boolean("mainmenupopupup", &F::mainmenupopupup)
                                  .Integer("borderwidth", &F::borderwidth, 0)
                                  .Integer("formminwidth", &F::formminwidth, 0)
                                  .Boolean("mditabstransparent", &F::mditabstransparent)
                                  .Boolean("mainmenubartransparent", &F::mainmenubartransparent)
                                  .Boolean("autorenderinginactiveimage", &F::autorenderinginactiveimage)
                                  .ImageEffect("inactiveeffect", &F::inactiveeffect);
    return table;
}

bool PointIsEmpty(const TPoint& p) { return p.X == 0 || p.Y == 0; }

}  // namespace

void SkinFormInfo::ReadFromIni(const TMemIniFile& ini) { FormInfoKeys().Read(*this, ini, "FORMINFO"); }

std::vector<SkinKeyInfo> SkinFormInfo::Keys() {
    std::vector<SkinKeyInfo> keys;
    FormInfoKeys().AppendInfo(keys);
    return keys;
}

void NormalizeFormInfo(SkinFormInfo& info, std::string_view maskFileName) {
    if (!maskFileName.empty()) {
        const TRect& c = info.clientrect;
        TRect& m = info.maskrectarea;
        if (IsRectEmpty(m)) {
            m = c;
        } else {
            m = {std::min(m.Left, c.Left), std::min(m.Top, c.Top), std::max(m.Right, c.Right),
                 std::max(m.Bottom, c.Bottom)};
        }
        if (PointIsEmpty(info.hittestlefttoppoint)) info.hittestlefttoppoint = info.lefttoppoint;
        if (PointIsEmpty(info.hittestrighttoppoint)) info.hittestrighttoppoint = info.righttoppoint;
        if (PointIsEmpty(info.hittestleftbottompoint)) info.hittestleftbottompoint = info.leftbottompoint;
        if (PointIsEmpty(info.hittestrightbottompoint)) info.hittestrightbottompoint = info.rightbottompoint;
    }

    // A right-bottom point on the left-top point's column or row means no
    // nine-part frame: the corner points stay as the skin gives them.
    if (info.rightbottompoint.X == info.lefttoppoint.X || info.rightbottompoint.Y == info.lefttoppoint.Y) return;

    const TRect& c = info.clientrect;
    info.lefttoppoint = {std::max(info.lefttoppoint.X, c.Left), std::max(info.lefttoppoint.Y, c.Top)};
    info.righttoppoint = {std::min(info.righttoppoint.X, c.Right), std::max(info.righttoppoint.Y, c.Top)};
    info.leftbottompoint = {std::max(info.leftbottompoint.X, c.Left), std::min(info.leftbottompoint.Y, c.Bottom)};
    info.rightbottompoint = {std::min(info.rightbottompoint.X, c.Right), std::min(info.rightbottompoint.Y, c.Bottom)};
}
