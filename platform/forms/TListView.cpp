#include "TListView.h"

#include <algorithm>

#include "ClassicLook.h"

// The in-place caption editor: a single-line edit over the row's caption.
// It takes every key from dialog navigation, so Enter and Escape end the
// edit instead of pressing a dialog's buttons.
class TListViewEditor : public TCustomEdit {
public:
    TListViewEditor(TComponent* AOwner, TCustomListView& list) : TCustomEdit(AOwner), list_(list) {
        SetVisible(false);
        SetTabStop(false);
    }

    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case WM_GETDLGCODE:
            TCustomEdit::WndProc(m);
            m.Result |= DLGC_WANTALLKEYS;
            return;
        case WM_KEYDOWN:
            if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) {
                list_.EndEdit(m.WParam == VK_RETURN);
                return;
            }
            break;
        case WM_CHAR:
            if (m.WParam == '\r' || m.WParam == 27) return;
            break;
        case WM_KILLFOCUS:
            TCustomEdit::WndProc(m);
            // Focus going anywhere else accepts the text.
            list_.EndEdit(true);
            return;
        default:
            break;
        }
        TCustomEdit::WndProc(m);
    }

private:
    TCustomListView& list_;
};

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
    // The header and the editor go with the owned components; stop talking
    // to them first.
    NotifyDestroying();
    header_ = nullptr;
    editor_ = nullptr;
    editIndex_ = -1;
    DestroyComponents();
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == smallImages_) {
        smallImages_ = nullptr;
        MeasureRows();
    }
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

void TCustomListView::SelectAll() {
    if (items_.Count() > 0) items_.SelectRange(0, items_.Count() - 1, false);
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) {
    if (Direction == sdLeft || Direction == sdRight) return nullptr;  // rows are one column
    const int step = Direction == sdAbove ? -1 : 1;
    int i = StartItem ? items_.IndexOf(StartItem) : (step > 0 ? -1 : items_.Count());
    if (StartItem && i < 0) return nullptr;
    for (i += step; i >= 0 && i < items_.Count(); i += step) {
        if ((States & isSelected) && !items_.IsSelected(i)) continue;
        if ((States & isFocused) && items_.FocusedIndex() != i) continue;
        return items_.Item(i);
    }
    return nullptr;
}

void TCustomListView::SetSmallImages(TImageList* value) {
    if (value == smallImages_) return;
    if (smallImages_) smallImages_->RemoveFreeNotification(this);
    smallImages_ = value;
    if (value) value->FreeNotification(this);
    MeasureRows();
}

void TCustomListView::SetShowScrollBars(bool value) {
    showScrollBars_ = value;
    bars_.SetAllowed(value, value, HandleAllocated() ? Handle() : nullptr);
}

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
    rowHeight_ = std::max(text + 4, smallImages_ ? smallImages_->Height() + 2 : 0);
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
    PlaceEditor();
    if (bars_.Info(SB_VERT) == reportedVert_ && bars_.Info(SB_HORZ) == reportedHorz_) return;
    reportedVert_ = bars_.Info(SB_VERT);
    reportedHorz_ = bars_.Info(SB_HORZ);
    if (OnScrollInfoChange) OnScrollInfoChange(this);
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
    // The row being edited may have moved or gone.
    EndEdit(false);
    if (anchorIndex_ >= items_.Count()) anchorIndex_ = -1;
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::ListItemChanged(int index) { InvalidateRow(index); }

void TCustomListView::ListSelectionChanged(int index, bool selected) {
    InvalidateRow(index);
    if (OnSelectItem && index < items_.Count()) OnSelectItem(this, items_.Item(index), selected);
}

void TCustomListView::ListColumnsChanged() {
    if (header_) header_->Invalidate();
    UpdateScrollInfo();
    Invalidate();
}

// --- painting ----------------------------------------------------------------------------------

int TCustomListView::ImageWidth() const { return smallImages_ ? smallImages_->Width() : 0; }

int TCustomListView::CaptionOffset() const { return smallImages_ ? ImageWidth() + 4 : 0; }

