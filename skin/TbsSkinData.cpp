#include "TbsSkinData.h"

#include <span>

#include "CompressedSkin.h"
#include "FileUtils.h"
#include "Forms.h"
#include "SkinLoadLimits.h"
#include "SkinPictureFiles.h"
#include "ZlibStreams.h"

namespace {

constexpr const char* kVersion = "VERSION";
constexpr const char* kPictures = "PICTURES";

// How a compressed skin is named in its errors: by the file it came from.
AnsiString StoredSkinName(const TbsCompressedStoredSkin& storedSkin) {
    if (!storedSkin.CompressedFileName().empty()) return storedSkin.CompressedFileName();
    if (!storedSkin.FileName().empty()) return storedSkin.FileName();
    return storedSkin.Name().empty() ? AnsiString("(compressed skin)") : storedSkin.Name();
}

}  // namespace

TbsSkinData::TbsSkinData(TComponent* AOwner) : TComponent(AOwner) {}

TbsSkinData::~TbsSkinData() {
    // Those holding a pointer to this component let go while it is still whole.
    NotifyDestroying();
    isEmpty_ = true;
    ClearRecords();
}

// ---- loading ----

void TbsSkinData::LoadIniSkin(const AnsiString& fileName) {
    const TMemIniFile ini(fileName);
    if (!HasRequiredSkinSections(ini)) return;

    BeginLoad();
    std::exception_ptr failure;
    try {
        ReadSkinNames(ini);
        SkinPictureFiles pictures(fileName, ini);
        pictures.LoadFramePicture(mainBitmap_, "picture", pictureFiles_.picture);
        pictures.LoadFramePicture(inactiveBitmap_, "inactivepicture", pictureFiles_.inactivepicture);
        pictures.LoadFramePicture(maskBitmap_, "mask", pictureFiles_.mask);
        for (int i = 0; i < activeBitmapNames_.Count(); ++i) {
            activeBitmaps_.push_back(std::make_unique<TBitmap>());
            pictures.LoadListPicture(*activeBitmaps_.back(), i, activeBitmapNames_.Strings(i));
        }
        ReadSkinSections(ini);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) FailLoad(failure);
    else EndLoad();
}

void TbsSkinData::LoadPackedSkinFile(const AnsiString& fileName) {
    const auto storedSkin = CreateUnowned<TbsCompressedStoredSkin>();
    storedSkin->LoadPackedFile(fileName);
    // Outside design time this only stores the name, by which errors name the file.
    storedSkin->SetCompressedFileName(fileName);
    if (!storedSkin->IsEmptySkin()) LoadStoredSkin(*storedSkin);
}

void TbsSkinData::LoadStoredSkin(const TbsCompressedStoredSkin& storedSkin) {
    if (storedSkin.IsEmptySkin()) return;

    BeginLoad();
    std::exception_ptr failure;
    try {
        const AnsiString name = StoredSkinName(storedSkin);
        TMemoryStream raw;
        try {
            storedSkin.DecompressTo(raw, kMaxSkinPayloadBytes);
        } catch (const EInflateLimitError& e) {
            throw EReadError("Skin \"" + name + "\" is too large: " + e.Message());
        }
        TbsSkinPayload payload;
        ReadSkinPayload(std::span<const char>(raw.Memory(), static_cast<std::size_t>(raw.Size())), payload, name);
        mainBitmap_.Assign(payload.Picture);
        inactiveBitmap_.Assign(payload.InactivePicture);
        maskBitmap_.Assign(payload.Mask);
        activeBitmaps_ = std::move(payload.ActivePictures);
        // The pictures came from the stream; the description still names them.
        const TMemIniFile ini(payload.Description);
        ReadSkinNames(ini);
        ReadSkinSections(ini);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) FailLoad(failure);
    else EndLoad();
}

void TbsSkinData::BeginLoad() {
    isEmpty_ = true;
    isChanging_ = true;
    BroadcastSkinMessage(SKINMSG_BEFORECHANGE);
    ClearSkin();
}

void TbsSkinData::EndLoad() {
    isEmpty_ = false;
    BroadcastSkinMessage(SKINMSG_CHANGE);
    isChanging_ = false;
    BroadcastSkinMessage(SKINMSG_AFTERCHANGE);
}

