// The skinned popup menu's hot paths with the program's skin, each reported
// as a ratio to a baseline timed in the same run (the counter "x_baseline"):
//
//   OpenSystemMenu  opening the main window's 7-item system menu (items built,
//                   popup sized, placed, window shaped, composed and painted,
//                   then closed again), against one composition of the popup
//                   picture at the menu's size
//   MoveHighlight   moving the highlight down by one item (the old item and
//                   the new one repainted on the window), against repainting
//                   that one item
//
// Run: bench/menu_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

#include "BenchTiming.h"
#include "Forms.h"
#include "HeadlessBackend.h"
#include "SkinComposition.h"
#include "SkinCornerPoints.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupWindow.h"
#include "WindowSystem.h"

namespace {

// The main window with the program's skin, and its system menu's items:
// minimise, roll-up, minimise-to-tray, "-", about, "-", close.
class MainWindow {
public:
    MainWindow() {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        form = Application->CreateForm<TForm>();
        form->SetBounds(40, 40, 551, 391);
        frame = CreateComponent<TbsSkinForm>(form);
        skin = CreateComponent<TbsSkinData>(form);
        skin->LoadIniSkin(std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini");
        frame->SetSkinData(skin);
        frame->SetBorderIcons(biSystemMenu | biMinimize | biRollUp | biMinimizeToTray);
        form->Show();
        PumpMessages();
    }
    ~MainWindow() {
        app_.reset();
        session_.reset();
    }
    // The items as the system menu shows them (rebuilt, as each opening does).
    TMenuItem* SystemMenuItems() {
        TMenuItem* root = frame->GetSystemMenuItems();
        const int close = root->Count() - 1;
        root->Insert(close, std::make_unique<TMenuItem>(nullptr))->SetCaption("-");
        root->Insert(close, std::make_unique<TMenuItem>(nullptr))->SetCaption("About...");
        return root;
    }
    // Paints the popup into its window's surface; handing the surface to the
    // (virtual) screen is the desktop's work, not the menu's.
    void Open() {
        frame->SkinMenu().Popup(nullptr, skin, false, SystemMenuItems(), {60, 70, 60, 70});
        if (TbsSkinPopupWindow* popup = frame->SkinMenu().TopPopup()) UpdateWindow(popup->Handle());
    }
    void Close() { frame->SkinMenu().CloseMenu(); }

    TForm* form = nullptr;
    TbsSkinForm* frame = nullptr;
    TbsSkinData* skin = nullptr;

private:
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
};

MainWindow& Window() {
    static MainWindow window;
    return window;
}

void BM_OpenSystemMenu(benchmark::State& state) {
    MainWindow& w = Window();
    w.Open();
    TbsSkinPopupWindow* popup = w.frame->SkinMenu().TopPopup();
    if (!popup || popup->Items().size() != 7 || !popup->SkinnedLook()) {
        state.SkipWithError("the skinned 7-item system menu did not open");
        return;
    }
    const int width = popup->Width(), height = popup->Height();
    w.Close();
    const TbsDataSkinPopupWindow& record = w.skin->PopupWindow();
    const TBitmap& picture = *w.skin->ActiveBitmaps()[std::size_t(record.windowpictureindex)];
    const SkinCornerPoints points = CornerPointsOf(record);
    const TSize size{picture.Width(), picture.Height()};
    TBitmap background;
    const double baseline = MeanSeconds(2000, [&] {
        ComposeWindowImage(points, {0, 0, size.cx, size.cy}, picture, background, width, height,
                           SizedCornerPoints(points, size, {width, height}), StretchFlagsOf(record), true);
    });
    RunTimed(state, baseline, [&] {
        w.Open();
        w.Close();
    });
}
BENCHMARK(BM_OpenSystemMenu)->Unit(benchmark::kMicrosecond);

void BM_MoveHighlight(benchmark::State& state) {
    MainWindow& w = Window();
    w.Open();
    TbsSkinPopupWindow* popup = w.frame->SkinMenu().TopPopup();
    if (!popup) {
        state.SkipWithError("the menu did not open");
        return;
    }
    TbsSkinMenuItem& item = *popup->Items()[0];
    const double baseline = MeanSeconds(2000, [&] { popup->RepaintItem(item); });
    // Down cycles through the five selectable items; each step repaints two.
    RunTimed(state, baseline, [&] { popup->KeyDown(VK_DOWN); });
    w.Close();
}
BENCHMARK(BM_MoveHighlight)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
