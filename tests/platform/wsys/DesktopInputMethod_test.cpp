// Chinese typed through a real input method (fcitx5 serving XIM) on a private
// desktop: the characters arrive whole, the candidate window stands at the
// caret, and an input method that is restarted is taken up again without
// losing keys. fcitx5's quick phrase (Super+grave, then a key word, then
// space) stands in for a Chinese engine: it commits a phrase of our own.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "DesktopBackend.h"
#include "DesktopSession.h"
#include "ScratchFolder.h"
#include "WindowSystem.h"
#include "Windows.h"

namespace {

std::string typed;

LRESULT TypingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR) typed += char(wp);
    if (msg == WM_SETFOCUS) {
        CreateCaret(h, 1, 16);
        SetCaretPos(40, 30);
        ShowCaret(h);
    }
    return DefWindowProc(h, msg, wp, lp);
}

bool PumpUntil(Backend& backend, const std::function<bool()>& done, double seconds = 8) {
    const double end = DesktopSession::Seconds() + seconds;
    while (DesktopSession::Seconds() < end) {
        PumpMessages();
        if (done()) return true;
        backend.WaitForEvent(20);
    }
    return done();
}

class DesktopInputMethod : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v fcitx5 >/dev/null 2>&1") != 0) GTEST_SKIP() << "fcitx5 is not installed";
        ASSERT_TRUE(desktop_.Start(true, false)) << desktop_.error();
        // The input method's home: a quick phrase "zw" for "中文".
        home_ = scratch_.Dir() + "home";
        std::filesystem::create_directories(home_ + "/.local/share/fcitx5/data/quickphrase.d");
        std::ofstream(home_ + "/.local/share/fcitx5/data/quickphrase.d/mirvo.mb") << "zw \xE4\xB8\xAD\xE6\x96\x87\n";
        StartInputMethod();
        setenv("XMODIFIERS", "@im=fcitx", 1);
        setenv("LC_CTYPE", "C.UTF-8", 1);
    }
    void TearDown() override {
        unsetenv("XMODIFIERS");
        unsetenv("LC_CTYPE");
        if (!imPid_.empty()) desktop_.Run("kill " + imPid_);
    }
    void StartInputMethod() {
        imPid_ = desktop_.Output("HOME=" + home_ +
                                 " fcitx5 --disable=dbus,wayland,waylandim,notificationitem,kimpanel "
                                 ">/dev/null 2>&1 & echo $!");
        ASSERT_TRUE(desktop_.WaitFor("xprop -root XIM_SERVERS | grep -q fcitx")) << "fcitx5 did not serve XIM";
    }
    void QuickPhrase() {
        desktop_.Run("xdotool key super+grave && sleep 0.3 && xdotool type zw && sleep 0.3");
    }

    DesktopSession desktop_;
    ScratchFolder scratch_;
    std::string home_;
    std::string imPid_;
};

TEST_F(DesktopInputMethod, ChineseArrivesWholeWithTheCandidatesAtTheCaret) {
    WindowSystemSession session(OpenDesktopBackend());
    Backend& backend = session.backend();
    typed.clear();
    WNDCLASS wc;
    wc.lpfnWndProc = TypingProc;
    wc.hbrBackground = clWhite;
    wc.lpszClassName = "Typing";
    RegisterClass(wc);
    const HWND w = CreateWindowEx(0, "Typing", "Mirvo typing", WS_POPUP, 200, 150, 300, 120, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil(backend, [&] { return desktop_.Run("xdotool search --onlyvisible --name 'Mirvo typing' >/dev/null 2>&1") == 0; }));
    desktop_.Run("xdotool mousemove 300 200 click 1");
    ASSERT_TRUE(PumpUntil(backend, [&] { return GetFocus() == w; }));
    PumpUntil(backend, [] { return false; }, 0.5);

    QuickPhrase();
    PumpUntil(backend, [] { return false; }, 0.5);
    // The candidate window: below the caret at (240, 180) to (241, 196).
    const std::string place = desktop_.Output(
        "for id in $(xdotool search --onlyvisible --classname fcitx); do xdotool getwindowgeometry --shell $id | "
        "grep -E '^(X|Y)=' | tr '\\n' ' '; done");
    int x = -1, y = -1;
    ASSERT_EQ(std::sscanf(place.c_str(), "X=%d Y=%d", &x, &y), 2) << place;
    EXPECT_NEAR(x, 240, 40);
    EXPECT_NEAR(y, 196, 40);

    desktop_.Run("xdotool key space");
    // "中文" in code page 936, as two whole characters.
    EXPECT_TRUE(PumpUntil(backend, [&] { return typed == "\xD6\xD0\xCE\xC4"; })) << typed;

    // The input method ends: keys still arrive; it comes back: taken up again.
    desktop_.Run("kill " + imPid_);
    imPid_.clear();
    PumpUntil(backend, [] { return false; }, 0.5);
    typed.clear();
    desktop_.Run("xdotool type ab");
    EXPECT_TRUE(PumpUntil(backend, [&] { return typed == "ab"; })) << typed;
    StartInputMethod();
    PumpUntil(backend, [] { return false; }, 1.0);
    typed.clear();
    QuickPhrase();
    desktop_.Run("xdotool key space");
    EXPECT_TRUE(PumpUntil(backend, [&] { return typed == "\xD6\xD0\xCE\xC4"; })) << typed;
    DestroyWindow(w);
}

}  // namespace
