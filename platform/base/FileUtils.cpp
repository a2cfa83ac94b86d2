#include "FileUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// std::string_view is not NUL-terminated; system calls need a copy.
std::string Path(std::string_view p) { return std::string(p); }

bool Stat(std::string_view fileName, struct stat& st) {
    return !fileName.empty() && ::stat(Path(fileName).c_str(), &st) == 0;
}

std::size_t LastDelimiter(std::string_view fileName) { return fileName.rfind('/'); }

int AttributesOf(std::string_view name, const struct stat& st) {
    int attr = 0;
    if (S_ISDIR(st.st_mode)) {
        attr |= faDirectory;
    } else if (S_ISREG(st.st_mode)) {
        attr |= faArchive;
    } else {
        attr |= faSysFile;
    }
    if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
    if (!name.empty() && name.front() == '.') attr |= faHidden;
    return attr;
}

TDateTime ModificationTime(const struct stat& st) { return UnixTimeToDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec); }

std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    std::size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
    return n;
}

}  // namespace

// ---- tests and directories ----

bool FileExists(std::string_view fileName) {
    struct stat st {};
    return Stat(fileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view dir) {
    struct stat st {};
    return Stat(dir, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(std::string_view dir) { return !dir.empty() && ::mkdir(Path(dir).c_str(), 0777) == 0; }

bool RemoveDir(std::string_view dir) { return !dir.empty() && ::rmdir(Path(dir).c_str()) == 0; }

bool ForceDirectories(std::string_view dir) {
    if (dir.empty()) return false;
    const std::string path = Path(dir);
    // Create each prefix that ends before a separator, then the whole path.
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (path[i - 1] == '/') continue;  // a doubled separator
            const std::string prefix = path.substr(0, i);
            if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
    }
    return DirectoryExists(dir);
}

AnsiString GetCurrentDir() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return AnsiString();
        buffer.resize(buffer.size() * 2);
    }
    return AnsiString(buffer.data());
}

