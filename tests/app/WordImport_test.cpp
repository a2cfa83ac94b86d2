#include "WordImport.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "DatabaseFile.h"
#include "Exceptions.h"
#include "WordDatabase.h"
#include "WordTable.h"

namespace {

namespace fs = std::filesystem;

struct ShownMessage {
    AnsiString Text;
    int Kind;
    int Buttons;
    bool operator==(const ShownMessage&) const = default;
};

using Rows = std::vector<std::pair<std::string, std::string>>;

// A program directory with a real word database (empty table enword), a
// message box that answers from a script and records what it showed, and a
// gloss pane and share button that count their calls.
class WordImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mirvo-import-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directory(root_ / "dat");
        appDir_ = root_.string() + "/";
        CreateADODatabase(WordDatabaseConnectionString(appDir_));
        OpenWordDatabase(connection_, query_, appDir_);
        Exec("create table enword (eng text, chs text)");
        connection_.Close();
    }
    void TearDown() override {
        connection_.Close();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    TWordImportContext Context() {
        return {connection_, query_, appDir_,
                [this](const AnsiString& text, int kind, int buttons) {
                    shown_.push_back({text, kind, buttons});
                    if (answers_.empty()) {
                        ADD_FAILURE() << "unexpected message";
                        return mrCancel;
                    }
                    const int answer = answers_.front();
                    answers_.erase(answers_.begin());
                    return answer;
                },
                [this] { ++glossPaneCleared_; }, [this] { ++shared_; }};
    }

    AnsiString WriteFile(const char* name, const std::string& bytes) {
        const AnsiString path = appDir_ + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    void Exec(const AnsiString& sql) {
        query_.SQL().SetText(sql);
        query_.ExecSQL();
    }

    Rows DatabaseRows() {
        OpenWordDatabase(connection_, query_, appDir_);
        query_.SQL().SetText("select eng, chs from enword order by rowid");
        query_.Open();
        Rows rows;
        for (; !query_.Eof(); query_.Next()) {
            rows.emplace_back(query_.FieldByName("eng").AsString(), query_.FieldByName("chs").AsString());
        }
        query_.Close();
        return rows;
    }

    fs::path root_;
    AnsiString appDir_;
    TADOConnection connection_;
    TADOQuery query_;
    std::vector<int> answers_;
    std::vector<ShownMessage> shown_;
    int glossPaneCleared_ = 0;
    int shared_ = 0;
};

const ShownMessage kPreviewQuestion{"请检查预览数据，是否导入单词库？", mtCustom, mbYes | mbNo};

ShownMessage Report(int count) {
    return {"单词导入完毕！新增单词" + std::to_string(count) + "个。\r\n是否共享新单词？", mtInformation, mbYes | mbNo};
}

}  // namespace

TEST(WordListPath, NeedsDotTxtAnywhereCaseSensitively) {
    struct Case { const char* path; bool passes; };
    const Case cases[] = {
        {"/home/u/words.txt", true},
        {"D:\\a.txt.bak", true},
        {"C:\\", false},
        {"", false},
        {"/home/u/WORDS.TXT", false},
        {"/home/u/words.tx", false},
        // ".txt" whose '.' would be the second byte of a double-byte character is no match.
        {"\xB0.txt", false},
        {"\xB0\xA1.txt", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsWordListPath(c.path), c.passes) << c.path;
}

TEST_F(WordImportTest, ImportsEveryLineIncludingEmptyOnesAndOffersToShare) {
    WordTable.Clear();
    WordTable.SetLength(1);
    WordTable.Store(0, "apple", "n.苹果");
    const AnsiString path = WriteFile("new.txt", "cat|n.猫\r\n\r\nadam's apple|n.喉结");
    answers_ = {mrYes, mrYes};

    ImportWordList(path, Context());

    EXPECT_EQ(DatabaseRows(), (Rows{{"cat", "n.猫"}, {"", ""}, {"adam's apple", "n.喉结"}}));
    EXPECT_EQ(shown_, (std::vector<ShownMessage>{kPreviewQuestion, Report(3)}));
    EXPECT_EQ(glossPaneCleared_, 1);
    EXPECT_EQ(shared_, 1);
    // The words go to the database only; the table in memory finds them after the next start.
    EXPECT_EQ(WordTable.Length(), 1u);
    EXPECT_TRUE(LookupWords("cat").empty());
    WordTable.Clear();
}

TEST_F(WordImportTest, CountsEveryLineReadAndCutsFieldsToTheirLimits) {
    Exec("insert into enword values ('cat', 'n.old')");
    const std::string headword60(60, 'h');
    const std::string gloss300 = "n." + std::string(298, 'g');
    const AnsiString path = WriteFile("words.txt", "cat|n.猫\n" + headword60 + "|" + gloss300 + "\nno separator\n");
    answers_ = {mrYes, mrCancel};  // the report closed without an answer shares nothing

    ImportWordFile(path, Context());

    EXPECT_EQ(DatabaseRows(), (Rows{{"cat", "n.old"},
                                    {"cat", "n.猫"},
                                    {headword60.substr(0, 50), gloss300.substr(0, 255)},
                                    {"", "o separator"}}));
    EXPECT_EQ(shown_.back(), Report(3));  // a headword already present counts too
    EXPECT_EQ(shared_, 0);
}

TEST_F(WordImportTest, OnlyYesToThePreviewQuestionInserts) {
    const AnsiString path = WriteFile("words.txt", "cat|n.猫\r\n");
    for (const int answer : {mrNo, mrCancel}) {
        SCOPED_TRACE(answer);
        shown_.clear();
        answers_ = {answer};
        ImportWordFile(path, Context());
        EXPECT_EQ(shown_, std::vector<ShownMessage>{kPreviewQuestion});
    }
    EXPECT_EQ(glossPaneCleared_, 2);
    EXPECT_TRUE(DatabaseRows().empty());
    EXPECT_EQ(shared_, 0);
}

TEST_F(WordImportTest, ABadPathOrAnUnreadableFileChangesNothing) {
    answers_ = {mrYes};
    ImportWordList("C:\\", Context());
    EXPECT_EQ(shown_, (std::vector<ShownMessage>{{"非法文件！", mtInformation, mbYes}}));

    shown_.clear();
    const AnsiString missing = appDir_ + "missing.txt";
    try {
        ImportWordList(missing, Context());
        ADD_FAILURE() << "a missing file was imported";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(missing), AnsiString::npos) << e.Message();
    }
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(glossPaneCleared_, 0);
    EXPECT_EQ(shared_, 0);
    EXPECT_TRUE(DatabaseRows().empty());
}

TEST_F(WordImportTest, AFailingInsertStopsTheImportAndKeepsTheRowsBeforeIt) {
    Exec("create trigger refuse before insert on enword when new.eng = 'bad' "
         "begin select raise(abort, 'word refused'); end");
    connection_.Close();
    const AnsiString path = WriteFile("words.txt", "one|n.1\ntwo|n.2\nbad|n.x\nthree|n.3\n");
    answers_ = {mrYes};
    EXPECT_THROW(ImportWordFile(path, Context()), EDatabaseError);
    EXPECT_EQ(shown_, std::vector<ShownMessage>{kPreviewQuestion});  // no report
    EXPECT_EQ(DatabaseRows(), (Rows{{"one", "n.1"}, {"two", "n.2"}}));
}
