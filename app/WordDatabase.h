#pragma once
// The word database beside the program: dat/WordLib.dat, table enword with
// the columns eng and chs. The main window owns the one connection and the
// one query; these functions work on them.

#include <cstddef>
#include <exception>
#include <cstdint>
#include <functional>
#include <utility>
#include <string_view>

#include "AnsiString.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "WordTable.h"

// How long a statement waits for another program (a second copy importing,
// the engine's shell) to let go of the file before it counts as an error.
inline constexpr int kWordDatabaseLockWaitSeconds = 3;

// The database file under `appDir` (which ends in "/").
AnsiString WordDatabaseFileName(const AnsiString& appDir);

// The connection string for the database under `appDir`, with the password
// derived anew from the built-in seed.
AnsiString WordDatabaseConnectionString(const AnsiString& appDir);

// Closes the connection if it is open, sets the connection string and the
// settings (stay connected, no login prompt, the lock wait above) and binds
// the query to it. The file is opened by the first statement, so a missing
// file or a wrong password shows up there.
void OpenWordDatabase(TADOConnection& connection, TADOQuery& query, const AnsiString& appDir);

// Runs "select eng,chs from enword", sizes WordTable to the row count plus
// `recordsAfter` (the records the caller stores behind the rows), and stores
// row r into record r, each value cut to its limit, NULL as empty. Returns the
// row count. When the select fails, WordTable is left as it was.
std::size_t AppendDbRows(TADOQuery& query, std::size_t recordsAfter);

// Reads "select eng,chs from enword" row by row into the end of `table`
// (grown by one record a row, each value cut to its limit, NULL as empty),
// holding no more than one row besides the table. `stop` is asked between
// rows; when it says true, the reading ends there. Returns the rows stored.
std::size_t ReadDbRowsInto(TADOConnection& connection, TEngWordTable& table, const std::function<bool()>& stop);

// The same for the rows whose rowid lies in [first, last], in the same order
// (a table's rows come in rowid order): a part of the table that another
// connection can read at the same time as the rest.
std::size_t ReadDbRowsInto(TADOConnection& connection, TEngWordTable& table, const std::function<bool()>& stop,
                           std::int64_t first, std::int64_t last);

// The smallest and the largest rowid of enword; both 0 when it is empty.
std::pair<std::int64_t, std::int64_t> DbRowIdRange(TADOConnection& connection);

// Inserts one row. The values are bound to the statement as parameters, so
// every byte is stored as given and no value can change the statement. The
// compiled statement is kept on the query for the next row.
void InsertWord(TADOQuery& query, std::string_view eng, std::string_view chs);

// Called with the number of rows inserted so far: with 0 before the first,
// every kInsertWordsStep rows, and with the total before the commit. False
// abandons the insert.
using TInsertProgress = std::function<bool(std::size_t done)>;
inline constexpr std::size_t kInsertWordsStep = 1024;

// The record to insert at an index, read when its row goes in; the views
// must stay valid until the insert returns.
using TWordAt = std::function<TEngWord(std::size_t index)>;

// Inserts records 0 to count - 1, in order, in one transaction: either all
// of them are in the database afterwards or none is. A failure (a refused
// row, a full disk, a lock held past the wait) rolls back and is rethrown;
// an abandoned insert rolls back and returns false.
bool InsertWords(TADOConnection& connection, TADOQuery& query, std::size_t count, const TWordAt& wordAt,
                 const TInsertProgress& progress);
// The same for every record of `words`.
bool InsertWords(TADOConnection& connection, TADOQuery& query, const TEngWordTable& words,
                 const TInsertProgress& progress);

// The program's own message for a database error: what went wrong in
// Chinese, the file, then the engine's English text. `outcome` says what the
// failure meant for the user (the words still available, the import undone).
AnsiString WordDatabaseErrorText(const AnsiString& fileName, const std::exception& error, const AnsiString& outcome);
