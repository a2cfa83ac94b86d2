#pragma once
// Importing a word list file into the word database. The main window owns the
// path box, the gloss pane, the message component and the database objects;
// the import receives them here.
//
// The words go to the database; the window is told which words went in, so
// that it finds them at once.

#include <cstddef>
#include <cstdint>
#include <functional>
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

// The gloss pane's text before the question: the number of records (and of
// the lines skipped for want of a headword or a separator), then the first
// kPreviewRecords of them as "headword | gloss", one a line.
AnsiString ImportPreviewText(const TEngWordTable& records, std::size_t malformed);

// What the preview and the report say of the lines skipped: "n 行格式不对，已跳过".
AnsiString SkippedLinesText(std::size_t malformed);

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
    // Called while the file is read, with the bytes done and the total; it
    // keeps the window alive. Returning false abandons the import before
    // anything is shown or asked. May be empty.
    std::function<bool(std::uint64_t done, std::uint64_t total)> ReadProgress;
    // Called with the records once they are in the database (before the
    // report), so that the window finds them at once. May be empty.
    std::function<void(const TEngWordTable& records)> Imported;
};

// The import button: checks the path text ("非法文件！" when it fails) and runs
// ImportWordFile.
void ImportWordList(const AnsiString& pathText, const TWordImportContext& context);
// The same for a path shown as `pathText` (the window's text) that names the
// file `fileOnDisk` (the bytes of its name on disk, normally UTF-8).
void ImportWordList(const AnsiString& pathText, const std::string& fileOnDisk, const TWordImportContext& context);

// Reads the file as ReadWordListRecords does (only a regular file of text,
// up to kMaxWordListFileBytes; UTF-8 and UTF-16 are converted to GBK; a file
// that cannot be read or is refused raises EFOpenError or EReadError naming
// it, before anything changes), makes one record per word line (blank lines
// passed over, lines without a headword or a separator skipped and counted),
// shows the preview and asks whether to import. Only an explicit Yes inserts the records, in order and
// in one transaction: a database error (a refused row, a full disk, a lock
// held past the wait) leaves the database exactly as before and is raised as
// EDatabaseError with a message that says so. After the import the count of
// records is reported with the offer to share them.
void ImportWordFile(const AnsiString& path, const TWordImportContext& context);
