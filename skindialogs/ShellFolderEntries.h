#pragma once
// Reading one folder cheaply: one pass of readdir with one stat per entry
// (relative to the open folder, following symbolic links), nothing else.
// An unreadable folder gives no entries and says so; an entry that vanishes
// between readdir and stat, or whose link points nowhere, is kept with what
// readdir told (its kind) so nothing the user can see is lost.

#include <cstdint>
#include <string>
#include <vector>

// What the file system says about one entry.
struct ShellFileFacts {
    bool StatKnown = false;      // the stat succeeded
    bool IsDirectory = false;    // after following a link
    bool IsRegular = false;
    bool IsSymlink = false;      // the entry itself is a link
    std::int64_t Size = 0;
    std::int64_t ModifiedSeconds = 0;  // POSIX time
    long ModifiedNanoseconds = 0;
    unsigned Mode = 0;           // st_mode
};

struct ShellDirEntry {
    std::string Name;  // the name's bytes on disk
    ShellFileFacts Facts;
};

struct ShellFolderRead {
    std::vector<ShellDirEntry> Entries;  // in the file system's order
    int Error = 0;                       // errno of opendir or readdir; 0 when all was read
};

// Every entry of `path` except "." and "..".
ShellFolderRead ReadFolderEntries(const std::string& path);

// The facts of one path (stat, following links; lstat tells the link).
ShellFileFacts StatPath(const std::string& path);

// True when `path` names an existing directory.
bool FolderExists(const std::string& path);
// `path` itself when it is a folder, else its nearest existing parent ("/"
// in the end). A folder deleted while shown is left for this one.
std::string NearestExistingFolder(const std::string& path);
