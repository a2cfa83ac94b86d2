#include "TbsSkinFileListView.h"

#include <algorithm>

#include "Exceptions.h"
#include "Forms.h"
#include "ImgList.h"
#include "TBitmap.h"
#include "ShellNamespace.h"
#include "SkinDialogText.h"
#include "SysUtils.h"
#include "TbsShellImages.h"
#include "TbsSkinData.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinShellComboBox.h"
#include "bsMessages.h"

namespace {

// Typed letters within this time extend the search text.
constexpr DWORD kTypeAheadMs = 1000;

struct ColumnSpec {
    const char* key;
    const char* title;
    int widthInX;
    TAlignment alignment;
};
constexpr ColumnSpec kColumns[sdDetailCount] = {
    {"FLV_NAME", "名称", 25, taLeftJustify},
    {"FLV_SIZE", "大小", 10, taRightJustify},
    {"FLV_TYPE", "类型", 10, taLeftJustify},
    {"FLV_MODIFIED", "修改日期", 14, taLeftJustify},
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const AnsiString& text, const AnsiString& prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
    return true;
}

int CompareNoCase(const AnsiString& a, const AnsiString& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

AnsiString PermissionText(unsigned mode) {
    const char* marks = "rwxrwxrwx";
    AnsiString text;
    for (int i = 0; i < 9; ++i) text += (mode & (0400u >> i)) ? marks[i] : '-';
    return text;
}

}  // namespace

TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {
    SetOwnerData(true);
    SetViewStyle(vsList);
    SetHideSelection(false);
    SetReadOnly(false);
    smallIcons_ = CreateComponent<TImageList>(this);
    ShellImages().FillImageList(*smallIcons_, 16, clWindow);
    SetSmallImages(smallIcons_);
    OnData = [this](TObject*, TListItem* item) { FillRow(*item); };
    OnColumnClick = [this](TObject*, TListColumn* column) { ColumnClicked(Columns().IndexOf(column)); };
    OnEditing = [this](TObject*, TListItem* item, bool& allow) {
        allow = item && item->Index() < FolderCount() && Folders(item->Index())->CanRename();
    };
    OnEdited = [this](TObject*, TListItem* item, AnsiString& text) { RenameEdited(item, text); };
    // The root is shown once the component is in use; reading the desktop
    // is cheap, and a list is never empty of meaning.
    rootFolder_ = TbsShellFolder::Desktop();
    folder_ = rootFolder_;
    ReadFolder();
}

TbsCustomShellListView::~TbsCustomShellListView() {
    if (comboBox_) comboBox_->fileList_ = nullptr;
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomListView::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == comboBox_) comboBox_ = nullptr;
    if (Operation == opRemove && AComponent == contextMenu_) contextMenu_ = nullptr;
}

// ---- properties ----------------------------------------------------------------------------------

void TbsCustomShellListView::SetRoot(const AnsiString& value) {
    TbsShellFolder::Ptr folder = ResolveShellRoot(value, Path());  // raises; the old root stays
    root_ = value;
    rootFolder_ = folder;
    ShowFolder(folder, true);
    if (comboBox_ && comboBox_->Root() != root_) comboBox_->SetRoot(root_);
}

void TbsCustomShellListView::SetMask(const AnsiString& value) {
    if (value == mask_) return;
    mask_ = value;
    ReadFolder();
}

void TbsCustomShellListView::SetObjectTypes(TbsShellObjectTypes value) {
    if (value == objectTypes_) return;
    objectTypes_ = value;
    ReadFolder();
}

void TbsCustomShellListView::SetSorted(bool value) {
    if (value == sorted_) return;
    sorted_ = value;
    ReadFolder();
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* value) {
    if (value == comboBox_) return;
    if (comboBox_) {
        comboBox_->RemoveFreeNotification(this);
        if (comboBox_->fileList_ == this) comboBox_->fileList_ = nullptr;
    }
    comboBox_ = value;
    if (!comboBox_) return;
    comboBox_->FreeNotification(this);
    comboBox_->fileList_ = this;
    comboBox_->SetRoot(root_);
    comboBox_->SyncToFolder(folder_);
}

// ---- navigation ----------------------------------------------------------------------------------

