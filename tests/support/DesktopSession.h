#pragma once
// A private X desktop for a test: Xvfb on a display number it picks itself
// (-displayfd), a window manager (openbox) and, when asked, a system tray
// host (trayer). Everything started is stopped again, in reverse order.
// The server does not reset when its last client leaves, so a test may close
// one connection and open the next without meeting a server in mid-reset.
// It keeps clear of <chrono>, so tests compiled for code page 936 can use it.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

class DesktopSession {
public:
    DesktopSession() = default;
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;
    ~DesktopSession() { Stop(); }

    // Starts the server (and the window manager and tray when asked) and
    // points $DISPLAY at it; `trayReady` tells when the tray has come up.
    // False, with `error` set, when something failed.
    bool Start(bool windowManager, bool tray, const std::function<bool()>& trayReady = {}) {
        int fds[2];
        if (pipe(fds) != 0) return Fail("pipe failed");
        const std::string fd = std::to_string(fds[1]);
        if (!Spawn({"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-br", "-noreset"},
                   fds[1])) {
            close(fds[0]);
            close(fds[1]);
            return Fail("Xvfb could not be started");
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return Fail("Xvfb did not report its display");
        display_ = ":" + number;
        if (const char* old = std::getenv("DISPLAY")) previousDisplay_ = old;
        setenv("DISPLAY", display_.c_str(), 1);
        if (windowManager) {
            if (!Spawn({"openbox", "--sm-disable"})) return Fail("openbox could not be started");
            if (!WaitFor("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'")) return Fail("openbox did not come up");
        }
        if (tray) {
            if (!Spawn({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32",
                        "--SetDockType", "true", "--transparent", "false", "--tint", "0xC0C0C0"}))
                return Fail("trayer could not be started");
            const double end = Seconds() + 10;
            while (trayReady && !trayReady()) {
                if (Seconds() > end) return Fail("trayer did not take the system tray");
                usleep(100 * 1000);
            }
        }
        return true;
    }

    void Stop() {
        for (auto it = pids_.rbegin(); it != pids_.rend(); ++it) {
            kill(*it, SIGTERM);
            waitpid(*it, nullptr, 0);
        }
        pids_.clear();
        // Later code in the process must not reach for the stopped display.
        if (!display_.empty()) {
            if (previousDisplay_) setenv("DISPLAY", previousDisplay_->c_str(), 1);
            else unsetenv("DISPLAY");
            display_.clear();
        }
    }

    // Runs a shell command on this display; its exit status.
    int Run(const std::string& command) const { return std::system(command.c_str()); }
    // The first line a shell command prints.
    std::string Output(const std::string& command) const {
        std::string out;
        if (FILE* p = popen(command.c_str(), "r")) {
            char buf[512];
            while (fgets(buf, sizeof buf, p)) out += buf;
            pclose(p);
        }
        while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
        return out;
    }
    // Repeats a shell command until it succeeds (up to `seconds`).
    bool WaitFor(const std::string& command, double seconds = 10) const {
        const double end = Seconds() + seconds;
        while (Seconds() < end) {
            if (Run("(" + command + ") >/dev/null 2>&1") == 0) return true;
            usleep(100 * 1000);
        }
        return false;
    }

    const std::string& display() const { return display_; }
    const std::string& error() const { return error_; }

    // A monotonic clock in seconds.
    static double Seconds() {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
    }

private:
    bool Fail(std::string why) {
        error_ = std::move(why);
        return false;
    }

    // Starts a program with its output discarded; `keepFd` stays open in it.
    bool Spawn(std::vector<const char*> argv, int keepFd = -1) {
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        (void)keepFd;  // inherited: pipe ends are not close-on-exec
        pid_t pid = -1;
        const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv.data()), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) return false;
        pids_.push_back(pid);
        return true;
    }

    std::vector<pid_t> pids_;
    std::string display_;
    std::optional<std::string> previousDisplay_;
    std::string error_;
};
