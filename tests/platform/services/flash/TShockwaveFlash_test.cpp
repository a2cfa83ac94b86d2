#include "TShockwaveFlash.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "HostileMovies.h"
#include "ScratchFolder.h"
#include "SwfTestMovies.h"
#include "WindowSystem.h"

namespace {

namespace fs = std::filesystem;

// The banner's place in the main window.
const TRect kBanner{15, 280, 315, 330};
const TColor kFormColor = RGB(0xD4, 0xD0, 0xC8);

AnsiString Ad(int n) { return AnsiString(MIRVO_SOURCE_DIR) + "/dat/ad/ad" + std::to_string(n) + ".swf"; }

// 20 x 10 on grey, 4 frames a second: a red square over the whole frame in
// frames 0 and 1, nothing in frames 2 and 3.
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

// 20 x 10, one frame: the left half red, the right half blue.
Bytes HalvesMovie() {
    MovieWriter movie(20, 10);
    ShapeWriter red(1, {SolidFill({255, 0, 0, 255}, 1)});
    red.Rectangle(0, 0, 200, 200, 1);
    ShapeWriter blue(1, {SolidFill({0, 0, 255, 255}, 1)});
    blue.Rectangle(200, 0, 400, 200, 1);
    movie.Shape(1, red);
    movie.Shape(2, blue);
    movie.Place2(1, 1);
    movie.Place2(2, 2);
    movie.ShowFrame();
    return movie.Fws();
}

// The colours of a picture's pixels, row by row (the unused top byte of a
// pixel differs between screen and bitmaps).
std::vector<std::uint32_t> Rgb(const TBitmap& picture) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) pixels.push_back(picture.ScanLine(y)[x] & 0xFFFFFF);
    return pixels;
}

class TShockwaveFlashTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        Write("blink.swf", BlinkingMovie());
        Write("halves.swf", HalvesMovie());

        // A borderless form at the screen's origin, so that form and screen
        // coordinates agree; the form owns the banner.
        form_ = Application->CreateForm<TForm>();
        form_->SetBorderStyle(bsNone);
        form_->SetBoundsRect({0, 0, 345, 360});
        form_->SetColor(kFormColor);
        banner_ = CreateComponent<TShockwaveFlash>(form_);
        banner_->SetParent(form_);
        banner_->SetBoundsRect(kBanner);
        form_->Show();
        Pump();
    }
    void TearDown() override {
        app_.reset();
        session_.reset();
    }

    AnsiString Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    void Pump() { Application->ProcessMessages(); }
    // Lets virtual time pass in small steps, each followed by the message
    // loop, so that timers fire and paint as they would in the program.
    void Advance(unsigned ms) {
        for (unsigned done = 0; done < ms; done += 5) {
            screen_->Sleep(std::min(5u, ms - done));
            Pump();
        }
    }
    // The screen's pixels in the banner's rectangle.
    std::vector<std::uint32_t> Shot() {
        Pump();
        TBitmap shot;
        screen_->ReadScreenRect(kBanner, shot);
        return Rgb(shot);
    }
    TColor ScreenPixel(int x, int y) {
        Pump();
        TBitmap shot;
        screen_->ReadScreenRect({x, y, x + 1, y + 1}, shot);
        return shot.Pixels(0, 0);
    }
    // What the loaded movie's frame looks like stretched over the banner.
    std::vector<std::uint32_t> Expected(int frame) const {
        TBitmap picture(kBanner.Width(), kBanner.Height());
        banner_->Playback().LoadedMovie().RenderFrame(frame, picture, fsmExactFit, banner_->Playback().Background());
        return Rgb(picture);
    }
    // Counts the frame timer's ticks from now on.
    int& CountTicks() {
        auto ticks = std::make_shared<int>(0);
        ticks_ = ticks;
        banner_->WindowProc = [ticks, previous = banner_->WindowProc](TMessage& m) {
            if (m.Msg == WM_TIMER) ++*ticks;
            previous(m);
        };
        return *ticks;
    }
    void ExpectBannerFilledWith(TColor color, const std::string& what) {
        const auto shot = Shot();
        const std::uint32_t pixel = ColorToPixel(color) & 0xFFFFFF;
        EXPECT_EQ(std::count(shot.begin(), shot.end(), pixel), std::ptrdiff_t(shot.size())) << what;
    }
    void ExpectFormAroundBanner(const std::string& what) {
        for (const TPoint p : {TPoint{14, 300}, TPoint{315, 300}, TPoint{100, 279}, TPoint{100, 330}})
            EXPECT_EQ(ScreenPixel(p.X, p.Y), kFormColor) << what << " at " << p.X << "," << p.Y;
    }

    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    // The test's own folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.Path();
    TForm* form_ = nullptr;
    TShockwaveFlash* banner_ = nullptr;
    std::shared_ptr<int> ticks_;  // the latest tick counter, alive to the end of the test
};

