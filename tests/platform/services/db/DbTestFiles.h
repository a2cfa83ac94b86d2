#pragma once
// A private temporary folder for database files, removed with everything in
// it when the test ends, and connection strings that name files in it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AnsiString.h"

class DbTestDir {
public:
    DbTestDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-db-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~DbTestDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    DbTestDir(const DbTestDir&) = delete;
    DbTestDir& operator=(const DbTestDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline AnsiString ConnectionStringFor(const std::string& file, const AnsiString& password) {
    return "Provider=SQLCipher;Data Source=" + file +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + password;
}

inline std::string ReadFileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
