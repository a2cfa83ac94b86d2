#pragma once
// The skinned list view: the platform list view with its colours and font
// from a list view record, its column header painted from a button record
// (HeaderSkinDataName), and no frame and no scroll bar of its own. Skinned
// scroll bars attached as VScrollBar and HScrollBar show only while there is
// something to scroll, follow the list, and scroll it in turn. Selection,
// keys, clicks and editing are the platform list view's.

#include "SkinBinding.h"
#include "SkinControlRecords.h"
#include "TListView.h"

class TbsSkinData;
class TbsSkinScrollBar;

// Draws one header section in place of the caption and image: canvas, the
// column, whether the section is pressed, and the section's rectangle.
using TbsDrawHeaderSectionEvent =
    std::function<void(TCanvas& Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;

class TbsSkinCustomListView : public TCustomListView, public SkinBinding {
public:
    explicit TbsSkinCustomListView(TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    // ---- the binding ----
    TbsSkinData* SkinData() const override { return skinData_; }
    // A loaded skin (outside design) is applied at once.
    void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const AnsiString& value) { skinDataName_ = value; }
    const AnsiString& HeaderSkinDataName() const { return headerSkinDataName_; }
    void SetHeaderSkinDataName(const AnsiString& value);
    void ForgetSkinRecord() override;
    void ApplySkin() override;
    int RecordIndex() const { return recordIndex_; }
    int HeaderRecordIndex() const { return headerIndex_; }

    const TFont& DefaultFont() const { return defaultFont_; }
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }
    TColor DefaultColor() const { return defaultColor_; }
    void SetDefaultColor(TColor value);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);

    // ---- attached skinned scroll bars (cleared when they are destroyed) ----
    TbsSkinScrollBar* VScrollBar() const { return vScrollBar_; }
    void SetVScrollBar(TbsSkinScrollBar* value);
    TbsSkinScrollBar* HScrollBar() const { return hScrollBar_; }
    void SetHScrollBar(TbsSkinScrollBar* value);
    // Shows, hides and ranges the attached bars after the list's scrolling.
    void SyncListScrollBars();

    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

    // The header section held down by the pointer (-1 none).
    int PressedSection() const { return sectionPressed_ ? pressedSection_ : -1; }

    void WndProc(TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Bound() const { return recordIndex_ != -1; }
    void BindSkinRecords();
    void Attach(TbsSkinScrollBar*& slot, TbsSkinScrollBar* bar, bool vertical);
    void BarChanged(bool vertical);
    void RealignBars();

    // The taken-over header window.
    void HeaderWndProc(TMessage& m);
    void PaintHeader(TCanvas& c);
    void PaintHeaderSection(TCanvas& c, int index, const TRect& r, bool pressed);
    void PaintHeaderRest(TCanvas& c, const TRect& r);

    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_ = "listview";
    AnsiString headerSkinDataName_ = "resizebutton";
    int recordIndex_ = -1;
    int headerIndex_ = -1;
    TbsDataSkinListView rec_{""};
    TbsDataSkinButtonControl headerRec_{""};
    const TBitmap* headerPicture_ = nullptr;

    TFont defaultFont_;
    TColor defaultColor_ = clWindow;
    bool useSkinFont_ = true;

    TbsSkinScrollBar* vScrollBar_ = nullptr;
    TbsSkinScrollBar* hScrollBar_ = nullptr;
    int lastVPos_ = 0;
    int lastHPos_ = 0;
    bool scrollingFromBar_ = false;   // the list scrolls itself on a bar's request
    bool changingBars_ = false;       // bar visibility is being changed

    TWndMethod headerOldProc_;
    TListViewHeader* takenHeader_ = nullptr;
    int pressedSection_ = -1;
    bool sectionPressed_ = false;
};

class TbsSkinListView : public TbsSkinCustomListView {
public:
    explicit TbsSkinListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {}
};
