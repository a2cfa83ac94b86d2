#pragma once
// The word database beside the program: dat/WordLib.dat, table enword with
// the columns eng and chs. The main window owns the one connection and the
// one query; these functions work on them.

#include <cstddef>
#include <string_view>

#include "AnsiString.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

// The connection string for the database under `appDir` (which ends in "/"),
// with the password derived anew from the built-in seed.
AnsiString WordDatabaseConnectionString(const AnsiString& appDir);

// Closes the connection if it is open, sets the connection string and the
// settings (stay connected, no login prompt) and binds the query to it. The
// file is opened by the first statement, so a missing file or a wrong
// password shows up there.
void OpenWordDatabase(TADOConnection& connection, TADOQuery& query, const AnsiString& appDir);

// Runs "select eng,chs from enword", sizes WordTable to the row count plus
// `recordsAfter` (the records the caller stores behind the rows), and stores
// row r into record r, each value cut to its limit, NULL as empty. Returns the
// row count. When the select fails, WordTable is left as it was.
std::size_t AppendDbRows(TADOQuery& query, std::size_t recordsAfter);

// Inserts one row. The values are bound to the statement as parameters, so
// every byte is stored as given and no value can change the statement.
void InsertWord(TADOQuery& query, std::string_view eng, std::string_view chs);
