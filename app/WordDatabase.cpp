#include "WordDatabase.h"

#include "ConnectionString.h"
#include "DbPassword.h"
#include "WordTable.h"

AnsiString WordDatabaseConnectionString(const AnsiString& appDir) {
    return "Provider=SQLCipher;Data Source=" + QuoteConnectionValue(appDir + "dat/" + "WordLib.dat") +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + MakeDbPassword(DbPasswordSeed);
}

void OpenWordDatabase(TADOConnection& connection, TADOQuery& query, const AnsiString& appDir) {
    connection.Close();
    connection.SetConnectionString(WordDatabaseConnectionString(appDir));
    connection.KeepConnection = true;
    connection.LoginPrompt = false;
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

void InsertWord(TADOQuery& query, std::string_view eng, std::string_view chs) {
    query.Close();
    query.SQL().Clear();
    query.SQL().Add("insert into enword (eng,chs) values (:eng,:chs)");
    query.Parameters().ParamByName("eng").Value = AnsiString(eng);
    query.Parameters().ParamByName("chs").Value = AnsiString(chs);
    query.ExecSQL();
}
