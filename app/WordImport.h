#pragma once
// Importing a word list file into the word database. The main window owns the
// path box, the gloss pane, the message component and the database objects;
// the import receives them here.
//
// The words go to the database only: the word table in memory is not touched,
// so imported words are found from the next start on.

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

#include "AnsiString.h"
#include "MessageContract.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "WordTable.h"

// The path check shared by the import and the share: the path text must hold
// ".txt" somewhere, in any letter case (searched character by character), so
// "x.txt", "MyWords.TXT" and "a.txt.bak" pass.
bool IsWordListPath(std::string_view path);

// How many records the preview lists before the question.
inline constexpr std::size_t kPreviewRecords = 100;

// The record a word list line makes: split at its separator, each field cut
// to its limit as the word table stores it (views into the line).
TEngWord ImportRecord(std::string_view line);

// The gloss pane's text before the question: the number of records, then
// the first kPreviewRecords of them as "headword | gloss", one a line.
AnsiString ImportPreviewText(std::span<const std::string_view> lines);

// What the import touches in the main window.
struct TWordImportContext {
    TADOConnection& Connection;
    TADOQuery& Query;
    AnsiString AppDir;                   // where dat/WordLib.dat lives, ending in '/'
    TShowSkinMessage ShowMessage;
    std::function<void(const AnsiString&)> ShowPreview;  // puts the preview into the gloss pane
    std::function<void()> ShareWords;    // the share button's work, offered after the import
    // Called while the rows go in, with the rows done and the total; it
    // keeps the window alive. Returning false abandons the import, which
    // then leaves the database as it was. May be empty.
    std::function<bool(std::size_t done, std::size_t total)> Progress;
};

// The import button: checks the path text ("非法文件！" when it fails) and runs
// ImportWordFile.
void ImportWordList(const AnsiString& pathText, const TWordImportContext& context);
// The same for a path shown as `pathText` (the window's text) that names the
// file `fileOnDisk` (the bytes of its name on disk, normally UTF-8).
void ImportWordList(const AnsiString& pathText, const std::string& fileOnDisk, const TWordImportContext& context);

// Reads the file (only a regular file; one saved as UTF-8 is converted to
// GBK; a file that cannot be read raises EFOpenError naming it, before
// anything changes), makes one record per line, shows the preview and asks
// whether to import. Only an explicit Yes inserts the records, in order and
// in one transaction: a database error (a refused row, a full disk, a lock
// held past the wait) leaves the database exactly as before and is raised as
// EDatabaseError with a message that says so. After the import the count of
// records is reported with the offer to share them.
void ImportWordFile(const AnsiString& path, const TWordImportContext& context);
