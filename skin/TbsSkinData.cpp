#include "TbsSkinData.h"

#include <cstdio>
#include <span>

#include "CompressedSkin.h"
#include "FileUtils.h"

namespace {

TbsSkinErrorReport& ErrorReportSlot() {
    static TbsSkinErrorReport report;
    return report;
}

void ReportSkinError(const Exception& error) {
    if (const auto& report = ErrorReportSlot()) {
        report(error);
    } else {
        std::fprintf(stderr, "skin: %s\n", error.Message().c_str());
    }
}

constexpr const char* kVersion = "VERSION";
constexpr const char* kPictures = "PICTURES";

}  // namespace

TbsSkinErrorReport SetSkinErrorReport(TbsSkinErrorReport report) {
    TbsSkinErrorReport previous = std::move(ErrorReportSlot());
    ErrorReportSlot() = std::move(report);
    return previous;
}

TbsSkinData::TbsSkinData(TbsSkinMessageReceiver* ownerForm, TbsSkinMessageScreen& screen)
    : ownerForm_(ownerForm), screen_(screen) {}

TbsSkinData::~TbsSkinData() {
    isEmpty_ = true;
    ClearRecords();
    if (compressedStoredSkin_) compressedStoredSkin_->RemoveFreeNotification(this);
    if (resourceStrData_) resourceStrData_->RemoveFreeNotification(this);
    if (skinList_) skinList_->RemoveFreeNotification(this);
}

// ---- loading ----

void TbsSkinData::LoadIniSkin(const AnsiString& fileName) {
    const TMemIniFile ini(fileName);
    if (!HasRequiredSkinSections(ini)) return;

    BeginLoad();
    try {
        const AnsiString dir = ExtractFilePath(fileName);
        ReadSkinNames(ini);
        auto loadFramePicture = [&dir](TBitmap& bitmap, const AnsiString& name) {
            if (name.empty()) {
                bitmap.SetSize(0, 0);
            } else {
                bitmap.LoadFromFile(dir + name);
            }
        };
        loadFramePicture(mainBitmap_, pictureFiles_.picture);
        loadFramePicture(inactiveBitmap_, pictureFiles_.inactivepicture);
        loadFramePicture(maskBitmap_, pictureFiles_.mask);
        for (int i = 0; i < activeBitmapNames_.Count(); ++i) {
            activeBitmaps_.push_back(std::make_unique<TBitmap>());
            activeBitmaps_.back()->LoadFromFile(dir + activeBitmapNames_.Strings(i));
        }
        ReadSkinSections(ini);
    } catch (const Exception& error) {
        FailLoad(error);
        return;
    } catch (const std::exception& error) {
        FailLoad(Exception(error.what()));
        return;
    }
    EndLoad();
}

void TbsSkinData::LoadPackedSkinFile(const AnsiString& fileName) {
    TbsCompressedStoredSkin storedSkin;
    storedSkin.LoadPackedFile(fileName);
    if (!storedSkin.IsEmptySkin()) LoadStoredSkin(storedSkin);
}

void TbsSkinData::LoadStoredSkin(const TbsCompressedStoredSkin& storedSkin) {
    if (storedSkin.IsEmptySkin()) return;

    BeginLoad();
    try {
        TMemoryStream raw;
        storedSkin.DecompressTo(raw);
        TbsSkinPayload payload;
        ReadSkinPayload(std::span<const char>(raw.Memory(), static_cast<std::size_t>(raw.Size())), payload);
        mainBitmap_.Assign(payload.Picture);
        inactiveBitmap_.Assign(payload.InactivePicture);
        maskBitmap_.Assign(payload.Mask);
        activeBitmaps_ = std::move(payload.ActivePictures);
        // The pictures came from the stream; the description still names them.
        const TMemIniFile ini(payload.Description);
        ReadSkinNames(ini);
        ReadSkinSections(ini);
    } catch (const Exception& error) {
        FailLoad(error);
        return;
    } catch (const std::exception& error) {
        FailLoad(Exception(error.what()));
        return;
    }
    EndLoad();
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

void TbsSkinData::FailLoad(const Exception& error) {
    // Whatever was read before the failure goes: a half skin could point
    // records at pictures that never arrived.
    ClearSkin();
    BroadcastSkinMessage(SKINMSG_CHANGE);
    isChanging_ = false;
    BroadcastSkinMessage(SKINMSG_AFTERCHANGE);
    ReportSkinError(error);
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

void TbsSkinData::BroadcastSkinMessage(unsigned msg) {
    screen_.Broadcast(ownerForm_, msg, reinterpret_cast<std::uintptr_t>(this), kSkinMessageLParam);
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
    if (slot) slot->RemoveFreeNotification(this);
    slot = component;
    if (slot) slot->FreeNotification(this, [&slot] { slot = nullptr; });
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
