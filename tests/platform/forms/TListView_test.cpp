// The report list view: selection by pointer and keys with the events the
// main window relies on, the header window, grid lines, scrolling, OwnerData.

#include "FormsFixture.h"
#include "TListView.h"

namespace {

class ListViewTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = ShowPlainForm({100, 100, 500, 400});
        lv = CreateComponent<TListView>(form);
        lv->SetParent(form);
        lv->SetBounds(10, 10, 180, 150);
        lv->SetViewStyle(vsReport);
        lv->Columns().Add()->SetWidth(180);
        lv->SetGridLines(true);
        lv->SetRowSelect(true);
        lv->SetReadOnly(true);
        lv->OnClick = [this](TObject*) { events.push_back("click " + std::to_string(lv->ItemIndex())); };
        lv->OnKeyUp = [this](TObject*, WORD&, TShiftState) { events.push_back("keyup " + std::to_string(lv->ItemIndex())); };
        Pump();
    }
    void Fill(int n) {
        for (int i = 0; i < n; ++i) lv->Items().Add()->SetCaption("word" + std::to_string(i));
        Pump();
    }
    // Screen point inside row `i` (client coordinates of the rows).
    TPoint RowPoint(int i) {
        const TRect r = lv->RowRect(i);
        return lv->ClientToScreen({20, r.Top + r.Height() / 2});
    }
    TForm* form = nullptr;
    TListView* lv = nullptr;
    std::vector<std::string> events;
};

TEST_F(ListViewTest, ClickSelectsTheRowBeforeOnClickAndBelowTheRowsSelectsNothing) {
    Fill(3);
    const TPoint p = RowPoint(1);
    Click(p.X, p.Y);
    EXPECT_EQ(lv->ItemIndex(), 1);
    ASSERT_NE(lv->Selected(), nullptr);
    EXPECT_EQ(lv->Selected()->Caption(), "word1");
    EXPECT_TRUE(lv->Focused());
    const TPoint below = RowPoint(5);
    Click(below.X, below.Y);
    EXPECT_EQ(lv->Selected(), nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"click 1", "click -1"}));
}

TEST_F(ListViewTest, ArrowKeysMoveTheSelectionAndOnKeyUpSeesTheNewRow) {
    Fill(4);
    lv->SetFocus();
    Pump();
    EXPECT_EQ(lv->ItemIndex(), -1);  // focus alone selects nothing
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_UP);
    Key(VK_END);
    Key(VK_DOWN);  // nothing past the end
    EXPECT_EQ(events, (std::vector<std::string>{"keyup 0", "keyup 1", "keyup 0", "keyup 3", "keyup 3"}));
    EXPECT_TRUE(lv->Items()[3]->Focused());
}

TEST_F(ListViewTest, ClearingAndRefillingKeepsIndexesAndDropsTheSelection) {
    Fill(3);
    lv->SetItemIndex(2);
    lv->Items().Clear();
    EXPECT_EQ(lv->ItemIndex(), -1);
    Fill(2);
    EXPECT_EQ(lv->Items().Count(), 2);
    EXPECT_EQ(lv->Items()[1]->Index(), 1);
    EXPECT_EQ(lv->Selected(), nullptr);
}

TEST_F(ListViewTest, TheHeaderIsAPlatformHeaderWindowThatMeasuresItsSections) {
    lv->Columns()[0]->SetWidth(100);
    lv->Columns().Add()->SetWidth(60);
    lv->Columns()[0]->SetCaption("Word");
    Pump();
    const HWND header = HWND(lv->Perform(LVM_GETHEADER));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(GetClassName(header), "SysHeader32");
    EXPECT_EQ(GetParent(header), lv->Handle());
    EXPECT_EQ(SendMessage(header, HDM_GETITEMCOUNT), 2);
    TRect r;
    ASSERT_TRUE(SendMessage(header, HDM_GETITEMRECT, 1, ToLParam(&r)));
    EXPECT_EQ(r.Left, 100);
    EXPECT_EQ(r.Right, 160);
    HDHITTESTINFO hit;
    hit.pt = {50, 5};
    EXPECT_EQ(SendMessage(header, HDM_HITTEST, 0, ToLParam(&hit)), 0);
    EXPECT_EQ(hit.flags, HHT_ONHEADER);
    // Clicking a section reports its column.
    TListColumn* clicked = nullptr;
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };
    TPoint p{130, 5};
    ClientToScreen(header, p);
    Click(p.X, p.Y);
    EXPECT_EQ(clicked, lv->Columns()[1]);
    // A larger font makes taller rows and a taller header.
    const int rowHeight = lv->RowHeight();
    lv->Font().SetHeight(-24);
    EXPECT_GT(lv->RowHeight(), rowHeight + 8);
    EXPECT_EQ(lv->RowRect(0).Top, lv->Header()->Height());
    // Without column headers the rows start at the top.
    lv->SetShowColumnHeaders(false);
    EXPECT_EQ(lv->RowRect(0).Top, 0);
}

