// The skinned memo: wrapped Chinese text driving an attached skinned scroll
// bar, the bar driving the memo, and no bar of its own.

#include <set>

#include "SkinCtrlsTestSupport.h"
#include "TbsSkinMemo2.h"
#include "TbsSkinScrollBar.h"

using namespace ctrltest;

namespace {

class SkinMemoTest : public SkinCtrlsTest {};

TEST_F(SkinMemoTest, WrappedChineseDrivesTheAttachedBarAndTheBarScrollsTheMemo) {
    TForm* form = ShowForm();
    auto* memo = CreateComponent<TbsSkinMemo2>(form);
    memo->SetParent(form);
    memo->SetBounds(10, 10, 200, 100);
    auto* bar = CreateComponent<TbsSkinScrollBar>(form);
    bar->SetParent(form);
    bar->SetKind(sbVertical);
    bar->SetBounds(210, 10, 19, 100);
    AnsiString text;
    for (int i = 0; i < 8; ++i) text += "这是一个很长的中文句子，用来检查自动换行。";
    memo->SetText(text);
    memo->SetVScrollBar(bar);
    Pump();

    // The whole window is text area: the memo shows no bar of its own.
    EXPECT_EQ(memo->ClientRect(), (TRect{0, 0, 200, 100}));
    // Every display line starts on a character: the text is all double-byte.
    const int lines = int(memo->Perform(EM_GETLINECOUNT));
    ASSERT_GT(lines, 8);
    for (int i = 0; i < lines; ++i) EXPECT_EQ(memo->Perform(EM_LINEINDEX, WPARAM(i)) % 2, 0) << "line " << i;

    const TScrollInfo info = memo->GetScrollInfo(SB_VERT);
    EXPECT_TRUE(bar->Enabled());
    EXPECT_EQ(bar->Max(), lines - 1);
    EXPECT_EQ(bar->PageSize(), info.Page);
    EXPECT_LT(info.Page, lines);

    bar->SetPosition(3);
    EXPECT_EQ(memo->FirstVisibleLine(), 3);
    // One line per wheel step, and the bar follows.
    memo->SetFocus();
    const TPoint p = ScreenPoint(*memo, 50, 50);
    screen().Wheel(p.X, p.Y, -120);
    Pump();
    EXPECT_EQ(memo->FirstVisibleLine(), 4);
    EXPECT_EQ(bar->Position(), 4);

    // Text that fits leaves the bar disabled and empty.
    memo->SetText("短");
    Pump();
    EXPECT_FALSE(bar->Enabled());
    EXPECT_EQ(bar->Max(), 0);
    EXPECT_EQ(bar->PageSize(), 0);
    EXPECT_EQ(bar->Position(), 0);

    // A bar that goes is forgotten.
    FreeComponent(bar);
    EXPECT_EQ(memo->VScrollBar(), nullptr);
    memo->SetText(text);
    EXPECT_EQ(memo->ClientRect(), (TRect{0, 0, 200, 100}));
}

TEST_F(SkinMemoTest, TheSkinGivesColoursAndTheActiveOnesWhileFocused) {
    TForm* form = ShowForm();
    TbsSkinData* skin = LoadSkin(form, DeliveredSkinIni());
    auto* memo = CreateComponent<TbsSkinMemo2>(form);
    memo->SetParent(form);
    memo->SetBounds(10, 10, 200, 100);
    memo->SetSkinData(skin);
    const auto& rec = *static_cast<const TbsDataSkinMemoControl*>(
        skin->SkinControls()[std::size_t(skin->FindControlIndex("memo"))].get());
    EXPECT_EQ(memo->Color(), rec.bgcolor);
    EXPECT_EQ(memo->Font().Color(), rec.fontcolor);
    memo->SetFocus();
    Pump();
    EXPECT_EQ(memo->Font().Color(), rec.activefontcolor);
    EXPECT_EQ(PixelOf(*memo, 100, 90), ColorToRGB(rec.activebgcolor));
}

// A disabled memo draws one line fewer than fit: n = client height div the
// height of "Wq", and lines first .. first + n - 2 are drawn.
TEST_F(SkinMemoTest, ADisabledMemoDrawsOneLineFewerThanFit) {
    TForm* form = ShowForm();
    auto* memo = CreateComponent<TbsSkinMemo2>(form);
    memo->SetParent(form);
    // Unbound, the memo draws in its own font (Arial, height 14).
    TBitmap measure(1, 1);
    measure.Canvas().Font.Assign(memo->Font());
    const int lineHeight = measure.Canvas().TextHeight("Wq");
    ASSERT_GT(lineHeight, 0);
    memo->SetText("Wq 0\r\nWq 1\r\nWq 2\r\nWq 3\r\nWq 4\r\nWq 5\r\nWq 6\r\nWq 7\r\nWq 8\r\nWq 9");
    memo->SetEnabled(false);
    for (const int height : {100, 20, 2 * lineHeight + 3, lineHeight - 1}) {
        SCOPED_TRACE("client height " + std::to_string(height));
        memo->SetBounds(10, 10, 200, height);
        memo->Invalidate();
        TBitmap shot;
        Shot(*memo, shot);
        const TColor background = shot.Pixels(199, height - 1);
        // The lines with ink, as line numbers.
        std::set<int> inked;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 200; ++x)
                if (shot.Pixels(x, y) != background) inked.insert(y / lineHeight);
        const int fit = height / lineHeight;
        std::set<int> expected;
        for (int i = 0; i < fit - 1; ++i) expected.insert(i);
        EXPECT_EQ(inked, expected) << "line height " << lineHeight;
    }
}

}  // namespace
