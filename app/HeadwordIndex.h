#pragma once
// The headwords of a word table, folded to lower case and sorted, each with
// the records that carry it: finds the records of a headword whatever its
// letter case, and the headwords spelt nearly like a word.
//
// The keys are sorted, so they form a trie without one being built: the
// spelling search walks them in order, keeps one row of edit costs per
// letter of the key, reuses the rows of the prefix a key shares with the
// one before, and jumps over every key that starts with a prefix already
// too far from the word.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "WordTable.h"

// Costs of the edits between a typed word and a headword. A plain edit
// (letter added, left out, replaced, two neighbours swapped) costs
// kPlainEditCost; the slips people make most cost kCommonSlipCost: a letter
// doubled or a double letter typed single, a vowel for another vowel, a key
// next to the right one, "ie" for "ei" and back. Three edits of any kind
// cost more than two plain ones, so a bound of two plain edits admits
// exactly the headwords at most two edits away.
inline constexpr int kPlainEditCost = 4;
inline constexpr int kCommonSlipCost = 3;
inline constexpr int kMaxSpellingCost = 2 * kPlainEditCost;

// ASCII letters to lower case; every other byte (GBK text included) as it is.
std::string FoldCase(std::string_view text);

// The least cost of turning `typed` into `headword` with the edits above
// (both already folded), or a value above `bound` when it is more than that.
int SpellingCost(std::string_view typed, std::string_view headword, int bound = kMaxSpellingCost);

class THeadwordIndex {
public:
    // Indexes every record of `table` with a non-empty headword.
    explicit THeadwordIndex(const TEngWordTable& table);

    // The records whose folded headword is `folded`, in table order.
    std::span<const std::uint32_t> Find(std::string_view folded) const;

    struct Suggestion {
        std::string_view Key;  // the folded headword
        int Cost;
        std::uint32_t FirstRecord;  // its first record: a lower index is a more common word
    };
    // The headwords, other than `folded` itself, at most `bound` away from
    // it, best first: lower cost, then the earlier first record.
    std::vector<Suggestion> Suggest(std::string_view folded, int bound = kMaxSpellingCost) const;

    std::uint64_t TableStamp() const { return stamp_; }
    std::size_t MemoryBytes() const;

private:
    struct Key {
        std::uint32_t offset;  // into text_
        std::uint8_t length;
        std::uint32_t first;  // into records_: this key's records are first..next key's first
    };
    std::string_view KeyText(std::size_t k) const { return {text_.data() + keys_[k].offset, keys_[k].length}; }
    std::size_t RecordsEnd(std::size_t k) const { return k + 1 < keys_.size() ? keys_[k + 1].first : records_.size(); }

    std::string text_;
    std::vector<Key> keys_;
    std::vector<std::uint32_t> records_;
    std::uint64_t stamp_ = 0;
};

// The index of `table`, built on first use and again after the table has
// changed; kept for the program's word table between lookups.
const THeadwordIndex& HeadwordIndexOf(const TEngWordTable& table);
