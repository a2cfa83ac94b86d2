#include "TListBox.h"

#include <algorithm>

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      bars_([this](UINT msg, int code, int pos) { Perform(msg, MAKEWPARAM(code, pos), 0); }),
      items_(std::make_unique<TStringList>()),
      measureCanvas_(std::make_unique<TCanvas>()) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    bars_.SetAllowed(false, true, nullptr);
    items_->OnChange = [this] { ItemsChanged(); };
    measureCanvas_->Font.Assign(Font());
    itemHeight_ = std::max(1, measureCanvas_->TextHeight("Wg") + 2);
}

TCustomListBox::~TCustomListBox() { items_->OnChange = nullptr; }

void TCustomListBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "TListBox";
}

TCanvas& TCustomListBox::Canvas() { return paintDc_ ? *paintDc_ : *measureCanvas_; }

void TCustomListBox::SetItemIndex(int value) {
    if (value < 0 || value >= items_->Count()) value = -1;
    if (value == itemIndex_) return;
    itemIndex_ = value;
    if (value >= 0) MakeVisible(value);
    Invalidate();
}

void TCustomListBox::SetItemHeight(int value) {
    if (value < 1) return;
    itemHeight_ = value;
    itemHeightSet_ = true;
    ItemsChanged();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    style_ = value;
    Invalidate();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
    bars_.SetBorder(value != bsNone, HandleAllocated() ? Handle() : nullptr);
    ItemsChanged();
}

int TCustomListBox::VisibleRowCount() const { return std::max(1, ItemAreaHeight() / itemHeight_); }

void TCustomListBox::SetTopIndex(int value) {
    value = std::clamp(value, 0, std::max(0, items_->Count() - VisibleRowCount()));
    if (value == topIndex_) return;
    topIndex_ = value;
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListBox::MakeVisible(int index) {
    if (index < topIndex_) SetTopIndex(index);
    else if (index >= topIndex_ + VisibleRowCount()) SetTopIndex(index - VisibleRowCount() + 1);
}

void TCustomListBox::ItemsChanged() {
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, items_->Count() - VisibleRowCount()));
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListBox::UpdateScrollInfo() {
    bars_.SetInfo(SB_VERT, {0, items_->Count() - 1, VisibleRowCount(), topIndex_},
                  HandleAllocated() ? Handle() : nullptr);
}

int TCustomListBox::ItemAtPos(TPoint p, bool existing) const {
    if (p.Y < 0 || !PtInRect(ClientRect(), p)) return -1;
    const int index = topIndex_ + p.Y / itemHeight_;
    if (index >= items_->Count()) return existing ? -1 : items_->Count();
    return index;
}

TRect TCustomListBox::ItemRect(int index) const {
    const int y = (index - topIndex_) * itemHeight_;
    return {0, y, ClientRect().Width(), y + itemHeight_};
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    TCanvas& c = Canvas();
    if (style_ == lbOwnerDrawFixed && OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    const bool selected = (state & odSelected) != 0;
    c.Brush.Style = bsSolid;
    c.Brush.Color = selected ? clHighlight : Color();
    c.FillRect(rect);
    c.Font.SetColor(selected ? clHighlightText : (Enabled() ? Font().Color() : clGrayText));
    c.Brush.Style = bsClear;
    TRect text = rect;
    text.Left += 2;
    c.DrawText(items_->Strings(index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    c.Brush.Style = bsSolid;
}

void TCustomListBox::PaintWindow(HDC DC) {
    paintDc_ = DC;
    TCanvas& c = *DC;
    const TRect client = ClientRect();
    c.Brush.Style = bsSolid;
    c.Brush.Color = Color();
    c.FillRect(client);
    c.Font.Assign(Font());
    const int last = std::min(items_->Count(), topIndex_ + VisibleRowCount() + 1);
    for (int i = topIndex_; i < last; ++i) {
        TOwnerDrawState state = 0;
        if (i == itemIndex_) state |= odSelected;
        if (i == itemIndex_ && Focused()) state |= odFocused;
        if (!Enabled()) state |= odDisabled;
        c.Font.Assign(Font());
        DrawItem(i, ItemRect(i), state);
        if (state & odFocused) {
            c.Brush.Style = bsSolid;
            c.DrawFocusRect(ItemRect(i));
        }
    }
    paintDc_ = nullptr;
}

void TCustomListBox::SelectByUser(int index) {
    if (index < 0 || index >= items_->Count()) return;
    const bool changed = index != itemIndex_;
    SetItemIndex(index);
    MakeVisible(index);
    if (changed) Click();
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines);
    SetTopIndex(topIndex_ - WheelDelta / WHEEL_DELTA * int(lines));
    return true;
}

void TCustomListBox::WndProc(TMessage& m) {
    if (HandleAllocated() && bars_.HandleMessage(m, Handle(), Enabled())) return;
    switch (m.Msg) {
    case CM_FONTCHANGED:
        measureCanvas_->Font.Assign(Font());
        if (!itemHeightSet_) itemHeight_ = std::max(1, measureCanvas_->TextHeight("Wg") + 2);
        ItemsChanged();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (CanFocus() && !Focused()) SetFocus();
        const int index = ItemAtPos(LParamToPoint(m.LParam));
        if (index >= 0) {
            const bool changed = index != itemIndex_;
            SetItemIndex(index);
            tracking_ = true;
            // The platform's list box reports a click when the selection
            // changes under the pointer, not on release.
            if (changed) Click();
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (tracking_ && (m.WParam & MK_LBUTTON)) {
            const TPoint p = LParamToPoint(m.LParam);
            if (p.Y < 0) SelectByUser(std::max(0, itemIndex_ - 1));
            else if (p.Y >= ClientRect().Height()) SelectByUser(std::min(items_->Count() - 1, itemIndex_ + 1));
            else if (int index = ItemAtPos(p); index >= 0) SelectByUser(index);
        }
        break;
    case WM_LBUTTONUP:
        tracking_ = false;
        // The click was reported on the press already.
        ControlState &= ~unsigned(csClicked);
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomListBox::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN: {
        const int count = items_->Count();
        if (count == 0) break;
        const int page = std::max(1, VisibleRowCount() - 1);
        int target = itemIndex_;
        switch (m.WParam) {
        case VK_UP: case VK_LEFT: target = itemIndex_ < 0 ? 0 : itemIndex_ - 1; break;
        case VK_DOWN: case VK_RIGHT: target = itemIndex_ + 1; break;
        case VK_PRIOR: target = itemIndex_ - page; break;
        case VK_NEXT: target = itemIndex_ < 0 ? page : itemIndex_ + page; break;
        case VK_HOME: target = 0; break;
        case VK_END: target = count - 1; break;
        default: TWinControl::DefaultHandler(m); return;
        }
        SelectByUser(std::clamp(target, 0, count - 1));
        return;
    }
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_SIZE:
        TWinControl::DefaultHandler(m);
        ItemsChanged();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        Invalidate();
        break;
    case WM_VSCROLL: {
        const TScrollInfo info = bars_.Info(SB_VERT);
        const int pos = std::int16_t(HIWORD(m.WParam));
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
        case SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
        case SB_PAGEUP: SetTopIndex(topIndex_ - info.Page); break;
        case SB_PAGEDOWN: SetTopIndex(topIndex_ + info.Page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopIndex(pos); break;
        case SB_TOP: SetTopIndex(0); break;
        case SB_BOTTOM: SetTopIndex(items_->Count()); break;
        default: break;
        }
        m.Result = 0;
        return;
    }
    default:
        break;
    }
    TWinControl::DefaultHandler(m);
}
