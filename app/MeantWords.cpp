#include "MeantWords.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "HeadwordIndex.h"
#include "WordForms.h"

namespace {

// The right single quotation mark in program text (GBK), as text copied
// from typeset prose writes the apostrophe.
constexpr std::string_view kCurlyApostrophe = "\xA1\xAF";

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Collects hits, each record once, up to the list's limit.
class HitList {
public:
    explicit HitList(const TEngWordTable& table) : table_(table) {}
    bool Full() const { return hits_.size() >= kMaxWordHits; }
    bool Has(std::size_t index) const {
        return std::any_of(hits_.begin(), hits_.end(), [&](const TMeantHit& h) { return h.Index == index; });
    }
    void Add(std::size_t index, TMeantKind kind, const AnsiString& relation = {}) {
        if (Full() || Has(index)) return;
        hits_.push_back(TMeantHit{index, AnsiString(table_[index].Eng), kind, relation});
    }
    std::vector<TMeantHit> Take() { return std::move(hits_); }

private:
    const TEngWordTable& table_;
    std::vector<TMeantHit> hits_;
};

// The typed word as the relation line shows it: without the blanks and the
// punctuation around it.
std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kLeading = " \t\"([{";
    constexpr std::string_view kTrailing = " \t\".,;:!?)]}";
    const std::size_t begin = text.find_first_not_of(kLeading);
    if (begin == std::string_view::npos) return {};
    text.remove_prefix(begin);
    return text.substr(0, text.find_last_not_of(kTrailing) + 1);
}

// The dictionary forms of `key` that are headwords, best first: the forms
// table's, else (when the key is no headword itself) a possessive's word,
// else the first regular-ending guess that is a headword.
std::vector<std::string> DictionaryFormsOf(const THeadwordIndex& index, std::string_view key, bool keyIsHeadword) {
    std::vector<std::string> lemmas;
    for (const std::string_view lemma : DictionaryFormsIn(EmbeddedWordForms(), key)) {
        if (!index.Find(lemma).empty()) lemmas.emplace_back(lemma);
    }
    // Of several ("does": "do", "doe"), the more common word first.
    std::stable_sort(lemmas.begin(), lemmas.end(), [&](const std::string& a, const std::string& b) {
        return index.Find(a).front() < index.Find(b).front();
    });
    if (!lemmas.empty() || keyIsHeadword) return lemmas;

    std::string_view base = key;
    // A possessive: "party's" (written "party-s"), "parties'" ("parties-"):
    // the dictionary forms of the word, then the word.
    if (base.size() > 3 && base.ends_with("-s")) base.remove_suffix(2);
    else if (base.size() > 2 && base.ends_with("s-")) base.remove_suffix(1);
    if (base != key) {
        for (const std::string_view lemma : DictionaryFormsIn(EmbeddedWordForms(), base)) {
            if (!index.Find(lemma).empty()) lemmas.emplace_back(lemma);
        }
        if (!index.Find(base).empty()) lemmas.emplace_back(base);
        if (!lemmas.empty()) return lemmas;
    }
    for (const TFormGuess& guess : RegularFormGuesses(base)) {
        if (index.Find(guess.Word).empty()) continue;
        if (guess.UnlessFormsListed && HasListedForms(EmbeddedWordForms(), guess.Word)) continue;
        return {guess.Word};
    }
    return lemmas;
}

// Headwords and the dictionary forms of forms at most two edits from the
// key, each once at its least cost; lower cost first, at equal cost a
// headword spelt so before a word reached through one of its forms, then
// the more common word (the one with the earlier first record).
std::vector<THeadwordIndex::Suggestion> SpellingSuggestions(const THeadwordIndex& index, std::string_view key) {
    struct Ranked {
        THeadwordIndex::Suggestion suggestion;
        bool throughForm;
    };
    std::vector<Ranked> ranked;
    for (const THeadwordIndex::Suggestion& s : index.Suggest(key)) ranked.push_back({s, false});
    for (const TFormSuggestion& f : SuggestForms(EmbeddedWordForms(), key, kMaxSpellingCost)) {
        const std::span<const std::uint32_t> records = index.Find(f.Lemma);
        if (records.empty() || f.Lemma == key) continue;
        const auto known =
            std::find_if(ranked.begin(), ranked.end(), [&](const Ranked& r) { return r.suggestion.Key == f.Lemma; });
        if (known == ranked.end()) ranked.push_back({{f.Lemma, f.Cost, records.front()}, true});
        else if (f.Cost < known->suggestion.Cost) *known = {{f.Lemma, f.Cost, records.front()}, true};
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.suggestion.Cost != b.suggestion.Cost) return a.suggestion.Cost < b.suggestion.Cost;
        if (a.throughForm != b.throughForm) return !a.throughForm;
        return a.suggestion.FirstRecord < b.suggestion.FirstRecord;
    });
    std::vector<THeadwordIndex::Suggestion> found;
    for (const Ranked& r : ranked) found.push_back(r.suggestion);
    return found;
}

}  // namespace

