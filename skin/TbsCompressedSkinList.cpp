#include "TbsCompressedSkinList.h"

#include "Exceptions.h"
#include "FileUtils.h"
#include "SysUtils.h"

TbsSkinListItem::TbsSkinListItem(TbsCompressedSkinList* list, int index)
    : list_(list), name_(Format("bsSkin%d", index)), storedSkin_(CreateUnowned<TbsCompressedStoredSkin>()) {}

bool TbsSkinListItem::Designing() const { return list_ && list_->Designing() && !list_->Loading(); }

void TbsSkinListItem::SetFileName(const AnsiString& path) {
    if (Designing()) {
        storedSkin_->CompressIniSkin(path);
        fileName_ = ExtractFileName(path);
    } else {
        fileName_ = path;
    }
}

void TbsSkinListItem::SetCompressedFileName(const AnsiString& path) {
    if (Designing()) {
        storedSkin_->LoadPackedFile(path);
        compressedFileName_ = ExtractFileName(path);
    } else {
        compressedFileName_ = path;
    }
}

void TbsSkinListItem::Assign(const TbsSkinListItem& source) {
    if (&source == this) return;
    name_ = source.name_;
    description_ = source.description_;
    fileName_ = source.fileName_;
    compressedFileName_ = source.compressedFileName_;
    storedSkin_->Assign(*source.storedSkin_);
}

TbsSkinListItem& TbsSkinListItems::Items(int index) {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return *items_[static_cast<std::size_t>(index)];
}

const TbsSkinListItem& TbsSkinListItems::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return *items_[static_cast<std::size_t>(index)];
}

TbsSkinListItem& TbsSkinListItems::Add() {
    items_.push_back(std::make_unique<TbsSkinListItem>(list_, Count()));
    return *items_.back();
}

void TbsSkinListItems::Delete(int index) {
    Items(index);  // checks the index
    items_.erase(items_.begin() + index);
}

void TbsSkinListItems::Assign(const TbsSkinListItems& source) {
    if (&source == this) return;
    std::vector<std::unique_ptr<TbsSkinListItem>> copies;
    for (const auto& item : source.items_) {
        auto copy = std::make_unique<TbsSkinListItem>(list_, static_cast<int>(copies.size()));
        copy->Assign(*item);
        copies.push_back(std::move(copy));
    }
    items_ = std::move(copies);
}
