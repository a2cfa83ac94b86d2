// The desktop backend on a private Xvfb server: a shaped window with a drawing on
// it must look on the real X screen exactly as the headless backend composes it.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "HeadlessBackend.h"
#include "ScratchFolder.h"
#include "DesktopSession.h"
#include "DesktopBackend.h"
#include "TBitmap.h"
#include "TCanvas.h"
#include "WindowSystem.h"
#include "Windows.h"

extern char** environ;

// Xlib keeps some allocations for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libX11\nleak:libxcb\nleak:libXext\nleak:libXrandr\n";
}

namespace {


LRESULT DrawingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return DefWindowProc(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    dc->Brush.Color = RGB(30, 60, 200);
    dc->FillRect({0, 0, 220, 160});
    dc->Brush.Color = RGB(240, 200, 20);
    dc->FillRect({20, 30, 120, 90});
    dc->Pen.Color = clRed;
    dc->MoveTo(0, 159);
    dc->LineTo(219, 0);
    dc->Brush.Style = bsClear;
    dc->Font.SetColor(clWhite);
    dc->TextOut(30, 110, "Mirvo");
    EndPaint(h, ps);
    return 0;
}

// The window the test shows: a popup at (100, 80) of 220 x 160, its corners
// cut away by its region, with a child window in another colour.
void ShowShapedWindow() {
    WNDCLASS wc;
    wc.lpfnWndProc = DrawingProc;
    wc.lpszClassName = "Shaped";
    RegisterClass(wc);
    HWND w = CreateWindowEx(0, "Shaped", "", WS_POPUP, 100, 80, 220, 160, nullptr);
    const TRegion shape = TRegion::FromRects(std::vector<TRect>{{20, 0, 200, 160}, {0, 20, 220, 140}});
    SetWindowRgn(w, &shape, FALSE);
    WNDCLASS child;
    child.lpfnWndProc = DefWindowProc;
    child.hbrBackground = clLime;
    child.lpszClassName = "Pane";
    RegisterClass(child);
    CreateWindowEx(0, "Pane", "", WS_CHILD | WS_VISIBLE, 150, 100, 50, 40, w);
    ShowWindow(w, SW_SHOWNORMAL);
}

TEST(DesktopBackendTest, AShapedWindowOnXvfbLooksLikeTheHeadlessRendering) {
    // A private server on a display number it picks itself; no window
    // manager, so the window lands exactly where it was asked.
    DesktopSession xvfb;
    // scripts/install-deps installs Xvfb: a server that does not start is a failure, not a pass.
    ASSERT_TRUE(xvfb.Start(false, false)) << xvfb.error();
    const TRect area{80, 60, 340, 260};  // the window and a margin of desktop around it

    TBitmap onX;
    {
        WindowSystemSession session(OpenDesktopBackend());
        ShowShapedWindow();
        for (int i = 0; i < 20; ++i) {
            PumpMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        const ScratchFolder scratch;
        const std::string shot = (scratch / "xvfb_shot.bmp").string();
        const std::string cmd = "import -window root BMP3:" + shot + " 2>/dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << "ImageMagick import failed";
        TBitmap root;
        root.LoadFromFile(shot);
        std::remove(shot.c_str());
        ASSERT_EQ(root.Width(), 1024);
        onX.SetSize(area.Width(), area.Height());
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x)
                onX.ScanLine(y)[x] = root.ScanLine(area.Top + y)[area.Left + x] & 0x00FFFFFFu;
    }
    xvfb.Stop();

    TBitmap headless;
    {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        HeadlessBackend* screen = backend.get();
        screen->SetDesktopColor(clBlack);  // Xvfb -br
        WindowSystemSession session(std::move(backend));
        ShowShapedWindow();
        PumpMessages();
        screen->ReadScreenRect(area, headless);
    }

    int differing = 0;
    TPoint first{-1, -1};
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            if ((headless.ScanLine(y)[x] & 0x00FFFFFFu) != onX.ScanLine(y)[x]) {
                if (!differing) first = {x, y};
                ++differing;
            }
    EXPECT_EQ(differing, 0) << "first difference at " << first.X + area.Left << "," << first.Y + area.Top;
    // The cut corner shows the desktop, the window's inside its drawing.
    EXPECT_EQ(onX.ScanLine(80 + 2 - area.Top)[100 + 2 - area.Left], 0u);
    EXPECT_EQ(onX.ScanLine(80 + 50 - area.Top)[100 + 50 - area.Left], 0xF0C814u);
}


LRESULT CaptionProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCHITTEST) return HTCAPTION;  // the whole window drags
    return DefWindowProc(h, msg, wp, lp);
}

