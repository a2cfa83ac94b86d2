#pragma once
// The lookup a user runs (the translate button, `mirvodict -l`): the hits of
// LookupWords, with the words the user most likely means put before them:
//
//   the word      a headword spelt as typed comes first (the literal lookup
//                 lists records in table order, and an English word inside
//                 a gloss can put another headword before it);
//   letter case   "Also" finds "also"; where both cases are headwords the
//                 exact one comes first;
//   word forms    "went" finds "go", "mice" "mouse", "party's" "party":
//                 from the forms table built into the program, else from
//                 rules for regular endings, kept only when they yield a
//                 headword; a dictionary form comes before the word itself
//                 when that is a headword too, unless it is a far rarer
//                 word ("good" before "better", "numb" after "number");
//   spelling      when none of that and no record has the typed word as its
//                 headword, the headwords at most two edits away (and the
//                 dictionary forms of forms that near), common slips first,
//                 then the more common word; they fill the rows LookupWords
//                 leaves, after its hits.
//
// Every hit of LookupWords stays, in its order, after the added ones (a
// record already added is not listed twice); database records come before
// built-in ones within each kind, as the table holds them; at most
// kMaxWordHits rows. Text with Chinese characters gets exactly the hits of
// LookupWords.

#include <cstddef>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "WordTable.h"

enum class TMeantKind {
    Typed,       // a hit of LookupWords
    LetterCase,  // the typed word in other letter case (or without surrounding punctuation)
    WordForm,    // the dictionary form of the typed word
    Spelling,    // a headword spelt nearly like the typed word
};

struct TMeantHit {
    std::size_t Index;
    AnsiString Eng;
    TMeantKind Kind;
    // For forms and spellings, what the gloss pane states above the gloss:
    // "went → go", "recieve → receive?"; empty otherwise.
    AnsiString Relation;
};

// The lookup key of typed text: blanks and the punctuation around a word
// copied from running text taken off, apostrophes written as the word list
// writes them ("-"), letters folded to lower case. Empty when the text holds
// no letter, or holds anything but ASCII (Chinese text, say).
AnsiString MeantWordKey(std::string_view text);

// The hit list for `text` over `table` as described above.
std::vector<TMeantHit> LookupMeantWords(const TEngWordTable& table, std::string_view text);
// The same over WordTable.
std::vector<TMeantHit> LookupMeantWords(std::string_view text);

// Whether the hits of `text` over a table are those of LookupWords with the
// records whose headword is the text exactly moved to the front, told
// without the table's index: true when the key is empty (LookupWords alone
// then), or when the text is its own key, that key is a headword of the
// table (`isHeadword`), no other record carries it in other letter case
// (`hasOtherCase`), and the forms table names no dictionary form of it.
// The command line asks this before it reads the whole word list.
bool MeantWordsAddNothing(std::string_view text, bool isHeadword, bool hasOtherCase);
