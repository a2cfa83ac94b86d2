#include "TListView.h"

#include <algorithm>

#include "ClassicLook.h"

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner),
      columns_(this),
      items_(this),
      bars_([this](UINT msg, int code, int pos) { Perform(msg, MAKEWPARAM(code, pos), 0); }) {
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
    items_.OnData = [this](TListItem& item) {
        if (OnData) OnData(this, &item);
    };
    header_ = CreateComponent<TListViewHeader>(this, columns_);
    header_->SetParent(this);
    header_->OnSectionClick = [this](int index) {
        if (OnColumnClick && index < columns_.Count()) OnColumnClick(this, columns_.Items(index));
    };
    header_->OnSectionResize = [this] {
        UpdateScrollInfo();
        Invalidate();
    };
    MeasureRows();
}

TCustomListView::~TCustomListView() {
    // The header goes with the owned components; stop talking to it first.
    NotifyDestroying();
    header_ = nullptr;
    DestroyComponents();
}

void TCustomListView::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "TListView";
    Params.Style |= WS_CLIPCHILDREN;
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    LayoutHeader();
    UpdateScrollInfo();
}

// --- properties --------------------------------------------------------------------------

void TCustomListView::SetViewStyle(TViewStyle value) {
    viewStyle_ = value;
    LayoutHeader();
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
    showColumnHeaders_ = value;
    LayoutHeader();
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::SetGridLines(bool value) {
    gridLines_ = value;
    Invalidate();
}

void TCustomListView::SetRowSelect(bool value) {
    rowSelect_ = value;
    Invalidate();
}

void TCustomListView::SetHideSelection(bool value) {
    hideSelection_ = value;
    Invalidate();
}

void TCustomListView::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
    bars_.SetBorder(value != bsNone, HandleAllocated() ? Handle() : nullptr);
}

TListItem* TCustomListView::Selected() {
    const int i = items_.SelectedIndex();
    return i >= 0 ? items_.Item(i) : nullptr;
}

void TCustomListView::SetSelected(TListItem* item) { items_.SetSelectedIndex(item ? items_.IndexOf(item) : -1); }

TListItem* TCustomListView::ItemFocused() {
    const int i = items_.FocusedIndex();
    return i >= 0 ? items_.Item(i) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* item) { items_.SetFocusedIndex(item ? items_.IndexOf(item) : -1); }

TListItem* TCustomListView::TopItem() { return topIndex_ < items_.Count() ? items_.Item(topIndex_) : nullptr; }

// --- geometry ----------------------------------------------------------------------------

void TCustomListView::MeasureRows() {
    TCanvas measure;
    measure.Font.Assign(Font());
    const int text = measure.TextHeight("Wg");
    rowHeight_ = text + 4;
    headerHeight_ = text + 6;
    if (header_) header_->SetFont(Font());
    LayoutHeader();
    UpdateScrollInfo();
    Invalidate();
}

int TCustomListView::RowsTop() const { return HeaderShown() ? headerHeight_ : 0; }

void TCustomListView::LayoutHeader() {
    if (!header_) return;
    header_->SetVisible(HeaderShown());
    header_->SetBounds(0, 0, std::max(0, ClientWidth()), headerHeight_);
    header_->SetScrollX(scrollX_);
}

int TCustomListView::VisibleRowCount() const {
    return std::max(1, (ClientHeight() - RowsTop()) / std::max(1, rowHeight_));
}

int TCustomListView::RowAt(TPoint p) const {
    if (p.Y < RowsTop() || p.X < 0 || p.X >= ClientWidth()) return -1;
    const int index = topIndex_ + (p.Y - RowsTop()) / rowHeight_;
    return index < items_.Count() ? index : -1;
}

TRect TCustomListView::RowRect(int index) const {
    const int y = RowsTop() + (index - topIndex_) * rowHeight_;
    const int width = viewStyle_ == vsReport ? columns_.TotalWidth() : ClientWidth();
    return {-scrollX_, y, -scrollX_ + width, y + rowHeight_};
}

