#include "WordTable.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <string>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "Exceptions.h"

TEngWordTable WordTable;

namespace {

// Large enough that the text of ~85,000 words takes a few dozen blocks, small
// enough that a table of a handful of words stays cheap.
constexpr std::size_t kBlockSize = 64 * 1024;
static_assert(kMaxEngBytes + kMaxChsBytes <= kBlockSize, "a record must fit in one block");
// Offsets are 32-bit.
constexpr std::size_t kMaxBlocks = (std::size_t{1} << 32) / kBlockSize;

// What a look at one candidate returns to end the scan.
constexpr std::size_t kStop = std::numeric_limits<std::size_t>::max();

[[noreturn]] void RaiseIndexError(std::size_t index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// The first position p in [from, limit) where bytes[p] == first and
// bytes[p + gap] == last, or limit; bytes[limit - 1 + gap] must be readable.
// Comparing the first and the last byte of a pattern at once rejects almost
// every other position, so the search runs at close to memory speed whatever
// bytes the pattern holds, and only the rare candidate is compared in full.
using FindPairFunction = std::size_t (*)(const char* bytes, std::size_t from, std::size_t limit, char first,
                                         char last, std::size_t gap);

std::size_t FindPairScalar(const char* bytes, std::size_t from, std::size_t limit, char first, char last,
                           std::size_t gap) {
    for (std::size_t p = from; p < limit; ++p) {
        const void* found = std::memchr(bytes + p, first, limit - p);
        if (found == nullptr) break;
        p = static_cast<std::size_t>(static_cast<const char*>(found) - bytes);
        if (bytes[p + gap] == last) return p;
    }
    return limit;
}

#if defined(__x86_64__)
std::size_t FindPairSse2(const char* bytes, std::size_t from, std::size_t limit, char first, char last,
                         std::size_t gap) {
    const __m128i wantFirst = _mm_set1_epi8(first);
    const __m128i wantLast = _mm_set1_epi8(last);
    std::size_t p = from;
    for (; p + 16 <= limit; p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + p + gap));
        const int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, wantFirst), _mm_cmpeq_epi8(b, wantLast)));
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
    return FindPairScalar(bytes, p, limit, first, last, gap);
}

__attribute__((target("avx2"))) std::size_t FindPairAvx2(const char* bytes, std::size_t from, std::size_t limit,
                                                          char first, char last, std::size_t gap) {
    const __m256i wantFirst = _mm256_set1_epi8(first);
    const __m256i wantLast = _mm256_set1_epi8(last);
    auto maskAt = [&](std::size_t at) __attribute__((target("avx2"))) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + at));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + at + gap));
        return static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, wantFirst), _mm256_cmpeq_epi8(b, wantLast))));
    };
    std::size_t p = from;
    // Two vectors a round: candidates are rare, so testing for none is what
    // the loop mostly does.
    for (; p + 64 <= limit; p += 64) {
        const std::uint64_t mask = maskAt(p) | (std::uint64_t{maskAt(p + 32)} << 32);
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctzll(mask));
    }
    for (; p + 32 <= limit; p += 32) {
        if (const std::uint32_t mask = maskAt(p); mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return FindPairSse2(bytes, p, limit, first, last, gap);
}

FindPairFunction ChooseFindPair() {
    __builtin_cpu_init();  // this runs during static initialisation
    return __builtin_cpu_supports("avx2") ? FindPairAvx2 : FindPairSse2;
}
#else
FindPairFunction ChooseFindPair() { return FindPairScalar; }
#endif

const FindPairFunction FindPair = ChooseFindPair();

}  // namespace

TEngWordTable::TEngWordTable() = default;

std::uint64_t TEngWordTable::Stamp() const {
    // One counter for all tables, so that a table moved into another brings
    // a stamp no earlier content of that other table had. Tables are built
    // on the database reader's thread too.
    static std::atomic<std::uint64_t> changes{0};
    if (changed_) {
        stamp_ = ++changes;
        changed_ = false;
    }
    return stamp_;
}
TEngWordTable::~TEngWordTable() = default;
// The table left behind by a move holds other content than before, so it
// takes a new stamp.
TEngWordTable::TEngWordTable(TEngWordTable&& other) noexcept
    : records_(std::move(other.records_)), blocks_(std::move(other.blocks_)), inOrder_(other.inOrder_),
      ordered_(other.ordered_), stamp_(other.stamp_), changed_(other.changed_) {
    other.Clear();
}

