#pragma once
// The value encodings of a skin description and the readers and writers that
// convert between their text and their values. A skin is an INI file: the
// sections VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS describe
// the skin as a whole, and every record has a section of its own.
//
// Word values ("stfull", "fsbold", "tacenter", ...) are compared
// case-sensitively; section and key names are not (the INI reader folds them).
//
// Lenient values (integers, colours, booleans, words) fall back to the key's
// default when missing or malformed. Rects and points do not: a value that
// yields an empty number raises EConvertError naming the section, the key and
// the text, so that the skin loader can stop and report the bad skin.

#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "Geometry.h"
#include "IniFiles.h"
#include "TColor.h"
#include "TFont.h"
#include "TStrings.h"

// ---- word-valued kinds, with the numbers records store and drawing tests ----

// How a stretched picture part is stretched: in both directions, or along one.
enum class SkinStretchKind : int { Full = 0, Horz = 1, Vert = 2 };

// The colour effect that computes an inactive frame from the active one.
enum class SkinImageEffect : int { Brightness = 0, Darkness = 1, Grayscale = 2, Noise = 3, SplitBlur = 4, Invert = 5 };

// The blend that animates a change between two images of an object or control.
enum class SkinMorphKind : int {
    Default = 0,
    Gradient = 1,
    LeftGradient = 2,
    RightGradient = 3,
    LeftSlide = 4,
    RightSlide = 5,
    Push = 6
};

// What a caption button or an animated frame object does when pressed.
enum class SkinCommand : int {
    Close = 0,
    Maximize = 1,
    Minimize = 2,
    SysMenu = 3,
    Default = 4,
    RollUp = 5,
    MinimizeToTray = 6
};

// Text alignment, numbered as the platform numbers its alignments
// (left justify 0, right justify 1, centre 2), so a control can convert by cast.
enum class SkinAlignment : int { LeftJustify = 0, RightJustify = 1, Center = 2 };

// The value types of the format; a record's key table names each key's type,
// which lets tools and tests build or check a section without knowing the class.
enum class SkinValueType {
    Integer,
    Colour,
    Boolean,
    String,
    Point,
    Rect,
    FontStyle,
    Alignment,
    StretchKind,
    MorphKind,
    Command,
    ImageEffect
};

// One key of a record or section, in reading order.
struct SkinKeyInfo {
    const char* key;
    SkinValueType type;
};

// ---- conversions between words and values ----

SkinStretchKind StretchKindFromWord(std::string_view word);
const char* StretchKindWord(SkinStretchKind kind);
SkinImageEffect ImageEffectFromWord(std::string_view word);
SkinMorphKind MorphKindFromWord(std::string_view word);
const char* MorphKindWord(SkinMorphKind kind);
SkinCommand CommandFromWord(std::string_view word);
const char* CommandWord(SkinCommand command);
SkinAlignment AlignmentFromWord(std::string_view word);
const char* AlignmentWord(SkinAlignment alignment);
// Each style flag is set when its word occurs anywhere in the text.
TFontStyles FontStyleFromText(std::string_view text);
// The words of the set flags, in the order bold, italic, underline, strike-out.
AnsiString FontStyleText(TFontStyles style);

// ---- number lists ----

// Splits the text at commas into four (rect) or two (point) numbers. Only the
// digits 0-9 count; blanks, minus signs and letters are skipped, so values are
// never negative. Numbers beyond the slots of the value are ignored. A slot
// left empty, or a number too large for an int, raises EConvertError
// "'%s' is not a valid integer value".
TRect ParseRectValue(std::string_view text);
TPoint ParsePointValue(std::string_view text);

// ---- readers and writers: (description, section, key) ----

// Integers are decimal or hexadecimal ("0x", "0X", "$"); missing, empty or
// malformed text gives the default. Written as decimal.
int IniReadInteger(const TMemIniFile& ini, std::string_view section, std::string_view key, int defaultValue);
void IniWriteInteger(TMemIniFile& ini, std::string_view section, std::string_view key, int value);

// Colours are integers keeping their 32-bit pattern. They are written as signed
// decimal, because the integer reader refuses decimal text above 2^31 - 1 and a
// system colour (0xFF0000nn) would otherwise not read back.
TColor IniReadColor(const TMemIniFile& ini, std::string_view section, std::string_view key, TColor defaultValue);
void IniWriteColor(TMemIniFile& ini, std::string_view section, std::string_view key, TColor value);

