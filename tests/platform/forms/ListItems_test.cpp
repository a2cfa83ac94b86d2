// The rows and columns behind the list view.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "ListItems.h"

namespace {

struct Recorder : TListObserver {
    int structure = 0;
    std::vector<int> changed;
    std::vector<std::pair<int, bool>> selections;
    int columns = 0;
    void ListStructureChanged() override { ++structure; }
    void ListItemChanged(int index) override { changed.push_back(index); }
    void ListSelectionChanged(int i, bool on) override { selections.push_back({i, on}); }
    void ListColumnsChanged() override { ++columns; }
};

TEST(ListItemsTest, RowsKeepTheirIndexesAndTheSelectionFollowsInsertAndDelete) {
    Recorder r;
    TListItems items(&r);
    for (const char* c : {"apple", "apricot", "banana"}) items.Add()->SetCaption(c);
    EXPECT_EQ(items.Count(), 3);
    items[2]->SetSelected(true);
    EXPECT_EQ(items.SelectedIndex(), 2);
    EXPECT_EQ(r.selections.back(), (std::pair<int, bool>{2, true}));
    items.Insert(0)->SetCaption("aardvark");
    EXPECT_EQ(items.SelectedIndex(), 3);
    EXPECT_TRUE(items[3]->Selected());
    EXPECT_EQ(items[3]->Caption(), "banana");
    EXPECT_EQ(items[1]->Index(), 1);
    items.Delete(3);
    EXPECT_EQ(items.SelectedIndex(), -1);
    EXPECT_EQ(r.selections.size(), 1u);  // a deleted row leaves without a report
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

TEST(ListItemsTest, MultipleSelectionAddsRangesAndReportsEachRowThatChanged) {
    Recorder r;
    TListItems items(&r);
    for (int i = 0; i < 6; ++i) items.Add();
    using Reports = std::vector<std::pair<int, bool>>;
    auto selected = [&] {
        std::vector<int> rows;
        for (int i = items.NextSelected(-1); i >= 0; i = items.NextSelected(i)) rows.push_back(i);
        return rows;
    };
    // Without MultiSelect, adding a row replaces the selection.
    items.SetItemSelected(1, true);
    items.SetItemSelected(4, true);
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    items.SetMultiSelect(true);
    r.selections.clear();
    items.SetItemSelected(1, true);
    items.SelectRange(3, 2, true);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(items.SelCount(), 4);
    EXPECT_EQ(items.SelectedIndex(), 1);
    EXPECT_EQ(r.selections, (Reports{{1, true}, {2, true}, {3, true}}));
    // A range without the others: the rows that leave are reported first.
    r.selections.clear();
    items.SelectRange(4, 5, false);
    EXPECT_EQ(r.selections, (Reports{{1, false}, {2, false}, {3, false}, {5, true}}));
    // Rows move with inserts and deletes; a deleted selected row just leaves.
    items.SetItemSelected(0, true);
    items.Insert(0);
    EXPECT_EQ(selected(), (std::vector<int>{1, 5, 6}));
    items.Delete(5);
    EXPECT_EQ(selected(), (std::vector<int>{1, 5}));
    EXPECT_TRUE(items[5]->Selected());
    // Switching MultiSelect off keeps only the first.
    items.SetMultiSelect(false);
    EXPECT_EQ(selected(), (std::vector<int>{1}));
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
