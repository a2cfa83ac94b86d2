#pragma once
// What the file list shows of one folder, in one call: the entries of the
// kinds asked for, every folder and the files that pass the mask, a hook
// that may change each decision, then the display order.

#include <functional>
#include <vector>

#include "AnsiString.h"
#include "TbsShellFolder.h"

class ShellCollator;

// Receives an entry with the list's decision and returns the final one.
using ShellAddFilter = std::function<bool(const TbsShellFolder& item, bool keep)>;

struct ShellListing {
    std::vector<TbsShellFolder::Ptr> Items;
    int Error = 0;  // errno when the folder could not be read (fully); the entries read are kept
};

// Without a collator the entries stay in the file system's order.
ShellListing ListShellFolder(const TbsShellFolder::Ptr& folder, TbsShellObjectTypes types, const AnsiString& mask,
                             const ShellCollator* collator, const ShellAddFilter& onAdd = {});

// The item itself when it still exists, else its nearest ancestor that does
// (the desktop and the computer always do): where a list goes when the
// folder it shows was deleted.
TbsShellFolder::Ptr NearestExistingItem(const TbsShellFolder::Ptr& item);
