#pragma once
// The container of a movie: the header (uncompressed "FWS" or zlib-compressed
// "CWS"), the frame size and rate, and the list of tags. Reading never
// throws: a file that is not a movie comes back with Valid false, and a
// movie damaged part way keeps the tags before the damage.

#include <cstdint>
#include <span>
#include <vector>

#include "FlashTypes.h"

// What a movie may hold: at most kMaxMovieBytes once inflated (its header
// included), and at most kMaxMovieTags tags; the rest of a larger movie is
// not read, as if it had ended there. A banner holds a few kilobytes in a
// few hundred tags: the delivered ads hold 3 to 11 KiB in 40 to 150.
constexpr std::size_t kMaxMovieBytes = std::size_t(512) << 10;
constexpr std::size_t kMaxMovieTags = 8192;

struct SwfTag {
    int Code = 0;
    std::span<const std::uint8_t> Body;  // a view into SwfFile::Data
};

struct SwfFile {
    SwfFile() = default;
    // The tags view into Data, so a file moves but is never copied.
    SwfFile(SwfFile&&) = default;
    SwfFile& operator=(SwfFile&&) = default;
    SwfFile(const SwfFile&) = delete;
    SwfFile& operator=(const SwfFile&) = delete;

    bool Valid = false;
    int Version = 0;
    TwipsRect FrameRect;
    double FrameRate = 0;      // frames per second as stored (8.8 fixed point)
    int DeclaredFrameCount = 0;
    std::vector<std::uint8_t> Data;  // the whole file, decompressed
    std::vector<SwfTag> Tags;        // up to, not including, the End tag
};

SwfFile ReadSwfFile(std::span<const std::uint8_t> bytes);

// Inflates a zlib stream into at most `limit` bytes. Returns what could be
// inflated; `complete` tells whether the stream ended properly.
std::vector<std::uint8_t> InflateZlib(std::span<const std::uint8_t> input, std::size_t limit, bool& complete);
