#include "FileDialogModel.h"

#include <algorithm>
#include <cstdlib>

#include "FileUtils.h"
#include "SysUtils.h"

std::vector<TFileFilterItem> ParseFileFilter(const AnsiString& filter) {
    std::vector<AnsiString> parts;
    std::size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == AnsiString::npos ? AnsiString::npos : bar - start));
        if (bar == AnsiString::npos) break;
        start = bar + 1;
    }
    std::vector<TFileFilterItem> items;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        TFileFilterItem item;
        item.Description = parts[i];
        const AnsiString pattern = i + 1 < parts.size() ? parts[i + 1] : AnsiString("*.*");
        std::size_t p = 0;
        while (p <= pattern.size()) {
            const std::size_t semi = pattern.find(';', p);
            AnsiString mask = Trim(pattern.substr(p, semi == AnsiString::npos ? AnsiString::npos : semi - p));
            if (!mask.empty()) item.Masks.push_back(mask);
            if (semi == AnsiString::npos) break;
            p = semi + 1;
        }
        if (item.Description.empty() && item.Masks.empty()) continue;
        if (item.Masks.empty()) item.Masks.push_back("*.*");
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<TFolderEntry> ListFolder(const AnsiString& folder, const std::vector<AnsiString>& masks,
                                     bool showHidden) {
    std::vector<TFolderEntry> entries;
    TSearchRec rec;
    const int attr = faAnyFile;
    if (FindFirst(IncludeTrailingPathDelimiter(folder) + "*", attr, rec) == 0) {
        do {
            TFolderEntry e;
            e.Name = rec.Name;
            e.IsFolder = (rec.Attr & faDirectory) != 0;
            e.IsHidden = (rec.Attr & faHidden) != 0;
            e.Size = rec.Size;
            if (e.IsHidden && !showHidden) continue;
            if (!e.IsFolder && !masks.empty() &&
                std::none_of(masks.begin(), masks.end(), [&](const AnsiString& m) { return MatchesMask(e.Name, m); }))
                continue;
            entries.push_back(std::move(e));
        } while (FindNext(rec) == 0);
        FindClose(rec);
    }
    std::sort(entries.begin(), entries.end(), [](const TFolderEntry& a, const TFolderEntry& b) {
        if (a.IsFolder != b.IsFolder) return a.IsFolder;
        const int c = CompareText(a.Name, b.Name);
        return c != 0 ? c < 0 : a.Name < b.Name;
    });
    return entries;
}

AnsiString ParentFolder(const AnsiString& folder) {
    AnsiString f = ExcludeTrailingPathDelimiter(folder);
    if (f.empty()) return "/";
    const std::size_t slash = f.rfind('/');
    if (slash == AnsiString::npos) return IncludeTrailingPathDelimiter(folder);
    return f.substr(0, slash + 1);
}

namespace {

// Joins and folds "." and ".." so that the dialog shows clean paths.
AnsiString CleanPath(const AnsiString& path) {
    std::vector<AnsiString> parts;
    std::size_t p = 0;
    while (p <= path.size()) {
        const std::size_t slash = path.find('/', p);
        const AnsiString part = path.substr(p, slash == AnsiString::npos ? AnsiString::npos : slash - p);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == AnsiString::npos) break;
        p = slash + 1;
    }
    AnsiString out;
    for (const auto& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

}  // namespace

TTypedName ResolveTypedName(const AnsiString& folder, const AnsiString& typed, bool mustExist) {
    const AnsiString name = Trim(typed);
    if (name.empty()) return {TTypedNameKind::Empty, {}};
    if (name.find_first_of("*?") != AnsiString::npos) return {TTypedNameKind::Mask, name};
    AnsiString full;
    if (name[0] == '/') {
        full = name;
    } else if (name[0] == '~' && (name.size() == 1 || name[1] == '/')) {
        const char* home = std::getenv("HOME");
        full = AnsiString(home ? home : "/") + "/" + name.substr(1);
    } else {
        full = IncludeTrailingPathDelimiter(folder) + name;
    }
    full = CleanPath(full);
    if (DirectoryExists(full)) return {TTypedNameKind::Folder, IncludeTrailingPathDelimiter(full)};
    if (mustExist && !FileExists(full)) return {TTypedNameKind::Missing, full};
    return {TTypedNameKind::File, full};
}
