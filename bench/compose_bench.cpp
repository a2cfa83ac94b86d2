// Skin composition hot paths, each next to a baseline measured in the same
// run: the nine-part image of a window against a plain copy of as many pixels,
// the window region from a mask with rounded corners, and the fade morph of a
// button and of a caption against memcpy of the same bytes.
//
// Run: bench/compose_bench --benchmark_counters_tabular=true
// Compare ComposeSkinImage/WindowMemcpy (target <= 3) by bytes per second,
// and BlendFade/<size> against FadeMemcpy/<size>.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "SkinComposition.h"
#include "SkinRegions.h"
#include "TbsEffectBmp.h"

namespace {

constexpr int kW = 550, kH = 390;  // the main window's size

// A 200 x 150 skin rectangle with a 30-pixel caption band and 4-pixel borders.
const TRect kSkinRect{0, 0, 200, 150};
const SkinCornerPoints kPoints{{10, 30}, {190, 30}, {10, 146}, {190, 146}, {4, 30, 196, 146}};

void FillPattern(TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.ScanLine(y)[x] = 0xFF000000u | std::uint32_t(x * 7 + y * 13);
}

void BM_WindowMemcpy(benchmark::State& state) {
    std::vector<std::uint32_t> src(kW * kH, 1), dst(kW * kH);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}
BENCHMARK(BM_WindowMemcpy);

void ComposeWindow(benchmark::State& state, const SkinStretchFlags& flags) {
    TBitmap picture(kSkinRect.Width(), kSkinRect.Height()), image;
    FillPattern(picture);
    const SkinCornerPoints sized = SizedCornerPoints(kPoints, {200, 150}, {kW, kH});
    for (auto _ : state) {
        ComposeSkinImage(kPoints, kSkinRect, picture, image, kW, kH, sized, flags, true);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}

void BM_ComposeSkinImage(benchmark::State& state) { ComposeWindow(state, {}); }
BENCHMARK(BM_ComposeSkinImage);

// Every edge and the client part stretched (bilinear), for comparison.
void BM_ComposeSkinImageStretched(benchmark::State& state) {
    ComposeWindow(state, {true, true, true, true, true, SkinStretchKind::Full});
}
BENCHMARK(BM_ComposeSkinImageStretched);

// A mask of the skin rectangle's size: black, with the four corners rounded
// (radius 6) in white.
void MakeRoundedMask(TBitmap& mask) {
    mask.SetSize(kSkinRect.Width(), kSkinRect.Height());
    mask.Fill(clBlack);
    constexpr int r = 6;
    for (int y = 0; y < r; ++y)
        for (int x = 0; x < r; ++x) {
            const int dx = r - x, dy = r - y;
            if (dx * dx + dy * dy <= r * r) continue;
            mask.SetPixels(x, y, clWhite);
            mask.SetPixels(mask.Width() - 1 - x, y, clWhite);
            mask.SetPixels(x, mask.Height() - 1 - y, clWhite);
            mask.SetPixels(mask.Width() - 1 - x, mask.Height() - 1 - y, clWhite);
        }
}

void BM_ComposeSkinRegion(benchmark::State& state) {
    TBitmap mask;
    MakeRoundedMask(mask);
    const SkinCornerPoints sized = SizedCornerPoints(kPoints, {200, 150}, {kW, kH});
    for (auto _ : state) {
        auto region = ComposeSkinRegion(kPoints, mask, kW, sized);
        benchmark::DoNotOptimize(region);
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}
BENCHMARK(BM_ComposeSkinRegion);

// memcpy of the bytes of a 24-bit picture of the given size (rows padded as
// the effect bitmap pads them).
void BM_FadeMemcpy(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const std::size_t bytes = (std::size_t(w) * 3 + std::size_t(w % 4)) * std::size_t(h);
    std::vector<std::uint8_t> src(bytes, 1), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}
BENCHMARK(BM_FadeMemcpy)->Args({65, 25})->Args({550, 30});

void BM_BlendFade(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    TBitmap from(w, h), to(w, h);
    FillPattern(from);
    to.Fill(clNavy);
    TbsEffectBmp image(from);
    const TbsEffectBmp other(to);
    for (auto _ : state) {
        image.BlendFade(other, 0.4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(image.RowBytes()) * h);
}
BENCHMARK(BM_BlendFade)->Args({65, 25})->Args({550, 30});

}  // namespace

BENCHMARK_MAIN();