TEST_F(ListViewTest, ItsOwnerHearsOfTheHeaderWindowBeingMade) {
    // Code that replaces the list view's WindowProc before its window exists
    // sees the header's creation notice and can take the header over.
    auto* fresh = CreateComponent<TListView>(form);
    fresh->SetViewStyle(vsReport);
    HWND noticed = nullptr;
    TWndMethod previous = fresh->WindowProc;
    fresh->WindowProc = [&noticed, previous](TMessage& m) {
        if (m.Msg == WM_PARENTNOTIFY && LOWORD(m.WParam) == WM_CREATE) noticed = HWND(m.LParam);
        previous(m);
    };
    fresh->SetParent(form);
    fresh->SetBounds(200, 10, 150, 100);
    fresh->HandleNeeded();
    ASSERT_NE(noticed, nullptr);
    EXPECT_EQ(GetClassName(noticed), "SysHeader32");
    EXPECT_EQ(noticed, HWND(fresh->Perform(LVM_GETHEADER)));
}

TEST_F(ListViewTest, RowsScrollIntoViewAndTheBarAppearsOnlyWhenNeeded) {
    Fill(3);
    EXPECT_FALSE(lv->GetScrollInfo(SB_VERT).Scrollable());
    TRect client;
    GetClientRect(lv->Handle(), client);
    const int wide = client.Width();
    Fill(40);
    GetClientRect(lv->Handle(), client);
    EXPECT_LT(client.Width(), wide);  // the vertical bar took its place
    lv->SetFocus();
    Key(VK_END);
    EXPECT_EQ(lv->ItemIndex(), 42);
    EXPECT_EQ(lv->TopIndex() + lv->VisibleRowCount() - 1, 42);
    Key(VK_HOME);
    EXPECT_EQ(lv->TopIndex(), 0);
    Key(VK_NEXT);
    EXPECT_EQ(lv->ItemIndex(), lv->VisibleRowCount() - 1);
}

TEST_F(ListViewTest, SelectionAndGridLinesShowOnTheScreen) {
    Fill(2);
    lv->SetFocus();
    Key(VK_DOWN);
    const TPoint sel = RowPoint(0);
    EXPECT_EQ(Pixel(sel.X + 120, sel.Y), ColorToRGB(clHighlight));  // whole row
    const TPoint other = RowPoint(1);
    EXPECT_EQ(Pixel(other.X + 120, other.Y), ColorToRGB(clWindow));
    const TRect r = lv->RowRect(1);
    const TPoint grid = lv->ClientToScreen({50, r.Bottom - 1});
    EXPECT_EQ(Pixel(grid.X, grid.Y), ColorToRGB(clBtnFace));
}

TEST_F(ListViewTest, OwnerDataRowsComeFromOnDataAsTheyAreShown) {
    std::vector<int> asked;
    lv->OnData = [&](TObject*, TListItem* item) {
        asked.push_back(item->Index());
        item->SetCaption("row" + std::to_string(item->Index()));
    };
    lv->SetOwnerData(true);
    lv->Items().SetCount(100000);
    Pump();
    ASSERT_FALSE(asked.empty());
    EXPECT_LE(asked.size(), 40u);  // only the rows on screen
    const TPoint p = RowPoint(2);
    Click(p.X, p.Y);
    EXPECT_EQ(lv->Selected()->Caption(), "row2");
    TRect row;
    ASSERT_TRUE(lv->Perform(LVM_GETITEMRECT, 2, ToLParam(&row)));
    EXPECT_EQ(row.Height(), lv->RowHeight());
    EXPECT_EQ(row.Top, lv->RowRect(0).Top + 2 * lv->RowHeight());
}

}  // namespace
