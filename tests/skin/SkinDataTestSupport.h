#pragma once
// Helpers shared by the skin data tests: the fixture skin, scratch
// directories, and whole-file reads and writes.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "Streams.h"

namespace skintest {

inline std::string FixtureSkinDir() { return std::string(MIRVO_SOURCE_DIR) + "/tests/skin/fixtures/skin1/"; }
inline std::string FixtureSkinIni() { return FixtureSkinDir() + "skin.ini"; }

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string Bytes(TCustomMemoryStream& s) {
    return std::string(s.Memory(), static_cast<std::size_t>(s.Size()));
}

// A scratch directory removed with everything in it when the test ends.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-skin-XXXXXX").string();
        // A folder that cannot be made fails the test that needed it.
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder " + pattern);
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The directory with a trailing separator.
    std::string Path() const { return path_ + "/"; }
    std::string File(const std::string& name) const { return Path() + name; }

    // A copy of the fixture skin, its description changed by `edit`.
    template <class Edit>
    std::string CopyFixture(Edit edit) const {
        for (const auto& entry : std::filesystem::directory_iterator(FixtureSkinDir()))
            std::filesystem::copy_file(entry.path(), File(entry.path().filename().string()));
        std::string ini = ReadFile(FixtureSkinIni());
        edit(ini);
        WriteFile(File("skin.ini"), ini);
        return File("skin.ini");
    }

private:
    std::string path_;
};

// Replaces the first occurrence of `from` in `text`.
inline void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
}

}  // namespace skintest
