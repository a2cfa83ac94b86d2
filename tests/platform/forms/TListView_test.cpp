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

TEST_F(ListViewTest, WithoutItsBarsTheViewStillScrollsAndReportsWhereItIs) {
    Fill(40);
    lv->SetShowScrollBars(false);
    lv->SetBorderStyle(bsNone);
    TRect client;
    GetClientRect(lv->Handle(), client);
    EXPECT_EQ(client.Width(), lv->Width());  // nothing drawn beside the rows
    EXPECT_EQ(client.Height(), lv->Height());
    std::vector<TScrollInfo> reports;
    lv->OnScrollInfoChange = [&](TObject*) { reports.push_back(lv->GetScrollInfo(SB_VERT)); };
    lv->SetFocus();
    Key(VK_END);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().Pos, lv->TopIndex());
    EXPECT_EQ(reports.back().Max, 39);
    EXPECT_EQ(reports.back().Page, lv->VisibleRowCount());
    EXPECT_EQ(lv->TopIndex() + lv->VisibleRowCount(), 40);
    // The wheel, and a bar of someone else's asking for a scroll by pixels.
    const TPoint centre = lv->ClientToScreen({50, 60});
    screen().Wheel(centre.X, centre.Y, WHEEL_DELTA);
    Pump();
    EXPECT_EQ(lv->TopIndex(), 40 - lv->VisibleRowCount() - 3);
    lv->Perform(LVM_SCROLL, 0, -5 * lv->RowHeight());
    EXPECT_EQ(lv->TopIndex(), 40 - lv->VisibleRowCount() - 8);
    EXPECT_EQ(reports.back().Pos, lv->TopIndex());
}

TEST_F(ListViewTest, ShiftAndCtrlClicksBuildAMultipleSelection) {
    Fill(8);
    lv->SetMultiSelect(true);
    auto selected = [this] {
        std::vector<int> rows;
        for (TListItem* i = lv->GetNextItem(nullptr, sdAll, isSelected); i; i = lv->GetNextItem(i, sdAll, isSelected))
            rows.push_back(i->Index());
        return rows;
    };
    auto clickWith = [this](int row, std::initializer_list<int> held) {
        for (int vk : held) screen().KeyDown(vk);
        const TPoint p = RowPoint(row);
        Click(p.X, p.Y);
        for (int vk : held) screen().KeyUp(vk);
        Pump();
    };
    struct Step {
        int row;
        std::initializer_list<int> held;
        std::vector<int> selected;
    };
    const Step steps[] = {
        {2, {}, {2}},
        {5, {VK_SHIFT}, {2, 3, 4, 5}},             // range from the last plain pick
        {0, {VK_SHIFT}, {0, 1, 2}},                // a new range replaces the old one
        {6, {VK_CONTROL}, {0, 1, 2, 6}},           // Ctrl adds ...
        {1, {VK_CONTROL}, {0, 2, 6}},              // ... and takes away
        {3, {VK_SHIFT, VK_CONTROL}, {0, 1, 2, 3, 6}},  // a range from the Ctrl pick, kept with the rest
        {4, {}, {4}},
    };
    for (const Step& s : steps) {
        clickWith(s.row, s.held);
        EXPECT_EQ(selected(), s.selected) << "row " << s.row;
        EXPECT_EQ(lv->SelCount(), int(s.selected.size()));
        EXPECT_TRUE(lv->Items()[s.row]->Focused());
    }
    // Keys: Shift+Down extends, Ctrl+A takes all, a plain arrow picks one.
    KeyWith(VK_SHIFT, VK_DOWN);
    EXPECT_EQ(selected(), (std::vector<int>{4, 5}));
    KeyWith(VK_CONTROL, 'A');
    EXPECT_EQ(lv->SelCount(), 8);
    Key(VK_UP);
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    // Without MultiSelect the modifiers make no difference.
    lv->SetMultiSelect(false);
    clickWith(6, {VK_CONTROL});
    EXPECT_EQ(selected(), (std::vector<int>{6}));
}

