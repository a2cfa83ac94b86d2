#pragma once
// Files and directories: tests, path parts, delete and move, time stamps,
// attributes, and enumeration with wildcards.
//
// Paths use '/'; a doubled separator is harmless (the system treats "a//b" as
// "a/b"). File names are passed to the system as their bytes (UTF-8 on this
// system); no function here converts them.

#include <cstdint>
#include <memory>
#include <string_view>

#include "AnsiString.h"
#include "SysUtils.h"

// ---- tests and directories ----
// FileExists is false for a directory, DirectoryExists for a file.
bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view dir);
bool CreateDir(std::string_view dir);
bool RemoveDir(std::string_view dir);
// Creates the directory and every missing parent; true when it exists afterwards.
bool ForceDirectories(std::string_view dir);
AnsiString GetCurrentDir();
// Full path of the running program file.
AnsiString ExecutableFileName();

// ---- path parts ----
AnsiString ExtractFilePath(std::string_view fileName);   // "a/b/c.txt" -> "a/b/"
AnsiString ExtractFileDir(std::string_view fileName);    // "a/b/c.txt" -> "a/b"
AnsiString ExtractFileName(std::string_view fileName);   // "a/b/c.txt" -> "c.txt"
AnsiString ExtractFileExt(std::string_view fileName);    // "a/b/c.txt" -> ".txt", "" without a dot
AnsiString ChangeFileExt(std::string_view fileName, std::string_view extension);
AnsiString IncludeTrailingPathDelimiter(std::string_view path);
AnsiString ExcludeTrailingPathDelimiter(std::string_view path);

// ---- delete and move; each returns true on success ----
bool DeleteFile(std::string_view fileName);               // not a directory
// Fails when `newName` exists already.
bool RenameFile(std::string_view oldName, std::string_view newName);
// Replaces an existing file `newName`; the moved file keeps its attributes.
bool MoveFileReplace(std::string_view oldName, std::string_view newName);

// ---- time stamps ----
// The last-modification time in local calendar time; false when the file
// does not exist. TDateTime values compare as times and DecodeDate /
// DecodeTime give the calendar date.
bool FileAge(std::string_view fileName, TDateTime& age);
bool FileSetDate(std::string_view fileName, TDateTime age);

// ---- attributes ----
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

// The attributes of a file or directory, -1 when it does not exist.
// faReadOnly: the owner has no write permission. faHidden: the name starts
// with '.'. faSysFile: not a regular file nor a directory (device, socket,
// pipe). faDirectory: a directory. faArchive: every regular file.
int FileGetAttr(std::string_view fileName);
// Sets faReadOnly (clears every write permission) or clears it (gives the
// owner write permission back). Returns 0 or the system's error number.
// faHidden cannot be set here: hiding a file on Linux means renaming it to a
// leading dot, which would change its name, so the flag changes nothing.
// faArchive and faSysFile change nothing either.
int FileSetAttr(std::string_view fileName, int attr);

// ---- enumeration ----
// True when `name` matches `mask`: '*' stands for any run of characters, '?'
// for one character (one UTF-8 sequence); ASCII letters match without regard
// to case, so "*.swf" matches "Ad.SWF". The mask "*.*" matches every name,
// also one without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);

struct FindState;  // the open directory behind a search

struct TSearchRec {
    AnsiString Name;        // the entry's name, without the directory
    std::int64_t Size = 0;  // bytes; 0 for a directory
    int Attr = 0;           // as FileGetAttr
    TDateTime TimeStamp = 0;

    TSearchRec();
    ~TSearchRec();  // closes a search that FindClose did not
    TSearchRec(TSearchRec&&) noexcept;
    TSearchRec& operator=(TSearchRec&&) noexcept;

    std::unique_ptr<FindState> state;
};

// `path` is a directory (with its trailing '/') followed by a mask, for
// example "dat/ad/*.swf". Entries are found in the order the file system
// returns them; "." and ".." never. Normal, read-only and archive entries are
// always found; hidden, system and directory entries only when `attr` holds
// faHidden, faSysFile or faDirectory (faAnyFile finds all).
// FindFirst and FindNext return 0 and fill `rec` when they find an entry,
// otherwise a non-zero error number (ENOENT when nothing, or nothing more,
// matches). FindClose releases the search (the destructor does too).
int FindFirst(std::string_view path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
