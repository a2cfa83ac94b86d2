#pragma once
// A scratch folder of one test's own: created fresh under the build tree's
// test-scratch/ with a name no other test process can share (the test's
// name plus a unique suffix), and removed with everything in it at the end.
// Tests run by ctest in parallel therefore never see each other's files.
// When the folder cannot be made the constructor throws, which fails the
// test instead of letting it pass or skip on nothing.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

class ScratchFolder {
public:
    // `label` names the folder; by default the running test's suite and name.
    explicit ScratchFolder(std::string label = CurrentTestLabel()) {
        const std::filesystem::path root = std::filesystem::path(MIRVO_BINARY_DIR) / "test-scratch";
        std::error_code error;
        std::filesystem::create_directories(root, error);
        for (char& c : label) {
            if (c == '/' || c == ' ') c = '_';
        }
        std::string pattern = (root / (label + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a scratch folder " + pattern + ": " + std::strerror(errno));
        }
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        // Give back write permission a test may have taken away, then remove.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder with a trailing '/', as the program forms paths.
    std::string Dir() const { return path_.string() + "/"; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    static std::string CurrentTestLabel() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        if (info == nullptr) return "suite";
        return std::string(info->test_suite_name()) + "." + info->name();
    }

private:
    std::filesystem::path path_;
};
