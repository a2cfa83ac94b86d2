// The drop-down list combo box: the text/OnChange rule, use without a
// window, picking by pointer and keys, where the list opens.

#include "FormsFixture.h"
#include "TComboBox.h"

namespace {

class ComboBoxTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = ShowPlainForm({100, 100, 500, 400});
        combo = CreateComponent<TComboBox>(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 120, 21);
        combo->OnChange = [this](TObject*) { events.push_back("change " + combo->Text()); };
        combo->OnClick = [this](TObject*) { events.push_back("click " + std::to_string(combo->ItemIndex())); };
    }
    TForm* form = nullptr;
    TComboBox* combo = nullptr;
    std::vector<std::string> events;
};

TEST_F(ComboBoxTest, OnlyAnActualTextChangeRaisesOnChange) {
    struct Step {
        int index;
        const char* text;
        std::vector<std::string> events;
    };
    combo->Items().Add("apple");
    combo->Items().Add("apricot");
    combo->Items().Add("apple");  // same text as item 0
    const Step steps[] = {
        {0, "apple", {"change apple"}},
        {0, "apple", {}},
        {2, "apple", {}},  // another item, same text: no change
        {1, "apricot", {"change apricot"}},
        {7, "", {"change "}},  // out of range selects nothing
        {-1, "", {}},
    };
    for (const Step& s : steps) {
        events.clear();
        combo->SetItemIndex(s.index);
        EXPECT_EQ(combo->Text(), s.text) << s.index;
        EXPECT_EQ(events, s.events) << s.index;
    }
    // On an empty list nothing is selected and nothing is raised.
    combo->Items().Clear();
    events.clear();
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, AHiddenComboBoxWorksWithoutAWindow) {
    auto* hidden = CreateComponent<TComboBox>(form);
    hidden->SetVisible(false);
    hidden->SetParent(form);
    int changes = 0;
    hidden->OnChange = [&](TObject*) { ++changes; };
    hidden->Items().Add("one");
    hidden->SetItemIndex(0);
    EXPECT_EQ(hidden->Text(), "one");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(hidden->Showing());
}

TEST_F(ComboBoxTest, PickingFromTheOpenListByPointer) {
    for (const char* s : {"red", "green", "blue"}) combo->Items().Add(s);
    Pump();
    const TPoint field = combo->ClientToScreen({60, 10});
    Click(field.X, field.Y);
    ASSERT_TRUE(combo->DroppedDown());
    TCustomListBox* list = combo->DropList();
    TRect lr;
    GetWindowRect(list->Handle(), lr);
    EXPECT_EQ(lr.Top, combo->ClientToScreen({0, combo->Height()}).Y);
    // The item under the pointer is picked on release.
    const TRect item = list->ItemRect(2);
    const TPoint p = list->ClientToScreen({10, item.Top + item.Height() / 2});
    Click(p.X, p.Y);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"change blue", "click 2"}));
    // Escape closes without picking.
    Click(field.X, field.Y);
    Key(VK_UP);
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    // A second click on the field closes the open list; neither click is a pick.
    Click(field.X, field.Y);
    Click(field.X + 3, field.Y);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(events, (std::vector<std::string>{"change blue", "click 2"}));
}

TEST_F(ComboBoxTest, ArrowKeysPickTheNextItemWhileClosed) {
    for (const char* s : {"a", "b", "c"}) combo->Items().Add(s);
    combo->SetFocus();
    Pump();
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"change a", "click 0", "change b", "click 1", "change a", "click 0"}));
}

TEST_F(ComboBoxTest, AListThatWouldPassTheWorkAreaOpensAbove) {
    screen().SetWorkArea({0, 0, 800, 300});
    for (int i = 0; i < 8; ++i) combo->Items().Add("item" + std::to_string(i));
    combo->SetTop(170);  // screen y 270 + list would pass 300
    Pump();
    combo->SetDroppedDown(true);
    TRect lr;
    GetWindowRect(combo->DropList()->Handle(), lr);
    EXPECT_EQ(lr.Bottom, combo->ClientToScreen({0, 0}).Y);
    combo->SetDroppedDown(false);
}

}  // namespace

TEST_F(ComboBoxTest, AfterTheListsOwnScrollBarAClickOnAnItemStillPicksAndCloses) {
    for (int i = 0; i < 20; ++i) combo->Items().Add("item" + std::to_string(i));
    combo->SetFocus();
    Pump();
    const TPoint field = combo->ClientToScreen({60, 10});
    Click(field.X, field.Y);
    ASSERT_TRUE(combo->DroppedDown());
    TPopupListBox* list = combo->DropList();
    ASSERT_TRUE(list->GetScrollInfo(SB_VERT).Scrollable());
    // The bar's bottom arrow scrolls the list; the combo box gives up the
    // pointer for it, and neither the list nor the bar takes the focus.
    TRect wr;
    GetWindowRect(list->Handle(), wr);
    Click(wr.Right - 6, wr.Bottom - 6);
    EXPECT_EQ(list->TopIndex(), 1);
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(combo->Focused());
    const TRect item = list->ItemRect(5);
    const TPoint p = list->ClientToScreen({10, item.Top + item.Height() / 2});
    Click(p.X, p.Y);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 5);
    EXPECT_EQ(events, (std::vector<std::string>{"change item5", "click 5"}));
    EXPECT_TRUE(combo->Focused());
}
