// Writes the program's three sample banners into a directory:
//   adgen <output directory>
// The output depends only on this code and the installed fonts, so running it
// again gives the same files.

#include <cstdio>
#include <fstream>
#include <string>

#include "Banners.h"
#include "GlyphPaths.h"

namespace {

bool WriteFile(const std::string& name, const adgen::Bytes& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: adgen <output directory>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    try {
        adgen::GlyphPaths glyphs;
        const bool ok = WriteFile(dir + "ad1.swf", adgen::GradientBanner(glyphs)) &&
                        WriteFile(dir + "ad2.swf", adgen::BitmapBanner(glyphs)) &&
                        WriteFile(dir + "ad3.swf", adgen::PhotoBanner(glyphs));
        if (!ok) {
            std::fprintf(stderr, "adgen: cannot write into %s\n", dir.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "adgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
