#pragma once
// Text at the terminal: the character set the user's locale gives it, and the
// conversions between that and the program's code page (GBK). The command
// line takes its word and prints its hits through these.

#include <optional>
#include <string>
#include <string_view>

#include "AnsiString.h"

// The terminal's character set as the locale names it (LC_ALL, LC_CTYPE,
// LANG). A plain 7-bit locale ("C", "POSIX") cannot show a single gloss, and
// the terminals of today's desktops read UTF-8, so it counts as UTF-8.
std::string TerminalCharset();

// `text` in `charset` as program text, or nothing when it holds a byte
// sequence that is not valid in `charset` or a character that GBK cannot
// hold: a word that changed on the way would find other words.
std::optional<AnsiString> TerminalToAnsi(std::string_view text, std::string_view charset);

// Program text in `charset`. A character that does not convert (the half of
// a double-byte character that a cut left behind, or one the charset lacks)
// becomes a replacement character (U+FFFD in UTF-8, "?" elsewhere); nothing
// else is lost.
std::string AnsiToTerminal(std::string_view ansi, std::string_view charset);
