#pragma once
// The skinned folder box: a skinned combo box showing where the file list's
// folder lies. Its items are the root (level 0), the root's folders (level
// 1) and, under the desktop, the computer's drives right after the computer
// (level 2); showing a folder adds the folders from its deepest ancestor in
// the box down to itself, one level deeper each, and selects it. Each item
// is drawn with its small icon, indented in the open list by half an icon
// per level, then its name. Choosing an item sends the linked file list there.

#include <vector>

#include "TbsShellFolder.h"
#include "TbsSkinComboBox.h"

class TbsCustomShellListView;

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsCustomShellComboBox(TComponent* AOwner);
    ~TbsCustomShellComboBox() override;

    // A special folder name or a path; raises "Error setting path" (and keeps
    // the previous root) when it names nothing.
    const AnsiString& Root() const { return root_; }
    void SetRoot(const AnsiString& value);
    TbsShellObjectTypes ObjectTypes() const { return otFolders; }

    TbsCustomShellListView* FileList() const { return fileList_; }
    // Linking makes the list take the box's root.
    void SetFileList(TbsCustomShellListView* value);

    struct Entry {
        TbsShellFolder::Ptr Folder;
        int Level = 0;
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    // The folder of the selected item, or null.
    TbsShellFolder::Ptr SelectedFolder() const;

    // Shows `folder` in the box (rebuilds the base items, adds its chain).
    void SyncToFolder(const TbsShellFolder::Ptr& folder);

protected:
    void SelectionChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TbsCustomShellListView;
    void BuildBaseItems();
    void RefillStrings();
    void DrawEntry(TCanvas& c, int index, const TRect& textRect, bool indented);

    AnsiString root_ = "rfDesktop";
    TbsShellFolder::Ptr rootFolder_;
    std::vector<Entry> entries_;
    TbsCustomShellListView* fileList_ = nullptr;
    bool syncing_ = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
public:
    explicit TbsSkinShellComboBox(TComponent* AOwner) : TbsCustomShellComboBox(AOwner) {}
};
