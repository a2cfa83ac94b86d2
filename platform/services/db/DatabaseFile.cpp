#include "DatabaseFile.h"

#include <filesystem>

#include "ConnectionString.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "SqliteHandles.h"

namespace {

// The provider name this platform's connection strings use for its engine.
constexpr std::string_view kProvider = "SQLCipher";

[[noreturn]] void ThrowFileError(const char* action, const AnsiString& file, TDatabaseFault fault,
                                 const AnsiString& reason) {
    throw EDatabaseEngineError(AnsiString("Cannot ") + action + " database \"" + file + "\": " + reason, fault, reason,
                               file);
}

[[noreturn]] void ThrowFileError(const char* action, const AnsiString& file, sqlite3* db, int resultCode) {
    ThrowFileError(action, file, FaultOf(resultCode), SqliteMessage(db));
}

bool IsTrueText(std::string_view text) { return SameText(text, "True") || SameText(text, "Yes"); }

}  // namespace

TDatabaseSettings ReadDatabaseSettings(const AnsiString& connectionString) {
    const std::vector<TConnectionStringItem> items = ParseConnectionString(connectionString);
    if (const auto provider = FindConnectionValue(items, "Provider"); provider && !SameText(*provider, kProvider)) {
        throw EDatabaseError("Provider cannot be found. It may not be properly installed.");
    }
    TDatabaseSettings settings;
    settings.DataSource = FindConnectionValue(items, "Data Source").value_or("");
    if (settings.DataSource.empty()) throw EDatabaseError("The connection string names no Data Source.");
    if (auto password = FindConnectionValue(items, "Jet OLEDB:Database Password")) {
        settings.Password = std::move(*password);
    } else if (auto plain = FindConnectionValue(items, "Password")) {
        settings.Password = std::move(*plain);
    }
    settings.PersistSecurityInfo = IsTrueText(FindConnectionValue(items, "Persist Security Info").value_or(""));
    return settings;
}

SqliteDatabase OpenDatabaseFile(const TDatabaseSettings& settings, bool create) {
    const char* const action = create ? "create" : "open";
    const std::string path = AnsiToUtf8(settings.DataSource);
    if (create && std::filesystem::exists(path)) {
        ThrowFileError(action, settings.DataSource, TDatabaseFault::Other, "the file already exists");
    }
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    SqliteDatabase db(raw);  // the engine hands out a handle even when opening fails
    if (opened != SQLITE_OK) ThrowFileError(action, settings.DataSource, db.get(), opened);
    // A lock held by another program is waited for, up to the given time,
    // by every statement on this connection, the check below included.
    sqlite3_busy_timeout(db.get(), settings.LockWaitMilliseconds);

    if (!settings.Password.empty()) {
        if (const int rc = sqlite3_key(db.get(), settings.Password.data(), static_cast<int>(settings.Password.size()));
            rc != SQLITE_OK) {
            ThrowFileError(action, settings.DataSource, db.get(), rc);
        }
    }
    // Keying is lazy: the first read of the file is what tells a wrong
    // password. A new file gets its (encrypted) first page written here, so
    // that it is a real keyed database from the start.
    const char* const check = create ? "PRAGMA user_version = 0" : "SELECT count(*) FROM sqlite_master";
    if (const int rc = sqlite3_exec(db.get(), check, nullptr, nullptr, nullptr); rc != SQLITE_OK) {
        ThrowFileError(action, settings.DataSource, db.get(), rc);
    }
    return db;
}

void CreateADODatabase(const AnsiString& connectionString) {
    OpenDatabaseFile(ReadDatabaseSettings(connectionString), true);
}
