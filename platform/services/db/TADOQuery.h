#pragma once
// A query on a TADOConnection: SQL text with ":name" parameters, run with
// ExecSQL, or opened with Open to read its rows. Opening fetches every row at
// once (a client-side cursor), so RecordCount is known before the first row is
// read and the connection is free for other statements meanwhile.

#include <memory>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "TParameters.h"
#include "TSQLLines.h"

class TADOConnection;
class TADOQuery;
struct sqlite3_stmt;

// Finalizes an engine statement; lets a query keep a compiled one without
// showing the engine's header to its users.
struct SqliteFinalizer {
    void operator()(sqlite3_stmt* stmt) const;
};

// One column of the open query, read at the current row.
class TField {
public:
    TField(const TADOQuery& query, std::size_t index, AnsiString name)
        : FieldName(std::move(name)), query_(&query), index_(index) {}
    AnsiString FieldName;
    // NULL, and any value when there is no current row, read as empty.
    AnsiString AsString() const;
    std::string_view AsView() const;  // the same bytes without a copy
    bool IsNull() const;

private:
    const TADOQuery* query_;
    std::size_t index_;
};

class TADOQuery {
public:
    TADOQuery();
    ~TADOQuery();
    TADOQuery(const TADOQuery&) = delete;
    TADOQuery& operator=(const TADOQuery&) = delete;

    // Non-owning; the connection clears it when it goes away. Changing it
    // closes the query.
    TADOConnection* Connection() const { return connection_; }
    void SetConnection(TADOConnection* connection);

    TSQLLines& SQL() { return sql_; }
    const TSQLLines& SQL() const { return sql_; }
    TParameters& Parameters() { return parameters_; }

    // With Prepared, the compiled statement is kept after ExecSQL and Open
    // and run again, with the parameters' new values, as long as the SQL text
    // and the connection stay the same: a statement repeated for many rows is
    // compiled once.
    bool Prepared() const { return prepared_; }
    void SetPrepared(bool value);

    // Both run exactly one statement: text after it fails with an error.
    // They open the connection when it is closed. Engine failures raise
    // EDatabaseEngineError (DatabaseErrors.h) with the engine's text.
    void Open();
    int ExecSQL();  // the number of rows the statement changed
    void Close();
    bool Active() const { return active_; }
    void SetActive(bool value);

    int RecordCount() const { return static_cast<int>(rowCount_); }
    bool Eof() const { return row_ >= rowCount_; }
    void First() { row_ = 0; }
    void Next() {
        if (!Eof()) ++row_;
    }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const TField& Fields(std::size_t index) const { return fields_.at(index); }
    // Names match without regard to ASCII case. FieldByName fails with
    // EDatabaseError when the open query has no such column.
    const TField& FieldByName(std::string_view name) const;
    const TField* FindField(std::string_view name) const;

private:
    friend class TField;
    struct Cell {
        std::size_t Offset = 0;
        std::size_t Length = 0;
        bool Null = true;
    };
    const Cell* CurrentCell(std::size_t column) const;
    std::string_view CellBytes(const Cell& cell) const { return std::string_view(data_).substr(cell.Offset, cell.Length); }
    void SqlChanged();
    void ClearRows();
    // The statement for the current text, compiled now or kept from before.
    sqlite3_stmt* Statement(std::unique_ptr<sqlite3_stmt, SqliteFinalizer>& once);
    friend class TADOConnection;
    void Unprepare() { compiled_.reset(); }

    TADOConnection* connection_ = nullptr;
    TSQLLines sql_;
    TParameters parameters_;
    bool active_ = false;
    bool prepared_ = false;
    std::unique_ptr<sqlite3_stmt, SqliteFinalizer> compiled_;  // kept while Prepared
    std::vector<TField> fields_;
    std::vector<Cell> cells_;  // row-major, FieldCount() per row
    AnsiString data_;          // the bytes of every non-NULL cell, one after another
    std::size_t rowCount_ = 0;
    std::size_t row_ = 0;
};
