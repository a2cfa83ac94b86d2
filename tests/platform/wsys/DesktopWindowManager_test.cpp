// The desktop backend on a private desktop with a window manager (openbox): the
// window's caption and icon reach the window manager, minimising iconifies
// the window (it stays in the window list), and activating it from the
// desktop restores it in the program and paints it again.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DesktopSession.h"
#include "ScratchFolder.h"
#include "DesktopBackend.h"
#include "TCanvas.h"
#include "Windows.h"
#include "WindowSystem.h"
#include "x11request_fixture.h"

namespace {

int restoreCommands = 0;

LRESULT PaintedProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_RESTORE) ++restoreCommands;
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return DefWindowProc(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    dc->Brush.Color = RGB(200, 40, 40);
    dc->FillRect({0, 0, 240, 160});
    dc->Brush.Color = RGB(30, 160, 60);
    dc->FillRect({40, 40, 120, 100});
    EndPaint(h, ps);
    return 0;
}

// Runs the message loop until `done` holds or the time is up.
bool PumpUntil(Backend& backend, const std::function<bool()>& done, double seconds = 8) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        PumpMessages();
        if (done()) return true;
        backend.WaitForEvent(20);
    }
    return false;
}

void PumpFor(Backend& backend, double seconds) {
    PumpUntil(backend, [] { return false; }, seconds);
}

}  // namespace

TEST(DesktopWindowManager, MinimiseIconifiesAndARestoreFromTheDesktopPaintsAgain) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, false)) << desktop.error();
    WindowSystemSession session(OpenDesktopBackend());
    Backend& backend = session.backend();
    restoreCommands = 0;

    WNDCLASS wc;
    wc.lpfnWndProc = PaintedProc;
    wc.lpszClassName = "Painted";
    RegisterClass(wc);
    // "中文" in code page 936.
    const HWND w = CreateWindowEx(0, "Painted", "Mirvo desk \xD6\xD0\xCE\xC4", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                                  100, 80, 240, 160, nullptr);
    SendMessage(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIcon(nullptr, IDI_APPLICATION)));
    ShowWindow(w, SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil(backend, [&] { return desktop.Run("xdotool search --name 'Mirvo desk' >/dev/null 2>&1") == 0; }));
    const std::string xid = desktop.Output("xdotool search --name 'Mirvo desk' | head -n1");
    PumpFor(backend, 0.5);

    // Title and icon as the window manager reads them.
    EXPECT_EQ(desktop.Output("xdotool getwindowname " + xid), "Mirvo desk 中文");
    EXPECT_NE(desktop.Output("xprop -id " + xid + " _NET_WM_NAME"), "");
    EXPECT_NE(desktop.Output("xprop -id " + xid + " _NET_WM_ICON | head -c 200").find("Icon (32 x 32)"),
              std::string::npos);

    const ScratchFolder scratch;
    const std::string dir = scratch.Dir();
    const std::string before = dir + "desk-before.png", minimised = dir + "desk-minimised.png",
                      after = dir + "desk-after.png";
    auto shoot = [&](const std::string& file) {
        return desktop.Run("import -window root -crop 240x160+100+80 +repage " + file) == 0;
    };
    auto pixel = [&](const std::string& file, int x, int y) {
        return desktop.Output("convert " + file + " -format '%[pixel:p{" + std::to_string(x) + "," +
                              std::to_string(y) + "}]' info:");
    };
    ASSERT_TRUE(shoot(before));
    EXPECT_EQ(pixel(before, 10, 10), "srgb(200,40,40)");
    EXPECT_EQ(pixel(before, 60, 60), "srgb(30,160,60)");

    // Minimised: iconified by the window manager, still in its window list.
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil(backend, [&] {
        return desktop.Output("xprop -id " + xid + " WM_STATE").find("Iconic") != std::string::npos;
    })) << desktop.Output("xprop -id " + xid + " WM_STATE");
    EXPECT_NE(desktop.Output("xprop -root _NET_CLIENT_LIST").find(desktop.Output("printf '0x%x' " + xid)),
              std::string::npos);
    PumpFor(backend, 0.3);
    ASSERT_TRUE(shoot(minimised));
    EXPECT_NE(pixel(minimised, 10, 10), "srgb(200,40,40)");

    // The desktop brings it back: the program hears its restore and paints.
    desktop.Run("xdotool windowactivate " + xid + " >/dev/null 2>&1");
    EXPECT_TRUE(PumpUntil(backend, [&] { return !IsIconic(w); }));
    EXPECT_EQ(restoreCommands, 1);
    PumpFor(backend, 0.5);
    ASSERT_TRUE(shoot(after));
    EXPECT_EQ(desktop.Output("compare -metric AE " + before + " " + after + " null: 2>&1"), "0");

    // The desktop's own minimise is the program's minimise.
    desktop.Run("xdotool windowminimize " + xid + " >/dev/null 2>&1");
    EXPECT_TRUE(PumpUntil(backend, [&] { return IsIconic(w) != FALSE; }));
    DestroyWindow(w);
}

namespace {
std::vector<WPARAM> activateAppSeen;

LRESULT PopupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ACTIVATEAPP) activateAppSeen.push_back(wp);
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProc(h, msg, wp, lp);
}
}  // namespace

// A popup that never activates (a menu popped from the tray icon), shown
// while no window of the program has the desktop's input focus, takes that
// focus, so the program hears the user turn to another program.
TEST(DesktopWindowManager, APopupShownInTheBackgroundHearsAClickIntoAnotherProgram) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, false)) << desktop.error();
    WindowSystemSession session(OpenDesktopBackend());
    Backend& backend = session.backend();
    activateAppSeen.clear();

    WNDCLASS wc;
    wc.lpfnWndProc = PopupProc;
    wc.lpszClassName = "BackgroundPopup";
    RegisterClass(wc);
    const HWND popup = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "BackgroundPopup",
                                      "background popup", WS_POPUP, 500, 300, 120, 90, nullptr);
    SetWindowPos(popup, HWND_TOPMOST, 500, 300, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    PumpFor(backend, 0.5);
    EXPECT_EQ(GetActiveWindow(), nullptr);  // the popup itself is not activated

    const std::string pid = desktop.Output("xmessage -geometry 200x80+20+20 other >/dev/null 2>&1 & echo $!");
    ASSERT_TRUE(desktop.WaitFor("xdotool search --onlyvisible --name xmessage"));
    desktop.Run("xdotool mousemove 60 50 click 1");
    EXPECT_TRUE(PumpUntil(backend, [&] { return !activateAppSeen.empty() && activateAppSeen.back() == WPARAM(FALSE); }))
        << "the program did not hear it lost the input";
    desktop.Run("kill " + pid);
    DestroyWindow(popup);
}

TEST(DesktopWindowManager, ARequestOnAWindowTheServerNoLongerHasDoesNotEndTheProgram) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(false, false)) << desktop.error();
    WindowSystemSession session(OpenDesktopBackend());
    // Xlib's own handler would end the process here.
    ASSERT_TRUE(SendToAVanishedWindow());
    WNDCLASS wc;
    wc.lpfnWndProc = PaintedProc;
    wc.lpszClassName = "StillHere";
    RegisterClass(wc);
    const HWND w = CreateWindowEx(0, "StillHere", "", WS_POPUP, 10, 10, 50, 40, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(w));
    DestroyWindow(w);
}
