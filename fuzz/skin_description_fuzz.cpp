// Fuzzes the skin description loader: the input is a skin.ini, loaded with
// LoadIniSkin from a directory that holds real pictures, so that picture
// names in the input can hit files that exist.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzSkinSupport.h"

namespace {

std::string SkinDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-fuzz-XXXXXX").string();
        const std::string made = mkdtemp(pattern.data());
        const std::filesystem::path fixture = std::string(MIRVO_SOURCE_DIR) + "/tests/skin/fixtures/skin1";
        for (const auto& entry : std::filesystem::directory_iterator(fixture))
            if (entry.path().extension() == ".bmp") std::filesystem::copy_file(entry.path(), made / entry.path().filename());
        return made + "/";
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = SkinDir() + "skin.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    TbsSkinData& skin = fuzzskin::SkinData();
    fuzzskin::LoadIgnoringErrors([&] { skin.LoadIniSkin(path); });
    fuzzskin::CheckSettled(skin);
    return 0;
}
