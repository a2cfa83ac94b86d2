#pragma once
// Importing a word list file into the word database. The main window owns the
// path box, the gloss pane, the message component and the database objects;
// the import receives them here.
//
// The words go to the database only: the word table in memory is not touched,
// so imported words are found from the next start on.

#include <functional>
#include <string_view>

#include "AnsiString.h"
#include "MessageContract.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

// The path check shared by the import and the share: the path text must hold
// ".txt" somewhere (case-sensitive, searched character by character), so the
// open dialog's lower-cased "x.txt" passes and so does "a.txt.bak".
bool IsWordListPath(std::string_view path);

// What the import touches in the main window.
struct TWordImportContext {
    TADOConnection& Connection;
    TADOQuery& Query;
    AnsiString AppDir;                   // where dat/WordLib.dat lives, ending in '/'
    TShowSkinMessage ShowMessage;
    std::function<void()> ClearGlossPane;
    std::function<void()> ShareWords;    // the share button's work, offered after the import
};

// The import button: checks the path text ("非法文件！" when it fails) and runs
// ImportWordFile.
void ImportWordList(const AnsiString& pathText, const TWordImportContext& context);

// Reads the file (a file that cannot be read raises EFOpenError naming it,
// before anything changes), makes one record per line, clears the gloss pane
// and asks whether to import. Only an explicit Yes inserts the records, in
// order; then the count of records is reported with the offer to share them.
// A database error stops the import at that word; the rows inserted before it
// stay.
void ImportWordFile(const AnsiString& path, const TWordImportContext& context);
