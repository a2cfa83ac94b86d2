#include "ZlibStreams.h"

#include <string>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

[[noreturn]] void RaiseCompressionError() { throw ECompressionError("error"); }
[[noreturn]] void RaiseDecompressionError() { throw EDecompressionError("compression error"); }

// zlib counts in 32-bit units; larger transfers are cut into pieces this big.
constexpr std::int64_t kMaxZlibPiece = UINT_MAX;

}  // namespace

// ---- TCompressionStream ----

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& dest) : dest_(dest) {
    if (deflateInit(&zs_, static_cast<int>(level)) != Z_OK) RaiseCompressionError();
    zs_.next_out = buffer_.data();
    zs_.avail_out = static_cast<uInt>(buffer_.size());
}

TCompressionStream::~TCompressionStream() {
    if (!finished_) {
        try {
            Finish();
        } catch (...) {
            // Nothing can be reported from here; see the header.
        }
    }
    deflateEnd(&zs_);
}

void TCompressionStream::DrainOutput(int flush) {
    for (;;) {
        const int result = deflate(&zs_, flush);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) RaiseCompressionError();
        if (zs_.avail_out == 0) {
            dest_.WriteBuffer(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
            zs_.next_out = buffer_.data();
            zs_.avail_out = static_cast<uInt>(buffer_.size());
            continue;  // there may be more output waiting
        }
        // With room left in the buffer, deflate has taken all input (and, when
        // finishing, written the stream's end).
        if (flush == Z_FINISH ? result == Z_STREAM_END : zs_.avail_in == 0) return;
        if (result == Z_BUF_ERROR) RaiseCompressionError();  // no progress possible
    }
}

std::int64_t TCompressionStream::Write(const void* buffer, std::int64_t count) {
    if (finished_) RaiseCompressionError();
    if (count <= 0) return 0;
    auto* next = static_cast<const unsigned char*>(buffer);
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t piece = std::min(left, kMaxZlibPiece);
        zs_.next_in = const_cast<unsigned char*>(next);  // zlib does not write through it
        zs_.avail_in = static_cast<uInt>(piece);
        DrainOutput(Z_NO_FLUSH);
        next += piece;
        left -= piece;
    }
    return count;
}

void TCompressionStream::Finish() {
    if (finished_) return;
    zs_.next_in = nullptr;
    zs_.avail_in = 0;
    DrainOutput(Z_FINISH);
    const std::int64_t pending = static_cast<std::int64_t>(buffer_.size() - zs_.avail_out);
    dest_.WriteBuffer(buffer_.data(), pending);
    zs_.next_out = buffer_.data();
    zs_.avail_out = static_cast<uInt>(buffer_.size());
    finished_ = true;
}

std::int64_t TCompressionStream::Read(void*, std::int64_t) { RaiseCompressionError(); }

std::int64_t TCompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    if (offset == 0 && origin == soFromCurrent) return static_cast<std::int64_t>(zs_.total_in);
    RaiseCompressionError();
}

void TCompressionStream::SetSize(std::int64_t) { RaiseCompressionError(); }

double TCompressionStream::CompressionRate() const {
    if (zs_.total_in == 0) return 0.0;
    return (1.0 - double(zs_.total_out) / double(zs_.total_in)) * 100.0;
}

// ---- TDecompressionStream ----

TDecompressionStream::TDecompressionStream(TStream& source) : source_(source) {
    if (inflateInit(&zs_) != Z_OK) RaiseDecompressionError();
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&zs_); }

std::int64_t TDecompressionStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || ended_) return 0;
    auto* out = static_cast<unsigned char*>(buffer);
    std::int64_t produced = 0;
    while (produced < count && !ended_) {
        if (zs_.avail_in == 0) {
            const std::int64_t got = source_.Read(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
            // The source ran dry before the stream's end: the data is cut off.
            if (got <= 0) RaiseDecompressionError();
            zs_.next_in = buffer_.data();
            zs_.avail_in = static_cast<uInt>(got);
        }
        const std::int64_t piece = std::min(count - produced, kMaxZlibPiece);
        zs_.next_out = out + produced;
        zs_.avail_out = static_cast<uInt>(piece);
        const int result = inflate(&zs_, Z_NO_FLUSH);
        produced += piece - zs_.avail_out;
        if (result == Z_STREAM_END) {
            ended_ = true;
            // Give back what was read beyond the stream, so the source stands
            // just after it.
            if (zs_.avail_in > 0) source_.Seek(-static_cast<std::int64_t>(zs_.avail_in), soFromCurrent);
            zs_.avail_in = 0;
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            RaiseDecompressionError();
        }
        // Z_BUF_ERROR means no progress with the input at hand; the loop then
        // fetches more input, or ends because the output is full.
    }
    return produced;
}

std::int64_t TDecompressionStream::Write(const void*, std::int64_t) { RaiseDecompressionError(); }

std::int64_t TDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const auto position = static_cast<std::int64_t>(zs_.total_out);
    std::int64_t target = -1;
    if (origin == soFromCurrent) target = position + offset;
    if (origin == soFromBeginning) target = offset;
    if (target < position) RaiseDecompressionError();
    std::array<unsigned char, kZlibChunkSize> scratch{};
    std::int64_t skip = target - position;
    while (skip > 0) {
        const std::int64_t got = Read(scratch.data(), std::min<std::int64_t>(skip, scratch.size()));
        if (got == 0) break;  // past the end: stay at the end
        skip -= got;
    }
    return static_cast<std::int64_t>(zs_.total_out);
}

void TDecompressionStream::SetSize(std::int64_t) { RaiseDecompressionError(); }

std::int64_t TDecompressionStream::Size() { RaiseDecompressionError(); }

// ---- whole-stream helpers ----

void CompressStream(TStream& source, TStream& dest, TCompressionLevel level) {
    source.SetPosition(0);
    TCompressionStream compressor(level, dest);
    std::vector<char> chunk(kZlibChunkSize);
    for (;;) {
        const std::int64_t got = source.Read(chunk.data(), static_cast<std::int64_t>(chunk.size()));
        if (got <= 0) break;
        compressor.WriteBuffer(chunk.data(), got);
    }
    compressor.Finish();
}

void DecompressStream(TStream& source, TStream& dest, std::int64_t maxBytes) {
    source.SetPosition(0);
    TDecompressionStream decompressor(source);
    std::vector<char> chunk(kZlibChunkSize);
    std::int64_t written = 0;
    for (;;) {
        std::int64_t want = static_cast<std::int64_t>(chunk.size());
        // One byte past the limit tells a stream that ends exactly there
        // from one that goes on.
        if (maxBytes >= 0) want = std::min(want, maxBytes - written + 1);
        const std::int64_t got = decompressor.Read(chunk.data(), want);
        if (got <= 0) break;
        if (maxBytes >= 0 && written + got > maxBytes) {
            throw EInflateLimitError("the data inflates to more than " + std::to_string(maxBytes) + " bytes");
        }
        dest.WriteBuffer(chunk.data(), got);
        written += got;
    }
}
