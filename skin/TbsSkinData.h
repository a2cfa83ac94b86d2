#pragma once
// The skin data component: holds one loaded skin (frame pictures, picture
// list, frame geometry, object and control records, popup and hint window
// records, colour table), finds records by name, and announces every change
// to the application's forms.
//
// A load sends SKINMSG_BEFORECHANGE, clears the old skin, reads the new one,
// then sends SKINMSG_CHANGE and, once IsChanging is false again,
// SKINMSG_AFTERCHANGE. A load that fails part-way (a missing picture, a
// malformed value, a payload of an unknown format) completes as an empty
// skin with the same two closing messages, so no window stays frozen in the
// loading state; its error then goes to the application's error report
// (OnException, or the message box captioned with the title). Without an
// application (the command-line tools) there is no report to show it in, so
// the error goes on to the caller once the empty skin is in place.

#include <exception>
#include <memory>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "Classes.h"
#include "IniFiles.h"
#include "SkinControlRecords.h"
#include "SkinIniValues.h"
#include "SkinMessages.h"
#include "SkinObjectRecords.h"
#include "SkinRecordFactory.h"
#include "TBitmap.h"
#include "TStrings.h"
#include "TbsCompressedSkinList.h"
#include "TbsCompressedStoredSkin.h"
#include "TbsResourceStrData.h"
#include "TbsSkinColors.h"

// The strings of section VERSION.
struct TbsSkinVersionInfo {
    AnsiString skinname;
    AnsiString skinauthor;
    AnsiString authoremail;
    AnsiString authorurl;
    AnsiString skincomments;
};

// The file names of the PICTURES keys of the frame pictures.
struct TbsSkinPictureFiles {
    AnsiString picture;
    AnsiString inactivepicture;
    AnsiString mask;
};

class TbsSkinData : public TComponent {
public:
    // When `AOwner` is a form, that form receives every message first.
    explicit TbsSkinData(TComponent* AOwner);
    ~TbsSkinData() override;

    // ---- loading ----

    // Loads the skin description at `fileName` and the pictures it names. A
    // description without one of the sections VERSION, PICTURES, FORMINFO,
    // SKINOBJECTS and SKINCONTROLS is refused silently: nothing changes and
    // no message is sent.
    void LoadIniSkin(const AnsiString& fileName);
    // Loads a .skn file. A file whose container holds no block (shorter than
    // its header, or of a format above 3) changes nothing; a file that cannot
    // be opened, or is cut short, raises its error before anything changes.
    void LoadPackedSkinFile(const AnsiString& fileName);
    // Loads a compressed skin held in memory; an empty one changes nothing.
    void LoadStoredSkin(const TbsCompressedStoredSkin& storedSkin);

    // Index of the first record whose name equals `name` byte for byte, or -1.
    int FindObjectIndex(std::string_view name) const;
    int FindControlIndex(std::string_view name) const;

    // Sends `msg` with wParam = this component and lParam = 1000 through the
    // forms' WindowProc, synchronously: to the owner when it is a form, then
    // to every other form of Screen in z-order. A form freed by a handler on
    // the way is skipped.
    void BroadcastSkinMessage(UINT msg);

    // Frees every record and every picture of the picture list, empties the
    // name list, un-skins the popup and hint windows, resets the colours.
    void ClearRecords();
    // ClearRecords, empties the three frame bitmaps and the `picture` and
    // `mask` names, and marks the skin empty.
    void ClearSkin();

    // ---- published properties ----

    bool SkinnableForm() const { return skinnableForm_; }
    // A change of value sends SKINMSG_SKINNABLECHANGE (not while designed or read).
    void SetSkinnableForm(bool value);
    bool EnableSkinEffects() const { return enableSkinEffects_; }
    void SetEnableSkinEffects(bool value) { enableSkinEffects_ = value; }

