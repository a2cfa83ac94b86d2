// The `mirvodict` command: a lookup from the command line in a program that
// carries only the dictionary, so that a lookup does not first load the
// window system's libraries (the display, sound and font libraries behind
// it cost several times the lookup itself). Without arguments it becomes
// the window program, which sits beside it.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "AppPaths.h"
#include "CommandLine.h"

int main(int argc, char** argv) {
    if (argc > 1) return CommandLineMain(argc, argv);
    InitAppDir();
    const std::string window = AppDir + "mirvodict";
    execv(window.c_str(), argv);
    std::fprintf(stderr, "mirvodict: cannot start the window program %s: %s\n", window.c_str(), std::strerror(errno));
    return kExitTrouble;
}
