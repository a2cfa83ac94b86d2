// The memo: lines, word wrap at its width, scrolling, typed line breaks.

#include "FormsFixture.h"
#include "TMemo.h"

namespace {

class MemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = ShowPlainForm({50, 50, 450, 350});
        memo = CreateComponent<TMemo>(form);
        memo->SetParent(form);
        memo->SetBounds(10, 10, 150, 80);
        Pump();
    }
    void ClickMemo() {
        const TPoint p = memo->ClientToScreen({5, 5});
        Click(p.X, p.Y);
    }
    int DisplayLines() { return int(memo->Perform(EM_GETLINECOUNT)); }
    TForm* form = nullptr;
    TMemo* memo = nullptr;
};

TEST_F(MemoTest, LinesAndTextAreOneValue) {
    memo->Lines().Add("first");
    memo->Lines().Add(Utf8ToAnsi("第二行"));
    EXPECT_EQ(memo->Text(), "first\r\n" + Utf8ToAnsi("第二行"));
    memo->Lines().Insert(1, "middle");
    memo->Lines().Put(0, "one");
    EXPECT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines()[1], "middle");
    memo->Lines().Delete(2);
    EXPECT_EQ(memo->Text(), "one\r\nmiddle");
    // Lone CR and LF become line breaks like CR LF.
    memo->SetText("a\nb\rc");
    EXPECT_EQ(memo->Lines().Count(), 3);
    memo->Lines().Clear();
    EXPECT_EQ(memo->Lines().Count(), 0);
}

TEST_F(MemoTest, WordWrapBreaksAtTheWidthAndFollowsResizing) {
    const AnsiString text = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";
    memo->SetText(text);
    const int wrapped = DisplayLines();
    EXPECT_GT(wrapped, 2);
    EXPECT_EQ(memo->Lines().Count(), 1);  // still one line of text
    memo->SetWidth(600);
    Pump();
    EXPECT_EQ(DisplayLines(), 1);
    memo->SetWidth(150);
    memo->SetWordWrap(false);
    EXPECT_EQ(DisplayLines(), 1);
    // Chinese text without blanks wraps between characters.
    memo->SetWordWrap(true);
    memo->SetText(Utf8ToAnsi("一二三四五六七八九十一二三四五六七八九十"));
    EXPECT_GT(DisplayLines(), 1);
    for (int i = 0; i < DisplayLines(); ++i) EXPECT_EQ(memo->Perform(EM_LINEINDEX, WPARAM(i)) % 2, 0);
}

TEST_F(MemoTest, EnterTypesALineBreakAndTheCaretMovesByLines) {
    ClickMemo();
    screen().Text("one");
    Key(VK_RETURN);
    screen().Text("二");
    Pump();
    EXPECT_EQ(memo->Text(), "one\r\n" + Utf8ToAnsi("二"));
    Key(VK_UP);
    EXPECT_EQ(memo->CaretPosition().Y, 0);
    Key(VK_END);
    Key(VK_RIGHT);  // over the line break in one step
    EXPECT_EQ(memo->CaretPosition(), (TPoint{0, 1}));
    Key(VK_BACK);  // joins the lines again
    EXPECT_EQ(memo->Text(), "one" + Utf8ToAnsi("二"));
}

TEST_F(MemoTest, ScrollsToTheCaretAndByBarsAndWheel) {
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 30; ++i) memo->Lines().Add("line " + std::to_string(i));
    Pump();
    const TScrollInfo info = memo->GetScrollInfo(SB_VERT);
    EXPECT_EQ(info.Max, 29);
    EXPECT_GT(info.Page, 1);
    EXPECT_LT(info.Page, 30);
    ClickMemo();
    KeyWith(VK_CONTROL, VK_END);
    EXPECT_EQ(memo->FirstVisibleLine(), 30 - info.Page);
    KeyWith(VK_CONTROL, VK_HOME);
    EXPECT_EQ(memo->FirstVisibleLine(), 0);
    const TPoint centre = memo->ClientToScreen({20, 20});
    UINT wheelLines = 0;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &wheelLines);
    screen().Wheel(centre.X, centre.Y, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(memo->FirstVisibleLine(), int(wheelLines));
    memo->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10));
    EXPECT_EQ(memo->FirstVisibleLine(), 10);
    // The bar's down arrow (bottom right of the memo) scrolls one line.
    TRect window;
    GetWindowRect(memo->Handle(), window);
    Click(window.Right - 10, window.Bottom - 10);
    EXPECT_EQ(memo->FirstVisibleLine(), 11);
}

}  // namespace
