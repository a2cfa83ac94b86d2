// Importing a word list of a million lines (about 50 MB) into an encrypted
// dat/WordLib.dat: ImportWordFile from the file on disk to the commit,
// against inserting the same rows with plain engine statements (one compiled
// insert, one transaction) on an already keyed connection.
//
// After the table, the program prints rows per second of both and their
// ratio; the import reads, checks and splits the file besides inserting.
#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "DatabaseFile.h"
#include "DbPassword.h"
#include "WordDatabase.h"
#include "WordImport.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

constexpr int kLines = 1'000'000;

// A temporary program folder, an empty database kept as a template, and the
// word list: English headwords and GBK glosses of word-list length.
class BenchFiles {
public:
    BenchFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-import-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        std::filesystem::create_directory(root_ / "dat");
        AppDir = root_.string() + "/";
        CreateADODatabase(WordDatabaseConnectionString(AppDir));
        {
            TADOConnection connection;
            TADOQuery query;
            OpenWordDatabase(connection, query, AppDir);
            query.SQL().SetText("create table enword (eng text, chs text)");
            query.ExecSQL();
        }
        std::filesystem::copy_file(Database(), Template());
        std::ofstream out(List(), std::ios::binary);
        std::string line;
        for (int i = 0; i < kLines; ++i) {
            line = "headword" + std::to_string(i) +
                   "|n.\xB2\xE2\xCA\xD4,\xB4\xCA\xD3\xEF;v.\xD7\xF6,\xCA\xB9\xD3\xC3,\xD4\xCB\xD0\xD0 " + std::to_string(i) +
                   "\r\n";
            out << line;
        }
    }
    ~BenchFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    // Back to the empty database.
    void Reset() const {
        std::filesystem::remove(Database());
        std::filesystem::copy_file(Template(), Database());
    }
    AnsiString AppDir;
    std::string Database() const { return AppDir + "dat/WordLib.dat"; }
    std::string Template() const { return (root_ / "empty.dat").string(); }
    std::string List() const { return (root_ / "words.txt").string(); }

private:
    std::filesystem::path root_;
};

BenchFiles& Files() {
    static BenchFiles files;
    return files;
}

sqlite3* OpenPlain() {
    sqlite3* db = nullptr;
    sqlite3_open_v2(Files().Database().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const std::string key = "PRAGMA key = '" + MakeDbPassword(DbPasswordSeed) + "'";
    sqlite3_exec(db, key.c_str(), nullptr, nullptr, nullptr);
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    return db;
}

void BM_PlainInsertInOneTransaction(benchmark::State& state) {
    // The rows as the import stores them, split before the clock runs.
    std::ifstream in(Files().List(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::vector<std::string_view> lines = SplitWordListLines(text);
    for (auto _ : state) {
        state.PauseTiming();
        Files().Reset();
        sqlite3* db = OpenPlain();
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "insert into enword (eng,chs) values (?,?)", -1, &stmt, nullptr);
        for (const std::string_view line : lines) {
            const TWordLineParts parts = SplitWordLine(line);
            sqlite3_bind_text(stmt, 1, parts.Headword.data(), static_cast<int>(parts.Headword.size()), SQLITE_STATIC);
            sqlite3_bind_text(stmt, 2, parts.Gloss.data(), static_cast<int>(parts.Gloss.size()), SQLITE_STATIC);
            if (sqlite3_step(stmt) != SQLITE_DONE) state.SkipWithError("insert failed");
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) state.SkipWithError("commit failed");
        state.PauseTiming();
        sqlite3_close_v2(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_ImportWordFile(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Files().Reset();
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, Files().AppDir);
        connection.Open();  // key derivation outside the clock, as for the baseline
        int questions = 0;
        const TWordImportContext context{connection, query, Files().AppDir,
                                         [&](const AnsiString&, int, int) {
                                             // Yes to the question, No to the offer to share.
                                             return ++questions == 1 ? mrYes : mrNo;
                                         },
                                         [](const AnsiString&) {}, [] {}, {}, {}, {}};
        state.ResumeTiming();
        ImportWordFile(Files().List(), context);
        state.PauseTiming();
        if (questions != 2) state.SkipWithError("the import did not finish");
        query.SQL().SetText("select count(*) as n from enword");
        query.Open();
        if (query.FieldByName("n").AsString() != std::to_string(kLines)) state.SkipWithError("wrong row count");
        query.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}

// Keeps each run's time so that main can state the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;  // in milliseconds
};

}  // namespace

BENCHMARK(BM_PlainInsertInOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ImportWordFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    Files();  // the list and the template before any clock runs
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    const char* const plain = "BM_PlainInsertInOneTransaction";
    const char* const import = "BM_ImportWordFile";
    std::printf("\n");
    if (t.count(plain) && t.count(import) && t.at(plain) > 0) {
        std::printf("plain insert   %10.0f rows/s\n", kLines / (t.at(plain) / 1000));
        std::printf("import         %10.0f rows/s\n", kLines / (t.at(import) / 1000));
        std::printf("import time    %6.2fx plain insert in one transaction (target: at most 2x)\n",
                    t.at(import) / t.at(plain));
    }
    benchmark::Shutdown();
    return 0;
}
