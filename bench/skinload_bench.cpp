// Loading a whole skin, from its directory and from its .skn file, each
// against reading the same files' bytes. Every iteration times the baseline
// and the load back to back, so machine noise hits both alike; the counter
// "x_read" is load time / read time.
//
// The skin is made at start-up: frame pictures of a real window size, a
// picture list of two dozen strips and some 160 records of every kind.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SkinRecordFactory.h"
#include "SysUtils.h"
#include "TbsSkinData.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void WritePicture(const std::string& path, int width, int height, int seed) {
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF000000u | std::uint32_t((x * 3 + seed) & 0xFF) << 16 | std::uint32_t((y * 5) & 0xFF) << 8 |
                     std::uint32_t(((x ^ y) + seed) & 0xFF);
    }
    bitmap.SaveToFile(path);
}

struct BenchSkin {
    std::string dir;
    std::string ini;
    std::string skn;
    std::vector<std::string> files;  // every file a directory load reads
};

const BenchSkin& Skin() {
    static const BenchSkin skin = [] {
        BenchSkin s;
        std::string pattern = (fs::temp_directory_path() / "mirvo-skinload-XXXXXX").string();
        s.dir = std::string(mkdtemp(pattern.data())) + "/";
        std::string text = "[VERSION]\nskinname=bench\n[PICTURES]\npicture=frame.bmp\ninactivepicture=inactive.bmp\n"
                           "mask=mask.bmp\nactivepicturescount=24\n";
        WritePicture(s.dir + "frame.bmp", 640, 480, 1);
        WritePicture(s.dir + "inactive.bmp", 640, 480, 2);
        WritePicture(s.dir + "mask.bmp", 640, 480, 3);
        for (const char* f : {"frame.bmp", "inactive.bmp", "mask.bmp"}) s.files.push_back(s.dir + f);
        for (int i = 0; i < 24; ++i) {
            const std::string name = Format("strip%d.bmp", i);
            WritePicture(s.dir + name, 256, 128, i);
            s.files.push_back(s.dir + name);
            text += Format("%d=%s\n", i, name.c_str());
        }
        text += "[FORMINFO]\nlefttoppoint=10,30\nrighttoppoint=630,30\nleftbottompoint=10,470\n"
                "rightbottompoint=630,470\nclientrect=10,30,630,470\nbuttonsrect=560,4,636,26\n";
        text += "[POPUPWINDOW]\nwindowpictureindex=0\nitemsrect=4,4,250,124\n[HINTWINDOW]\nwindowpictureindex=1\n";
        std::string sections;
        const auto objects = SkinObjectKinds();
        text += "[SKINOBJECTS]\ncount=40\n";
        for (int i = 0; i < 40; ++i) {
            const std::string name = Format("object%d", i);
            text += Format("%d=%s:%s\n", i, name.c_str(), objects[std::size_t(i) % objects.size()].kind);
            sections += "[" + name + "]\nactivepictureindex=2\nskinrect=560,4,580,24\nactiveskinrect=0,0,20,20\n"
                        "fontname=Tahoma\nfontheight=12\nfontstyle=fsbold\ntextrect=4,4,200,20\n";
        }
        const auto controls = SkinControlKinds();
        text += "[SKINCONTROLS]\ncount=120\n";
        for (int i = 0; i < 120; ++i) {
            const std::string name = Format("control%d", i);
            text += Format("%d=%s:%s\n", i, name.c_str(), controls[std::size_t(i) % controls.size()].kind);
            sections += "[" + name + "]\npictureindex=" + std::to_string(i % 24) +
                        "\nskinrect=0,0,120,60\nlefttoppoint=4,4\nrighttoppoint=116,4\nleftbottompoint=4,56\n"
                        "rightbottompoint=116,56\nclientrect=4,4,116,56\nfontname=Arial\nfontheight=14\n"
                        "fontcolor=0\nactiveskinrect=120,0,240,60\nbuttonrect=0,60,20,80\n";
        }
        s.ini = s.dir + "skin.ini";
        std::ofstream(s.ini, std::ios::binary) << text << sections;
        s.files.push_back(s.ini);

        const auto packed = CreateUnowned<TbsCompressedStoredSkin>();
        packed->CompressIniSkin(s.ini);
        s.skn = s.dir + "skin.skn";
        TFileStream out(s.skn, fmCreate);
        packed->WritePacked(out);
        return s;
    }();
    return skin;
}

std::size_t ReadBytes(const std::vector<std::string>& files) {
    std::size_t total = 0;
    for (const std::string& file : files) {
        TMemoryStream bytes;
        bytes.LoadFromFile(file);
        total += std::size_t(bytes.Size());
        benchmark::DoNotOptimize(bytes.Memory());
    }
    return total;
}

template <class Load>
void RunAgainstRead(benchmark::State& state, const std::vector<std::string>& files, Load load) {
    const auto data = CreateUnowned<TbsSkinData>();
    double readSeconds = 0;
    double loadSeconds = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        bytes = ReadBytes(files);
        const auto t1 = Clock::now();
        load(*data);
        const auto t2 = Clock::now();
        if (data->IsEmpty()) state.SkipWithError("the skin did not load");
        readSeconds += std::chrono::duration<double>(t1 - t0).count();
        const double loadTime = std::chrono::duration<double>(t2 - t1).count();
        loadSeconds += loadTime;
        state.SetIterationTime(loadTime);
    }
    state.counters["x_read"] = readSeconds > 0 ? loadSeconds / readSeconds : 0;
    state.counters["bytes"] = double(bytes);
}

void BM_LoadIniSkin(benchmark::State& state) {
    const BenchSkin& skin = Skin();
    RunAgainstRead(state, skin.files, [&](TbsSkinData& data) { data.LoadIniSkin(skin.ini); });
}
BENCHMARK(BM_LoadIniSkin)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LoadPackedSkinFile(benchmark::State& state) {
    const BenchSkin& skin = Skin();
    RunAgainstRead(state, {skin.skn}, [&](TbsSkinData& data) { data.LoadPackedSkinFile(skin.skn); });
}
BENCHMARK(BM_LoadPackedSkinFile)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
