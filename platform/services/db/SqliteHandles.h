#pragma once
// Owning handles for the engine's connection and statement objects, and the
// engine's failures as errors. Used only inside this folder; the public
// headers keep the engine out of sight.

#include <sqlcipher/sqlite3.h>

#include <memory>
#include <string_view>

#include "AnsiString.h"
#include "DatabaseErrors.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// The engine's message for the last failure on `db`.
inline AnsiString SqliteMessage(sqlite3* db) {
    const char* message = db ? sqlite3_errmsg(db) : nullptr;
    return message ? AnsiString(message) : AnsiString("out of memory");
}

inline TDatabaseFault FaultOf(int resultCode) {
    switch (resultCode & 0xFF) {
    case SQLITE_CANTOPEN: return TDatabaseFault::CannotOpen;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return TDatabaseFault::NotADatabase;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return TDatabaseFault::Locked;
    case SQLITE_FULL: return TDatabaseFault::DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM: return TDatabaseFault::ReadOnly;
    case SQLITE_IOERR: return TDatabaseFault::IOError;
    case SQLITE_CONSTRAINT: return TDatabaseFault::Constraint;
    default: return TDatabaseFault::Other;
    }
}

// The error for a failed engine call on `db` that returned `resultCode`.
// Its message is the engine's text alone, as statement errors always read.
[[noreturn]] inline void ThrowEngineError(sqlite3* db, int resultCode) {
    const AnsiString reason = resultCode == SQLITE_TOOBIG ? AnsiString(sqlite3_errstr(resultCode)) : SqliteMessage(db);
    throw EDatabaseEngineError(reason, FaultOf(resultCode), reason);
}
