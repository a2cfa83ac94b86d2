// The namespace model behind the file list and the folder box: the mask,
// folders and files (archives as files), the roots on this desktop, names
// that code page 936 cannot show, name order, details, renaming, and folders
// that cannot be read or disappear, and the pictures for the lists.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "Exceptions.h"
#include "FileUtils.h"
#include "ImgList.h"
#include "ScratchFolder.h"
#include "ScopedProcessState.h"
#include "ShellCollation.h"
#include "ShellFolderEntries.h"
#include "ShellFolderListing.h"
#include "ShellMask.h"
#include "ShellNamespace.h"
#include "TbsShellFolder.h"
#include "TbsShellImages.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& p, const std::string& content = "x") { std::ofstream(p) << content; }

std::vector<std::string> Names(const std::vector<TbsShellFolder::Ptr>& items) {
    std::vector<std::string> names;
    for (const auto& i : items) names.push_back(i->RelativeId());
    return names;
}

TEST(ShellMask, FilesShowByTheMaskFoldersAlways) {
    struct Case {
        const char* mask;
        const char* name;
        bool shown;
    };
    const Case cases[] = {
        {"*.txt", "a.txt", true},
        {"*.txt", "a.TXT", true},
        {"*.txt", "readme", false},
        {"*.txt", "a.txt.bak", false},
        {"*", "readme", true},
        {"*", "a.b", true},
        {"*.*", "readme", true},
        {"*.*|*.*", "a.txt", true},
        {"readme", "readme", false},  // a pattern without a dot matches nothing
        {"Word lists|*.txt;*.dic", "x.DIC", true},
        {"*.txt; *.dic", "x.dic", true},
        {"a?.txt", "ab.txt", true},
        {"a?.txt", "a词.txt", true},  // '?' is one character, double-byte too
        {"a?.txt", "abc.txt", false},
        {"[ab]*.txt", "B1.txt", true},
        {"[!ab]*.txt", "b1.txt", false},
        {"[a-c]x.txt", "cx.txt", true},
        {"*.t[", "a.t[", true},  // an open set is a plain '['
        {"词*.txt", "词库.txt", true},
        {"", "a.txt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " / " + c.name);
        EXPECT_EQ(PassesShellMask(c.name, c.mask), c.shown);
    }
}

class ShellFolderTest : public ::testing::Test {
protected:
    ShellFolderTest() : home_(scratch_.Path().string() + "/home"), config_(home_ + "/.config") {
        fs::create_directories(config_);
    }
    TbsShellFolder::Ptr Folder(const std::string& path) { return TbsShellFolder::ForPath(path); }

    ScratchFolder scratch_;
    std::string home_;
    std::string config_;
    EnvVar homeVar_{"HOME", home_};
    EnvVar configVar_{"XDG_CONFIG_HOME", config_};
};

TEST_F(ShellFolderTest, FoldersFilesArchivesAndHiddenEntries) {
    const fs::path d = scratch_.Path() / "list";
    fs::create_directories(d / "sub");
    fs::create_directories(d / "Archive.ZIP");  // offered as a folder, chosen as a file
    fs::create_directories(d / ".hiddendir");
    Touch(d / "a.txt");
    Touch(d / ".profile");
    fs::create_symlink("nowhere", d / "dangling");
    const auto folder = Folder(d.string());

    auto all = folder->Children(folder, otFolders | otNonFolders);
    SortShellItems(all, ShellCollator("C"));
    EXPECT_EQ(Names(all), (std::vector<std::string>{"sub", "a.txt", "Archive.ZIP", "dangling"}));
    EXPECT_TRUE(all[0]->IsFolder());
    EXPECT_FALSE(all[2]->IsFolder());
    EXPECT_EQ(all[2]->IconIndex(), siFile);
    EXPECT_EQ(all[0]->IconIndex(), siFolder);
    EXPECT_EQ(all[1]->Path(), (d / "a.txt").string());
    EXPECT_EQ(all[1]->Level(), folder->Level() + 1);
    EXPECT_EQ(all[1]->Parent(), folder);

    EXPECT_EQ(Names(folder->Children(folder, otFolders)).size(), 1u);
    auto files = folder->Children(folder, otNonFolders | otHidden);
    SortShellItems(files, ShellCollator("C"));
    EXPECT_EQ(Names(files), (std::vector<std::string>{".profile", "a.txt", "Archive.ZIP", "dangling"}));
    EXPECT_TRUE(files[0]->Attributes() & faHidden);
    EXPECT_TRUE(files[1]->Attributes() & faArchive);
}

TEST_F(ShellFolderTest, TheLevelAndParentsRunUpToTheDesktop) {
    const auto item = Folder(scratch_.Path().string() + "/./home/../home");
    EXPECT_EQ(item->Path(), home_);
    int level = 0;
    TbsShellFolder::Ptr top = item;
    while (top->Parent()) {
        top = top->Parent();
        ++level;
    }
    EXPECT_EQ(level, item->Level());
    EXPECT_EQ(top->Kind(), TbsShellItemKind::Desktop);
    EXPECT_EQ(item->Parent()->Path(), scratch_.Path().string());
}

TEST_F(ShellFolderTest, RootsMapOntoTheHomeAndTheXdgUserDirs) {
    fs::create_directories(home_ + "/Schreibtisch");
    fs::create_directories(home_ + "/Vorlagen");
    std::ofstream(config_ + "/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                  "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                                  "XDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n"
                                                  "XDG_MUSIC_DIR=\"$HOME/Musik\"\n";
    EXPECT_EQ(ResolveShellRoot("rfPersonal", "/")->Path(), home_);
    EXPECT_EQ(ResolveShellRoot("rfDesktopDirectory", "/")->Path(), home_ + "/Schreibtisch");
    EXPECT_EQ(ResolveShellRoot("rfTemplates", "/")->Path(), home_ + "/Vorlagen");
    EXPECT_EQ(ResolveShellRoot("rfMyComputer", "/")->Kind(), TbsShellItemKind::Computer);
    EXPECT_EQ(ResolveShellRoot("~", "/")->Path(), home_);
    EXPECT_EQ(ResolveShellRoot("Vorlagen", home_)->Path(), home_ + "/Vorlagen");
    EXPECT_EQ(ResolveShellRoot("../home/./Vorlagen/", home_)->Path(), home_ + "/Vorlagen");
    EXPECT_EQ(ResolvePathText("~/Musik", "/"), home_ + "/Musik");
    for (const char* bad : {"rfNetwork", "rfRecent", "NoSuchFolder", ""}) {
        try {
            ResolveShellRoot(bad, home_);
            ADD_FAILURE() << bad << " resolved";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), std::string("Error setting path: \"") + bad + "\"");
        }
    }

    const auto desktop = TbsShellFolder::Desktop();
    const auto top = desktop->Children(desktop, otFolders);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0]->Path(), home_);
    EXPECT_EQ(top[0]->IconIndex(), siHome);
    EXPECT_EQ(top[1]->Path(), home_ + "/Schreibtisch");
    EXPECT_EQ(top[2]->Kind(), TbsShellItemKind::Computer);
    const auto computer = top[2]->Children(top[2], otFolders);
    ASSERT_FALSE(computer.empty());
    EXPECT_EQ(computer[0]->Path(), "/");
    EXPECT_EQ(computer[0]->IconIndex(), siDrive);
    EXPECT_FALSE(computer[0]->CanRename());

    // Without the desktop folder the desktop shows the home folder once.
    fs::remove(home_ + "/Schreibtisch");
    EXPECT_EQ(desktop->Children(desktop, otFolders).size(), 2u);
    EXPECT_EQ(ResolveShellRoot("rfDesktopDirectory", "/")->Path(), home_);
}