// A navy 240 x 160 popup at (100, 80), titled so that xdotool finds it, shown.
HWND ShowNavyPopup(const char* className, const char* title, WNDPROC proc) {
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = clNavy;
    wc.lpszClassName = className;
    RegisterClass(wc);
    const HWND w = CreateWindowEx(0, className, title, WS_POPUP, 100, 80, 240, 160, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    return w;
}

// Dragging a window by its caption with quick pointer moves: the X server
// reports each move relative to where the window stood when it happened, and
// the program moves the window between reading one move and the next. The
// window must end where the pointer put it, not further.
TEST(DesktopBackendTest, AQuickCaptionDragMovesTheWindowExactlyAsFarAsThePointer) {
    DesktopSession xvfb;
    ASSERT_TRUE(xvfb.Start(false, false)) << xvfb.error();
    WindowSystemSession session(OpenDesktopBackend());
    const HWND w = ShowNavyPopup("Dragged", "Mirvo drag", CaptionProc);
    const auto pumpFor = [&](double seconds) {
        const double end = DesktopSession::Seconds() + seconds;
        while (DesktopSession::Seconds() < end) {
            PumpMessages();
            session.backend().WaitForEvent(20);
        }
    };
    const double shown = DesktopSession::Seconds() + 10;
    while (xvfb.Run("xdotool search --onlyvisible --name 'Mirvo drag' >/dev/null 2>&1") != 0 &&
           DesktopSession::Seconds() < shown)
        pumpFor(0.1);
    pumpFor(0.3);

    // Every move waits in the queue before the program reads the first, so
    // each one is reported relative to the window's starting place.
    std::string drag = "xdotool mousemove 150 100 mousedown 1";
    for (int step = 1; step <= 8; ++step)
        drag += " mousemove " + std::to_string(150 + 10 * step) + " " + std::to_string(100 + 5 * step);
    ASSERT_EQ(xvfb.Run(drag + " mouseup 1"), 0);
    TRect r;
    const double end = DesktopSession::Seconds() + 5;
    do {
        pumpFor(0.1);
        GetWindowRect(w, r);
    } while (r.TopLeft() != TPoint{180, 120} && DesktopSession::Seconds() < end);
    pumpFor(0.3);  // no later step may carry it further
    GetWindowRect(w, r);
    EXPECT_EQ(r.Left, 180);
    EXPECT_EQ(r.Top, 120);
    // The native window stands where the window system put it.
    EXPECT_EQ(xvfb.Output("xdotool search --name 'Mirvo drag' getwindowgeometry --shell | grep -E '^(X|Y)=' | tr '\\n' ' '"),
              "X=180 Y=120");
}

// Once the window under the pointer is hidden (a minimise), the pointer
// moves on without telling the program; the cursor position must still be
// where the pointer is, or a frame button long left stays lit.
TEST(DesktopBackendTest, TheCursorPositionFollowsThePointerAwayFromAHiddenWindow) {
    DesktopSession xvfb;
    ASSERT_TRUE(xvfb.Start(false, false)) << xvfb.error();
    WindowSystemSession session(OpenDesktopBackend());
    const HWND w = ShowNavyPopup("Left", "Mirvo left", DefWindowProc);
    const auto pumpUntil = [&](const std::function<bool()>& done, double seconds = 5) {
        const double end = DesktopSession::Seconds() + seconds;
        while (!done() && DesktopSession::Seconds() < end) {
            PumpMessages();
            session.backend().WaitForEvent(20);
        }
        return done();
    };
    const auto cursor = [] {
        TPoint p;
        GetCursorPos(p);
        return p;
    };
    ASSERT_TRUE(pumpUntil([&] { return xvfb.Run("xdotool search --onlyvisible --name 'Mirvo left' >/dev/null 2>&1") == 0; }));
    xvfb.Run("xdotool mousemove 150 100");
    ASSERT_TRUE(pumpUntil([&] { return cursor() == TPoint{150, 100}; }));

    ShowWindow(w, SW_HIDE);
    pumpUntil([] { return false; }, 0.3);
    xvfb.Run("xdotool mousemove 900 700");
    EXPECT_TRUE(pumpUntil([&] { return cursor() == TPoint{900, 700}; })) << cursor().X << "," << cursor().Y;
}

}  // namespace

