#include "TbsShellFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"
#include "FileUtils.h"
#include "ShellCollation.h"
#include "ShellNamespace.h"
#include "SysUtils.h"

namespace {

const char* const kDesktopId = "::desktop";
const char* const kComputerId = "::computer";

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    std::string p = folder;
    if (p.empty() || p.back() != '/') p += '/';
    p.append(name);
    return p;
}

std::string LastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWithZip(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && (ext[1] | 0x20) == 'z' && (ext[2] | 0x20) == 'i' && (ext[3] | 0x20) == 'p';
}

}  // namespace

AnsiString ShellDisplayName(std::string_view diskName) {
    if (IsAscii(diskName)) return AnsiString(diskName);
    return Utf8ToAnsi(diskName);
}

TbsShellFolder::Ptr TbsShellFolder::Make(TbsShellItemKind kind, Ptr parent, std::string relativeId, std::string path,
                                         AnsiString display) {
    Ptr item(new TbsShellFolder());
    item->kind_ = kind;
    item->level_ = parent ? parent->level_ + 1 : 0;
    item->parent_ = std::move(parent);
    item->relativeId_ = std::move(relativeId);
    item->path_ = std::move(path);
    item->displayName_ = std::move(display);
    return item;
}

TbsShellFolder::Ptr TbsShellFolder::Desktop() {
    return Make(TbsShellItemKind::Desktop, nullptr, kDesktopId, {}, "桌面");
}

TbsShellFolder::Ptr TbsShellFolder::Computer() {
    return Make(TbsShellItemKind::Computer, Desktop(), kComputerId, {}, "计算机");
}

TbsShellFolder::Ptr TbsShellFolder::ForPath(const std::string& path) {
    const std::string clean = NormalizePath(path);
    Ptr item = Make(TbsShellItemKind::FileSystem, Computer(), "/", "/", "/");
    item->facts_ = StatPath("/");
    item->isMountRoot_ = true;
    std::size_t start = 1;
    while (start < clean.size()) {
        std::size_t end = clean.find('/', start);
        if (end == std::string::npos) end = clean.size();
        const std::string name = clean.substr(start, end - start);
        const std::string full = clean.substr(0, end);
        Ptr child = Make(TbsShellItemKind::FileSystem, item, name, full, ShellDisplayName(name));
        child->facts_ = StatPath(full);
        item = std::move(child);
        start = end + 1;
    }
    return item;
}

TbsShellFolder::Ptr TbsShellFolder::Child(const Ptr& parent, const ShellDirEntry& entry) {
    Ptr item = Make(TbsShellItemKind::FileSystem, parent, entry.Name, JoinPath(parent->path_, entry.Name),
                    ShellDisplayName(entry.Name));
    item->facts_ = entry.Facts;
    return item;
}

AnsiString TbsShellFolder::FullName() const {
    return kind_ == TbsShellItemKind::FileSystem ? ShellDisplayName(path_) : displayName_;
}

bool TbsShellFolder::IsFolder() const {
    if (kind_ != TbsShellItemKind::FileSystem) return true;
    return facts_.IsDirectory && !EndsWithZip(relativeId_);
}

bool TbsShellFolder::CanRename() const {
    if (kind_ != TbsShellItemKind::FileSystem || isMountRoot_ || !parent_) return false;
    if (parent_->kind_ != TbsShellItemKind::FileSystem) return false;
    const std::string folder = path_.substr(0, path_.find_last_of('/') + 1);
    return access(folder.c_str(), W_OK) == 0;
}

int TbsShellFolder::Attributes() const {
    if (kind_ != TbsShellItemKind::FileSystem) return faDirectory;
    int attr = 0;
    if (facts_.IsDirectory) attr |= faDirectory;
    else if (facts_.IsRegular) attr |= faArchive;
    else attr |= faSysFile;
    if (facts_.StatKnown && !(facts_.Mode & S_IWUSR)) attr |= faReadOnly;
    if (!relativeId_.empty() && relativeId_[0] == '.') attr |= faHidden;
    return attr;
}

TbsShellIconIndex TbsShellFolder::IconIndex() const {
    switch (kind_) {
    case TbsShellItemKind::Desktop: return siHome;
    case TbsShellItemKind::Computer: return siDrive;
    default: break;
    }
    if (isMountRoot_) return siDrive;
    if (IsFolder()) return path_ == HomeFolder() ? siHome : siFolder;
    return siFile;
}

