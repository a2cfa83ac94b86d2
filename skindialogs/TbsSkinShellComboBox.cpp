#include "TbsSkinShellComboBox.h"

#include <algorithm>

#include "ShellCollation.h"
#include "ShellNamespace.h"
#include "TbsShellImages.h"
#include "TbsSkinFileListView.h"

namespace {
constexpr int kIconSize = 16;
}

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {
    // The open list shows the tree by indentation; the field shows the
    // selected folder without it.
    OnComboBoxDrawItem = [this](TCanvas& c, int index, int, int, const TRect& text, TOwnerDrawState) {
        DrawEntry(c, index, text, false);
    };
    OnListBoxDrawItem = [this](TCanvas& c, int index, int, int, const TRect& text, TOwnerDrawState) {
        DrawEntry(c, index, text, true);
    };
    SetListBoxDefaultItemHeight(kIconSize + 2);
    rootFolder_ = TbsShellFolder::Desktop();
    BuildBaseItems();
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
    if (fileList_ && fileList_->comboBox_ == this) fileList_->comboBox_ = nullptr;
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fileList_) fileList_ = nullptr;
}

void TbsCustomShellComboBox::SetRoot(const AnsiString& value) {
    const std::string current = fileList_ ? fileList_->Path() : std::string();
    TbsShellFolder::Ptr folder = ResolveShellRoot(value, current);  // raises; the old root stays
    root_ = value;
    rootFolder_ = folder;
    BuildBaseItems();
    if (fileList_ && fileList_->Root() != root_) fileList_->SetRoot(root_);
}

void TbsCustomShellComboBox::SetFileList(TbsCustomShellListView* value) {
    if (value == fileList_) return;
    if (value) value->SetShellComboBox(this);  // links both ways and syncs
    else if (fileList_) fileList_->SetShellComboBox(nullptr);
    if (fileList_ && fileList_->Root() != root_) fileList_->SetRoot(root_);
}

void TbsCustomShellComboBox::BuildBaseItems() {
    ShellCollator collator;
    entries_.clear();
    entries_.push_back({rootFolder_, 0});
    std::vector<TbsShellFolder::Ptr> children = rootFolder_->Children(rootFolder_, otFolders);
    // The desktop's items keep the namespace's own order (home, desktop,
    // computer); folders on disk are sorted.
    if (rootFolder_->Kind() == TbsShellItemKind::FileSystem) SortShellItems(children, collator);
    for (const auto& child : children) {
        if (!child->IsFolder()) continue;
        entries_.push_back({child, 1});
        if (rootFolder_->Kind() == TbsShellItemKind::Desktop && child->Kind() == TbsShellItemKind::Computer) {
            for (const auto& drive : child->Children(child, otFolders)) entries_.push_back({drive, 2});
        }
    }
    RefillStrings();
}

void TbsCustomShellComboBox::RefillStrings() {
    syncing_ = true;
    Items().BeginUpdate();
    Items().Clear();
    for (const Entry& e : entries_) Items().Add(e.Folder->DisplayName());
    Items().EndUpdate();
    syncing_ = false;
}

void TbsCustomShellComboBox::SyncToFolder(const TbsShellFolder::Ptr& folder) {
    BuildBaseItems();
    if (!folder) return;
    // The deepest ancestor (or the folder itself) that the box holds.
    std::vector<TbsShellFolder::Ptr> chain;
    int found = -1;
    for (TbsShellFolder::Ptr a = folder; a && found < 0; a = a->Parent()) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].Folder->AbsoluteId() == a->AbsoluteId()) {
                found = int(i);
                break;
            }
        }
        if (found < 0) chain.push_back(a);
    }
    if (found < 0) return;
    int level = entries_[std::size_t(found)].Level;
    int at = found;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        entries_.insert(entries_.begin() + (++at), Entry{*it, ++level});
    }
    RefillStrings();
    syncing_ = true;
    SetItemIndex(at);
    syncing_ = false;
}

TbsShellFolder::Ptr TbsCustomShellComboBox::SelectedFolder() const {
    const int index = ItemIndex();
    return index >= 0 && index < int(entries_.size()) ? entries_[std::size_t(index)].Folder : nullptr;
}

void TbsCustomShellComboBox::SelectionChanged() {
    if (syncing_ || DroppedDown() || !fileList_) return;
    if (TbsShellFolder::Ptr folder = SelectedFolder()) fileList_->SetPathFromID(folder);
}

void TbsCustomShellComboBox::DrawEntry(TCanvas& c, int index, const TRect& textRect, bool indented) {
    if (index < 0 || index >= int(entries_.size())) return;
    const Entry& e = entries_[std::size_t(index)];
    int x = textRect.Left + (indented ? e.Level * (kIconSize / 2) : 0);
    const int y = textRect.Top + (textRect.Height() - kIconSize) / 2;
    ShellImages().Draw(c, x, y, e.Folder->IconIndex(), kIconSize);
    x += kIconSize + 4;
    TRect r{x, textRect.Top, textRect.Right, textRect.Bottom};
    c.Brush.Style = bsClear;
    c.DrawText(e.Folder->DisplayName(), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c.Brush.Style = bsSolid;
}
