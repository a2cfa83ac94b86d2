#pragma once
// The file list's mask: patterns separated by ';' or '|' (a filter's
// "description|pattern" pairs can be given whole). A file is shown when one
// pattern that holds a '.' matches its name, or when a pattern is exactly "*".
// A pattern without a dot never matches otherwise, so "*.txt" shows a.TXT but
// not readme, and "*" shows readme. Folders are not tested: they always show.
//
// Names and masks are the texts the user sees (code page 936): '?' stands for
// one character, a double-byte one included.

#include <string_view>

// One pattern: '*' any run, '?' one character, "[abc]", "[a-z]" and "[!a]"
// sets; ASCII letters match without regard to case. "*.*" matches every
// name, a name without a dot too, as the "all files" choice of a filter means.
bool MatchesShellPattern(std::string_view name, std::string_view pattern);

// The whole mask as above; spaces around a pattern do not count.
bool PassesShellMask(std::string_view name, std::string_view mask);
