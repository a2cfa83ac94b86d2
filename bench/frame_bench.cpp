// The skinned frame's hot paths with the program's skin, each reported as a
// ratio to a baseline timed in the same run (the counter "x_baseline"):
//
//   FramePaint     a full WM_NCPAINT of the 551 x 391 main-window frame,
//                  against one memcpy of the window's pixels (target <= 3)
//   RegionRebuild  the window region rebuilt for a new size, against
//                  composing the four mask strips of that size (target <= 3)
//   MorphStep      one morph step of a caption button (blend and paint onto
//                  the window), against the 25 ms timer tick it runs in
//
// Run: bench/frame_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <memory>
#include <vector>

#include "BenchTiming.h"
#include "Forms.h"
#include "HeadlessBackend.h"
#include "SkinFrameRegion.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "WindowSystem.h"

namespace {

constexpr int kW = 551, kH = 391;

// A shown main-window-sized form with the program's skin on the headless screen.
class SkinnedWindow {
public:
    SkinnedWindow() {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        form = Application->CreateForm<TForm>();
        form->SetBounds(40, 40, kW, kH);
        form->SetCaption("Mirvo");
        frame = CreateComponent<TbsSkinForm>(form);
        skin = CreateComponent<TbsSkinData>(form);
        skin->LoadIniSkin(std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini");
        frame->SetSkinData(skin);
        form->Show();
        PumpMessages();
    }
    ~SkinnedWindow() {
        app_.reset();
        session_.reset();
    }
    TForm* form = nullptr;
    TbsSkinForm* frame = nullptr;
    TbsSkinData* skin = nullptr;

private:
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
};

void BM_FramePaint(benchmark::State& state) {
    SkinnedWindow w;
    std::vector<std::uint32_t> src(std::size_t(kW) * kH, 1), dst(src.size());
    const double memcpyTime = MeanSeconds(500, [&] {
        std::memcpy(dst.data(), src.data(), src.size() * 4);
        benchmark::ClobberMemory();
    });
    const HWND h = w.form->Handle();
    RunTimed(state, memcpyTime, [&] { SendMessage(h, WM_NCPAINT, 0, 0); });
}
BENCHMARK(BM_FramePaint)->Unit(benchmark::kMicrosecond);

void BM_RegionRebuild(benchmark::State& state) {
    SkinnedWindow w;
    const SkinFormInfo& info = w.skin->FormInfo();
    const TBitmap& mask = w.skin->MaskBitmap();
    const TSize picture{w.skin->MainBitmap().Width(), w.skin->MainBitmap().Height()};
    const double stripsTime = MeanSeconds(500, [&] {
        SkinFramePartBitmaps masks;
        ComposeFrameMasks(info, mask, picture, {kW, kH}, masks);
        benchmark::DoNotOptimize(masks.Top.Width());
    });
    RunTimed(state, stripsTime, [&] { w.frame->UpdateRegion(); });
}
BENCHMARK(BM_RegionRebuild)->Unit(benchmark::kMicrosecond);

void BM_MorphStep(benchmark::State& state) {
    SkinnedWindow w;
    TbsActiveSkinObject* close = w.frame->FindObject("closebutton");
    close->ActiveLook = true;
    RunTimed(state, 0.025, [&] {
        close->MorphFactor = 0.4;  // in the middle of a morph, every time
        close->MorphStep();
    });
}
BENCHMARK(BM_MorphStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
