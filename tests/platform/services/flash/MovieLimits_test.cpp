// Movies made to cost gigabytes or minutes: many large bitmaps, a shape with
// tens of thousands of styles and edges placed many times. Each is played
// within bounded memory and time: definitions past the movie's limits are
// left out, drawing grows with the edges (not edges times styles), and a
// frame too heavy to draw is given up rather than waited for.

#include <gtest/gtest.h>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "CostMeter.h"
#include "HostileMovies.h"
#include "SwfTestMovies.h"
#include "TFlashMovie.h"
#include "TShockwaveFlash.h"

namespace {

Bytes MovieWithShape(const Bytes& shapeBody, int placements) {
    MovieWriter movie(300, 50);
    Bytes tag{1, 0};
    tag.insert(tag.end(), shapeBody.begin(), shapeBody.end());
    movie.Tag(32, tag);
    for (int depth = 1; depth <= placements; ++depth) movie.Place2(depth, 1);
    movie.ShowFrame();
    return movie.Cws();
}

TEST(MovieLimits, DrawingGrowsWithTheEdgesNotWithEdgesTimesStyles) {
    // 4,000 styles, 4,000 edges (as many items as a movie may hold): walking
    // every edge once per style would take 16 million steps.
    TFlashMovie movie;
    movie.LoadFromBytes(MovieWithShape(hostile::ZigzagShape(4000, 7, 4000, 20), 1));
    ASSERT_TRUE(movie.Valid());
    TBitmap target(300, 50);
    const CostMeter cost;
    EXPECT_TRUE(movie.RenderFrame(0, target, fsmExactFit, clWhite));
    EXPECT_LT(cost.CpuSeconds(), 2.0);
}

TEST(MovieLimits, AFrameTooHeavyToDrawIsGivenUpQuickly) {
    // 8,000 edges crossing the whole banner, placed eight times: far more
    // work than a frame may do.
    const Bytes heavy = MovieWithShape(hostile::ZigzagShape(2, 1, 8000, 1000), 8);
    EXPECT_LT(heavy.size(), 400u << 10);
    const CostMeter cost;
    TFlashMovie movie;
    movie.LoadFromBytes(heavy);
    ASSERT_TRUE(movie.Valid());
    const double loading = cost.CpuSeconds();
    TBitmap target(300, 50);
    for (int tick = 0; tick < 3; ++tick) EXPECT_FALSE(movie.RenderFrame(0, target, fsmExactFit, clWhite)) << tick;
    EXPECT_LT(loading, 10.0);
    // Milliseconds in a plain build; the bound leaves room for the
    // sanitizers on a busy machine, and is still far from the minutes that
    // drawing the whole frame would take.
    EXPECT_LT((cost.CpuSeconds() - loading) / 3, 3.0) << "seconds per tick";
    EXPECT_LT(cost.PeakGrowthMiB(), 200.0);
}

TEST(MovieLimits, TheBitmapsOfOneMovieAreLimitedTogether) {
    // Forty colour-mapped 2048 x 2048 bitmaps, each of zeros; together 160
    // million pixels, 640 MiB decoded, from a file of a few hundred KB.
    constexpr int kSide = 2048;
    Bytes pixels(std::size_t(3) + std::size_t(kSide) * kSide, 0);  // a 1-entry RGB table, then rows
    const Bytes packed = MovieWriter::Deflate(pixels);
    MovieWriter writer(300, 50);
    for (int id = 1; id <= 40; ++id) {
        BitWriter tag;
        tag.U16(static_cast<std::uint16_t>(id));
        tag.U8(3);
        tag.U16(kSide);
        tag.U16(kSide);
        tag.U8(0);  // table of one colour
        tag.Append(packed);
        writer.Tag(20, tag.Data());
    }
    writer.ShowFrame();
    const Bytes file = writer.Cws();
    EXPECT_LT(file.size(), 1u << 20);

    const CostMeter cost;
    TFlashMovie movie;
    movie.LoadFromBytes(file);
    EXPECT_TRUE(movie.Valid());
    EXPECT_LT(cost.CpuSeconds(), 10.0);
    // One bitmap (16 MiB) fits the movie's limit; the others are left out.
    EXPECT_LT(cost.PeakGrowthMiB(), 120.0);
}

// How far the resident high-water mark of a fresh child process rises
// while it runs `work`, in KiB: each measurement starts from the same
// small process, whatever the test did before.
double PeakGrowthKiBInChild(const std::function<void()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        auto status = [](const char* field) {
            std::ifstream in("/proc/self/status");
            std::string line;
            while (std::getline(in, line))
                if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size()));
            return 0.0;
        };
        const double before = status("VmHWM:");
        work();
        const double growth = status("VmHWM:") - before;
        [[maybe_unused]] const auto written = ::write(fds[1], &growth, sizeof growth);
        ::_exit(0);
    }
    ::close(fds[1]);
    double growth = -1;
    [[maybe_unused]] const auto got = ::read(fds[0], &growth, sizeof growth);
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    return growth;
}

// Loads a movie from its bytes and draws every frame of it (as far as 240)
// into a banner-sized picture, in order, as the banner does.
void PlayThrough(const Bytes& bytes) {
    TFlashMovie movie;
    movie.LoadFromBytes(bytes);
    FlashRenderCache cache;
    TBitmap target(300, 50);
    for (int frame = 0; frame < std::min(movie.FrameCount(), 240); ++frame)
        movie.RenderFrame(frame, target, fsmExactFit, clWhite, &cache);
}

Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MovieLimits, AHostileMovieCostsAtMostTwiceTheMemoryOfADeliveredAd) {
    const Bytes hostileMovie = hostile::HostileMovie();
    EXPECT_LT(hostileMovie.size(), 200u << 10);
    double delivered = 0;
    for (int ad = 1; ad <= 3; ++ad) {
        const Bytes bytes = FileBytes(std::string(MIRVO_SOURCE_DIR) + "/dat/ad/ad" + std::to_string(ad) + ".swf");
        delivered = std::max(delivered, PeakGrowthKiBInChild([&] { PlayThrough(bytes); }));
    }
    const double hostileCost = PeakGrowthKiBInChild([&] { PlayThrough(hostileMovie); });
    ASSERT_GT(delivered, 0);
    EXPECT_LE(hostileCost, 2 * delivered) << "KiB: the hostile movie " << hostileCost << ", a delivered ad " << delivered;
}

TEST(MovieLimits, AHostileMovieKeepsTheBannerUnderTwoPerCentOfACore) {
    // The banner draws at most kMaxBannerFramesPerSecond frames a second;
    // each of the hostile movie's frames takes all the work a frame may do.
    TFlashMovie movie;
    movie.LoadFromBytes(hostile::HostileMovie());
    ASSERT_GE(movie.FrameCount(), 200);
    EXPECT_GT(movie.FrameRate(), 255);
    FlashRenderCache cache;
    TBitmap target(300, 50);
    const CostMeter cost;
    for (int frame = 0; frame < 200; ++frame) movie.RenderFrame(frame, target, fsmExactFit, clWhite, &cache);
    const double perFrame = cost.CpuSeconds() / 200;
    EXPECT_LT(perFrame * kMaxBannerFramesPerSecond, 0.02) << perFrame * 1000 << " ms a frame";
}

}  // namespace
