// A lookup from the command line as a whole process, start to exit:
//
//   mirvodict --builtin -l apple   the word list built into the program only
//   mirvodict -l apple             the word database beside it as well
//   sdcv -n -e apple               the Debian StarDict reader, the baseline, on a
//                                  dictionary of the same 84,800 words that this
//                                  benchmark writes itself (.ifo, .idx, .dict)
//
// The `mirvodict` command is bin/mirvodict-cli (the install links it under
// that name); the window program bin/mirvodict answers the same arguments and
// is measured too, to show what loading the window system's libraries costs.
// In this process the word database's open alone (key derivation and schema
// read) is measured as well. The summary states the ratios of the medians:
// the built-in lookup to sdcv, and the database lookup to the open plus the
// built-in lookup. Each process's peak resident memory is a counter.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "CommandLine.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "WordDatabase.h"
#include "WordList.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kProgramDir = MIRVO_BINARY_DIR "/bin/";
const std::string kCommand = kProgramDir + "mirvodict-cli";
const std::string kWindowProgram = kProgramDir + "mirvodict";

// A scratch folder for the dictionary and sdcv's home, removed at exit.
struct Scratch {
    fs::path root;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "mirvo-cli-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root = pattern;
        fs::create_directories(root / "home");
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

// StarDict orders headwords by an ASCII case-insensitive comparison, ties
// broken by the plain byte comparison.
bool StarDictLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        const int ca = lower(static_cast<unsigned char>(a[i])), cb = lower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

void PutBigEndian32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// The program's word list (GBK) as a StarDict dictionary in UTF-8. Returns
// the folder that holds it.
fs::path WriteStarDictionary() {
    const fs::path dir = TheScratch().root / "dic" / "mirvo";
    fs::create_directories(dir);
    std::ifstream in(MIRVO_SOURCE_DIR "/app/resources/enwordlib.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct Entry {
        std::string word, meaning;
    };
    std::vector<Entry> entries;
    for (const std::string_view line : SplitWordListLines(text)) {
        const TWordLineParts parts = SplitWordLine(line);
        entries.push_back({AnsiToUtf8(parts.Headword), AnsiToUtf8(parts.Gloss)});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return StarDictLess(a.word, b.word); });
    std::string dict, idx;
    for (const Entry& e : entries) {
        idx += e.word;
        idx += '\0';
        PutBigEndian32(idx, static_cast<std::uint32_t>(dict.size()));
        PutBigEndian32(idx, static_cast<std::uint32_t>(e.meaning.size()));
        dict += e.meaning;
    }
    std::ofstream(dir / "mirvo.dict", std::ios::binary) << dict;
    std::ofstream(dir / "mirvo.idx", std::ios::binary) << idx;
    std::ofstream(dir / "mirvo.ifo", std::ios::binary)
        << "StarDict's dict ifo file\nversion=2.4.2\nbookname=mirvo\nwordcount=" << entries.size()
        << "\nidxfilesize=" << idx.size() << "\nsametypesequence=m\n";
    return TheScratch().root / "dic";
}

struct ProcessResult {
    int status = -1;
    double cpuMs = 0;  // user and system time of the process
    std::string output;
    std::string errors;
};

// Reads a pipe to its end.
std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// Runs a program to its end with the given environment additions. Its
// output goes to /dev/null unless it is kept.
ProcessResult RunProcess(const std::vector<std::string>& args, const std::vector<std::string>& env, bool keepOutput) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; ++e) envp.push_back(*e);
    envp.push_back(nullptr);

    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepOutput) {
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ProcessResult result;
    if (keepOutput) {
        close(out[1]);
        close(err[1]);
        // The outputs here are small: the pipes hold all of standard error
        // while standard output is read.
        if (rc == 0) result.output = ReadAll(out[0]);
        if (rc == 0) result.errors = ReadAll(err[0]);
        close(out[0]);
        close(err[0]);
    }
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    result.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    return result;
}

