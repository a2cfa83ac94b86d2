#pragma once
// The spelling search shared by the headword index and the forms table: the
// cost of the edits between a typed word and a key, one row per letter of
// the key, and a walk over keys sorted by their bytes that treats them as a
// trie (rows of a shared prefix are reused; every key under a prefix already
// too far from the word is jumped over).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "HeadwordIndex.h"

namespace spelling_walk {

inline bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// Letters next to each other on a US keyboard: same row, one key apart, or
// on the row above or below within half a key.
struct KeyboardNeighbours {
    std::array<std::array<bool, 26>, 26> near{};
    KeyboardNeighbours() {
        const char* const rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
        const double shift[] = {0.0, 0.5, 1.0};
        struct Place {
            int row;
            double x;
        };
        std::array<Place, 26> place{};
        for (int r = 0; r < 3; ++r)
            for (int i = 0; rows[r][i] != '\0'; ++i) place[rows[r][i] - 'a'] = {r, i + shift[r]};
        for (int a = 0; a < 26; ++a)
            for (int b = 0; b < 26; ++b) {
                const int dy = std::abs(place[a].row - place[b].row);
                const double dx = std::abs(place[a].x - place[b].x);
                near[a][b] = a != b && ((dy == 0 && dx == 1.0) || (dy == 1 && dx <= 0.5));
            }
    }
};

inline bool AreNeighbours(char a, char b) {
    static const KeyboardNeighbours keyboard;
    if (a < 'a' || a > 'z' || b < 'a' || b > 'z') return false;
    return keyboard.near[a - 'a'][b - 'a'];
}

inline int ReplaceCost(char typed, char meant) {
    if (typed == meant) return 0;
    if ((IsVowel(typed) && IsVowel(meant)) || AreNeighbours(typed, meant)) return kCommonSlipCost;
    return kPlainEditCost;
}

// A letter of the word that the headword lacks: cheap when it doubles its neighbour.
inline int ExtraCost(std::string_view word, std::size_t j) {
    const bool doubled = (j > 0 && word[j] == word[j - 1]) || (j + 1 < word.size() && word[j] == word[j + 1]);
    return doubled ? kCommonSlipCost : kPlainEditCost;
}

inline int SwapCost(char a, char b) {
    return ((a == 'i' && b == 'e') || (a == 'e' && b == 'i')) ? kCommonSlipCost : kPlainEditCost;
}

// Rows of the edit-cost table, one per letter of the headword: row i, column
// j holds the least cost of turning the first j letters of the typed word
// into the first i letters of the headword. A letter added or left out
// costs at least kCommonSlipCost, so within `bound` the two words keep step
// to within bound / kCommonSlipCost letters: only that band of each row is
// filled, with a cell beyond the bound on each side. The costs that depend
// on the typed word alone are worked out once.
class CostRows {
public:
    static constexpr int kFar = 1 << 20;  // a cost beyond any bound

    CostRows(std::string_view typed, std::size_t maxDepth, int bound)
        : typed_(typed), m_(typed.size()), width_(typed.size() + 2),
          band_(static_cast<std::size_t>(std::max(bound, 0) / kCommonSlipCost)) {
        cells_.assign((maxDepth + 1) * width_, kFar);
        cells_[0] = 0;
        for (std::size_t j = 1; j <= m_; ++j) cells_[j] = cells_[j - 1] + ExtraCost(typed_, j - 1);
        extra_.resize(m_ + 1);
        for (std::size_t j = 1; j <= m_; ++j) extra_[j] = ExtraCost(typed_, j - 1);
        replace_.resize((m_ + 1) * 256);
        for (std::size_t j = 1; j <= m_; ++j)
            for (int c = 0; c < 256; ++c) replace_[j * 256 + c] = ReplaceCost(typed_[j - 1], static_cast<char>(c));
    }
    // Fills row i (1-based letter i of `head`); returns its least value.
    int Fill(std::string_view head, std::size_t i) {
        int* row = Row(i);
        const int* up = Row(i - 1);
        const char b = head[i - 1];
        // A letter of the headword the word lacks: cheap when it is one of a double.
        const bool doubled = (i > 1 && head[i - 2] == b) || (i < head.size() && head[i] == b);
        const int missing = doubled ? kCommonSlipCost : kPlainEditCost;
        const std::size_t lo = i > band_ ? i - band_ : 0;
        if (lo > m_) return kFar;  // the headword is already far longer than the word
        const std::size_t hi = std::min(m_, i + band_);
        if (lo > 0) row[lo - 1] = kFar;
        row[hi + 1] = kFar;
        int least = kFar;
        std::size_t j = lo;
        if (j == 0) {
            row[0] = up[0] + missing;
            least = row[0];
            j = 1;
        }
        const unsigned char ub = static_cast<unsigned char>(b);
        for (; j <= hi; ++j) {
            const char a = typed_[j - 1];
            int cost = up[j - 1] + replace_[j * 256 + ub];
            cost = std::min(cost, up[j] + missing);
            cost = std::min(cost, row[j - 1] + extra_[j]);
            if (i > 1 && j > 1 && a == head[i - 2] && typed_[j - 2] == b && a != b)
                cost = std::min(cost, Row(i - 2)[j - 2] + SwapCost(a, b));
            row[j] = cost;
            least = std::min(least, cost);
        }
        return least;
    }
    // The cost of the whole word against the first i letters of the headword.
    int Last(std::size_t i) const { return (i > m_ + band_ || m_ > i + band_) ? kFar : Row(i)[m_]; }

private:
    int* Row(std::size_t i) { return cells_.data() + i * width_; }
    const int* Row(std::size_t i) const { return cells_.data() + i * width_; }

