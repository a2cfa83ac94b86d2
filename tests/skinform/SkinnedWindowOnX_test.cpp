// A skinned window on a real X server (private Xvfb with openbox): the window
// manager draws nothing around it, and the screen shows exactly what the
// headless screen composes for the same form, rounded corners included.

#include "SkinFormTestSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "DesktopBackend.h"

extern char** environ;

// Xlib keeps some allocations for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libX11\nleak:libxcb\nleak:libXext\nleak:libXrandr\n";
}

namespace {

using namespace frametest;

// (This file is compiled as GBK, which <chrono> cannot be: waits use usleep.)

// A child process, stopped and reaped when the object goes.
class Child {
public:
    bool Spawn(std::vector<std::string> args, int stdoutFd = -1) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
        else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0;
    }
    ~Child() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
};

// Xvfb on a display number it picks itself (-displayfd), with openbox on it.
class PrivateDesktop {
public:
    bool Start() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const bool spawned = xvfb_.Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                                          "-nolisten", "tcp", "-br"},
                                         -1);
        close(fds[1]);
        if (!spawned) {
            close(fds[0]);
            return false;
        }
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return false;
        display_ = ":" + number;
        const char* previous = std::getenv("DISPLAY");
        previous_ = previous ? previous : "";
        hadDisplay_ = previous != nullptr;
        setenv("DISPLAY", display_.c_str(), 1);
        if (!openbox_.Spawn({"openbox"})) return false;
        usleep(700 * 1000);
        return true;
    }
    ~PrivateDesktop() {
        if (hadDisplay_) setenv("DISPLAY", previous_.c_str(), 1);
        else unsetenv("DISPLAY");
    }
    const std::string& display() const { return display_; }

private:
    Child xvfb_;
    Child openbox_;
    std::string display_;
    std::string previous_;
    bool hadDisplay_ = false;
};

// The skinned main-window frame, with a plain client area.
void ShowSkinnedForm(TbsSkinData*& skin) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBounds(100, 80, 551, 391);
    form->SetCaption("Mirvo");
    auto* frame = CreateComponent<TbsSkinForm>(form);
    skin = CreateComponent<TbsSkinData>(form);
    skin->LoadIniSkin(ProgramSkinDir() + "skin.ini");
    frame->SetSkinData(skin);
    form->Show();
}

TEST(SkinnedWindowOnX, LooksLikeTheHeadlessRendering) {
    PrivateDesktop desktop;
    // scripts/install-deps installs both: a desktop that does not start is a failure, not a pass.
    ASSERT_TRUE(desktop.Start()) << "Xvfb or openbox could not be started";
    const TRect area{90, 70, 661, 481};  // the window and a margin of desktop around it

    TBitmap onX;
    {
        WindowSystemSession session(OpenDesktopBackend());
        ApplicationSession app;
        TbsSkinData* skin = nullptr;
        ShowSkinnedForm(skin);
        for (int i = 0; i < 40; ++i) {
            PumpMessages();
            usleep(25 * 1000);
        }
        const std::string shot = std::string(MIRVO_BINARY_DIR) + "/skinform_xvfb_shot.bmp";
        const std::string cmd = "import -display " + desktop.display() + " -window root BMP3:" + shot + " 2>/dev/null";
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

    TBitmap headless;
    {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        HeadlessBackend* screen = backend.get();
        screen->SetDesktopColor(clBlack);  // Xvfb -br
        WindowSystemSession session(std::move(backend));
        ApplicationSession app;
        TbsSkinData* skin = nullptr;
        ShowSkinnedForm(skin);
        PumpMessages();
        screen->ReadScreenRect(area, headless);
    }

    int differing = 0;
    TPoint first{-1, -1};
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            if ((headless.ScanLine(y)[x] & 0x00FFFFFFu) != onX.ScanLine(y)[x]) {
                if (!differing) first = {x + area.Left, y + area.Top};
                ++differing;
            }
    EXPECT_EQ(differing, 0) << "first difference at " << first.X << "," << first.Y;
    // The rounded corner shows the desktop; no window-manager border around it.
    EXPECT_EQ(onX.ScanLine(80 - area.Top)[100 - area.Left], 0u);
    EXPECT_EQ(onX.ScanLine(79 - area.Top)[300 - area.Left], 0u);
    EXPECT_NE(onX.ScanLine(80 + 10 - area.Top)[100 + 300 - area.Left], 0u);
}

}  // namespace