TEngWordTable& TEngWordTable::operator=(TEngWordTable&& other) noexcept {
    if (this != &other) {
        records_ = std::move(other.records_);
        blocks_ = std::move(other.blocks_);
        inOrder_ = other.inOrder_;
        ordered_ = other.ordered_;
        stamp_ = other.stamp_;
        changed_ = other.changed_;
        other.Clear();
    }
    return *this;
}

void TEngWordTable::SetLength(std::size_t count) {
    records_.resize(count);
    inOrder_ = std::min(inOrder_, count);
    Touch();
}

void TEngWordTable::Clear() {
    records_ = std::vector<Record>();
    blocks_ = std::vector<Block>();
    inOrder_ = 0;
    ordered_ = true;
    Touch();
}

std::uint32_t TEngWordTable::AppendText(std::string_view eng, std::string_view chs) {
    const std::size_t size = eng.size() + chs.size();
    if (size == 0) {
        // An empty record takes no bytes; it sits where the text ends now.
        return blocks_.empty() ? 0
                               : static_cast<std::uint32_t>((blocks_.size() - 1) * kBlockSize + blocks_.back().used);
    }
    if (blocks_.empty() || blocks_.back().used + size > kBlockSize) {
        if (blocks_.size() == kMaxBlocks) throw EOutOfResources("The word table is full");
        blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(kBlockSize), 0});
    }
    Block& block = blocks_.back();
    char* at = block.bytes.get() + block.used;
    // An empty view may have no data pointer at all, which memcpy must not see.
    if (!eng.empty()) std::memcpy(at, eng.data(), eng.size());
    if (!chs.empty()) std::memcpy(at + eng.size(), chs.data(), chs.size());
    const std::size_t offset = (blocks_.size() - 1) * kBlockSize + block.used;
    block.used += size;
    return static_cast<std::uint32_t>(offset);
}

void TEngWordTable::Store(std::size_t index, std::string_view eng, std::string_view chs) {
    if (index >= records_.size()) RaiseIndexError(index);
    eng = eng.substr(0, kMaxEngBytes);
    chs = chs.substr(0, kMaxChsBytes);
    const std::uint32_t offset = AppendText(eng, chs);
    if (ordered_ && index >= inOrder_) {
        // Records skipped on the way stay empty; they take this offset so
        // that offsets never decrease in table order.
        for (std::size_t skipped = inOrder_; skipped < index; ++skipped) records_[skipped] = Record{offset, 0, 0};
        inOrder_ = index + 1;
    } else {
        ordered_ = false;
    }
    records_[index] = Record{offset, static_cast<std::uint8_t>(eng.size()), static_cast<std::uint8_t>(chs.size())};
    Touch();
}

const char* TEngWordTable::TextAt(std::uint32_t offset) const {
    return blocks_[offset / kBlockSize].bytes.get() + offset % kBlockSize;
}

TEngWord TEngWordTable::operator[](std::size_t index) const {
    if (index >= records_.size()) RaiseIndexError(index);
    const Record& r = records_[index];
    if (r.engLength + r.chsLength == 0) return {};
    const char* text = TextAt(r.offset);
    return TEngWord{std::string_view(text, r.engLength), std::string_view(text + r.engLength, r.chsLength)};
}

std::size_t TEngWordTable::MemoryBytes() const {
    return records_.capacity() * sizeof(Record) + blocks_.capacity() * sizeof(Block) + blocks_.size() * kBlockSize;
}

std::vector<std::size_t> TEngWordTable::FindMatches(std::string_view pattern, std::size_t maxHits) const {
    if (pattern.empty() || maxHits == 0) return {};
    return ordered_ ? FindInOrder(pattern, maxHits) : FindRecordByRecord(pattern, maxHits);
}

std::vector<std::size_t> TEngWordTable::FindRecordByRecord(std::string_view pattern, std::size_t maxHits) const {
    std::vector<std::size_t> hits;
    for (std::size_t i = 0; i < records_.size() && hits.size() < maxHits; ++i) {
        const TEngWord word = (*this)[i];
        if (word.Eng.starts_with(pattern) || word.Chs.find(pattern) != std::string_view::npos) hits.push_back(i);
    }
    return hits;
}

