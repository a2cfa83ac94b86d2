#include "ShellFolderEntries.h"

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

void TakeStat(const struct stat& st, ShellFileFacts& f) {
    f.StatKnown = true;
    f.IsDirectory = S_ISDIR(st.st_mode);
    f.IsRegular = S_ISREG(st.st_mode);
    f.Size = f.IsRegular ? std::int64_t(st.st_size) : 0;
    f.ModifiedSeconds = st.st_mtim.tv_sec;
    f.ModifiedNanoseconds = st.st_mtim.tv_nsec;
    f.Mode = st.st_mode;
}

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

}  // namespace

ShellFolderRead ReadFolderEntries(const std::string& path) {
    ShellFolderRead result;
    std::unique_ptr<DIR, DirCloser> dir(opendir(path.empty() ? "/" : path.c_str()));
    if (!dir) {
        result.Error = errno;
        return result;
    }
    const int fd = dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* e = readdir(dir.get());
        if (!e) {
            result.Error = errno;  // 0 at the end; an error ends the pass, keeping what was read
            break;
        }
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        ShellDirEntry entry;
        entry.Name = name;
        entry.Facts.IsSymlink = e->d_type == DT_LNK;
        struct stat st {};
        if (fstatat(fd, name, &st, 0) == 0) {
            TakeStat(st, entry.Facts);
        } else if (e->d_type == DT_UNKNOWN || entry.Facts.IsSymlink) {
            // A dangling link: show the link itself.
            if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                TakeStat(st, entry.Facts);
                entry.Facts.IsDirectory = false;
                entry.Facts.IsRegular = false;
                entry.Facts.IsSymlink = S_ISLNK(st.st_mode);
            }
        } else {
            entry.Facts.IsDirectory = e->d_type == DT_DIR;
            entry.Facts.IsRegular = e->d_type == DT_REG;
        }
        result.Entries.push_back(std::move(entry));
    }
    return result;
}

ShellFileFacts StatPath(const std::string& path) {
    ShellFileFacts f;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) f.IsSymlink = true;
    if (stat(path.c_str(), &st) == 0) TakeStat(st, f);
    return f;
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return stat(path.empty() ? "/" : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string NearestExistingFolder(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    while (!p.empty() && p != "/") {
        if (FolderExists(p)) return p;
        const std::size_t slash = p.find_last_of('/');
        if (slash == std::string::npos) break;
        p = slash == 0 ? "/" : p.substr(0, slash);
    }
    return "/";
}
