// Writes the program's icon into a folder (dat/icons):
//   mirvodict.ico               16, 32, 48 and 128 pixels; the program loads it
//   mirvodict-<size>.png        the same sizes for the desktop's icon theme
//   shell-<kind>.ico            16 and 32 pixels: the open dialog's pictures for
//                               folder, file, drive and home
// The output depends only on this code, so the committed files can be checked
// against a fresh run.
//
//   icongen <folder>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AppIconArt.h"
#include "IconFile.h"
#include "ShellIconArt.h"
#include "PngFile.h"

namespace {

bool WriteIco(const std::filesystem::path& file, const std::vector<IconPixels>& images) {
    const std::vector<std::uint8_t> ico = WriteIconFile(images);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(ico.data()), std::streamsize(ico.size()));
    if (!out) std::fprintf(stderr, "icongen: cannot write %s\n", file.c_str());
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<IconPixels> images;
    for (int size : {16, 32, 48, 128}) {
        images.push_back(DrawAppIcon(size));
        const auto png = folder / ("mirvodict-" + std::to_string(size) + ".png");
        if (!SavePng(images.back(), png.string())) {
            std::fprintf(stderr, "icongen: cannot write %s\n", png.c_str());
            return 1;
        }
    }
    if (!WriteIco(folder / "mirvodict.ico", images)) return 1;
    for (ShellIconArt art : {ShellIconArt::Folder, ShellIconArt::File, ShellIconArt::Drive, ShellIconArt::Home}) {
        if (!WriteIco(folder / (ShellIconFileStem(art) + ".ico"), {DrawShellIcon(art, 16), DrawShellIcon(art, 32)}))
            return 1;
    }
    return 0;
}
