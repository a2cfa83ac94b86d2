#pragma once
// The maintainer's word list difference tool: writes the lines of one word
// list whose single-word headwords the other list lacks. The main window
// starts it on a double click on its background, with the path box naming
// list A and the word box naming list B.

#include <functional>

#include "AnsiString.h"

// Where the tool writes its result: newworduni.txt in the user's home
// directory. Raises EInOutError when there is no home directory to be found.
AnsiString DiffOutputPath();

// For each line of A, in order: a headword holding a blank counts as
// unmatched; otherwise B is scanned from a resume index (starting at 0) to its
// end, and the headword is matched when some line there has the same headword
// byte for byte; the last such line becomes the resume index. Every scan also
// reports the headword of each line it passes whose gloss is longer than 254
// bytes through `appendGlossLine`. The unmatched lines of A, as read, are
// written to `outputPath`, each followed by CR LF, replacing any file there.
//
// Because scans start at the resume index, a headword that B holds only
// before the last match counts as unmatched; lists in the same order find
// every shared headword.
//
// A list that cannot be read, or that is no regular file (a pipe, a device,
// a folder), raises EFOpenError at once and nothing is written; an
// output that cannot be written raises EFCreateError naming it.
void DiffWordLists(const AnsiString& listAPath, const AnsiString& listBPath, const AnsiString& outputPath,
                   const std::function<void(const AnsiString&)>& appendGlossLine);
