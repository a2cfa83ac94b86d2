#include "TbsResourceStrData.h"

#include <gtest/gtest.h>

#include <set>

TEST(TbsResourceStrData, DefaultTableHas130DistinctKeysInItsOrder) {
    TbsResourceStrData data(nullptr);
    const TStringList& lines = data.ResStrings();
    ASSERT_EQ(lines.Count(), 130);
    EXPECT_EQ(lines.Strings(0), "MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(lines.Strings(5), "MI_ROLLUPCAPTION=Ro&llUp");
    EXPECT_EQ(lines.Strings(18), "MSG_BTN_YES=&Yes");
    EXPECT_EQ(lines.Strings(36), "MSG_CAP_SHOWFLAG=Do not display this message again");
    EXPECT_EQ(lines.Strings(37), "MSG_BTN_BACK_HINT=Go To Last Folder Visited");
    std::set<std::string> keys;
    int prndlg = 0, find = 0, dbnav = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string key = lines.Names(i);
        EXPECT_FALSE(key.empty()) << lines.Strings(i);
        EXPECT_FALSE(lines.ValueFromIndex(i).empty()) << key;
        keys.insert(key);
        prndlg += key.starts_with("PRNDLG_");
        find += key.starts_with("FIND_");
        dbnav += key.starts_with("DBNAV_");
    }
    EXPECT_EQ(keys.size(), 130u);
    EXPECT_EQ(prndlg, 30);
    EXPECT_EQ(find, 11);
    EXPECT_EQ(dbnav, 10);
    EXPECT_EQ(lines.Names(129).substr(0, 6), "DBNAV_");
}

TEST(TbsResourceStrData, LookupString) {
    TbsResourceStrData data(nullptr);
    TStringList custom;
    custom.Add("GREETING=Hello");
    custom.Add("FORMULA=a=b=c");
    custom.Add("NOEQUALS");
    custom.Add("EMPTY=");
    custom.Add("greeting=second line with the same name");
    const struct {
        const char* key;
        const char* expected;
    } defaults[] = {
        {"MI_MINCAPTION", "Mi&nimize"},
        {"mi_mincaption", "Mi&nimize"},
        {"MSG_OVERWRITE", "Do you want to overwrite old file?"},
        {"FLV_LOOKIN", "Look in: "},
        {"NO_SUCH_KEY", ""},
        {"", ""},
    };
    for (const auto& c : defaults) EXPECT_EQ(data.LookupString(c.key), c.expected) << c.key;

    data.SetResStrings(custom);
    custom.Clear();  // the component keeps its own copy
    const struct {
        const char* key;
        const char* expected;
    } own[] = {
        {"Greeting", "Hello"},     // first of two lines, case ignored
        {"FORMULA", "a=b=c"},      // everything after the first "="
        {"NOEQUALS", ""},          // a line without "=" has no name
        {"EMPTY", ""},
        {"MI_MINCAPTION", ""},     // the defaults are gone
    };
    for (const auto& c : own) EXPECT_EQ(data.LookupString(c.key), c.expected) << c.key;
    EXPECT_EQ(data.ResStrings().Count(), 5);
    EXPECT_EQ(data.CharSet(), 1);
}
