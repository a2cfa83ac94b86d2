// The clipboard and the primary selection of the desktop backend on a
// private Xvfb, both ways, with xclip on the other side: short texts and
// texts larger than one X request (which travel in pieces).

#include <gtest/gtest.h>

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

namespace {

// About 300 KB of mixed English and Chinese ("中文" in UTF-8), lines numbered
// so that a lost or repeated piece shows.
std::string LargeText() {
    std::string text;
    for (int i = 0; text.size() < 300 * 1024; ++i)
        text += "line " + std::to_string(i) + " \xE4\xB8\xAD\xE6\x96\x87 the quick brown fox\n";
    return text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Pumps the program's events while a shell command runs in the background
// (xclip asking the program for its selection); its exit status.
int RunWhilePumping(Backend& backend, const std::string& command, double seconds = 10) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const double end = DesktopSession::Seconds() + seconds;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) != pid) {
        if (DesktopSession::Seconds() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        PumpMessages();
        backend.WaitForEvent(10);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What `read` gives once it gives `want`, or at the end of 3 s.
std::string Eventually(const std::function<std::string()>& read, const std::string& want) {
    const double end = DesktopSession::Seconds() + 3;
    std::string got = read();
    while (got != want && DesktopSession::Seconds() < end) {
        usleep(50 * 1000);
        got = read();
    }
    return got;
}

class DesktopSelections : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop_.Start(false, false)) << desktop_.error();
        session_ = std::make_unique<WindowSystemSession>(OpenDesktopBackend());
    }
    void TearDown() override {
        session_.reset();
        desktop_.Stop();
    }
    Backend& backend() { return session_->backend(); }

    DesktopSession desktop_;
    ScratchFolder scratch_;
    std::unique_ptr<WindowSystemSession> session_;
};

TEST_F(DesktopSelections, AnotherProgramPastesWhatTheProgramCopied) {
    const std::string out = (scratch_ / "out.txt").string();
    for (const std::string& text : {std::string("hello \xE4\xB8\xAD\xE6\x96\x87\n"), LargeText()}) {
        backend().SetClipboardUtf8(text);
        ASSERT_EQ(RunWhilePumping(backend(), "xclip -o -selection clipboard -t UTF8_STRING > " + out), 0);
        EXPECT_EQ(ReadFile(out), text) << "of " << text.size() << " bytes";
    }
    // Asked for what it offers, and for the text in the old Latin-1 form.
    backend().SetClipboardUtf8("caf\xC3\xA9 \xE4\xB8\xAD");
    ASSERT_EQ(RunWhilePumping(backend(), "xclip -o -selection clipboard -t TARGETS > " + out), 0);
    EXPECT_NE(ReadFile(out).find("UTF8_STRING"), std::string::npos) << ReadFile(out);
    ASSERT_EQ(RunWhilePumping(backend(), "xclip -o -selection clipboard -t STRING > " + out), 0);
    EXPECT_EQ(ReadFile(out), "caf\xE9 ?");
}

TEST_F(DesktopSelections, TheProgramPastesWhatAnotherProgramCopied) {
    const std::string in = (scratch_ / "in.txt").string();
    for (const std::string& text : {std::string("hello \xE4\xB8\xAD\xE6\x96\x87"), LargeText()}) {
        WriteFile(in, text);
        // xclip stays in the background as the owner until another takes
        // over; it takes the selection a moment after it returns.
        ASSERT_EQ(desktop_.Run("xclip -selection clipboard -i " + in), 0);
        EXPECT_EQ(Eventually([&] { return backend().ClipboardUtf8(); }, text), text) << "of " << text.size() << " bytes";
    }
}

TEST_F(DesktopSelections, ThePrimarySelectionIsReadAndOffered) {
    const std::string in = (scratch_ / "in.txt").string(), out = (scratch_ / "out.txt").string();
    WriteFile(in, "selected \xE4\xB8\xAD\xE6\x96\x87");
    ASSERT_EQ(desktop_.Run("xclip -selection primary -i " + in), 0);
    EXPECT_EQ(Eventually([&] { return backend().PrimarySelectionUtf8(); }, "selected \xE4\xB8\xAD\xE6\x96\x87"),
              "selected \xE4\xB8\xAD\xE6\x96\x87");
    // The clipboard is another selection.
    EXPECT_EQ(backend().ClipboardUtf8(), "");

    backend().SetPrimarySelectionUtf8("mine");
    ASSERT_EQ(RunWhilePumping(backend(), "xclip -o -selection primary > " + out), 0);
    EXPECT_EQ(ReadFile(out), "mine");
}

// An owner that never answers costs the program at most a second.
TEST_F(DesktopSelections, AnOwnerThatDoesNotAnswerDoesNotHoldTheProgram) {
    // A client that takes the clipboard and then stops reading its connection.
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("python3", "python3", "-c",
               "import ctypes, time\n"
               "x = ctypes.cdll.LoadLibrary('libX11.so.6')\n"
               "x.XOpenDisplay.restype = ctypes.c_void_p\n"
               "d = ctypes.c_void_p(x.XOpenDisplay(None))\n"
               "x.XDefaultRootWindow.restype = ctypes.c_ulong\n"
               "x.XCreateSimpleWindow.restype = ctypes.c_ulong\n"
               "w = x.XCreateSimpleWindow(d, ctypes.c_ulong(x.XDefaultRootWindow(d)), 0, 0, 1, 1, 0, 0, 0)\n"
               "x.XInternAtom.restype = ctypes.c_ulong\n"
               "a = x.XInternAtom(d, b'CLIPBOARD', 0)\n"
               "x.XSetSelectionOwner(d, ctypes.c_ulong(a), ctypes.c_ulong(w), 0)\n"
               "x.XSync(d, 0)\n"
               "time.sleep(30)\n",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    usleep(1500 * 1000);  // python up and owning
    const double start = DesktopSession::Seconds();
    EXPECT_EQ(backend().ClipboardUtf8(), "");
    EXPECT_LT(DesktopSession::Seconds() - start, 1.5);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace
