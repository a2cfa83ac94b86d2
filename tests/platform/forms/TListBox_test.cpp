// List boxes and free scroll bars.

#include "FormsFixture.h"
#include "TListBox.h"
#include "TScrollBar.h"

namespace {

class ListBoxTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = ShowPlainForm({100, 100, 500, 400});
        box = CreateComponent<TListBox>(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 120, 100);
        box->SetItemHeight(20);
        for (int i = 0; i < 20; ++i) box->Items().Add("item " + std::to_string(i));
        box->OnClick = [this](TObject*) { clicks.push_back(box->ItemIndex()); };
        Pump();
    }
    TPoint ItemPoint(int i) {
        const TRect r = box->ItemRect(i);
        return box->ClientToScreen({10, r.Top + 5});
    }
    TForm* form = nullptr;
    TListBox* box = nullptr;
    std::vector<int> clicks;
};

TEST_F(ListBoxTest, ClicksKeysAndTheWheelSelectAndScroll) {
    const TPoint p = ItemPoint(2);
    Click(p.X, p.Y);
    EXPECT_EQ(box->ItemIndex(), 2);
    Key(VK_DOWN);
    Key(VK_END);
    EXPECT_EQ(box->ItemIndex(), 19);
    EXPECT_EQ(box->TopIndex(), 20 - box->VisibleRowCount());
    EXPECT_EQ(clicks, (std::vector<int>{2, 3, 19}));
    const TPoint c = box->ClientToScreen({10, 10});
    screen().Wheel(c.X, c.Y, WHEEL_DELTA * 10);
    Pump();
    EXPECT_EQ(box->TopIndex(), 0);
    // Setting ItemIndex from code raises nothing; an index past the end selects nothing.
    box->SetItemIndex(5);
    box->SetItemIndex(50);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(clicks.size(), 3u);
    // Removing the selected item drops the selection.
    box->SetItemIndex(19);
    box->Items().Delete(19);
    EXPECT_EQ(box->ItemIndex(), -1);
}

TEST_F(ListBoxTest, OwnerDrawnItemsGetTheirRectAndState) {
    box->SetStyle(lbOwnerDrawFixed);
    box->SetItemIndex(1);
    std::vector<std::pair<int, TRect>> drawn;
    bool selectedSeen = false;
    box->OnDrawItem = [&](TWinControl* control, int index, const TRect& rect, TOwnerDrawState state) {
        drawn.push_back({index, rect});
        if (index == 1) selectedSeen = (state & odSelected) != 0;
        auto* lb = static_cast<TListBox*>(control);
        lb->Canvas().Brush.Color = clRed;
        lb->Canvas().FillRect(rect);
    };
    box->Invalidate();
    Pump();
    ASSERT_GE(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].first, 0);
    EXPECT_EQ(drawn[1].second, (TRect{0, 20, box->ClientWidth(), 40}));
    EXPECT_TRUE(selectedSeen);
    const TPoint p = ItemPoint(0);
    EXPECT_EQ(Pixel(p.X, p.Y), clRed);
}

TEST_F(FormsTest, ScrollBarStepsPagesDragsAndKeys) {
    TForm* form = ShowPlainForm({100, 100, 500, 400});
    auto* bar = CreateComponent<TScrollBar>(form);
    bar->SetParent(form);
    bar->SetBounds(10, 10, 216, 16);
    bar->SetParams(0, 0, 99);
    bar->SetPageSize(20);
    bar->LargeChange = 20;
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    Pump();
    const TPoint origin = bar->ClientToScreen({0, 0});
    Click(origin.X + 210, origin.Y + 8);  // the right arrow
    EXPECT_EQ(bar->Position(), 1);
    Click(origin.X + 150, origin.Y + 8);  // the track right of the thumb
    EXPECT_EQ(bar->Position(), 21);
    // Holding the arrow: one step at once, then repeats after the delay.
    screen().MouseDown(origin.X + 210, origin.Y + 8);
    Pump();
    EXPECT_EQ(bar->Position(), 22);
    Advance(400);
    EXPECT_EQ(bar->Position(), 22);
    Advance(250);
    EXPECT_GT(bar->Position(), 23);
    screen().MouseUp(origin.X + 210, origin.Y + 8);
    Pump();
    // Dragging the thumb to the far end reaches the last position.
    bar->SetPosition(0);
    screen().Drag({origin.X + 20, origin.Y + 8}, {origin.X + 400, origin.Y + 8});
    Pump();
    EXPECT_EQ(bar->Position(), 80);
    Key(VK_HOME);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_GT(changes, 5);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

}  // namespace
