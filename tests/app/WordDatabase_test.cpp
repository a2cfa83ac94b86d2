#include "WordDatabase.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "DatabaseFile.h"
#include "DbPassword.h"
#include "DatabaseErrors.h"
#include "Exceptions.h"
#include "ScratchFolder.h"
#include "SqlcipherShell.h"
#include "WordTable.h"

namespace {

using ShellResult = SqlcipherResult;
std::string KeyLine() { return SqlcipherKeyLine(); }

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

using Rows = std::vector<std::pair<std::string, std::string>>;

// The rows of enword as the stock shell reads them, as hex of their bytes.
Rows ShellRows(const std::string& file) {
    const ShellResult result =
        RunSqlcipherShell(file, KeyLine() + "select hex(eng) || '|' || hex(chs) from enword order by rowid;\n");
    EXPECT_EQ(result.Status, 0) << result.Output;
    Rows rows;
    std::size_t start = 0;
    while (start < result.Output.size()) {
        std::size_t end = result.Output.find('\n', start);
        if (end == std::string::npos) end = result.Output.size();
        const std::string line = result.Output.substr(start, end - start);
        const std::size_t bar = line.find('|');
        if (bar != std::string::npos) rows.emplace_back(line.substr(0, bar), line.substr(bar + 1));
        start = end + 1;
    }
    return rows;
}

// The first `count` records of WordTable, as hex of their bytes.
Rows TableRows(std::size_t count) {
    Rows rows;
    for (std::size_t i = 0; i < count; ++i) rows.emplace_back(Hex(WordTable[i].Eng), Hex(WordTable[i].Chs));
    return rows;
}

class WordDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(root_ / "dat");
        appDir_ = root_.string() + "/";
        WordTable.Clear();
    }
    void TearDown() override { WordTable.Clear(); }

    std::string DatabaseFile() const { return appDir_ + "dat/WordLib.dat"; }

    // A new database file behind the program's password with an empty enword.
    void MakeEmptyDatabase() {
        CreateADODatabase(WordDatabaseConnectionString(appDir_));
        OpenWordDatabase(connection_, query_, appDir_);
        Exec("create table enword (eng text, chs text)");
    }

    void Exec(const AnsiString& sql) {
        query_.SQL().SetText(sql);
        query_.ExecSQL();
    }

    // The test's own program folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const std::filesystem::path& root_ = scratch_.Path();
    AnsiString appDir_;
    TADOConnection connection_;
    TADOQuery query_;
};

}  // namespace

TEST_F(WordDatabaseTest, OpenSetsUpTheConnectionWithoutTouchingTheFile) {
    OpenWordDatabase(connection_, query_, appDir_);
    EXPECT_FALSE(connection_.Connected());
    EXPECT_FALSE(std::filesystem::exists(DatabaseFile()));
    EXPECT_FALSE(connection_.LoginPrompt);
    EXPECT_TRUE(connection_.KeepConnection);
    EXPECT_EQ(query_.Connection(), &connection_);
    EXPECT_EQ(connection_.ConnectionString(),
              "Provider=SQLCipher;Data Source=" + DatabaseFile() + ";Persist Security Info=False");

    // A second open (the import does one) closes the live connection first.
    MakeEmptyDatabase();
    EXPECT_EQ(AppendDbRows(query_, 0), 0u);
    EXPECT_TRUE(connection_.Connected());
    OpenWordDatabase(connection_, query_, appDir_);
    EXPECT_FALSE(connection_.Connected());
}

TEST_F(WordDatabaseTest, AnEmptyTableStoresNothingAndLeavesRoomForTheEmbeddedWords) {
    MakeEmptyDatabase();
    EXPECT_EQ(AppendDbRows(query_, 3), 0u);
    EXPECT_EQ(WordTable.Length(), 3u);
}

TEST_F(WordDatabaseTest, RowsComeFirstByteForByteCutToTheLimitsWithNullAsEmpty) {
    MakeEmptyDatabase();
    const std::string headword60(60, 'h');
    const std::string gloss300 = "n." + std::string(298, 'g');
    struct Word { std::string eng, chs; };
    const Word words[] = {
        {"adam's apple", "n.\xBA\xED\xB9\xFB"},           // an apostrophe, GBK gloss
        {"x','y'); drop table enword; --", "it's \"--\";"},
        {headword60, gloss300},
        {"", ""},
    };
    for (const Word& w : words) InsertWord(query_, w.eng, w.chs);
    Exec("insert into enword (eng, chs) values (NULL, 'n.null headword')");
    Exec("insert into enword (eng, chs) values ('nullgloss', NULL)");

    ASSERT_EQ(AppendDbRows(query_, 2), 6u);
    ASSERT_EQ(WordTable.Length(), 8u);
    for (std::size_t i = 0; i < std::size(words); ++i) {
        EXPECT_EQ(WordTable[i].Eng, std::string_view(words[i].eng).substr(0, 50)) << i;
        EXPECT_EQ(WordTable[i].Chs, std::string_view(words[i].chs).substr(0, 255)) << i;
    }
    EXPECT_EQ(WordTable[4].Eng, "");
    EXPECT_EQ(WordTable[4].Chs, "n.null headword");
    EXPECT_EQ(WordTable[5].Eng, "nullgloss");
    EXPECT_EQ(WordTable[5].Chs, "");

    // Cutting happens in the table only; the rows keep every byte.
    query_.SQL().SetText("select length(eng) as e, length(chs) as c from enword where eng like 'hhh%'");
    query_.Open();
    EXPECT_EQ(query_.FieldByName("e").AsString(), "60");
    EXPECT_EQ(query_.FieldByName("c").AsString(), "300");
}

