// Starts a program and reports, in milliseconds, when its first window
// appeared painted on the X display: the time from exec to the first moment
// the screen's pixels under the window's expected area differ from the empty
// desktop. Then, once the program has settled, its resident memory.
//
//   first_present <settle-ms> <x> <y> <program> [args...]
//
// prints "present_ms=<float> rss_kb=<int>" and stops the program. The probe
// point (x, y) must lie inside the window once it is shown.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

unsigned long PixelAt(Display* display, Window root, int x, int y) {
    XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: first_present <settle-ms> <x> <y> <program> [args...]\n");
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_present: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const unsigned long desktop = PixelAt(display, root, x, y);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[4], argv + 4);
        _exit(127);
    }
    double presentMs = -1;
    while (true) {
        if (PixelAt(display, root, x, y) != desktop) {
            presentMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        if (Clock::now() - start > std::chrono::seconds(20)) break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = ResidentKb(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    if (presentMs < 0) {
        std::fprintf(stderr, "first_present: no window appeared\n");
        return 1;
    }
    std::printf("present_ms=%.2f rss_kb=%ld\n", presentMs, rss);
    return 0;
}
