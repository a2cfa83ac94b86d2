#pragma once
// The list view in report style: a header with one section per column
// (TListViewHeader, a child window of the platform's header class) above
// rows of an item caption and its sub-items. One row at most is selected;
// the focused row carries the focus rectangle. Rows are selected by click
// (on the first column, or anywhere with RowSelect; a click on no row clears
// the selection) and by the arrow, page, Home and End keys; the view scrolls
// by rows vertically and by pixels horizontally, with scroll bars that
// appear when needed. OwnerData lists ask OnData for each row they show.
//
// Label editing is not offered, so the list is read-only whatever ReadOnly
// says; ReadOnly is kept for the code that sets it. The icon and list view
// styles show the captions one per row, without header.

#include <memory>

#include "ListItems.h"
#include "TCustomEdit.h"
#include "TListViewHeader.h"
#include "WindowScrollBars.h"

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
// wParam: the row; lParam: a TRect that receives the row's rectangle.
inline constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
inline constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
inline constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
inline constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
inline constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
inline constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;

using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl, private TListObserver {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns& Columns() { return columns_; }
    TListItems& Items() { return items_; }

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // Switching drops every row; the number of rows is then Items().SetCount.
    bool OwnerData() const { return items_.OwnerData(); }
    void SetOwnerData(bool value) { items_.SetOwnerData(value); }

    TListItem* Selected();
    void SetSelected(TListItem* item);
    int ItemIndex() const { return items_.SelectedIndex(); }
    void SetItemIndex(int value) { items_.SetSelectedIndex(value); }
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* item);
    TListItem* TopItem();
    int TopIndex() const { return topIndex_; }
    // Rows that fit wholly below the header (at least one).
    int VisibleRowCount() const;
    int RowHeight() const { return rowHeight_; }
    // The row under a client point, or -1.
    int RowAt(TPoint p) const;
    TRect RowRect(int index) const;
    // Scrolls by pixels: dy in whole rows, dx in pixels.
    void Scroll(int dx, int dy);
    void MakeVisible(int index);
    TListViewHeader* Header() const { return header_; }
    TScrollInfo GetScrollInfo(int bar) const { return bars_.Info(bar); }

    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVOwnerDataEvent OnData;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    void EraseBackground(HDC) override {}
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // Draws one row (background, cells, grid and focus are handled around it).
    virtual void DrawRow(TCanvas& c, int index, const TRect& rect);

private:
    // TListObserver
    void ListStructureChanged() override;
    void ListItemChanged(int index) override;
    void ListSelectionChanged(int oldIndex, int newIndex) override;
    void ListColumnsChanged() override;

    bool HeaderShown() const { return viewStyle_ == vsReport && showColumnHeaders_; }
    int RowsTop() const;
    void LayoutHeader();
    void MeasureRows();
    void UpdateScrollInfo();
    void SetTopIndex(int value);
    void SetScrollX(int value);
    void InvalidateRow(int index);
    // Focus and select a row as the keyboard and pointer do.
    void SelectByUser(int index);
    void HandleScroll(UINT msg, int code, int pos);

    TListColumns columns_;
    TListItems items_;
    TListViewHeader* header_ = nullptr;
    TWindowScrollBars bars_;
    TViewStyle viewStyle_ = vsIcon;
    bool showColumnHeaders_ = true;
    bool gridLines_ = false;
    bool rowSelect_ = false;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    int topIndex_ = 0;
    int scrollX_ = 0;
    int rowHeight_ = 17;
    int headerHeight_ = 20;
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};