TEST_F(ShellFolderTest, MountsListVolumesAUserBrowsesOnly) {
    const std::string mounts = scratch_.Path().string() + "/mounts";
    std::ofstream(mounts) << "/dev/sda1 / ext4 rw,relatime 0 0\n"
                             "proc /proc proc rw 0 0\n"
                             "/dev/sdb1 /media/u/USB\\040Stick vfat rw 0 0\n"
                             "tmpfs /mnt/tmp tmpfs rw 0 0\n"
                             "/dev/sda2 /boot ext4 rw 0 0\n"
                             "/dev/sdc1 /run/media/u/DATA ext4 rw 0 0\n"
                             "server:/x /mnt/nfs nfs4 rw 0 0\n"
                             "/dev/sdb1 /media/u/USB\\040Stick vfat rw 0 0\n"
                             "broken line\n";
    std::vector<std::string> points;
    for (const ShellMount& m : BrowsableMounts(mounts)) points.push_back(m.MountPoint);
    EXPECT_EQ(points, (std::vector<std::string>{"/media/u/USB Stick", "/run/media/u/DATA", "/mnt/nfs"}));
    EXPECT_TRUE(BrowsableMounts(scratch_.Path().string() + "/missing").empty());
}

TEST_F(ShellFolderTest, NamesGbkCannotShowGetMarksButKeepTheirBytes) {
    const fs::path d = scratch_.Path() / "names";
    fs::create_directories(d);
    const std::string chinese = "\xe8\xaf\x8d\xe5\xba\x93.txt";  // 词库.txt in UTF-8
    const std::string latin1 = "caf\xe9.txt";                    // not UTF-8
    const std::string emoji = "\xf0\x9f\x98\x80.txt";            // no GBK form
    for (const auto& n : {chinese, latin1, emoji}) Touch(d / n);
    const auto folder = Folder(d.string());
    auto items = folder->Children(folder, otNonFolders);
    ASSERT_EQ(items.size(), 3u);
    for (const auto& item : items) {
        SCOPED_TRACE(item->RelativeId());
        EXPECT_TRUE(FileExists(item->Path()));  // the real file, whatever is shown
        EXPECT_EQ(item->Path(), (d / item->RelativeId()).string());
        const AnsiString expected = item->RelativeId() == chinese  ? "词库.txt"
                                    : item->RelativeId() == latin1 ? "caf?.txt"
                                                                   : "?.txt";
        EXPECT_EQ(item->DisplayName(), expected);
        EXPECT_TRUE(PassesShellMask(item->DisplayName(), "*.txt"));
    }
    // A typed Chinese path (shown text) reaches the UTF-8 name on disk.
    EXPECT_EQ(ResolvePathText("词库.txt", d.string()), (d / chinese).string());
}

