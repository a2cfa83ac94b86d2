// The rows and columns behind the list view.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "ListItems.h"

namespace {

struct Recorder : TListObserver {
    int structure = 0;
    std::vector<int> changed;
    std::vector<std::pair<int, int>> selections;
    int columns = 0;
    void ListStructureChanged() override { ++structure; }
    void ListItemChanged(int index) override { changed.push_back(index); }
    void ListSelectionChanged(int o, int n) override { selections.push_back({o, n}); }
    void ListColumnsChanged() override { ++columns; }
};

TEST(ListItemsTest, RowsKeepTheirIndexesAndTheSelectionFollowsInsertAndDelete) {
    Recorder r;
    TListItems items(&r);
    for (const char* c : {"apple", "apricot", "banana"}) items.Add()->SetCaption(c);
    EXPECT_EQ(items.Count(), 3);
    items[2]->SetSelected(true);
    EXPECT_EQ(items.SelectedIndex(), 2);
    EXPECT_EQ(r.selections.back(), (std::pair<int, int>{-1, 2}));
    items.Insert(0)->SetCaption("aardvark");
    EXPECT_EQ(items.SelectedIndex(), 3);
    EXPECT_TRUE(items[3]->Selected());
    EXPECT_EQ(items[3]->Caption(), "banana");
    EXPECT_EQ(items[1]->Index(), 1);
    items.Delete(3);
    EXPECT_EQ(items.SelectedIndex(), -1);
    EXPECT_EQ(r.selections.back(), (std::pair<int, int>{3, -1}));
    items[0]->SetSelected(true);
    items.Delete(0);
    EXPECT_EQ(items.SelectedIndex(), -1);
    items[1]->SetSelected(true);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.SelectedIndex(), -1);
    EXPECT_THROW(items.Item(0), EListError);
    // Selecting nothing valid selects nothing.
    items.SetSelectedIndex(5);
    EXPECT_EQ(items.SelectedIndex(), -1);
}

TEST(ListItemsTest, TextChangesReportTheRowAndUpdatesReportOnce) {
    Recorder r;
    TListItems items(&r);
    items.BeginUpdate();
    for (int i = 0; i < 50; ++i) items.Add()->SetCaption("x");
    EXPECT_EQ(r.structure, 0);
    items.EndUpdate();
    EXPECT_EQ(r.structure, 1);
    r.changed.clear();
    items[7]->SetCaption("seven");
    items[8]->SubItems().Add("sub");
    EXPECT_EQ(r.changed, (std::vector<int>{7, 8}));
}

TEST(ListItemsTest, OwnerDataRowsComeFromTheHandlerOnEveryRequest) {
    TListItems items;
    items.SetOwnerData(true);
    items.SetCount(1000);
    int calls = 0;
    items.OnData = [&](TListItem& item) {
        ++calls;
        item.SetCaption("row " + std::to_string(item.Index()));
        if (item.Index() == 5) item.SubItems().Add("five");
    };
    EXPECT_EQ(items.Item(999)->Caption(), "row 999");
    EXPECT_EQ(items.Item(5)->SubItems().Count(), 1);
    EXPECT_EQ(items.Item(6)->SubItems().Count(), 0);  // nothing left over from row 5
    EXPECT_EQ(calls, 3);
    EXPECT_THROW(items.Add(), EListError);
    items.SetSelectedIndex(900);
    items.SetCount(10);  // the selected row is gone
    EXPECT_EQ(items.SelectedIndex(), -1);
}

TEST(ListItemsTest, ColumnsReportChangesAndSumTheirWidths) {
    Recorder r;
    TListColumns cols(&r);
    cols.Add()->SetWidth(180);
    TListColumn* second = cols.Add();
    second->SetWidth(-5);
    EXPECT_EQ(second->Width(), 0);
    second->SetWidth(20);
    EXPECT_EQ(cols.TotalWidth(), 200);
    EXPECT_EQ(second->Index(), 1);
    EXPECT_GE(r.columns, 4);
    cols.Delete(0);
    EXPECT_EQ(second->Index(), 0);
}

}  // namespace
