#pragma once
// The compressed skin format: the .skn container and the payload inside it.
//
// Container (32-bit little-endian integers): the container format number
// (written 3, any value up to 3 accepted), the length N of the compressed
// block, then the block: one zlib stream made at level 9. Bytes after the
// block are not read.
//
// Payload (the inflated block), front to back: the payload format number
// (written 3; 2 carries two extra picture entries after the mask), the three
// frame picture entries (picture, inactivepicture, mask: a flag byte, 0
// followed by a BMP image, anything else meaning "no picture"), the count of
// the picture list and that many BMP images back to back, and finally the
// skin description's lines, each followed by CR LF.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "AnsiString.h"
#include "Streams.h"
#include "TBitmap.h"
#include "TStrings.h"

constexpr std::int32_t kSkinContainerFormat = 3;
constexpr std::int32_t kSkinPayloadFormat = 3;
constexpr std::int64_t kSkinContainerHeaderSize = 8;

// The sections a description needs to be a skin at all.
inline constexpr const char* kRequiredSkinSections[] = {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS",
                                                        "SKINCONTROLS"};

// A skin as the payload carries it: pictures decoded, description as lines.
struct TbsSkinPayload {
    std::int32_t Format = kSkinPayloadFormat;
    // Empty bitmaps stand for "no picture".
    TBitmap Picture;
    TBitmap InactivePicture;
    TBitmap Mask;
    std::vector<std::unique_ptr<TBitmap>> ActivePictures;
    TStringList Description;
};

// Reads the payload that fills `payload` from its first byte. A payload cut
// short raises EReadError, a bad picture EInvalidGraphic, a format number
// above 3 EReadError naming the format. Pictures that together pass the
// skin's pixel limit raise EInvalidGraphic naming `skinName`.
void ReadSkinPayload(std::span<const char> payload, TbsSkinPayload& out, const AnsiString& skinName = AnsiString());

// Writes a payload of format 3.
void WriteSkinPayload(const TbsSkinPayload& payload, TStream& out);

// Builds a payload from the skin description at `path` and the pictures it
// names (relative to the description's directory). Returns false, leaving
// `out` untouched, when the description lacks a required section; a picture
// that cannot be loaded raises its loader's error.
bool BuildSkinPayload(const AnsiString& path, TbsSkinPayload& out);

// The pictures a description names, relative to its directory: the three
// frame pictures (empty names where the key is empty) and the picture list.
struct SkinPictureNames {
    AnsiString picture;
    AnsiString inactivepicture;
    AnsiString mask;
    std::vector<AnsiString> activepictures;
};
class TMemIniFile;
SkinPictureNames ReadSkinPictureNames(const TMemIniFile& ini);
bool HasRequiredSkinSections(const TMemIniFile& ini);
