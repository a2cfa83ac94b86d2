#pragma once
// The program's directory and the directory scan shared by start-up and the
// ad banner.

#include <memory>
#include <string_view>

#include "AnsiString.h"
#include "TStrings.h"

// The directory of the program file, ending in '/'. Empty until
// InitAppDir runs at start-up; every data path is AppDir + a relative path.
extern AnsiString AppDir;

// Sets AppDir from the running program's full path.
void InitAppDir();

// Appends the names of the entries of `dir` that match `pattern` to `list`,
// creating the list when there is none yet. Every kind of entry counts
// (hidden files and directories too), in the order the file system returns
// them; names are stored with A-Z lowered. A blank pattern finds nothing and
// leaves an absent list absent. True when at least one entry was found.
bool FindFilesInto(std::string_view dir, std::string_view pattern, std::unique_ptr<TStringList>& list);
