// The word database at start-up: AppendDbRows, and ReadDbRowsInto (the
// reading behind the window), over 10,000 rows of an
// encrypted dat/WordLib.dat, against stepping through the same rows with plain
// engine statements on an already keyed connection; and the cost of opening
// the file, which is dominated by deriving the page key from the password.
//
// After the table, the program prints the figures that matter as ratios to
// the baselines measured in the same run, and the open cost in milliseconds.
#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "DatabaseFile.h"
#include "DbPassword.h"
#include "WordDatabase.h"
#include "WordTable.h"

namespace {

constexpr int kRows = 10'000;

// A temporary program folder whose dat/WordLib.dat holds kRows word-like rows.
class BenchDatabase {
public:
    BenchDatabase() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-worddb-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        std::filesystem::create_directory(root_ / "dat");
        AppDir = root_.string() + "/";
        CreateADODatabase(WordDatabaseConnectionString(AppDir));
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, AppDir);
        query.SQL().SetText("create table enword (eng text, chs text)");
        query.ExecSQL();
        query.SQL().SetText("begin");
        query.ExecSQL();
        for (int i = 0; i < kRows; ++i) {
            // About 10 and 40 bytes, GBK glosses with a tag, as in the word list.
            InsertWord(query, "word" + std::to_string(i),
                       "n.\xB2\xE2\xCA\xD4,\xB4\xCA\xD3\xEF" + std::to_string(i) + ";v.\xD7\xF6,\xCA\xB9\xD3\xC3");
        }
        query.SQL().SetText("commit");
        query.ExecSQL();
    }
    ~BenchDatabase() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    AnsiString AppDir;
    std::string File() const { return AppDir + "dat/WordLib.dat"; }

private:
    std::filesystem::path root_;
};

BenchDatabase& Database() {
    static BenchDatabase database;
    return database;
}

// A plain engine connection, keyed the way the shell does it.
sqlite3* OpenPlain() {
    sqlite3* db = nullptr;
    sqlite3_open_v2(Database().File().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const std::string key = "PRAGMA key = '" + MakeDbPassword(DbPasswordSeed) + "'";
    sqlite3_exec(db, key.c_str(), nullptr, nullptr, nullptr);
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    return db;
}

void BM_PlainStepRows(benchmark::State& state) {
    sqlite3* db = OpenPlain();
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "select eng,chs from enword", -1, &stmt, nullptr);
        std::size_t bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0) + sqlite3_column_bytes(stmt, 1));
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_close_v2(db);
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_AppendDbRows(benchmark::State& state) {
    TADOConnection connection;
    TADOQuery query;
    OpenWordDatabase(connection, query, Database().AppDir);
    connection.Open();  // key derivation outside the timed loop, as for the baseline
    for (auto _ : state) {
        const std::size_t rows = AppendDbRows(query, 0);
        if (rows != kRows) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(WordTable.Length());
    }
    WordTable.Clear();
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The reading behind the window at start-up: row by row into a table of its own.
void BM_ReadDbRowsInto(benchmark::State& state) {
    TADOConnection connection;
    TADOQuery query;
    OpenWordDatabase(connection, query, Database().AppDir);
    connection.Open();
    for (auto _ : state) {
        TEngWordTable table;
        const std::size_t rows = ReadDbRowsInto(connection, table, [] { return false; });
        if (rows != kRows) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(table.Length());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_PlainOpen(benchmark::State& state) {
    Database();
    for (auto _ : state) sqlite3_close_v2(OpenPlain());
}

void BM_OpenWordDatabase(benchmark::State& state) {
    Database();
    for (auto _ : state) {
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, Database().AppDir);
        connection.Open();
    }
}

// Keeps each run's time so that main can state the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;  // in milliseconds, the unit of every benchmark here
};

}  // namespace

BENCHMARK(BM_PlainStepRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendDbRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDbRowsInto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWordDatabase)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    const auto ratio = [&](const char* a, const char* b) {
        if (t.count(a) && t.count(b) && t.at(b) > 0) {
            std::printf("%-22s %6.2fx %s\n", a, t.at(a) / t.at(b), b);
        }
    };
    std::printf("\n");
    ratio("BM_AppendDbRows", "BM_PlainStepRows");
    ratio("BM_ReadDbRowsInto", "BM_PlainStepRows");
    ratio("BM_OpenWordDatabase", "BM_PlainOpen");
    if (t.count("BM_OpenWordDatabase")) std::printf("open (key derivation)  %6.1f ms\n", t.at("BM_OpenWordDatabase"));
    benchmark::Shutdown();
    return 0;
}