std::string TbsCustomShellListView::Path() const {
    if (!folder_ || folder_->Path().empty()) return {};
    std::string path = folder_->Path();
    if (path.back() != '/') path += '/';
    return path;
}

int TbsCustomShellListView::IndexOfName(const std::string& relativeId) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->RelativeId() == relativeId) return int(i);
    return -1;
}

void TbsCustomShellListView::SetPathFromID(const TbsShellFolder::Ptr& folder) {
    if (!folder || (folder_ && folder->AbsoluteId() == folder_->AbsoluteId())) return;
    ShowFolder(folder, false);
}

void TbsCustomShellListView::Back() {
    if (folder_ && folder_->Parent()) ShowFolder(folder_->Parent(), false);
}

void TbsCustomShellListView::SetPath(const AnsiString& path) {
    const std::string resolved = ResolvePathText(path, Path());
    if (!FolderExists(resolved)) throw Exception(Format("Error setting path: \"%s\"", path.c_str()));
    SetPathFromID(TbsShellFolder::ForPath(resolved));
}

void TbsCustomShellListView::OpenItem(const TbsShellFolder::Ptr& item) {
    if (item && item->IsFolder()) SetPathFromID(item);
}

void TbsCustomShellListView::ShowFolder(TbsShellFolder::Ptr folder, bool fromRoot) {
    folder_ = std::move(folder);
    if (!fromRoot && comboBox_) comboBox_->SyncToFolder(folder_);
    ReadFolder();
    if (FolderCount() > 0) MakeVisible(0);
    if (OnFolderChanged) OnFolderChanged(this);
}

void TbsCustomShellListView::ReadFolder() {
    // A folder deleted while shown gives way to its nearest existing parent.
    TbsShellFolder::Ptr existing = NearestExistingItem(folder_);
    const bool moved = existing != folder_;
    folder_ = existing;
    const TCursor oldCursor = Screen ? Screen->Cursor() : crDefault;
    if (Screen) Screen->SetCursor(crHourGlass);
    if (IsEditing()) EndEdit(false);
    ClearSelection();
    ShellListing listing = ListShellFolder(folder_, objectTypes_, mask_, nullptr, OnAddFolder);
    items_ = std::move(listing.Items);
    if (sorted_) SortItems();
    Items().SetCount(int(items_.size()));
    if (Screen) Screen->SetCursor(oldCursor);
    if (ViewStyle() == vsReport) RebuildColumns();
    Invalidate();
    if (moved && comboBox_) comboBox_->SyncToFolder(folder_);
}

void TbsCustomShellListView::Refresh() {
    const int position = ItemIndex();
    ReadFolder();
    if (position >= 0 && position < FolderCount()) {
        SetItemIndex(position);
        Items().SetFocusedIndex(position);
        MakeVisible(position);
    }
}

// ---- order and columns ---------------------------------------------------------------------------

void TbsCustomShellListView::SortItems() {
    if (sortColumn_ == sdName || sortColumn_ >= sdDetailCount) {
        SortShellItems(items_, collator_, sortAscending_);
        return;
    }
    // Folders first, then the column's order; equal values keep the name order.
    SortShellItems(items_, collator_, true);
    const int column = sortColumn_;
    std::stable_sort(items_.begin(), items_.end(), [column](const auto& a, const auto& b) {
        const bool fa = a->IsFolder(), fb = b->IsFolder();
        if (fa != fb) return fa;
        switch (column) {
        case sdSize: return a->Facts().Size < b->Facts().Size;
        case sdType: return CompareNoCase(a->DetailText(sdType), b->DetailText(sdType)) < 0;
        default:
            if (a->Facts().ModifiedSeconds != b->Facts().ModifiedSeconds)
                return a->Facts().ModifiedSeconds < b->Facts().ModifiedSeconds;
            return a->Facts().ModifiedNanoseconds < b->Facts().ModifiedNanoseconds;
        }
    });
    if (!sortAscending_) std::reverse(items_.begin(), items_.end());
}

