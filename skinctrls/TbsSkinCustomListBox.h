#pragma once
// The skinned drop-down list of the combo box: the platform's popup list
// (a top-level window that never takes the activation or the focus) with its
// frame, items, font and colours from a list box record ("listbox"), or in
// the default look. Items are drawn as strips of the record's item images:
// the selected item (the one the pointer or the keys point at) in the focused
// image and colour. When more items exist than rows fit, a skinned vertical
// scroll bar named by the record's `vscrollbarname` appears at the right.

#include "SkinBinding.h"
#include "SkinControlRecords.h"
#include "TPopupListBox.h"

class TbsSkinData;
class TbsSkinScrollBar;

// Owner drawing of a combo box's field or list item: the canvas, the item,
// the item's size, the area for its text, and its owner-draw state.
using TbsDrawSkinItemEvent = std::function<void(TCanvas& Cnvs, int Index, int ItemWidth, int ItemHeight,
                                                const TRect& TxtRect, TOwnerDrawState State)>;

class TbsSkinCustomListBox : public TPopupListBox, public SkinBinding {
public:
    explicit TbsSkinCustomListBox(TComponent* AOwner);
    ~TbsSkinCustomListBox() override;

    // ---- the binding ----
    TbsSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    const AnsiString& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const AnsiString& value);
    void ForgetSkinRecord() override { recordIndex_ = -1; }
    void ApplySkin() override;
    int RecordIndex() const { return recordIndex_; }

    // Item height without a skin, or when the skin's item height is not used.
    int DefaultItemHeight() const { return defaultItemHeight_; }
    void SetDefaultItemHeight(int value);
    bool UseSkinItemHeight() const { return useSkinItemHeight_; }
    void SetUseSkinItemHeight(bool value);
    const TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const TFont& value);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);

    int HeightForRows(int rows) const override;
    // The list's own bar (null while every item fits).
    TbsSkinScrollBar* ScrollBar() const { return scrollBar_; }
    // Shows or hides the bar for the items and rows, and ranges it.
    void SyncScrollBar();

    TbsDrawSkinItemEvent OnDrawSkinItem;

    void WndProc(TMessage& Message) override;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Skinned() const { return recordIndex_ != -1 && picture_; }
    void BindSkinRecord();
    // Frame widths round the items: left, top, right, bottom.
    TRect FrameInsets() const;
    void PaintFrame();
    int ItemAreaWidth(const TRect& rect) const;

    TbsSkinData* skinData_ = nullptr;
    AnsiString skinDataName_ = "listbox";
    int recordIndex_ = -1;
    TbsDataSkinListBox rec_{""};
    const TBitmap* picture_ = nullptr;

    int defaultItemHeight_ = 20;
    bool useSkinItemHeight_ = true;
    TFont defaultFont_;
    bool useSkinFont_ = true;
    TbsSkinScrollBar* scrollBar_ = nullptr;
    bool syncing_ = false;
};

// The combo box's drop-down window.
class TbsPopupListBox : public TbsSkinCustomListBox {
public:
    explicit TbsPopupListBox(TComponent* AOwner) : TbsSkinCustomListBox(AOwner) {}
};
