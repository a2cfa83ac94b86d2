#include "AnsiString.h"

#include <gtest/gtest.h>

TEST(AnsiString, RoundTripsChineseThroughUtf8AndUtf32) {
    const std::string utf8 = "Mirvo英语小词典";
    const AnsiString gbk = Utf8ToAnsi(utf8);
    EXPECT_EQ(gbk.size(), 5u + 5 * 2);  // five double-byte characters
    EXPECT_EQ(AnsiToUtf8(gbk), utf8);
    const std::u32string wide = AnsiToUtf32(gbk);
    EXPECT_EQ(wide, U"Mirvo英语小词典");
    EXPECT_EQ(Utf32ToAnsi(wide), gbk);
}

TEST(AnsiString, BadBytesAndUnencodableCharactersAreReplacedNotDropped) {
    EXPECT_EQ(AnsiToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(AnsiToUtf8(std::string("x\xB7", 2)), "x\xEF\xBF\xBD");  // lead byte cut off at the end
    EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80" "b"), "a?b");            // an emoji has no GBK code
}

TEST(AnsiString, AnsiPosNeverMatchesOnATrailByte) {
    // 0xB1 0x7C is one character whose trail byte is '|'.
    const AnsiString text = "\xB1\x7C" "ab|cd";
    struct Case { const char* sub; std::size_t expected; };
    for (const Case& c : {Case{"|", 5}, Case{"a", 3}, Case{"\x7C" "a", 0}, Case{"", 0}, Case{"cdx", 0}}) {
        EXPECT_EQ(AnsiPos(c.sub, text), c.expected) << c.sub;
    }
}

TEST(AnsiString, LowerCaseTouchesOnlyAsciiLetters) {
    // 0xC1 0x41: a double-byte character whose trail byte is 'A' must stay.
    EXPECT_EQ(LowerCase("Ad.SWF \xC1\x41"), "ad.swf \xC1\x41");
    EXPECT_EQ(UpperCase("ad.swf"), "AD.SWF");
}