TEST_F(WordDatabaseTest, InsertWordsKeepsAllRowsOrNone) {
    MakeEmptyDatabase();
    InsertWord(query_, "kept", "n.x");
    Exec("create trigger refuse before insert on enword when new.eng = 'bad' "
         "begin select raise(abort, 'word refused'); end");
    TEngWordTable words;
    words.SetLength(3000);
    for (std::size_t i = 0; i < words.Length(); ++i) words.Store(i, "w" + std::to_string(i), "n.");
    words.Store(2500, "bad", "n.");  // after the first progress steps
    std::vector<std::size_t> steps;
    try {
        InsertWords(connection_, query_, words, [&](std::size_t done) {
            steps.push_back(done);
            return true;
        });
        ADD_FAILURE() << "the insert of 'bad' succeeded";
    } catch (const EDatabaseEngineError& e) {
        EXPECT_EQ(e.Message(), "word refused");
        EXPECT_EQ(e.Fault, TDatabaseFault::Constraint);
    }
    EXPECT_EQ(steps, (std::vector<std::size_t>{0, 1024, 2048}));
    EXPECT_FALSE(connection_.InTransaction());
    EXPECT_EQ(AppendDbRows(query_, 0), 1u);
    EXPECT_EQ(SqlcipherRowCount(DatabaseFile()), 1);

    // Abandoned half way: nothing kept either. Done: every row, in order.
    words.Store(2500, "good", "n.");
    EXPECT_FALSE(InsertWords(connection_, query_, words, [](std::size_t done) { return done < 2048; }));
    EXPECT_EQ(SqlcipherRowCount(DatabaseFile()), 1);
    steps.clear();
    EXPECT_TRUE(InsertWords(connection_, query_, words, [&](std::size_t done) {
        steps.push_back(done);
        return true;
    }));
    EXPECT_EQ(steps, (std::vector<std::size_t>{0, 1024, 2048, 3000}));
    ASSERT_EQ(AppendDbRows(query_, 0), 3001u);
    EXPECT_EQ(WordTable[1].Eng, "w0");
    EXPECT_EQ(WordTable[2501].Eng, "good");
    EXPECT_EQ(WordTable[3000].Eng, "w2999");
}

// The window lives on during the progress calls and may run its own
// statements on the same query; the rows after that still go in, in order.
TEST_F(WordDatabaseTest, InsertWordsGoesOnAfterTheQueryWasUsedDuringProgress) {
    MakeEmptyDatabase();
    const std::vector<std::string> eng = {"a", "b", "c"};
    std::vector<std::size_t> counted;
    const std::vector<std::string> glosses = {"n.", "n.x", "n.xx"};
    const auto glossAt = [&](std::size_t i) { return TEngWord{eng[i % 3], glosses[i % 3]}; };
    EXPECT_FALSE(InsertWords(connection_, query_, 2500, glossAt, [&](std::size_t done) {
        query_.SQL().SetText("select count(*) as n from enword where eng = :e");
        query_.Parameters().ParamByName("e").SetValue("b");
        query_.Open();
        counted.push_back(std::stoul(query_.FieldByName("n").AsString()));
        query_.Close();
        return done < 2500;  // abandoned only after the last row
    }));
    EXPECT_EQ(counted, (std::vector<std::size_t>{0, 341, 683, 833}));
    EXPECT_EQ(SqlcipherRowCount(DatabaseFile()), 0);  // abandoned at the end: nothing kept

    EXPECT_TRUE(InsertWords(connection_, query_, 2500, glossAt, [&](std::size_t) {
        query_.SQL().SetText("select 1");
        return true;
    }));
    ASSERT_EQ(AppendDbRows(query_, 0), 2500u);
    for (const std::size_t i : {std::size_t{0}, std::size_t{1024}, std::size_t{1025}, std::size_t{2499}}) {
        EXPECT_EQ(WordTable[i].Eng, eng[i % 3]) << i;
        EXPECT_EQ(WordTable[i].Chs, glosses[i % 3]) << i;
    }
}

