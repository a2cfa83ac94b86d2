#pragma once
// The skinned file list: a skinned list view showing the entries of one
// folder of the shell namespace. The list is virtual: it keeps the items it
// read and only the rows on screen ask for their captions, icons and
// details. Folders come first, then the files that pass the mask, in the
// locale's name order; a click on a column header sorts by that column and a
// second click reverses the order. Backspace goes up, Enter opens a folder,
// F5 re-reads the folder keeping the selected position, and typed letters
// jump to the next name starting with them. A double click opens a folder;
// the context menu opens, renames in place, or shows an entry's properties.
// A folder that disappears while shown gives way to its nearest existing
// parent on the next read, or when the list takes the focus again.

#include <memory>
#include <string>
#include <vector>

#include "ShellCollation.h"
#include "ShellFolderListing.h"
#include "TbsShellFolder.h"
#include "TbsSkinListView.h"

class TbsCustomShellComboBox;
class TbsSkinPopupMenu;
class TImageList;
class TMenuItem;

class TbsCustomShellListView : public TbsSkinCustomListView {
public:
    explicit TbsCustomShellListView(TComponent* AOwner);
    ~TbsCustomShellListView() override;

    // A special folder name ("rfDesktop" ...) or a path. Raises "Error
    // setting path" when it names nothing; the previous root is kept then.
    const AnsiString& Root() const { return root_; }
    void SetRoot(const AnsiString& value);
    const AnsiString& Mask() const { return mask_; }
    void SetMask(const AnsiString& value);
    TbsShellObjectTypes ObjectTypes() const { return objectTypes_; }
    void SetObjectTypes(TbsShellObjectTypes value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool AutoNavigate = true;
    bool AutoContextMenus = true;
    // Kept for the component's interface; a folder is re-read on F5, on
    // every navigation, and when it is found gone.
    bool AutoRefresh = false;

    TbsCustomShellComboBox* ShellComboBox() const { return comboBox_; }
    void SetShellComboBox(TbsCustomShellComboBox* value);

    // The folder shown and its entries in display order.
    const TbsShellFolder::Ptr& RootFolder() const { return rootFolder_; }
    const TbsShellFolder::Ptr& CurrentFolder() const { return folder_; }
    int FolderCount() const { return int(items_.size()); }
    const TbsShellFolder::Ptr& Folders(int index) const { return items_.at(std::size_t(index)); }
    // The entry's index by its name on disk, or -1.
    int IndexOfName(const std::string& relativeId) const;

    // Goes to `folder` (ignored when it is the one shown).
    void SetPathFromID(const TbsShellFolder::Ptr& folder);
    // To the parent of the folder shown (nothing at the top).
    void Back();
    // A typed path (code page 936 or the bytes on disk), taken from the
    // folder shown. Raises "Error setting path" when it names no folder.
    void SetPath(const AnsiString& path);
    // Re-reads the folder, selecting the same position again when it exists.
    void Refresh();
    // The folder's path (bytes) with a trailing '/', or empty for the
    // virtual folders (the desktop, the computer).
    std::string Path() const;
    // The first selected entry, or null.
    TbsShellFolder::Ptr SelectedFolder();
    // The full paths (bytes) of every selected file, in list order.
    std::vector<std::string> SelectedFiles();

    // The details column the entries are sorted by, and the direction.
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }
    // As a click on the header of `column` does.
    void ColumnClicked(int column);
    // Rebuilds the details columns (titles from the skin's resource strings).
    void RebuildColumns();
    // Opens the entry: a folder is shown, a file left alone.
    void OpenItem(const TbsShellFolder::Ptr& item);
    // Shows size, kind, modification time and permissions of an entry.
    void ShowProperties(const TbsShellFolder::Ptr& item);
    // The context menu of the selected entries at a screen point.
    void ShowContextMenu(TPoint screen);
    TbsSkinPopupMenu* ContextMenu() const { return contextMenu_; }

    ShellAddFilter OnAddFolder;
    // The folder shown changed (after it was read).
    TNotifyEvent OnFolderChanged;

    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DblClick() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TbsCustomShellComboBox;
    // Shows `folder`: the folder box follows unless `fromRoot`.
    void ShowFolder(TbsShellFolder::Ptr folder, bool fromRoot);
    void ReadFolder();
    void SortItems();
    void FillRow(TListItem& item);
    void RenameEdited(TListItem* item, AnsiString& text);
    void TypeAhead(char ch);
    void BuildContextMenu();
    void ContextOpen(TObject*);
    void ContextRename(TObject*);
    void ContextProperties(TObject*);

    AnsiString root_ = "rfDesktop";
    AnsiString mask_ = "*.*|*.*";
    TbsShellObjectTypes objectTypes_ = otFolders | otNonFolders;
    bool sorted_ = true;
    TbsCustomShellComboBox* comboBox_ = nullptr;
    TbsShellFolder::Ptr rootFolder_;
    TbsShellFolder::Ptr folder_;
    std::vector<TbsShellFolder::Ptr> items_;
    ShellCollator collator_;
    int sortColumn_ = 0;
    bool sortAscending_ = true;
    TImageList* smallIcons_ = nullptr;
    TbsSkinPopupMenu* contextMenu_ = nullptr;
    TbsShellFolder::Ptr contextItem_;
    AnsiString typed_;
    DWORD lastTypeTime_ = 0;
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    explicit TbsSkinFileListView(TComponent* AOwner) : TbsCustomShellListView(AOwner) {}
};
