#include "HeadwordIndex.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

namespace {

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

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

bool AreNeighbours(char a, char b) {
    static const KeyboardNeighbours keyboard;
    if (a < 'a' || a > 'z' || b < 'a' || b > 'z') return false;
    return keyboard.near[a - 'a'][b - 'a'];
}

int ReplaceCost(char typed, char meant) {
    if (typed == meant) return 0;
    if ((IsVowel(typed) && IsVowel(meant)) || AreNeighbours(typed, meant)) return kCommonSlipCost;
    return kPlainEditCost;
}

// A letter of the word that the headword lacks: cheap when it doubles its neighbour.
int ExtraCost(std::string_view word, std::size_t j) {
    const bool doubled = (j > 0 && word[j] == word[j - 1]) || (j + 1 < word.size() && word[j] == word[j + 1]);
    return doubled ? kCommonSlipCost : kPlainEditCost;
}

int SwapCost(char a, char b) {
    return ((a == 'i' && b == 'e') || (a == 'e' && b == 'i')) ? kCommonSlipCost : kPlainEditCost;
}

// Rows of the edit-cost table, one per letter of the headword: row i, column
// j holds the least cost of turning the first j letters of the typed word
// into the first i letters of the headword.
class CostRows {
public:
    CostRows(std::string_view typed, std::size_t maxDepth) : typed_(typed), width_(typed.size() + 1) {
        cells_.resize((maxDepth + 1) * width_);
        cells_[0] = 0;
        for (std::size_t j = 1; j < width_; ++j) cells_[j] = cells_[j - 1] + ExtraCost(typed_, j - 1);
    }
    // Fills row i (1-based letter i of `head`); returns its least value.
    int Fill(std::string_view head, std::size_t i) {
        int* row = Row(i);
        const int* up = Row(i - 1);
        const char b = head[i - 1];
        // A letter of the headword the word lacks: cheap when it is one of a double.
        const bool doubled = (i > 1 && head[i - 2] == b) || (i < head.size() && head[i] == b);
        const int missing = doubled ? kCommonSlipCost : kPlainEditCost;
        row[0] = up[0] + missing;
        int least = row[0];
        for (std::size_t j = 1; j < width_; ++j) {
            const char a = typed_[j - 1];
            int cost = up[j - 1] + ReplaceCost(a, b);
            cost = std::min(cost, up[j] + missing);
            cost = std::min(cost, row[j - 1] + ExtraCost(typed_, j - 1));
            if (i > 1 && j > 1 && a == head[i - 2] && typed_[j - 2] == b && a != b)
                cost = std::min(cost, Row(i - 2)[j - 2] + SwapCost(a, b));
            row[j] = cost;
            least = std::min(least, cost);
        }
        return least;
    }
    int Last(std::size_t i) const { return Row(i)[width_ - 1]; }

private:
    int* Row(std::size_t i) { return cells_.data() + i * width_; }
    const int* Row(std::size_t i) const { return cells_.data() + i * width_; }

    std::string_view typed_;
    std::size_t width_;
    std::vector<int> cells_;
};

// No row below can get under the bound again when this row and, for a swap
// that reaches back over it, the row before are both far enough above it.
bool BeyondReach(int least, int leastBefore, int bound) {
    return least > bound && leastBefore + kCommonSlipCost > bound;
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

int SpellingCost(std::string_view typed, std::string_view headword, int bound) {
    CostRows rows(typed, headword.size());
    int before = 0;
    for (std::size_t i = 1; i <= headword.size(); ++i) {
        const int least = rows.Fill(headword, i);
        if (BeyondReach(least, before, bound)) return bound + 1;
        before = least;
    }
    return rows.Last(headword.size());
}

THeadwordIndex::THeadwordIndex(const TEngWordTable& table) : stamp_(table.Stamp()) {
    struct Entry {
        std::uint32_t offset;
        std::uint8_t length;
        std::uint32_t record;
    };
    std::vector<Entry> entries;
    entries.reserve(table.Length());
    for (std::size_t i = 0; i < table.Length(); ++i) {
        const std::string_view eng = table[i].Eng;
        if (eng.empty()) continue;
        entries.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint8_t>(eng.size()),
                           static_cast<std::uint32_t>(i)});
        const std::size_t at = text_.size();
        text_ += eng;
        for (std::size_t c = at; c < text_.size(); ++c) {
            if (text_[c] >= 'A' && text_[c] <= 'Z') text_[c] = static_cast<char>(text_[c] - 'A' + 'a');
        }
    }
    auto textOf = [this](const Entry& e) { return std::string_view(text_.data() + e.offset, e.length); };
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int order = textOf(a).compare(textOf(b));
        return order != 0 ? order < 0 : a.record < b.record;
    });
    records_.reserve(entries.size());
    for (const Entry& e : entries) {
        if (keys_.empty() || KeyText(keys_.size() - 1) != textOf(e))
            keys_.push_back({e.offset, e.length, static_cast<std::uint32_t>(records_.size())});
        records_.push_back(e.record);
    }
}

