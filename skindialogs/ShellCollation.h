#pragma once
// Name order for the file list: the user's locale collation (LC_COLLATE,
// LC_ALL or LANG as the environment sets them) on the names as they are on
// disk, with ASCII letters folded so that letter case does not decide the
// order. It does not depend on how the names are shown.

#include <string>
#include <string_view>

#include <locale.h>

class ShellCollator {
public:
    // `localeName` "" takes the environment's; a locale that does not exist
    // falls back to plain byte order.
    explicit ShellCollator(const char* localeName = "");
    ~ShellCollator();
    ShellCollator(const ShellCollator&) = delete;
    ShellCollator& operator=(const ShellCollator&) = delete;

    // A key whose byte order is the collation order of the name; comparing
    // keys is cheap, so a sort computes each name's key once.
    std::string SortKey(std::string_view name) const;
    int Compare(std::string_view a, std::string_view b) const;

private:
    locale_t locale_ = nullptr;
};
