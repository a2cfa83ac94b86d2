// The lookup a user runs (LookupMeantWords) against the literal lookup
// (LookupWords) it starts with, over the full built-in word list, measured
// in one run:
//
//   a word with no hit at all   the whole table scanned by LookupWords, then
//                               the letter-case and form checks and the
//                               spelling search, which finds nothing
//   a misspelling               no literal hit; the spelling search finds
//                               suggestions
//   a headword                  the common case: a few index probes
//   an inflected form           its dictionary form found first
//
// The summary states the added cost of each as a difference of medians
// (target: at most 1 ms for a word with no hit), the one-time cost of
// building the headword index (made on the first lookup, not at start-up),
// and what the index holds in memory next to the word table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "HeadwordIndex.h"
#include "MeantWords.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

const TEngWordTable& FullTable() {
    static const TEngWordTable table = [] {
        const std::vector<std::string_view> lines = LoadEmbeddedWordList();
        TEngWordTable t;
        t.SetLength(lines.size());
        AppendWordLines(t, lines, 0);
        return t;
    }();
    return table;
}

struct Word {
    const char* name;
    const char* text;
};
const Word kWords[] = {{"NoHit", "qqxqzzkw"}, {"Misspelling", "recieve"}, {"Headword", "apple"}, {"Form", "went"}};

void BM_LookupWords(benchmark::State& state, const char* text) {
    for (auto _ : state) benchmark::DoNotOptimize(LookupWords(FullTable(), text));
}

void BM_LookupMeantWords(benchmark::State& state, const char* text) {
    HeadwordIndexOf(FullTable());  // built once, before the timing
    std::size_t hits = 0;
    for (auto _ : state) hits = LookupMeantWords(FullTable(), text).size();
    state.counters["hits"] = static_cast<double>(hits);
}

void BM_BuildHeadwordIndex(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const THeadwordIndex index(FullTable());
        bytes = index.MemoryBytes();
    }
    state.counters["index_kb"] = static_cast<double>(bytes) / 1024.0;
    state.counters["table_kb"] = static_cast<double>(FullTable().MemoryBytes()) / 1024.0;
}
BENCHMARK(BM_BuildHeadwordIndex)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    for (const Word& w : kWords) {
        benchmark::RegisterBenchmark((std::string("BM_LookupWords/") + w.name).c_str(), BM_LookupWords, w.text)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark((std::string("BM_LookupMeantWords/") + w.name).c_str(), BM_LookupMeantWords,
                                     w.text)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nLookupMeantWords beyond LookupWords (medians, full word list of %zu records):\n",
                FullTable().Length());
    for (const Word& w : kWords) {
        const double literal = Medians()[std::string("BM_LookupWords/") + w.name];
        const double meant = Medians()[std::string("BM_LookupMeantWords/") + w.name];
        if (literal <= 0 || meant <= 0) continue;
        std::printf("  %-12s %-10s %8.3f ms added (%.3f ms against %.3f ms) = %.2f x%s\n", w.name, w.text,
                    (meant - literal) / 1000.0, meant / 1000.0, literal / 1000.0, meant / literal,
                    std::string(w.name) == "NoHit" ? "; target <= 1 ms added" : "");
    }
    const double build = Medians()["BM_BuildHeadwordIndex"];
    if (build > 0) std::printf("  headword index, built on the first lookup: %.2f ms\n", build);
    const THeadwordIndex index(FullTable());
    std::printf("  headword index %zu KB beside the word table's %zu KB\n", index.MemoryBytes() / 1024,
                FullTable().MemoryBytes() / 1024);
    return 0;
}
