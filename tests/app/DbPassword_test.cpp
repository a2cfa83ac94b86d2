#include "DbPassword.h"

#include <gtest/gtest.h>

// Expected values are worked out by hand from the accumulator rule: start at
// 345 ("159"), then per byte (acc + byte) % 255, exclusive-or the key byte.
TEST(KeyedHexString, FollowsTheAccumulatorByHand) {
    struct Case { std::string text; std::string key; const char* expected; };
    const Case cases[] = {
        {"", "xy", "9"},              // the start value's third digit alone
        {"AB", "xy", "9E35F"},        // 155^'x' = E3, 38^'y' = 5F
        {"AAA", "x", "9E35DE6"},      // a one-byte key is used for every byte
        {"AAA", "xz", "9E35FD8"},     // the key starts again from its first byte
        {"A", "xyz12345", "9E3"},     // a longer key: only its first bytes count
        {"A", "\x9B", "900"},         // a value below 16 keeps two digits
        {"\xFF", "x", "922"},         // bytes count as 0..255, not as signed
    };
    for (const Case& c : cases) EXPECT_EQ(KeyedHexString(c.text, c.key), c.expected) << c.text << " / " << c.key;
}

TEST(KeyedHexString, KeepsTwentyDigitsAndUsesTheDefaultKeyForAnEmptyOne) {
    EXPECT_EQ(KeyedHexString("0123456789", "").size(), 20u);
    EXPECT_EQ(KeyedHexString("0123456789ABCDEF", "k").size(), 20u);
    EXPECT_EQ(KeyedHexString("0123456789ABCDEF", "k").substr(0, 20), KeyedHexString("0123456789A", "k"));
    EXPECT_EQ(KeyedHexString("hello", ""), KeyedHexString("hello", DbDefaultKey));
    EXPECT_NE(KeyedHexString("hello", ""), KeyedHexString("hello", "other"));
}

TEST(MakeDbPassword, ScramblesTenChosenSeedCharacters) {
    // Positions 3, 14, 9, 1, 2, 4, 7, 8, 13, 15 of the seed, in that order.
    EXPECT_EQ(MakeDbPassword("ABCDEFGHIJKLMNO"), KeyedHexString("CNIABDGHMO", ""));
    // Positions 5, 6, 10, 11 and 12 play no part.
    EXPECT_EQ(MakeDbPassword("ABCD#$GHI%&*MNO"), MakeDbPassword("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(MakeDbPassword(""), "");
    EXPECT_EQ(MakeDbPassword("ABC"), KeyedHexString("CAB", ""));  // a short seed never reads past its end
}

TEST(MakeDbPassword, TheProgramsPasswordIsTwentyUpperCaseHexDigits) {
    ASSERT_EQ(DbPasswordSeed.size(), 15u);
    ASSERT_EQ(DbDefaultKey.size(), 6u);
    const AnsiString password = MakeDbPassword(DbPasswordSeed);
    ASSERT_EQ(password.size(), 20u);
    for (const char c : password) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
}
