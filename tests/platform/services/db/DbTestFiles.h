#pragma once
// The test's own folder for database files (a scratch folder no other test
// process shares, removed with everything in it when the test ends), and
// connection strings that name files in it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AnsiString.h"
#include "ScratchFolder.h"

class DbTestDir {
public:
    std::string File(const std::string& name) const { return (scratch_ / name).string(); }
    const std::filesystem::path& Path() const { return scratch_.Path(); }

private:
    ScratchFolder scratch_;
};

inline AnsiString ConnectionStringFor(const std::string& file, const AnsiString& password) {
    return "Provider=SQLCipher;Data Source=" + file +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + password;
}

inline std::string ReadFileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
