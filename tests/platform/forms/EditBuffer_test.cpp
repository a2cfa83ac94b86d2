// The edit model: GBK-aware caret and selection, the byte limit, undo.

#include <gtest/gtest.h>

#include "EditBuffer.h"

namespace {

const AnsiString kZhong = Utf8ToAnsi("中");  // two bytes
const AnsiString kWen = Utf8ToAnsi("文");

TEST(EditBufferTest, TypingMixedTextKeepsTheCaretAfterEachCharacter) {
    TEditBuffer b;
    for (const AnsiString& piece : {AnsiString("a"), kZhong, AnsiString("b"), kWen}) b.ReplaceSelection(piece);
    EXPECT_EQ(b.Text(), "a" + kZhong + "b" + kWen);
    EXPECT_EQ(b.Caret(), 6u);
}

TEST(EditBufferTest, TheCaretNeverStandsInsideADoubleByteCharacter) {
    TEditBuffer b;
    b.SetText("a" + kZhong + kWen + "b");  // a . . . . b  -> boundaries 0 1 3 5 6
    const std::vector<std::size_t> expectedRight{1, 3, 5, 6, 6};
    std::size_t pos = 0;
    for (std::size_t want : expectedRight) {
        pos = b.NextChar(pos);
        EXPECT_EQ(pos, want);
    }
    const std::vector<std::size_t> expectedLeft{5, 3, 1, 0, 0};
    for (std::size_t want : expectedLeft) {
        pos = b.PrevChar(pos);
        EXPECT_EQ(pos, want);
    }
    // Asking for a byte inside a character lands on the character's start.
    b.MoveCaret(2, false);
    EXPECT_EQ(b.Caret(), 1u);
    b.MoveCaret(4, false);
    EXPECT_EQ(b.Caret(), 3u);
    // A selection ending inside a character takes the whole character.
    b.Select(2, 2);
    EXPECT_EQ(b.SelStart(), 1u);
    EXPECT_EQ(b.SelText(), kZhong + kWen);
}

TEST(EditBufferTest, TrailBytesThatLookLikeLeadBytesAreNotMistakenForStarts) {
    // The second byte of many characters lies in the lead-byte range; only a
    // scan from a known boundary tells the halves apart.
    const AnsiString ci = Utf8ToAnsi("词典");  // B4 CA B5 E4
    ASSERT_TRUE(IsLeadByte(static_cast<unsigned char>(ci[1])));
    TEditBuffer b;
    b.SetText(ci + ci);
    for (std::size_t pos = 0; pos <= b.Text().size(); ++pos) EXPECT_EQ(b.SnapBack(pos) % 2, 0u) << pos;
}

TEST(EditBufferTest, BackspaceAndDeleteRemoveWholeCharacters) {
    TEditBuffer b;
    b.SetText("x" + kZhong + "y");
    b.MoveCaret(3, false);
    EXPECT_TRUE(b.DeleteBack());
    EXPECT_EQ(b.Text(), "xy");
    EXPECT_EQ(b.Caret(), 1u);
    b.SetText(kZhong + kWen);
    b.MoveCaret(0, false);
    EXPECT_TRUE(b.DeleteForward());
    EXPECT_EQ(b.Text(), kWen);
    b.MoveCaret(2, false);
    EXPECT_FALSE(b.DeleteForward());
}

TEST(EditBufferTest, MaxLengthCountsBytesAndNeverKeepsHalfACharacter) {
    struct Case {
        const char* name;
        AnsiString start;
        AnsiString typed;
        int limit;
        AnsiString expected;
        bool fitted;
    };
    const Case cases[] = {
        {"fits", "ab", "c", 3, "abc", true},
        {"ascii cut", "ab", "cde", 4, "abcd", false},
        {"double byte does not fit in one byte", "abc", kZhong, 4, "abc", false},
        {"double byte cut between characters", "a", kZhong + kWen, 4, "a" + kZhong, false},
        {"no limit", "", kZhong + kWen + kZhong, 0, kZhong + kWen + kZhong, true},
    };
    for (const Case& c : cases) {
        TEditBuffer b;
        b.SetText(c.start);
        b.SetMaxLength(c.limit);
        b.MoveCaret(c.start.size(), false);
        EXPECT_EQ(b.ReplaceSelection(c.typed), c.fitted) << c.name;
        EXPECT_EQ(b.Text(), c.expected) << c.name;
    }
    // Replacing a selection frees its bytes first.
    TEditBuffer b;
    b.SetText(kZhong + "x");
    b.SetMaxLength(3);
    b.Select(0, 2);
    EXPECT_TRUE(b.ReplaceSelection("yz"));
    EXPECT_EQ(b.Text(), "yzx");
}

TEST(EditBufferTest, SingleLineTextKeepsTheFirstLineAndDropsControlCharacters) {
    TEditBuffer single;
    single.ReplaceSelection("one\ttwo\x01\r\nthree");
    EXPECT_EQ(single.Text(), "one\ttwo");
    TEditBuffer multi(true);
    multi.ReplaceSelection("a\nb\rc\r\nd");
    EXPECT_EQ(multi.Text(), "a\r\nb\r\nc\r\nd");
    // CR LF is one character to the caret.
    EXPECT_EQ(multi.NextChar(1), 3u);
    multi.MoveCaret(2, false);
    EXPECT_EQ(multi.Caret(), 1u);
    // A lead byte without its second half is no character.
    TEditBuffer broken;
    broken.SetText(AnsiString("a\xD6") + "\r\n");
    EXPECT_EQ(broken.Text(), "a");
}

TEST(EditBufferTest, UndoRestoresTheTextAndSelectionAndASecondUndoRedoes) {
    TEditBuffer b;
    b.SetText("hello world");
    EXPECT_FALSE(b.CanUndo());
    b.Select(0, 5);
    b.ReplaceSelection(kZhong);
    EXPECT_EQ(b.Text(), kZhong + " world");
    ASSERT_TRUE(b.Undo());
    EXPECT_EQ(b.Text(), "hello world");
    EXPECT_EQ(b.SelText(), "hello");
    ASSERT_TRUE(b.Undo());
    EXPECT_EQ(b.Text(), kZhong + " world");
}

TEST(EditBufferTest, ARunOfTypedCharactersIsUndoneAsOneStep) {
    TEditBuffer b;
    b.SetText("x");
    b.MoveCaret(1, false);
    for (const char* c : {"a", "b", "c"}) b.ReplaceSelection(c, true);
    b.MoveCaret(0, false);  // moving the caret ends the run
    b.ReplaceSelection("d", true);
    EXPECT_EQ(b.Text(), "dxabc");
    b.Undo();
    EXPECT_EQ(b.Text(), "xabc");
    b.Undo();  // redo
    b.MoveCaret(5, false);
    b.ReplaceSelection("e", true);
    b.ReplaceSelection("PASTED");  // not typed: its own step
    b.Undo();
    EXPECT_EQ(b.Text(), "dxabce");
}

TEST(EditBufferTest, WordMovesAndDoubleClickWords) {
    TEditBuffer b;
    b.SetText("one  two " + kZhong + kWen);
    EXPECT_EQ(b.NextWord(0), 5u);
    EXPECT_EQ(b.NextWord(5), 9u);
    EXPECT_EQ(b.PrevWord(9), 5u);
    EXPECT_EQ(b.PrevWord(4), 0u);
    std::size_t s = 0, e = 0;
    b.WordAt(6, s, e);
    EXPECT_EQ(b.Text().substr(s, e - s), "two");
    b.WordAt(10, s, e);
    EXPECT_EQ(b.Text().substr(s, e - s), kZhong + kWen);
}

}  // namespace