    TbsCompressedStoredSkin* CompressedStoredSkin() const { return compressedStoredSkin_; }
    // Loads the given skin (outside design time).
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* storedSkin);
    TbsResourceStrData* ResourceStrData() const { return resourceStrData_; }
    // Sends SKINMSG_STRINGSCHANGE (outside design time).
    void SetResourceStrData(TbsResourceStrData* strData);
    TbsCompressedSkinList* SkinList() const { return skinList_; }
    // Loads item SkinIndex when it exists (outside design time).
    void SetSkinList(TbsCompressedSkinList* skinList);
    int SkinIndex() const { return skinIndex_; }
    // With a skin list, an index outside it is ignored and one inside it
    // loads that item (outside design time); without one the value is stored.
    void SetSkinIndex(int index);

    // ---- the loaded skin, read by skinned forms and controls ----

    // True until the first load completes and from the start of every load
    // until it completes; an empty skin counts as no skin.
    bool IsEmpty() const { return isEmpty_; }
    // True from the start of a load until just before SKINMSG_AFTERCHANGE.
    bool IsChanging() const { return isChanging_; }

    const std::vector<std::unique_ptr<TbsDataSkinObject>>& SkinObjects() const { return skinObjects_; }
    const std::vector<std::unique_ptr<TbsDataSkinControl>>& SkinControls() const { return skinControls_; }
    // The picture list; every picture index of every record indexes it.
    const std::vector<std::unique_ptr<TBitmap>>& ActiveBitmaps() const { return activeBitmaps_; }
    // The picture a record's index names, or null when the index is out of
    // range or the picture is missing or empty.
    const TBitmap* ActiveBitmapAt(int index) const;
    const TStringList& ActiveBitmapNames() const { return activeBitmapNames_; }
    const TBitmap& MainBitmap() const { return mainBitmap_; }
    const TBitmap& InactiveBitmap() const { return inactiveBitmap_; }
    const TBitmap& MaskBitmap() const { return maskBitmap_; }
    const TbsSkinPictureFiles& PictureFiles() const { return pictureFiles_; }
    const TbsSkinVersionInfo& Version() const { return version_; }
    // The FORMINFO values, normalised.
    const SkinFormInfo& FormInfo() const { return formInfo_; }
    const TbsDataSkinPopupWindow& PopupWindow() const { return popupWindow_; }
    const TbsDataSkinHintWindow& HintWindow() const { return hintWindow_; }
    const TbsSkinColors& SkinColors() const { return skinColors_; }

protected:
    // Clears a reference to a stored skin, text table or skin list that goes.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void BeginLoad();
    void EndLoad();
    // Completes a load that failed as an empty skin, then reports `failure`.
    void FailLoad(std::exception_ptr failure);
    // Steps shared by both loaders once the pictures are in place.
    void ReadSkinNames(const TMemIniFile& ini);
    void ReadSkinSections(const TMemIniFile& ini);
    void LoadSkinListItem();
    // Points `slot` at `component` and asks to hear when it is freed.
    template <class T>
    void Reference(T*& slot, T* component);

    bool skinnableForm_ = true;
    bool enableSkinEffects_ = true;
    TbsCompressedStoredSkin* compressedStoredSkin_ = nullptr;
    TbsResourceStrData* resourceStrData_ = nullptr;
    TbsCompressedSkinList* skinList_ = nullptr;
    int skinIndex_ = 0;

    bool isEmpty_ = true;
    bool isChanging_ = false;

    std::vector<std::unique_ptr<TbsDataSkinObject>> skinObjects_;
    std::vector<std::unique_ptr<TbsDataSkinControl>> skinControls_;
    std::vector<std::unique_ptr<TBitmap>> activeBitmaps_;
    TStringList activeBitmapNames_;
    TBitmap mainBitmap_;
    TBitmap inactiveBitmap_;
    TBitmap maskBitmap_;
    TbsSkinPictureFiles pictureFiles_;
    TbsSkinVersionInfo version_;
    SkinFormInfo formInfo_;
    TbsDataSkinPopupWindow popupWindow_;
    TbsDataSkinHintWindow hintWindow_;
    TbsSkinColors skinColors_;
};