TEST_F(ListViewTest, ACaptionEditedInPlaceIsAcceptedByEnterOrFocusLossAndDroppedByEscape) {
    Fill(3);
    lv->SetReadOnly(false);
    auto* other = CreateComponent<TListView>(form);
    other->SetParent(form);
    other->SetBounds(250, 10, 100, 100);
    std::vector<std::string> edited;
    lv->OnEdited = [&](TObject*, TListItem* item, AnsiString& s) {
        edited.push_back(item->Caption() + ">" + s);
        s += "!";  // the handler may change the text it is given
    };
    enum class End { Enter, Escape, FocusElsewhere };
    struct Case {
        End end;
        const char* caption;
        std::vector<std::string> edited;
    };
    const Case cases[] = {
        {End::Enter, "pear!", {"word1>pear"}},
        {End::Escape, "word1", {}},
        {End::FocusElsewhere, "pear!", {"word1>pear"}},
    };
    for (const Case& k : cases) {
        lv->Items()[1]->SetCaption("word1");
        edited.clear();
        ASSERT_TRUE(lv->Items()[1]->EditCaption());
        Pump();
        ASSERT_TRUE(lv->IsEditing());
        EXPECT_TRUE(lv->Editor()->Focused());
        EXPECT_EQ(lv->Editor()->Text(), "word1");
        screen().Text("pear");  // replaces the selected caption
        Pump();
        switch (k.end) {
        case End::Enter: Key(VK_RETURN); break;
        case End::Escape: Key(VK_ESCAPE); break;
        case End::FocusElsewhere: other->SetFocus(); Pump(); break;
        }
        EXPECT_FALSE(lv->IsEditing());
        EXPECT_FALSE(lv->Editor()->Visible());
        EXPECT_EQ(lv->Items()[1]->Caption(), k.caption);
        EXPECT_EQ(edited, k.edited);
        if (k.end != End::FocusElsewhere) {
            EXPECT_TRUE(lv->Focused());
        }
    }
    // F2 edits the focused row; OnEditing can refuse, ReadOnly always does.
    lv->SetFocus();
    lv->SetItemFocused(lv->Items()[2]);
    Key(VK_F2);
    EXPECT_TRUE(lv->IsEditing());
    Key(VK_ESCAPE);
    lv->OnEditing = [](TObject*, TListItem*, bool& allow) { allow = false; };
    EXPECT_FALSE(lv->Items()[2]->EditCaption());
    lv->OnEditing = nullptr;
    lv->SetReadOnly(true);
    EXPECT_FALSE(lv->Items()[2]->EditCaption());
}

TEST_F(ListViewTest, ARefusedRenameKeepsTheOldCaptionAndReportsTheError) {
    Fill(2);
    lv->SetReadOnly(false);
    std::vector<std::string> errors;
    Application->OnException = [&](TObject*, const Exception& e) { errors.push_back(e.Message()); };
    lv->OnEdited = [](TObject*, TListItem*, AnsiString& s) { throw Exception("Rename to " + s + " failed"); };
    ASSERT_TRUE(lv->Items()[0]->EditCaption());
    screen().Text("taken");
    Key(VK_RETURN);
    EXPECT_EQ(errors, (std::vector<std::string>{"Rename to taken failed"}));
    EXPECT_EQ(lv->Items()[0]->Caption(), "word0");
    EXPECT_FALSE(lv->IsEditing());
}

TEST_F(ListViewTest, SmallImagesAreDrawnBeforeTheCaptionsAndSetTheRowHeight) {
    auto* images = CreateComponent<TImageList>(form);
    images->SetWidth(16);
    images->SetHeight(24);
    TBitmap icon(16, 24);
    icon.Fill(clRed);
    images->Add(icon);
    Fill(2);
    lv->Items()[0]->SetImageIndex(0);
    lv->SetSmallImages(images);
    EXPECT_GE(lv->RowHeight(), 26);
    const TRect r0 = lv->RowRect(0);
    const TPoint inIcon = lv->ClientToScreen({r0.Left + 2 + 8, r0.Top + r0.Height() / 2});
    EXPECT_EQ(Pixel(inIcon.X, inIcon.Y), ColorToRGB(clRed));
    const TRect r1 = lv->RowRect(1);  // a row without an image leaves the place empty
    const TPoint noIcon = lv->ClientToScreen({r1.Left + 2 + 8, r1.Top + r1.Height() / 2});
    EXPECT_NE(Pixel(noIcon.X, noIcon.Y), ColorToRGB(clRed));
    // The image list going away leaves plain rows.
    delete images;
    EXPECT_EQ(lv->SmallImages(), nullptr);
    EXPECT_LT(lv->RowHeight(), 26);
}
