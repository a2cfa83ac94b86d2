#include "WordListFile.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(WordListText, Utf8IsRecognisedByItsMarkOrByValidCharactersOfThreeBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        AnsiString text;
        bool fromUtf8;
        std::size_t replaced;
    };
    const Case cases[] = {
        {"mark", "\xEF\xBB\xBF" "cat|n.\xE7\x8C\xAB", "cat|n.猫", true, 0},
        {"mark on ASCII", "\xEF\xBB\xBF" "cat|n.?", "cat|n.?", true, 0},
        {"no mark", "cat|n.\xE7\x8C\xAB\r\ndog|n.\xE7\x8B\x97", "cat|n.猫\r\ndog|n.狗", true, 0},
        {"unmappable, '?' of its own kept apart", "a?\xF0\x9F\x98\x80|\xE2\x98\x83", "a??|?", true, 2},
        {"GBK", "cat|n.猫", "cat|n.猫", false, 0},
        // GBK that is also valid UTF-8 of two-byte characters ("n.è") stays GBK.
        {"GBK that passes for UTF-8", "cat|n.猫\r\nmao|n.猫", "cat|n.猫\r\nmao|n.猫", false, 0},
        {"plain ASCII", "cat|n.x", "cat|n.x", false, 0},
        {"broken after a mark", "\xEF\xBB\xBF" "a\xE7\x8C|b", "a?|b", true, 1},
        // Saved as "Unicode" by some editors: UTF-16 behind its byte-order mark.
        {"UTF-16, little end first", "\xFF\xFE" "c\0a\0t\0|\0n\0.\0\x2B\x73"s, "cat|n.猫", true, 0},
        {"UTF-16, big end first", "\xFE\xFF" "\0c\0a\0t\0|\0n\0.\x73\x2B"s, "cat|n.猫", true, 0},
        {"UTF-16 with a lone surrogate", "\xFF\xFE" "a\0\x00\xD8|\0b\0"s, "a?|b", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TWordListText decoded = DecodeWordListText(c.bytes);
        EXPECT_EQ(decoded.Text, c.text);
        EXPECT_EQ(decoded.FromUtf8, c.fromUtf8);
        EXPECT_EQ(decoded.Replaced, c.replaced);
    }
}

TEST(WordListText, Utf8ValidityRejectsOverlongSurrogateAndOutOfRangeForms) {
    EXPECT_TRUE(IsValidUtf8("plain text long enough for the eight-byte steps \xE7\x8C\xAB and more"));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE7\x8C", "\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(bad);
    }
}

TEST(WordListText, AListOfManyMegabytesConvertsWithoutCuttingACharacter) {
    // 3-byte characters across the converter's piece boundaries.
    std::string bytes;
    while (bytes.size() < 3 * 1024 * 1024) bytes += "ab|\xE7\x8C\xAB\xE7\x8B\x97\r\n";
    const TWordListText decoded = DecodeWordListText(bytes);
    EXPECT_EQ(decoded.Replaced, 0u);
    AnsiString expected;
    while (expected.size() < decoded.Text.size()) expected += "ab|猫狗\r\n";
    EXPECT_EQ(decoded.Text, expected);
}
