#pragma once
// A compressed skin held in memory: the zlib block of one .skn container. It
// is made from a skin directory (CompressIniSkin), read from a .skn file or
// stream, written back as a complete container, and inflated for loading by
// TbsSkinData::LoadStoredSkin.

#include <span>

#include "AnsiString.h"
#include "Classes.h"
#include "Streams.h"

class TbsCompressedStoredSkin : public TComponent {
public:
    explicit TbsCompressedStoredSkin(TComponent* AOwner) : TComponent(AOwner) {}

    const AnsiString& Description() const { return description_; }
    void SetDescription(const AnsiString& text) { description_ = text; }

    // At design time (and not while read from a window definition) setting a
    // path packs that skin description (FileName) or reads that .skn file
    // (CompressedFileName) and keeps only the name part; otherwise the text is
    // just stored.
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& path);
    const AnsiString& CompressedFileName() const { return compressedFileName_; }
    void SetCompressedFileName(const AnsiString& path);

    // True while the block holds no bytes.
    bool IsEmptySkin() const { return block_.Size() == 0; }

    // Packs the skin description at `path` with its pictures at level 9. A
    // description without the required sections changes nothing; a picture
    // that cannot be loaded raises its error and also changes nothing.
    void CompressIniSkin(const AnsiString& path);

    // Reads a .skn container: format number, length N, N bytes of block. The
    // block is emptied first. A file shorter than its 8-byte header, or of a
    // format above 3, leaves it empty. A length that is negative or larger
    // than what follows raises EReadError ("Stream read error") and leaves
    // it empty too, and so does a block longer than any skin can need
    // (kMaxSkinBlockBytes), with an error naming the file.
    void LoadPackedFile(const AnsiString& path);
    // The same from a stream, from its position 0.
    void ReadPacked(TStream& stream);
    // Writes a complete container: 3, the block length, the block.
    void WritePacked(TStream& stream) const;

    // Inflates the whole block into `stream`. A corrupt block raises
    // EDecompressionError ("compression error"); with `maxBytes` of 0 or
    // more, a block that inflates to more raises EInflateLimitError.
    void DecompressTo(TStream& stream, std::int64_t maxBytes = -1) const;

    // The block itself; a window definition stores exactly these bytes as
    // its "CompressedData".
    std::span<const char> CompressedData() const {
        return {block_.Memory(), static_cast<std::size_t>(block_.Size())};
    }
    // Replaces the block with the bytes of `stream` from its position to its end.
    void LoadCompressedData(TStream& stream);
    void SaveCompressedData(TStream& stream) const;

    // Copies the texts and the block.
    void Assign(const TbsCompressedStoredSkin& source);

private:
    AnsiString description_;
    AnsiString fileName_;
    AnsiString compressedFileName_;
    TMemoryStream block_;
};