namespace {

// The screen area `area` of the X screen, as shown after the window system
// had a moment to present the shaped window.
void CaptureShapedWindow(const TRect& area, TBitmap& out) {
    WindowSystemSession session(OpenDesktopBackend());
    ShowShapedWindow();
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        session.backend().WaitForEvent(25);
    }
    const ScratchFolder scratch;
    const std::string shot = (scratch / "xvfb_shot.bmp").string();
    ASSERT_EQ(std::system(("import -window root BMP3:" + shot + " 2>/dev/null").c_str()), 0);
    TBitmap root;
    root.LoadFromFile(shot);
    out.SetSize(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x) out.ScanLine(y)[x] = root.ScanLine(area.Top + y)[area.Left + x] & 0x00FFFFFFu;
}

}  // namespace

// On a sharp screen every window is composed at its normal size and shown
// enlarged pixel by pixel: at scale 2 the screen shows the 1x rendering
// doubled, shape and place included, and pointer positions come back in
// 1x coordinates.
TEST(DesktopBackendTest, AtScaleTwoTheWindowShowsTheNormalRenderingDoubled) {
    const TRect area{80, 60, 340, 260};
    TBitmap normal, doubled;
    // One server for both renderings: the 1x window is gone with its session.
    DesktopSession xvfb;
    ASSERT_TRUE(xvfb.Start(false, false)) << xvfb.error();
    setenv("MIRVO_SCALE", "1", 1);
    CaptureShapedWindow(area, normal);
    {
        setenv("MIRVO_SCALE", "2", 1);
        CaptureShapedWindow({area.Left * 2, area.Top * 2, area.Right * 2, area.Bottom * 2}, doubled);

        WindowSystemSession session(OpenDesktopBackend());
        const HWND w = ShowNavyPopup("ScaledClicks", "Mirvo scaled", DefWindowProc);
        for (int i = 0; i < 20; ++i) {
            PumpMessages();
            session.backend().WaitForEvent(25);
        }
        EXPECT_EQ(xvfb.Output("xdotool search --name 'Mirvo scaled' getwindowgeometry --shell | grep -E '^(X|Y|WIDTH|HEIGHT)=' | tr '\\n' ' '"),
                  "X=200 Y=160 WIDTH=480 HEIGHT=320");
        xvfb.Run("xdotool mousemove 300 250");
        TPoint p;
        for (int i = 0; i < 100 && p != TPoint{150, 125}; ++i) {
            PumpMessages();
            session.backend().WaitForEvent(20);
            GetCursorPos(p);
        }
        EXPECT_EQ(p.X, 150);
        EXPECT_EQ(p.Y, 125);
        DestroyWindow(w);
    }
    unsetenv("MIRVO_SCALE");
    int differing = 0;
    for (int y = 0; y < doubled.Height(); ++y)
        for (int x = 0; x < doubled.Width(); ++x)
            if (doubled.ScanLine(y)[x] != normal.ScanLine(y / 2)[x / 2]) ++differing;
    EXPECT_EQ(differing, 0);
    // The window's inside at its doubled place.
    EXPECT_EQ(doubled.ScanLine(2 * (80 + 50 - area.Top))[2 * (100 + 50 - area.Left)], 0xF0C814u);
}
