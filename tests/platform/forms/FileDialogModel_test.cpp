// The open dialog's filter, folder listing and typed names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FileDialogModel.h"
#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(FileDialogModelTest, FilterPairsSplitIntoDescriptionsAndMasks) {
    const auto items = ParseFileFilter("All files|*.*|*.pas|*.pas|Sources|*.cpp; *.h|Orphan");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].Description, "All files");
    EXPECT_EQ(items[0].Masks, (std::vector<AnsiString>{"*.*"}));
    EXPECT_EQ(items[1].Description, "*.pas");
    EXPECT_EQ(items[2].Masks, (std::vector<AnsiString>{"*.cpp", "*.h"}));
    EXPECT_EQ(items[3].Masks, (std::vector<AnsiString>{"*.*"}));
    EXPECT_TRUE(ParseFileFilter("").empty());
}

class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratch_.Path();
        fs::create_directories(dir_ / "Sub");
        fs::create_directories(dir_ / "a-dir");
        fs::create_directories(dir_ / ".hidden-dir");
        for (const char* f : {"b.TXT", "A.txt", "c.cpp", ".secret.txt"}) std::ofstream(dir_ / f) << "x";
    }
    AnsiString Dir() const { return dir_.string() + "/"; }
    ScratchFolder scratch_;
    fs::path dir_;
};

std::vector<AnsiString> Names(const std::vector<TFolderEntry>& entries) {
    std::vector<AnsiString> out;
    for (const auto& e : entries) out.push_back(e.Name);
    return out;
}

TEST_F(FolderTest, FoldersComeFirstThenMatchingFilesSortedWithoutCase) {
    EXPECT_EQ(Names(ListFolder(Dir(), {"*.txt"}, false)),
              (std::vector<AnsiString>{"a-dir", "Sub", "A.txt", "b.TXT"}));
    EXPECT_EQ(Names(ListFolder(Dir(), {"*.txt"}, true)),
              (std::vector<AnsiString>{".hidden-dir", "a-dir", "Sub", ".secret.txt", "A.txt", "b.TXT"}));
    EXPECT_EQ(Names(ListFolder(Dir(), {}, false)),
              (std::vector<AnsiString>{"a-dir", "Sub", "A.txt", "b.TXT", "c.cpp"}));
    EXPECT_TRUE(ListFolder(Dir() + "missing/", {}, true).empty());
}

TEST_F(FolderTest, TypedNamesResolveToFoldersMasksAndFiles) {
    struct Case {
        AnsiString typed;
        bool mustExist;
        TTypedNameKind kind;
        AnsiString path;
    };
    const AnsiString d = Dir();
    const AnsiString base = dir_.string();
    const Case cases[] = {
        {"  ", true, TTypedNameKind::Empty, ""},
        {"Sub", true, TTypedNameKind::Folder, base + "/Sub/"},
        {"Sub/../a-dir", true, TTypedNameKind::Folder, base + "/a-dir/"},
        {"..", true, TTypedNameKind::Folder, dir_.parent_path().string() + "/"},
        {"*.cpp", true, TTypedNameKind::Mask, "*.cpp"},
        {"c.cpp", true, TTypedNameKind::File, base + "/c.cpp"},
        {base + "/A.txt", true, TTypedNameKind::File, base + "/A.txt"},
        {"new.txt", true, TTypedNameKind::Missing, base + "/new.txt"},
        {"new.txt", false, TTypedNameKind::File, base + "/new.txt"},
    };
    for (const Case& c : cases) {
        const TTypedName r = ResolveTypedName(d, c.typed, c.mustExist);
        EXPECT_EQ(int(r.Kind), int(c.kind)) << c.typed;
        EXPECT_EQ(r.Path, c.path) << c.typed;
    }
    EXPECT_EQ(ParentFolder("/a/b/"), "/a/");
    EXPECT_EQ(ParentFolder("/"), "/");
}

}  // namespace
