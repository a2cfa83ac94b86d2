#pragma once
// The database file that a connection string names: which file, which
// password, and opening or creating it through the engine.

#include "AnsiString.h"
#include "DatabaseErrors.h"
#include "TADOConnection.h"

struct TDatabaseSettings {
    AnsiString DataSource;             // the file, in the program's code page
    AnsiString Password;               // empty: the file is not encrypted
    bool PersistSecurityInfo = false;  // may the string read back show the password?
    int LockWaitMilliseconds = 0;      // how long a statement waits for another program's lock
};

// Reads the items this engine uses. Fails with EDatabaseError for a malformed
// string, a provider other than ours, or a missing Data Source.
TDatabaseSettings ReadDatabaseSettings(const AnsiString& connectionString);

// Opens (or, with `create`, creates) the file and keys it with the password,
// then reads the schema so that a wrong password or a damaged file fails now.
// Errors (EDatabaseEngineError) name the file and carry the engine's
// message, never the password.
SqliteDatabase OpenDatabaseFile(const TDatabaseSettings& settings, bool create);

// Makes a new, empty database file behind the connection string's password,
// as the platform's catalog object does. Fails if the file already exists.
void CreateADODatabase(const AnsiString& connectionString);
