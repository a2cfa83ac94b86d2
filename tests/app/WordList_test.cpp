#include "WordList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Exceptions.h"

namespace {

using Lines = std::vector<std::string_view>;

TEST(CutBetween, CutsBetweenTheFirstDelimiters) {
    struct Case { std::string text, start, end, expected; };
    const Case cases[] = {
        {"abc|def", "", "|", "abc"},
        {"x[abc]y", "[", "]", "abc"},
        {"abc]y", "[", "]", "abc"},        // start delimiter absent: from the first character
        {"x[abc", "[", "]", ""},           // end delimiter absent
        {"]x[abc]", "[", "]", ""},         // end delimiter before the start
        {"[]", "[", "]", ""},
        {"a<<b>c", "<<", ">", "<b"},       // one character after the start of the start delimiter
        {"abc", "", "", ""},               // an empty end delimiter never occurs
        {"中|文|x", "", "|", "中"},
        {"\x81|ab|c", "", "|", "\x81|ab"}, // "|" as the trail byte of a character is no delimiter
        {"\x81[ab]c", "\x81", "]", "ab"},  // the character where the start delimiter begins goes whole
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutBetween(c.text, c.start, c.end), c.expected) << c.text << " / " << c.start << " / " << c.end;
    }
}

TEST(SplitWordLine, SplitsAtTheFirstSeparatorCharacter) {
    struct Case { std::string line, headword, gloss; };
    const Case cases[] = {
        {"cat|n.猫", "cat", "n.猫"},
        {"a|b|c", "a", "b|c"},
        {"abc", "", "bc"},                    // no separator: the line without its first character
        {"x | y", "x ", " y"},                // nothing is trimmed
        {"", "", ""},
        {"|abc", "", "abc"},
        {"abc|", "abc", ""},
        {"中|国", "中", "国"},
        {"\x81|x|y", "\x81|x", "y"},          // 81 7C is one character
        {"\x81|abc", "", "abc"},              // no separator: the double-byte first character goes whole
        {"a\x81\x81|b", "a\x81\x81", "b"},    // 81 81 is one character, the "|" stands alone
        {"\x81\x81\x81|", "", "\x81|"},       // 81 81, then 81 7C: no separator
        {"\xB0\x40\xB0|x", "", "\xB0|x"},    // B0 40 (trail below 80), then B0 7C
    };
    for (const Case& c : cases) {
        const TWordLineParts parts = SplitWordLine(c.line);
        EXPECT_EQ(parts.Headword, c.headword) << c.line;
        EXPECT_EQ(parts.Gloss, c.gloss) << c.line;
        // The headword is what the shared helper cuts before the first "|".
        EXPECT_EQ(parts.Headword, CutBetween(c.line, "", "|")) << c.line;
    }
}

// Random lines of lead bytes, trail-like bytes and "|" against the
// character-wise search of the text layer.
TEST(SplitWordLine, AgreesWithTheCharacterWiseSearch) {
    std::mt19937 random(7);
    const std::string bytes = "|a\x81\xD6\x40\xFF";
    for (int round = 0; round < 20000; ++round) {
        std::string line(random() % 12, ' ');
        for (char& c : line) c = bytes[random() % bytes.size()];
        const std::size_t pos = AnsiPos("|", line);
        const TWordLineParts parts = SplitWordLine(line);
        ASSERT_EQ(parts.Headword, line.substr(0, pos == 0 ? 0 : pos - 1)) << line;
        const std::size_t glossStart = pos != 0 ? pos : (line.empty() ? 0 : CharLengthAt(line, 0));
        ASSERT_EQ(parts.Gloss, line.substr(glossStart)) << line;
    }
}

