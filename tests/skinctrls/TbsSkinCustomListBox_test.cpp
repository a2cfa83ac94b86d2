// The combo box's drop-down list beyond its rows: the caption band with its
// check button, the horizontal bar for wide items, and fading in.

#include "SkinCtrlsTestSupport.h"
#include "TbsSkinComboBox.h"
#include "TbsSkinScrollBar.h"

using namespace ctrltest;

namespace {

class SkinListBoxTest : public SkinCtrlsTest {
protected:
    static TRect WindowRectOf(TWinControl& c) {
        TRect r;
        GetWindowRect(c.Handle(), r);
        return r;
    }
};

TEST_F(SkinListBoxTest, TheCaptionBandSitsAboveTheItemsAndItsCheckButtonAccepts) {
    TForm* form = ShowForm();
    TbsSkinComboBox* combo = ShownCombo(form, 5);
    int closedUp = 0;
    combo->OnCloseUp = [&closedUp](TObject*) { ++closedUp; };
    TbsPopupListBox* list = combo->ListBox();
    EXPECT_EQ(list->CaptionHeight(), 0);
    combo->SetListBoxCaption("Pick one");
    combo->SetListBoxCaptionMode(true);
    TFont big;
    big.Assign(combo->ListBoxDefaultCaptionFont());
    big.SetHeight(20);
    combo->SetListBoxDefaultCaptionFont(big);
    const int caption = list->CaptionHeight();
    EXPECT_GT(caption, 20) << "the band fits the caption font";

    combo->DropDown();
    Pump();
    ASSERT_TRUE(list->IsPoppedUp());
    const TRect window = WindowRectOf(*list);
    EXPECT_EQ(window.Height(), 5 * 20 + 4 + caption);
    // The first row starts under the frame and the band.
    EXPECT_EQ(list->ClientToScreen({0, 0}).Y, window.Top + 2 + caption);
    EXPECT_EQ(list->VisibleRowCount(), 5);
    // The band is drawn in button face, with the caption's text in it.
    TBitmap band;
    screen().ReadScreenRect({window.Left + 2, window.Top + 2, window.Right - 2, window.Top + 2 + caption}, band);
    EXPECT_EQ(band.Pixels(1, 1) & 0xFFFFFF, ColorToRGB(clBtnFace));
    int ink = 0;
    for (int y = 0; y < band.Height() - 1; ++y)
        for (int x = 0; x < 60; ++x) ink += (band.Pixels(x, y) & 0xFFFFFF) != ColorToRGB(clBtnFace);
    EXPECT_GT(ink, 30) << "the caption text";

    // A press on the band beside the button does nothing; the check button
    // takes the pointed-at item and closes the list.
    const TPoint bare{window.Left + 70, window.Top + 2 + caption / 2};
    screen().Click(bare.X, bare.Y);
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    list->SetItemIndex(3);
    const TRect check = list->CheckButtonRectFor(window.Width());
    const TPoint onCheck{window.Left + check.Left + check.Width() / 2, window.Top + check.Top + check.Height() / 2};
    screen().Click(onCheck.X, onCheck.Y);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "item3");
    EXPECT_EQ(closedUp, 1);

    // Leaving caption mode gives the rows back the band's height.
    combo->SetListBoxCaptionMode(false);
    combo->DropDown();
    Pump();
    EXPECT_EQ(WindowRectOf(*list).Height(), 5 * 20 + 4);
    combo->CloseUp(false);
}