// One scan over the text of the records stored in order. A candidate
// position is mapped to its record with a cursor that only moves forward;
// a headword can match only at its first byte, a gloss anywhere, and no
// match may run past the end of its field. After a hit the scan goes on
// with the next record.
std::vector<std::size_t> TEngWordTable::FindInOrder(std::string_view pattern, std::size_t maxHits) const {
    std::vector<std::size_t> hits;
    if (inOrder_ == 0) return hits;
    hits.reserve(std::min(maxHits, kMaxWordHits));
    const std::size_t n = pattern.size();
    const std::size_t gap = n - 1;
    // Bytes past the last record in order belong to records that SetLength cut off.
    const Record& tail = records_[inOrder_ - 1];
    const std::size_t textEnd = std::size_t{tail.offset} + tail.engLength + tail.chsLength;

    std::size_t cursor = 0;  // a record whose offset is at or before every later candidate
    auto recordAt = [&](std::size_t pos) {
        // Gallop forward, then search: the last record in order with offset <= pos.
        std::size_t low = cursor;
        std::size_t high = low + 1;
        std::size_t step = 1;
        while (high < inOrder_ && records_[high].offset <= pos) {
            low = high;
            step *= 2;
            high = low + step;
        }
        high = std::min(high, inOrder_);
        const auto first = records_.begin() + static_cast<std::ptrdiff_t>(low + 1);
        const auto last = records_.begin() + static_cast<std::ptrdiff_t>(high);
        const auto above = std::upper_bound(first, last, pos, [](std::size_t p, const Record& r) { return p < r.offset; });
        cursor = static_cast<std::size_t>(above - records_.begin()) - 1;
        return cursor;
    };

    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const std::size_t base = b * kBlockSize;
        if (base >= textEnd) break;
        const std::size_t used = std::min(blocks_[b].used, textEnd - base);
        if (used < n) continue;
        const char* bytes = blocks_[b].bytes.get();
        auto visit = [&](std::size_t at) -> std::size_t {
            const std::size_t pos = base + at;
            const std::size_t index = recordAt(pos);
            const Record& r = records_[index];
            const std::size_t engEnd = std::size_t{r.offset} + r.engLength;
            const std::size_t end = engEnd + r.chsLength;
            // Text left behind by records that SetLength cut off belongs to no record.
            if (pos < r.offset || pos >= end) return at + 1;
            if (pos < engEnd) {
                const bool prefix = pos == r.offset && n <= r.engLength && std::memcmp(bytes + at, pattern.data(), n) == 0;
                if (!prefix) return engEnd - base;  // no other place in this headword counts
            } else {
                if (pos + n > end) return end - base;  // the rest of this gloss is too short
                if (std::memcmp(bytes + at, pattern.data(), n) != 0) return at + 1;
            }
            hits.push_back(index);
            if (hits.size() == maxHits) return kStop;
            return end - base;
        };
        const std::size_t limit = used - gap;
        for (std::size_t at = FindPair(bytes, 0, limit, pattern.front(), pattern.back(), gap); at < limit;
             at = FindPair(bytes, at, limit, pattern.front(), pattern.back(), gap)) {
            at = visit(at);
            if (at == kStop) return hits;
        }
    }
    return hits;
}

TEngWordTable WithRecordsInserted(const TEngWordTable& table, std::size_t at, const TEngWordTable& inserted) {
    if (at > table.Length()) RaiseIndexError(at);
    TEngWordTable result;
    result.SetLength(table.Length() + inserted.Length());
    std::size_t next = 0;
    const auto copy = [&](const TEngWordTable& from, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i, ++next) {
            const TEngWord word = from[i];
            result.Store(next, word.Eng, word.Chs);
        }
    };
    copy(table, 0, at);
    copy(inserted, 0, inserted.Length());
    copy(table, at, table.Length());
    return result;
}

std::vector<TWordHit> LookupWords(const TEngWordTable& table, std::string_view text) {
    const std::string_view pattern = text.substr(0, kMaxChsBytes);
    const std::vector<std::size_t> indices = table.FindMatches(pattern, kMaxWordHits);
    std::vector<TWordHit> hits;
    hits.reserve(indices.size());
    for (const std::size_t index : indices) {
        hits.push_back(TWordHit{index, AnsiString(table[index].Eng)});
    }
    return hits;
}

std::vector<TWordHit> LookupWords(std::string_view text) { return LookupWords(WordTable, text); }

AnsiString FormatGloss(const TEngWordTable& table, std::size_t index) {
    const TEngWord word = table[index];
    AnsiString text;
    text.reserve(word.Eng.size() + word.Chs.size() + 24);
    text.append(word.Eng).append("\r\n--------------------\r\n").append(word.Chs);
    return text;
}

AnsiString FormatGloss(std::size_t index) { return FormatGloss(WordTable, index); }
