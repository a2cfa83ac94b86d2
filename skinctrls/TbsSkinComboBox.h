#pragma once
// The skinned combo box: a field and a drop-down button drawn from a combo
// box record ("combobox") or in the default look, and a skinned drop-down
// list (TbsPopupListBox) holding the items. In fixed style the field shows
// the selected item; in edit style a skinned edit lies over the field and
// typing completes to the first matching item.
//
// The text rules the program relies on: setting ItemIndex to an item makes
// its text the combo's Text; OnChange fires exactly when Text takes another
// value; OnClick follows every applied selection (not while loading). A list
// without items selects nothing and raises nothing. Items, ItemIndex, Text
// and the events work without a window, so a hidden combo box serves as a
// list with a selection.
//
// The open list holds the application's mode: a press anywhere outside the
// combo box and its list closes it without taking an item.

#include "ExtCtrls.h"
#include "TbsCustomEdit.h"
#include "TbsSkinCustomControl.h"
#include "TbsSkinCustomListBox.h"

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsSkinCustomComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomComboBox(TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    TbsSkinCustomComboBoxStyle Style() const { return style_; }
    void SetStyle(TbsSkinCustomComboBoxStyle value);
    TStringList& Items() { return list_->Items(); }
    int ItemIndex() const { return list_->ItemIndex(); }
    void SetItemIndex(int value);
    bool Sorted() const { return list_->Sorted(); }
    void SetSorted(bool value) { list_->SetSorted(value); }
    int DropDownCount() const { return dropDownCount_; }
    // Values below 1 are ignored.
    void SetDropDownCount(int value);
    int ListBoxWidth() const { return listBoxWidth_; }
    void SetListBoxWidth(int value) { listBoxWidth_ = std::max(0, value); }
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool value) { autoComplete_ = value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    // Passed to the edit of the edit style, now and whenever it is made.
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    TColor DefaultColor() const { return defaultColor_; }
    void SetDefaultColor(TColor value);
    bool UseSkinSize() const { return useSkinSize_; }
    void SetUseSkinSize(bool value);
    // The whole control drawn as a tool button (from the "toolbutton"
    // record, else in the default look) with the item and a down arrow;
    // setting it forces fixed style and clears UseSkinSize.
    bool ToolButtonStyle() const { return toolButtonStyle_; }
    void SetToolButtonStyle(bool value);
    bool AlphaBlend() const { return list_->AlphaBlend(); }
    void SetAlphaBlend(bool value) { list_->SetAlphaBlend(value); }
    int AlphaBlendValue() const { return list_->AlphaBlendValue(); }
    void SetAlphaBlendValue(int value) { list_->SetAlphaBlendValue(value); }
    bool AlphaBlendAnimation() const { return list_->AlphaBlendAnimation(); }
    void SetAlphaBlendAnimation(bool value) { list_->SetAlphaBlendAnimation(value); }
    // The list's caption band (see TbsSkinCustomListBox).
    const AnsiString& ListBoxCaption() const { return list_->ListCaption(); }
    void SetListBoxCaption(const AnsiString& value) { list_->SetListCaption(value); }
    bool ListBoxCaptionMode() const { return list_->CaptionMode(); }
    void SetListBoxCaptionMode(bool value) { list_->SetCaptionMode(value); }
    TAlignment ListBoxCaptionAlignment() const { return list_->CaptionAlignment(); }
    void SetListBoxCaptionAlignment(TAlignment value) { list_->SetCaptionAlignment(value); }
    const TFont& ListBoxDefaultCaptionFont() const { return list_->DefaultCaptionFont(); }
    void SetListBoxDefaultCaptionFont(const TFont& value) { list_->SetDefaultCaptionFont(value); }
    int HorizontalExtent() const { return list_->HorizontalExtent(); }
    void SetHorizontalExtent(int value) { list_->SetHorizontalExtent(value); }
    // Images beside the items, in the field and in the list: item i shows
    // image i, or every item image ImageIndex when it is not -1.
    TImageList* Images() const { return list_->Images(); }
    void SetImages(TImageList* value);
    int ImageIndex() const { return list_->ImageIndex(); }
    void SetImageIndex(int value);
    // Column widths for items with tab characters.
    const std::vector<int>& TabWidths() const { return list_->TabWidths(); }
    void SetTabWidths(std::vector<int> value);
    int ListBoxDefaultItemHeight() const { return list_->DefaultItemHeight(); }
    void SetListBoxDefaultItemHeight(int value) { list_->SetDefaultItemHeight(value); }
    bool ListBoxUseSkinItemHeight() const { return list_->UseSkinItemHeight(); }
    void SetListBoxUseSkinItemHeight(bool value) { list_->SetUseSkinItemHeight(value); }
    const TFont& ListBoxDefaultFont() const { return list_->DefaultFont(); }
    void SetListBoxDefaultFont(const TFont& value) { list_->SetDefaultFont(value); }
    bool ListBoxUseSkinFont() const { return list_->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool value) { list_->SetUseSkinFont(value); }

    // The drop-down window and, in edit style, the edit (null in fixed style).
    TbsPopupListBox* ListBox() const { return list_.get(); }
    TbsCustomEdit* Edit() const { return edit_; }

    bool DroppedDown() const { return dropped_; }
    // Opens the list under the combo box (above it when the work area ends
    // first); nothing happens without items.
    void DropDown();
    // Closes the list; accepting takes its selected item as the text.
    void CloseUp(bool accept);

    TRect ButtonRect() const { return buttonRect_; }
    TRect FieldRect() const { return fieldRect_; }
    bool ButtonHot() const { return buttonHot_; }
    bool MouseIn() const { return mouseIn_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TbsDrawSkinItemEvent OnComboBoxDrawItem;
    TbsDrawSkinItemEvent OnListBoxDrawItem;

    void ApplySkin() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void BindSkinRecord() override;
    void PaintSkinImage(TBitmap& bitmap) override;
    void PaintDefaultImage(TBitmap& bitmap) override;
    void FitSkinSize(int& W, int& H) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void Loaded() override;

    // A selection was applied (descendants react).
    virtual void SelectionChanged() {}
    // The edit's messages pass through here first.
    virtual void InnerEditWndProc(TMessage& Message);
    virtual void CreateInnerEdit();

private:
    bool Skinned() const { return HasSkinGeometry() && hasRecord_ && geometry_.SkinPicture; }
    bool ShowsFocus() const;
    void CalcRects();
    void PlaceEdit();
    void ApplyEditColours();
    void TextChanged();
    void EditTextChanged();
    // Selects an item through SetItemIndex, as the keys and the wheel do.
    void StepSelection(int delta);
    // The list's case-insensitive search for an item starting with `prefix`:
    // from the top, or after the current item (wrapping round) when `after`.
    int FindPrefix(const AnsiString& prefix, bool after) const;
    void TypeSearch(char ch);
    void RunAutoComplete();
    void TrackPointer(TPoint client);
    void AutoScrollTick();
    void StopAutoScroll();
    bool IsListControl(const TControl* control) const;
    int ShownIndex() const { return dropped_ ? dropIndex_ : ItemIndex(); }
    int CharSet() const;

    void PaintField(TCanvas& c, bool skinned);
    void PaintSkinnedButton(TBitmap& bitmap);
    void PaintComposedButton(TBitmap& bitmap);
    void PaintToolButton(TBitmap& bitmap);

    std::unique_ptr<TbsPopupListBox> list_;
    TbsCustomEdit* edit_ = nullptr;
    TWndMethod editOldProc_;
    TComponentPtr<TTimer> autoScrollTimer_;

    TbsSkinCustomComboBoxStyle style_ = bscbFixedStyle;
    int dropDownCount_ = 8;
    int listBoxWidth_ = 0;
    bool autoComplete_ = true;
    bool hideSelection_ = true;
    TEditCharCase charCase_ = ecNormal;
    TColor defaultColor_ = clWindow;
    bool useSkinSize_ = true;
    bool toolButtonStyle_ = false;

    TbsDataSkinComboBox rec_{""};
    bool hasRecord_ = false;
    TColor disabledFontColor_ = clGrayText;

    TRect buttonRect_;
    TRect fieldRect_;
    int dropIndex_ = -1;
    bool dropped_ = false;
    bool buttonHot_ = false;
    bool buttonPressed_ = false;
    bool mouseIn_ = false;
    bool tracking_ = false;
    bool pointerReachedList_ = false;
    int autoScrollStep_ = 0;
    bool textFromEdit_ = false;
    bool settingEditText_ = false;
    AnsiString typedPrefix_;
    DWORD lastTypeTime_ = 0;
    bool typedBefore_ = false;
    DWORD lastAutoCompleteTime_ = 0;
    bool autoCompletedBefore_ = false;
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsSkinComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {}
};
