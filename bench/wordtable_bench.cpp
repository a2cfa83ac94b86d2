// The word table over the real embedded word list (84,800 lines):
//  - LookupWords for a pattern that matches nothing, against one memchr pass
//    over all headword and gloss bytes (the floor for any scan);
//  - LookupWords for common starts ("a", "the", "中"), against the full scan;
//  - splitting and storing the list, against one pass that only counts its
//    line breaks;
//  - the table's memory, against its text bytes plus 16 bytes per record.
// The summary at the end states each figure as a ratio to its baseline from
// the same run.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

const std::string& ListText() {
    static const std::string text = [] {
        std::ifstream in(MIRVO_SOURCE_DIR "/app/resources/enwordlib.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return text;
}

const TEngWordTable& FullTable() {
    static const TEngWordTable table = [] {
        const std::vector<std::string_view> lines = SplitWordListLines(ListText());
        TEngWordTable t;
        t.SetLength(lines.size());
        AppendWordLines(t, lines, 0);
        return t;
    }();
    return table;
}

// All headword and gloss bytes, end to end.
const std::string& FieldBytes() {
    static const std::string bytes = [] {
        std::string all;
        const TEngWordTable& table = FullTable();
        for (std::size_t i = 0; i < table.Length(); ++i) {
            all.append(table[i].Eng);
            all.append(table[i].Chs);
        }
        return all;
    }();
    return bytes;
}

// Patterns found nowhere in the list: plain letters, and Chinese text (GBK)
// whose bytes are common in the glosses.
const char* const kNoMatch[] = {"qqxz", "\xB2\xBB\xB4\xE6\xD4\xDA\xB5\xC4\xB4\xCA"};  // 不存在的词
const char* const kCommonStarts[] = {"a", "the", "\xD6\xD0"};                      // 中

void BM_MemchrFloor(benchmark::State& state) {
    const std::string& bytes = FieldBytes();
    for (auto _ : state) {
        const void* found = std::memchr(bytes.data(), '\x01', bytes.size());
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_LookupNoMatch(benchmark::State& state) {
    const TEngWordTable& table = FullTable();
    const char* pattern = kNoMatch[state.range(0)];
    if (!LookupWords(table, pattern).empty()) {
        state.SkipWithError("the pattern matches something");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(LookupWords(table, pattern));
}

void BM_LookupCommonStart(benchmark::State& state) {
    const TEngWordTable& table = FullTable();
    const char* pattern = kCommonStarts[state.range(0)];
    if (LookupWords(table, pattern).size() != kMaxWordHits) {
        state.SkipWithError("fewer than eleven hits");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(LookupWords(table, pattern));
}

// The baseline: line breaks by the list's rule (CR LF, lone CR, lone LF).
std::size_t CountLineBreaks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++count;
        } else if (text[i] == '\r') {
            ++count;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
    }
    return count;
}

void BM_CountLineBreaks(benchmark::State& state) {
    const std::string& text = ListText();
    for (auto _ : state) benchmark::DoNotOptimize(CountLineBreaks(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// A second, stronger reference: counting LF bytes only, which the compiler
// turns into vector code.
void BM_CountLineFeeds(benchmark::State& state) {
    const std::string& text = ListText();
    for (auto _ : state) benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\n'));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_LoadSplitStore(benchmark::State& state) {
    const std::string& text = ListText();
    for (auto _ : state) {
        const std::vector<std::string_view> lines = SplitWordListLines(text);
        TEngWordTable table;
        table.SetLength(lines.size());
        AppendWordLines(table, lines, 0);
        benchmark::DoNotOptimize(table.Length());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// Memory of the filled table: what the table counts, and what the heap
// grew by while filling it (the lines' vector freed again first).
void BM_TableMemory(benchmark::State& state) {
    const std::vector<std::string_view> lines = SplitWordListLines(ListText());
    const std::size_t textBytes = FieldBytes().size();
    double heap = 0;
    double counted = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        TEngWordTable table;
        table.SetLength(lines.size());
        AppendWordLines(table, lines, 0);
        heap = static_cast<double>(mallinfo2().uordblks - before);
        counted = static_cast<double>(table.MemoryBytes());
    }
    state.counters["text_bytes"] = static_cast<double>(textBytes);
    state.counters["budget_bytes"] = static_cast<double>(textBytes + 16 * lines.size());
    state.counters["table_bytes"] = counted;
    state.counters["heap_growth_bytes"] = heap;
}

BENCHMARK(BM_MemchrFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LookupNoMatch)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LookupCommonStart)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountLineBreaks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountLineFeeds)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSplitStore)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration (seconds) and counters for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0 || run.error_occurred) continue;
            seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
            for (const auto& [name, counter] : run.counters) counters[run.benchmark_name() + ":" + name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
    std::map<std::string, double> counters;
};

void PrintRatio(const SummaryReporter& r, const char* what, const std::string& measured, const std::string& baseline,
                double limit) {
    const auto m = r.seconds.find(measured);
    const auto b = r.seconds.find(baseline);
    if (m == r.seconds.end() || b == r.seconds.end()) return;
    const double ratio = m->second / b->second;
    if (limit <= 0) {
        std::printf("%-44s %9.1f us / %9.1f us = %7.4f  (for comparison, no target)\n", what, m->second * 1e6,
                    b->second * 1e6, ratio);
        return;
    }
    std::printf("%-44s %9.1f us / %9.1f us = %7.4f  (target %s %g) %s\n", what, m->second * 1e6, b->second * 1e6, ratio,
                limit < 1 ? "<" : "<=", limit, ratio <= limit ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nSummary (ratios to baselines of this run)\n");
    PrintRatio(reporter, "LookupWords, no match (letters) / memchr", "BM_LookupNoMatch/0", "BM_MemchrFloor", 4);
    PrintRatio(reporter, "LookupWords, no match (Chinese) / memchr", "BM_LookupNoMatch/1", "BM_MemchrFloor", 4);
    PrintRatio(reporter, "LookupWords \"a\" / full scan", "BM_LookupCommonStart/0", "BM_LookupNoMatch/0", 0.01);
    PrintRatio(reporter, "LookupWords \"the\" / full scan", "BM_LookupCommonStart/1", "BM_LookupNoMatch/0", 0.01);
    PrintRatio(reporter, "LookupWords \"zhong\" / full scan", "BM_LookupCommonStart/2", "BM_LookupNoMatch/0", 0.01);
    PrintRatio(reporter, "split+store / count line breaks", "BM_LoadSplitStore", "BM_CountLineBreaks", 3);
    PrintRatio(reporter, "split+store / count LF bytes (reference)", "BM_LoadSplitStore", "BM_CountLineFeeds", 0);
    const auto budget = reporter.counters.find("BM_TableMemory/iterations:3:budget_bytes");
    const auto table = reporter.counters.find("BM_TableMemory/iterations:3:table_bytes");
    const auto heap = reporter.counters.find("BM_TableMemory/iterations:3:heap_growth_bytes");
    if (budget != reporter.counters.end() && table != reporter.counters.end() && heap != reporter.counters.end()) {
        const double used = std::max(table->second, heap->second);
        std::printf("%-44s %9.0f B  / %9.0f B  = %7.4f  (target <= 1) %s\n", "table memory / (text + 16 B per record)", used,
                    budget->second, used / budget->second, used <= budget->second ? "met" : "MISSED");
    }
    return 0;
}