TEST_F(TShockwaveFlashTest, PlaysAnAdInsideTheBannerAndMovesOnWithTime) {
    banner_->SetProperty(DISPID_FLASH_BACKGROUNDCOLOR, 0xFFFFFF);
    banner_->SetProperty(DISPID_FLASH_SCALEMODE, fsmExactFit);
    const std::uint64_t start = screen_->Now();
    banner_->SetProperty(DISPID_FLASH_MOVIE, Ad(1));
    const TFlashMovie& movie = banner_->Playback().LoadedMovie();
    ASSERT_TRUE(movie.Valid());
    ASSERT_GT(movie.FrameCount(), 1);

    // Thirty samples over one and a half loops, a little over a twentieth of
    // a loop apart so that they fall at different points within frames: the
    // screen always shows the frame due at that moment, stretched over the
    // banner, and nothing outside it.
    const double loopMs = movie.FrameCount() * 1000.0 / movie.FrameRate();
    const unsigned step = static_cast<unsigned>(loopMs / 20) / 5 * 5 + 5;
    std::set<std::vector<std::uint32_t>> pictures;
    for (int sample = 0; sample < 30; ++sample) {
        const auto shot = Shot();
        const int due = movie.FrameAtTime(double(screen_->Now() - start));
        ASSERT_EQ(banner_->PaintedFrame(), due) << "at " << screen_->Now() - start << " ms";
        ASSERT_EQ(shot, Expected(due)) << "frame " << due;
        pictures.insert(shot);
        Advance(step);
    }
    EXPECT_GE(pictures.size(), 3u);
    ExpectFormAroundBanner("ad1");
}

TEST_F(TShockwaveFlashTest, FramesAdvanceAtTheMoviesRateWithOneTickPerFrame) {
    banner_->SetScaleMode(fsmExactFit);
    int& ticks = CountTicks();
    banner_->SetMovie(Path("blink.swf"));
    struct Sample {
        unsigned atMs;
        TColor colour;
    };
    const TColor grey = RGB(0x80, 0x80, 0x80);
    unsigned now = 0;
    for (const Sample s : {Sample{0, clRed}, Sample{240, clRed}, Sample{260, clRed}, Sample{510, grey},
                           Sample{990, grey}, Sample{1010, clRed}, Sample{1760, grey}}) {
        Advance(s.atMs - now);
        now = s.atMs;
        ExpectBannerFilledWith(s.colour, "at " + std::to_string(s.atMs) + " ms");
    }
    // Frames are due every 250 ms: seven frame changes so far, each one tick,
    // not a tick every few milliseconds.
    EXPECT_GE(ticks, 7);
    EXPECT_LE(ticks, 8);
}

TEST_F(TShockwaveFlashTest, AMovieStatingTheFastestRateIsDrawnAtMostFifteenTimesASecond) {
    // 256 frames a second, each unlike the one before: the frames between
    // two ticks are skipped, and the frame shown is still the one due.
    banner_->SetScaleMode(fsmExactFit);
    Write("fast.swf", hostile::HostileMovie());
    int& ticks = CountTicks();
    auto paints = std::make_shared<int>(0);
    banner_->SetMovie(Path("fast.swf"));
    const std::uint64_t start = screen_->Now();
    banner_->WindowProc = [paints, previous = banner_->WindowProc](TMessage& m) {
        if (m.Msg == WM_PAINT) ++*paints;
        previous(m);
    };
    Advance(2000);
    EXPECT_GT(banner_->Playback().LoadedMovie().FrameRate(), 255);
    EXPECT_LE(ticks, 2 * int(kMaxBannerFramesPerSecond) + 1);
    EXPECT_LE(*paints, 2 * int(kMaxBannerFramesPerSecond) + 2);
    EXPECT_GE(*paints, 2 * int(kMaxBannerFramesPerSecond) - 2);
    const int painted = banner_->PaintedFrame();
    const int due = banner_->Playback().LoadedMovie().FrameAtTime(double(screen_->Now() - start));
    // At most one tick behind: the frames of one tick's interval.
    const int framesPerTick = int(std::ceil(256 / kMaxBannerFramesPerSecond));
    EXPECT_LE((due - painted + 240) % 240, framesPerTick) << "painted " << painted << ", due " << due;
}

