#pragma once
// The data of a report-style list view, apart from its window: the columns
// (TListColumn / TListColumns) and the rows (TListItem / TListItems) with the
// selected rows (one at most unless MultiSelect) and the focused row.
//
// Rows are either kept here (each TListItem holds its caption, sub-items and
// data) or, in OwnerData mode, only counted: then Item(i) hands out a scratch
// item that the list view's OnData handler fills on every request.
//
// Every change is reported to an observer (the list view), which repaints or
// re-measures; the model itself never draws.

#include <functional>
#include <memory>
#include <vector>

#include "AnsiString.h"
#include "TStrings.h"
#include "TextAlignment.h"

class TListItems;

// What a list view hears from its columns and rows.
class TListObserver {
public:
    virtual ~TListObserver() = default;
    // Rows were added, removed or reordered (a full re-measure).
    virtual void ListStructureChanged() = 0;
    // One row's text or data changed.
    virtual void ListItemChanged(int index) = 0;
    // A row was selected or deselected by a change of the selection (rows
    // that are deleted leave it without a report).
    virtual void ListSelectionChanged(int index, bool selected) = 0;
    virtual void ListColumnsChanged() = 0;
    // A row's caption is to be edited in place; false when that cannot be.
    virtual bool ListEditCaption(int /*index*/) { return false; }
};

class TListItem {
public:
    explicit TListItem(TListItems* owner);
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& caption);
    // The texts of the columns after the first. Changing them repaints the row.
    TStringList& SubItems() { return *subItems_; }
    const TStringList& SubItems() const { return *subItems_; }

    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    int Index() const { return index_; }
    TListItems* Owner() const { return owner_; }

    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);

    // Starts editing the caption in place in the list view showing the
    // row; false when the view does not allow it.
    bool EditCaption();

    // Removes the row from its list; the item is destroyed.
    void Delete();

private:
    friend class TListItems;
    void Changed();

    TListItems* owner_;
    int index_ = -1;
    AnsiString caption_;
    std::unique_ptr<TStringList> subItems_;
    void* data_ = nullptr;
    int imageIndex_ = -1;
};

class TListItems {
public:
    explicit TListItems(TListObserver* observer = nullptr) : observer_(observer) {}
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;
    ~TListItems();

    int Count() const { return ownerData_ ? virtualCount_ : static_cast<int>(items_.size()); }
    // The row at `index`; EListError for an index out of range. In OwnerData
    // mode the returned scratch item is refilled by OnData on every call.
    TListItem* Item(int index);
    TListItem* operator[](int index) { return Item(index); }

    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // -1 when the item is not in this list.
    int IndexOf(const TListItem* item) const;

    // Brackets many changes; the observer hears one structure change at the end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    // --- OwnerData mode ------------------------------------------------------
    bool OwnerData() const { return ownerData_; }
    // Switching modes drops every row.
    void SetOwnerData(bool on);
    // The number of rows of an OwnerData list.
    void SetCount(int count);
    std::function<void(TListItem&)> OnData;

    // --- selection -----------------------------------------------------------
    // With MultiSelect off, selecting a row deselects the others; switching it
    // off keeps only the first selected row.
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on);
    // The first selected row, or -1.
    int SelectedIndex() const { return selection_.empty() ? -1 : selection_.front(); }
    // Selects exactly this row (-1 or an index out of range: none).
    void SetSelectedIndex(int index);
    bool IsSelected(int index) const;
    // Adds the row to the selection or takes it out (without MultiSelect,
    // adding replaces the selection).
    void SetItemSelected(int index, bool selected);
    // Selects the rows from `first` to `last` (either order), with the others
    // kept (`keepOthers`, MultiSelect only) or deselected.
    void SelectRange(int first, int last, bool keepOthers);
    void ClearSelection() { ReplaceSelection({}); }
    int SelCount() const { return int(selection_.size()); }
    // The first selected row after `index` (-1: from the top), or -1.
    int NextSelected(int index) const;
    int FocusedIndex() const { return focused_; }
    void SetFocusedIndex(int index);

private:
    friend class TListItem;
    void Renumber(std::size_t from);
    void StructureChanged();
    void ItemChanged(int index);
    void CheckIndex(int index, int limit) const;
    // Makes `rows` (sorted, unique, valid) the selection and reports every
    // row that changed: the deselected ones first.
    void ReplaceSelection(std::vector<int> rows);

    TListObserver* observer_;
    std::vector<std::unique_ptr<TListItem>> items_;
    bool ownerData_ = false;
    int virtualCount_ = 0;
    std::unique_ptr<TListItem> scratch_;
    std::vector<int> selection_;  // sorted
    bool multiSelect_ = false;
    int focused_ = -1;
    int updateCount_ = 0;
    bool changedWhileUpdating_ = false;
};

class TListColumns;

class TListColumn {
public:
    explicit TListColumn(TListColumns* owner) : owner_(owner) {}

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& caption);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int Index() const;

private:
    void Changed();

    TListColumns* owner_;
    AnsiString caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    int imageIndex_ = -1;
};

class TListColumns {
public:
    explicit TListColumns(TListObserver* observer = nullptr) : observer_(observer) {}

    int Count() const { return static_cast<int>(columns_.size()); }
    TListColumn* Items(int index);
    const TListColumn* Items(int index) const;
    TListColumn* operator[](int index) { return Items(index); }
    TListColumn* Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TListColumn* column) const;
    // The sum of all column widths.
    int TotalWidth() const;

private:
    friend class TListColumn;
    void Changed();

    TListObserver* observer_;
    std::vector<std::unique_ptr<TListColumn>> columns_;
};
