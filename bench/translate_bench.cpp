// The translate button end to end on the headless screen: a click on
// "翻译" through the window system, the lookup over the full word table,
// the hit list and the store filled, the gloss pane set and everything
// painted and presented. The lookup alone (LookupWords plus FormatGloss of
// the first hit) is the baseline measured in the same run.
//
// The words alternate between two that share no hits, so every click
// refills the list and repaints the pane.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "AppPaths.h"
#include "HeadlessBackend.h"
#include "WindowSystem.h"
#include "WordList.h"
#include "WordTable.h"
#include "TbsSkinMenu.h"
#include "main.h"

namespace {

const char* const kWords[] = {"apple", "water"};

// The program's word list, read from the source tree: the benchmark does not
// carry the list as a resource of its own.
void FillWordTable() {
    static const std::string text = [] {
        std::ifstream in(MIRVO_SOURCE_DIR "/app/resources/enwordlib.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    const std::vector<std::string_view> lines = SplitWordListLines(text);
    WordTable.SetLength(lines.size());
    AppendWordLines(lines, 0);
}

// The main window shown on a headless screen, its start-up done except for
// the word sources (the table is filled from the list above).
class ShownMainWindow {
public:
    ShownMainWindow() {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        Application->SetTitle(MainWindowTitle);
        // The start-up stops at the missing word list resource; that is expected here.
        Application->OnException = [](TObject*, const Exception&) {};
        form_ = Application->CreateForm<TFrmMain>();
        form_->SetUpAppDir = [] { AppDir = MIRVO_BINARY_DIR "/bin/"; };
        form_->Show();
        Application->ProcessMessages();
        FillWordTable();
        button_ = form_->BtTran->ClientToScreen({form_->BtTran->Width() / 2, form_->BtTran->Height() / 2});
    }
    ~ShownMainWindow() {
        app_.reset();
        session_.reset();
        WordTable.Clear();
    }

    void Translate(const char* word) {
        form_->EdWord->SetText(word);
        screen_->Click(button_.X, button_.Y);
        Application->ProcessMessages();
    }
    // A right click on the caption, up to the system menu painted on the
    // screen; the menu is closed again outside the timing.
    void OpenSystemMenu() {
        // Two places in turn: two quick clicks at one place are a double click.
        const int x = form_->Left() + ((++rightClicks_ % 2) ? 150 : 200);
        const TPoint caption{x, (form_->Top() + form_->ClientToScreen({0, 0}).Y) / 2};
        screen_->Click(caption.X, caption.Y, MouseButton::Right);
        Application->ProcessMessages();
    }
    void CloseMenus() {
        screen_->KeyPress(VK_ESCAPE);
        Application->ProcessMessages();
    }
    const TFrmMain& Form() const { return *form_; }
    int Presents() const { return screen_->PresentCount(); }

private:
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    TFrmMain* form_ = nullptr;
    TPoint button_;
    int rightClicks_ = 0;
};

void BM_LookupAndGloss(benchmark::State& state) {
    FillWordTable();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::vector<TWordHit> hits = LookupWords(kWords[i++ % 2]);
        AnsiString gloss = FormatGloss(hits.front().Index);
        benchmark::DoNotOptimize(gloss);
    }
    WordTable.Clear();
}
BENCHMARK(BM_LookupAndGloss)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_ClickTranslateToPanePainted(benchmark::State& state) {
    ShownMainWindow window;
    std::size_t i = 0;
    for (auto _ : state) window.Translate(kWords[i++ % 2]);
    // The last click must have shown a gloss, or nothing was measured.
    if (window.Form().MemDetail->Text().empty()) state.SkipWithError("the gloss pane stayed empty");
    state.counters["presents"] = window.Presents();
}
BENCHMARK(BM_ClickTranslateToPanePainted)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_CaptionRightClickToSystemMenuPainted(benchmark::State& state) {
    ShownMainWindow window;
    int missed = 0;
    for (auto _ : state) {
        window.OpenSystemMenu();
        state.PauseTiming();
        missed += window.Form().bsSkinForm1->SkinMenu().PopupCount() != 1;
        window.CloseMenus();
        state.ResumeTiming();
    }
    // Every right click must have opened the menu, or nothing was measured.
    if (missed > 0) state.SkipWithError("a right click on the caption opened no system menu");
}
BENCHMARK(BM_CaptionRightClickToSystemMenuPainted)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double lookup = Medians()["BM_LookupAndGloss"];
    const double click = Medians()["BM_ClickTranslateToPanePainted"];
    if (lookup > 0 && click > 0) {
        std::printf("\nclick on the translate button to gloss pane presented: median %.3f ms (target < 2 ms)\n",
                    click / 1000.0);
        std::printf("  = %.1f x the lookup and gloss alone (median %.3f ms)\n", click / lookup, lookup / 1000.0);
    }
    const double menu = Medians()["BM_CaptionRightClickToSystemMenuPainted"];
    if (menu > 0) std::printf("right click on the caption to the system menu presented: median %.3f ms\n", menu / 1000.0);
    return 0;
}
