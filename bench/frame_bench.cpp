// The skinned frame's hot paths with the program's skin, each reported as a
// ratio to a baseline timed in the same run (the counter "x_baseline"):
//
//   FramePaint     a full WM_NCPAINT of the 551 x 391 main-window frame,
//                  against one memcpy of the window's pixels (target <= 3)
//   RegionRebuild  the window region rebuilt for a new size, against
//                  composing the four mask strips of that size (target <= 3)
//   MorphStep      one morph step of a caption button (blend and paint onto
//                  the window), against the 25 ms timer tick it runs in
//   CaptionDrag    one step of dragging the caption: the move loop's proposal
//                  (WM_MOVING) adjusted by magnetic edges, the window moved
//                  and its messages handled, against moving an unskinned
//                  window of the same size the same way
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

// The positions of a drag along the work area's left edge: in and out of
// the magnetic band, so snapping, holding and following all occur.
TPoint DragPosition(int step) { return {(step % 40) - 5, 100 + (step % 7)}; }
constexpr int MeanSecondsReps = 300;

void BM_CaptionDrag(benchmark::State& state) {
    SkinnedWindow w;
    w.frame->Magnetic = true;
    w.frame->MagneticSize = 10;
    TForm* plain = Application->CreateForm<TForm>();
    plain->SetBounds(300, 300, kW, kH);
    plain->Show();
    PumpMessages();
    int step = 0;
    const auto move = [&](TForm* form, bool proposal) {
        const TPoint p = DragPosition(step++);
        TRect r{p.X, p.Y, p.X + kW, p.Y + kH};
        if (proposal) SendMessage(form->Handle(), WM_MOVING, 0, ToLParam(&r));
        SetWindowPos(form->Handle(), nullptr, r.Left, r.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    };
    const double plainTime = MeanSeconds(MeanSecondsReps, [&] { move(plain, false); });
    SendMessage(w.form->Handle(), WM_ENTERSIZEMOVE, 0, 0);
    RunTimed(state, plainTime, [&] { move(w.form, true); });
    SendMessage(w.form->Handle(), WM_EXITSIZEMOVE, 0, 0);
    // The steps really moved the windows: the last positions are the drag's.
    const TPoint last = DragPosition(step - 1);
    if (plain->Top() != 100 + ((MeanSecondsReps - 1) % 7) || w.form->Top() < 100 || w.form->Top() > 106 ||
        (last.X >= 10 && w.form->Left() != last.X))
        state.SkipWithError("the windows did not move");
}
BENCHMARK(BM_CaptionDrag)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