// True only when the integer is exactly 1 ("01" counts, "2" and "true" do not).
bool IniReadBool(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteBool(TMemIniFile& ini, std::string_view section, std::string_view key, bool value);

AnsiString IniReadString(const TMemIniFile& ini, std::string_view section, std::string_view key,
                         std::string_view defaultValue);
void IniWriteString(TMemIniFile& ini, std::string_view section, std::string_view key, std::string_view value);

// Default "0,0,0,0" / "0,0". A malformed value raises EConvertError whose
// message names the section, the key and the value.
TRect IniReadRect(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteRect(TMemIniFile& ini, std::string_view section, std::string_view key, const TRect& rect);
TPoint IniReadPoint(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWritePoint(TMemIniFile& ini, std::string_view section, std::string_view key, const TPoint& point);

TFontStyles IniReadFontStyle(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteFontStyle(TMemIniFile& ini, std::string_view section, std::string_view key, TFontStyles style);

// Default "tacenter"; any word other than "taleftjustify" and "tacenter" is right.
SkinAlignment IniReadAlignment(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteAlignment(TMemIniFile& ini, std::string_view section, std::string_view key, SkinAlignment alignment);

// Default "stfull"; any unlisted word is Horz.
SkinStretchKind IniReadStretchKind(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteStretchKind(TMemIniFile& ini, std::string_view section, std::string_view key, SkinStretchKind kind);

// Default "mkdefault"; any unlisted word is Default.
SkinMorphKind IniReadMorphKind(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteMorphKind(TMemIniFile& ini, std::string_view section, std::string_view key, SkinMorphKind kind);

// Default "cmdefault"; any unlisted word is MinimizeToTray.
SkinCommand IniReadCommand(const TMemIniFile& ini, std::string_view section, std::string_view key);
void IniWriteCommand(TMemIniFile& ini, std::string_view section, std::string_view key, SkinCommand command);

// Default "iebrightness"; any unlisted word is Grayscale. Never written.
SkinImageEffect IniReadImageEffect(const TMemIniFile& ini, std::string_view section, std::string_view key);

// Appends the strings of keys "0", "1", ... up to `<key>count` - 1 of the
// section to `list` (which is not cleared). A missing entry appends an empty
// string. Entries past the last numbered key of the section would all be
// empty: only the first of them is appended, so a count of millions neither
// hangs nor exhausts memory, and the list still ends in an empty entry when it
// claims more than the section holds.
void IniReadList(const TMemIniFile& ini, std::string_view section, std::string_view key, TStrings& list);

// ---- directory sections (SKINOBJECTS, SKINCONTROLS) ----

// One entry "name:kind" of a directory section.
struct SkinDirectoryEntry {
    AnsiString name;  // text before the first colon (may be empty)
    AnsiString kind;  // text after it
    friend bool operator==(const SkinDirectoryEntry&, const SkinDirectoryEntry&) = default;
};

// Splits at the first colon; text without a colon gives an empty name and kind.
SkinDirectoryEntry SplitDirectoryEntry(std::string_view text);

// The entries of keys "0" ... `count` - 1 in order, each split at its first
// colon, entries without a colon included (as empty name and kind). As in
// IniReadList, reading stops one entry after the last numbered key.
std::vector<SkinDirectoryEntry> IniReadDirectory(const TMemIniFile& ini, std::string_view section);

// ---- FORMINFO: the geometry of the skinned window frame ----

struct SkinFormInfo {
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect clientrect;
    int bgpictureindex = -1;
    int mdibgpictureindex = -1;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;
    SkinStretchKind stretchtype = SkinStretchKind::Full;
    bool mdibgstretcheffect = false;
    SkinStretchKind mdibgstretchtype = SkinStretchKind::Full;
    TRect maskrectarea;
    TPoint hittestlefttoppoint;
    TPoint hittestrighttoppoint;
    TPoint hittestleftbottompoint;
    TPoint hittestrightbottompoint;
    TRect buttonsrect;
    TRect captionrect;
    int buttonsoffset = 0;
    bool buttonsinleft = false;
    bool mainmenupopupup = false;
    int borderwidth = 0;
    int formminwidth = 0;
    bool mditabstransparent = false;
    bool mainmenubartransparent = false;
    bool autorenderinginactiveimage = false;
    SkinImageEffect inactiveeffect = SkinImageEffect::Brightness;

    // Reads every key of section FORMINFO with its default, in key order.
    void ReadFromIni(const TMemIniFile& ini);
    // The keys in reading order.
    static std::vector<SkinKeyInfo> Keys();

    friend bool operator==(const SkinFormInfo&, const SkinFormInfo&) = default;
};

// Done right after FORMINFO is read. With a mask picture, the mask area grows
// to hold the client rectangle and empty hit-test points take their corner
// points. Unless the right-bottom point shares a column or a row with the
// left-top point, the corner points are then pulled onto the client
// rectangle's edges where they lie inside it.
void NormalizeFormInfo(SkinFormInfo& info, std::string_view maskFileName);
