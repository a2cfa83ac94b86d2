#include "FlashRenderCache.h"

#include <bit>

FlashShapeCoverage& FlashRenderCache::Coverage(std::uint16_t shapeId, const SwfMatrix& toDevice, const TRect& clip) {
    const Key key{shapeId,
                  {std::bit_cast<std::uint64_t>(toDevice.A), std::bit_cast<std::uint64_t>(toDevice.B),
                   std::bit_cast<std::uint64_t>(toDevice.C), std::bit_cast<std::uint64_t>(toDevice.D),
                   std::bit_cast<std::uint64_t>(toDevice.TX), std::bit_cast<std::uint64_t>(toDevice.TY)},
                  {clip.Left, clip.Top, clip.Right, clip.Bottom}};
    Entry& entry = entries_[key];
    entry.Used = true;
    return entry.Coverage;
}

void FlashRenderCache::EndFrame() {
    std::erase_if(entries_, [](const auto& item) { return !item.second.Used; });
    for (auto& [key, entry] : entries_) entry.Used = false;
}
