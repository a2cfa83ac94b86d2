// The desktop backend through changes of the desktop under it: a window
// manager replaced or restarted keeps the program's windows shown where the
// program thinks they are, and a display that goes away ends the program
// with a message instead of a crash.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "DesktopBackend.h"
#include "DesktopSession.h"
#include "ScratchFolder.h"
#include "WindowSystem.h"
#include "Windows.h"

namespace {

bool PumpUntil(Backend& backend, const std::function<bool()>& done, double seconds = 8) {
    const double end = DesktopSession::Seconds() + seconds;
    while (DesktopSession::Seconds() < end) {
        PumpMessages();
        if (done()) return true;
        backend.WaitForEvent(20);
    }
    return false;
}

HWND ShowTitled(const char* title, int x, int y) {
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.hbrBackground = clNavy;
    wc.lpszClassName = "Survivor";
    RegisterClass(wc);
    const HWND w = CreateWindowEx(0, "Survivor", title, WS_POPUP, x, y, 200, 120, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    return w;
}

// The window's top-left on the X screen, as xdotool reads it.
std::string XPlace(const DesktopSession& desktop, const std::string& title) {
    return desktop.Output("xdotool search --onlyvisible --name '" + title +
                          "' getwindowgeometry --shell 2>/dev/null | grep -E '^(X|Y)=' | tr '\\n' ' '");
}

std::string Place(HWND w) {
    TRect r;
    GetWindowRect(w, r);
    return "X=" + std::to_string(r.Left) + " Y=" + std::to_string(r.Top);
}

TEST(DesktopSurvival, AWindowManagerReplacedOrRestartedKeepsTheWindows) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, false)) << desktop.error();
    WindowSystemSession session(OpenDesktopBackend());
    Backend& backend = session.backend();
    const HWND w = ShowTitled("Mirvo survivor", 150, 120);
    ASSERT_TRUE(PumpUntil(backend, [&] { return XPlace(desktop, "Mirvo survivor") == "X=150 Y=120"; }))
        << XPlace(desktop, "Mirvo survivor");

    // A new window manager takes over from the running one.
    const std::string pid = desktop.Output("openbox --replace --sm-disable >/dev/null 2>&1 & echo $!");
    PumpUntil(backend, [] { return false; }, 1.5);
    EXPECT_TRUE(PumpUntil(backend, [&] { return XPlace(desktop, "Mirvo survivor") == Place(w); }))
        << XPlace(desktop, "Mirvo survivor") << " vs " << Place(w);
    EXPECT_TRUE(IsWindowVisible(w));

    // The window manager ends, and another starts.
    desktop.Run("kill " + pid);
    PumpUntil(backend, [] { return false; }, 1.0);
    EXPECT_TRUE(PumpUntil(backend, [&] { return XPlace(desktop, "Mirvo survivor") == Place(w); }))
        << "without a window manager: " << XPlace(desktop, "Mirvo survivor") << " vs " << Place(w);
    const std::string again = desktop.Output("openbox --sm-disable >/dev/null 2>&1 & echo $!");
    PumpUntil(backend, [] { return false; }, 1.5);
    EXPECT_TRUE(PumpUntil(backend, [&] { return XPlace(desktop, "Mirvo survivor") == Place(w); }))
        << "after the restart: " << XPlace(desktop, "Mirvo survivor") << " vs " << Place(w);
    EXPECT_TRUE(IsWindowVisible(w));

    // Moved by the desktop now, the program follows.
    desktop.Run("xdotool search --name 'Mirvo survivor' windowmove 300 200");
    EXPECT_TRUE(PumpUntil(backend, [&] { return Place(w) == "X=300 Y=200"; })) << Place(w);
    desktop.Run("kill " + again);
    DestroyWindow(w);
}

TEST(DesktopSurvival, ADisplayThatGoesAwayEndsTheProgramWithAMessage) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(false, false)) << desktop.error();
    const ScratchFolder scratch;
    const std::string errors = (scratch / "stderr.txt").string();
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        WindowSystemSession session(OpenDesktopBackend());
        ShowTitled("Mirvo orphan", 50, 50);
        for (;;) {
            PumpMessages();
            session.backend().WaitForEvent(100);
        }
    }
    ASSERT_TRUE(desktop.WaitFor("xdotool search --onlyvisible --name 'Mirvo orphan'"));
    desktop.Stop();
    int status = 0;
    const double end = DesktopSession::Seconds() + 10;
    while (waitpid(child, &status, WNOHANG) != child && DesktopSession::Seconds() < end) usleep(50 * 1000);
    if (DesktopSession::Seconds() >= end) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the program went on without its display";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("connection to the X display was lost"), std::string::npos) << text.str();
}

}  // namespace
