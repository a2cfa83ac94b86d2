#pragma once
// Owning handles for the engine's connection and statement objects. Used only
// inside this folder; the public headers keep the engine out of sight.

#include <sqlcipher/sqlite3.h>

#include <memory>
#include <string_view>

#include "AnsiString.h"
#include "TADOConnection.h"

struct SqliteFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// The engine's message for the last failure on `db`.
inline AnsiString SqliteMessage(sqlite3* db) {
    const char* message = db ? sqlite3_errmsg(db) : nullptr;
    return message ? AnsiString(message) : AnsiString("out of memory");
}
