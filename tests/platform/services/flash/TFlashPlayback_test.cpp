#include "TFlashPlayback.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>


#include "ScratchFolder.h"
#include "SwfTestMovies.h"

namespace {

namespace fs = std::filesystem;

// A 20 x 10 movie on a grey background with a red square in frames 0 and 1
// and none in frames 2 and 3, at 4 frames a second.
Bytes BlinkingMovie() {
    MovieWriter movie(20, 10, 4);
    movie.Background(0x80, 0x80, 0x80);
    ShapeWriter square(3, {SolidFill({255, 0, 0, 255}, 3)});
    square.Rectangle(0, 0, 400, 200, 1);
    movie.Shape(1, square);
    movie.Place2(1, 1);
    movie.ShowFrame();
    movie.ShowFrame();
    movie.Remove2(1);
    movie.ShowFrame();
    movie.ShowFrame();
    return movie.Fws();
}

class TFlashPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Bytes movie = BlinkingMovie();
        std::ofstream(dir_ / "Blink.SWF", std::ios::binary).write(reinterpret_cast<const char*>(movie.data()), movie.size());
    }
    AnsiString Path(const std::string& name) const { return (dir_ / name).string(); }

    // The test's own folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.Path();
};

TEST_F(TFlashPlaybackTest, PlaysTheNamedMovieFromWhenItWasSetAndLoops) {
    TFlashPlayback player;
    // The program names ad files in lower case; the file on disk keeps its case.
    player.SetMovie(Path("blink.swf"), 10000);
    EXPECT_EQ(player.Movie(), Path("blink.swf"));
    ASSERT_TRUE(player.LoadedMovie().Valid());
    player.SetScaleMode(fsmExactFit);
    TBitmap banner(40, 10);
    struct Case {
        double nowMs;
        TColor expected;
    };
    for (const Case c : {Case{10000, clRed}, Case{10400, clRed}, Case{10600, RGB(0x80, 0x80, 0x80)}, Case{11100, clRed}}) {
        player.Render(c.nowMs, banner);
        EXPECT_EQ(banner.Pixels(39, 9), c.expected) << c.nowMs;
    }
    // A new movie starts again at its first frame.
    player.SetMovie(Path("Blink.SWF"), 20600);
    EXPECT_EQ(player.FrameAt(20600), 0);
    EXPECT_EQ(player.FrameAt(21100), 2);
}

TEST_F(TFlashPlaybackTest, TellsWhenTheNextFrameIsDue) {
    TFlashPlayback player;
    player.SetMovie(Path("blink.swf"), 10000);  // 4 frames a second
    ASSERT_TRUE(player.Animated());
    struct Case {
        double nowMs, untilNext;
    };
    for (const Case c : {Case{10000, 250}, Case{10100, 150}, Case{10249, 1}, Case{10250, 250}, Case{10999, 1},
                         Case{11000, 250}, Case{9000, 250}}) {
        EXPECT_DOUBLE_EQ(player.MsToNextFrame(c.nowMs), c.untilNext) << c.nowMs;
        // At the moment given the frame moves on, and not before it.
        if (c.nowMs < 10000) continue;
        const int frame = player.FrameAt(c.nowMs);
        EXPECT_EQ(player.FrameAt(c.nowMs + c.untilNext), (frame + 1) % 4) << c.nowMs;
        EXPECT_EQ(player.FrameAt(c.nowMs + c.untilNext - 0.5), frame) << c.nowMs;
    }
    // Nothing to wait for in a movie that cannot change.
    player.SetMovie(Path("missing.swf"), 0);
    EXPECT_FALSE(player.Animated());
}

TEST_F(TFlashPlaybackTest, TheControlsBackgroundColourReplacesTheMovies) {
    TFlashPlayback player;
    player.SetMovie(Path("blink.swf"), 0);
    player.SetScaleMode(fsmShowAll);
    TBitmap banner(40, 40);  // letterboxed: the background shows above and below
    player.Render(0, banner);
    EXPECT_EQ(banner.Pixels(0, 0), RGB(0x80, 0x80, 0x80));
    player.SetBackgroundColor(0x00FF00);  // 0xRRGGBB, as the control takes it
    player.Render(0, banner);
    EXPECT_EQ(banner.Pixels(0, 0), clLime);
    player.SetBackgroundColor(0xFFFFFF);
    player.SetMovie(Path("deleted since start-up.swf"), 0);
    EXPECT_FALSE(player.LoadedMovie().Valid());
    player.Render(0, banner);
    EXPECT_EQ(banner.Pixels(20, 20), clWhite);
}

}  // namespace
