#include "CommandLine.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "DatabaseFile.h"
#include "DbKeyCache.h"
#include "DbPassword.h"
#include "MeantWords.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "ScopedProcessState.h"
#include "ScratchFolder.h"
#include "TerminalText.h"
#include "WordDatabase.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

// Text typed at a UTF-8 terminal; u8 literals stay UTF-8 whatever the
// compiler turns ordinary literals into.
std::string Typed(const char8_t* text) { return reinterpret_cast<const char*>(text); }

CommandLineRequest Parse(std::vector<std::string_view> args) { return ParseCommandLine(args); }

TEST(ParseCommandLine, ReadsLookupsAndRejectsWhatItDoesNotKnow) {
    struct Case {
        std::vector<std::string_view> args;
        CommandAction action;
        std::string word;
        bool builtin;
    };
    const Case cases[] = {
        {{}, CommandAction::OpenWindow, "", false},
        {{"-l", "apple"}, CommandAction::Lookup, "apple", false},
        {{"--lookup", "apple pie"}, CommandAction::Lookup, "apple pie", false},
        {{"--builtin", "-l", "apple"}, CommandAction::Lookup, "apple", true},
        {{"-l", "apple", "--builtin"}, CommandAction::Lookup, "apple", true},
        {{"--lookup=ice cream"}, CommandAction::Lookup, "ice cream", false},
        {{"-lwater"}, CommandAction::Lookup, "water", false},
        {{"-l", "-ness"}, CommandAction::Lookup, "-ness", false},  // the word may start with "-"
        {{"-l", ""}, CommandAction::Lookup, "", false},
        {{"--help"}, CommandAction::ShowHelp, "", false},
        {{"-l", "apple", "-h"}, CommandAction::ShowHelp, "", false},
        {{"--version"}, CommandAction::ShowVersion, "", false},
        {{"-l"}, CommandAction::UsageError, "", false},
        {{"--lookup"}, CommandAction::UsageError, "", false},
        {{"-l", "apple", "pie"}, CommandAction::UsageError, "", false},
        {{"-l", "a", "-l", "b"}, CommandAction::UsageError, "", false},
        {{"--builtin"}, CommandAction::UsageError, "", false},
        {{"--lokup", "apple"}, CommandAction::UsageError, "", false},
        // Words without an option go to the window, joined by blanks.
        {{"apple"}, CommandAction::LookUpInWindow, "apple", false},
        {{"ice", "cream"}, CommandAction::LookUpInWindow, "ice cream", false},
        {{"--selection"}, CommandAction::LookUpSelection, "", false},
        {{"--selection", "apple"}, CommandAction::UsageError, "", false},
        {{"-l", "a", "--selection"}, CommandAction::UsageError, "", false},
        {{"--builtin", "apple"}, CommandAction::UsageError, "", false},
    };
    for (const Case& c : cases) {
        const CommandLineRequest request = Parse(c.args);
        std::string shown;
        for (std::string_view a : c.args) shown += "[" + std::string(a) + "]";
        EXPECT_EQ(request.Action, c.action) << shown;
        if (c.action == CommandAction::Lookup || c.action == CommandAction::LookUpInWindow) {
            EXPECT_EQ(request.Word, c.word) << shown;
            EXPECT_EQ(request.BuiltinOnly, c.builtin) << shown;
        }
        EXPECT_EQ(request.Action == CommandAction::UsageError, !request.Error.empty()) << shown;
    }
}

TEST(CommandLine, HelpVersionAndUsageErrorsAnswerOnTheRightStream) {
    const CommandLineOutput help = RunCommandLine(Parse({"--help"}), "/nonexistent/", "UTF-8");
    EXPECT_EQ(help.Status, kExitFound);
    EXPECT_NE(help.Out.find("--lookup WORD"), std::string::npos);
    EXPECT_TRUE(help.Err.empty());

    const CommandLineOutput version = RunCommandLine(Parse({"--version"}), "/nonexistent/", "UTF-8");
    EXPECT_EQ(version.Out, "mirvodict 1.20\n");

    const CommandLineOutput usage = RunCommandLine(Parse({"-l", "a", "b"}), "/nonexistent/", "UTF-8");
    EXPECT_EQ(usage.Status, kExitTrouble);
    EXPECT_TRUE(usage.Out.empty());
    EXPECT_NE(usage.Err.find("'b'"), std::string::npos);
    EXPECT_NE(usage.Err.find("--help"), std::string::npos);
}

