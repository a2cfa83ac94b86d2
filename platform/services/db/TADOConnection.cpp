#include "TADOConnection.h"

#include <algorithm>

#include "ConnectionString.h"
#include "DatabaseFile.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "SqliteHandles.h"
#include "TADOQuery.h"

void SqliteCloser::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

TADOConnection::TADOConnection() = default;

TADOConnection::~TADOConnection() {
    // A query outlives its connection only as a closed query without one.
    for (TADOQuery* query : std::vector<TADOQuery*>(queries_)) query->SetConnection(nullptr);
    db_.reset();
}

AnsiString TADOConnection::ConnectionString() const {
    try {
        const std::vector<TConnectionStringItem> items = ParseConnectionString(connectionString_);
        const AnsiString persist = FindConnectionValue(items, "Persist Security Info").value_or("");
        if (SameText(persist, "True") || SameText(persist, "Yes")) return connectionString_;
        return JoinConnectionString(items, {"Jet OLEDB:Database Password", "Password"});
    } catch (const EDatabaseError&) {
        // A string that does not parse cannot be shown safely in parts.
        return "";
    }
}

void TADOConnection::SetConnectionString(AnsiString value) {
    Close();
    connectionString_ = std::move(value);
}

void TADOConnection::SetConnected(bool value) {
    if (value) {
        Open();
    } else {
        Close();
    }
}

void TADOConnection::Open() {
    if (Connected()) return;
    if (LoginPrompt) {
        throw EDatabaseError("Cannot connect: LoginPrompt is set and there is no login dialog; "
                             "give the password in the connection string.");
    }
    TDatabaseSettings settings = ReadDatabaseSettings(connectionString_);
    settings.LockWaitMilliseconds = std::max(0, CommandTimeout) * 1000;
    db_ = OpenDatabaseFile(settings, false);
}

void TADOConnection::Close() {
    for (TADOQuery* query : std::vector<TADOQuery*>(queries_)) {
        query->Close();
        query->Unprepare();  // a kept statement must not outlive the file it was compiled for
    }
    db_.reset();
}

namespace {

void Execute(sqlite3* db, const char* sql) {
    if (const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr); rc != SQLITE_OK) ThrowEngineError(db, rc);
}

}  // namespace

bool TADOConnection::InTransaction() const { return db_ && sqlite3_get_autocommit(db_.get()) == 0; }

int TADOConnection::BeginTrans() {
    Open();
    if (InTransaction()) throw EDatabaseError("Connection is already in a transaction");
    Execute(db_.get(), "BEGIN IMMEDIATE");
    return 1;
}

void TADOConnection::CommitTrans() {
    if (!InTransaction()) throw EDatabaseError("No transaction is active");
    Execute(db_.get(), "COMMIT");
    ReleaseIfIdle();
}

void TADOConnection::RollbackTrans() {
    if (InTransaction()) Execute(db_.get(), "ROLLBACK");
    ReleaseIfIdle();
}

void TADOConnection::ReleaseIfIdle() {
    // Closing the file in a transaction would roll it back.
    if (KeepConnection || !Connected() || InTransaction()) return;
    const bool busy = std::any_of(queries_.begin(), queries_.end(), [](const TADOQuery* q) { return q->Active(); });
    if (!busy) db_.reset();
}

void TADOConnection::Attach(TADOQuery* query) { queries_.push_back(query); }

void TADOConnection::Detach(TADOQuery* query) { std::erase(queries_, query); }
