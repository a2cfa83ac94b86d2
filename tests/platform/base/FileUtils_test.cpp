#include "FileUtils.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "TempDir.h"

namespace {

void Touch(const std::string& path, const std::string& content = "x") {
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> Find(const std::string& pattern, int attr) {
    std::vector<std::string> names;
    TSearchRec rec;
    for (int rc = FindFirst(pattern, attr, rec); rc == 0; rc = FindNext(rec)) names.push_back(rec.Name);
    FindClose(rec);
    std::sort(names.begin(), names.end());  // the file system's order is its own
    return names;
}

}  // namespace

TEST(FileUtils, MatchesMaskWithoutRegardToCase) {
    struct Case { const char* name; const char* mask; bool match; };
    const Case cases[] = {
        {"Ad.SWF", "*.swf", true},   {"ad.swf", "*.SWF", true},  {"ad.swf.bak", "*.swf", false},
        {"x.swf", "*.swf", true},    {".swf", "*.swf", true},    {"swf", "*.swf", false},
        {"a1.bmp", "a?.bmp", true},  {"a.bmp", "a?.bmp", false}, {"a12.bmp", "a?.bmp", false},
        {"README", "*.*", true},     {"a.b.c", "*.*", true},     {"abc", "*", true},
        {"abc", "a*c", true},        {"abbbc", "a*b*c", true},   {"ac", "a*b*c", false},
        {"temp.dat", "TEMP.DAT", true}, {"temp.dat", "temp.da", false},
        {"\xE8\xAF\x8D.txt", "?.txt", true},  // '?' takes one character, not one byte
        {"\xE8\xAF\x8D.txt", "??.txt", false},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

TEST(FileUtils, FindFirstFiltersByMaskAndAttributes) {
    TempDir dir;
    Touch(dir / "Ad.SWF");
    Touch(dir / "b.swf");
    Touch(dir / ".hidden.swf");
    Touch(dir / "note.txt");
    CreateDir(dir / "x.swf");
    CreateDir(dir / "sub");

    using V = std::vector<std::string>;
    EXPECT_EQ(Find(dir / "*.swf", 0), (V{"Ad.SWF", "b.swf"}));
    EXPECT_EQ(Find(dir / "*.swf", faAnyFile), (V{".hidden.swf", "Ad.SWF", "b.swf", "x.swf"}));
    EXPECT_EQ(Find(dir / "*", faDirectory), (V{"Ad.SWF", "b.swf", "note.txt", "sub", "x.swf"}));  // no "." or ".."
    EXPECT_EQ(Find(dir.Dir() + "/*.SWF", faHidden), (V{".hidden.swf", "Ad.SWF", "b.swf"}));  // doubled '/'
    EXPECT_EQ(Find(dir / "*.doc", faAnyFile), V{});
    EXPECT_EQ(Find(dir / "missing/*", faAnyFile), V{});

    TSearchRec rec;
    ASSERT_EQ(FindFirst(dir / "note.TXT", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "note.txt");
    EXPECT_EQ(rec.Size, 1);
    EXPECT_EQ(rec.Attr, faArchive);
    EXPECT_NE(FindNext(rec), 0);
    ASSERT_EQ(FindFirst(dir / "sub", faDirectory, rec), 0);  // restarting closes the old search
    EXPECT_EQ(rec.Attr, faDirectory);
    EXPECT_NE(FindFirst(dir / "nothing", faAnyFile, rec), 0);
}

TEST(FileUtils, AttributesAndTimeStamps) {
    TempDir dir;
    const std::string file = dir / "f.dat";
    Touch(file);
    Touch(dir / ".h");
    EXPECT_EQ(FileGetAttr(file), faArchive);
    EXPECT_EQ(FileGetAttr(dir / ".h"), faArchive | faHidden);
    EXPECT_EQ(FileGetAttr(dir.Dir()) & faDirectory, faDirectory);
    EXPECT_EQ(FileGetAttr(dir / "none"), -1);

    EXPECT_EQ(FileSetAttr(file, faReadOnly | faHidden), 0);
    EXPECT_EQ(FileGetAttr(file), faArchive | faReadOnly);  // hidden cannot be set on Linux
    EXPECT_EQ(FileSetAttr(file, faArchive), 0);
    EXPECT_EQ(FileGetAttr(file), faArchive);
    EXPECT_NE(FileSetAttr(dir / "none", 0), 0);

    TDateTime age = 0;
    ASSERT_TRUE(FileAge(file, age));
    EXPECT_LT(std::fabs(Now() - age), 1.0 / 24);
    EXPECT_FALSE(FileAge(dir / "none", age));
    const TDateTime old = EncodeDate(2020, 2, 29) + EncodeTime(13, 45, 10, 0);
    ASSERT_TRUE(FileSetDate(file, old));
    ASSERT_TRUE(FileAge(file, age));
    EXPECT_NEAR(age, old, 1e-6);
    int y, m, d;
    DecodeDate(age, y, m, d);
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{2020, 2, 29}));
}

TEST(FileUtils, DeleteRenameAndMove) {
    TempDir dir;
    Touch(dir / "a", "A");
    Touch(dir / "b", "B");
    EXPECT_FALSE(RenameFile(dir / "a", dir / "b"));   // no replacing
    EXPECT_TRUE(RenameFile(dir / "a", dir / "c"));
    EXPECT_TRUE(MoveFileReplace(dir / "c", dir / "b"));
    EXPECT_FALSE(FileExists(dir / "c"));
    std::ifstream in(dir / "b");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "A");
    EXPECT_TRUE(DeleteFile(dir / "b"));
    EXPECT_FALSE(DeleteFile(dir / "b"));
    EXPECT_FALSE(DeleteFile(dir.Dir()));              // a directory is no file
    EXPECT_FALSE(MoveFileReplace(dir / "none", dir / "x"));

    EXPECT_TRUE(ForceDirectories(dir / "p//q/r/"));
    EXPECT_TRUE(DirectoryExists(dir / "p/q/r"));
    EXPECT_FALSE(FileExists(dir / "p/q"));
    Touch(dir / "file");
    EXPECT_FALSE(ForceDirectories(dir / "file/sub"));
}

TEST(FileUtils, PathParts) {
    EXPECT_EQ(ExtractFilePath("/app/dat/skin1/skin.ini"), "/app/dat/skin1/");
    EXPECT_EQ(ExtractFilePath("skin.ini"), "");
    EXPECT_EQ(ExtractFileDir("/app/dat/x.bmp"), "/app/dat");
    EXPECT_EQ(ExtractFileDir("/x.bmp"), "/");
    EXPECT_EQ(ExtractFileName("/app/dat/Ad.SWF"), "Ad.SWF");
    EXPECT_EQ(ExtractFileExt("/app/dat/Ad.SWF"), ".SWF");
    EXPECT_EQ(ExtractFileExt("/app/my.dir/file"), "");
    EXPECT_EQ(ChangeFileExt("/a/temp.dat", ".swf"), "/a/temp.swf");
    EXPECT_EQ(ChangeFileExt("/a.b/temp", ".swf"), "/a.b/temp.swf");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/app"), "/app/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/app/"), "/app/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/app/"), "/app");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
    EXPECT_EQ(ExtractFileName(ExecutableFileName()), "test_platform_base");
}