void TCustomListView::UpdateScrollInfo() {
    const HWND h = HandleAllocated() ? Handle() : nullptr;
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, items_.Count() - VisibleRowCount()));
    bars_.SetInfo(SB_VERT, {0, items_.Count() - 1, VisibleRowCount(), topIndex_}, h);
    const int width = viewStyle_ == vsReport ? columns_.TotalWidth() : 0;
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, width - ClientWidth()));
    bars_.SetInfo(SB_HORZ, {0, std::max(0, width - 1), std::max(1, ClientWidth()), scrollX_}, h);
    LayoutHeader();
}

void TCustomListView::SetTopIndex(int value) {
    value = std::clamp(value, 0, std::max(0, items_.Count() - VisibleRowCount()));
    if (value == topIndex_) return;
    topIndex_ = value;
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::SetScrollX(int value) {
    const int width = viewStyle_ == vsReport ? columns_.TotalWidth() : 0;
    value = std::clamp(value, 0, std::max(0, width - ClientWidth()));
    if (value == scrollX_) return;
    scrollX_ = value;
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::Scroll(int dx, int dy) {
    SetScrollX(scrollX_ + dx);
    SetTopIndex(topIndex_ + dy / std::max(1, rowHeight_));
}

void TCustomListView::MakeVisible(int index) {
    if (index < 0) return;
    if (index < topIndex_) SetTopIndex(index);
    else if (index >= topIndex_ + VisibleRowCount()) SetTopIndex(index - VisibleRowCount() + 1);
}

void TCustomListView::InvalidateRow(int index) {
    if (!HandleAllocated() || index < topIndex_ || index > topIndex_ + VisibleRowCount()) return;
    const TRect r = RowRect(index);
    const TRect full{0, r.Top, ClientWidth(), r.Bottom};
    InvalidateRect(Handle(), &full, FALSE);
}

// --- the model's reports ---------------------------------------------------------------------

void TCustomListView::ListStructureChanged() {
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::ListItemChanged(int index) { InvalidateRow(index); }

void TCustomListView::ListSelectionChanged(int oldIndex, int newIndex) {
    InvalidateRow(oldIndex);
    InvalidateRow(newIndex);
    if (!OnSelectItem) return;
    if (oldIndex >= 0 && oldIndex < items_.Count()) OnSelectItem(this, items_.Item(oldIndex), false);
    if (newIndex >= 0) OnSelectItem(this, items_.Item(newIndex), true);
}

void TCustomListView::ListColumnsChanged() {
    if (header_) header_->Invalidate();
    UpdateScrollInfo();
    Invalidate();
}

// --- painting ----------------------------------------------------------------------------------

void TCustomListView::DrawRow(TCanvas& c, int index, const TRect& rect) {
    TListItem* item = items_.Item(index);
    const bool selected = index == items_.SelectedIndex() && (Focused() || !hideSelection_);
    const TColor selBack = Focused() ? clHighlight : clBtnFace;
    const TColor selText = Focused() ? clHighlightText : clBtnText;
    c.Font.Assign(Font());
    if (viewStyle_ != vsReport) {
        TRect cell{rect.Left, rect.Top, ClientWidth(), rect.Bottom};
        const int textWidth = c.TextWidth(item->Caption());
        if (selected) {
            c.Brush.Style = bsSolid;
            c.Brush.Color = selBack;
            c.FillRect({cell.Left, cell.Top, cell.Left + textWidth + 6, cell.Bottom});
        }
        c.Brush.Style = bsClear;
        c.Font.SetColor(selected ? selText : Font().Color());
        TRect text = InflateRect(cell, -3, 0);
        c.DrawText(item->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        c.Brush.Style = bsSolid;
        return;
    }
    if (selected && rowSelect_) {
        c.Brush.Style = bsSolid;
        c.Brush.Color = selBack;
        c.FillRect({rect.Left, rect.Top, rect.Right, rect.Bottom - (gridLines_ ? 1 : 0)});
    }
    int x = rect.Left;
    for (int col = 0; col < columns_.Count(); ++col) {
        const TListColumn* column = columns_.Items(col);
        const TRect cell{x, rect.Top, x + column->Width(), rect.Bottom - (gridLines_ ? 1 : 0)};
        x = cell.Right;
        if (cell.Width() <= 0 || cell.Right < 0 || cell.Left > ClientWidth()) continue;
        const AnsiString text = col == 0 ? item->Caption()
                                : col - 1 < item->SubItems().Count() ? item->SubItems()[col - 1]
                                                                     : AnsiString();
        bool highlight = selected && rowSelect_;
        TRect textRect = InflateRect(cell, -4, 0);
        if (col == 0 && selected && !rowSelect_) {
            // Without whole-row selection only the caption is highlighted.
            const int w = std::min(cell.Width(), c.TextWidth(text) + 8);
            c.Brush.Style = bsSolid;
            c.Brush.Color = selBack;
            c.FillRect({cell.Left, cell.Top, cell.Left + w, cell.Bottom});
            highlight = true;
        }
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (column->Alignment() == taRightJustify) flags |= DT_RIGHT;
        else if (column->Alignment() == taCenter) flags |= DT_CENTER;
        c.Brush.Style = bsClear;
        c.Font.SetColor(highlight ? selText : (Enabled() ? Font().Color() : clGrayText));
        c.SaveDC();
        c.IntersectClipRect(cell);
        c.DrawText(text, textRect, flags);
        c.RestoreDC();
        c.Brush.Style = bsSolid;
    }
}

void TCustomListView::PaintWindow(HDC DC) {
    TCanvas& c = *DC;
    const TRect client = ClientRect();
    c.Brush.Style = bsSolid;
    c.Brush.Color = Color();
    c.FillRect(client);
    const int top = RowsTop();
    c.SaveDC();
    c.IntersectClipRect({0, top, client.Right, client.Bottom});
    const int last = std::min(items_.Count(), topIndex_ + VisibleRowCount() + 1);
    for (int i = topIndex_; i < last; ++i) {
        const TRect r = RowRect(i);
        DrawRow(c, i, r);
        if (i == items_.FocusedIndex() && Focused()) {
            TRect focus = viewStyle_ == vsReport && (rowSelect_ || columns_.Count() == 0)
                              ? TRect{r.Left, r.Top, std::max(r.Right, r.Left + 1), r.Bottom}
                              : TRect{r.Left, r.Top, r.Left + (columns_.Count() ? columns_.Items(0)->Width() : ClientWidth()), r.Bottom};
            if (gridLines_) focus.Bottom -= 1;
            c.Brush.Style = bsSolid;
            c.DrawFocusRect(focus);
        }
    }
    if (gridLines_ && viewStyle_ == vsReport) {
        // Grid lines run over the whole view, rows or not.
        c.Pen.Color = clBtnFace;
        c.Pen.Style = psSolid;
        const int width = columns_.TotalWidth() - scrollX_;
        for (int y = top + rowHeight_ - 1; y < client.Bottom; y += rowHeight_) {
            c.MoveTo(0, y);
            c.LineTo(width, y);
        }
        int x = -scrollX_;
        for (int col = 0; col < columns_.Count(); ++col) {
            x += columns_.Items(col)->Width();
            c.MoveTo(x - 1, top);
            c.LineTo(x - 1, client.Bottom);
        }
    }
    c.RestoreDC();
}

// --- input ---------------------------------------------------------------------------------------

void TCustomListView::SelectByUser(int index) {
    if (index < 0 || index >= items_.Count()) return;
    items_.SetFocusedIndex(index);
    items_.SetSelectedIndex(index);
    MakeVisible(index);
}

bool TCustomListView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines);
    SetTopIndex(topIndex_ - WheelDelta / WHEEL_DELTA * int(lines));
    return true;
}

void TCustomListView::HandleScroll(UINT msg, int code, int pos) {
    const bool vert = msg == WM_VSCROLL;
    const TScrollInfo info = bars_.Info(vert ? SB_VERT : SB_HORZ);
    const int line = vert ? 1 : 8;
    int target = info.Pos;
    switch (code) {
    case SB_LINEUP: target -= line; break;
    case SB_LINEDOWN: target += line; break;
    case SB_PAGEUP: target -= std::max(1, info.Page); break;
    case SB_PAGEDOWN: target += std::max(1, info.Page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = pos; break;
    case SB_TOP: target = info.Min; break;
    case SB_BOTTOM: target = info.Max; break;
    default: return;
    }
    if (vert) SetTopIndex(target);
    else SetScrollX(target);
}

void TCustomListView::WndProc(TMessage& m) {
    if (HandleAllocated() && bars_.HandleMessage(m, Handle(), Enabled())) return;
    switch (m.Msg) {
    case CM_FONTCHANGED:
        MeasureRows();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
        if (CanFocus() && !Focused()) SetFocus();
        const TPoint p = LParamToPoint(m.LParam);
        const int row = RowAt(p);
        bool hit = row >= 0;
        if (hit && viewStyle_ == vsReport && !rowSelect_ && columns_.Count() > 0) {
            const int x = p.X + scrollX_;
            hit = x < columns_.Items(0)->Width();
        }
        if (hit) {
            SelectByUser(row);
        } else {
            // A click beside the rows selects nothing.
            items_.SetSelectedIndex(-1);
        }
        break;
    }
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomListView::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_KEYDOWN: {
        const int count = items_.Count();
        const int focused = items_.FocusedIndex();
        const int page = std::max(1, VisibleRowCount() - 1);
        switch (m.WParam) {
        case VK_UP: SelectByUser(focused < 0 ? 0 : std::max(0, focused - 1)); return;
        case VK_DOWN: SelectByUser(focused < 0 ? 0 : std::min(count - 1, focused + 1)); return;
        case VK_HOME: SelectByUser(0); return;
        case VK_END: SelectByUser(count - 1); return;
        case VK_PRIOR: SelectByUser(std::max(0, focused - page)); return;
        case VK_NEXT: SelectByUser(std::min(count - 1, std::max(0, focused) + page)); return;
        case VK_SPACE: SelectByUser(focused); return;
        case VK_LEFT: SetScrollX(scrollX_ - 8); return;
        case VK_RIGHT: SetScrollX(scrollX_ + 8); return;
        default: break;
        }
        break;
    }
    case WM_SIZE:
        TWinControl::DefaultHandler(m);
        UpdateScrollInfo();
        Invalidate();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        Invalidate();
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        HandleScroll(m.Msg, LOWORD(m.WParam), std::int16_t(HIWORD(m.WParam)));
        m.Result = 0;
        return;
    case LVM_GETHEADER:
        m.Result = header_ && header_->HandleAllocated() ? reinterpret_cast<LRESULT>(header_->Handle()) : 0;
        return;
    case LVM_GETITEMCOUNT:
        m.Result = items_.Count();
        return;
    case LVM_GETITEMRECT: {
        const int index = int(m.WParam);
        if (index < 0 || index >= items_.Count() || !m.LParam) {
            m.Result = FALSE;
            return;
        }
        *FromLParam<TRect>(m.LParam) = RowRect(index);
        m.Result = TRUE;
        return;
    }
    case LVM_GETTOPINDEX:
        m.Result = topIndex_;
        return;
    case LVM_GETCOUNTPERPAGE:
        m.Result = VisibleRowCount();
        return;
    case LVM_SCROLL:
        Scroll(int(static_cast<std::intptr_t>(m.WParam)), int(m.LParam));
        m.Result = TRUE;
        return;
    case LVM_ENSUREVISIBLE:
        MakeVisible(int(m.WParam));
        m.Result = TRUE;
        return;
    default:
        break;
    }
    TWinControl::DefaultHandler(m);
}
