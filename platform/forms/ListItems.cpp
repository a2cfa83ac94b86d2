#include "ListItems.h"

#include <algorithm>
#include <iterator>

#include "Exceptions.h"
#include "SysUtils.h"

// --- TListItem ---------------------------------------------------------------------

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = [this] { Changed(); };
}

void TListItem::SetCaption(const AnsiString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed();
}

void TListItem::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Changed();
}

void TListItem::Changed() {
    if (owner_ && index_ >= 0 && !owner_->OwnerData()) owner_->ItemChanged(index_);
}

bool TListItem::Selected() const { return owner_ && index_ >= 0 && owner_->IsSelected(index_); }

void TListItem::SetSelected(bool selected) {
    if (owner_ && index_ >= 0) owner_->SetItemSelected(index_, selected);
}

bool TListItem::EditCaption() {
    return owner_ && index_ >= 0 && owner_->observer_ && owner_->observer_->ListEditCaption(index_);
}

bool TListItem::Focused() const { return owner_ && index_ >= 0 && owner_->FocusedIndex() == index_; }

void TListItem::SetFocused(bool focused) {
    if (!owner_ || index_ < 0) return;
    if (focused) {
        owner_->SetFocusedIndex(index_);
    } else if (Focused()) {
        owner_->SetFocusedIndex(-1);
    }
}

void TListItem::Delete() {
    if (owner_ && index_ >= 0 && !owner_->OwnerData()) owner_->Delete(index_);
}

// --- TListItems --------------------------------------------------------------------

TListItems::~TListItems() { observer_ = nullptr; }

void TListItems::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) throw EListError(Format("List index out of bounds (%d)", index));
}

TListItem* TListItems::Item(int index) {
    CheckIndex(index, Count());
    if (!ownerData_) return items_[static_cast<std::size_t>(index)].get();
    // A fresh scratch item per request, so that nothing from the previous
    // row leaks into this one when OnData leaves a field alone.
    scratch_ = std::make_unique<TListItem>(this);
    scratch_->index_ = index;
    if (OnData) OnData(*scratch_);
    return scratch_.get();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    if (ownerData_) throw EListError("Cannot add rows to an OwnerData list; set its count instead");
    CheckIndex(index, Count() + 1);
    auto item = std::make_unique<TListItem>(this);
    TListItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    Renumber(static_cast<std::size_t>(index));
    for (int& row : selection_)
        if (row >= index) ++row;
    if (focused_ >= index) ++focused_;
    StructureChanged();
    return raw;
}

void TListItems::Delete(int index) {
    CheckIndex(index, Count());
    if (ownerData_) {
        SetCount(virtualCount_ - 1);
        return;
    }
    items_.erase(items_.begin() + index);
    Renumber(static_cast<std::size_t>(index));
    std::erase(selection_, index);
    for (int& row : selection_)
        if (row > index) --row;
    if (focused_ == index) focused_ = -1;
    else if (focused_ > index) --focused_;
    StructureChanged();
}

void TListItems::Clear() {
    items_.clear();
    virtualCount_ = 0;
    selection_.clear();
    focused_ = -1;
    StructureChanged();
}

int TListItems::IndexOf(const TListItem* item) const {
    if (!item || item->owner_ != this) return -1;
    return item->index_;
}

void TListItems::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && changedWhileUpdating_) {
        changedWhileUpdating_ = false;
        if (observer_) observer_->ListStructureChanged();
    }
}

void TListItems::SetOwnerData(bool on) {
    if (on == ownerData_) return;
    items_.clear();
    virtualCount_ = 0;
    selection_.clear();
    focused_ = -1;
    ownerData_ = on;
    StructureChanged();
}

void TListItems::SetCount(int count) {
    if (!ownerData_) return;
    count = std::max(0, count);
    virtualCount_ = count;
    std::erase_if(selection_, [count](int row) { return row >= count; });
    if (focused_ >= count) focused_ = -1;
    StructureChanged();
}

void TListItems::SetMultiSelect(bool on) {
    multiSelect_ = on;
    if (!on && selection_.size() > 1) ReplaceSelection({selection_.front()});
}