    std::string_view typed_;
    std::size_t m_;
    std::size_t width_;
    std::size_t band_;
    std::vector<int> cells_;
    std::vector<int> extra_;
    std::vector<unsigned char> replace_;
};

// No row below can get under the bound again when this row and, for a swap
// that reaches back over it, the row before are both far enough above it.
inline bool BeyondReach(int least, int leastBefore, int bound) {
    return least > bound && leastBefore + kCommonSlipCost > bound;
}


// The first key after `k` that does not start with the first `length` bytes
// of key k: galloping forward, then a binary search, so that a short run of
// keys under a prefix costs a few comparisons.
template <typename KeyAt>
std::size_t PastPrefix(std::size_t count, const KeyAt& keyAt, std::size_t k, std::size_t length) {
    const std::string_view prefix = keyAt(k).substr(0, length);
    std::size_t low = k + 1;  // keys below low start with the prefix
    std::size_t step = 1;
    std::size_t high = low;
    while (high < count && keyAt(high).starts_with(prefix)) {
        low = high + 1;
        high += step;
        step *= 2;
    }
    high = std::min(high, count);
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (keyAt(mid).starts_with(prefix)) low = mid + 1;
        else high = mid;
    }
    return low;
}

// Calls visit(k, cost) for every key other than `folded` at most `bound`
// away from it.
template <typename KeyAt, typename Visit>
void WalkSortedKeys(std::size_t count, const KeyAt& keyAt, std::string_view folded, int bound, const Visit& visit) {
    // A headword holds at most kMaxEngBytes bytes, and two edits make it
    // at most two longer or shorter.
    if (folded.empty() || folded.size() > kMaxEngBytes + 2) return;
    CostRows rows(folded, kMaxEngBytes, bound);
    std::array<int, kMaxEngBytes + 1> least{};  // least value of each filled row
    std::string_view previous;
    std::size_t filled = 0;  // rows 1..filled hold the letters of `previous`
    for (std::size_t k = 0; k < count;) {
        const std::string_view key = keyAt(k);
        if (key.empty() || key.size() > kMaxEngBytes) {
            ++k;
            continue;
        }
        std::size_t same = 0;
        const std::size_t reusable = std::min({previous.size(), key.size(), filled});
        while (same < reusable && previous[same] == key[same]) ++same;
        bool skipped = false;
        // A row looks one letter ahead (for double letters), so the last
        // shared row is filled again for this key.
        for (std::size_t i = std::max<std::size_t>(same, 1); i <= key.size(); ++i) {
            least[i] = rows.Fill(key, i);
            if (BeyondReach(least[i], least[i - 1], bound)) {
                // Every key that starts with these i letters is too far.
                filled = i - 1;
                previous = key;
                k = PastPrefix(count, keyAt, k, i);
                skipped = true;
                break;
            }
        }
        if (skipped) continue;
        filled = key.size();
        previous = key;
        const int cost = rows.Last(key.size());
        if (cost <= bound && key != folded) visit(k, cost);
        ++k;
    }
}

}  // namespace spelling_walk
