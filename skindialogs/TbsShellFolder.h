#pragma once
// One item of the namespace the open dialog browses: the desktop (the top),
// the computer, or a file or folder on disk. An item knows its parent (none
// for the desktop), its identifier inside the parent (the name's bytes on
// disk, or a token for the two virtual items) and its absolute identifier
// (the path, or the token), its level (the number of ancestors), and what
// the file system said about it when it was read.
//
// Names on disk are bytes, normally UTF-8; the dialog's texts are code page
// 936. DisplayName is the converted text, with '?' where a character cannot
// be shown; Path always keeps the real bytes, so the item chosen is the file
// on disk whatever its name.

#include <memory>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "ShellFolderEntries.h"

class ShellCollator;

enum class TbsShellItemKind { Desktop, Computer, FileSystem };

// The pictures of the dialog's icon lists, in list order.
enum TbsShellIconIndex { siFolder = 0, siFile = 1, siDrive = 2, siHome = 3, siShellIconCount = 4 };

// Which entries a folder's enumeration gives.
enum TbsShellObjectType { otFolders = 1, otNonFolders = 2, otHidden = 4 };
using TbsShellObjectTypes = int;

// The columns of the details view, in order.
enum TbsShellDetail { sdName = 0, sdSize = 1, sdType = 2, sdModified = 3, sdDetailCount = 4 };

class TbsShellFolder {
public:
    using Ptr = std::shared_ptr<TbsShellFolder>;

    // The top of the namespace.
    static Ptr Desktop();
    // The computer item (a child of a new desktop item).
    static Ptr Computer();
    // A folder or file by its absolute path (bytes), with its ancestors up to
    // the desktop: the computer, "/", and each folder on the way.
    static Ptr ForPath(const std::string& path);
    // A child of `parent` read from the parent's folder.
    static Ptr Child(const Ptr& parent, const ShellDirEntry& entry);

    TbsShellItemKind Kind() const { return kind_; }
    const Ptr& Parent() const { return parent_; }
    // The identifier inside the parent: the name's bytes, or "::desktop",
    // "::computer".
    const std::string& RelativeId() const { return relativeId_; }
    // The path for items on disk, the token for the virtual ones.
    const std::string& AbsoluteId() const { return kind_ == TbsShellItemKind::FileSystem ? path_ : relativeId_; }
    int Level() const { return level_; }

    // The name shown for the item inside its folder (code page 936).
    const AnsiString& DisplayName() const { return displayName_; }
    // The namespace's full name: the whole path as text, or the display name
    // of a virtual item.
    AnsiString FullName() const;
    // The file-system path (real bytes); empty for the virtual items.
    const std::string& Path() const { return path_; }
    // A folder the list can open. A folder whose name ends in ".zip" (any
    // case) counts as a file: archives that a file manager browses as
    // folders are chosen as files.
    bool IsFolder() const;
    // An item on disk, not a root of the computer, in a folder we may write.
    bool CanRename() const;
    // faDirectory, faReadOnly (the owner may not write), faHidden (a leading
    // dot), faSysFile (neither file nor folder), faArchive (a regular file).
    int Attributes() const;
    const ShellFileFacts& Facts() const { return facts_; }
    TbsShellIconIndex IconIndex() const;

    // The details-view texts, made on first request and kept: the display
    // name; the size in bytes (empty for a folder); the name's extension;
    // the local modification time "yyyy-mm-dd hh:nn" (empty when unknown).
    const AnsiString& DetailText(TbsShellDetail column) const;

    // The entries of this folder of the kinds asked for, unsorted. Folders
    // the program may not read give no entries (`error` gets the errno).
    std::vector<Ptr> Children(const Ptr& self, TbsShellObjectTypes types, int* error = nullptr) const;

private:
    TbsShellFolder() = default;
    static Ptr Make(TbsShellItemKind kind, Ptr parent, std::string relativeId, std::string path, AnsiString display);

    TbsShellItemKind kind_ = TbsShellItemKind::FileSystem;
    Ptr parent_;
    std::string relativeId_;
    std::string path_;
    int level_ = 0;
    AnsiString displayName_;
    ShellFileFacts facts_;
    bool isMountRoot_ = false;
    mutable std::vector<AnsiString> details_;
};

// Folders before files; inside each group the collation order of the names
// on disk (display names for the virtual items). `ascending` false reverses
// the whole order, folders included.
void SortShellItems(std::vector<TbsShellFolder::Ptr>& items, const ShellCollator& collator, bool ascending = true);

// Renames an item on disk to `newName` (text as typed) inside its folder,
// never replacing an existing entry. Raises Exception "Rename to <name>
// failed" when the item cannot be renamed or the file system refuses;
// returns the renamed item.
TbsShellFolder::Ptr RenameShellItem(const TbsShellFolder::Ptr& item, const AnsiString& newName);

// The text a name on disk is shown as: ASCII as it is, UTF-8 converted, and
// '?' for every character (or stray byte) code page 936 cannot show.
AnsiString ShellDisplayName(std::string_view diskName);