void TbsSkinData::FailLoad(std::exception_ptr failure) {
    // Whatever was read before the failure goes: a half skin could point
    // records at pictures that never arrived.
    ClearSkin();
    BroadcastSkinMessage(SKINMSG_CHANGE);
    isChanging_ = false;
    BroadcastSkinMessage(SKINMSG_AFTERCHANGE);
    // Reported only now, so the forms are out of the loading state (and can
    // paint) while the report is on screen.
    if (!Application) std::rethrow_exception(failure);
    try {
        std::rethrow_exception(failure);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TbsSkinData::ReadSkinNames(const TMemIniFile& ini) {
    version_.skinname = ini.ReadString(kVersion, "skinname", "");
    version_.skinauthor = ini.ReadString(kVersion, "skinauthor", "");
    version_.authoremail = ini.ReadString(kVersion, "authoremail", "");
    version_.authorurl = ini.ReadString(kVersion, "authorurl", "");
    version_.skincomments = ini.ReadString(kVersion, "skincomments", "");
    pictureFiles_.picture = ini.ReadString(kPictures, "picture", "");
    pictureFiles_.inactivepicture = ini.ReadString(kPictures, "inactivepicture", "");
    pictureFiles_.mask = ini.ReadString(kPictures, "mask", "");
    IniReadList(ini, kPictures, "activepictures", activeBitmapNames_);
}

void TbsSkinData::ReadSkinSections(const TMemIniFile& ini) {
    formInfo_.ReadFromIni(ini);
    NormalizeFormInfo(formInfo_, pictureFiles_.mask);
    popupWindow_.ReadFromIni(ini);
    hintWindow_.ReadFromIni(ini);
    skinColors_.ReadFromIni(ini);
    ReadSkinObjects(ini, skinObjects_);
    ReadSkinControls(ini, skinControls_);
}

// ---- lookup and messages ----

int TbsSkinData::FindObjectIndex(std::string_view name) const {
    for (std::size_t i = 0; i < skinObjects_.size(); ++i) {
        if (skinObjects_[i]->EntryName == name) return static_cast<int>(i);
    }
    return -1;
}

int TbsSkinData::FindControlIndex(std::string_view name) const {
    for (std::size_t i = 0; i < skinControls_.size(); ++i) {
        if (skinControls_[i]->EntryName == name) return static_cast<int>(i);
    }
    return -1;
}

void TbsSkinData::BroadcastSkinMessage(UINT msg) {
    auto* const ownerForm = dynamic_cast<TCustomForm*>(Owner());
    const auto self = reinterpret_cast<WPARAM>(this);
    // Without a screen (a tool running without an application) there are no
    // forms to tell.
    if (Screen) Screen->SendToForms(ownerForm, msg, self, kSkinMessageLParam);
}

// ---- clearing ----

void TbsSkinData::ClearRecords() {
    skinObjects_.clear();
    skinControls_.clear();
    activeBitmaps_.clear();
    activeBitmapNames_.Clear();
    popupWindow_.windowpictureindex = -1;
    hintWindow_.windowpictureindex = -1;
    skinColors_.ResetColors();
}

void TbsSkinData::ClearSkin() {
    ClearRecords();
    mainBitmap_.SetSize(0, 0);
    inactiveBitmap_.SetSize(0, 0);
    maskBitmap_.SetSize(0, 0);
    pictureFiles_.picture.clear();
    pictureFiles_.mask.clear();
    isEmpty_ = true;
}

// ---- properties ----

template <class T>
void TbsSkinData::Reference(T*& slot, T* component) {
    if (slot == component) return;
    if (slot) RemoveFreeNotification(slot);
    slot = component;
    if (slot) FreeNotification(slot);
}

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == compressedStoredSkin_) compressedStoredSkin_ = nullptr;
    if (AComponent == resourceStrData_) resourceStrData_ = nullptr;
    if (AComponent == skinList_) skinList_ = nullptr;
}

void TbsSkinData::SetSkinnableForm(bool value) {
    if (skinnableForm_ == value) return;
    skinnableForm_ = value;
    if (!Designing() && !Loading()) BroadcastSkinMessage(SKINMSG_SKINNABLECHANGE);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* storedSkin) {
    Reference(compressedStoredSkin_, storedSkin);
    if (!Designing() && compressedStoredSkin_) LoadStoredSkin(*compressedStoredSkin_);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* strData) {
    Reference(resourceStrData_, strData);
    if (!Designing()) BroadcastSkinMessage(SKINMSG_STRINGSCHANGE);
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* skinList) {
    Reference(skinList_, skinList);
    if (!Designing()) LoadSkinListItem();
}

void TbsSkinData::SetSkinIndex(int index) {
    if (index == skinIndex_) return;
    if (!skinList_) {
        skinIndex_ = index;
        return;
    }
    if (index < 0 || index >= skinList_->Skins().Count()) return;
    skinIndex_ = index;
    if (!Designing()) LoadSkinListItem();
}

void TbsSkinData::LoadSkinListItem() {
    if (!skinList_ || skinIndex_ < 0 || skinIndex_ >= skinList_->Skins().Count()) return;
    LoadStoredSkin(skinList_->Skins().Items(skinIndex_).StoredSkin());
}

const TBitmap* TbsSkinData::ActiveBitmapAt(int index) const {
    if (index < 0 || std::size_t(index) >= activeBitmaps_.size()) return nullptr;
    const TBitmap* picture = activeBitmaps_[std::size_t(index)].get();
    return picture && !picture->Empty() ? picture : nullptr;
}