TEST_F(SkinListBoxTest, WideItemsBringAHorizontalSkinnedBarUnderTheRows) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    TbsSkinComboBox* combo = ShownCombo(form, 3);
    combo->SetSkinData(skin);
    Pump();
    TbsPopupListBox* list = combo->ListBox();
    const auto& lb = *static_cast<const TbsDataSkinListBox*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("listbox"))].get());
    const auto& hbar = *static_cast<const TbsDataSkinCustomControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex(lb.hscrollbarname))].get());
    const int itemHeight = lb.itemrect.Bottom - lb.itemrect.Top;
    const int frame = (lb.skinrect.Bottom - lb.skinrect.Top) - (lb.clientrect.Bottom - lb.clientrect.Top);
    const int barHeight = hbar.skinrect.Bottom - hbar.skinrect.Top;

    // An extent that fits: no bar, no extra height.
    combo->SetHorizontalExtent(100);
    combo->DropDown();
    Pump();
    EXPECT_EQ(WindowRectOf(*list).Height(), frame + 3 * itemHeight);
    EXPECT_TRUE(list->HorizontalScrollBar() == nullptr || !list->HorizontalScrollBar()->Visible());
    combo->CloseUp(false);

    // Wider than the list: the bar named hscrollbarname, the height grows by it.
    combo->SetHorizontalExtent(400);
    combo->DropDown();
    Pump();
    EXPECT_EQ(WindowRectOf(*list).Height(), frame + 3 * itemHeight + barHeight);
    TbsSkinScrollBar* h = list->HorizontalScrollBar();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->Visible());
    EXPECT_FALSE(h->Both());
    EXPECT_EQ(h->SkinDataName(), lb.hscrollbarname);
    EXPECT_NE(h->RecordIndex(), -1);
    EXPECT_EQ(h->Top(), list->ClientHeight() - h->Height());
    EXPECT_EQ(list->VisibleRowCount(), 3);
    EXPECT_LE(list->ItemRect(2).Bottom, h->Top()) << "every row stays above the bar";
    // Moving the bar scrolls the items sideways.
    h->SetPosition(60);
    EXPECT_EQ(list->HorizontalOffset(), 60);
    combo->CloseUp(false);

    // With more items than rows both bars show: the horizontal one in its "both" look.
    for (int i = 3; i < 20; ++i) combo->Items().Add(("item" + std::to_string(i)).c_str());
    combo->DropDown();
    Pump();
    EXPECT_EQ(WindowRectOf(*list).Height(), frame + 8 * itemHeight + barHeight);
    ASSERT_NE(list->ScrollBar(), nullptr);
    EXPECT_TRUE(list->ScrollBar()->Visible());
    EXPECT_TRUE(h->Both());
    EXPECT_EQ(h->SkinDataName(), lb.bothhscrollbarname);
    EXPECT_EQ(list->ScrollBar()->Height(), list->ClientHeight() - h->Height());
    EXPECT_EQ(list->VisibleRowCount(), 8);
    combo->CloseUp(false);
}

// A virtual screen that keeps every opacity a layered window was given.
class OpacityRecorder : public HeadlessBackend {
public:
    OpacityRecorder() : HeadlessBackend(800, 600) {}
    void SyncWindow(const NativeWindowState& state) override {
        if (state.layered && state.shown && (opacities.empty() || opacities.back() != state.alpha))
            opacities.push_back(state.alpha);
        HeadlessBackend::SyncWindow(state);
    }
    std::vector<int> opacities;
};

TEST(SkinListBoxFade, TheListFadesInByTensEveryFiveMillisecondsToItsValue) {
    auto backend = std::make_unique<OpacityRecorder>();
    OpacityRecorder* screen = backend.get();
    auto session = std::make_unique<WindowSystemSession>(std::move(backend));
    auto app = std::make_unique<ApplicationSession>();
    auto* form = Application->CreateForm<TForm>();
    form->SetBoundsRect({50, 50, 450, 350});
    form->Show();
    Application->ProcessMessages();
    auto* combo = CreateComponent<TbsSkinComboBox>(form);
    combo->SetParent(form);
    for (const char* w : {"one", "two", "three"}) combo->Items().Add(w);
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendValue(95);
    combo->SetAlphaBlendAnimation(true);
    Application->ProcessMessages();

    const DWORD before = GetTickCount();
    combo->DropDown();
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(screen->opacities, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 95}));
    EXPECT_GE(elapsed, 50u) << "ten steps of 5 ms";
    EXPECT_LT(elapsed, 80u);
    combo->CloseUp(false);

    // Without the animation the list shows at its value at once.
    combo->SetAlphaBlendAnimation(false);
    screen->opacities.clear();
    combo->DropDown();
    Application->ProcessMessages();
    EXPECT_EQ(screen->opacities, (std::vector<int>{95}));
    combo->CloseUp(false);
    app.reset();
    session.reset();
}

}  // namespace
