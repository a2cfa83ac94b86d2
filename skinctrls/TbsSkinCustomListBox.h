#pragma once
// The skinned drop-down list of the combo box: the platform's popup list
// (a top-level window that never takes the activation or the focus) with its
// frame, items, font and colours from a list box record ("listbox"), or in
// the default look. Items are drawn as strips of the record's item images:
// the selected item (the one the pointer or the keys point at) in the focused
// image and colour, each with its image and tabbed text (SkinItemContent).
// When more items exist than rows fit, a skinned vertical scroll bar named by
// the record's `vscrollbarname` appears at the right; items wider than the
// list (HorizontalExtent) bring a horizontal one at the bottom.
//
// In caption mode a caption band lies above the items, with a check button
// at its right end that accepts the list (OnCheckButtonClick).

#include <vector>

#include "ImgList.h"
#include "SkinBinding.h"
#include "SkinControlRecords.h"
#include "SkinItemContent.h"
#include "TPopupListBox.h"
#include "TextAlignment.h"

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

    // ---- item content ----
    // The images drawn beside the items (not owned; cleared when freed).
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);
    // -1: item i shows image i; otherwise every item shows this image.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The image an item shows, or -1.
    int ItemImageIndex(int item) const;
    // Column widths for items with tab characters (see SkinItemContent).
    const std::vector<int>& TabWidths() const { return tabWidths_; }
    void SetTabWidths(std::vector<int> value);
    SkinItemContent ItemContent(int item) const;

    // ---- caption mode ----
    const AnsiString& ListCaption() const { return caption_; }
    void SetListCaption(const AnsiString& value);
    bool CaptionMode() const { return captionMode_; }
    void SetCaptionMode(bool value);
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TAlignment value);
    // The caption's font without skin.
    const TFont& DefaultCaptionFont() const { return defaultCaptionFont_; }
    void SetDefaultCaptionFont(const TFont& value);
    // The band's height (0 outside caption mode).
    int CaptionHeight() const;
    // The band and its check button in window coordinates, for a window
    // `width` wide.
    TRect CaptionRectFor(int width) const;
    TRect CheckButtonRectFor(int width) const;

    // ---- horizontal scrolling ----
    // The width of the items' content in pixels; a list narrower than it
    // gets a horizontal bar. 0: no horizontal scrolling.
    int HorizontalExtent() const { return horizontalExtent_; }
    void SetHorizontalExtent(int value);
    int HorizontalOffset() const { return horizontalOffset_; }

    // ---- translucency ----
    // With AlphaBlend, opening fades the list in from transparent to
    // AlphaBlendValue (steps of 10 every 5 ms).
    bool AlphaBlendAnimation() const { return alphaBlendAnimation_; }
    void SetAlphaBlendAnimation(bool value) { alphaBlendAnimation_ = value; }
    // Shows the list as TPopupListBox::Popup does, fading it in when asked.
    bool PopupList(const TRect& anchor, int width, int height);

    int HeightForRows(int rows) const override;
    // The window height for `rows` rows in a window `width` wide (a narrow
    // window may need the horizontal bar's height too).
    int HeightForRowsAt(int rows, int width) const;
    // The list's own bars (null until needed).
    TbsSkinScrollBar* ScrollBar() const { return scrollBar_; }
    TbsSkinScrollBar* HorizontalScrollBar() const { return hScrollBar_; }
    // Whether a screen point lies on one of the list's visible bars.
    bool OnScrollBar(TPoint screenPos) const;
    // Shows or hides the bars for the items and rows, and ranges them.
    void SyncScrollBar();

    TbsDrawSkinItemEvent OnDrawSkinItem;
    TNotifyEvent OnCheckButtonClick;

    void WndProc(TMessage& Message) override;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    int ItemAreaHeight() const override;

private:
    bool Skinned() const { return recordIndex_ != -1 && picture_; }
    void BindSkinRecord();
    // Frame widths round the items: left, top, right, bottom (the caption
    // band counts to the top).
    TRect FrameInsets() const;
    TRect BorderInsets() const;
    void PaintFrame();
    void PaintCaption(TCanvas& c, const TRect& band, int width);
    int ItemAreaWidth(const TRect& rect) const;
    bool NeedsHorizontalBar(int width) const;
    int HorizontalBarHeight() const;
    void SyncHorizontalBar(bool vertical);
    void Fade(HWND h);
    void RedrawFrame();

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
    TbsSkinScrollBar* hScrollBar_ = nullptr;
    bool syncing_ = false;

    TImageList* images_ = nullptr;
    int imageIndex_ = -1;
    std::vector<int> tabWidths_;

    AnsiString caption_;
    bool captionMode_ = false;
    TAlignment captionAlignment_ = taLeftJustify;
    TFont defaultCaptionFont_;
    bool checkHot_ = false;
    bool checkDown_ = false;

    int horizontalExtent_ = 0;
    int horizontalOffset_ = 0;
    bool alphaBlendAnimation_ = false;
};

// The combo box's drop-down window.
class TbsPopupListBox : public TbsSkinCustomListBox {
public:
    explicit TbsPopupListBox(TComponent* AOwner) : TbsSkinCustomListBox(AOwner) {}
};
