// skinpack: the skin author's tool.
//
//   skinpack pack <dir> <out.skn>     packs a skin directory into one file
//   skinpack check <dir-or-.skn>      lists pictures and records, and every problem
//
// Exit status: 0 done and no problem, 1 problems found or packing failed,
// 2 wrong arguments.

#include <cstdio>
#include <string>

#include "FileUtils.h"
#include "SkinCheck.h"
#include "SkinPack.h"

namespace {

int Usage() {
    std::fputs("usage: skinpack pack <skin-dir> <out.skn>\n"
               "       skinpack check <skin-dir-or-.skn>\n",
               stderr);
    return 2;
}

bool IsPackedSkin(const std::string& path) {
    return !DirectoryExists(path) && path.size() >= 4 && path.compare(path.size() - 4, 4, ".skn") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc == 4) {
        const SkinPackResult result = PackSkin(argv[2], argv[3]);
        std::fprintf(result.ok ? stdout : stderr, "%s\n", result.message.c_str());
        return result.ok ? 0 : 1;
    }
    if (command == "check" && argc == 3) {
        const std::string path = argv[2];
        const SkinCheckReport report = IsPackedSkin(path) ? CheckPackedSkin(path) : CheckSkinDirectory(path);
        for (const std::string& line : report.lines) std::printf("%s\n", line.c_str());
        for (const std::string& problem : report.problems) std::printf("problem: %s\n", problem.c_str());
        std::printf("%zu problem%s found\n", report.problems.size(), report.problems.size() == 1 ? "" : "s");
        return report.Ok() ? 0 : 1;
    }
    return Usage();
}
