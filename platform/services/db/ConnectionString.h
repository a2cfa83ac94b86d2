#pragma once
// Connection strings in the platform's form: "Key=Value" items separated by
// ";". Keys are matched without regard to ASCII case. A value that holds ";"
// or blanks at its ends is quoted with '"' or '\'', a quote character inside
// it doubled; "==" inside a key stands for one "=".

#include <optional>
#include <string_view>
#include <vector>

#include "AnsiString.h"

struct TConnectionStringItem {
    AnsiString Key;
    AnsiString Value;
};

// Fails with EDatabaseError on a malformed string. The text of the string
// never appears in the error, because it may carry a password.
std::vector<TConnectionStringItem> ParseConnectionString(std::string_view text);

// The value of the last item named `key`, or nothing.
std::optional<AnsiString> FindConnectionValue(const std::vector<TConnectionStringItem>& items,
                                              std::string_view key);

// `value` as it must be written after "Key=" to read back unchanged.
AnsiString QuoteConnectionValue(std::string_view value);

// Rebuilds a string from items, leaving out every item whose key is one of `omit`.
AnsiString JoinConnectionString(const std::vector<TConnectionStringItem>& items,
                                const std::vector<std::string_view>& omit = {});
