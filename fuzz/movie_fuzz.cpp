// Fuzzes the banner movie player: the container, its tags (shapes, bitmaps,
// placements) and the renderer, by drawing the first frames of whatever the
// input decodes to into a banner-sized picture, as the banner does on its
// timer. A crash, a sanitizer report, an out-of-memory or a run that does
// not end within the fuzzer's time-out is a finding.

#include <algorithm>
#include <cstdint>
#include <span>

#include "TBitmap.h"
#include "TFlashMovie.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFlashMovie movie;
    movie.LoadFromBytes(std::span<const std::uint8_t>(data, size));
    static TBitmap banner(300, 50);
    // The banner keeps the shapes of one frame for the next.
    FlashRenderCache cache;
    const int frames = std::clamp(movie.FrameCount(), 1, 3);
    for (int frame = 0; frame < frames; ++frame) {
        movie.RenderFrame(frame, banner, fsmExactFit, clWhite, &cache);
        movie.RenderFrame(frame, banner, fsmShowAll, clBlack);
    }
    return 0;
}
