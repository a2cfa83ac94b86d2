#include "AppPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

class AdDirectory : public ::testing::Test {
protected:
    void Touch(const std::string& name) { std::ofstream(dir_ / name) << "x"; }
    AnsiString Dir() const { return dir_.string() + "/"; }

    static std::set<AnsiString> Items(const TStringList& list) {
        std::set<AnsiString> items;
        for (int i = 0; i < list.Count(); ++i) items.insert(list[i]);
        return items;
    }

    // The test's own folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.Path();
};

TEST_F(AdDirectory, ListsEveryKindOfMatchingEntryLowerCased) {
    Touch("1.swf");
    Touch("Ad.SWF");
    Touch(".hidden.swf");
    Touch("notes.txt");
    fs::create_directory(dir_ / "x.swf");

    std::unique_ptr<TStringList> list;
    ASSERT_TRUE(FindFilesInto(Dir(), "*.swf", list));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Items(*list), (std::set<AnsiString>{"1.swf", "ad.swf", ".hidden.swf", "x.swf"}));
}

TEST_F(AdDirectory, KeepsExistingItemsAndReportsWhetherAnythingWasFound) {
    auto list = std::make_unique<TStringList>();
    list->Add("kept");
    EXPECT_FALSE(FindFilesInto(Dir(), "*.swf", list));
    EXPECT_EQ(list->Count(), 1);

    Touch("a.swf");
    EXPECT_TRUE(FindFilesInto(Dir(), "*.swf", list));
    EXPECT_EQ(Items(*list), (std::set<AnsiString>{"kept", "a.swf"}));
}

TEST_F(AdDirectory, BlankPatternFindsNothingAndCreatesNoList) {
    Touch("a.swf");
    for (const char* pattern : {"", "   "}) {
        std::unique_ptr<TStringList> list;
        EXPECT_FALSE(FindFilesInto(Dir(), pattern, list)) << '"' << pattern << '"';
        EXPECT_EQ(list, nullptr);
    }
}

TEST_F(AdDirectory, MissingDirectoryFindsNothing) {
    std::unique_ptr<TStringList> list;
    EXPECT_FALSE(FindFilesInto(Dir() + "absent/", "*.swf", list));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 0);
}

}  // namespace
