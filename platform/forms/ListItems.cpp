#include "ListItems.h"

#include <algorithm>

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

bool TListItem::Selected() const { return owner_ && index_ >= 0 && owner_->SelectedIndex() == index_; }

void TListItem::SetSelected(bool selected) {
    if (!owner_ || index_ < 0) return;
    if (selected) {
        owner_->SetSelectedIndex(index_);
    } else if (Selected()) {
        owner_->SetSelectedIndex(-1);
    }
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
    if (selected_ >= index) ++selected_;
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
    const int oldSelected = selected_;
    if (selected_ == index) selected_ = -1;
    else if (selected_ > index) --selected_;
    if (focused_ == index) focused_ = -1;
    else if (focused_ > index) --focused_;
    StructureChanged();
    if (oldSelected == index && observer_) observer_->ListSelectionChanged(index, -1);
}

void TListItems::Clear() {
    const int oldSelected = selected_;
    items_.clear();
    virtualCount_ = 0;
    selected_ = focused_ = -1;
    StructureChanged();
    if (oldSelected >= 0 && observer_) observer_->ListSelectionChanged(oldSelected, -1);
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
    selected_ = focused_ = -1;
    ownerData_ = on;
    StructureChanged();
}

void TListItems::SetCount(int count) {
    if (!ownerData_) return;
    count = std::max(0, count);
    virtualCount_ = count;
    const int oldSelected = selected_;
    if (selected_ >= count) selected_ = -1;
    if (focused_ >= count) focused_ = -1;
    StructureChanged();
    if (oldSelected != selected_ && observer_) observer_->ListSelectionChanged(oldSelected, selected_);
}

void TListItems::SetSelectedIndex(int index) {
    if (index < -1 || index >= Count()) index = -1;
    if (index == selected_) return;
    const int old = selected_;
    selected_ = index;
    if (observer_) observer_->ListSelectionChanged(old, index);
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