AnsiString ExecutableFileName() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return AnsiString();
        if (static_cast<std::size_t>(n) < buffer.size()) return AnsiString(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

// ---- path parts ----

AnsiString ExtractFilePath(std::string_view fileName) {
    const std::size_t slash = LastDelimiter(fileName);
    return slash == std::string_view::npos ? AnsiString() : AnsiString(fileName.substr(0, slash + 1));
}

AnsiString ExtractFileDir(std::string_view fileName) {
    const std::size_t slash = LastDelimiter(fileName);
    if (slash == std::string_view::npos) return AnsiString();
    // The root keeps its separator.
    return AnsiString(fileName.substr(0, slash == 0 ? 1 : slash));
}

AnsiString ExtractFileName(std::string_view fileName) {
    const std::size_t slash = LastDelimiter(fileName);
    return AnsiString(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

AnsiString ExtractFileExt(std::string_view fileName) {
    const std::size_t dot = fileName.find_last_of("./");
    if (dot == std::string_view::npos || fileName[dot] != '.') return AnsiString();
    return AnsiString(fileName.substr(dot));
}

AnsiString ChangeFileExt(std::string_view fileName, std::string_view extension) {
    const std::size_t dot = fileName.find_last_of("./");
    const std::size_t end = (dot == std::string_view::npos || fileName[dot] != '.') ? fileName.size() : dot;
    AnsiString result(fileName.substr(0, end));
    result.append(extension);
    return result;
}

AnsiString IncludeTrailingPathDelimiter(std::string_view path) {
    AnsiString result(path);
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

AnsiString ExcludeTrailingPathDelimiter(std::string_view path) {
    if (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return AnsiString(path);
}

// ---- delete and move ----

bool DeleteFile(std::string_view fileName) {
    return !fileName.empty() && ::unlink(Path(fileName).c_str()) == 0;
}

bool RenameFile(std::string_view oldName, std::string_view newName) {
    if (oldName.empty() || newName.empty()) return false;
    const std::string from = Path(oldName);
    const std::string to = Path(newName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: check, then rename.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool MoveFileReplace(std::string_view oldName, std::string_view newName) {
    if (oldName.empty() || newName.empty()) return false;
    return ::rename(Path(oldName).c_str(), Path(newName).c_str()) == 0;
}

// ---- time stamps ----

bool FileAge(std::string_view fileName, TDateTime& age) {
    struct stat st {};
    if (!Stat(fileName, st)) return false;
    age = ModificationTime(st);
    return true;
}

bool FileSetDate(std::string_view fileName, TDateTime age) {
    // Local calendar time back to POSIX time: take the zone offset that
    // applies near that instant.
    const double localSeconds = (age - kUnixEpochDate) * 86400.0;
    const auto guess = static_cast<std::time_t>(std::floor(localSeconds));
    std::tm local {};
    localtime_r(&guess, &local);
    const double utcSeconds = localSeconds - static_cast<double>(local.tm_gmtoff);
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<std::time_t>(std::floor(utcSeconds));
    times[1].tv_nsec = static_cast<long>((utcSeconds - std::floor(utcSeconds)) * 1e9);
    return !fileName.empty() && ::utimensat(AT_FDCWD, Path(fileName).c_str(), times, 0) == 0;
}

// ---- attributes ----

int FileGetAttr(std::string_view fileName) {
    struct stat st {};
    if (!Stat(fileName, st)) return -1;
    return AttributesOf(ExtractFileName(ExcludeTrailingPathDelimiter(fileName)), st);
}

int FileSetAttr(std::string_view fileName, int attr) {
    struct stat st {};
    if (!Stat(fileName, st)) return errno != 0 ? errno : ENOENT;
    // Only the read-only flag maps onto Linux; see the header for the others.
    mode_t mode = st.st_mode & 07777;
    if ((attr & faReadOnly) != 0) {
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    } else {
        mode |= S_IWUSR;
    }
    if (mode == (st.st_mode & 07777)) return 0;
    return ::chmod(Path(fileName).c_str(), mode) == 0 ? 0 : errno;
}

// ---- enumeration ----

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*") mask = "*";
    // Greedy matching with one backtrack point: linear enough for file names.
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n += Utf8SequenceLength(name, n);
            ++m;
        } else if (m < mask.size() && AsciiUpper(mask[m]) == AsciiUpper(name[n])) {
            ++n;
            ++m;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            starName += Utf8SequenceLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

struct FindState {
    DIR* dir = nullptr;
    AnsiString mask;
    int excluded = 0;  // entries with any of these attributes are skipped
    ~FindState() {
        if (dir != nullptr) ::closedir(dir);
    }
};

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

int FindFirst(std::string_view path, int attr, TSearchRec& rec) {
    FindClose(rec);
    AnsiString dir = ExtractFilePath(path);
    const AnsiString mask = ExtractFileName(path);
    if (mask.empty()) return ENOENT;
    if (dir.empty()) dir = "./";
    auto state = std::make_unique<FindState>();
    state->dir = ::opendir(dir.c_str());
    if (state->dir == nullptr) return errno != 0 ? errno : ENOENT;
    state->mask = mask;
    state->excluded = ~attr & (faHidden | faSysFile | faDirectory);
    rec.state = std::move(state);
    return FindNext(rec);
}

int FindNext(TSearchRec& rec) {
    FindState* state = rec.state.get();
    if (state == nullptr) return EBADF;
    const int dirFd = ::dirfd(state->dir);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(state->dir);
        if (entry == nullptr) return errno != 0 ? errno : ENOENT;
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !MatchesMask(name, state->mask)) continue;
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, 0) != 0 &&
            ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone since it was listed
        }
        const int entryAttr = AttributesOf(name, st);
        if ((entryAttr & state->excluded) != 0) continue;
        rec.Name = AnsiString(name);
        rec.Attr = entryAttr;
        rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
        rec.TimeStamp = ModificationTime(st);
        return 0;
    }
}

void FindClose(TSearchRec& rec) { rec.state.reset(); }
