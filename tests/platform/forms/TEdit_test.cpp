// The single-line edit driven through the window system: typing, the caret
// over double-byte characters, selection, the clipboard, limits, scrolling.

#include "FormsFixture.h"
#include "Menus.h"
#include "TButton.h"
#include "StdCtrlsTestSupport.h"
#include "TCustomEdit.h"

namespace {

const AnsiString kZhong = Utf8ToAnsi("中");
const AnsiString kWen = Utf8ToAnsi("文");

class EditTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = ShowPlainForm({100, 100, 400, 200});
        edit = CreateComponent<TEdit>(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 21);
        Pump();
    }
    // Screen point of a client point of the edit.
    TPoint At(int x, int y) { return edit->ClientToScreen({x, y}); }
    void ClickEdit(int x = 5) {
        const TPoint p = At(x, 8);
        Click(p.X, p.Y);
    }
    void Type(const char* utf8) {
        screen().Text(utf8);
        Pump();
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(EditTest, TypedChineseAndLatinTextArrivesWholeAndTheCaretStepsOverCharacters) {
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    ClickEdit();
    ASSERT_TRUE(edit->Focused());
    Type("ab中文c");
    EXPECT_EQ(edit->Text(), "ab" + kZhong + kWen + "c");
    EXPECT_EQ(changes, 5);  // one per character, never one per byte
    EXPECT_EQ(edit->SelStart(), 7);
    const std::vector<int> leftStops{6, 4, 2, 1, 0, 0};
    for (int want : leftStops) {
        Key(VK_LEFT);
        EXPECT_EQ(edit->SelStart(), want);
    }
    Key(VK_END);
    Key(VK_LEFT);
    Key(VK_BACK);  // removes 文 whole
    EXPECT_EQ(edit->Text(), "ab" + kZhong + "c");
    EXPECT_EQ(edit->SelStart(), 4);
    Key(VK_LEFT);
    Key(VK_DELETE);
    EXPECT_EQ(edit->Text(), "abc");
    // Asking for a caret inside a character puts it before the character.
    edit->SetText(kZhong + kWen);
    edit->SetSelStart(3);
    EXPECT_EQ(edit->SelStart(), 2);
}

TEST_F(EditTest, SelectingWithKeysAndWithThePointer) {
    edit->SetText("hello world");
    ClickEdit();
    Key(VK_END);
    screen().KeyDown(VK_SHIFT);
    screen().KeyPress(VK_LEFT);
    screen().KeyPress(VK_LEFT);
    screen().KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(edit->SelText(), "ld");
    KeyWith(VK_CONTROL, 'A');
    EXPECT_EQ(edit->SelLength(), 11);
    // A drag from the start to past the end selects everything.
    screen().Drag(At(1, 8), At(140, 8));
    Pump();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 11);
    // A double click selects the word under the pointer.
    const TPoint p = At(edit->CaretPos().X - 10, 8);
    screen().Click(p.X, p.Y);
    screen().Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(edit->SelText(), "world");
}

TEST_F(EditTest, ClipboardRoundTripAndUndo) {
    ClickEdit();
    Type("词典");
    KeyWith(VK_CONTROL, 'Z');  // the typed run goes at once
    EXPECT_EQ(edit->Text(), "");
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(edit->Text(), Utf8ToAnsi("词典"));
    KeyWith(VK_CONTROL, 'A');
    KeyWith(VK_CONTROL, 'C');
    EXPECT_EQ(GetClipboardText(), Utf8ToAnsi("词典"));
    Key(VK_END);
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text(), Utf8ToAnsi("词典词典"));
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(edit->Text(), Utf8ToAnsi("词典"));
    KeyWith(VK_CONTROL, 'Z');  // undoing again redoes the paste
    EXPECT_EQ(edit->Text(), Utf8ToAnsi("词典词典"));
    KeyWith(VK_CONTROL, 'Z');
    KeyWith(VK_CONTROL, 'A');
    KeyWith(VK_CONTROL, 'X');
    EXPECT_EQ(edit->Text(), "");
    // Pasting multi-line text into one line keeps the first line.
    SetClipboardText("first\r\nsecond");
    KeyWith(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(edit->Text(), "first");
}