void TListItems::SetSelectedIndex(int index) {
    if (index < 0 || index >= Count()) ReplaceSelection({});
    else ReplaceSelection({index});
}

bool TListItems::IsSelected(int index) const {
    return std::binary_search(selection_.begin(), selection_.end(), index);
}

void TListItems::SetItemSelected(int index, bool selected) {
    if (index < 0 || index >= Count() || IsSelected(index) == selected) return;
    std::vector<int> rows = selection_;
    if (!selected) {
        std::erase(rows, index);
    } else if (!multiSelect_) {
        rows = {index};
    } else {
        rows.insert(std::upper_bound(rows.begin(), rows.end(), index), index);
    }
    ReplaceSelection(std::move(rows));
}

void TListItems::SelectRange(int first, int last, bool keepOthers) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (!multiSelect_) {
        // One row at most: the range's far end stands for it.
        SetSelectedIndex(last);
        return;
    }
    std::vector<int> rows = keepOthers ? selection_ : std::vector<int>{};
    for (int i = first; i <= last; ++i) rows.push_back(i);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    ReplaceSelection(std::move(rows));
}

int TListItems::NextSelected(int index) const {
    const auto it = std::upper_bound(selection_.begin(), selection_.end(), index);
    return it == selection_.end() ? -1 : *it;
}

void TListItems::ReplaceSelection(std::vector<int> rows) {
    if (rows == selection_) return;
    std::vector<int> removed, added;
    std::set_difference(selection_.begin(), selection_.end(), rows.begin(), rows.end(), std::back_inserter(removed));
    std::set_difference(rows.begin(), rows.end(), selection_.begin(), selection_.end(), std::back_inserter(added));
    selection_ = std::move(rows);
    if (!observer_) return;
    for (int row : removed) observer_->ListSelectionChanged(row, false);
    for (int row : added) observer_->ListSelectionChanged(row, true);
}

void TListItems::SetFocusedIndex(int index) {
    if (index < -1 || index >= Count()) index = -1;
    if (index == focused_) return;
    const int old = focused_;
    focused_ = index;
    // The focus rectangle moves: both rows repaint.
    if (observer_) {
        if (old >= 0) observer_->ListItemChanged(old);
        if (index >= 0) observer_->ListItemChanged(index);
    }
}

void TListItems::Renumber(std::size_t from) {
    for (std::size_t i = from; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
}

void TListItems::StructureChanged() {
    if (updateCount_ > 0) {
        changedWhileUpdating_ = true;
        return;
    }
    if (observer_) observer_->ListStructureChanged();
}

void TListItems::ItemChanged(int index) {
    if (updateCount_ > 0) {
        changedWhileUpdating_ = true;
        return;
    }
    if (observer_) observer_->ListItemChanged(index);
}

// --- columns -----------------------------------------------------------------------

void TListColumn::SetCaption(const AnsiString& caption) {
    caption_ = caption;
    Changed();
}

void TListColumn::SetWidth(int width) {
    width_ = std::max(0, width);
    Changed();
}

void TListColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed();
}

void TListColumn::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed();
}

int TListColumn::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

void TListColumn::Changed() {
    if (owner_) owner_->Changed();
}

TListColumn* TListColumns::Items(int index) {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return columns_[static_cast<std::size_t>(index)].get();
}

const TListColumn* TListColumns::Items(int index) const {
    return const_cast<TListColumns*>(this)->Items(index);
}

TListColumn* TListColumns::Add() {
    columns_.push_back(std::make_unique<TListColumn>(this));
    Changed();
    return columns_.back().get();
}

void TListColumns::Delete(int index) {
    Items(index);
    columns_.erase(columns_.begin() + index);
    Changed();
}

void TListColumns::Clear() {
    columns_.clear();
    Changed();
}

int TListColumns::IndexOf(const TListColumn* column) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].get() == column) return static_cast<int>(i);
    return -1;
}

int TListColumns::TotalWidth() const {
    int total = 0;
    for (const auto& c : columns_) total += c->Width();
    return total;
}

void TListColumns::Changed() {
    if (observer_) observer_->ListColumnsChanged();
}