TEST_F(TShockwaveFlashTest, OnlyFramesThatChangeThePictureArePainted) {
    banner_->SetScaleMode(fsmExactFit);
    banner_->SetMovie(Path("blink.swf"));
    const std::uint64_t start = screen_->Now();
    Advance(100);
    auto paints = std::make_shared<int>(0);
    banner_->WindowProc = [paints, previous = banner_->WindowProc](TMessage& m) {
        if (m.Msg == WM_PAINT) ++*paints;
        previous(m);
    };
    // Frames are due every 250 ms but the picture changes every 500 ms:
    // red, grey, red, grey. Each change is painted once and shown; the
    // frames between cost no paint, yet count as shown.
    const TColor grey = RGB(0x80, 0x80, 0x80);
    const TFlashMovie& movie = banner_->Playback().LoadedMovie();
    for (const auto& [atMs, colour] : {std::pair{400u, clRed}, std::pair{600u, grey}, std::pair{900u, grey},
                                       std::pair{1100u, clRed}, std::pair{1400u, clRed}, std::pair{1600u, grey}}) {
        Advance(atMs - unsigned(screen_->Now() - start));
        ExpectBannerFilledWith(colour, "at " + std::to_string(atMs) + " ms");
        EXPECT_EQ(banner_->PaintedFrame(), movie.FrameAtTime(double(screen_->Now() - start))) << atMs;
    }
    EXPECT_EQ(*paints, 3);
}

TEST_F(TShockwaveFlashTest, TheBackgroundColourShowsWhereThereIsNoMovieToPlay) {
    Write("garbage.swf", Bytes(3000, 0xA5));
    Write("header only.swf", {'F', 'W', 'S', 8, 30, 0, 0, 0});
    const Bytes ad = [] {
        std::ifstream in(Ad(2), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }();
    Write("empty.swf", {});
    ASSERT_EQ(::mkfifo(Path("pipe.swf").c_str(), 0600), 0);

    // The colour is given as 0xRRGGBB, as the program passes it.
    int colour = 0x123456;
    for (const AnsiString& movie : {AnsiString(), Path("missing.swf"), Path("garbage.swf"), Path("header only.swf"),
                                    Path("empty.swf"), Path("pipe.swf"), Path("") /* a directory */}) {
        banner_->SetProperty(DISPID_FLASH_BACKGROUNDCOLOR, colour);
        banner_->SetProperty(DISPID_FLASH_MOVIE, movie);
        Advance(300);
        ExpectBannerFilledWith(RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF), "'" + movie + "'");
        EXPECT_FALSE(banner_->Playing()) << movie;
        colour += 0x112233;
    }

    // Cut short anywhere, a real ad plays what is left or shows the colour;
    // the window carries on either way.
    for (const std::size_t length : {std::size_t(9), std::size_t(40), ad.size() / 3, ad.size() / 2, ad.size() - 1}) {
        Write("cut.swf", Bytes(ad.begin(), ad.begin() + std::ptrdiff_t(length)));
        banner_->SetMovie(Path("cut.swf"));
        Advance(500);
        EXPECT_EQ(Shot(), Expected(banner_->PaintedFrame())) << length;
        ExpectFormAroundBanner("cut at " + std::to_string(length));
    }
}

TEST_F(TShockwaveFlashTest, ScaleModeTwoStretchesTheMovieOverTheBanner) {
    banner_->SetBackgroundColor(0x00FF00);
    banner_->SetMovie(Path("halves.swf"));
    struct Case {
        int mode;
        int x;  // in the banner, at its middle row
        TColor colour;
    };
    // The 2:1 movie on the 6:1 banner: stretched it covers everything; shown
    // whole (mode 0) it is 100 pixels wide in the middle, on the background.
    for (const Case c : {Case{fsmExactFit, 1, clRed}, Case{fsmExactFit, 148, clRed}, Case{fsmExactFit, 151, clBlue},
                         Case{fsmExactFit, 298, clBlue}, Case{fsmShowAll, 1, clLime}, Case{fsmShowAll, 101, clRed},
                         Case{fsmShowAll, 198, clBlue}, Case{fsmShowAll, 298, clLime}}) {
        banner_->SetProperty(DISPID_FLASH_SCALEMODE, c.mode);
        EXPECT_EQ(ScreenPixel(kBanner.Left + c.x, kBanner.Top + 25), c.colour) << "mode " << c.mode << " x " << c.x;
        EXPECT_EQ(ScreenPixel(kBanner.Left + c.x, kBanner.Top), c.colour) << "mode " << c.mode << " x " << c.x;
    }
}

