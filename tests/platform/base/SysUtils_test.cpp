#include "SysUtils.h"

#include <gtest/gtest.h>

#include "Exceptions.h"

TEST(SysUtils, StrToIntAcceptsDecimalAndHexadecimal) {
    struct Case { const char* text; int value; };
    const Case good[] = {
        {"0", 0}, {"42", 42}, {"+7", 7}, {"-13", -13}, {"007", 7}, {"  5", 5},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"$1F", 31}, {"0x1f", 31}, {"0X1F", 31}, {"-$10", -16}, {"-0x10", -16},
        {"$FFFFFFFF", -1}, {"0xFF00000F", static_cast<int>(0xFF00000Fu)}, {"$0", 0},
    };
    for (const Case& c : good) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;

    for (const char* bad : {"", " ", "-", "+", "$", "0x", "12abc", "1 ", "1.5", "2147483648", "-2147483649",
                            "$100000000", "0xG", "x12", "--1", "١"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid integer value");
        }
        EXPECT_EQ(StrToIntDef(bad, -99), -99) << bad;
    }
}

TEST(SysUtils, TextHelpers) {
    EXPECT_EQ(IntToStr(-12), "-12");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");   // never cut
    EXPECT_EQ(Format("%s=%d", "a", 5), "a=5");
    EXPECT_EQ(Format("%s", std::string(1000, 'x').c_str()).size(), 1000u);
    EXPECT_EQ(Trim("\t \r\n a b \x01\x20"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \n"), "  a");
    EXPECT_EQ(Trim(" \xC4\xE3 "), "\xC4\xE3");  // bytes above 0x20 are text
    EXPECT_TRUE(SameText("Skin.INI", "skin.ini"));
    EXPECT_FALSE(SameText("skin", "skin "));
    EXPECT_FALSE(SameText("\xC1\x41", "\xC1\x61"));  // a trail byte is no letter
    EXPECT_TRUE(SameText("\xC1\x41" "a", "\xC1\x41" "A"));
    EXPECT_EQ(CompareText("\xC1\x61", "\xC1\x41"), 1);
    EXPECT_EQ(CompareText("abc", "ABD"), -1);
    EXPECT_EQ(CompareText("B", "a"), 1);
    EXPECT_EQ(CompareText("ab", "AB"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
}

TEST(SysUtils, CalendarDates) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), kUnixEpochDate);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // a leap year
    int y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDate(EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 58, 500), y, m, d);
    DecodeTime(EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 58, 500), h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, mi, s, ms}), (std::vector<int>{2024, 12, 31, 23, 59, 58, 500}));
    DecodeDate(Now(), y, m, d);
    EXPECT_GE(y, 2024);
}
