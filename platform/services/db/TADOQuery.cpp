#include "TADOQuery.h"

#include <climits>

#include "ConnectionString.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "SqliteHandles.h"
#include "TADOConnection.h"

namespace {

// Lets a connection with KeepConnection false close once a statement is done,
// whether it succeeded or not.
class ReleaseWhenDone {
public:
    explicit ReleaseWhenDone(TADOConnection& connection) : connection_(connection) {}
    ~ReleaseWhenDone() { connection_.ReleaseIfIdle(); }
    ReleaseWhenDone(const ReleaseWhenDone&) = delete;
    ReleaseWhenDone& operator=(const ReleaseWhenDone&) = delete;

private:
    TADOConnection& connection_;
};

// Compiles the one statement of `text`. Anything but blanks and comments
// after it is refused, so a text can never smuggle in a second statement.
SqliteStatement PrepareSingle(sqlite3* db, const AnsiString& text) {
    const char* const end = text.data() + text.size();
    const char* tail = nullptr;
    sqlite3_stmt* raw = nullptr;
    if (const int rc = sqlite3_prepare_v2(db, text.data(), static_cast<int>(text.size()), &raw, &tail);
        rc != SQLITE_OK) {
        ThrowEngineError(db, rc);
    }
    SqliteStatement stmt(raw);
    if (!stmt) throw EDatabaseError("Command text was not set for the command object.");
    while (tail && tail < end) {
        sqlite3_stmt* restRaw = nullptr;
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &restRaw, &next);
        const SqliteStatement rest(restRaw);
        if (rc != SQLITE_OK || rest) throw EDatabaseError("Characters found after end of SQL statement.");
        if (next == tail) break;
        tail = next;
    }
    return stmt;
}

// Binds every parameter of the statement from the query's list. A parameter
// the list does not hold (an anonymous "?", say) is an error rather than a
// silent NULL.
void BindParameters(sqlite3* db, sqlite3_stmt* stmt, TParameters& parameters) {
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(stmt, i);
        const TParameter* parameter = nullptr;
        if (name && name[0] == ':') {
            for (std::size_t j = 0; j < parameters.Count() && !parameter; ++j) {
                if (parameters[j].Name == name + 1) parameter = &parameters[j];
            }
        }
        if (!parameter) {
            throw EDatabaseError(
                "Parameter object is improperly defined. Inconsistent or incomplete information was provided.");
        }
        int rc = SQLITE_OK;
        if (!parameter->Value) {
            rc = sqlite3_bind_null(stmt, i);
        } else if (parameter->Value->size() > static_cast<std::size_t>(INT_MAX)) {
            rc = SQLITE_TOOBIG;
        } else {
            // The value outlives the statement, which is finalized before the call returns.
            rc = sqlite3_bind_text(stmt, i, parameter->Value->data(), static_cast<int>(parameter->Value->size()),
                                   SQLITE_STATIC);
        }
        if (rc != SQLITE_OK) ThrowEngineError(db, rc);
    }
}

// Ends a run of a statement, however the run ended: the statement is
// finished (so that it holds no lock) and forgets the values bound to it, so
// that a kept statement is ready for its next run and points at no value.
struct RewindStatement {
    void operator()(sqlite3_stmt* stmt) const {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};
using RewindWhenDone = std::unique_ptr<sqlite3_stmt, RewindStatement>;

}  // namespace

void SqliteFinalizer::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

AnsiString TField::AsString() const { return AnsiString(AsView()); }

std::string_view TField::AsView() const {
    const TADOQuery::Cell* cell = query_->CurrentCell(index_);
    return cell ? query_->CellBytes(*cell) : std::string_view();
}

bool TField::IsNull() const {
    const TADOQuery::Cell* cell = query_->CurrentCell(index_);
    return !cell || cell->Null;
}

TADOQuery::TADOQuery() : sql_([this] { SqlChanged(); }) {}

TADOQuery::~TADOQuery() { SetConnection(nullptr); }

void TADOQuery::SetConnection(TADOConnection* connection) {
    if (connection == connection_) return;
    Close();
    Unprepare();
    if (connection_) connection_->Detach(this);
    connection_ = connection;
    if (connection_) connection_->Attach(this);
}