TEST(ShellCollation, FoldersFirstCaseIgnoredAndReversible) {
    ScratchFolder scratch;
    const fs::path d = scratch.Path();
    for (const char* f : {"Banana", "apple", "cherry"}) fs::create_directories(d / f);
    for (const char* f : {"B.txt", "a.txt", "\xe4\xb8\xad.txt", "C.txt"}) Touch(d / f);
    const auto folder = TbsShellFolder::ForPath(d.string());
    for (const char* locale : {"C.UTF-8", "", "no_SUCH.locale"}) {
        SCOPED_TRACE(locale);
        ShellCollator collator(locale);
        auto items = folder->Children(folder, otFolders | otNonFolders);
        SortShellItems(items, collator);
        const std::vector<std::string> ascending{"apple", "Banana", "cherry", "a.txt", "B.txt", "C.txt", "\xe4\xb8\xad.txt"};
        EXPECT_EQ(Names(items), ascending);
        SortShellItems(items, collator, false);
        EXPECT_EQ(Names(items), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
    }
}

TEST_F(ShellFolderTest, DetailsGiveSizeTypeAndLocalTime) {
    EnvVar tz("TZ", "UTC");
    tzset();
    const fs::path d = scratch_.Path() / "details";
    fs::create_directories(d / "Sub.dir");
    Touch(d / "words.TXT", std::string(1234, 'w'));
    const timespec times[2] = {{1709647620, 0}, {1709647620, 0}};  // 2024-03-05 14:07 UTC
    ASSERT_EQ(utimensat(AT_FDCWD, (d / "words.TXT").c_str(), times, 0), 0);
    const auto folder = Folder(d.string());
    auto items = folder->Children(folder, otFolders | otNonFolders);
    SortShellItems(items, ShellCollator("C"));
    ASSERT_EQ(items.size(), 2u);
    const auto& file = items[1];
    EXPECT_EQ(file->DetailText(sdName), "words.TXT");
    EXPECT_EQ(file->DetailText(sdSize), "1234");
    EXPECT_EQ(file->DetailText(sdType), "TXT");
    EXPECT_EQ(file->DetailText(sdModified), "2024-03-05 14:07");
    // A folder has no size and no file type, but its real time.
    EXPECT_EQ(items[0]->DetailText(sdSize), "");
    EXPECT_EQ(items[0]->DetailText(sdType), "");
    EXPECT_NE(items[0]->DetailText(sdModified).find(':'), AnsiString::npos);
    unsetenv("TZ");
    tzset();
}

TEST_F(ShellFolderTest, RenamingNeverReplacesAnEntry) {
    const fs::path d = scratch_.Path() / "rename";
    fs::create_directories(d);
    Touch(d / "old.txt", "old");
    Touch(d / "taken.txt", "keep me");
    const auto folder = Folder(d.string());
    auto items = folder->Children(folder, otNonFolders);
    SortShellItems(items, ShellCollator("C"));
    const auto old = items[0];
    ASSERT_TRUE(old->CanRename());
    for (const char* bad : {"taken.txt", "a/b", "", ".."}) {
        try {
            RenameShellItem(old, bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), std::string("Rename to ") + bad + " failed");
        }
    }
    std::ifstream kept(d / "taken.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
    const auto renamed = RenameShellItem(old, "新.txt");
    EXPECT_EQ(renamed->RelativeId(), "\xe6\x96\xb0.txt");
    EXPECT_EQ(renamed->DisplayName(), "新.txt");
    EXPECT_TRUE(FileExists(renamed->Path()));
    EXPECT_FALSE(FileExists(old->Path()));
}

TEST_F(ShellFolderTest, UnreadableAndVanishedFoldersGiveNoEntriesNoErrors) {
    const fs::path d = scratch_.Path() / "locked";
    fs::create_directories(d / "inner");
    Touch(d / "a.txt");
    fs::permissions(d, fs::perms::none);
    {
        WithoutFileAccessOverride asAUser;
        const auto folder = Folder(d.string());
        int error = 0;
        EXPECT_TRUE(folder->Children(folder, otFolders | otNonFolders, &error).empty());
        EXPECT_NE(error, 0);
    }
    fs::permissions(d, fs::perms::owner_all);

    const fs::path gone = scratch_.Path() / "gone" / "deeper";
    fs::create_directories(gone);
    const auto shown = Folder(gone.string());
    fs::remove_all(scratch_.Path() / "gone");
    int error = 0;
    EXPECT_TRUE(shown->Children(shown, otFolders | otNonFolders, &error).empty());
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(FolderExists(shown->Path()));
    EXPECT_EQ(NearestExistingFolder(shown->Path()), scratch_.Path().string());
    EXPECT_EQ(NearestExistingItem(shown)->Path(), scratch_.Path().string());
}

TEST_F(ShellFolderTest, AListingKeepsFoldersMaskedFilesAndWhatTheHookDecides) {
    const fs::path d = scratch_.Path() / "listing";
    fs::create_directories(d / "docs");
    for (const char* f : {"b.txt", "A.TXT", "readme", "skip.txt"}) Touch(d / f);
    const auto folder = Folder(d.string());
    const ShellCollator collator("C");
    EXPECT_EQ(Names(ListShellFolder(folder, otFolders | otNonFolders, "*.txt", &collator).Items),
              (std::vector<std::string>{"docs", "A.TXT", "b.txt", "skip.txt"}));
    const auto hook = [](const TbsShellFolder& item, bool keep) {
        if (item.RelativeId() == "readme") return true;
        return item.RelativeId() == "skip.txt" ? false : keep;
    };
    EXPECT_EQ(Names(ListShellFolder(folder, otFolders | otNonFolders, "*.txt", &collator, hook).Items),
              (std::vector<std::string>{"docs", "A.TXT", "b.txt", "readme"}));
    EXPECT_EQ(Names(ListShellFolder(folder, otNonFolders, "*", &collator).Items),
              (std::vector<std::string>{"A.TXT", "b.txt", "readme", "skip.txt"}));
}

}  // namespace

