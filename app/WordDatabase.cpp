#include "WordDatabase.h"

#include "ConnectionString.h"
#include "DatabaseErrors.h"
#include "DbPassword.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "TRowReader.h"

namespace {

constexpr std::string_view kInsertSql = "insert into enword (eng,chs) values (:eng,:chs)";

AnsiString FaultText(TDatabaseFault fault) {
    switch (fault) {
    case TDatabaseFault::CannotOpen: return "找不到或打不开单词库文件";
    case TDatabaseFault::NotADatabase: return "单词库文件已损坏，或不是本程序的单词库";
    case TDatabaseFault::Locked: return "单词库文件正被其他程序使用";
    case TDatabaseFault::DiskFull: return "磁盘空间已满";
    case TDatabaseFault::ReadOnly: return "单词库文件不能写入";
    case TDatabaseFault::IOError: return "读写单词库文件时出错";
    case TDatabaseFault::Constraint: return "单词库拒绝了一条记录";
    case TDatabaseFault::Other: break;
    }
    return "单词库出错";
}

// Puts the insert into the query, compiled once for a run of inserts.
void PrepareInsert(TADOQuery& query) {
    query.Close();
    // Setting the text again would drop the compiled statement.
    if (query.SQL().Count() != 1 || query.SQL()[0] != kInsertSql) {
        query.SQL().Clear();
        query.SQL().Add(kInsertSql);
    }
    query.SetPrepared(true);
}

}  // namespace

AnsiString WordDatabaseFileName(const AnsiString& appDir) { return appDir + "dat/" + "WordLib.dat"; }

AnsiString WordDatabaseConnectionString(const AnsiString& appDir) {
    return "Provider=SQLCipher;Data Source=" + QuoteConnectionValue(WordDatabaseFileName(appDir)) +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + MakeDbPassword(DbPasswordSeed);
}

void OpenWordDatabase(TADOConnection& connection, TADOQuery& query, const AnsiString& appDir) {
    connection.Close();
    connection.SetConnectionString(WordDatabaseConnectionString(appDir));
    connection.KeepConnection = true;
    connection.LoginPrompt = false;
    connection.CommandTimeout = kWordDatabaseLockWaitSeconds;
    query.SetConnection(&connection);
}

std::size_t AppendDbRows(TADOQuery& query, std::size_t recordsAfter) {
    query.Close();
    query.SQL().Clear();
    query.SQL().Add("select eng,chs from enword");
    query.Open();
    const auto rows = static_cast<std::size_t>(query.RecordCount());
    WordTable.SetLength(rows + recordsAfter);
    const TField& eng = query.FieldByName("eng");
    const TField& chs = query.FieldByName("chs");
    for (std::size_t r = 0; r < rows; ++r, query.Next()) {
        WordTable.Store(r, eng.AsView(), chs.AsView());
    }
    query.Close();
    return rows;
}

namespace {

std::size_t ReadRowsInto(TADOConnection& connection, std::string_view sql, TEngWordTable& table,
                         const std::function<bool()>& stop) {
    TRowReader rows(connection, sql);
    std::size_t count = 0;
    // Asking after every row would cost more than the row itself.
    constexpr std::size_t kRowsBetweenStops = 1024;
    while (rows.Next()) {
        const std::size_t index = table.Length();
        table.SetLength(index + 1);
        table.Store(index, rows.Column(0), rows.Column(1));
        if (++count % kRowsBetweenStops == 0 && stop()) break;
    }
    return count;
}

}  // namespace

std::size_t ReadDbRowsInto(TADOConnection& connection, TEngWordTable& table, const std::function<bool()>& stop) {
    return ReadRowsInto(connection, "select eng,chs from enword", table, stop);
}

std::size_t ReadDbRowsInto(TADOConnection& connection, TEngWordTable& table, const std::function<bool()>& stop,
                           std::int64_t first, std::int64_t last) {
    const AnsiString sql = "select eng,chs from enword where rowid between " + IntToStr(first) + " and " + IntToStr(last);
    return ReadRowsInto(connection, sql, table, stop);
}

std::pair<std::int64_t, std::int64_t> DbRowIdRange(TADOConnection& connection) {
    TRowReader range(connection, "select ifnull(min(rowid),0),ifnull(max(rowid),0) from enword");
    if (!range.Next()) return {0, 0};
    return {std::stoll(std::string(range.Column(0))), std::stoll(std::string(range.Column(1)))};
}

void InsertWord(TADOQuery& query, std::string_view eng, std::string_view chs) {
    PrepareInsert(query);
    query.Parameters().ParamByName("eng").SetValue(eng);
    query.Parameters().ParamByName("chs").SetValue(chs);
    query.ExecSQL();
}

bool InsertWords(TADOConnection& connection, TADOQuery& query, std::size_t count, const TWordAt& wordAt,
                 const TInsertProgress& progress) {
    connection.BeginTrans();
    try {
        // The statement and its parameters are set up once for a stretch of
        // rows, each row only changing the values and running the kept
        // statement. They are set up again after each progress call, as the
        // window lives on in it and may have used the query meanwhile.
        TParameter* eng = nullptr;
        TParameter* chs = nullptr;
        const auto prepare = [&] {
            PrepareInsert(query);
            eng = &query.Parameters().ParamByName("eng");
            chs = &query.Parameters().ParamByName("chs");
        };
        bool keepGoing = !progress || progress(0);
        prepare();
        for (std::size_t i = 0; keepGoing && i < count; ++i) {
            const TEngWord word = wordAt(i);
            eng->SetValue(word.Eng);
            chs->SetValue(word.Chs);
            query.ExecSQL();
            if (progress && (i + 1) % kInsertWordsStep == 0) {
                keepGoing = progress(i + 1);
                prepare();
            }
        }
        if (keepGoing && progress && count % kInsertWordsStep != 0) keepGoing = progress(count);
        if (!keepGoing) {
            connection.RollbackTrans();
            return false;
        }
        connection.CommitTrans();
    } catch (...) {
        try {
            connection.RollbackTrans();
        } catch (const EDatabaseError&) {
            // The engine could not roll back in place (the file went away, say);
            // closing drops the transaction, and the journal restores the file
            // when it is next opened.
            connection.Close();
        }
        throw;
    }
    return true;
}

bool InsertWords(TADOConnection& connection, TADOQuery& query, const TEngWordTable& words,
                 const TInsertProgress& progress) {
    return InsertWords(connection, query, words.Length(), [&words](std::size_t i) { return words[i]; }, progress);
}

AnsiString WordDatabaseErrorText(const AnsiString& fileName, const std::exception& error, const AnsiString& outcome) {
    const auto* engine = dynamic_cast<const EDatabaseEngineError*>(&error);
    const AnsiString reason = engine ? engine->Reason : AnsiString(error.what());
    return FaultText(engine ? engine->Fault : TDatabaseFault::Other) + "：“" + fileName + "”。" + outcome + "\r\n(" +
           reason + ")";
}
