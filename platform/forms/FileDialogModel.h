#pragma once
// What the open-file dialog shows and decides, apart from its window: the
// filter ("description|pattern|description|pattern..."), the entries of a
// folder (sub-folders first, then the files that match the chosen pattern),
// and the file a typed name stands for.

#include <vector>

#include "AnsiString.h"

struct TFileFilterItem {
    AnsiString Description;
    std::vector<AnsiString> Masks;  // the pattern split at ';', each trimmed
};

// Splits a filter into its pairs. A trailing description without a pattern
// gets the pattern "*.*"; empty masks are dropped; an empty filter gives no
// pairs (the dialog then shows every file).
std::vector<TFileFilterItem> ParseFileFilter(const AnsiString& filter);

struct TFolderEntry {
    AnsiString Name;
    bool IsFolder = false;
    bool IsHidden = false;
    long long Size = 0;
};

// The entries of `folder`: sub-folders (never "." or "..") and the files
// matching one of `masks` (no masks: every file). Hidden entries (names
// starting with '.') appear only with `showHidden`. Folders come first, then
// files, each group sorted by name without regard to case. An unreadable
// folder gives no entries.
std::vector<TFolderEntry> ListFolder(const AnsiString& folder, const std::vector<AnsiString>& masks,
                                     bool showHidden);

// How a name typed into the dialog's name box resolves.
enum class TTypedNameKind {
    Empty,        // nothing typed
    Folder,       // a folder: the dialog opens it
    Mask,         // holds '*' or '?': the dialog filters with it
    File,         // an existing file (or any name when it need not exist)
    Missing,      // the file does not exist and must
};

struct TTypedName {
    TTypedNameKind Kind = TTypedNameKind::Empty;
    AnsiString Path;  // the full path of the folder or file; the mask itself for Mask
};

// `typed` may be relative to `folder` or absolute; "..", "." and "~" are
// understood. With `mustExist`, a file name that names nothing is Missing.
TTypedName ResolveTypedName(const AnsiString& folder, const AnsiString& typed, bool mustExist);

// The parent of a folder ("/a/b/" -> "/a/"); "/" stays "/".
AnsiString ParentFolder(const AnsiString& folder);
