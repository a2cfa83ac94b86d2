#include "SwfFile.h"

#include <zlib.h>

#include <algorithm>

#include "SwfBitReader.h"

namespace {

// Inflates into the end of `output`, adding at most `limit` bytes.
bool InflateZlibInto(std::span<const std::uint8_t> input, std::size_t limit, std::vector<std::uint8_t>& output) {
    bool complete = false;
    const std::size_t start = output.size();
    // Room for what a movie may inflate to at once, so the output never
    // grows by copying itself.
    output.reserve(start + std::min(limit, kMaxMovieBytes));
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(input.size(), 0xFFFFFFFFu));
    std::uint8_t chunk[16384];
    for (;;) {
        stream.next_out = chunk;
        stream.avail_out = sizeof chunk;
        const int result = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = sizeof chunk - stream.avail_out;
        const std::size_t room = limit - (output.size() - start);
        output.insert(output.end(), chunk, chunk + std::min(produced, room));
        if (result == Z_STREAM_END) {
            complete = produced <= room;
            break;
        }
        // An error, a truncated stream (no progress possible) or the limit.
        if (result != Z_OK || output.size() - start >= limit || (produced == 0 && stream.avail_in == 0)) break;
    }
    inflateEnd(&stream);
    return complete;
}

}  // namespace

std::vector<std::uint8_t> InflateZlib(std::span<const std::uint8_t> input, std::size_t limit, bool& complete) {
    std::vector<std::uint8_t> output;
    complete = InflateZlibInto(input, limit, output);
    return output;
}

SwfFile ReadSwfFile(std::span<const std::uint8_t> bytes) {
    SwfFile file;
    if (bytes.size() < 8) return file;
    const bool compressed = bytes[0] == 'C';
    if (!((bytes[0] == 'F' || compressed) && bytes[1] == 'W' && bytes[2] == 'S')) return file;
    file.Version = bytes[3];
    const std::size_t declaredLength =
        std::size_t(bytes[4]) | (std::size_t(bytes[5]) << 8) | (std::size_t(bytes[6]) << 16) | (std::size_t(bytes[7]) << 24);

    if (compressed) {
        // The declared length counts the 8 header bytes too; a damaged one
        // cannot make us inflate more than the fixed limit.
        const std::size_t limit = std::clamp<std::size_t>(declaredLength, 8, kMaxMovieBytes) - 8;
        file.Data.assign(bytes.begin(), bytes.begin() + 8);
        InflateZlibInto(bytes.subspan(8), limit, file.Data);
    } else {
        const std::size_t length = std::min({bytes.size(), kMaxMovieBytes, std::max<std::size_t>(declaredLength, 8)});
        file.Data.assign(bytes.begin(), bytes.begin() + length);
    }

    try {
        SwfBitReader reader(std::span<const std::uint8_t>(file.Data).subspan(8));
        file.FrameRect = reader.Rect();
        const std::uint16_t rate = reader.U16();
        file.FrameRate = (rate >> 8) + (rate & 0xFF) / 256.0;
        file.DeclaredFrameCount = reader.U16();
        if (file.FrameRect.Width() <= 0 || file.FrameRect.Height() <= 0) return file;
        file.Valid = true;
        while (reader.Remaining() >= 2) {
            const std::uint16_t header = reader.U16();
            const int code = header >> 6;
            std::size_t length = header & 0x3F;
            if (length == 0x3F) length = reader.U32();
            if (code == 0) break;
            if (length > reader.Remaining()) break;  // a damaged tag ends the movie here
            if (file.Tags.size() >= kMaxMovieTags) break;
            file.Tags.push_back({code, reader.Bytes(length)});
        }
    } catch (const ESwfFormatError&) {
        // A header cut short leaves Valid false; a tag header cut short
        // ends the tag list after the tags read so far.
    }
    return file;
}
