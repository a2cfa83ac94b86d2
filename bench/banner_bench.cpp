// What the playing banner costs: the program's 300 x 50 banner control on a
// form of the main window's size, playing the largest delivered ad for one
// second of (virtual) time on the headless backend, with the message loop
// run once per frame as the program's loop wakes for the frame timer. The
// figure is the CPU time of that second as a multiple of copying the
// banner's pixels once per frame of the movie (x_pixel_copy_per_frame), and
// as a share of one core (core_percent). presented_px_per_frame tells how
// much of the window reaches the screen per frame: the banner's 15,000
// pixels when nothing but the banner is repainted.
//
// BM_BannerMovieCost compares what each delivered ad and a hostile movie
// cost the banner: memory gained while it is named and played, the share
// of a core it takes, and the most work one of its frames asks for.

#include <benchmark/benchmark.h>
#include <time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <fstream>
#include <string>

#include "../tests/platform/services/flash/HostileMovies.h"
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

// A figure of /proc/self/status in KiB: "VmRSS" (resident now) or "VmHWM"
// (the most ever resident).
double StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1));
    }
    return 0;
}

// What one movie costs the banner: the memory the process gains from
// before the movie is named until it has played for a second (resident at
// the end, and the most resident at any time), and the share of a core
// that playing takes. Arguments: 1 to 3 the delivered ads ad1.swf to
// ad3.swf, 0 the hostile movie (written to a temporary file first). Run
// each alone (--benchmark_filter=BM_BannerMovieCost/N) so that the high
// water mark is this movie's own.
void BM_BannerMovieCost(benchmark::State& state) {
    const int which = int(state.range(0));
    std::string path = std::string(MIRVO_SOURCE_DIR) + "/dat/ad/ad" + std::to_string(which) + ".swf";
    if (which == 0) {
        // Made in a child process: making it takes far more memory than
        // playing it may, and that must not count here.
        path = "/tmp/banner_bench_hostile_" + std::to_string(::getpid()) + ".swf";
        const pid_t child = ::fork();
        if (child == 0) {
            const Bytes movie = hostile::HostileMovie();
            std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(movie.data()), std::streamsize(movie.size()));
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        state.counters["file_kib"] = double(file.tellg()) / 1024;
    }
    auto backend = std::make_unique<HeadlessBackend>(1024, 768);
    HeadlessBackend* screen = backend.get();
    WindowSystemSession session(std::move(backend));
    ApplicationSession app;
    auto* form = Application->CreateForm<TForm>();
    form->SetBoundsRect({100, 100, 100 + 345, 100 + 360});
    auto* banner = CreateComponent<TShockwaveFlash>(form);
    banner->SetParent(form);
    banner->SetBoundsRect({15, 280, 15 + kBannerWidth, 280 + kBannerHeight});
    banner->SetScaleMode(fsmExactFit);
    form->Show();
    Application->ProcessMessages();

    const double rssBefore = StatusKiB("VmRSS"), peakBefore = StatusKiB("VmHWM");
    banner->SetMovie(path);
    Application->ProcessMessages();
    const double fps = std::max(1.0, banner->Playback().LoadedMovie().FrameRate());
    const unsigned frameMs = std::max(1u, unsigned(std::lround(1000.0 / fps)));
    auto playOneSecond = [&] {
        for (unsigned done = 0; done < 1000; done += frameMs) {
            screen->Sleep(frameMs);
            Application->ProcessMessages();
        }
    };
    playOneSecond();
    double cpu = 0;
    int seconds = 0;
    for (auto _ : state) {
        const double t0 = CpuSeconds();
        playOneSecond();
        cpu += CpuSeconds() - t0;
        ++seconds;
    }
    state.counters["rss_growth_mib"] = (StatusKiB("VmRSS") - rssBefore) / 1024;
    state.counters["peak_growth_mib"] = (StatusKiB("VmHWM") - peakBefore) / 1024;
    state.counters["core_percent"] = cpu / seconds * 100.0;
    state.counters["fps"] = fps;

    // The most work one frame of the movie asks for, per pixel of the
    // banner, drawn in order as the banner draws (reusing what the frame
    // before measured) and drawn afresh: what the per-frame budget must
    // leave room for.
    const TFlashMovie& movie = banner->Playback().LoadedMovie();
    FlashRenderCache cache;
    TBitmap target(kBannerWidth, kBannerHeight);
    double inOrder = 0, afresh = 0;
    for (int frame = 0; frame < std::min(movie.FrameCount(), 240); ++frame) {
        std::uint64_t work = 0;
        movie.RenderFrame(frame, target, fsmExactFit, clWhite, &cache, &work);
        inOrder = std::max(inOrder, double(work));
        movie.RenderFrame(frame, target, fsmExactFit, clWhite, nullptr, &work);
        afresh = std::max(afresh, double(work));
    }
    state.counters["work_px_in_order"] = inOrder / (kBannerWidth * kBannerHeight);
    state.counters["work_px_afresh"] = afresh / (kBannerWidth * kBannerHeight);
    if (which == 0) std::remove(path.c_str());
}
BENCHMARK(BM_BannerMovieCost)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
