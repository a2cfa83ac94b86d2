#include "DbKeyCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// What the database engine uses to derive a key from a password.
constexpr int kKdfIterations = 64000;
constexpr std::size_t kKeyBytes = 32;
constexpr std::size_t kSaltBytes = 16;
// Salts remembered at most: a user has one database, tests and copies a few more.
constexpr std::size_t kMaxEntries = 8;
// A cache file longer than this is not one this program wrote.
constexpr off_t kMaxCacheBytes = 4096;

std::string Hex(const unsigned char* bytes, std::size_t n) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

bool IsHex(std::string_view text, std::size_t digits) {
    return text.size() == digits && text.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

std::optional<std::vector<unsigned char>> FromHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
        if (!IsHex(text.substr(i, 2), 2)) return std::nullopt;
        bytes.push_back(static_cast<unsigned char>(digit(text[i]) * 16 + digit(text[i + 1])));
    }
    return bytes;
}

// A folder or file only this user controls: owned by the user, and nobody
// else may write it (`privateBits` also excludes reading, for the file).
bool OwnedAndPrivate(const struct stat& st, mode_t privateBits) {
    return st.st_uid == ::geteuid() && (st.st_mode & privateBits) == 0;
}

std::string FolderOf(const std::string& file) { return file.substr(0, file.rfind('/')); }

// The entries of the cache file: lines "<salt> <key>", as long as the file
// is one this user alone controls.
std::vector<std::pair<std::string, std::string>> ReadEntries(const std::string& cacheFile) {
    std::vector<std::pair<std::string, std::string>> entries;
    struct stat folder {};
    if (cacheFile.empty() || ::lstat(FolderOf(cacheFile).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) ||
        !OwnedAndPrivate(folder, S_IWGRP | S_IWOTH))
        return entries;
    const int fd = ::open(cacheFile.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return entries;
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && OwnedAndPrivate(st, S_IRWXG | S_IRWXO) &&
        st.st_size <= kMaxCacheBytes) {
        text.resize(static_cast<std::size_t>(st.st_size));
        const ssize_t n = ::read(fd, text.data(), text.size());
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    ::close(fd);
    std::istringstream lines(text);
    std::string salt, key;
    while (lines >> salt >> key) {
        if (IsHex(salt, 2 * kSaltBytes) && IsHex(key, 2 * kKeyBytes)) entries.emplace_back(salt, key);
    }
    return entries;
}

}  // namespace

std::string DbKeyCacheFile() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string folder;
    if (cache != nullptr && cache[0] == '/') {
        folder = cache;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.cache";
    } else {
        return {};
    }
    return folder + "/mirvodict/dbkeys";
}

std::string DatabaseSalt(const std::string& databaseFile) {
    const int fd = ::open(databaseFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::array<unsigned char, kSaltBytes> salt{};
    const ssize_t n = ::read(fd, salt.data(), salt.size());
    ::close(fd);
    if (n != static_cast<ssize_t>(salt.size())) return {};
    return Hex(salt.data(), salt.size());
}

std::optional<AnsiString> CachedDatabaseKey(const std::string& cacheFile, std::string_view salt) {
    if (!IsHex(salt, 2 * kSaltBytes)) return std::nullopt;
    for (const auto& [entrySalt, key] : ReadEntries(cacheFile)) {
        if (entrySalt == salt) return AnsiString("x'" + key + "'");
    }
    return std::nullopt;
}

AnsiString DeriveDatabaseKey(std::string_view password, std::string_view salt) {
    const std::optional<std::vector<unsigned char>> saltBytes = FromHex(salt);
    if (!saltBytes || saltBytes->size() != kSaltBytes) return {};
    std::array<unsigned char, kKeyBytes> key{};
    if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), saltBytes->data(),
                               static_cast<int>(saltBytes->size()), kKdfIterations, static_cast<int>(key.size()),
                               key.data()) != 1)
        return {};
    return "x'" + Hex(key.data(), key.size()) + "'";
}

void RememberDatabaseKey(const std::string& cacheFile, std::string_view salt, const AnsiString& rawKey) {
    if (cacheFile.empty() || !IsHex(salt, 2 * kSaltBytes) || rawKey.size() != 2 * kKeyBytes + 3) return;
    const std::string key = rawKey.substr(2, 2 * kKeyBytes);
    if (!IsHex(key, 2 * kKeyBytes)) return;
    // The folder: made private when it is new; an existing one must already be.
    const std::string folder = FolderOf(cacheFile);
    ::mkdir(FolderOf(folder).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || !OwnedAndPrivate(st, S_IWGRP | S_IWOTH)) return;

    std::string text = std::string(salt) + " " + key + "\n";
    std::size_t kept = 1;
    for (const auto& [entrySalt, entryKey] : ReadEntries(cacheFile)) {
        if (entrySalt == salt || kept == kMaxEntries) continue;
        text += entrySalt + " " + entryKey + "\n";
        ++kept;
    }
    // Written beside the cache and renamed over it: a reader sees the old
    // file or the new one, never a part.
    std::string temp = folder + "/.dbkeys-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return;
    ::fchmod(fd, 0600);
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), cacheFile.c_str()) != 0) ::unlink(temp.c_str());
}
