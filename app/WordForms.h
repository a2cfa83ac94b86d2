#pragma once
// Word forms: which dictionary form an inflected word belongs to ("went" is
// a form of "go", "mice" of "mouse"). The table of the forms the source data
// names is built into the program beside the word list (resource "TXT" /
// "ENWORDFORMS": lines "form|dictionary form", sorted by form, GBK, CR LF);
// rules for regular endings guess the rest, and the caller keeps a guess
// only when it is a headword.

#include <string>
#include <string_view>
#include <vector>

// The forms table built into the program; empty when the program holds none.
std::string_view EmbeddedWordForms();

// The dictionary forms `table` gives for the folded word `form`, best
// first. `table` is text in the format above.
std::vector<std::string_view> DictionaryFormsIn(std::string_view table, std::string_view form);

// Words the folded word `form` may be a regular form of, most likely first:
// -s, -es, -ies, -ed, -ied, a doubled consonant before -ed or -ing, a dropped
// e before -ed or -ing, -er and -est with the same changes. The word itself
// is never among them.
struct TFormGuess {
    std::string Word;
    // An ending that changes how a word is spelt (-ed, -ing, -er, -est) is
    // believed only of a word whose forms the table does not list: "occured"
    // is no form of "occur", whose listed past is "occurred".
    bool UnlessFormsListed;
};
std::vector<TFormGuess> RegularFormGuesses(std::string_view form);

// Whether `table` lists any form of the dictionary form `lemma`.
bool HasListedForms(std::string_view table, std::string_view lemma);

// The forms in `table` spelt at most `bound` (see HeadwordIndex.h) away from
// the folded word `typed`, each with its dictionary form and the cost, in
// table order.
struct TFormSuggestion {
    std::string_view Form;
    std::string_view Lemma;
    int Cost;
};
std::vector<TFormSuggestion> SuggestForms(std::string_view table, std::string_view typed, int bound);