void TCustomListView::DrawRow(TCanvas& c, int index, const TRect& rect) {
    TListItem* item = items_.Item(index);
    // The caption being edited is covered by the editor; the list draws the
    // row as if it were not selected, so no highlight shows round it.
    const bool selected =
        items_.IsSelected(index) && index != editIndex_ && (Focused() || IsEditing() || !hideSelection_);
    const bool active = Focused() || IsEditing();
    const TColor selBack = active ? clHighlight : clBtnFace;
    const TColor selText = active ? clHighlightText : clBtnText;
    c.Font.Assign(Font());
    // The icon sits at the start of the caption's cell, centred on the row.
    const auto drawIcon = [&] {
        if (!smallImages_ || item->ImageIndex() < 0) return;
        const int width = viewStyle_ == vsReport && columns_.Count() > 0 ? columns_.Items(0)->Width() : ClientWidth();
        if (width <= ImageWidth()) return;
        smallImages_->Draw(c, rect.Left + 2, rect.Top + (rect.Height() - smallImages_->Height()) / 2,
                           item->ImageIndex(), Enabled());
    };
    if (viewStyle_ != vsReport) {
        drawIcon();
        TRect cell{rect.Left + CaptionOffset(), rect.Top, ClientWidth(), rect.Bottom};
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
    drawIcon();
    int x = rect.Left;
    for (int col = 0; col < columns_.Count(); ++col) {
        const TListColumn* column = columns_.Items(col);
        TRect cell{x, rect.Top, x + column->Width(), rect.Bottom - (gridLines_ ? 1 : 0)};
        x = cell.Right;
        if (col == 0) cell.Left = std::min(cell.Right, cell.Left + CaptionOffset());
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

void TCustomListView::SelectByUser(int index, TShiftState shift) {
    if (index < 0 || index >= items_.Count()) return;
    items_.SetFocusedIndex(index);
    const bool multi = items_.MultiSelect();
    if (multi && (shift & ssShift) && anchorIndex_ >= 0) {
        items_.SelectRange(anchorIndex_, index, (shift & ssCtrl) != 0);
    } else if (multi && (shift & ssCtrl)) {
        items_.SetItemSelected(index, !items_.IsSelected(index));
        anchorIndex_ = index;
    } else {
        items_.SetSelectedIndex(index);
        anchorIndex_ = index;
    }
    MakeVisible(index);
}

// --- editing a caption in place ------------------------------------------------------------------

TCustomEdit* TCustomListView::Editor() const { return editor_; }

bool TCustomListView::EditCaption(int index) {
    if (readOnly_ || index < 0 || index >= items_.Count() || !HandleAllocated() || !IsWindowVisible(Handle()))
        return false;
    EndEdit(true);
    bool allow = true;
    if (OnEditing) OnEditing(this, items_.Item(index), allow);
    if (!allow || index >= items_.Count()) return false;
    MakeVisible(index);
    if (!editor_) {
        editor_ = CreateComponent<TListViewEditor>(this, *this);
        editor_->SetParent(this);
    }
    editor_->SetFont(Font());
    editor_->SetText(items_.Item(index)->Caption());
    editIndex_ = index;
    PlaceEditor();
    editor_->SetVisible(true);
    editor_->BringToFront();
    editor_->SetFocus();
    editor_->SelectAll();
    InvalidateRow(index);
    return true;
}

void TCustomListView::PlaceEditor() {
    if (!editor_ || editIndex_ < 0) return;
    const TRect row = RowRect(editIndex_);
    const int cellWidth = viewStyle_ == vsReport && columns_.Count() > 0 ? columns_.Items(0)->Width() : ClientWidth();
    TCanvas measure;
    measure.Font.Assign(Font());
    const int textHeight = measure.TextHeight("Wg");
    // The text inside the editor starts where the caption's text stood.
    const int left = row.Left + CaptionOffset() + 1;
    const int width = std::max(cellWidth - CaptionOffset() - 1, measure.TextWidth("W") * 4);
    const int height = textHeight + 6;
    editor_->SetBounds(left, row.Top + (row.Height() - height) / 2, width, height);
}

void TCustomListView::EndEdit(bool accept) {
    if (editIndex_ < 0) return;
    const int index = editIndex_;
    editIndex_ = -1;
    const AnsiString text = editor_->Text();
    // Leave the editor before telling anyone: a handler that raises leaves
    // the list view as it was, with the old caption.
    if (editor_->Focused() && CanFocus()) SetFocus();
    editor_->SetVisible(false);
    InvalidateRow(index);
    if (!accept || index >= items_.Count()) return;
    AnsiString s = text;
    TListItem* item = items_.Item(index);
    if (OnEdited) OnEdited(this, item, s);
    if (!items_.OwnerData() && index < items_.Count()) items_.Item(index)->SetCaption(s);
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
        TShiftState shift = 0;
        if (m.WParam & MK_SHIFT) shift |= ssShift;
        if (m.WParam & MK_CONTROL) shift |= ssCtrl;
        if (m.Msg == WM_RBUTTONDOWN) {
            // A right click keeps a selection it lands in, for a context menu
            // that acts on every selected row.
            if (hit && !items_.IsSelected(row)) SelectByUser(row);
            else if (hit) items_.SetFocusedIndex(row);
        } else if (hit) {
            SelectByUser(row, shift);
        } else if (!(shift & (ssShift | ssCtrl))) {
            // A click beside the rows selects nothing.
            items_.ClearSelection();
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
        TShiftState shift = 0;
        if (GetKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
        if (GetKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
        // Ctrl alone moves only the focus in a multiple selection; Shift
        // extends the range from the anchor.
        const auto go = [&](int index) {
            if (index < 0 || index >= count) return;
            if (items_.MultiSelect() && shift == ssCtrl) {
                items_.SetFocusedIndex(index);
                MakeVisible(index);
            } else {
                SelectByUser(index, shift & ssShift);
            }
        };
        switch (m.WParam) {
        case VK_UP: go(focused < 0 ? 0 : std::max(0, focused - 1)); return;
        case VK_DOWN: go(focused < 0 ? 0 : std::min(count - 1, focused + 1)); return;
        case VK_HOME: go(0); return;
        case VK_END: go(count - 1); return;
        case VK_PRIOR: go(std::max(0, focused - page)); return;
        case VK_NEXT: go(std::min(count - 1, std::max(0, focused) + page)); return;
        case VK_SPACE:
            if (items_.MultiSelect() && (shift & ssCtrl)) SelectByUser(focused, ssCtrl);
            else SelectByUser(focused);
            return;
        case VK_LEFT: SetScrollX(scrollX_ - 8); return;
        case VK_RIGHT: SetScrollX(scrollX_ + 8); return;
        case 'A':
            if (shift == ssCtrl && items_.MultiSelect()) {
                SelectAll();
                return;
            }
            break;
        case VK_F2:
            EditCaption(focused);
            return;
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
