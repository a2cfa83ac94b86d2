#pragma once
// What a start of the program asks of the dictionary window: to come to the
// front, to look a word up, or to look up the text selected on the desktop.
// A second start hands it to the running window as one line of text.

#include <optional>
#include <string>
#include <string_view>

#include "AnsiString.h"

struct WindowRequest {
    enum class Kind { Show, Word, Selection };
    Kind What = Kind::Show;
    AnsiString Word;  // Word: program text, one line

    bool operator==(const WindowRequest&) const = default;
};

// The request of a start with these arguments (those after the program's
// name); none when they ask for the command line instead (a lookup printed,
// help, a usage error, a word that is not valid text of the terminal).
std::optional<WindowRequest> WindowRequestFromArgs(int argc, const char* const* argv);

// The line sent to the running window, and back; a line that is not a
// request gives none.
std::string EncodeWindowRequest(const WindowRequest& request);
std::optional<WindowRequest> DecodeWindowRequest(std::string_view line);

// The word box's text for a selection's text (UTF-8 as its owner gave it):
// its first line that holds anything, without the blanks around it, cut to
// what a lookup reads (kMaxChsBytes of program text, whole characters). Bytes
// that are not UTF-8, and control characters, do not reach the word box.
AnsiString WordFromSelection(std::string_view utf8);
