#include "TADOQuery.h"

#include <gtest/gtest.h>

#include <memory>

#include "DatabaseFile.h"
#include "DbTestFiles.h"
#include "Exceptions.h"
#include "TADOConnection.h"

namespace {

// A fresh keyed file with the table words(eng, chs), a connection to it and
// a query on that connection.
class QueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const AnsiString cs = ConnectionStringFor(dir_.File("q.dat"), "9F3C21AB07D4E5F6A8B1");
        CreateADODatabase(cs);
        connection_.LoginPrompt = false;
        connection_.SetConnectionString(cs);
        query_.SetConnection(&connection_);
        Exec("create table words (eng text, chs text)");
    }

    int Exec(const AnsiString& sql) {
        query_.SQL().Clear();
        query_.SQL().Add(sql);
        return query_.ExecSQL();
    }

    int Insert(const std::optional<AnsiString>& eng, const std::optional<AnsiString>& chs) {
        query_.SQL().SetText("insert into words (eng,chs) values (:eng,:chs)");
        query_.Parameters().ParamByName("eng").Value = eng;
        query_.Parameters().ParamByName("chs").Value = chs;
        return query_.ExecSQL();
    }

    int CountWords() {
        query_.SQL().SetText("select count(*) as n from words");
        query_.Open();
        const int n = std::stoi(query_.FieldByName("n").AsString());
        query_.Close();
        return n;
    }

    DbTestDir dir_;
    TADOConnection connection_;
    TADOQuery query_;
};

}  // namespace

TEST_F(QueryTest, OpenFetchesEveryRowAndReadsNullAsEmpty) {
    Insert("cat", "n.\xC3\xA8");  // GBK for the character "cat"
    Insert(std::nullopt, "n.x");
    Insert("dog", std::nullopt);

    query_.SQL().SetText("select eng,chs from words order by rowid");
    query_.Open();
    EXPECT_TRUE(query_.Active());
    ASSERT_EQ(query_.RecordCount(), 3);  // known before the first row is read
    std::vector<std::pair<AnsiString, AnsiString>> rows;
    for (; !query_.Eof(); query_.Next()) {
        rows.emplace_back(query_.FieldByName("ENG").AsString(), query_.FieldByName("chs").AsString());
    }
    EXPECT_EQ(rows, (std::vector<std::pair<AnsiString, AnsiString>>{
                        {"cat", "n.\xC3\xA8"}, {"", "n.x"}, {"dog", ""}}));
    query_.First();
    query_.Next();
    EXPECT_TRUE(query_.FieldByName("eng").IsNull());
    EXPECT_FALSE(query_.FieldByName("chs").IsNull());
    EXPECT_THROW(query_.FieldByName("gloss"), EDatabaseError);

    query_.Next();
    query_.Next();
    query_.Next();  // past the end stays at the end
    EXPECT_TRUE(query_.Eof());
    EXPECT_EQ(query_.FieldByName("eng").AsString(), "");
}

TEST_F(QueryTest, AnEmptyResultIsAtItsEndAtOnce) {
    query_.SQL().SetText("select eng,chs from words");
    query_.Open();
    EXPECT_EQ(query_.RecordCount(), 0);
    EXPECT_TRUE(query_.Eof());
    EXPECT_EQ(query_.FieldCount(), 2);
}

TEST_F(QueryTest, BoundValuesAreStoredByteForByteAndNeverChangeTheStatement) {
    const AnsiString values[] = {
        "adam's apple",
        "x'); drop table words; --",
        "\"quoted\" -- not a comment",
        "a;b",
        ":chs",
        std::string("nul\0inside", 10),
        "\xB1\x7C\xD6\xD0",  // a double-byte character whose trail byte is '|'
        "",
        std::string(300, 'z'),
    };
    for (const AnsiString& v : values) EXPECT_EQ(Insert(v, "g" + v), 1);

    query_.SQL().SetText("select eng,chs from words order by rowid");
    query_.Open();
    ASSERT_EQ(query_.RecordCount(), static_cast<int>(std::size(values)));
    for (const AnsiString& v : values) {
        EXPECT_EQ(query_.FieldByName("eng").AsString(), v);
        EXPECT_EQ(query_.FieldByName("chs").AsString(), "g" + v);
        EXPECT_FALSE(query_.FieldByName("eng").IsNull());  // an empty value is not NULL
        query_.Next();
    }
}

TEST_F(QueryTest, OnlyOneStatementRunsPerCall) {
    Insert("one", "1");
    for (const char* sql : {"insert into words (eng) values ('two'); drop table words",
                            "insert into words (eng) values ('two'); garbage"}) {
        query_.SQL().SetText(sql);
        try {
            query_.ExecSQL();
            ADD_FAILURE() << "ran " << sql;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message(), "Characters found after end of SQL statement.");
        }
    }
    EXPECT_EQ(CountWords(), 1);  // neither statement ran at all
    // A trailing semicolon, blanks and comments are no second statement.
    EXPECT_EQ(Exec("insert into words (eng) values ('two'); -- done\r\n  /* really */ "), 1);
    EXPECT_EQ(CountWords(), 2);
}

