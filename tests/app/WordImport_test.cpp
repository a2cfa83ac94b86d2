#include "WordImport.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "DatabaseFile.h"
#include "Exceptions.h"
#include "ScratchFolder.h"
#include "SqlcipherShell.h"
#include "WordDatabase.h"
#include "TStrings.h"
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
        fs::create_directory(root_ / "dat");
        appDir_ = root_.string() + "/";
        CreateADODatabase(WordDatabaseConnectionString(appDir_));
        OpenWordDatabase(connection_, query_, appDir_);
        Exec("create table enword (eng text, chs text)");
        connection_.Close();
    }
    void TearDown() override { connection_.Close(); }

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
                [this](const AnsiString& preview) { previews_.push_back(preview); },
                [this] { ++shared_; },
                [this](std::size_t done, std::size_t total) {
                    progress_.emplace_back(done, total);
                    return keepGoing_(done);
                },
                [this](std::uint64_t done, std::uint64_t total) {
                    readProgress_.emplace_back(done, total);
                    return keepReading_(done);
                },
                [this](const TEngWordTable& records) {
                    for (std::size_t i = 0; i < records.Length(); ++i)
                        imported_.emplace_back(records[i].Eng, records[i].Chs);
                }};
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

    // The test's own program folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const fs::path& root_ = scratch_.Path();
    AnsiString appDir_;
    TADOConnection connection_;
    TADOQuery query_;
    std::vector<int> answers_;
    std::vector<ShownMessage> shown_;
    std::vector<AnsiString> previews_;
    std::vector<std::pair<std::size_t, std::size_t>> progress_;
    std::function<bool(std::size_t)> keepGoing_ = [](std::size_t) { return true; };
    std::vector<std::pair<std::uint64_t, std::uint64_t>> readProgress_;
    std::function<bool(std::uint64_t)> keepReading_ = [](std::uint64_t) { return true; };
    Rows imported_;  // what the window was told went in
    int shared_ = 0;
};

const ShownMessage kPreviewQuestion{"请检查预览数据，是否导入单词库？", mtCustom, mbYes | mbNo};

// `count` lines "w<i>|n." followed by `glossBytes` more gloss bytes.
std::string ManyLines(int count, std::size_t glossBytes = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "w" + std::to_string(i) + "|n." + std::string(glossBytes, 'g') + "\r\n";
    return text;
}

// Runs `work` in a child process and returns what it wrote, once it has ended.
std::string InChild(const std::function<std::string()>& work) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        std::string result;
        try {
            result = work();
        } catch (const std::exception& e) {
            result = std::string("child failed: ") + e.what();
        }
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t n = write(out[1], result.data() + done, result.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        _exit(0);
    }
    close(out[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return result;
}

const char kImportUndone[] = "单词导入失败，单词库保持导入前的样子，没有加入任何单词。";

ShownMessage Report(int count) {
    return {"单词导入完毕！新增单词" + std::to_string(count) + "个。\r\n是否共享新单词？", mtInformation, mbYes | mbNo};
}

}  // namespace

