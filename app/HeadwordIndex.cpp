#include "HeadwordIndex.h"

#include "AnsiString.h"
#include "SpellingWalk.h"

using spelling_walk::BeyondReach;
using spelling_walk::CostRows;
using spelling_walk::WalkSortedKeys;

#include <algorithm>
#include <memory>


// Steps over double-byte characters, whose trail bytes may fall in A-Z.
std::string FoldCase(std::string_view text) { return LowerCase(text); }

int SpellingCost(std::string_view typed, std::string_view headword, int bound) {
    CostRows rows(typed, headword.size(), bound);
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
        text_ += FoldCase(eng);
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

std::vector<THeadwordIndex::Suggestion> THeadwordIndex::Suggest(std::string_view folded, int bound) const {
    std::vector<Suggestion> found;
    const auto keyAt = [this](std::size_t k) { return KeyText(k); };
    WalkSortedKeys(keys_.size(), keyAt, folded, bound,
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
