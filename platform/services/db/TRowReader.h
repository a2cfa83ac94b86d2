#pragma once
// Reads the rows of one select one at a time, in the order the engine returns
// them, holding only the current row. For a table too large to hold twice
// (once as the query's rows, once as what the caller builds from them), and
// for a reader that must be able to stop between any two rows.

#include <string_view>

#include "TADOConnection.h"
#include "TADOQuery.h"

class TRowReader {
public:
    // Opens the connection when it is closed and compiles `sql`, which must
    // be exactly one statement returning rows. Engine failures raise
    // EDatabaseEngineError with the engine's text.
    TRowReader(TADOConnection& connection, std::string_view sql);
    // Finishes the statement, so that it holds no lock on the file.
    ~TRowReader();
    TRowReader(const TRowReader&) = delete;
    TRowReader& operator=(const TRowReader&) = delete;

    // Moves to the next row; false after the last one.
    bool Next();
    int ColumnCount() const { return columns_; }
    // A value of the current row (NULL reads as empty). The bytes stay valid
    // until the next call of Next.
    std::string_view Column(int index) const;

private:
    TADOConnection& connection_;
    sqlite3_stmt* stmt_ = nullptr;
    int columns_ = 0;
    bool done_ = false;
};
