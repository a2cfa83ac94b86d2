#include "TbsCompressedStoredSkin.h"

#include <string>

#include "CompressedSkin.h"
#include "Exceptions.h"
#include "FileUtils.h"
#include "SkinLoadLimits.h"
#include "ZlibStreams.h"

namespace {

// A read-only stream over bytes owned elsewhere.
class ByteViewStream : public TCustomMemoryStream {
public:
    explicit ByteViewStream(std::span<const char> bytes) { SetPointer(bytes.data(), std::int64_t(bytes.size())); }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    void SetSize(std::int64_t) override { throw EStreamError("Stream is read-only"); }
};

std::int32_t ReadInt32(TStream& stream) {
    unsigned char b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                                     (std::uint32_t(b[3]) << 24));
}

void WriteInt32(TStream& stream, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    stream.WriteBuffer(b, 4);
}

// Reads a container from the stream's position into `block` (emptied first).
// `name` names the container in the error for an oversized block.
void ReadContainer(TStream& stream, TMemoryStream& block, const AnsiString& name) {
    block.Clear();
    const std::int64_t available = stream.Size() - stream.Position();
    if (available < kSkinContainerHeaderSize) return;
    if (ReadInt32(stream) > kSkinContainerFormat) return;
    const std::int32_t length = ReadInt32(stream);
    // Checked before anything is allocated, so a damaged length cannot ask
    // for gigabytes.
    if (length < 0 || length > available - kSkinContainerHeaderSize) throw EReadError("Stream read error");
    if (length > kMaxSkinBlockBytes) {
        throw EReadError("Skin \"" + name + "\" is too large: its compressed data holds " + std::to_string(length) +
                         " bytes, at most " + std::to_string(kMaxSkinBlockBytes) + " allowed");
    }
    if (length > 0) block.CopyFrom(stream, length);
    block.SetPosition(0);
}

}  // namespace

void TbsCompressedStoredSkin::SetFileName(const AnsiString& path) {
    if (Designing() && !Loading()) {
        CompressIniSkin(path);
        fileName_ = ExtractFileName(path);
    } else {
        fileName_ = path;
    }
}

void TbsCompressedStoredSkin::SetCompressedFileName(const AnsiString& path) {
    if (Designing() && !Loading()) {
        LoadPackedFile(path);
        compressedFileName_ = ExtractFileName(path);
    } else {
        compressedFileName_ = path;
    }
}

void TbsCompressedStoredSkin::CompressIniSkin(const AnsiString& path) {
    TbsSkinPayload payload;
    if (!BuildSkinPayload(path, payload)) return;
    TMemoryStream raw;
    WriteSkinPayload(payload, raw);
    TMemoryStream packed;
    CompressStream(raw, packed, TCompressionLevel::Max);
    block_.Clear();
    block_.CopyFrom(packed, 0);
    block_.SetPosition(0);
}

void TbsCompressedStoredSkin::LoadPackedFile(const AnsiString& path) {
    block_.Clear();
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    try {
        ReadContainer(file, block_, path);
    } catch (...) {
        block_.Clear();
        throw;
    }
}

void TbsCompressedStoredSkin::ReadPacked(TStream& stream) {
    stream.SetPosition(0);
    try {
        ReadContainer(stream, block_, compressedFileName_.empty() ? AnsiString("(stream)") : compressedFileName_);
    } catch (...) {
        block_.Clear();
        throw;
    }
}

void TbsCompressedStoredSkin::WritePacked(TStream& stream) const {
    WriteInt32(stream, kSkinContainerFormat);
    WriteInt32(stream, static_cast<std::int32_t>(block_.Size()));
    stream.WriteBuffer(block_.Memory(), block_.Size());
}

void TbsCompressedStoredSkin::DecompressTo(TStream& stream, std::int64_t maxBytes) const {
    ByteViewStream source(CompressedData());
    DecompressStream(source, stream, maxBytes);
}

void TbsCompressedStoredSkin::LoadCompressedData(TStream& stream) {
    TMemoryStream bytes;
    const std::int64_t count = stream.Size() - stream.Position();
    if (count > 0) bytes.CopyFrom(stream, count);
    block_.Clear();
    if (count > 0) block_.CopyFrom(bytes, 0);
    block_.SetPosition(0);
}

void TbsCompressedStoredSkin::SaveCompressedData(TStream& stream) const {
    stream.WriteBuffer(block_.Memory(), block_.Size());
}

void TbsCompressedStoredSkin::Assign(const TbsCompressedStoredSkin& source) {
    if (&source == this) return;
    description_ = source.description_;
    fileName_ = source.fileName_;
    compressedFileName_ = source.compressedFileName_;
    block_.Clear();
    ByteViewStream bytes(source.CompressedData());
    if (bytes.Size() > 0) block_.CopyFrom(bytes, 0);
    block_.SetPosition(0);
}
