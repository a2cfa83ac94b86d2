#pragma once
// A fresh directory per test, removed with everything in it at the end.
// Tests run as parallel processes, so each gets its own.

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-base-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        // Restore write permission that a test may have taken away, then remove.
        for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing '/', as the program forms paths.
    std::string Dir() const { return path_.string() + "/"; }
    std::string operator/(const std::string& name) const { return Dir() + name; }

private:
    std::filesystem::path path_;
};
