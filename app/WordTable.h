#pragma once
// The in-memory word table: one record per word, a headword and its gloss,
// filled once at start-up (database rows first, then the embedded list) and
// only read afterwards; and the lookup that the translate button runs over it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "AnsiString.h"

// Byte limits of a record's fields; longer values are cut when stored.
inline constexpr std::size_t kMaxEngBytes = 50;
inline constexpr std::size_t kMaxChsBytes = 255;
// A lookup stops at this many hits.
inline constexpr std::size_t kMaxWordHits = 11;

// One word record: views of the bytes the table holds. They stay valid until
// the table is cleared, shrunk or destroyed (storing other records does not
// move them).
struct TEngWord {
    std::string_view Eng;
    std::string_view Chs;
};

// A growable array of word records, indexed from 0. The text of all records
// lives in a few large blocks, in the order the records are stored, and each
// record keeps only its offset and two lengths: the whole table costs its
// text plus 8 bytes per record, and the lookup scans the blocks in one pass
// instead of visiting every record.
class TEngWordTable {
public:
    TEngWordTable();
    ~TEngWordTable();
    TEngWordTable(TEngWordTable&&) noexcept;
    TEngWordTable& operator=(TEngWordTable&&) noexcept;
    TEngWordTable(const TEngWordTable&) = delete;
    TEngWordTable& operator=(const TEngWordTable&) = delete;

    // Sets the number of records. Records below the new length keep their
    // words; added records are empty.
    void SetLength(std::size_t count);
    std::size_t Length() const { return records_.size(); }

    // Stores a word into record `index`, each field cut to its byte limit.
    // Raises EListError when index is not below Length().
    void Store(std::size_t index, std::string_view eng, std::string_view chs);

    // Raises EListError when index is not below Length().
    TEngWord operator[](std::size_t index) const;

    // Back to length 0, releasing all memory.
    void Clear();

    // Bytes the table holds on the heap: text blocks and record array.
    std::size_t MemoryBytes() const;

    // A number that changes with every change of the table's records and is
    // never shared by two different contents of any tables of the process:
    // indexes built from a table tell by it whether they still describe it.
    std::uint64_t Stamp() const;

    // Indices of the first `maxHits` records, in table order, whose Eng
    // starts with `pattern` or whose Chs contains it (plain byte comparison;
    // an empty pattern matches nothing). The caller cuts the pattern.
    std::vector<std::size_t> FindMatches(std::string_view pattern, std::size_t maxHits) const;

private:
    struct Record {
        std::uint32_t offset = 0;  // of Eng in the blocks; Chs follows Eng directly
        std::uint8_t engLength = 0;
        std::uint8_t chsLength = 0;
    };
    // A record's text never straddles two blocks; offsets count as if the
    // blocks were laid end to end, each kBlockSize long.
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
    };

    std::uint32_t AppendText(std::string_view eng, std::string_view chs);
    const char* TextAt(std::uint32_t offset) const;
    std::vector<std::size_t> FindInOrder(std::string_view pattern, std::size_t maxHits) const;
    std::vector<std::size_t> FindRecordByRecord(std::string_view pattern, std::size_t maxHits) const;

    std::vector<Record> records_;
    std::vector<Block> blocks_;
    // While the records below inOrder_ were stored in increasing index order,
    // their text lies in the blocks in table order (records skipped on the
    // way are empty and share the offset of the next one), and the lookup can
    // scan the blocks. Storing an earlier record again breaks that order for
    // good; the lookup then tests record by record.
    std::size_t inOrder_ = 0;
    bool ordered_ = true;
    // The stamp is taken when asked for, after changes: filling a table
    // costs no shared counter per record, also on the database reader's thread.
    mutable std::uint64_t stamp_ = 0;  // 0: empty since it was made
    mutable bool changed_ = false;
    void Touch() { changed_ = true; }
};

// A table holding the records of `table` with the records of `inserted` put
// in before record `at` (at most table.Length()), all in order. Built anew,
// records stored in table order, so the lookup keeps its one-pass scan.
TEngWordTable WithRecordsInserted(const TEngWordTable& table, std::size_t at, const TEngWordTable& inserted);

// The program's word table (unit PubDef).
extern TEngWordTable WordTable;

// One entry of a hit list: the record index and a copy of its headword.
struct TWordHit {
    std::size_t Index;
    AnsiString Eng;
};

// The lookup of the translate button: the typed text, unchanged, cut to its
// first 255 bytes, is the pattern; a record is a hit when its Eng starts with
// the pattern or its Chs contains it. At most 11 hits, in table order.
std::vector<TWordHit> LookupWords(const TEngWordTable& table, std::string_view text);
std::vector<TWordHit> LookupWords(std::string_view text);

// The gloss pane's text for a record: Eng, CR LF, 20 hyphens, CR LF, Chs.
AnsiString FormatGloss(const TEngWordTable& table, std::size_t index);
AnsiString FormatGloss(std::size_t index);
