#include "TParameters.h"

#include <algorithm>

#include "ConnectionString.h"
#include "Exceptions.h"
#include "SysUtils.h"

namespace {

// Letters, digits, "_" and every byte of a double-byte character, as the
// engine's tokenizer reads identifiers.
bool IsNameByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_' || b >= 0x80;
}

// Index just past the quoted run that starts at `i` with `open`, ended by
// `close` (a doubled `close` inside stays in the run).
std::size_t SkipQuoted(std::string_view sql, std::size_t i, char close) {
    ++i;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (i + 1 < sql.size() && sql[i + 1] == close && close != ']') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

}  // namespace

std::vector<AnsiString> SqlParameterNames(std::string_view sql) {
    std::vector<AnsiString> names;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '`') {
            i = SkipQuoted(sql, i, c);
        } else if (c == '[') {
            i = SkipQuoted(sql, i, ']');
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            const std::size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 2;
        } else if (c == ':' && i + 1 < sql.size() && IsNameByte(sql[i + 1])) {
            std::size_t end = i + 1;
            while (end < sql.size() && IsNameByte(sql[end])) ++end;
            AnsiString name(sql.substr(i + 1, end - i - 1));
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
            i = end;
        } else {
            ++i;
        }
    }
    return names;
}

TParameter* TParameters::FindParam(std::string_view name) {
    for (TParameter& p : items_) {
        if (SameText(p.Name, name)) return &p;
    }
    return nullptr;
}

TParameter& TParameters::ParamByName(std::string_view name) {
    if (TParameter* p = FindParam(name)) return *p;
    throw EDatabaseError("Parameter '" + AnsiString(name) + "' not found");
}

void TParameters::ParseSQL(std::string_view sql) {
    items_.clear();
    for (AnsiString& name : SqlParameterNames(sql)) items_.emplace_back(std::move(name));
}
