#pragma once
// The drop-down list combo box: a field showing the selected item and a
// button that opens the list below it (above it when the screen's work area
// ends first). Items, ItemIndex and Text stay usable without a window, so a
// hidden combo box works as a list with a selection.
//
// The text rule: Text is the selected item's text (empty without a
// selection); OnChange fires when, and only when, Text takes a different
// value, whoever changed the selection. OnClick fires when the user picks an
// item (pointer, wheel or keys).

#include <memory>

#include "TPopupListBox.h"

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStringList& Items() { return *items_; }
    void SetItems(const TStrings& items) { items_->Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    // An existing item becomes the selection and the text; anything else
    // (-1, or any index of an empty list) selects nothing.
    void SetItemIndex(int value);
    AnsiString GetText() const override { return text_; }
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value) { items_->SetSorted(value); }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value) { if (value >= 1) dropDownCount_ = value; }

    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // The drop-down window (made on first use).
    TPopupListBox* DropList() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC) override {}
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp(bool accept);

private:
    TRect ButtonRect() const;
    void SetTextFromSelection();
    void SelectByUser(int index);
    void ItemsChanged();

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    AnsiString text_;
    int dropDownCount_ = 8;
    std::unique_ptr<TPopupListBox> list_;
    int indexBeforeDrop_ = -1;
    bool buttonDown_ = false;
    bool pointerReachedList_ = false;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
