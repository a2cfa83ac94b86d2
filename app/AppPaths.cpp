#include "AppPaths.h"

#include "FileUtils.h"
#include "SysUtils.h"

AnsiString AppDir;

void InitAppDir() { AppDir = ExtractFilePath(ExecutableFileName()); }

bool FindFilesInto(std::string_view dir, std::string_view pattern, std::unique_ptr<TStringList>& list) {
    if (Trim(pattern).empty()) return false;
    if (!list) list = std::make_unique<TStringList>();
    bool found = false;
    TSearchRec rec;
    const AnsiString path = AnsiString(dir) + AnsiString(pattern);
    for (int rc = FindFirst(path, faAnyFile, rec); rc == 0; rc = FindNext(rec)) {
        list->Add(LowerCase(rec.Name));
        found = true;
    }
    FindClose(rec);
    return found;
}