void TADOQuery::SetActive(bool value) {
    if (value) {
        Open();
    } else {
        Close();
    }
}

void TADOQuery::SetPrepared(bool value) {
    prepared_ = value;
    if (!value) Unprepare();
}

sqlite3_stmt* TADOQuery::Statement(SqliteStatement& once) {
    // A kept statement was rewound when its last run ended.
    if (compiled_) return compiled_.get();
    SqliteStatement stmt = PrepareSingle(connection_->Handle(), sql_.Text());
    SqliteStatement& holder = prepared_ ? compiled_ : once;
    holder = std::move(stmt);
    return holder.get();
}

void TADOQuery::Open() {
    if (active_) return;
    if (!connection_) throw EDatabaseError("Missing Connection or ConnectionString");
    connection_->Open();
    const ReleaseWhenDone release(*connection_);
    sqlite3* db = connection_->Handle();
    SqliteStatement once;
    sqlite3_stmt* const stmt = Statement(once);
    // A kept statement is left finished, so that it holds no read lock.
    const RewindWhenDone rewind(stmt);
    BindParameters(db, stmt, parameters_);
    const int columns = sqlite3_column_count(stmt);
    if (columns == 0) throw EDatabaseError("CommandText does not return a result set");

    ClearRows();
    try {
        for (int c = 0; c < columns; ++c) {
            const char* name = sqlite3_column_name(stmt, c);
            fields_.emplace_back(*this, static_cast<std::size_t>(c), name ? name : "");
        }
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                Cell cell;
                const int type = sqlite3_column_type(stmt, c);
                if (type != SQLITE_NULL) {
                    // Ask for the bytes first, then their count, as the engine requires.
                    const void* bytes = type == SQLITE_BLOB ? sqlite3_column_blob(stmt, c)
                                                            : static_cast<const void*>(sqlite3_column_text(stmt, c));
                    cell.Length = static_cast<std::size_t>(sqlite3_column_bytes(stmt, c));
                    cell.Offset = data_.size();
                    cell.Null = false;
                    if (cell.Length > 0) data_.append(static_cast<const char*>(bytes), cell.Length);
                }
                cells_.push_back(cell);
            }
            ++rowCount_;
        }
        if (rc != SQLITE_DONE) ThrowEngineError(db, rc);
    } catch (...) {
        ClearRows();
        throw;
    }
    active_ = true;
    row_ = 0;
}

int TADOQuery::ExecSQL() {
    if (!connection_) throw EDatabaseError("Missing Connection or ConnectionString");
    connection_->Open();
    const ReleaseWhenDone release(*connection_);
    sqlite3* db = connection_->Handle();
    SqliteStatement once;
    sqlite3_stmt* const stmt = Statement(once);
    const RewindWhenDone rewind(stmt);
    BindParameters(db, stmt, parameters_);
    const int before = sqlite3_total_changes(db);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) ThrowEngineError(db, rc);
    return sqlite3_total_changes(db) - before;
}

void TADOQuery::Close() {
    const bool wasActive = active_;
    ClearRows();
    active_ = false;
    if (wasActive && connection_) connection_->ReleaseIfIdle();
}

const TField* TADOQuery::FindField(std::string_view name) const {
    for (const TField& field : fields_) {
        if (SameText(field.FieldName, name)) return &field;
    }
    return nullptr;
}

const TField& TADOQuery::FieldByName(std::string_view name) const {
    if (const TField* field = FindField(name)) return *field;
    throw EDatabaseError("Field '" + AnsiString(name) + "' not found");
}

const TADOQuery::Cell* TADOQuery::CurrentCell(std::size_t column) const {
    if (Eof() || column >= fields_.size()) return nullptr;
    return &cells_[row_ * fields_.size() + column];
}

void TADOQuery::SqlChanged() {
    Close();
    Unprepare();
    parameters_.ParseSQL(sql_.Text());
}

void TADOQuery::ClearRows() {
    fields_.clear();
    cells_.clear();
    data_.clear();
    rowCount_ = 0;
    row_ = 0;
}