TEST_F(QueryTest, StatementErrorsCarryTheEnginesText) {
    struct Case { const char* sql; const char* expected; };
    for (const Case& c : {Case{"select eng from nowhere", "no such table: nowhere"},
                          Case{"selec eng from words", "syntax error"},
                          Case{"", "Command text was not set"},
                          Case{"insert into words (eng) values (?)", "Parameter object is improperly defined"}}) {
        query_.SQL().SetText(c.sql);
        try {
            query_.ExecSQL();
            ADD_FAILURE() << "ran " << c.sql;
        } catch (const EDatabaseError& e) {
            EXPECT_NE(e.Message().find(c.expected), AnsiString::npos) << e.Message();
        }
    }
    query_.SQL().SetText("insert into words (eng) values ('x')");
    EXPECT_THROW(query_.Open(), EDatabaseError);  // no rows to open
    EXPECT_FALSE(query_.Active());
}

TEST_F(QueryTest, ExecSQLCountsChangedRowsAndUnsetParametersAreNull) {
    Insert("a", "1");
    Insert("b", "2");
    query_.SQL().SetText("update words set chs = :chs where eng <> :eng");
    query_.Parameters().ParamByName("eng").Value = "nothing";  // :chs left without a value
    EXPECT_EQ(query_.ExecSQL(), 2);
    query_.SQL().SetText("select chs from words");
    query_.Open();
    EXPECT_TRUE(query_.FieldByName("chs").IsNull());
}

TEST_F(QueryTest, ChangingTheTextClosesTheQueryAndRenamesItsParameters) {
    query_.SQL().SetText("select eng from words");
    query_.Open();
    query_.SQL().SetText("select eng from words where eng = :Eng or chs = :eng");
    EXPECT_FALSE(query_.Active());
    ASSERT_EQ(query_.Parameters().Count(), 2u);  // the engine tells the two names apart
    EXPECT_EQ(query_.Parameters()[0].Name, "Eng");
    EXPECT_THROW(query_.Parameters().ParamByName("chs"), EDatabaseError);
}

TEST(SqlParameterNames, FindsNamesOutsideQuotesAndComments) {
    struct Case { const char* sql; std::vector<AnsiString> names; };
    const Case cases[] = {
        {"insert into enword (eng,chs) values (:eng,:chs)", {"eng", "chs"}},
        {"select ':no', \":no\", [:no], `:no` from t where a = :a and b = :a", {"a"}},
        {"select 1 -- :no\n, :yes /* :no */ , 'it''s :no' , :x_1", {"yes", "x_1"}},
        {"select : c, time '10:30'", {}},  // ":" must be followed by a name
        {"select :unterminated '", {"unterminated"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SqlParameterNames(c.sql), c.names) << c.sql;
}

TEST(TSQLLines, KeepsLinesAndJoinsThemWithCrLf) {
    int changes = 0;
    TSQLLines lines([&] { ++changes; });
    lines.SetText("select a\r\nfrom t\nwhere x\r");
    ASSERT_EQ(lines.Count(), 3u);
    EXPECT_EQ(lines[1], "from t");
    EXPECT_EQ(lines.Text(), "select a\r\nfrom t\r\nwhere x\r\n");
    lines.Add("");
    lines.Clear();
    EXPECT_EQ(lines.Text(), "");
    EXPECT_EQ(changes, 3);
}

TEST_F(QueryTest, APreparedStatementRunsAgainWithNewValuesUntilItsTextOrFileChanges) {
    query_.SetPrepared(true);
    query_.SQL().SetText("insert into words (eng,chs) values (:eng,:chs)");
    TParameter& eng = query_.Parameters().ParamByName("eng");
    TParameter& chs = query_.Parameters().ParamByName("chs");
    for (const char* word : {"one", "two", "three"}) {
        eng.Value = AnsiString(word);
        chs.Value = AnsiString("n.");
        EXPECT_EQ(query_.ExecSQL(), 1);
    }
    // A value unset after a run binds NULL, not the value of the run before.
    eng.Value.reset();
    EXPECT_EQ(query_.ExecSQL(), 1);
    connection_.Close();  // the kept statement goes with the file it belongs to
    eng.Value = AnsiString("four");
    chs.Value.reset();
    EXPECT_EQ(query_.ExecSQL(), 1);

    query_.SQL().SetText("select eng from words where chs is not null order by rowid");
    query_.Open();
    std::vector<AnsiString> words;
    for (; !query_.Eof(); query_.Next()) words.push_back(query_.FieldByName("eng").AsString());
    EXPECT_EQ(words, (std::vector<AnsiString>{"one", "two", "three", ""}));
    // Opening the kept select again reads the rows afresh.
    query_.Close();
    Insert(AnsiString("five"), AnsiString("n."));
    query_.SQL().SetText("select count(*) as n from words");
    query_.Open();
    query_.Close();
    query_.Open();
    EXPECT_EQ(query_.FieldByName("n").AsString(), "6");
}
