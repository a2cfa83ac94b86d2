#pragma once
// The SQL text of a query, kept as lines like the platform's string lists.
// Every change is reported to the owner, which closes the query and reads
// the parameter names again.

#include <functional>
#include <string_view>
#include <vector>

#include "AnsiString.h"

class TSQLLines {
public:
    explicit TSQLLines(std::function<void()> onChange) : onChange_(std::move(onChange)) {}

    std::size_t Count() const { return lines_.size(); }
    const AnsiString& operator[](std::size_t index) const { return lines_.at(index); }

    void Clear();
    void Add(std::string_view line);
    // Every line followed by CR LF.
    AnsiString Text() const;
    // Splits at CR LF, lone CR or lone LF; a break at the very end adds no line.
    void SetText(std::string_view text);

private:
    std::vector<AnsiString> lines_;
    std::function<void()> onChange_;
};
