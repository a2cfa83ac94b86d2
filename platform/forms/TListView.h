#pragma once
// The list view in report style: a header with one section per column
// (TListViewHeader, a child window of the platform's header class) above
// rows of an item caption and its sub-items, each caption after its icon
// from SmallImages when there is one. One row at most is selected, or any
// number with MultiSelect; the focused row carries the focus rectangle.
// Rows are selected by click (on the first column, or anywhere with
// RowSelect; a click on no row clears the selection) and by the arrow, page,
// Home and End keys; with MultiSelect, Ctrl adds or removes a row and Shift
// selects the rows from the last plain pick to the new one. The view
// scrolls by rows vertically and by pixels horizontally, with scroll bars
// that appear when needed, unless ShowScrollBars is off: then none is drawn
// and keys, the wheel and Scroll still move the view, and OnScrollInfoChange
// tells whoever draws bars of its own. OwnerData lists ask OnData for each
// row they show.
//
// Unless ReadOnly, a caption can be edited in place (EditCaption, F2): Enter
// and a focus change elsewhere accept the text, Escape drops it. The icon
// and list view styles show the captions one per row, without header.

#include <memory>

#include "ImgList.h"
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
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, AnsiString& S)>;

enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemState : unsigned { isNone = 0, isFocused = 0x1, isSelected = 0x2 };
using TItemStates = unsigned;

class TListViewEditor;

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

    bool MultiSelect() const { return items_.MultiSelect(); }
    void SetMultiSelect(bool value) { items_.SetMultiSelect(value); }
    // The first selected row; setting it selects that row alone.
    TListItem* Selected();
    void SetSelected(TListItem* item);
    int SelCount() const { return items_.SelCount(); }
    void ClearSelection() { items_.ClearSelection(); }
    void SelectAll();
    // The next row after `StartItem` (null: from the top) in `Direction`
    // (sdAll and sdBelow: down the list; sdAbove: up) that has every state
    // of `States`; null when there is none.
    TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States);

    // Icons drawn before each caption (not owned; cleared when destroyed).
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* value);

    // Off: no scroll bar is ever drawn, whatever there is to scroll.
    bool ShowScrollBars() const { return showScrollBars_; }
    void SetShowScrollBars(bool value);

    // Starts editing row `index`'s caption in place: false when ReadOnly,
    // without a window, or refused by OnEditing.
    bool EditCaption(int index);
    bool IsEditing() const { return editIndex_ >= 0; }
    // Ends an edit in progress: accepting gives OnEdited the text, which then
    // becomes the caption; nothing happens without an edit.
    void EndEdit(bool accept);
    // The in-place editor (null until the first edit).
    TCustomEdit* Editor() const;
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
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    // The scroll range, page or position of either direction changed.
    TNotifyEvent OnScrollInfoChange;

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
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TListViewEditor;
    // TListObserver
    void ListStructureChanged() override;
    void ListItemChanged(int index) override;
    void ListSelectionChanged(int index, bool selected) override;
    void ListColumnsChanged() override;
    bool ListEditCaption(int index) override { return EditCaption(index); }

    bool HeaderShown() const { return viewStyle_ == vsReport && showColumnHeaders_; }
    int RowsTop() const;
    void LayoutHeader();
    void MeasureRows();
    void UpdateScrollInfo();
    void SetTopIndex(int value);
    void SetScrollX(int value);
    void InvalidateRow(int index);
    // Focus and select a row as the keyboard and pointer do: alone, added or
    // toggled (Ctrl), or as the end of a range from the anchor (Shift).
    void SelectByUser(int index, TShiftState shift = {});
    // The left edge of the caption text in row coordinates (after the icon).
    int CaptionOffset() const;
    int ImageWidth() const;
    void PlaceEditor();
    void HandleScroll(UINT msg, int code, int pos);

    TListColumns columns_;
    TListItems items_;
    TListViewHeader* header_ = nullptr;
    TListViewEditor* editor_ = nullptr;
    TImageList* smallImages_ = nullptr;
    TWindowScrollBars bars_;
    bool showScrollBars_ = true;
    TScrollInfo reportedVert_;
    TScrollInfo reportedHorz_;
    int anchorIndex_ = -1;  // where a Shift range starts
    int editIndex_ = -1;
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
