// Breaking memo text into display lines.

#include <gtest/gtest.h>

#include "MemoLayout.h"

namespace {

// Every byte is 10 pixels wide, so a double-byte character is 20.
int Measure(std::string_view s) { return int(s.size()) * 10; }

std::vector<std::string> Shown(const AnsiString& text, int width, bool wrap) {
    TMemoLayout layout;
    layout.Build(text, width, wrap, Measure);
    std::vector<std::string> out;
    for (const TMemoLine& l : layout.Lines()) out.push_back(text.substr(l.Start, l.End - l.Start));
    return out;
}

using Lines = std::vector<std::string>;

TEST(MemoLayoutTest, WrapsAtTheWidth) {
    struct Case {
        const char* name;
        AnsiString text;
        int width;
        Lines expected;
    };
    const AnsiString zh = Utf8ToAnsi("中文词典");  // 4 characters, 80 pixels
    const Case cases[] = {
        {"fits", "one two", 100, {"one two"}},
        {"breaks after the last blank that fits", "one two three", 80, {"one two", "three"}},
        {"blanks at the break are not shown", "ab    cd", 30, {"ab", "cd"}},
        {"a long word breaks where it overflows", "abcdefgh", 30, {"abc", "def", "gh"}},
        {"chinese breaks between characters", zh, 50, {zh.substr(0, 4), zh.substr(4, 4)}},
        {"chinese after a word", "ab" + zh, 50, {"ab" + zh.substr(0, 2), zh.substr(2, 4), zh.substr(6, 2)}},
        {"too narrow for one character still makes progress", zh.substr(0, 4), 10, {zh.substr(0, 2), zh.substr(2, 2)}},
        {"hard breaks and empty lines stay", "a\r\n\r\nb", 100, {"a", "", "b"}},
        {"a trailing break gives an empty last line", "a\r\n", 100, {"a", ""}},
        {"empty text is one empty line", "", 100, {""}},
    };
    for (const Case& c : cases) EXPECT_EQ(Shown(c.text, c.width, true), c.expected) << c.name;
    EXPECT_EQ(Shown("one two three", 80, false), (Lines{"one two three"}));
}

TEST(MemoLayoutTest, MapsOffsetsToLinesAndPixelsAndBack) {
    const AnsiString text = "one two three\r\nx";
    TMemoLayout layout;
    layout.Build(text, 80, true, Measure);
    ASSERT_EQ(layout.Count(), 3);
    EXPECT_EQ(layout.LineOf(0), 0);
    EXPECT_EQ(layout.LineOf(7), 0);   // the blank hanging at the end of line 0
    EXPECT_EQ(layout.LineOf(8), 1);   // a wrap point starts the next line
    EXPECT_EQ(layout.LineOf(15), 2);
    EXPECT_EQ(layout.XOf(1, 10), 20);
    EXPECT_EQ(layout.OffsetAt(1, 24), 10u);
    EXPECT_EQ(layout.OffsetAt(1, 26), 11u);   // nearer the next boundary
    EXPECT_EQ(layout.OffsetAt(1, 500), 13u);  // past the end: the line's end
    EXPECT_EQ(layout.MaxWidth(), 70);
    // Inside Chinese text the nearest boundary is a character start.
    const AnsiString zh = Utf8ToAnsi("中文");
    layout.Build(zh, 100, true, Measure);
    EXPECT_EQ(layout.OffsetAt(0, 9), 0u);
    EXPECT_EQ(layout.OffsetAt(0, 11), 2u);
}

}  // namespace