TEST_F(EditTest, AMegabytePasteKeepsTheFirstPartThatFitsTheBoxsLimit) {
    // "ab", then a megabyte of double-byte characters: the default limit of
    // 32,767 bytes falls inside the 16,383rd one, which is left out whole.
    AnsiString big = "ab";
    while (big.size() < (1u << 20)) big += kZhong;
    SetClipboardText(big);
    ClickEdit();
    const int beeps = BeepCount();
    KeyWith(VK_CONTROL, 'V');
    ASSERT_EQ(edit->Text().size(), std::size_t(kEditDefaultPasteLimit) - 1);
    EXPECT_EQ(edit->Text(), big.substr(0, kEditDefaultPasteLimit - 1));
    EXPECT_GT(BeepCount(), beeps);
    EXPECT_EQ(edit->MaxLength(), 0) << "the box keeps no limit of its own";

    // What the box holds counts, a selection being replaced does not.
    edit->SetText("12345");
    edit->SelectAll();
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text().size(), std::size_t(kEditDefaultPasteLimit) - 1);
    edit->SetText("x");
    Key(VK_END);
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text(), "x" + big.substr(0, kEditDefaultPasteLimit - 1));

    // A box with a limit of its own keeps to it.
    edit->SetText("");
    edit->SetMaxLength(5);
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text(), "ab" + kZhong);
}

TEST_F(EditTest, ReadOnlyRefusesChangesButStillSelectsAndCopies) {
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    ClickEdit();
    Type("x");
    Key(VK_BACK);
    Key(VK_DELETE);
    KeyWith(VK_CONTROL, 'A');
    KeyWith(VK_CONTROL, 'X');
    SetClipboardText("other");
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text(), "fixed");
    KeyWith(VK_CONTROL, 'A');
    KeyWith(VK_CONTROL, 'C');
    EXPECT_EQ(GetClipboardText(), "fixed");
}

TEST_F(EditTest, MaxLengthCountsBytesOfTypedChineseText) {
    edit->SetMaxLength(4);
    ClickEdit();
    const int beeps = BeepCount();
    Type("a中文");
    EXPECT_EQ(edit->Text(), "a" + kZhong);
    EXPECT_GT(BeepCount(), beeps);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretInView) {
    ClickEdit();
    Type("The quick brown fox jumps over the lazy dog again and again");
    EXPECT_GT(edit->ScrollX(), 0);
    const TPoint caret = edit->CaretPos();
    EXPECT_GE(caret.X, 0);
    EXPECT_LT(caret.X, edit->ClientWidth());
    Key(VK_HOME);
    EXPECT_EQ(edit->ScrollX(), 0);
    EXPECT_LE(edit->CaretPos().X, 2);
}

TEST_F(EditTest, RightAlignedTextSitsAtTheRightEdgeAndClicksMapToIt) {
    edit->SetAlignment(taRightJustify);
    edit->SetText("abc");
    ClickEdit(edit->ClientWidth() - 2);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_GE(edit->CaretPos().X, edit->ClientWidth() - 4);
    ClickEdit(3);  // left of the text: the start
    EXPECT_EQ(edit->SelStart(), 0);
    // Centred text starts half as far right as right-aligned text.
    const int rightStart = edit->CaretPos().X;
    const int leftStart = edit->LeftMargin();
    edit->SetAlignment(taCenter);
    EXPECT_NEAR(edit->CaretPos().X, (rightStart + leftStart) / 2, 1);
}

TEST_F(EditTest, EnterIsNotTypedButPressesTheDefaultButton) {
    auto* button = CreateComponent<TButton>(form);
    button->SetParent(form);
    button->SetBounds(200, 10, 75, 25);
    button->SetDefault(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ClickEdit();
    Type("word");
    Key(VK_RETURN);
    EXPECT_EQ(edit->Text(), "word");
    EXPECT_EQ(clicks, 1);
}

TEST_F(EditTest, TheContextMenuOffersWhatTheSelectionAllows) {
    edit->SetText("menu");
    edit->SetReadOnly(true);
    ClickEdit();
    KeyWith(VK_CONTROL, 'A');
    std::vector<std::pair<AnsiString, bool>> seen;
    stdctrls_test::OnceIdle(screen(), [&] {
        TPopupMenu* menu = edit->EditMenu();
        ASSERT_NE(menu, nullptr);
        for (int i = 0; i < menu->Items()->Count(); ++i) {
            TMenuItem* item = menu->Items()->Items(i);
            if (!item->IsLine()) seen.push_back({StripHotkey(item->Caption()), item->Enabled});
        }
        screen().KeyPress(VK_ESCAPE);
    });
    const TPoint p = At(10, 8);
    Click(p.X, p.Y, MouseButton::Right);
    const std::vector<std::pair<AnsiString, bool>> expected{
        {"Undo", false}, {"Cut", false}, {"Copy", true}, {"Paste", false}, {"Delete", false}, {"Select All", false}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(edit->EditMenu(), nullptr);
}

}  // namespace
