// What the playing banner costs: the program's 300 x 50 banner control on a
// form of the main window's size, playing the largest delivered ad for one
// second of (virtual) time on the headless backend, with the message loop
// run once per frame as the program's loop wakes for the frame timer. The
// figure is the CPU time of that second as a multiple of copying the
// banner's pixels once per frame of the movie (x_pixel_copy_per_frame), and
// as a share of one core (core_percent). presented_px_per_frame tells how
// much of the window reaches the screen per frame: the banner's 15,000
// pixels when nothing but the banner is repainted.

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TShockwaveFlash.h"
#include "WindowSystem.h"

namespace {

constexpr int kBannerWidth = 300, kBannerHeight = 50;

// The headless screen, adding up the pixels presented.
class CountingBackend : public HeadlessBackend {
public:
    using HeadlessBackend::HeadlessBackend;
    void Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) override {
        for (const TRect& r : dirty.Rects()) presented += double(r.Width()) * r.Height();
        HeadlessBackend::Present(hwnd, surface, dirty);
    }
    double presented = 0;
};

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

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

void BM_BannerSecondOfPlay(benchmark::State& state) {
    auto backend = std::make_unique<CountingBackend>(1024, 768);
    CountingBackend* screen = backend.get();
    WindowSystemSession session(std::move(backend));
    ApplicationSession app;
    auto* form = Application->CreateForm<TForm>();
    form->SetBoundsRect({100, 100, 100 + 345, 100 + 360});
    auto* banner = CreateComponent<TShockwaveFlash>(form);
    banner->SetParent(form);
    banner->SetBoundsRect({15, 280, 15 + kBannerWidth, 280 + kBannerHeight});
    banner->SetMovie(AnsiString(MIRVO_SOURCE_DIR) + "/dat/ad/ad2.swf");
    banner->SetScaleMode(fsmExactFit);
    form->Show();
    Application->ProcessMessages();

    const double fps = banner->Playback().LoadedMovie().FrameRate();
    const unsigned frameMs = unsigned(std::lround(1000.0 / fps));
    auto playOneSecond = [&] {
        for (unsigned done = 0; done < 1000; done += frameMs) {
            screen->Sleep(frameMs);
            Application->ProcessMessages();
        }
    };
    playOneSecond();  // warm up: the first frames render once

    double cpu = 0;
    int seconds = 0;
    screen->presented = 0;
    for (auto _ : state) {
        const double t0 = CpuSeconds();
        playOneSecond();
        cpu += CpuSeconds() - t0;
        ++seconds;
    }

    // The baseline: one copy of the banner's pixels per frame of the movie.
    std::vector<std::uint32_t> src(std::size_t(kBannerWidth) * kBannerHeight, 0x00C0C0C0u), dst(src.size());
    const double copy = SecondsPer([&] {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    });
    const double perSecond = cpu / seconds;
    state.counters["x_pixel_copy_per_frame"] = perSecond / (copy * fps);
    state.counters["core_percent"] = perSecond * 100.0;
    state.counters["fps"] = fps;
    state.counters["presented_px_per_frame"] = screen->presented / (seconds * fps);
}
BENCHMARK(BM_BannerSecondOfPlay)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
