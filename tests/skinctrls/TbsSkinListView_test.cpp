// The skinned list view: rows picked by pointer and keys with no scroll bar
// of its own, an attached skinned bar that appears only when needed and
// scrolls the list, the skin's colours, and the taken-over header.

#include "SkinCtrlsTestSupport.h"
#include "TbsSkinListView.h"
#include "TbsSkinScrollBar.h"

using namespace ctrltest;

namespace {

class SkinListViewTest : public SkinCtrlsTest {
protected:
    TbsSkinListView* MakeList(TForm* form, int rows) {
        auto* lv = CreateComponent<TbsSkinListView>(form);
        lv->SetParent(form);
        lv->SetBounds(10, 10, 200, 150);
        lv->SetViewStyle(vsReport);
        lv->SetRowSelect(true);
        lv->SetReadOnly(true);
        lv->Columns().Add()->SetWidth(180);
        lv->Columns().Items(0)->SetCaption("单词");
        for (int i = 0; i < rows; ++i) lv->Items().Add()->SetCaption(("word" + std::to_string(i)).c_str());
        Pump();
        return lv;
    }
    void ClickRow(TbsSkinListView& lv, int row) {
        const TRect r = lv.RowRect(row);
        const TPoint p = ScreenPoint(lv, 20, r.Top + r.Height() / 2);
        screen().Click(p.X, p.Y);
        Pump();
    }
};

TEST_F(SkinListViewTest, RowsArePickedByPointerAndKeysWithoutAnyScrollBar) {
    TForm* form = ShowForm();
    TbsSkinListView* lv = MakeList(form, 30);
    // No frame and no bar of its own: the whole window is list.
    EXPECT_EQ(lv->ClientRect(), (TRect{0, 0, 200, 150}));
    EXPECT_FALSE(lv->ShowScrollBars());
    // The header reaches 4 pixels past the list.
    EXPECT_EQ(lv->Header()->Width(), lv->ClientWidth() + 4);

    ClickRow(*lv, 2);
    ASSERT_NE(lv->Selected(), nullptr);
    EXPECT_EQ(lv->ItemIndex(), 2);
    EXPECT_TRUE(lv->Focused());
    Key(VK_DOWN);
    EXPECT_EQ(lv->ItemIndex(), 3);
    Key(VK_END);
    EXPECT_EQ(lv->ItemIndex(), 29);
    // Keys scroll the list although no bar shows.
    EXPECT_GT(lv->TopIndex(), 0);
    EXPECT_EQ(lv->ClientRect(), (TRect{0, 0, 200, 150}));
    Key(VK_HOME);
    EXPECT_EQ(lv->ItemIndex(), 0);
    EXPECT_EQ(lv->TopIndex(), 0);
    // A click beside the rows selects nothing.
    lv->Items().Clear();
    for (int i = 0; i < 3; ++i) lv->Items().Add()->SetCaption("x");
    Pump();
    ClickRow(*lv, 1);
    EXPECT_EQ(lv->ItemIndex(), 1);
    const TPoint below = ScreenPoint(*lv, 20, 140);
    screen().Click(below.X, below.Y);
    Pump();
    EXPECT_EQ(lv->Selected(), nullptr);
}

TEST_F(SkinListViewTest, AnAttachedBarShowsOnlyWhenNeededAndScrollsTheList) {
    TForm* form = ShowForm();
    TbsSkinListView* lv = MakeList(form, 4);
    auto* bar = CreateComponent<TbsSkinScrollBar>(form);
    bar->SetParent(form);
    bar->SetKind(sbVertical);
    bar->SetBounds(210, 10, 19, 150);
    lv->SetVScrollBar(bar);
    Pump();
    EXPECT_FALSE(bar->Visible()) << "four rows fit";

    for (int i = 4; i < 40; ++i) lv->Items().Add()->SetCaption("more");
    Pump();
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Max(), 39);
    EXPECT_EQ(bar->PageSize(), lv->VisibleRowCount());
    EXPECT_EQ(bar->LargeChange(), lv->VisibleRowCount());
    EXPECT_EQ(lv->ClientRect(), (TRect{0, 0, 200, 150}));

    // The bar scrolls the list by rows, and the list's own scrolling moves the bar.
    bar->SetPosition(10);
    EXPECT_EQ(lv->TopIndex(), 10);
    lv->SetFocus();
    Key(VK_HOME);
    EXPECT_EQ(lv->TopIndex(), 0);
    EXPECT_EQ(bar->Position(), 0);
    const TPoint p = ScreenPoint(*lv, 50, 80);
    screen().Wheel(p.X, p.Y, -120);
    Pump();
    EXPECT_EQ(bar->Position(), lv->TopIndex());
    EXPECT_GT(lv->TopIndex(), 0);

    // Hiding the list hides the bar; few rows hide it too.
    lv->SetVisible(false);
    EXPECT_FALSE(bar->Visible());
    lv->SetVisible(true);
    Pump();
    EXPECT_TRUE(bar->Visible());
    lv->Items().Clear();
    Pump();
    EXPECT_FALSE(bar->Visible());

    FreeComponent(bar);
    EXPECT_EQ(lv->VScrollBar(), nullptr);
    lv->Items().Add()->SetCaption("still works");
    Pump();
}

TEST_F(SkinListViewTest, TheSkinGivesColoursFontAndHeaderAndAPressedSection) {
    TForm* form = ShowForm();
    TbsSkinListView* lv = MakeList(form, 3);
    // Unbound: the default colour and font.
    EXPECT_EQ(lv->Color(), clWindow);
    EXPECT_EQ(lv->Font().Name(), "Arial");
    TColor plainHeader = PixelOf(*lv->Header(), 60, 3);

    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    lv->SetHeaderSkinDataName("resizetoolbutton");
    lv->SetSkinData(skin);
    Pump();
    const auto& rec = *static_cast<const TbsDataSkinListView*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("listview"))].get());
    ASSERT_NE(lv->RecordIndex(), -1);
    ASSERT_NE(lv->HeaderRecordIndex(), -1);
    EXPECT_EQ(lv->Color(), rec.bgcolor);
    EXPECT_EQ(lv->Font().Color(), rec.fontcolor);
    EXPECT_NE(PixelOf(*lv->Header(), 60, 3), plainHeader) << "the header shows the skin's button";

    // A press on a section holds it down until the release.
    const TPoint p = ScreenPoint(*lv->Header(), 60, 5);
    screen().MouseDown(p.X, p.Y);
    Pump();
    EXPECT_EQ(lv->PressedSection(), 0);
    screen().MouseUp(p.X, p.Y);
    Pump();
    EXPECT_EQ(lv->PressedSection(), -1);

    // A missing header record falls back to the plain header; the list keeps its record.
    lv->SetHeaderSkinDataName("nosuchbutton");
    Pump();
    EXPECT_EQ(lv->HeaderRecordIndex(), -1);
    EXPECT_EQ(PixelOf(*lv->Header(), 60, 3), plainHeader);
}

}  // namespace
