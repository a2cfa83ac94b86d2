// The skinned push button's paint: a full repaint of a 65 x 25 button from
// the delivered skin (bind, compose, caption, one copy to the window) against
// one copy of its pixels, and one morph step (two state images composed and
// blended) against the 25-millisecond tick of the frame's morph timers.
//
// The skinned word box: one character typed through the desktop's text
// input, from the input event to the edit repainted, against repainting the
// box (frame and text area) alone.
//
// The hit list: filling a skinned list view (colours, font and header from
// the skin) with eleven rows and painting it, header included, against the
// same with the plain list view.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TbsSkinButton.h"
#include "TbsSkinData.h"
#include "TbsSkinEdit.h"
#include "TbsSkinListView.h"
#include "WindowSystem.h"

namespace {

class BenchButton : public TbsSkinButton {
public:
    using TbsSkinButton::TbsSkinButton;
    void HoldMorph(double k) { SetMorphFactor(k); }
};

struct Scene {
    Scene() {
        auto backend = std::make_unique<HeadlessBackend>(400, 300);
        screen = backend.get();
        session = std::make_unique<WindowSystemSession>(std::move(backend));
        app = std::make_unique<ApplicationSession>();
        form = Application->CreateForm<TForm>();
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 200, 100);
        form->Show();
        skin = CreateComponent<TbsSkinData>(form);
        skin->LoadIniSkin(MIRVO_SOURCE_DIR "/dat/skin1/skin.ini");
        button = CreateComponent<BenchButton>(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 65, 25);
        button->SetCaption("Translate");
        button->SetSkinData(skin);
        edit = CreateComponent<TbsSkinEdit>(form);
        edit->SetParent(form);
        edit->SetBounds(10, 50, 98, 21);
        edit->SetSkinData(skin);
        plainList = CreateComponent<TListView>(form);
        skinnedList = CreateComponent<TbsSkinListView>(form);
        skinnedList->SetHeaderSkinDataName("resizetoolbutton");
        for (TCustomListView* list : {static_cast<TCustomListView*>(plainList), static_cast<TCustomListView*>(skinnedList)}) {
            list->SetParent(form);
            list->SetBounds(110, 5, 80, 90);
            list->SetViewStyle(vsReport);
            list->SetReadOnly(true);
            list->Columns().Add()->SetWidth(76);
            list->Columns().Items(0)->SetCaption("Word");
        }
        skinnedList->SetSkinData(skin);
        Application->ProcessMessages();
    }
    HeadlessBackend* screen = nullptr;
    std::unique_ptr<WindowSystemSession> session;
    std::unique_ptr<ApplicationSession> app;
    TForm* form = nullptr;
    TbsSkinData* skin = nullptr;
    BenchButton* button = nullptr;
    TbsSkinEdit* edit = nullptr;
    TListView* plainList = nullptr;
    TbsSkinListView* skinnedList = nullptr;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_CopyButtonPixels(benchmark::State& state) {
    std::vector<std::uint32_t> from(65 * 25, 0x123456), to(65 * 25);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyButtonPixels);

void BM_RepaintButton(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) s.button->Repaint();
}
BENCHMARK(BM_RepaintButton);

void BM_ButtonMorphStep(benchmark::State& state) {
    Scene& s = TheScene();
    s.button->HoldMorph(0.4);
    for (auto _ : state) s.button->Repaint();
    s.button->HoldMorph(0);
}
BENCHMARK(BM_ButtonMorphStep)->Unit(benchmark::kMicrosecond);

void BM_RepaintEditBox(benchmark::State& state) {
    Scene& s = TheScene();
    s.edit->SetFocus();
    s.edit->SetText("apple");
    Application->ProcessMessages();
    for (auto _ : state) {
        RedrawWindow(s.edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_RepaintEditBox)->Unit(benchmark::kMicrosecond);

void BM_TypeCharacterIntoEdit(benchmark::State& state) {
    Scene& s = TheScene();
    s.edit->SetFocus();
    s.edit->SetText("apple");
    s.edit->SetSelStart(5);
    Application->ProcessMessages();
    for (auto _ : state) {
        s.screen->Text("s");
        Application->ProcessMessages();
        // Keep the word short, as in the word box, without timing the reset.
        if (s.edit->Text().size() > 12) {
            state.PauseTiming();
            s.edit->SetText("apple");
            s.edit->SetSelStart(5);
            Application->ProcessMessages();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TypeCharacterIntoEdit)->Unit(benchmark::kMicrosecond);

// The hit list after a translation: cleared, eleven rows added, painted.
void FillAndPaint(benchmark::State& state, TCustomListView& list) {
    static const char* const words[] = {"apple",   "apples",   "applet",  "applaud",   "applause", "appliance",
                                        "applied", "applicant", "applier", "applicable", "apply"};
    list.BringToFront();
    Application->ProcessMessages();
    for (auto _ : state) {
        list.Items().Clear();
        for (const char* w : words) list.Items().Add()->SetCaption(w);
        RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

void BM_FillAndPaintPlainListView(benchmark::State& state) { FillAndPaint(state, *TheScene().plainList); }
BENCHMARK(BM_FillAndPaintPlainListView)->Unit(benchmark::kMicrosecond);

void BM_FillAndPaintSkinnedListView(benchmark::State& state) { FillAndPaint(state, *TheScene().skinnedList); }
BENCHMARK(BM_FillAndPaintSkinnedListView)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