const AnsiString& TbsShellFolder::DetailText(TbsShellDetail column) const {
    if (details_.empty()) {
        details_.resize(sdDetailCount);
        details_[sdName] = displayName_;
        if (kind_ == TbsShellItemKind::FileSystem) {
            if (!facts_.IsDirectory && facts_.StatKnown) details_[sdSize] = std::to_string(facts_.Size);
            if (!IsFolder()) {
                AnsiString ext = ExtractFileExt(displayName_);
                if (!ext.empty()) ext.erase(0, 1);
                details_[sdType] = ext;
            }
            if (facts_.StatKnown) {
                const std::time_t t = facts_.ModifiedSeconds;
                std::tm local{};
                localtime_r(&t, &local);
                char text[64];
                std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                              local.tm_mday, local.tm_hour, local.tm_min);
                details_[sdModified] = text;
            }
        }
    }
    const int i = std::clamp(int(column), 0, int(sdDetailCount) - 1);
    return details_[i];
}

std::vector<TbsShellFolder::Ptr> TbsShellFolder::Children(const Ptr& self, TbsShellObjectTypes types,
                                                           int* error) const {
    std::vector<Ptr> items;
    if (error) *error = 0;
    const bool folders = types & otFolders;
    if (kind_ == TbsShellItemKind::Desktop) {
        if (!folders) return items;
        const std::string home = HomeFolder();
        Ptr homeItem = Make(TbsShellItemKind::FileSystem, self, home, home, "主文件夹");
        homeItem->facts_ = StatPath(home);
        items.push_back(homeItem);
        const std::string desktop = DesktopFolder();
        if (desktop != home) {
            const std::string name = LastComponent(desktop);
            Ptr desk = Make(TbsShellItemKind::FileSystem, self, desktop, desktop, ShellDisplayName(name));
            desk->facts_ = StatPath(desktop);
            items.push_back(desk);
        }
        items.push_back(Make(TbsShellItemKind::Computer, self, kComputerId, {}, "计算机"));
        return items;
    }
    if (kind_ == TbsShellItemKind::Computer) {
        if (!folders) return items;
        Ptr root = Make(TbsShellItemKind::FileSystem, self, "/", "/", "/");
        root->facts_ = StatPath("/");
        root->isMountRoot_ = true;
        items.push_back(root);
        for (const ShellMount& m : BrowsableMounts()) {
            Ptr volume = Make(TbsShellItemKind::FileSystem, self, m.MountPoint, m.MountPoint,
                              ShellDisplayName(LastComponent(m.MountPoint)));
            volume->facts_ = StatPath(m.MountPoint);
            volume->isMountRoot_ = true;
            items.push_back(volume);
        }
        return items;
    }
    if (!facts_.IsDirectory && facts_.StatKnown) return items;
    ShellFolderRead read = ReadFolderEntries(path_);
    if (error) *error = read.Error;
    items.reserve(read.Entries.size());
    const bool files = types & otNonFolders;
    const bool hidden = types & otHidden;
    for (const ShellDirEntry& e : read.Entries) {
        if (!hidden && e.Name[0] == '.') continue;
        Ptr item = Child(self, e);
        if (item->IsFolder() ? !folders : !files) continue;
        items.push_back(std::move(item));
    }
    return items;
}

void SortShellItems(std::vector<TbsShellFolder::Ptr>& items, const ShellCollator& collator, bool ascending) {
    struct Keyed {
        bool folder;
        std::string key;
        TbsShellFolder::Ptr item;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(items.size());
    for (auto& item : items) {
        // The children of the desktop and the computer keep the namespace's
        // own order (home, desktop, computer; "/" before the volumes).
        const bool onDisk = item->Parent() && item->Parent()->Kind() == TbsShellItemKind::FileSystem;
        keyed.push_back({item->IsFolder(), onDisk ? collator.SortKey(item->RelativeId()) : std::string(),
                         std::move(item)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const Keyed& a, const Keyed& b) {
        if (a.folder != b.folder) return ascending ? a.folder : b.folder;
        return ascending ? a.key < b.key : b.key < a.key;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) items[i] = std::move(keyed[i].item);
}

TbsShellFolder::Ptr RenameShellItem(const TbsShellFolder::Ptr& item, const AnsiString& newName) {
    const auto fail = [&] { return Exception(Format("Rename to %s failed", newName.c_str())); };
    if (!item || !item->CanRename()) throw fail();
    if (newName.empty() || newName == "." || newName == ".." || newName.find('/') != AnsiString::npos) throw fail();
    // The typed text is shown text; the name on disk is its UTF-8 form.
    const std::string diskName = AnsiToUtf8(newName);
    const std::string& oldPath = item->Path();
    const std::string folder = oldPath.substr(0, oldPath.find_last_of('/') + 1);
    const std::string newPath = folder + diskName;
    if (newPath == oldPath) return item;
    // Never replace an existing entry: renameat2 refuses atomically.
    if (renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) != 0) throw fail();
    ShellDirEntry entry{diskName, StatPath(newPath)};
    return TbsShellFolder::Child(item->Parent(), entry);
}