// The peak resident memory of one run, in KB, as GNU time reports it: the
// rusage of a process started from this one counts this one's memory too.
double PeakMemoryKb(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    std::vector<std::string> timed = {"/usr/bin/time", "-f", "%M"};
    timed.insert(timed.end(), args.begin(), args.end());
    const ProcessResult result = RunProcess(timed, env, true);
    const std::size_t lastLine = result.errors.find_last_of('\n', result.errors.size() - 2);
    return std::atof(result.errors.c_str() + (lastLine == std::string::npos ? 0 : lastLine + 1));
}

// Times one command, after checking once that it answers. Besides the wall
// time (the benchmark's figure) it counts the process's own CPU time, which
// the other work on a shared machine disturbs less.
void RunCommand(benchmark::State& state, const std::vector<std::string>& args, const std::vector<std::string>& env) {
    const ProcessResult first = RunProcess(args, env, true);
    if (first.status != 0 || first.output.empty()) {
        state.SkipWithError((args[0] + " did not answer: status " + std::to_string(first.status)).c_str());
        return;
    }
    double cpuMs = 0;
    for (auto _ : state) cpuMs += RunProcess(args, env, false).cpuMs;
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
    state.counters["rss_kb"] = PeakMemoryKb(args, env);
}

std::vector<std::string> SdcvEnvironment() { return {"HOME=" + (TheScratch().root / "home").string()}; }

void BM_Sdcv(benchmark::State& state) {
    static const fs::path dictionaries = WriteStarDictionary();
    RunCommand(state, {"/usr/bin/sdcv", "-n", "-e", "-x", "-2", dictionaries.string(), "apple"}, SdcvEnvironment());
}
BENCHMARK(BM_Sdcv)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

void BM_MirvodictBuiltin(benchmark::State& state) {
    RunCommand(state, {kCommand, "--builtin", "-l", "apple"}, {});
}
BENCHMARK(BM_MirvodictBuiltin)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

// The user's key cache, in the scratch folder: the first run fills it, the
// timed runs use it, as every lookup after a user's first one does.
std::vector<std::string> KeyCacheEnvironment() { return {"XDG_CACHE_HOME=" + (TheScratch().root / "cache").string()}; }

void BM_MirvodictWithDatabase(benchmark::State& state) {
    RunCommand(state, {kCommand, "-l", "apple"}, KeyCacheEnvironment());
}
BENCHMARK(BM_MirvodictWithDatabase)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// Words that are not headwords as typed: an inflected form, and a
// misspelling, which read the whole list and search it by spelling.
void BM_MirvodictWordForm(benchmark::State& state) {
    RunCommand(state, {kCommand, "--builtin", "-l", "went"}, {});
}
BENCHMARK(BM_MirvodictWordForm)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

void BM_MirvodictMisspelling(benchmark::State& state) {
    RunCommand(state, {kCommand, "--builtin", "-l", "recieve"}, {});
}
BENCHMARK(BM_MirvodictMisspelling)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

