#pragma once
// Word list text: one word per line, headword, "|", gloss, in code page 936.
// The same format serves the list built into the program, the files a user
// imports and the files the difference tool compares.
//
// Lines end at CR LF, at a lone CR or at a lone LF; a NUL byte ends the whole
// text; a last line without a line break counts, a line break at the very end
// adds no empty line, and empty lines in the middle are kept.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "TStrings.h"
#include "WordTable.h"

// The part of `text` that begins one character after the start of the first
// occurrence of `startDelim` (at the first character when startDelim is
// empty or absent) and ends just before the first occurrence of `endDelim`;
// empty when endDelim does not occur or occurs before that beginning. Both
// searches run from the start of the text, character by character, so a
// delimiter byte that is the second byte of a double-byte character is not
// found.
AnsiString CutBetween(std::string_view text, std::string_view startDelim, std::string_view endDelim);

// The two fields of a word list line, as views into the line.
struct TWordLineParts {
    std::string_view Headword;
    std::string_view Gloss;
};

// The headword is the text before the first "|" that starts a character, the
// gloss everything after that "|" (further "|" included). Without a separator
// the headword is empty and the gloss is the line without its first character.
// Nothing is trimmed.
TWordLineParts SplitWordLine(std::string_view line);

// The lines of a word list text by the line rule above, as views into it.
std::vector<std::string_view> SplitWordListLines(std::string_view text);

// Stores line i into record firstIndex + i of `table`, split by
// SplitWordLine and each field cut to its limit; every line, empty or
// malformed, takes one record. The table must already be long enough:
// otherwise EListError is raised before anything is stored.
void AppendWordLines(TEngWordTable& table, std::span<const std::string_view> lines, std::size_t firstIndex);
void AppendWordLines(TEngWordTable& table, const TStrings& lines, std::size_t firstIndex);
// The same into WordTable.
void AppendWordLines(std::span<const std::string_view> lines, std::size_t firstIndex);
void AppendWordLines(const TStrings& lines, std::size_t firstIndex);

// The lines of the word list built into the program (resource "TXT" /
// "ENWORDLIB"). The views point into the program's own bytes and stay valid
// for the whole run. A program without the resource raises EResNotFound.
std::vector<std::string_view> LoadEmbeddedWordList();