std::span<const std::uint32_t> THeadwordIndex::Find(std::string_view folded) const {
    const auto at = std::partition_point(keys_.begin(), keys_.end(), [&](const Key& k) {
        return std::string_view(text_.data() + k.offset, k.length) < folded;
    });
    if (at == keys_.end()) return {};
    const auto k = static_cast<std::size_t>(at - keys_.begin());
    if (KeyText(k) != folded) return {};
    return std::span<const std::uint32_t>(records_).subspan(keys_[k].first, RecordsEnd(k) - keys_[k].first);
}

std::size_t THeadwordIndex::SkipPrefix(std::size_t k, std::size_t length) const {
    const std::string_view prefix = KeyText(k).substr(0, length);
    const auto at = std::partition_point(keys_.begin() + static_cast<std::ptrdiff_t>(k) + 1, keys_.end(),
                                         [&](const Key& key) {
                                             return std::string_view(text_.data() + key.offset, key.length)
                                                 .starts_with(prefix);
                                         });
    return static_cast<std::size_t>(at - keys_.begin());
}

void WalkSortedKeys(std::size_t count, const std::function<std::string_view(std::size_t)>& keyAt,
                    const std::function<std::size_t(std::size_t, std::size_t)>& skipPrefix, std::string_view folded,
                    int bound, const std::function<void(std::size_t, int)>& visit) {
    // A headword holds at most kMaxEngBytes bytes, and two edits make it
    // at most two longer or shorter.
    if (folded.empty() || folded.size() > kMaxEngBytes + 2) return;
    CostRows rows(folded, kMaxEngBytes);
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
                k = skipPrefix(k, i);
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

std::vector<THeadwordIndex::Suggestion> THeadwordIndex::Suggest(std::string_view folded, int bound) const {
    std::vector<Suggestion> found;
    WalkSortedKeys(
        keys_.size(), [this](std::size_t k) { return KeyText(k); },
        [this](std::size_t k, std::size_t length) { return SkipPrefix(k, length); }, folded, bound,
        [&](std::size_t k, int cost) { found.push_back({KeyText(k), cost, records_[keys_[k].first]}); });
    std::sort(found.begin(), found.end(), [](const Suggestion& a, const Suggestion& b) {
        return a.Cost != b.Cost ? a.Cost < b.Cost : a.FirstRecord < b.FirstRecord;
    });
    return found;
}

std::size_t THeadwordIndex::MemoryBytes() const {
    return text_.capacity() + keys_.capacity() * sizeof(Key) + records_.capacity() * sizeof(std::uint32_t);
}

const THeadwordIndex& HeadwordIndexOf(const TEngWordTable& table) {
    static const TEngWordTable* indexed = nullptr;
    static std::unique_ptr<THeadwordIndex> index;
    if (!index || indexed != &table || index->TableStamp() != table.Stamp()) {
        index.reset();  // the old one goes before the new one is built
        index = std::make_unique<THeadwordIndex>(table);
        indexed = &table;
    }
    return *index;
}
