#include "TRowReader.h"

#include "SqliteHandles.h"

TRowReader::TRowReader(TADOConnection& connection, std::string_view sql) : connection_(connection) {
    connection_.Open();
    sqlite3* db = connection_.Handle();
    const char* tail = nullptr;
    if (const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, &tail);
        rc != SQLITE_OK) {
        ThrowEngineError(db, rc);
    }
    SqliteStatement owned(stmt_);
    if (!stmt_) throw EDatabaseError("Command text was not set for the command object.");
    // Only blanks may follow the statement: one reader, one select.
    for (const char* end = sql.data() + sql.size(); tail && tail < end; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';')
            throw EDatabaseError("Characters found after end of SQL statement.");
    }
    columns_ = sqlite3_column_count(stmt_);
    if (columns_ == 0) throw EDatabaseError("CommandText does not return a result set");
    owned.release();
}

TRowReader::~TRowReader() {
    sqlite3_finalize(stmt_);
    connection_.ReleaseIfIdle();
}

bool TRowReader::Next() {
    if (done_) return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    done_ = true;
    // Finished: the statement lets go of its read lock at once.
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE) ThrowEngineError(connection_.Handle(), rc);
    return false;
}

std::string_view TRowReader::Column(int index) const {
    if (done_ || index < 0 || index >= columns_) return {};
    // The bytes first, then their count, as the engine requires.
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    const int size = sqlite3_column_bytes(stmt_, index);
    return bytes && size > 0 ? std::string_view(bytes, static_cast<std::size_t>(size)) : std::string_view();
}
