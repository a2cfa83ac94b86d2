// Splitting the embedded word list's text into lines: TStringList::SetText on
// a 2.5 MB, 84,800-line text, against copying the same bytes (memcpy) and
// against a naive split that appends character by character.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "IniFiles.h"
#include "TStrings.h"

namespace {

// Word-list-like text: CR LF between lines, none after the last.
const std::string& WordListText() {
    static const std::string text = [] {
        std::string t;
        t.reserve(2'600'000);
        for (int i = 0; i < 84'800; ++i) {
            if (i > 0) t += "\r\n";
            // About 29 bytes a line, as in the real list (2,497,677 bytes).
            t += "word" + std::to_string(i) + "|n.\xB2\xE2\xCA\xD4\xB5\xC4,\xB6\xFE;v.\xD7\xF6";
        }
        return t;
    }();
    return text;
}

void BM_Memcpy(benchmark::State& state) {
    const std::string& text = WordListText();
    std::vector<char> out(text.size());
    for (auto _ : state) {
        std::memcpy(out.data(), text.data(), text.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_NaiveSplit(benchmark::State& state) {
    const std::string& text = WordListText();
    for (auto _ : state) {
        std::vector<std::string> lines;
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\r' || c == '\n') {
                lines.push_back(line);
                line.clear();
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                line += c;
            }
        }
        if (!line.empty()) lines.push_back(line);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_SetText(benchmark::State& state) {
    const std::string& text = WordListText();
    for (auto _ : state) {
        TStringList list;
        list.SetText(text);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["lines"] = 84'800;
}

// Reading every key of a skin-sized description (400 sections of 30 keys)
// through the case-folded indexes.
void BM_IniReadAllKeys(benchmark::State& state) {
    TStringList lines;
    for (int s = 0; s < 400; ++s) {
        lines.Add("[Record" + std::to_string(s) + "]");
        for (int k = 0; k < 30; ++k) lines.Add("key" + std::to_string(k) + "=" + std::to_string(s * k));
    }
    const TMemIniFile ini(lines);
    for (auto _ : state) {
        long sum = 0;
        for (int s = 0; s < 400; ++s) {
            const std::string section = "RECORD" + std::to_string(s);
            for (int k = 0; k < 30; ++k) sum += ini.ReadInteger(section, "KEY" + std::to_string(k), 0);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 400 * 30);
}

}  // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NaiveSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniReadAllKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