TEST(WordListPath, NeedsDotTxtAnywhereInAnyLetterCase) {
    struct Case { const char* path; bool passes; };
    const Case cases[] = {
        {"/home/u/words.txt", true},
        {"D:\\a.txt.bak", true},
        {"C:\\", false},
        {"", false},
        {"/home/u/WORDS.TXT", true},
        {"/home/u/MyWords.Txt", true},
        {"/home/u/words.tx", false},
        // ".txt" whose '.' would be the second byte of a double-byte character is no match.
        {"\xB0.txt", false},
        {"\xB0\xA1.txt", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsWordListPath(c.path), c.passes) << c.path;
}

TEST_F(WordImportTest, ImportsTheWordLinesSkipsAndCountsTheOthersAndOffersToShare) {
    WordTable.Clear();
    WordTable.SetLength(1);
    WordTable.Store(0, "apple", "n.苹果");
    const AnsiString path = WriteFile("new.txt", "cat|n.猫\r\n\r\n  \t\r\nno separator\r\n|n.无词头\r\n  |n.空白词头\r\n"
                                                 "adam's apple|n.喉结\r\nx | y|z");
    answers_ = {mrYes, mrYes};

    ImportWordList(path, Context());

    const Rows rows{{"cat", "n.猫"}, {"adam's apple", "n.喉结"}, {"x ", " y|z"}};
    EXPECT_EQ(DatabaseRows(), rows);
    EXPECT_EQ(imported_, rows);
    // Blank lines are passed over without a word; the three other lines are counted.
    EXPECT_EQ(previews_, std::vector<AnsiString>{"将导入3条记录（3 行格式不对，已跳过）：\r\ncat | n.猫\r\n"
                                                 "adam's apple | n.喉结\r\nx  |  y|z"});
    EXPECT_EQ(shown_, (std::vector<ShownMessage>{
                          kPreviewQuestion,
                          {"单词导入完毕！新增单词3个。3 行格式不对，已跳过。\r\n是否共享新单词？", mtInformation, mbYes | mbNo}}));
    EXPECT_EQ(shared_, 1);
    // The import itself leaves the table to the window.
    EXPECT_EQ(WordTable.Length(), 1u);
    WordTable.Clear();
}

TEST_F(WordImportTest, CountsTheWordsImportedAndCutsFieldsToTheirLimits) {
    Exec("insert into enword values ('cat', 'n.old')");
    const std::string headword60(60, 'h');
    const std::string gloss300 = "n." + std::string(298, 'g');
    const AnsiString path = WriteFile("words.txt", "cat|n.猫\n" + headword60 + "|" + gloss300 + "\n");
    answers_ = {mrYes, mrCancel};  // the report closed without an answer shares nothing

    ImportWordFile(path, Context());

    EXPECT_EQ(DatabaseRows(), (Rows{{"cat", "n.old"}, {"cat", "n.猫"}, {headword60.substr(0, 50), gloss300.substr(0, 255)}}));
    EXPECT_EQ(shown_.back(), Report(2));  // a headword already present counts too
    EXPECT_EQ(shared_, 0);
}

TEST_F(WordImportTest, BinaryContentOrAFileOverTheLimitIsRefusedBeforeThePreview) {
    struct Case { const char* name; std::function<AnsiString()> make; const char* says; };
    const Case cases[] = {
        {"NUL byte", [&] { return WriteFile("nul.txt", std::string("cat|n.猫\0dog|n.狗\r\n", 19)); }, "不是文本文件"},
        {"gzip", [&] { return WriteFile("list.txt.gz.txt", std::string("\x1F\x8B\x08\x00\x12\x34\x56\x78\x00\x03", 10)); },
         "不是文本文件"},
        {"picture renamed", [&] { return WriteFile("pic.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)); },
         "不是文本文件"},
        {"NUL in UTF-16", [&] { return WriteFile("u16.txt", std::string("\xFF\xFE" "a\0|\0b\0\0\0", 10)); },
         "不是文本文件"},
        // Sparse: 3 GB that take no room on the disk and are never read.
        {"3 GB", [&] {
             const AnsiString path = WriteFile("huge.txt", "");
             fs::resize_file(path.c_str(), std::uint64_t{3} << 30);
             return path;
         }, "有 3.0 GB，超过了单词列表文件的上限 256.0 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AnsiString path = c.make();
        try {
            ImportWordFile(path, Context());
            ADD_FAILURE() << "imported";
        } catch (const EReadError& e) {
            EXPECT_NE(e.Message().find(c.says), AnsiString::npos) << e.Message();
            EXPECT_NE(e.Message().find(path), AnsiString::npos) << e.Message();
        }
        fs::remove(path.c_str());
    }
    EXPECT_TRUE(previews_.empty());
    EXPECT_TRUE(shown_.empty());
    EXPECT_TRUE(DatabaseRows().empty());
}

TEST_F(WordImportTest, AbandoningTheReadingShowsAndAsksNothing) {
    const AnsiString path = WriteFile("words.txt", ManyLines(200000));
    keepReading_ = [](std::uint64_t done) { return done == 0; };
    ImportWordFile(path, Context());
    EXPECT_GE(readProgress_.size(), 2u);
    EXPECT_TRUE(previews_.empty());
    EXPECT_TRUE(shown_.empty());
    EXPECT_TRUE(DatabaseRows().empty());
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
    EXPECT_EQ(previews_.size(), 2u);
    EXPECT_TRUE(progress_.empty());
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
    EXPECT_TRUE(previews_.empty());
    EXPECT_EQ(shared_, 0);
    EXPECT_TRUE(DatabaseRows().empty());
}


TEST_F(WordImportTest, ThePreviewShowsTheFirstHundredRecordsAndTheirNumber) {
    const AnsiString path = WriteFile("words.txt", ManyLines(150));
    answers_ = {mrYes, mrNo};
    ImportWordFile(path, Context());
    ASSERT_EQ(previews_.size(), 1u);
    TStringList lines;
    lines.SetText(previews_[0]);
    ASSERT_EQ(lines.Count(), 101);
    EXPECT_EQ(lines[0], "将导入150条记录，以下是前100条：");
    EXPECT_EQ(lines[1], "w0 | n.");
    EXPECT_EQ(lines[100], "w99 | n.");
    EXPECT_EQ(progress_, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 150}, {150, 150}}));
    EXPECT_EQ(DatabaseRows().size(), 150u);
}

TEST_F(WordImportTest, AFailingInsertALockOrAnAbandonedImportLeavesTheDatabaseAsItWas) {
    Exec("insert into enword values ('kept', 'n.')");
    Exec("create trigger refuse before insert on enword when new.eng = 'bad' "
         "begin select raise(abort, 'word refused'); end");
    connection_.Close();
    const std::string dbFile = appDir_ + "dat/WordLib.dat";
    const AnsiString list = WriteFile("words.txt", ManyLines(3000) + "bad|n.x\r\n" + ManyLines(10));
    const AnsiString good = WriteFile("good.txt", ManyLines(3000));

    struct Case {
        const char* name;
        AnsiString file;
        const char* fault;  // in the message; null: no message, the import was abandoned
        std::function<void()> before;
    };
    std::unique_ptr<SqlcipherLock> lock;
    const Case cases[] = {
        {"refused row", list, "单词库拒绝了一条记录", [] {}},
        {"locked", good, "单词库文件正被其他程序使用", [&] { lock = std::make_unique<SqlcipherLock>(dbFile); }},
        {"abandoned", good, nullptr, [&] {
             lock.reset();
             keepGoing_ = [](std::size_t done) { return done < 2048; };
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        shown_.clear();
        answers_ = {mrYes};
        try {
            ImportWordFile(c.file, Context());
            EXPECT_EQ(c.fault, nullptr) << "no error";
        } catch (const EDatabaseError& e) {
            ASSERT_NE(c.fault, nullptr) << e.Message();
            EXPECT_NE(e.Message().find(c.fault), AnsiString::npos) << e.Message();
            EXPECT_NE(e.Message().find(kImportUndone), AnsiString::npos) << e.Message();
            EXPECT_NE(e.Message().find(dbFile), AnsiString::npos) << e.Message();
            EXPECT_EQ(e.Message().find(MakeDbPassword(DbPasswordSeed)), AnsiString::npos);
        }
        EXPECT_EQ(shown_, std::vector<ShownMessage>{kPreviewQuestion});  // no report
        lock.reset();
        connection_.Close();
        EXPECT_EQ(SqlcipherRowCount(dbFile), 1);
        EXPECT_EQ(DatabaseRows(), (Rows{{"kept", "n."}}));
    }
}

TEST_F(WordImportTest, ALockReleasedWithinTheWaitIsWaitedFor) {
    const std::string dbFile = appDir_ + "dat/WordLib.dat";
    const AnsiString path = WriteFile("words.txt", ManyLines(10));
    SqlcipherLock lock(dbFile);
    std::thread release([&] {
        usleep(800 * 1000);
        lock.Release();
    });
    answers_ = {mrYes, mrNo};
    EXPECT_NO_THROW(ImportWordFile(path, Context()));
    release.join();
    EXPECT_EQ(shown_.back(), Report(10));
    EXPECT_EQ(SqlcipherRowCount(dbFile), 10);
}

TEST_F(WordImportTest, AFullDiskLeavesTheDatabaseAsItWas) {
    Exec("insert into enword values ('kept', 'n.')");
    connection_.Close();
    const AnsiString list = WriteFile("words.txt", ManyLines(20000, 20));
    const fs::path staged = root_ / "dat" / "WordLib.dat";
    const fs::path disk = root_ / "disk";
    const fs::path after = root_ / "after";
    fs::create_directories(disk / "dat");
    fs::create_directories(after / "dat");

    // The child puts the database on a file system of 96 KB of its own
    // (a mount only it sees), or, where it may not mount, limits the size of
    // the files it writes; then it imports, and copies the database out.
    const std::string result = InChild([&]() -> std::string {
        std::string how = "rlimit";
        if (unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount("tmpfs", (disk / "dat").c_str(), "tmpfs", 0, "size=96k") == 0) {
            how = "tmpfs";
        }
        fs::copy_file(staged, disk / "dat" / "WordLib.dat");
        rlimit original{};
        getrlimit(RLIMIT_FSIZE, &original);
        if (how == "rlimit") {
            signal(SIGXFSZ, SIG_IGN);
            rlimit small = original;
            small.rlim_cur = fs::file_size(staged) + 64 * 1024;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        TADOConnection connection;
        TADOQuery query;
        std::vector<AnsiString> shown;
        const TWordImportContext context{connection, query, disk.string() + "/",
                                         [&](const AnsiString& text, int, int) {
                                             shown.push_back(text);
                                             return mrYes;
                                         },
                                         [](const AnsiString&) {}, [] {}, {}, {}, {}};
        std::string outcome = "imported";
        try {
            ImportWordFile(list, context);
        } catch (const Exception& e) {
            outcome = e.Message();
        }
        connection.Close();
        setrlimit(RLIMIT_FSIZE, &original);
        for (const char* name : {"WordLib.dat", "WordLib.dat-journal"}) {
            if (fs::exists(disk / "dat" / name)) fs::copy_file(disk / "dat" / name, after / "dat" / name);
        }
        return how + "\n" + std::to_string(shown.size()) + "\n" + outcome;
    });

    std::istringstream lines(result);
    std::string how, shownCount;
    std::getline(lines, how);
    std::getline(lines, shownCount);
    const std::string outcome((std::istreambuf_iterator<char>(lines)), {});
    EXPECT_EQ(shownCount, "1") << result;  // the question only, no report
    EXPECT_NE(outcome.find(kImportUndone), std::string::npos) << result;
    if (how == "tmpfs") {
        EXPECT_NE(outcome.find("磁盘空间已满"), std::string::npos) << result;
    }
    EXPECT_EQ(SqlcipherRowCount((after / "dat" / "WordLib.dat").string()), 1);
    appDir_ = after.string() + "/";
    EXPECT_EQ(DatabaseRows(), (Rows{{"kept", "n."}}));
}

TEST_F(WordImportTest, AProgramKilledInTheMiddleOfAnImportKeepsNoneOfIt) {
    Exec("insert into enword values ('kept', 'n.')");
    connection_.Close();
    const std::string dbFile = appDir_ + "dat/WordLib.dat";
    const auto sizeBefore = fs::file_size(dbFile);
    // Long glosses, so that the rows overflow the engine's page cache and
    // reach the file before the kill.
    const AnsiString list = WriteFile("words.txt", ManyLines(100000, 60));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        TADOConnection connection;
        TADOQuery query;
        const TWordImportContext context{connection, query, appDir_,
                                         [](const AnsiString&, int, int) { return mrYes; },
                                         [](const AnsiString&) {}, [] {},
                                         [&](std::size_t done, std::size_t) {
                                             if (done >= 80000) {
                                                 (void)!write(ready[1], "k", 1);
                                                 pause();
                                             }
                                             return true;
                                         },
                                         {}, {}};
        try {
            ImportWordFile(list, context);
        } catch (...) {
        }
        _exit(1);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the child ended before the import was half done";
    close(ready[0]);
    EXPECT_GT(fs::file_size(dbFile), sizeBefore + 1024 * 1024);  // half an import is on disk
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    EXPECT_EQ(SqlcipherRowCount(dbFile), 1);
    EXPECT_EQ(DatabaseRows(), (Rows{{"kept", "n."}}));
}

TEST_F(WordImportTest, OnlyARegularFileIsRead) {
    const fs::path fifo = root_ / "pipe.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(root_ / "folder.txt");
    fs::create_symlink("/dev/zero", root_ / "zero.txt");
    fs::create_symlink("words.txt", root_ / "link.txt");
    WriteFile("words.txt", "cat|n.猫\r\n");

    // A read that waits on a pipe would hang the test: the alarm ends it instead.
    alarm(20);
    for (const char* name : {"pipe.txt", "folder.txt", "zero.txt"}) {
        SCOPED_TRACE(name);
        const AnsiString path = appDir_ + name;
        try {
            ImportWordList(path, Context());
            ADD_FAILURE() << "read";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), "“" + path + "”不是普通文件（它是文件夹、管道或设备），不能作为单词列表读取。");
        }
    }
    alarm(0);
    EXPECT_TRUE(shown_.empty());
    EXPECT_TRUE(previews_.empty());
    answers_ = {mrYes, mrNo};
    ImportWordList(appDir_ + "link.txt", Context());  // a link to a regular file is fine
    EXPECT_EQ(DatabaseRows(), (Rows{{"cat", "n.猫"}}));
}

TEST_F(WordImportTest, AListSavedAsUtf8OrUtf16IsStoredAsGbkAndUnmappableCharactersAreCounted) {
    // "n.猫" and "n.狗" in UTF-8; U+1F600 and U+2603 have no GBK form.
    const std::string cat = "cat|n.\xE7\x8C\xAB\r\n";
    const std::string dog = "dog|n.\xE7\x8B\x97?\xF0\x9F\x98\x80\xE2\x98\x83\r\n";
    struct Case { const char* name; std::string bytes; Rows rows; int replaced; };
    const Case cases[] = {
        {"with a byte-order mark", "\xEF\xBB\xBF" + cat, {{"cat", "n.猫"}}, 0},
        {"without one", cat + dog, {{"cat", "n.猫"}, {"dog", "n.狗???"}}, 2},
        {"GBK stays as it is", "cat|n.猫\r\n", {{"cat", "n.猫"}}, 0},
        // The same lines saved as "Unicode": UTF-16 with its mark, either byte order.
        {"UTF-16 LE", std::string("\xFF\xFE" "c\0a\0t\0|\0n\0.\0\x2B\x73\r\0\n\0d\0o\0g\0|\0n\0.\0\xD7\x72", 34),
         {{"cat", "n.猫"}, {"dog", "n.狗"}}, 0},
        {"UTF-16 BE", std::string("\xFE\xFF" "\0c\0a\0t\0|\0n\0.\x73\x2B\0\r\0\n\0d\0o\0g\0|\0n\0.\x72\xD7", 34),
         {{"cat", "n.猫"}, {"dog", "n.狗"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exec("delete from enword");
        shown_.clear();
        answers_ = {mrYes, mrNo};
        ImportWordFile(WriteFile("list.txt", c.bytes), Context());
        EXPECT_EQ(DatabaseRows(), c.rows);
        const AnsiString count = std::to_string(c.rows.size());
        const AnsiString expected =
            c.replaced == 0 ? Report(int(c.rows.size())).Text
                            : "单词导入完毕！新增单词" + count + "个。文件中有" + std::to_string(c.replaced) +
                                  "个字符无法用GBK表示，已替换为“?”。\r\n是否共享新单词？";
        EXPECT_EQ(shown_.back().Text, expected);
    }
}
