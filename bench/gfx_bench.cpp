// Hot paths of the graphics layer, each next to a baseline measured in the
// same run: a block copy against memcpy, a fill against memset, a 2x stretch
// against a naive per-pixel loop, and a mixed Latin/Chinese text line.
//
// Run: bench/gfx_bench --benchmark_counters_tabular=true
// Compare CopyRect/Memcpy (target <= 1.5) and FillRect/Memset.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "AnsiString.h"
#include "TBitmap.h"
#include "TCanvas.h"

namespace {

constexpr int kW = 550, kH = 390;  // the main window's size

void Fill(TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.ScanLine(y)[x] = 0xFF000000u | std::uint32_t(x * 7 + y * 13);
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint32_t> src(kW * kH, 1), dst(kW * kH);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}
BENCHMARK(BM_Memcpy);

void BM_CopyRect(benchmark::State& state) {
    TBitmap src(kW, kH), dst(kW, kH);
    Fill(src);
    for (auto _ : state) {
        dst.Canvas().CopyRect({0, 0, kW, kH}, src.Canvas(), {0, 0, kW, kH});
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}
BENCHMARK(BM_CopyRect);

void BM_Memset(benchmark::State& state) {
    std::vector<std::uint32_t> dst(kW * kH);
    for (auto _ : state) {
        std::memset(dst.data(), 0xC0, dst.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}
BENCHMARK(BM_Memset);

void BM_FillRect(benchmark::State& state) {
    TBitmap dst(kW, kH);
    dst.Canvas().Brush.Color = clBtnFace;
    for (auto _ : state) {
        dst.Canvas().FillRect({0, 0, kW, kH});
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}
BENCHMARK(BM_FillRect);

// Baseline for the stretch: the obvious loop, one division per pixel.
void BM_NaiveStretch2x(benchmark::State& state) {
    TBitmap src(kW / 2, kH / 2), dst(kW, kH);
    Fill(src);
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y) {
            const std::uint32_t* in = src.ScanLine(y * src.Height() / kH);
            std::uint32_t* out = dst.ScanLine(y);
            for (int x = 0; x < kW; ++x) out[x] = in[x * src.Width() / kW];
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_NaiveStretch2x);

void BM_StretchDraw2x(benchmark::State& state) {
    TBitmap src(kW / 2, kH / 2), dst(kW, kH);
    Fill(src);
    for (auto _ : state) {
        dst.Canvas().StretchDraw({0, 0, kW, kH}, src);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StretchDraw2x);

// 40 characters, Latin and Chinese mixed, as a gloss line shows them.
const AnsiString& TextLine() {
    static const AnsiString line = Utf8ToAnsi("dictionary 词典 n. 字典，辞典 wordbook 单词表 lexi");
    return line;
}

void BM_TextWidthAndDraw(benchmark::State& state) {
    TBitmap dst(kW, 20);
    TCanvas& c = dst.Canvas();
    c.Font.SetName("Arial");
    c.Font.SetHeight(14);
    c.Brush.Style = bsClear;
    int width = 0;
    for (auto _ : state) {
        width += c.TextWidth(TextLine());
        c.TextOut(2, 2, TextLine());
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(width);
    state.counters["chars"] = double(AnsiToUtf32(TextLine()).size());  // 40
}
BENCHMARK(BM_TextWidthAndDraw);

// Baseline for text: copying the same line's cell area once (what a cached
// pre-rendered line would cost).
void BM_TextLineAreaCopy(benchmark::State& state) {
    TBitmap src(kW, 20), dst(kW, 20);
    TCanvas& c = src.Canvas();
    c.Font.SetName("Arial");
    c.Font.SetHeight(14);
    const int w = c.TextWidth(TextLine());
    for (auto _ : state) {
        dst.Canvas().CopyRect({2, 2, 2 + w, 16}, src.Canvas(), {2, 2, 2 + w, 16});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TextLineAreaCopy);

}  // namespace

BENCHMARK_MAIN();
