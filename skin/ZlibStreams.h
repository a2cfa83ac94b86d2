#pragma once
// Stream adapters over zlib (RFC 1950 streams). The compression stream takes
// the bytes written to it and writes the deflated stream to a destination; the
// decompression stream reads a zlib stream from a source and yields the
// inflated bytes. Both move data through a 4096-byte buffer, so neither holds
// more than one chunk of the other side in memory.

#include <zlib.h>

#include <array>
#include <cstdint>

#include "Exceptions.h"
#include "Streams.h"

// The deflate levels on offer; skins are always packed at Max.
enum class TCompressionLevel : int { None = 0, Fastest = 1, Default = -1, Max = 9 };

// A zlib failure while deflating ("error") or inflating ("compression error").
class ECompressionError : public Exception { public: using Exception::Exception; };
class EDecompressionError : public Exception { public: using Exception::Exception; };
// Inflating stopped because the data grew past the limit the caller set.
class EInflateLimitError : public EDecompressionError { public: using EDecompressionError::EDecompressionError; };

constexpr std::size_t kZlibChunkSize = 4096;

class TCompressionStream : public TStream {
public:
    TCompressionStream(TCompressionLevel level, TStream& dest);
    // Finishes the zlib stream if Finish was not called. Errors cannot leave a
    // destructor, so callers that must know that every byte reached the
    // destination call Finish themselves.
    ~TCompressionStream() override;

    // Deflates `count` bytes; full chunks go to the destination as they fill.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Flushes the rest of the zlib stream and its checksum to the destination.
    // Writing afterwards raises ECompressionError.
    void Finish();

    // A compression stream is write-only and moves forward only: reading,
    // resizing and any seek other than asking for the position raise
    // ECompressionError. The position is the number of bytes taken in.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

    // Share of the input saved so far, in percent (0 before any input).
    double CompressionRate() const;

private:
    void DrainOutput(int flush);

    TStream& dest_;
    z_stream zs_{};
    std::array<unsigned char, kZlibChunkSize> buffer_{};
    bool finished_ = false;
};

class TDecompressionStream : public TStream {
public:
    // Reads the zlib stream from the source's current position.
    explicit TDecompressionStream(TStream& source);
    ~TDecompressionStream() override;

    // Inflates up to `count` bytes. Returns 0 once the zlib stream has ended;
    // the source is then left just after the stream's last byte, so whatever
    // follows it is neither read nor mistaken for more data. A stream that is
    // corrupt, or cut off before its end, raises EDecompressionError.
    std::int64_t Read(void* buffer, std::int64_t count) override;

    // Read-only and forward-only: a seek forward from the current position
    // reads and drops bytes, asking for the position returns the number of
    // bytes yielded; writing, resizing and seeking back raise
    // EDecompressionError.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    // The inflated size is not known before the end; asking raises.
    std::int64_t Size() override;

    bool AtEnd() const { return ended_; }

private:
    TStream& source_;
    z_stream zs_{};
    std::array<unsigned char, kZlibChunkSize> buffer_{};
    bool ended_ = false;
};

// Deflates everything of `source` from its start into `dest` at `level`.
void CompressStream(TStream& source, TStream& dest, TCompressionLevel level = TCompressionLevel::Max);
// Inflates the zlib stream that begins at the start of `source` into `dest`.
// With `maxBytes` of 0 or more, a stream that inflates to more raises
// EInflateLimitError once that much has been written, and no further byte is
// inflated.
void DecompressStream(TStream& source, TStream& dest, std::int64_t maxBytes = -1);
