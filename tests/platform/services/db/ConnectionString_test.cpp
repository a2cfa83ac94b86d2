#include "ConnectionString.h"

#include <gtest/gtest.h>

#include "Exceptions.h"

TEST(ConnectionString, ReadsItemsAsThePlatformWritesThem) {
    const auto items = ParseConnectionString(
        " Provider = SQLCipher ;Data Source=/a b/dat/WordLib.dat;;"
        "Persist Security Info=False;Jet OLEDB:Database Password=0A1B");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].Key, "Provider");
    EXPECT_EQ(items[0].Value, "SQLCipher");
    EXPECT_EQ(FindConnectionValue(items, "data source"), "/a b/dat/WordLib.dat");
    EXPECT_EQ(FindConnectionValue(items, "JET OLEDB:DATABASE PASSWORD"), "0A1B");
    EXPECT_EQ(FindConnectionValue(items, "User ID"), std::nullopt);
}

TEST(ConnectionString, QuotedValuesKeepSemicolonsQuotesAndBlanks) {
    struct Case { const char* text; const char* value; };
    for (const Case& c : {Case{"k=\"a;b\"", "a;b"}, Case{"k='it''s'", "it's"}, Case{"k=\" x \" ;", " x "},
                          Case{"k=\"say \"\"hi\"\"\"", "say \"hi\""}, Case{"k=", ""}, Case{"a==b=1", "1"}}) {
        const auto items = ParseConnectionString(c.text);
        ASSERT_EQ(items.size(), 1u) << c.text;
        EXPECT_EQ(items[0].Value, c.value) << c.text;
    }
    EXPECT_EQ(ParseConnectionString("a==b=1")[0].Key, "a=b");
}

TEST(ConnectionString, QuotingRoundTripsAnyValue) {
    for (const char* value : {"plain", "/dir;with;semicolons/x.dat", " lead", "trail ", "\"q", "'q", "a\"b", ""}) {
        const auto items = ParseConnectionString("Data Source=" + QuoteConnectionValue(value) + ";x=1");
        EXPECT_EQ(FindConnectionValue(items, "Data Source"), value) << value;
    }
    EXPECT_EQ(QuoteConnectionValue("plain"), "plain");  // only what needs quotes gets them
}

TEST(ConnectionString, MalformedStringsFailWithoutEchoingTheirText) {
    for (const char* text : {"Password=\"secret", "secret", "=secret", "k='x' secret"}) {
        try {
            ParseConnectionString(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message().find("secret"), AnsiString::npos) << e.Message();
        }
    }
}

TEST(ConnectionString, JoinLeavesOutTheNamedKeys) {
    const auto items = ParseConnectionString("Provider=SQLCipher;Data Source=\"a;b\";Password=pw;PASSWORD=pw2");
    EXPECT_EQ(JoinConnectionString(items, {"password"}), "Provider=SQLCipher;Data Source=\"a;b\"");
    EXPECT_EQ(ParseConnectionString(JoinConnectionString(items)).size(), 4u);
}