TEST(SplitWordListLines, FollowsTheLineRule) {
    struct Case { std::string text; std::vector<std::string> lines; };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},           // a break at the very end adds no line
        {"a\nb\n", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},           // empty lines in the middle stay
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"\n\r", {"", ""}},                   // LF then CR are two breaks
        {"\r\n", {""}},
        {"", {}},
        {std::string("a\nb\0c\nd", 7), {"a", "b"}},  // a NUL ends the text
        {std::string(15, 'x') + "\r\ny", {std::string(15, 'x'), "y"}},  // CR and LF in different 16-byte runs
        {std::string(31, 'x') + "\r\n\r\n", {std::string(31, 'x'), ""}},
    };
    for (const Case& c : cases) {
        const Lines lines = SplitWordListLines(c.text);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.lines) << testing::PrintToString(c.text);
    }
}

TEST(SplitWordListLines, AgreesWithAPlainReadingOfLongTexts) {
    std::mt19937 random(11);
    const std::string bytes = "ab\r\n\r\n|";
    for (int round = 0; round < 200; ++round) {
        std::string text(random() % 400, ' ');
        for (char& c : text) c = bytes[random() % bytes.size()];
        std::vector<std::string> expected;
        std::string line;
        bool open = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                expected.push_back(line);
                line.clear();
                open = false;
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                line += text[i];
                open = true;
            }
        }
        if (open) expected.push_back(line);
        const Lines lines = SplitWordListLines(text);
        ASSERT_EQ(std::vector<std::string>(lines.begin(), lines.end()), expected) << testing::PrintToString(text);
    }
}

TEST(AppendWordLines, StoresEveryLineFromTheFirstIndex) {
    const std::string longHeadword(60, 'h');
    std::string longGloss;
    for (int i = 0; i < 300; ++i) longGloss += static_cast<char>('a' + i % 26);
    const std::string longLine = longHeadword + "|" + longGloss;
    const Lines lines = {"cat|n.猫", "", "no separator", longLine, "x | y"};

    TEngWordTable table;
    table.SetLength(2 + lines.size());
    table.Store(0, "db", "row");
    AppendWordLines(table, lines, 2);

    struct Expected { std::string eng, chs; };
    const Expected expected[] = {
        {"db", "row"}, {"", ""}, {"cat", "n.猫"}, {"", ""}, {"", "o separator"},
        {longHeadword.substr(0, 50), longGloss.substr(0, 255)}, {"x ", " y"},
    };
    ASSERT_EQ(table.Length(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(table[i].Eng, expected[i].eng) << i;
        EXPECT_EQ(table[i].Chs, expected[i].chs) << i;
    }
}

TEST(AppendWordLines, TakesStringListsToo) {
    TStringList list;
    list.SetText("cat|n.猫\r\ndog|n.狗\r\n");
    TEngWordTable table;
    table.SetLength(2);
    AppendWordLines(table, list, 0);
    EXPECT_EQ(table[1].Eng, "dog");
    EXPECT_EQ(table[1].Chs, "n.狗");
}

TEST(AppendWordLines, RefusesATableTooShortBeforeStoringAnything) {
    const Lines lines = {"a|1", "b|2", "c|3"};
    struct Case { std::size_t length, firstIndex; };
    for (const Case c : {Case{3, 1}, Case{2, 0}, Case{3, 3}, Case{0, 0}}) {
        TEngWordTable table;
        table.SetLength(c.length);
        EXPECT_THROW(AppendWordLines(table, lines, c.firstIndex), EListError) << c.length << " " << c.firstIndex;
        for (std::size_t i = 0; i < table.Length(); ++i) EXPECT_EQ(table[i].Eng, "");
    }
    TEngWordTable table;
    AppendWordLines(table, Lines{}, 0);  // nothing to store needs no room
    EXPECT_EQ(table.Length(), 0u);
}

TEST(AppendWordLines, FillsTheGlobalWordTable) {
    WordTable.SetLength(1);
    AppendWordLines(Lines{"cat|n.猫"}, 0);
    EXPECT_EQ(WordTable[0].Eng, "cat");
    WordTable.Clear();
}

}  // namespace