AnsiString MeantWordKey(std::string_view text) {
    std::string key;
    const std::string_view word = Trimmed(text);
    bool letter = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        if (word.substr(i).starts_with(kCurlyApostrophe)) {
            key += '-';
            ++i;
        } else if (static_cast<unsigned char>(c) >= 0x80 || static_cast<unsigned char>(c) < 0x20) {
            return {};
        } else {
            key += c == '\'' ? '-' : c;
            letter = letter || IsLetter(c);
        }
    }
    if (!letter || key.size() > kMaxEngBytes) return {};
    return FoldCase(key);
}

std::vector<TMeantHit> LookupMeantWords(const TEngWordTable& table, std::string_view text) {
    const std::vector<TWordHit> typedHits = LookupWords(table, text);
    HitList hits(table);
    const AnsiString key = MeantWordKey(text);
    if (key.empty()) {
        for (const TWordHit& hit : typedHits) hits.Add(hit.Index, TMeantKind::Typed);
        return hits.Take();
    }
    const THeadwordIndex& index = HeadwordIndexOf(table);
    const std::string_view shown = Trimmed(text);

    // The word itself, when it is a headword in any letter case, and its
    // dictionary forms. A dictionary form goes before the word ("good" for
    // "better", "be" for "was") unless it is a far rarer word, which goes
    // after it ("numb" after "number", "doe" after "does"). The table runs
    // from common to rare words, though not strictly (its head brings words
    // of common starts forward), so only a wide gap counts.
    const std::span<const std::uint32_t> same = index.Find(key);
    const std::vector<std::string> lemmas = DictionaryFormsOf(index, key, !same.empty());
    const std::uint64_t ownFirst = same.empty() ? UINT64_MAX / 8 : same.front();
    auto addForms = [&](bool first) {
        for (const std::string& lemma : lemmas) {
            const std::span<const std::uint32_t> records = index.Find(lemma);
            const bool farRarer = records.front() > 4 * ownFirst + 1000;
            if (farRarer == first) continue;
            for (const std::uint32_t r : records)
                hits.Add(r, TMeantKind::WordForm, AnsiString(shown) + " → " + AnsiString(table[r].Eng));
        }
    };
    addForms(true);
    // The exact spelling first, then other letter case.
    for (const std::uint32_t r : same)
        if (table[r].Eng == text) hits.Add(r, TMeantKind::Typed);
    for (const std::uint32_t r : same) hits.Add(r, TMeantKind::LetterCase);
    addForms(false);

    for (const TWordHit& hit : typedHits) hits.Add(hit.Index, TMeantKind::Typed);

    // Spelling, in the rows left: headwords spelt nearly like the word, and
    // the dictionary forms of forms spelt nearly like it ("occured" is
    // "occurred", a form of "occur"), best first.
    if (same.empty() && lemmas.empty()) {
        for (const THeadwordIndex::Suggestion& s : SpellingSuggestions(index, key)) {
            if (hits.Full()) break;
            for (const std::uint32_t r : index.Find(s.Key)) {
                hits.Add(r, TMeantKind::Spelling, AnsiString(shown) + " → " + AnsiString(table[r].Eng) + "?");
            }
        }
    }
    return hits.Take();
}

std::vector<TMeantHit> LookupMeantWords(std::string_view text) { return LookupMeantWords(WordTable, text); }

bool MeantWordsAddNothing(std::string_view text, bool isHeadword, bool hasOtherCase) {
    const AnsiString key = MeantWordKey(text);
    if (key.empty()) return true;
    return key == text && isHeadword && !hasOtherCase && DictionaryFormsIn(EmbeddedWordForms(), key).empty();
}
