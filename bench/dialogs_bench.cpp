// The open dialog's folder model: reading a folder of 10,000 files into
// TbsShellFolder items (names converted for display, the mask applied,
// sorted for display with the locale's collation, folders first), as a ratio
// to a baseline timed in the same run (the counter "x_baseline"): one plain
// pass of readdir plus stat over the same folder. The whole open-and-paint
// of the file list has a target of at most 3x; this is what the model alone
// costs of it.
//
//   ListFolder        ListShellFolder with the default mask "*.*|*.*"
//   ListFolderMasked  the same with "*.txt", which drops a tenth of the files
//   OpenAndPaint      the skinned file list (details view, on the headless
//                     screen) going to the folder until its window is
//                     painted: read, sorted, rows drawn; the list is virtual,
//                     so only the visible rows cost drawing (target <= 3x)
//
// Run: bench/dialogs_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "BenchTiming.h"
#include "Forms.h"
#include "HeadlessBackend.h"
#include "ShellCollation.h"
#include "ShellFolderListing.h"
#include "TbsShellFolder.h"
#include "TbsSkinFileListView.h"
#include "WindowSystem.h"

namespace {

constexpr int kFiles = 10'000;

// A scratch folder of 10,000 empty files, 20 folders among them, removed at exit.
class BigFolder {
public:
    BigFolder() {
        char pattern[] = "/tmp/dialogs_bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        path_ = pattern;
        for (int i = 0; i < kFiles; ++i) {
            std::string name;
            switch (i % 10) {
            case 0: name = "Report " + std::to_string(i) + ".DOC"; break;
            case 1: name = "\xe8\xaf\x8d\xe5\xba\x93" + std::to_string(i) + ".txt"; break;  // 词库
            default: name = "word" + std::to_string(i * 7919 % 100003) + ".txt"; break;
            }
            const std::string full = path_ + "/" + name;
            if (i % 500 == 0) {
                mkdir(full.c_str(), 0755);
            } else if (FILE* f = std::fopen(full.c_str(), "w")) {
                std::fclose(f);
            }
        }
    }
    ~BigFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const BigFolder& Folder() {
    static const BigFolder folder;
    return folder;
}

// The baseline: one readdir pass with a stat of every entry, nothing kept
// but a count and a sum.
long long ReaddirStat(const std::string& path) {
    long long sum = 0;
    DIR* dir = opendir(path.c_str());
    if (!dir) return -1;
    const int fd = dirfd(dir);
    while (const dirent* e = readdir(dir)) {
        struct stat st {};
        if (fstatat(fd, e->d_name, &st, 0) == 0) sum += st.st_size + 1;
    }
    closedir(dir);
    return sum;
}

double BaselineSeconds() {
    static const double seconds = [] {
        const std::string& path = Folder().Path();
        ReaddirStat(path);  // warm the caches as the measured runs find them
        constexpr int reps = 30;
        const double start = ThreadSeconds();
        long long sink = 0;
        for (int i = 0; i < reps; ++i) sink += ReaddirStat(path);
        benchmark::DoNotOptimize(sink);
        return (ThreadSeconds() - start) / reps;
    }();
    return seconds;
}

void RunListing(benchmark::State& state, const AnsiString& mask) {
    const double baseline = BaselineSeconds();
    const ShellCollator collator;  // the environment's collation
    const auto folder = TbsShellFolder::ForPath(Folder().Path());
    std::size_t count = 0;
    const double start = ThreadSeconds();
    for (auto _ : state) {
        const ShellListing listing = ListShellFolder(folder, otFolders | otNonFolders, mask, &collator);
        count = listing.Items.size();
        benchmark::DoNotOptimize(listing.Items.data());
    }
    const double total = ThreadSeconds() - start;
    state.counters["x_baseline"] = total / double(state.iterations()) / baseline;
    state.counters["ms_per_op"] = total / double(state.iterations()) * 1e3;
    state.counters["baseline_ms"] = baseline * 1e3;
    state.counters["entries"] = double(count);
}

void BM_ListFolder(benchmark::State& state) { RunListing(state, "*.*|*.*"); }
void BM_ListFolderMasked(benchmark::State& state) { RunListing(state, "*.txt"); }

// Opens the folder in a shown file list and paints it, alternating with a
// small folder so that every iteration really changes folder.
void BM_OpenAndPaint(benchmark::State& state) {
    const double baseline = BaselineSeconds();
    auto backend = std::make_unique<HeadlessBackend>(800, 600);
    WindowSystemSession session(std::move(backend));
    ApplicationSession app;
    TForm* form = Application->CreateForm<TForm>();
    form->SetBounds(10, 10, 460, 300);
    auto* list = CreateComponent<TbsSkinFileListView>(form);
    list->SetParent(form);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    form->Show();
    Application->ProcessMessages();
    const auto big = TbsShellFolder::ForPath(Folder().Path());
    const auto small = TbsShellFolder::ForPath("/");
    list->SetPathFromID(small);
    Application->ProcessMessages();
    double measured = 0;
    int entries = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        list->SetPathFromID(big);
        UpdateWindow(list->Handle());
        measured += ThreadSeconds() - start;
        entries = list->FolderCount();
        state.PauseTiming();
        list->SetPathFromID(small);
        UpdateWindow(list->Handle());
        state.ResumeTiming();
    }
    const double perOp = measured / double(state.iterations());
    state.counters["x_baseline"] = perOp / baseline;
    state.counters["ms_per_op"] = perOp * 1e3;
    state.counters["baseline_ms"] = baseline * 1e3;
    state.counters["entries"] = double(entries);
}

}  // namespace

BENCHMARK(BM_OpenAndPaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListFolderMasked)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
