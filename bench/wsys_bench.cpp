// The window system's hot paths, each against a baseline timed in the same run:
// - a full repaint and present of a 550 x 390 top-level window with 15 child
//   windows on the headless backend, as a multiple of one copy of its pixels;
// - SendMessage round trips, as a multiple of a direct call of the procedure.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "HeadlessBackend.h"
#include "TCanvas.h"
#include "WindowSystem.h"
#include "Windows.h"

namespace {

constexpr int kWidth = 550, kHeight = 390;

LRESULT PaintProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return DefWindowProc(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    TRect r;
    GetClientRect(h, r);
    dc->Brush.Color = TColor(GetWindowLongPtr(h, GWLP_USERDATA));
    dc->FillRect(r);
    dc->Brush.Color = clBtnShadow;
    dc->FrameRect(r);
    EndPaint(h, ps);
    return 0;
}

LRESULT EchoProc(HWND, UINT, WPARAM wp, LPARAM lp) { return LRESULT(wp) + lp; }

// Seconds per call of `fn`, measured over enough calls to be stable.
template <typename Fn> double SecondsPer(Fn&& fn) {
    using clock = std::chrono::steady_clock;
    int n = 1;
    for (;;) {
        const auto t0 = clock::now();
        for (int i = 0; i < n; ++i) fn();
        const double s = std::chrono::duration<double>(clock::now() - t0).count();
        if (s > 0.05) return s / n;
        n *= 2;
    }
}

void BM_FullRepaintAndPresent(benchmark::State& state) {
    WindowSystemSession session(std::make_unique<HeadlessBackend>(1024, 768));
    WNDCLASS wc;
    wc.lpfnWndProc = PaintProc;
    wc.lpszClassName = "BenchPaint";
    RegisterClass(wc);
    HWND top = CreateWindowEx(0, "BenchPaint", "", WS_POPUP | WS_CLIPCHILDREN, 100, 100, kWidth, kHeight, nullptr);
    SetWindowLongPtr(top, GWLP_USERDATA, LONG_PTR(clBtnFace));
    // A form-like layout: 15 controls in three rows of five.
    for (int i = 0; i < 15; ++i) {
        HWND c = CreateWindowEx(0, "BenchPaint", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10 + (i % 5) * 106,
                                10 + (i / 5) * 125, 100, 115, top);
        SetWindowLongPtr(c, GWLP_USERDATA, LONG_PTR(RGB(40 * (i % 6), 20 * (i % 11), 255 - 15 * i)));
    }
    ShowWindow(top, SW_SHOWNORMAL);
    PumpMessages();

    auto repaint = [&] {
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PresentChanges();
    };
    for (auto _ : state) repaint();

    // The baseline: copying the window's pixels once.
    std::vector<std::uint32_t> src(std::size_t(kWidth) * kHeight, 0x00C0C0C0u), dst(src.size());
    const double copy = SecondsPer([&] {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    });
    const double per = SecondsPer(repaint);
    state.counters["x_pixel_copy"] = per / copy;
    state.counters["frames_per_s"] = 1.0 / per;
}
BENCHMARK(BM_FullRepaintAndPresent)->Unit(benchmark::kMicrosecond);

void BM_SendMessageRoundTrip(benchmark::State& state) {
    WindowSystemSession session(std::make_unique<HeadlessBackend>(640, 480));
    WNDCLASS wc;
    wc.lpfnWndProc = EchoProc;
    wc.lpszClassName = "BenchEcho";
    RegisterClass(wc);
    HWND w = CreateWindowEx(0, "BenchEcho", "", WS_POPUP, 0, 0, 10, 10, nullptr);
    WPARAM i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(SendMessage(w, WM_USER, ++i, 1));
    state.SetItemsProcessed(state.iterations());

    WNDPROC volatile direct = EchoProc;
    const double call = SecondsPer([&] { benchmark::DoNotOptimize(direct(w, WM_USER, ++i, 1)); });
    const double send = SecondsPer([&] { benchmark::DoNotOptimize(SendMessage(w, WM_USER, ++i, 1)); });
    state.counters["x_direct_call"] = send / call;
    state.counters["round_trips_per_s"] = 1.0 / send;
}
BENCHMARK(BM_SendMessageRoundTrip);

}  // namespace

BENCHMARK_MAIN();