// A program folder of its own with a word database beside it.
class CommandLineLookup : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(root_ / "dat");
        appDir_ = root_.string() + "/";
        WordTable.Clear();
    }
    void TearDown() override {
        WordTable.Clear();
    }

    // The database beside the program, holding these rows in this order.
    void MakeDatabase(const std::vector<std::pair<std::string, std::string>>& rows) {
        CreateADODatabase(WordDatabaseConnectionString(appDir_));
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, appDir_);
        query.SQL().SetText("create table enword (eng text, chs text)");
        query.ExecSQL();
        for (const auto& [eng, chs] : rows) InsertWord(query, eng, chs);
    }

    // The word table as the window fills it at start-up: the database rows
    // (when there is a database), then the embedded list.
    TEngWordTable WindowTable(bool withDatabase) {
        const std::vector<std::string_view> lines = LoadEmbeddedWordList();
        std::size_t rows = 0;
        if (withDatabase) {
            TADOConnection connection;
            TADOQuery query;
            OpenWordDatabase(connection, query, appDir_);
            rows = AppendDbRows(query, lines.size());
        } else {
            WordTable.SetLength(lines.size());
        }
        AppendWordLines(lines, rows);
        TEngWordTable table = std::move(WordTable);
        WordTable.Clear();
        return table;
    }

    // What the translate button lists for `word` (program text) in `table`,
    // each hit with its gloss, as the command line prints them in `charset`.
    static std::string WindowHits(const TEngWordTable& table, const AnsiString& word, std::string_view charset) {
        std::string printed;
        for (const TMeantHit& hit : LookupMeantWords(table, word)) {
            printed += AnsiToTerminal(hit.Eng, charset) + "\t" + AnsiToTerminal(table[hit.Index].Chs, charset) + "\n";
        }
        return printed;
    }

    CommandLineOutput Run(std::vector<std::string_view> args, std::string_view charset = "UTF-8") {
        return RunCommandLine(Parse(std::move(args)), appDir_, charset);
    }

    // The test's own folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const std::filesystem::path& root_ = scratch_.Path();
    AnsiString appDir_;
    // The user's key cache lives in the test's own folder.
    const std::filesystem::path cacheHome_ = scratch_.Path() / "cache";
    const EnvVar cacheHomeVar_{"XDG_CACHE_HOME", cacheHome_.string()};
    const std::filesystem::path keyCache_ = cacheHome_ / "mirvodict" / "dbkeys";
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t LineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(CommandLineLookup, ListsTheWindowsHitsInItsOrderDatabaseRowsFirst) {
    // Program text (GBK): these literals compile to the program's code page.
    MakeDatabase({{"apple", "n.数据库里的苹果"}, {"applesauce", "n.苹果酱"}, {"zebra crossing", "n.斑马线"}});
    struct Case {
        std::string typed;    // at a UTF-8 terminal
        AnsiString program;   // the same word in program text
        int status;
        std::string note;     // what standard error says of the hits
    };
    const Case cases[] = {
        {"apple", "apple", kExitFound, ""},        // database rows, then the list's, cut at eleven
        {"appl", "appl", kExitFound, ""},
        {"zebra", "zebra", kExitFound, ""},
        {"n", "n", kExitFound, ""},                // every gloss tagged "n." counts
        {"apple ", "apple ", kExitFound, ""},      // the trailing blank counts
        {Typed(u8"苹果"), "苹果", kExitFound, ""},  // Chinese text finds glosses
        {Typed(u8"斑马"), "斑马", kExitFound, ""},
        {"Apple", "Apple", kExitFound, ""},        // the headword in other letter case
        {"Went", "Went", kExitFound, "mirvodict: \"Went\" is a form of go; the first hits are its dictionary forms\n"},
        {"apples", "apples", kExitFound, "mirvodict: \"apples\" is a form of apple; the first hits are its dictionary forms\n"},
        {"better", "better", kExitFound, "mirvodict: \"better\" is a form of good; the first hits are its dictionary forms\n"},
        {"recieve", "recieve", kExitFound, "mirvodict: \"recieve\" is not a headword; the hits include spelling suggestions\n"},
        {"qqxqzz", "qqxqzz", kExitNothingFound, ""},
        {"", "", kExitNothingFound, ""},
    };
    const TEngWordTable window = WindowTable(true);
    for (const Case& c : cases) {
        const CommandLineOutput out = Run({"-l", c.typed});
        EXPECT_EQ(out.Status, c.status) << c.typed;
        EXPECT_EQ(out.Out, WindowHits(window, c.program, "UTF-8")) << c.typed;
        EXPECT_LE(LineCount(out.Out), kMaxWordHits) << c.typed;
        EXPECT_EQ(out.Err, c.note) << c.typed;
    }
    // A form and a suggestion are listed before or after the word's own hits
    // as in the window; the built-in list alone gives the same as the window
    // without a database.
    const TEngWordTable builtin = WindowTable(false);
    for (const char* typed : {"went", "mice", "seperate", "YOUR", "Zebra", "for", "in", "apple"}) {
        EXPECT_EQ(Run({"--builtin", "-l", typed}).Out, WindowHits(builtin, typed, "UTF-8")) << typed;
    }
    // The word itself leads, the database's record first, then the list's;
    // the other hits follow, the database's first.
    const CommandLineOutput apple = Run({"-l", "apple"});
    EXPECT_EQ(LineCount(apple.Out), kMaxWordHits);
    EXPECT_TRUE(apple.Out.starts_with(Typed(u8"apple\tn.数据库里的苹果\napple\tn.苹果,家伙\napplesauce\tn.苹果酱\n")))
        << apple.Out;
}

