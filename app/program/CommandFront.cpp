// The `mirvodict` command: a lookup from the command line in a program that
// carries only the dictionary, so that a lookup does not first load the
// window system's libraries (the display, sound and font libraries behind
// it cost several times the lookup itself). Without arguments it becomes
// the window program, which sits beside it; so do a word to look up in the
// window and --selection, unless a window runs already and takes them.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "AppPaths.h"
#include "CommandLine.h"
#include "InstanceChannel.h"
#include "WindowRequest.h"

int main(int argc, char** argv) {
    const std::optional<WindowRequest> request = WindowRequestFromArgs(argc, argv);
    if (!request) return CommandLineMain(argc, argv);
    // A window running on this display takes the request without the
    // window program being loaded at all.
    if (const std::optional<InstancePaths> paths = InstancePathsHere();
        paths && HandToRunningInstance(*paths, EncodeWindowRequest(*request), 3000) == HandOver::Delivered)
        return 0;
    InitAppDir();
    const std::string window = AppDir + "mirvodict";
    execv(window.c_str(), argv);
    std::fprintf(stderr, "mirvodict: cannot start the window program %s: %s\n", window.c_str(), std::strerror(errno));
    return kExitTrouble;
}