TEST_F(WordDatabaseTest, AMissingWrongOrDamagedFileFailsTheSelectAndLeavesTheTableEmpty) {
    const AnsiString password = MakeDbPassword(DbPasswordSeed);
    struct Case { const char* name; std::function<void()> make; const char* reason; };
    const Case cases[] = {
        {"missing", [] {}, "unable to open database file"},
        {"wrong password",
         [&] { CreateADODatabase("Provider=SQLCipher;Data Source=" + DatabaseFile() + ";Password=0123456789ABCDEF0123"); },
         "file is encrypted or is not a database"},
        {"damaged",
         [&] {
             MakeEmptyDatabase();
             connection_.Close();
             std::fstream f(DatabaseFile(), std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(0);
             f.write("overwritten header bytes", 24);
         },
         "file is encrypted or is not a database"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(DatabaseFile());
        c.make();
        WordTable.Clear();
        OpenWordDatabase(connection_, query_, appDir_);
        try {
            AppendDbRows(query_, 5);
            ADD_FAILURE() << c.name << ": the select succeeded";
        } catch (const EDatabaseError& e) {
            EXPECT_NE(e.Message().find(c.reason), AnsiString::npos) << c.name << ": " << e.Message();
            EXPECT_NE(e.Message().find("dat/WordLib.dat"), AnsiString::npos) << c.name << ": " << e.Message();
            EXPECT_EQ(e.Message().find(password), AnsiString::npos) << c.name;
        }
        EXPECT_EQ(WordTable.Length(), 0u) << c.name;
        EXPECT_FALSE(connection_.Connected()) << c.name;
    }
    std::filesystem::remove(DatabaseFile());
    OpenWordDatabase(connection_, query_, appDir_);
    EXPECT_THROW(InsertWord(query_, "cat", "n.cat"), EDatabaseError);
    EXPECT_FALSE(std::filesystem::exists(DatabaseFile()));  // never created behind the user's back
}

TEST_F(WordDatabaseTest, TheDeliveredFileHoldsTheStarterWordsForOursAndTheStockShell) {
    const std::string appDir = std::string(MIRVO_BINARY_DIR) + "/bin/";
    ASSERT_TRUE(std::filesystem::exists(appDir + "dat/WordLib.dat")) << "build the wordlib-dat target first";

    std::ifstream in(std::string(MIRVO_SOURCE_DIR) + "/tools/wordlib-db/StarterWords.txt", std::ios::binary);
    Rows starter;
    for (std::string line; std::getline(in, line);) {
        const AnsiString gbk = Utf8ToAnsi(line);
        const std::size_t bar = gbk.find('|');
        starter.emplace_back(Hex(gbk.substr(0, bar)), Hex(gbk.substr(bar + 1)));
    }
    ASSERT_GE(starter.size(), 30u);

    OpenWordDatabase(connection_, query_, appDir);
    const std::size_t rows = AppendDbRows(query_, 0);
    EXPECT_EQ(TableRows(rows), starter);
    EXPECT_EQ(ShellRows(appDir + "dat/WordLib.dat"), starter);

    // Without the key the shell sees no database at all.
    const ShellResult unkeyed = RunSqlcipherShell(appDir + "dat/WordLib.dat", "select count(*) from enword;\n");
    EXPECT_NE(unkeyed.Status, 0);
    EXPECT_NE(unkeyed.Output.find("file is encrypted or is not a database"), std::string::npos) << unkeyed.Output;
}

TEST_F(WordDatabaseTest, AFileWrittenByTheStockShellIsReadByOurs) {
    const ShellResult made = RunSqlcipherShell(
        DatabaseFile(), KeyLine() +
                            "create table enword (eng varchar(50), chs varchar(255));\n"
                            "insert into enword values ('cat', cast(x'6E2EC3A8' as text));\n"
                            "insert into enword values ('it''s', NULL);\n"
                            "insert into enword values (NULL, 'n.x');\n");
    ASSERT_EQ(made.Status, 0) << made.Output;

    OpenWordDatabase(connection_, query_, appDir_);
    ASSERT_EQ(AppendDbRows(query_, 0), 3u);
    EXPECT_EQ(TableRows(3), (Rows{{Hex("cat"), "6E2EC3A8"}, {Hex("it's"), ""}, {"", Hex("n.x")}}));

    // And a word we insert is what the shell reads back.
    InsertWord(query_, "dog", "n.\xB9\xB7");
    EXPECT_EQ(ShellRows(DatabaseFile()).back(), (std::pair<std::string, std::string>{Hex("dog"), "6E2EB9B7"}));
}
