#pragma once
// The parameters of a query: one per ":name" in its SQL text. Values are
// bound to the statement by the engine, never pasted into the text, so no
// value can change what the statement does.

#include <optional>
#include <string_view>
#include <vector>

#include "AnsiString.h"

class TParameter {
public:
    explicit TParameter(AnsiString name) : Name(std::move(name)) {}
    const AnsiString Name;  // as written after the ":" in the SQL text
    // No value binds NULL; a value binds its bytes exactly, as text.
    std::optional<AnsiString> Value;
    // Gives the parameter a text value, reusing the storage of the value it
    // had: a statement run for many rows then costs no allocation a row.
    void SetValue(std::string_view value) {
        if (Value) {
            Value->assign(value);
        } else {
            Value.emplace(value);
        }
    }
};

class TParameters {
public:
    std::size_t Count() const { return items_.size(); }
    TParameter& operator[](std::size_t index) { return items_.at(index); }
    const TParameter& operator[](std::size_t index) const { return items_.at(index); }

    // Names match without regard to ASCII case. ParamByName fails with
    // EDatabaseError when there is no such parameter; FindParam returns null.
    TParameter& ParamByName(std::string_view name);
    TParameter* FindParam(std::string_view name);

    // Replaces the list by the parameters named in `sql`.
    void ParseSQL(std::string_view sql);
    void Clear() { items_.clear(); }

private:
    std::vector<TParameter> items_;
};

// The ":name" parameter names in SQL text, first occurrence order, each once.
// Quoted texts, quoted identifiers and comments are skipped.
std::vector<AnsiString> SqlParameterNames(std::string_view sql);
