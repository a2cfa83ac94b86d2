#pragma once
// Limits on what loading one skin may cost. A real skin holds well under a
// million pixels; these limits sit a hundred times above that, so no skin
// meets them, while a small hostile file (a few bytes of run-length data
// declaring huge pictures, or a zlib bomb) is refused after a bounded amount
// of memory and time instead of costing gigabytes at start-up.

#include <cstdint>
#include <span>

#include "AnsiString.h"
#include "BmpCodec.h"
#include "TBitmap.h"

// All decoded pictures of one skin together: 32 Mi pixels, 128 MiB.
constexpr std::uint64_t kMaxSkinPixels = std::uint64_t(1) << 25;
// What the block of a compressed skin may inflate to: its pictures at the
// pixel limit above, stored at 24 bits, with room for the description.
constexpr std::int64_t kMaxSkinPayloadBytes = std::int64_t(1) << 27;
// A compressed block is never larger than what it inflates to (plus
// deflate's few bytes of framing), so a longer one is no skin either.
constexpr std::int64_t kMaxSkinBlockBytes = kMaxSkinPayloadBytes + (std::int64_t(1) << 20);

// Counts the pixels of the pictures one skin load decodes, and refuses a
// picture that would take the skin past kMaxSkinPixels before its pixels
// are allocated. `skinName` names the skin in that error.
class SkinPictureBudget {
public:
    explicit SkinPictureBudget(AnsiString skinName) : skinName_(std::move(skinName)) {}

    // TBitmap::LoadFromFile within the budget.
    void LoadFile(TBitmap& bitmap, const AnsiString& fileName);
    // TBitmap::LoadFromBytes within the budget.
    void LoadBytes(TBitmap& bitmap, std::span<const std::uint8_t> data, std::size_t* consumed);

    std::uint64_t Remaining() const { return remaining_; }

private:
    template <class Load>
    void Spend(TBitmap& bitmap, const AnsiString& pictureName, Load load);

    AnsiString skinName_;
    std::uint64_t remaining_ = kMaxSkinPixels;
};
