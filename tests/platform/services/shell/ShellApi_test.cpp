#include "ShellApi.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "AnsiString.h"
#include "WinStyles.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

template <typename Condition>
bool WaitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

int Code(HINSTANCE result) { return static_cast<int>(reinterpret_cast<std::intptr_t>(result)); }

// A stand-in for the desktop's opener: a script that records its argument
// count, its first argument (as raw bytes), its working directory, its open
// descriptors and its process id, then stays running until the test drops a
// "release" file beside it (or its folder is gone).
class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mirvo-shell-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        const fs::path script = dir_ / "handler.sh";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "out=\"" << dir_.string() << "\"\n"
                                 "printf '%s' \"$#\" > \"$out/argc\"\n"
                                 "printf '%s' \"$1\" > \"$out/arg\"\n"
                                 "pwd > \"$out/pwd\"\n"
                                 "ls /proc/$$/fd > \"$out/fds\"\n"
                                 "echo $$ > \"$out/pid\"\n"
                                 "touch \"$out/done\"\n"
                                 "while [ -d \"$out\" ] && [ ! -e \"$out/release\" ]; do sleep 0.02; done\n";
        fs::permissions(script, fs::perms::owner_all);
        SetShellOpenHandler(script.string());
        Release();
    }
    void TearDown() override {
        Release();
        SetShellOpenHandler("");
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    void Release() { std::ofstream(dir_ / "release").flush(); }
    bool Started() const { return WaitFor([&] { return fs::exists(dir_ / "done"); }); }
    std::string Recorded(const char* name) const { return ReadFile(dir_ / name); }
    void ForgetLastRun() {
        for (const char* name : {"argc", "arg", "pwd", "fds", "pid", "done"}) fs::remove(dir_ / name);
    }

    fs::path dir_;
};

}  // namespace

TEST_F(ShellExecuteTest, TheHandlerGetsTheLinkAsOneUtf8ArgumentThatNoShellTouches) {
    // Quotes, line breaks, blanks and shell syntax all arrive untouched.
    const std::string utf8Link =
        "mailto:words@mirvo.example.com?subject=单词共享&body=\"cat|n.猫\r\ndog|n.狗; $(touch hacked) `id` *\r\n\"";
    const AnsiString gbkLink = Utf8ToAnsi(utf8Link);
    ASSERT_NE(gbkLink, utf8Link);

    // A descriptor the program left inheritable must not reach the handler.
    const int leaked = 57;
    ASSERT_EQ(dup2(STDERR_FILENO, leaked), leaked);

    const HINSTANCE result = ShellExecuteA(nullptr, "open", gbkLink.c_str(), nullptr, nullptr, SW_SHOW);
    close(leaked);
    EXPECT_TRUE(ShellExecuteSucceeded(result));
    EXPECT_GT(Code(result), 32);
    ASSERT_TRUE(Started());
    EXPECT_EQ(Recorded("argc"), "1");
    EXPECT_EQ(Recorded("arg"), utf8Link);
    EXPECT_FALSE(fs::exists(dir_ / "hacked"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "hacked"));
    EXPECT_EQ(Recorded("fds").find("\n57\n"), std::string::npos) << Recorded("fds");
}

TEST_F(ShellExecuteTest, ReturnsWhileTheHandlerRunsAndCollectsItsExitSoNoZombieStays) {
    fs::remove(dir_ / "release");
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(ShellExecuteSucceeded(ShellExecuteA(nullptr, "Open", "mailto:a@example.com", nullptr, nullptr, SW_SHOW)));
    ASSERT_TRUE(Started());
    const pid_t pid = std::stoi(Recorded("pid"));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));

    // Still running, because nobody released it: the call did not wait for it.
    const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t paren = stat.rfind(')');
    ASSERT_NE(paren, std::string::npos);
    EXPECT_NE(stat.at(paren + 2), 'Z');

    Release();
    // A zombie would still answer kill(pid, 0); a collected process does not.
    EXPECT_TRUE(WaitFor([&] { return kill(pid, 0) != 0 && errno == ESRCH; })) << "handler " << pid << " not reaped";
}

TEST_F(ShellExecuteTest, VerbsFilesDirectoriesAndMissingHandlers) {
    const fs::path work = dir_ / "work dir";
    fs::create_directory(work);
    const std::string workDir = work.string();
    struct Case {
        const char* name;
        LPCSTR verb;
        LPCSTR file;
        LPCSTR directory;
        const char* handler;  // null: the script
        int result;           // kShellExecuteStarted or an error code
        const char* argument; // what the handler receives when started
    };
    const Case cases[] = {
        {"null verb opens", nullptr, "http://example.com/a b", nullptr, nullptr, kShellExecuteStarted, "http://example.com/a b"},
        {"verb in any case", "OPEN", "mailto:x@example.com", nullptr, nullptr, kShellExecuteStarted, "mailto:x@example.com"},
        {"a path that looks like an option", "open", "-rf.txt", nullptr, nullptr, kShellExecuteStarted, "./-rf.txt"},
        {"working directory", "open", "notes.txt", workDir.c_str(), nullptr, kShellExecuteStarted, "notes.txt"},
        {"unknown verb", "print", "mailto:x@example.com", nullptr, nullptr, SE_ERR_NOASSOC, nullptr},
        {"no file", "open", nullptr, nullptr, nullptr, SE_ERR_FNF, nullptr},
        {"empty file", "open", "", nullptr, nullptr, SE_ERR_FNF, nullptr},
        {"missing directory", "open", "mailto:x@example.com", "/nonexistent/mirvo", nullptr, SE_ERR_PNF, nullptr},
        {"no handler installed", "open", "mailto:x@example.com", nullptr, "mirvo-no-such-opener", SE_ERR_NOASSOC, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetLastRun();
        const std::string script = ShellOpenHandler();
        if (c.handler) SetShellOpenHandler(c.handler);
        const int result = Code(ShellExecuteA(nullptr, c.verb, c.file, "ignored parameters", c.directory, SW_SHOW));
        SetShellOpenHandler(script);
        EXPECT_EQ(result, c.result);
        if (c.argument) {
            ASSERT_TRUE(Started());
            EXPECT_EQ(Recorded("arg"), c.argument);
            EXPECT_EQ(Recorded("argc"), "1");
            EXPECT_EQ(Recorded("pwd"), (c.directory ? std::string(c.directory) : fs::current_path().string()) + "\n");
        } else {
            EXPECT_FALSE(ShellExecuteSucceeded(reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(result))));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_FALSE(fs::exists(dir_ / "done"));
        }
    }
}

TEST(ShellOpenHandler, IsTheDesktopOpenerUnlessReplaced) {
    EXPECT_EQ(ShellOpenHandler(), "xdg-open");
    SetShellOpenHandler("/bin/true");
    EXPECT_EQ(ShellOpenHandler(), "/bin/true");
    SetShellOpenHandler("");
    EXPECT_EQ(ShellOpenHandler(), "xdg-open");
}