void TbsCustomShellListView::ColumnClicked(int column) {
    if (column < 0) return;
    if (column > 0 && Columns().Count() < 4) return;
    if (column == sortColumn_) sortAscending_ = !sortAscending_;
    else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    // The selected entry stays selected where it moves to.
    TbsShellFolder::Ptr selected = SelectedFolder();
    SortItems();
    ClearSelection();
    Items().SetCount(int(items_.size()));
    if (selected) {
        const auto it = std::find(items_.begin(), items_.end(), selected);
        if (it != items_.end()) {
            const int index = int(it - items_.begin());
            SetItemIndex(index);
            Items().SetFocusedIndex(index);
            MakeVisible(index);
        }
    }
    Invalidate();
}

void TbsCustomShellListView::RebuildColumns() {
    const int columnCount = folder_ && folder_->Kind() == TbsShellItemKind::FileSystem ? sdDetailCount : 1;
    TBitmap measure;
    measure.Canvas().Font.Assign(Font());
    const int xWidth = std::max(1, measure.Canvas().TextWidth("X"));
    Columns().Clear();
    for (int i = 0; i < columnCount; ++i) {
        TListColumn* column = Columns().Add();
        column->SetCaption(SkinResourceText(SkinData(), kColumns[i].key, kColumns[i].title));
        column->SetWidth(kColumns[i].widthInX * xWidth);
        column->SetAlignment(kColumns[i].alignment);
    }
    if (sortColumn_ >= columnCount) {
        sortColumn_ = 0;
        sortAscending_ = true;
    }
}

void TbsCustomShellListView::FillRow(TListItem& item) {
    const int index = item.Index();
    if (index < 0 || index >= FolderCount()) return;
    const TbsShellFolder& entry = *items_[std::size_t(index)];
    item.SetCaption(entry.DisplayName());
    item.SetImageIndex(entry.IconIndex());
    if (ViewStyle() != vsReport) return;
    for (int c = 1; c < Columns().Count() && c < sdDetailCount; ++c)
        item.SubItems().Add(entry.DetailText(TbsShellDetail(c)));
}

// ---- selection -----------------------------------------------------------------------------------

TbsShellFolder::Ptr TbsCustomShellListView::SelectedFolder() {
    const int index = ItemIndex();
    return index >= 0 && index < FolderCount() ? items_[std::size_t(index)] : nullptr;
}

std::vector<std::string> TbsCustomShellListView::SelectedFiles() {
    std::vector<std::string> files;
    for (int i = Items().NextSelected(-1); i >= 0; i = Items().NextSelected(i)) {
        if (i >= FolderCount()) break;
        const auto& item = items_[std::size_t(i)];
        if (!item->IsFolder() && !item->Path().empty()) files.push_back(item->Path());
    }
    return files;
}

// ---- keys and mouse ------------------------------------------------------------------------------

void TbsCustomShellListView::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomListView::KeyDown(Key, Shift);
    if (!AutoNavigate || IsEditing()) return;
    switch (Key) {
    case VK_BACK:
        Back();
        Key = 0;
        break;
    case VK_RETURN:
        if (TbsShellFolder::Ptr item = SelectedFolder()) {
            if (Shift & ssCtrl) {
                ShowProperties(item);
                Key = 0;
            } else if (item->IsFolder()) {
                OpenItem(item);
                Key = 0;
            }
        }
        break;
    case VK_F5:
        Refresh();
        Key = 0;
        break;
    default:
        break;
    }
}

void TbsCustomShellListView::KeyPress(char& Key) {
    TbsSkinCustomListView::KeyPress(Key);
    if (IsEditing() || static_cast<unsigned char>(Key) < ' ') return;
    TypeAhead(Key);
    Key = 0;
}

void TbsCustomShellListView::TypeAhead(char ch) {
    const DWORD now = GetTickCount();
    const bool extend = !typed_.empty() && now - lastTypeTime_ < kTypeAheadMs;
    lastTypeTime_ = now;
    typed_ = extend ? typed_ + ch : AnsiString(1, ch);
    const int count = FolderCount();
    if (count == 0) return;
    const int current = std::max(0, ItemIndex());
    // A new search starts after the current entry; a longer text may still
    // fit the current one.
    const int start = extend ? current : current + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (start + n) % count;
        if (StartsWithNoCase(items_[std::size_t(i)]->DisplayName(), typed_)) {
            SetItemIndex(i);
            Items().SetFocusedIndex(i);
            MakeVisible(i);
            return;
        }
    }
}