namespace {

TEST(ShellImages, TheDeliveredPicturesFillSmallAndLargeLists) {
    TbsShellImages images;
    ASSERT_TRUE(images.LoadFromFolder(std::string(MIRVO_SOURCE_DIR) + "/dat/icons/"));
    for (int i = 0; i < siShellIconCount; ++i) {
        std::vector<int> sizes;
        for (const IconPixels& p : images.Icon(TbsShellIconIndex(i)).Images()) sizes.push_back(p.width);
        EXPECT_EQ(sizes, (std::vector<int>{32, 16})) << i;
    }
    for (int size : {16, 32}) {
        TImageList list(nullptr);
        images.FillImageList(list, size, clWhite);
        ASSERT_EQ(list.Count(), int(siShellIconCount));
        EXPECT_EQ(list.Width(), size);
        TBitmap folder;
        list.GetBitmap(siFolder, folder);
        // The corner is clear; the middle of the folder is yellow.
        EXPECT_EQ(folder.Pixels(0, 0), ColorToRGB(clBtnFace));
        const TColor middle = folder.Pixels(size / 2, size * 2 / 3);
        EXPECT_GT(middle & 0xFF, 0xC0u);            // red
        EXPECT_LT((middle >> 16) & 0xFF, 0xA0u);    // little blue
    }
    TbsShellImages none;
    EXPECT_FALSE(none.LoadFromFolder(std::string(MIRVO_SOURCE_DIR) + "/no/such/folder/"));
}

}  // namespace
