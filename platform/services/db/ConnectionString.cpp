#include "ConnectionString.h"

#include <algorithm>

#include "Exceptions.h"
#include "SysUtils.h"

namespace {

// The platform's own text for a string it cannot read.
const char* const kMalformed =
    "Format of the initialization string does not conform to the OLE DB specification.";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<TConnectionStringItem> ParseConnectionString(std::string_view text) {
    std::vector<TConnectionStringItem> items;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // Key: up to the first single "="; "==" is a literal "=".
        AnsiString key;
        bool sawEquals = false;
        while (i < n) {
            if (text[i] == '=') {
                if (i + 1 < n && text[i + 1] == '=') {
                    key += '=';
                    i += 2;
                    continue;
                }
                sawEquals = true;
                ++i;
                break;
            }
            if (text[i] == ';') break;
            key += text[i++];
        }
        const std::string_view trimmedKey = TrimBlanks(key);
        if (!sawEquals) {
            if (!trimmedKey.empty()) throw EDatabaseError(kMalformed);
            ++i;  // an empty item between two ";"
            continue;
        }
        if (trimmedKey.empty()) throw EDatabaseError(kMalformed);

        while (i < n && IsBlank(text[i])) ++i;
        AnsiString value;
        if (i < n && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i++];
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += text[i++];
            }
            if (!closed) throw EDatabaseError(kMalformed);
            while (i < n && IsBlank(text[i])) ++i;
            if (i < n && text[i] != ';') throw EDatabaseError(kMalformed);
        } else {
            const std::size_t start = i;
            while (i < n && text[i] != ';') ++i;
            value = AnsiString(TrimBlanks(text.substr(start, i - start)));
        }
        ++i;  // past the ";" (or the end)
        items.push_back({AnsiString(trimmedKey), std::move(value)});
    }
    return items;
}

std::optional<AnsiString> FindConnectionValue(const std::vector<TConnectionStringItem>& items,
                                              std::string_view key) {
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (SameText(it->Key, key)) return it->Value;
    }
    return std::nullopt;
}

AnsiString QuoteConnectionValue(std::string_view value) {
    const bool needsQuotes = value.find(';') != std::string_view::npos ||
                             (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                                 value.front() == '"' || value.front() == '\''));
    if (!needsQuotes) return AnsiString(value);
    AnsiString quoted = "\"";
    for (const char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

AnsiString JoinConnectionString(const std::vector<TConnectionStringItem>& items,
                                const std::vector<std::string_view>& omit) {
    AnsiString text;
    for (const TConnectionStringItem& item : items) {
        const bool omitted = std::any_of(omit.begin(), omit.end(),
                                         [&](std::string_view key) { return SameText(item.Key, key); });
        if (omitted) continue;
        if (!text.empty()) text += ';';
        for (const char c : item.Key) {
            text += c;
            if (c == '=') text += '=';
        }
        text += '=';
        text += QuoteConnectionValue(item.Value);
    }
    return text;
}
