#include "ShellCollation.h"

#include <cstring>

ShellCollator::ShellCollator(const char* localeName) {
    locale_ = newlocale(LC_COLLATE_MASK, localeName, nullptr);
}

ShellCollator::~ShellCollator() {
    if (locale_) freelocale(locale_);
}

std::string ShellCollator::SortKey(std::string_view name) const {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    // A name cannot hold a zero byte; cut there anyway, as strxfrm would.
    folded.resize(std::strlen(folded.c_str()));
    if (!locale_) return folded;
    std::string key(folded.size() * 4 + 16, '\0');
    std::size_t n = strxfrm_l(key.data(), folded.c_str(), key.size(), locale_);
    if (n >= key.size()) {
        key.assign(n + 1, '\0');
        n = strxfrm_l(key.data(), folded.c_str(), key.size(), locale_);
    }
    key.resize(n);
    // Names that collate alike still get one fixed order: by their bytes.
    key.push_back('\0');
    key.append(name);
    return key;
}

int ShellCollator::Compare(std::string_view a, std::string_view b) const {
    return SortKey(a).compare(SortKey(b));
}
