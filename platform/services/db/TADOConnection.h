#pragma once
// A connection to one password-protected database file, configured by a
// connection string in the platform's form:
//
//   Provider=SQLCipher;Data Source=<file>;Persist Security Info=False;
//   Jet OLEDB:Database Password=<password>
//
// ("Password" is accepted for the password too; other keys are ignored.) The
// file must exist: opening never creates one (see CreateADODatabase for that).
// The password reaches only the engine: it appears in no error text, and the
// ConnectionString read back leaves it out unless Persist Security Info=True.

#include <memory>
#include <vector>

#include "AnsiString.h"

struct sqlite3;
class TADOQuery;

// Closes an engine connection; lets the connection own it without showing the
// engine's header to every user of this one.
struct SqliteCloser {
    void operator()(sqlite3* db) const;
};
using SqliteDatabase = std::unique_ptr<sqlite3, SqliteCloser>;

class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    // Setting the string closes an open connection first.
    AnsiString ConnectionString() const;
    void SetConnectionString(AnsiString value);

    // With KeepConnection false the connection closes as soon as no query
    // holds rows open and no statement runs.
    bool KeepConnection = true;
    // How many seconds a statement waits for a lock that another program
    // holds on the file (a second copy importing, the engine's shell) before
    // it fails with TDatabaseFault::Locked. Takes effect when the connection opens.
    int CommandTimeout = 30;
    // There is no login dialog on this platform: with LoginPrompt true,
    // opening fails and says so. The program sets it false and supplies the
    // password in the connection string.
    bool LoginPrompt = true;

    bool Connected() const { return db_ != nullptr; }
    void SetConnected(bool value);
    // Opens the file named by Data Source with the password, and reads its
    // schema once so that a wrong password or a damaged file fails here, with
    // the engine's message, rather than in some later statement.
    void Open();
    // Closes every query attached to this connection, then the file. An
    // open transaction is rolled back.
    void Close();

    // One transaction at a time. BeginTrans opens the connection when it is
    // closed and takes the write lock at once (waiting up to CommandTimeout),
    // so a lock shows before any work is done. RollbackTrans undoes every
    // change since BeginTrans; it does nothing when the engine has rolled the
    // transaction back itself after a failure (a full disk, say).
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // For the queries of this folder: the open engine connection.
    sqlite3* Handle() const { return db_.get(); }
    // Called by a query when it releases its rows or finishes a statement.
    void ReleaseIfIdle();

private:
    friend class TADOQuery;
    void Attach(TADOQuery* query);
    void Detach(TADOQuery* query);

    AnsiString connectionString_;
    SqliteDatabase db_;
    std::vector<TADOQuery*> queries_;  // non-owning; each query detaches itself
};
