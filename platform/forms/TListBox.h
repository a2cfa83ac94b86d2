#pragma once
// The list box: a column of text items with one selected item, scrolled
// vertically, optionally drawn by its owner (OnDrawItem) at a fixed
// ItemHeight. The combo box's drop-down list is one too.

#include <memory>

#include "TCustomEdit.h"
#include "TStrings.h"
#include "WindowScrollBars.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

enum TOwnerDrawStateFlag : unsigned { odSelected = 0x1, odFocused = 0x10, odDisabled = 0x4 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    // Changing the items repaints the list; an item index past the end is dropped.
    TStringList& Items() { return *items_; }
    void SetItems(const TStrings& items) { items_->Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    // -1 or an index out of range selects nothing. Does not raise OnClick.
    void SetItemIndex(int value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value) { items_->SetSorted(value); }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int value);
    // Rows that fit wholly into the item area (at least one).
    int VisibleRowCount() const;
    // The item at a client point, or -1.
    int ItemAtPos(TPoint p, bool existing = true) const;
    TRect ItemRect(int index) const;
    TCanvas& Canvas();
    TScrollInfo GetScrollInfo(int bar) const { return bars_.Info(bar); }

    TDrawItemEvent OnDrawItem;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC) override {}
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // Draws one item (standard look, or OnDrawItem for owner-drawn lists).
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    // The user picked an item (pointer or keys): select it, then OnClick.
    void SelectByUser(int index);
    void ItemsChanged();
    void UpdateScrollInfo();
    void MakeVisible(int index);
    // The height the rows may take: the client area's, less what a
    // descendant keeps for itself at the bottom (a scroll bar of its own).
    virtual int ItemAreaHeight() const { return ClientRect().Height(); }

    TWindowScrollBars bars_;

private:
    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    bool itemHeightSet_ = false;
    int topIndex_ = 0;
    TListBoxStyle style_ = lbStandard;
    TBorderStyle borderStyle_ = bsSingle;
    HDC paintDc_ = nullptr;
    bool tracking_ = false;
    std::unique_ptr<TCanvas> measureCanvas_;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
