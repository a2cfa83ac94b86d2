#pragma once
// Reading a word list file for the import, as a stream: a piece of the file
// at a time is decoded (code page 936, UTF-8, or UTF-16 with its byte-order
// mark), cut into lines and turned into records, so that memory holds the
// records and one piece, never the whole file, let alone twice.
//
// Only lines that make a word become records: blank lines (nothing, or only
// blanks and tabs) are passed over; a line without the separator "|", or
// with nothing but blanks before it, is skipped and counted. A file holding
// bytes that no text has (NUL and other control codes: a compressed file, a
// picture renamed) is refused as a whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "AnsiString.h"
#include "WordTable.h"

struct TWordListRecords {
    TEngWordTable Records;      // one record per word line, in file order, fields cut to their limits
    std::size_t Malformed = 0;  // lines skipped for want of a headword or a separator
    std::size_t Replaced = 0;   // characters GBK cannot hold, each now a '?'
};

// Called between pieces with the bytes worked through and the bytes to work
// through in all (a file may be read twice: once to tell its encoding).
// Returning false abandons the reading.
using TWordListReadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Reads the word list file `fileName`. Raises EFOpenError when it is not a
// regular file or cannot be opened, EReadError when it is larger than
// kMaxWordListFileBytes (naming its size) or holds binary content, both
// before any record is made. Returns nothing when the progress abandoned it.
std::optional<TWordListRecords> ReadWordListRecords(const AnsiString& fileName,
                                                    const TWordListReadProgress& progress = {});
