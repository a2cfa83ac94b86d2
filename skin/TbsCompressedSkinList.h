#pragma once
// A list of compressed skins from which a skin data component picks one by
// index (TbsSkinData::SkinList and SkinIndex). Each item owns one compressed
// skin; a window definition stores an item's skin as a complete .skn
// container under the item's "Skin" data.

#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Classes.h"
#include "TbsCompressedStoredSkin.h"

class TbsCompressedSkinList;

class TbsSkinListItem {
public:
    // `index` is the item's index at creation; it names the item "bsSkin<index>".
    TbsSkinListItem(TbsCompressedSkinList* list, int index);

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& name) { name_ = name; }
    const AnsiString& Description() const { return description_; }
    void SetDescription(const AnsiString& text) { description_ = text; }

    // At design time of the owning list, setting a path packs that skin
    // description (FileName) or reads that .skn file (CompressedFileName)
    // into the item's skin and keeps the name part; otherwise stores the text.
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& path);
    const AnsiString& CompressedFileName() const { return compressedFileName_; }
    void SetCompressedFileName(const AnsiString& path);

    TbsCompressedStoredSkin& StoredSkin() { return *storedSkin_; }
    const TbsCompressedStoredSkin& StoredSkin() const { return *storedSkin_; }

    // The item's "Skin" data in a window definition: a whole container.
    void LoadSkinData(TStream& stream) { storedSkin_->ReadPacked(stream); }
    void SaveSkinData(TStream& stream) const { storedSkin_->WritePacked(stream); }

    // Copies the texts and the skin.
    void Assign(const TbsSkinListItem& source);

private:
    bool Designing() const;

    TbsCompressedSkinList* list_;
    AnsiString name_;
    AnsiString description_;
    AnsiString fileName_;
    AnsiString compressedFileName_;
    // An item is no component, so its skin has no owner: the item holds it.
    TComponentPtr<TbsCompressedStoredSkin> storedSkin_;
};

// The collection of a skin list, shown by item name.
class TbsSkinListItems {
public:
    explicit TbsSkinListItems(TbsCompressedSkinList* list = nullptr) : list_(list) {}
    TbsSkinListItems(const TbsSkinListItems&) = delete;
    TbsSkinListItems& operator=(const TbsSkinListItems&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // Index errors raise EListError "List index out of bounds (%d)".
    TbsSkinListItem& Items(int index);
    const TbsSkinListItem& Items(int index) const;
    TbsSkinListItem& Add();
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Replaces the items with copies of `source`'s.
    void Assign(const TbsSkinListItems& source);

private:
    TbsCompressedSkinList* list_;
    std::vector<std::unique_ptr<TbsSkinListItem>> items_;
};

class TbsCompressedSkinList : public TComponent {
public:
    explicit TbsCompressedSkinList(TComponent* AOwner) : TComponent(AOwner), skins_(this) {}

    TbsSkinListItems& Skins() { return skins_; }
    const TbsSkinListItems& Skins() const { return skins_; }
    // Copies the collection.
    void SetSkins(const TbsSkinListItems& skins) { skins_.Assign(skins); }

private:
    TbsSkinListItems skins_;
};