void TbsCustomShellListView::DblClick() {
    if (AutoNavigate) {
        TbsShellFolder::Ptr item = SelectedFolder();
        if (item && item->IsFolder()) OpenItem(item);
    }
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::WndProc(TMessage& Message) {
    // Coming back to a list whose folder was deleted meanwhile shows the
    // nearest folder that still exists.
    if (Message.Msg == WM_SETFOCUS && folder_ && !folder_->Path().empty() && !FolderExists(folder_->Path()))
        ReadFolder();
    if (Message.Msg == WM_RBUTTONUP && AutoContextMenus) {
        TbsSkinCustomListView::WndProc(Message);
        const TPoint p = LParamToPoint(Message.LParam);
        const int row = RowAt(p);
        if (row >= 0 && Items().IsSelected(row)) ShowContextMenu(ClientToScreen(p));
        return;
    }
    TbsSkinCustomListView::WndProc(Message);
}

// ---- context menu, properties, renaming ----------------------------------------------------------

void TbsCustomShellListView::BuildContextMenu() {
    if (contextMenu_) return;
    contextMenu_ = CreateComponent<TbsSkinPopupMenu>(this);
    contextMenu_->FreeNotification(this);
    const struct {
        const char* key;
        const char* caption;
        void (TbsCustomShellListView::*handler)(TObject*);
    } entries[] = {
        {"FLV_OPEN", "打开", &TbsCustomShellListView::ContextOpen},
        {"FLV_RENAME", "重命名", &TbsCustomShellListView::ContextRename},
        {"FLV_PROPERTIES", "属性", &TbsCustomShellListView::ContextProperties},
    };
    for (const auto& e : entries) {
        auto item = std::make_unique<TMenuItem>(nullptr);
        item->SetCaption(SkinResourceText(SkinData(), e.key, e.caption));
        auto handler = e.handler;
        item->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
        contextMenu_->Items()->Add(std::move(item));
    }
}

void TbsCustomShellListView::ShowContextMenu(TPoint screen) {
    contextItem_ = SelectedFolder();
    if (!contextItem_) return;
    BuildContextMenu();
    contextMenu_->SetSkinData(SkinData());
    contextMenu_->Items()->Items(1)->Enabled = contextItem_->CanRename();
    contextMenu_->Popup(screen.X, screen.Y);
}

void TbsCustomShellListView::ContextOpen(TObject*) {
    if (contextItem_) OpenItem(contextItem_);
}

void TbsCustomShellListView::ContextRename(TObject*) {
    if (!contextItem_) return;
    const auto it = std::find(items_.begin(), items_.end(), contextItem_);
    if (it != items_.end()) EditCaption(int(it - items_.begin()));
}

void TbsCustomShellListView::ContextProperties(TObject*) {
    if (contextItem_) ShowProperties(contextItem_);
    Refresh();
}

void TbsCustomShellListView::ShowProperties(const TbsShellFolder::Ptr& item) {
    if (!item) return;
    const ShellFileFacts& facts = item->Facts();
    AnsiString text = "名称: " + item->DisplayName();
    text += "\n类型: ";
    text += item->IsFolder() ? AnsiString("文件夹") : (item->DetailText(sdType).empty() ? AnsiString("文件") : item->DetailText(sdType));
    if (!item->IsFolder()) text += "\n大小: " + IntToStr(facts.Size) + " 字节";
    if (facts.StatKnown) {
        text += "\n修改日期: " + item->DetailText(sdModified);
        text += "\n权限: " + PermissionText(facts.Mode);
    }
    auto message = CreateUnowned<TbsSkinMessage>();
    message->SetCtrlSkinData(SkinData());
    message->ShowSkinMessage(text, mtInformation, mbOK, 0);
}

void TbsCustomShellListView::RenameEdited(TListItem* item, AnsiString& text) {
    if (!item || item->Index() < 0 || item->Index() >= FolderCount()) return;
    const TbsShellFolder::Ptr old = items_[std::size_t(item->Index())];
    if (text == old->DisplayName()) return;
    // Raises "Rename to <name> failed"; the name stays as it was.
    TbsShellFolder::Ptr renamed = RenameShellItem(old, text);
    items_[std::size_t(item->Index())] = renamed;
    text = renamed->DisplayName();
}