TEST_F(CommandLineLookup, BuiltinLeavesTheDatabaseAloneEvenABrokenOne) {
    std::ofstream(root_ / "dat" / "WordLib.dat") << "not a database at all";
    const CommandLineOutput builtin = Run({"--builtin", "-l", "apple"});
    EXPECT_EQ(builtin.Status, kExitFound);
    EXPECT_TRUE(builtin.Err.empty()) << builtin.Err;
    EXPECT_EQ(builtin.Out, WindowHits(WindowTable(false), "apple", "UTF-8"));

    // Without --builtin the same file is an error, and the list still answers.
    const CommandLineOutput withDb = Run({"-l", "apple"});
    EXPECT_EQ(withDb.Status, kExitTrouble);
    EXPECT_NE(withDb.Err.find("word database"), std::string::npos) << withDb.Err;
    EXPECT_EQ(withDb.Out, builtin.Out);
}

TEST_F(CommandLineLookup, AMissingDatabaseIsReportedAndTheListStillAnswers) {
    const CommandLineOutput found = Run({"-l", "water"});
    EXPECT_EQ(found.Status, kExitTrouble);
    EXPECT_NE(found.Err.find("cannot read the word database"), std::string::npos) << found.Err;
    EXPECT_EQ(found.Out, WindowHits(WindowTable(false), "water", "UTF-8"));
    EXPECT_FALSE(found.Out.empty());
    // Nothing found does not hide the failure either.
    EXPECT_EQ(Run({"-l", "qqxqzz"}).Status, kExitTrouble);
    EXPECT_FALSE(std::filesystem::exists(root_ / "dat" / "WordLib.dat"));  // nothing was created
}

TEST_F(CommandLineLookup, SpeaksTheTerminalsCharset) {
    MakeDatabase({});
    // A GBK terminal gets the program's bytes as they are, and types them too.
    const CommandLineOutput gbk = Run({"-l", AnsiString("苹果")}, "GBK");
    EXPECT_EQ(gbk.Status, kExitFound);
    EXPECT_EQ(gbk.Out, WindowHits(WindowTable(true), "苹果", "GBK"));
    EXPECT_NE(gbk.Out.find(AnsiString("苹果")), std::string::npos);

    // A word that is not valid text in the charset, or that GBK cannot hold,
    // is refused rather than looked up as something else.
    for (const std::string& bad : {std::string("app\xFF"), Typed(u8"apple\U0001F34E")}) {
        const CommandLineOutput out = Run({"-l", bad});
        EXPECT_EQ(out.Status, kExitTrouble);
        EXPECT_TRUE(out.Out.empty());
        EXPECT_FALSE(out.Err.empty());
    }
}

