#include "ShellNamespace.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"
#include "ShellFolderEntries.h"
#include "SysUtils.h"
#include "TbsShellFolder.h"

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v == '/') ? std::string(v) : fallback;
}

std::string ConfigHome() { return EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config"); }
std::string DataHome() { return EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share"); }

bool PathExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// "\040" and the other octal escapes of the mounts file.
std::string DecodeMountField(std::string_view field) {
    std::string out;
    const auto octal = [](char c) { return c >= '0' && c <= '7'; };
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
            out += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

bool UnderFolder(const std::string& path, std::string_view folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// File systems that hold no user files, whatever they are mounted on.
bool IsPseudoFileSystem(std::string_view type) {
    static constexpr std::array<std::string_view, 24> kPseudo{
        "proc",     "sysfs",     "devtmpfs", "devpts",  "tmpfs",     "cgroup",  "cgroup2",    "securityfs",
        "pstore",   "debugfs",   "tracefs",  "mqueue",  "hugetlbfs", "configfs", "fusectl",   "autofs",
        "binfmt_misc", "bpf",    "efivarfs", "rpc_pipefs", "nsfs",   "overlay", "squashfs",   "ramfs"};
    return std::find(kPseudo.begin(), kPseudo.end(), type) != kPseudo.end();
}

struct SpecialFolder {
    std::string_view name;
    // The folder on this desktop, or empty when there is none.
    std::string (*path)();
};

std::string NoFolder() { return {}; }

const std::vector<SpecialFolder>& SpecialFolders() {
    static const std::vector<SpecialFolder> table{
        {"rfDesktop", NoFolder},
        {"rfMyComputer", NoFolder},
        {"rfNetwork", NoFolder},
        {"rfRecycleBin", [] { return DataHome() + "/Trash/files"; }},
        {"rfAppData", [] { return DataHome(); }},
        {"rfCommonDesktopDirectory", NoFolder},
        {"rfCommonPrograms", [] { return std::string("/usr/share/applications"); }},
        {"rfCommonStartMenu", [] { return std::string("/usr/share/applications"); }},
        {"rfCommonStartup", [] { return std::string("/etc/xdg/autostart"); }},
        {"rfControlPanel", NoFolder},
        {"rfDesktopDirectory", [] { return DesktopFolder(); }},
        {"rfFavorites", NoFolder},
        {"rfFonts", [] { return DataHome() + "/fonts"; }},
        {"rfInternet", NoFolder},
        {"rfPersonal", [] { return HomeFolder(); }},
        {"rfPrinters", NoFolder},
        {"rfPrintHood", NoFolder},
        {"rfPrograms", [] { return DataHome() + "/applications"; }},
        {"rfRecent", NoFolder},
        {"rfSendTo", NoFolder},
        {"rfStartMenu", [] { return DataHome() + "/applications"; }},
        {"rfStartup", [] { return ConfigHome() + "/autostart"; }},
        {"rfTemplates", [] { return XdgUserDir("TEMPLATES"); }},
    };
    return table;
}

}  // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return NormalizePath(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return NormalizePath(found->pw_dir);
    return "/";
}

std::string XdgUserDir(std::string_view key) {
    std::ifstream in(ConfigHome() + "/user-dirs.dirs");
    if (!in) return {};
    const std::string wanted = "XDG_" + std::string(key) + "_DIR";
    std::string line;
    std::string value;
    while (std::getline(in, line)) {
        std::size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line[i] == '#') continue;
        if (line.compare(i, wanted.size(), wanted) != 0) continue;
        i += wanted.size();
        i = line.find_first_not_of(" \t", i);
        if (i == std::string::npos || line[i] != '=') continue;
        const std::size_t open = line.find('"', i);
        const std::size_t close = open == std::string::npos ? open : line.rfind('"');
        if (open == std::string::npos || close <= open) continue;
        std::string v;
        for (std::size_t k = open + 1; k < close; ++k) {
            if (line[k] == '\\' && k + 1 < close) ++k;  // shell escapes
            v += line[k];
        }
        value = v;  // the last assignment counts, as in a shell
    }
    if (value.rfind("$HOME", 0) == 0) value = HomeFolder() + value.substr(5);
    if (value.empty() || value[0] != '/') return {};
    return NormalizePath(value);
}

std::string DesktopFolder() {
    const std::string desktop = XdgUserDir("DESKTOP");
    return (!desktop.empty() && FolderExists(desktop)) ? desktop : HomeFolder();
}

std::vector<ShellMount> BrowsableMounts(const std::string& mountsFile) {
    std::vector<ShellMount> mounts;
    std::ifstream in(mountsFile);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string_view> fields;
        std::string_view rest = line;
        while (!rest.empty() && fields.size() < 3) {
            const std::size_t start = rest.find_first_not_of(' ');
            if (start == std::string_view::npos) break;
            rest.remove_prefix(start);
            const std::size_t end = rest.find(' ');
            fields.push_back(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        }
        if (fields.size() < 3) continue;
        ShellMount m{DecodeMountField(fields[1]), DecodeMountField(fields[0]), std::string(fields[2])};
        const bool userPlace =
            UnderFolder(m.MountPoint, "/media") || UnderFolder(m.MountPoint, "/mnt") || UnderFolder(m.MountPoint, "/run/media");
        if (!userPlace || IsPseudoFileSystem(m.FileSystem)) continue;
        // A volume mounted twice is listed once.
        if (std::any_of(mounts.begin(), mounts.end(), [&](const ShellMount& o) { return o.MountPoint == m.MountPoint; }))
            continue;
        mounts.push_back(std::move(m));
    }
    return mounts;
}

bool IsSpecialFolderName(std::string_view name) {
    const auto& t = SpecialFolders();
    return std::any_of(t.begin(), t.end(), [&](const SpecialFolder& f) { return f.name == name; });
}

std::optional<std::string> SpecialFolderPath(std::string_view name) {
    for (const SpecialFolder& f : SpecialFolders()) {
        if (f.name != name) continue;
        const std::string path = f.path();
        if (path.empty() || !FolderExists(path)) return std::nullopt;
        return path;
    }
    return std::nullopt;
}

std::string NormalizePath(std::string_view absolutePath) {
    std::vector<std::string_view> parts;
    std::size_t i = 0;
    while (i <= absolutePath.size()) {
        std::size_t end = absolutePath.find('/', i);
        if (end == std::string_view::npos) end = absolutePath.size();
        const std::string_view part = absolutePath.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = end + 1;
    }
    std::string out;
    for (std::string_view p : parts) {
        out += '/';
        out.append(p);
    }
    return out.empty() ? "/" : out;
}

std::string ResolvePathText(const AnsiString& text, const std::string& currentFolder) {
    const auto absolute = [&](const std::string& t) {
        if (t == "~" || t.rfind("~/", 0) == 0) return NormalizePath(HomeFolder() + t.substr(1));
        if (!t.empty() && t[0] == '/') return NormalizePath(t);
        return NormalizePath(currentFolder + "/" + t);
    };
    const std::string asBytes = absolute(text);
    if (PathExists(asBytes)) return asBytes;
    return absolute(AnsiToUtf8(text));
}

std::shared_ptr<TbsShellFolder> ResolveShellRoot(const AnsiString& root, const std::string& currentFolder) {
    const auto fail = [&] { return Exception(Format("Error setting path: \"%s\"", root.c_str())); };
    if (root == "rfDesktop") return TbsShellFolder::Desktop();
    if (root == "rfMyComputer") return TbsShellFolder::Computer();
    if (IsSpecialFolderName(root)) {
        const std::optional<std::string> path = SpecialFolderPath(root);
        if (!path) throw fail();
        return TbsShellFolder::ForPath(*path);
    }
    if (root.empty()) throw fail();
    const std::string path = ResolvePathText(root, currentFolder);
    if (!FolderExists(path)) throw fail();
    return TbsShellFolder::ForPath(path);
}