void BM_WindowProgramBuiltin(benchmark::State& state) {
    RunCommand(state, {kWindowProgram, "--builtin", "-l", "apple"}, {});
}
BENCHMARK(BM_WindowProgramBuiltin)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The database open the command line does: the connection set up, then the
// file opened with the derived key and its schema read.
void BM_DatabaseOpen(benchmark::State& state) {
    for (auto _ : state) {
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, kProgramDir);
        connection.Open();
        benchmark::DoNotOptimize(connection.Connected());
    }
}
BENCHMARK(BM_DatabaseOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

// The lookup's own work, in this process: what each process above spends
// beyond starting and ending.
void BM_LookupInProcess(benchmark::State& state) {
    const std::vector<std::string_view> args = {"--builtin", "-l", "apple"};
    const CommandLineRequest request = ParseCommandLine(args);
    for (auto _ : state) {
        CommandLineOutput out = RunCommandLine(request, kProgramDir, "UTF-8");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_LookupInProcess)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The database open as a process pays it: the first open in a process also
// sets up the crypto library, which the repeated opens above do not show.
// This benchmark program is started again to do just that (and once to do
// nothing, so that the start of the process itself can be taken off).
constexpr const char* kOpenOnceFlag = "--open-database-once";
constexpr const char* kStartOnlyFlag = "--start-only";

void OpenDatabaseOnce() {
    TADOConnection connection;
    TADOQuery query;
    OpenWordDatabase(connection, query, kProgramDir);
    connection.Open();
}

void BM_DatabaseFirstOpenProcess(benchmark::State& state) {
    const std::vector<std::string> args = {"/proc/self/exe", kOpenOnceFlag};
    if (RunProcess(args, {}, true).status != 0) {
        state.SkipWithError("the database did not open");
        return;
    }
    double cpuMs = 0;
    for (auto _ : state) cpuMs += RunProcess(args, {}, false).cpuMs;
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DatabaseFirstOpenProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_StartOnlyProcess(benchmark::State& state) {
    const std::vector<std::string> args = {"/proc/self/exe", kStartOnlyFlag};
    double cpuMs = 0;
    for (auto _ : state) cpuMs += RunProcess(args, {}, false).cpuMs;
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartOnlyProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

std::map<std::string, double>& Medians() {
    static std::map<std::string, double> medians;
    return medians;
}

// The medians of CPU time: each process's own, or this process's for the
// work done in it.
std::map<std::string, double>& CpuMedians() {
    static std::map<std::string, double> medians;
    return medians;
}

// Keeps the medians so the summary can state the ratios.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median") {
                Medians()[run.run_name.function_name] = run.GetAdjustedRealTime();
                const auto cpu = run.counters.find("cpu_ms");
                CpuMedians()[run.run_name.function_name] =
                    cpu != run.counters.end() ? cpu->second.value : run.GetAdjustedCPUTime();
            }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == kStartOnlyFlag) return 0;
    if (argc == 2 && std::string_view(argv[1]) == kOpenOnceFlag) {
        try {
            OpenDatabaseOnce();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const bool cpu : {false, true}) {
        std::map<std::string, double>& m = cpu ? CpuMedians() : Medians();
        const double sdcv = m["BM_Sdcv"];
        const double builtin = m["BM_MirvodictBuiltin"];
        const double withDb = m["BM_MirvodictWithDatabase"];
        const double open = m["BM_DatabaseOpen"];
        const double window = m["BM_WindowProgramBuiltin"];
        const double firstOpen = m["BM_DatabaseFirstOpenProcess"] - m["BM_StartOnlyProcess"];
        if (sdcv <= 0 || builtin <= 0 || withDb <= 0 || open <= 0 || window <= 0) continue;
        std::printf("\n%s (medians):\n", cpu ? "CPU time of each process" : "wall time");
        std::printf("  mirvodict --builtin -l apple  %7.2f ms = %.2f x sdcv -n -e apple (%.2f ms); target <= 1\n",
                    builtin, builtin / sdcv, sdcv);
        std::printf("  mirvodict -l apple            %7.2f ms = %.2f x (database open %.2f ms + built-in %.2f ms); "
                    "target <= 1\n",
                    withDb, withDb / (open + builtin), open, builtin);
        if (firstOpen > 0) {
            std::printf("  mirvodict -l apple            %7.2f ms = %.2f x (first database open in a process %.2f ms "
                        "+ built-in %.2f ms); target <= 1\n",
                        withDb, withDb / (firstOpen + builtin), firstOpen, builtin);
        }
        std::printf("  the window program, --builtin %7.2f ms = %.2f x sdcv\n", window, window / sdcv);
        std::printf("  mirvodict -l apple            %7.2f ms = %.2f x mirvodict --builtin -l apple; target <= 1.5\n",
                    withDb, withDb / builtin);
        const double form = m["BM_MirvodictWordForm"];
        const double misspelling = m["BM_MirvodictMisspelling"];
        if (form > 0 && misspelling > 0) {
            std::printf("  mirvodict --builtin -l went   %7.2f ms = %.2f x sdcv (a word form)\n", form, form / sdcv);
            std::printf("  mirvodict --builtin -l recieve %6.2f ms = %.2f x sdcv (a misspelling)\n", misspelling,
                        misspelling / sdcv);
        }
    }
    return 0;
}