TEST_F(TShockwaveFlashTest, ANewMovieReplacesTheOldOneAtAnyTime) {
    banner_->SetScaleMode(fsmExactFit);
    banner_->SetMovie(Ad(1));
    Advance(730);
    ASSERT_GT(banner_->PaintedFrame(), 0);

    // In the middle of playing: the new movie shows from its first frame.
    banner_->SetProperty(DISPID_FLASH_MOVIE, Ad(2));
    EXPECT_EQ(std::get<AnsiString>(banner_->GetProperty(DISPID_FLASH_MOVIE)), Ad(2));
    const auto shot = Shot();
    EXPECT_EQ(banner_->PaintedFrame(), 0);
    EXPECT_EQ(shot, Expected(0));
    Advance(400);
    EXPECT_EQ(Shot(), Expected(banner_->PaintedFrame()));

    // Named again, the same movie starts over.
    banner_->SetMovie(Ad(2));
    EXPECT_EQ(Shot(), Expected(0));
    EXPECT_EQ(banner_->PaintedFrame(), 0);

    // Named while hidden, it is the one shown once the banner is.
    banner_->Hide();
    banner_->SetMovie(Ad(3));
    Advance(100);
    banner_->Show();
    Advance(5);
    EXPECT_EQ(Shot(), Expected(banner_->PaintedFrame()));
    EXPECT_EQ(banner_->Playback().LoadedMovie().FrameAtTime(105), banner_->PaintedFrame());
}

TEST_F(TShockwaveFlashTest, AHiddenBannerDoesNoTimerWork) {
    struct Way {
        const char* name;
        std::function<void()> hide, show;
    };
    const Way ways[] = {
        {"banner hidden", [this] { banner_->Hide(); }, [this] { banner_->Show(); }},
        {"form hidden", [this] { form_->Hide(); }, [this] { form_->Show(); }},
        {"form minimised", [this] { form_->SetWindowState(wsMinimized); },
         [this] { form_->SetWindowState(wsNormal); }},
    };
    const std::uint64_t start = screen_->Now();
    banner_->SetMovie(Path("blink.swf"));
    for (const Way& way : ways) {
        Advance(100);
        ASSERT_TRUE(banner_->Playing()) << way.name;
        int& ticks = CountTicks();
        way.hide();
        Advance(2000);
        // A hidden form shows itself only at the next tick, which then stops.
        EXPECT_LE(ticks, 1) << way.name;
        EXPECT_FALSE(banner_->Playing()) << way.name;

        // Shown again, it plays on where the clock stands.
        way.show();
        Advance(1000);
        EXPECT_GE(ticks, 4) << way.name;
        EXPECT_TRUE(banner_->Playing()) << way.name;
        const TFlashMovie& movie = banner_->Playback().LoadedMovie();
        EXPECT_EQ(banner_->PaintedFrame(), movie.FrameAtTime(double(screen_->Now() - start))) << way.name;
    }

    // A still picture needs no timer either, visible or not.
    int& ticks = CountTicks();
    banner_->SetMovie(Path("halves.swf"));
    Advance(1000);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(banner_->Playing());
}

TEST_F(TShockwaveFlashTest, PropertiesAreReachedByTheirDispatchIds) {
    struct Case {
        int id;
        TFlashPropertyValue given;
        TFlashPropertyValue read;
    };
    for (const Case& c : {Case{DISPID_FLASH_SCALEMODE, 2, 2}, Case{DISPID_FLASH_SCALEMODE, AnsiString("3"), 3},
                          Case{DISPID_FLASH_BACKGROUNDCOLOR, 0xFFFFFF, 0xFFFFFF},
                          Case{DISPID_FLASH_BACKGROUNDCOLOR, AnsiString("255"), 255},
                          Case{DISPID_FLASH_MOVIE, AnsiString("x.swf"), AnsiString("x.swf")},
                          Case{DISPID_FLASH_MOVIE, 7, AnsiString("7")}}) {
        banner_->SetProperty(c.id, c.given);
        EXPECT_EQ(banner_->GetProperty(c.id), c.read) << c.id;
    }
    EXPECT_EQ(banner_->ScaleMode(), 3);
    EXPECT_EQ(banner_->BackgroundColor(), 255);
    EXPECT_EQ(banner_->Movie(), "7");
    EXPECT_THROW(banner_->SetProperty(101, 1), EInvalidOperation);
    EXPECT_THROW(banner_->GetProperty(124), EInvalidOperation);
    EXPECT_THROW(banner_->SetProperty(DISPID_FLASH_SCALEMODE, AnsiString("fit")), EConvertError);
    EXPECT_EQ(banner_->ScaleMode(), 3);
}

}  // namespace
