#pragma once
// Giving memory back once the start-up has filled the word table: the word
// list built into the program is read only to fill the table, and the table
// keeps its own copy of every word.

#include <string_view>
#include <vector>

// Empties `lines` (views into the program's embedded word list) and lets the
// system drop the pages of the list's bytes from memory; they are read from
// the program file again should anything touch them later. Heap memory freed
// during the start-up goes back to the system as well.
void ReleaseEmbeddedWordList(std::vector<std::string_view>& lines);