TEST_F(CommandLineLookup, AHitIsOneLineWhateverItsRowHolds) {
    MakeDatabase({{"evil\tword", "n.line one\r\nline two \x1B[2J end"}, {"evil\x7F", "n.half \xB0"}});
    const CommandLineOutput out = Run({"-l", "evil"});
    EXPECT_EQ(out.Status, kExitFound);
    // Control characters became blanks; the half of a double-byte character
    // that a cut left behind became a replacement character.
    // (The list's own "evil" comes first: it is the word as typed.)
    EXPECT_NE(out.Out.find("\nevil word\tn.line one  line two  [2J end\n"
                           "evil \tn.half \xEF\xBF\xBD\n"),
              std::string::npos)
        << out.Out;
}

// The database key a lookup derives is kept for the next one; a kept key
// that is wrong or not the user's alone is passed over, and the database
// is read and left exactly as it was.
TEST_F(CommandLineLookup, KeepsTheDatabaseKeyAndPassesOverABadOne) {
    MakeDatabase({{"zzyzx", "n.key cache row"}});
    const std::string file = root_.string() + "/dat/WordLib.dat";
    const std::string before = ReadBytes(file);
    const std::string salt = DatabaseSalt(file);
    ASSERT_EQ(salt.size(), 32u);
    const AnsiString key = DeriveDatabaseKey(MakeDbPassword(DbPasswordSeed), salt);

    const CommandLineOutput first = Run({"-l", "zzyzx"});
    EXPECT_EQ(first.Status, kExitFound) << first.Err;
    EXPECT_TRUE(first.Out.starts_with("zzyzx\tn.key cache row\n")) << first.Out;
    ASSERT_EQ(CachedDatabaseKey(keyCache_.string(), salt), key);
    EXPECT_EQ(std::filesystem::status(keyCache_).permissions(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::filesystem::status(keyCache_.parent_path()).permissions(), std::filesystem::perms::owner_all);

    // The kept key opens the file on its own (it is the key the engine derives).
    TADOConnection raw;
    raw.LoginPrompt = false;
    raw.SetConnectionString("Provider=SQLCipher;Data Source=" + AnsiString(file) +
                            ";Jet OLEDB:Database Password=" + key);
    TADOQuery query;
    query.SetConnection(&raw);
    query.SQL().SetText("select eng from enword");
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1);
    query.Close();
    raw.Close();

    // A wrong key in the cache: the password answers and the entry is put right.
    const AnsiString wrong = DeriveDatabaseKey("not the password", salt);
    RememberDatabaseKey(keyCache_.string(), salt, wrong);
    ASSERT_EQ(CachedDatabaseKey(keyCache_.string(), salt), wrong);
    const CommandLineOutput second = Run({"-l", "zzyzx"});
    EXPECT_EQ(second.Out, first.Out);
    EXPECT_EQ(second.Status, kExitFound) << second.Err;
    EXPECT_EQ(CachedDatabaseKey(keyCache_.string(), salt), key);

    // A cache others may read, a link, or a foreign line is not used.
    std::filesystem::permissions(keyCache_, std::filesystem::perms::group_read, std::filesystem::perm_options::add);
    EXPECT_EQ(CachedDatabaseKey(keyCache_.string(), salt), std::nullopt);
    std::filesystem::remove(keyCache_);
    std::filesystem::create_symlink(root_ / "elsewhere", keyCache_);
    std::ofstream(root_ / "elsewhere") << salt << " " << key.substr(2, 64) << "\n";
    std::filesystem::permissions(root_ / "elsewhere", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(CachedDatabaseKey(keyCache_.string(), salt), std::nullopt);
    EXPECT_EQ(Run({"-l", "zzyzx"}).Out, first.Out);
    std::filesystem::remove(keyCache_);
    std::ofstream(keyCache_) << "garbage\n" << salt << " nothex\n";
    std::filesystem::permissions(keyCache_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(CachedDatabaseKey(keyCache_.string(), salt), std::nullopt);
    EXPECT_EQ(Run({"-l", "zzyzx"}).Out, first.Out);

    EXPECT_TRUE(ReadBytes(file) == before) << "the database file changed";
}

}  // namespace
