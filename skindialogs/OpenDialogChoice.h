#pragma once
// How the open dialog turns its state into the chosen file: the file
// selected in the list wins; otherwise the text of the name box, taken
// from the folder shown (an absolute path, "~" and "../x" are understood),
// with the default extension added to a name without one.

#include <optional>
#include <string>

#include "AnsiString.h"

struct OpenChoiceState {
    std::string Selected;     // full path (bytes) of the file selected in the list; empty for none or a folder
    AnsiString Typed;         // the name box's text
    std::string Folder;       // the folder shown (bytes, ending in '/'); empty for a virtual folder
    AnsiString DefaultExt;    // the component's DefaultExt, without the dot
    AnsiString Pattern;       // the current file type's pattern ("*.txt;*.log")
    bool CheckFileExists = true;
};

// ".ext" for DefaultExt; else none when the pattern allows any extension
// (holds ".*"); else the extension of the pattern, or of its first part.
AnsiString DefaultExtension(const AnsiString& defaultExt, const AnsiString& pattern);

// The file the typed text stands for (bytes): resolved from the folder,
// with the default extension added when the name has none.
std::string TypedFilePath(const OpenChoiceState& state);

// The file chosen, or none when the dialog stays open.
std::optional<std::string> ChooseOpenFile(const OpenChoiceState& state);

// True when `path` names an existing entry that is not a folder.
bool FileEntryExists(const std::string& path);
