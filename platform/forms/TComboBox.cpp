#include "TComboBox.h"

#include <algorithm>

#include "ClassicLook.h"
#include "SysUtils.h"

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner), items_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    // The combo box takes the pointer itself while its list is open, and
    // OnClick means an item was picked, not that the field was clicked.
    ControlStyle &= ~unsigned(csCaptureMouse | csClickEvents);
    items_->OnChange = [this] { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() {
    items_->OnChange = nullptr;
    list_.reset();
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "TComboBox";
}

TPopupListBox* TCustomComboBox::DropList() const {
    if (!list_) {
        auto* self = const_cast<TCustomComboBox*>(this);
        self->list_ = std::make_unique<TPopupListBox>(nullptr);
        self->list_->AfterConstruction();
        self->list_->SetPopupOwner(self);
    }
    return list_.get();
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::SetTextFromSelection() {
    const AnsiString text = itemIndex_ >= 0 ? items_->Strings(itemIndex_) : AnsiString();
    if (text == text_) return;
    text_ = text;
    StoredText() = text;
    Invalidate();
    Change();
}

void TCustomComboBox::SetItemIndex(int value) {
    if (value < 0 || value >= items_->Count()) value = -1;
    itemIndex_ = value;
    if (list_) list_->SetItemIndex(value);
    Invalidate();
    SetTextFromSelection();
}

void TCustomComboBox::SelectByUser(int index) {
    if (index < 0 || index >= items_->Count()) return;
    SetItemIndex(index);
    Click();
}

void TCustomComboBox::ItemsChanged() {
    // The selection does not survive a change of the items under it.
    if (itemIndex_ >= items_->Count() || (itemIndex_ >= 0 && items_->Strings(itemIndex_) != text_)) itemIndex_ = -1;
    if (list_) list_->Items().Assign(*items_);
    SetTextFromSelection();
    Invalidate();
}

TRect TCustomComboBox::ButtonRect() const {
    const int h = Height();
    return {Width() - 2 - std::min(17, h - 4), 2, Width() - 2, h - 2};
}

bool TCustomComboBox::DroppedDown() const { return list_ && list_->IsPoppedUp(); }

void TCustomComboBox::SetDroppedDown(bool value) {
    if (value == DroppedDown()) return;
    if (value) DropDown();
    else CloseUp(false);
}

void TCustomComboBox::DropDown() {
    if (items_->Count() == 0 || !HandleAllocated()) return;
    if (OnDropDown) OnDropDown(this);
    TPopupListBox* list = DropList();
    list->SetFont(Font());
    list->Items().Assign(*items_);
    list->SetItemIndex(itemIndex_);
    indexBeforeDrop_ = itemIndex_;
    const int rows = std::min(items_->Count(), dropDownCount_);
    const TPoint origin = ClientToScreen({0, 0});
    list->Popup(Bounds(origin.X, origin.Y, Width(), Height()), Width(), list->HeightForRows(rows));
    list->SetTopIndex(std::max(0, itemIndex_ - rows + 1));
    pointerReachedList_ = false;
    SetCapture(Handle());
    Invalidate();
}

void TCustomComboBox::CloseUp(bool accept) {
    if (!DroppedDown()) return;
    TPopupListBox* list = DropList();
    const int chosen = list->ItemIndex();
    list->CloseUp();
    if (GetCapture() == Handle()) ReleaseCapture();
    buttonDown_ = false;
    Invalidate();
    if (accept && chosen >= 0) {
        SelectByUser(chosen);
    } else {
        list->SetItemIndex(itemIndex_);
    }
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::PaintWindow(HDC DC) {
    TCanvas& c = *DC;
    const TRect r{0, 0, Width(), Height()};
    c.Brush.Style = bsSolid;
    c.Brush.Color = Enabled() ? Color() : clBtnFace;
    c.FillRect(r);
    DrawEdge(c, r, TEdgeKind::Sunken);
    const TRect button = ButtonRect();
    DrawButtonFace(c, button, buttonDown_ && DroppedDown(), false);
    DrawArrow(c, buttonDown_ && DroppedDown() ? OffsetRect(button, 1, 1) : button, TArrowDirection::Down,
              Enabled() ? clBtnText : clGrayText);
    TRect field{3, 3, button.Left - 1, Height() - 3};
    const bool focused = Focused() && !DroppedDown();
    if (focused) {
        c.Brush.Color = clHighlight;
        c.FillRect(field);
    }
    c.Font.Assign(Font());
    c.Font.SetColor(!Enabled() ? clGrayText : focused ? clHighlightText : Font().Color());
    c.Brush.Style = bsClear;
    TRect text = field;
    text.Left += 2;
    c.DrawText(text_, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c.Brush.Style = bsSolid;
    if (focused) c.DrawFocusRect(field);
}

bool TCustomComboBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (DroppedDown()) {
        TPopupListBox* list = DropList();
        list->SetTopIndex(list->TopIndex() - WheelDelta / WHEEL_DELTA);
    } else if (items_->Count() > 0) {
        SelectByUser(std::clamp(itemIndex_ + (WheelDelta > 0 ? -1 : 1), 0, items_->Count() - 1));
    }
    return true;
}

void TCustomComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const TPoint p = LParamToPoint(m.LParam);
        if (DroppedDown()) {
            // While the list is open the combo box holds the pointer; a press
            // outside both closes the list, a press in the list picks.
            TPopupListBox* list = DropList();
            const TPoint sp = ClientToScreen(p);
            bool onItems = false;
            const int index = list->ItemAtScreen(sp, &onItems);
            if (onItems) {
                pointerReachedList_ = true;
                if (index >= 0) list->SetItemIndex(index);
            } else {
                if (list->ContainsScreenPoint(sp)) {
                    // The list's scroll bar: hand the press to the list.
                    ReleaseCapture();
                    SendMessage(list->Handle(), WM_NCLBUTTONDOWN,
                                SendMessage(list->Handle(), WM_NCHITTEST, 0, PointToLParam(sp)), PointToLParam(sp));
                } else {
                    CloseUp(false);
                }
            }
            return;
        }
        if (CanFocus() && !Focused()) SetFocus();
        buttonDown_ = true;
        DropDown();
        break;
    }
    case WM_MOUSEMOVE:
        if (DroppedDown() && GetCapture() == Handle()) {
            TPopupListBox* list = DropList();
            bool onItems = false;
            const int index = list->ItemAtScreen(ClientToScreen(LParamToPoint(m.LParam)), &onItems);
            if (onItems) {
                pointerReachedList_ = true;
                if (index >= 0) list->SetItemIndex(index);
            }
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (DroppedDown()) {
            const int index = DropList()->ItemAtScreen(ClientToScreen(LParamToPoint(m.LParam)));
            buttonDown_ = false;
            Invalidate();
            // Releasing over the list picks; releasing after a simple press
            // on the field leaves the list open for a second click.
            if (pointerReachedList_ && index >= 0) CloseUp(true);
            else if (pointerReachedList_) CloseUp(false);
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomComboBox::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (DroppedDown() ? DLGC_WANTALLKEYS : 0);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
        const int count = items_->Count();
        if (DroppedDown()) {
            TPopupListBox* list = DropList();
            switch (m.WParam) {
            case VK_RETURN: CloseUp(true); return;
            case VK_ESCAPE: CloseUp(false); return;
            case VK_UP:
                if (alt) CloseUp(true);
                else if (list->ItemIndex() > 0) list->SetItemIndex(list->ItemIndex() - 1);
                return;
            case VK_DOWN:
                if (list->ItemIndex() < count - 1) list->SetItemIndex(list->ItemIndex() + 1);
                return;
            default: break;
            }
            break;
        }
        if (alt && (m.WParam == VK_DOWN || m.WParam == VK_UP)) {
            DropDown();
            return;
        }
        if (m.WParam == VK_F4) {
            DropDown();
            return;
        }
        if (count == 0) break;
        switch (m.WParam) {
        case VK_UP: case VK_LEFT: SelectByUser(std::max(0, itemIndex_ - 1)); return;
        case VK_DOWN: case VK_RIGHT: SelectByUser(std::min(count - 1, itemIndex_ + 1)); return;
        case VK_HOME: SelectByUser(0); return;
        case VK_END: SelectByUser(count - 1); return;
        case VK_PRIOR: SelectByUser(std::max(0, itemIndex_ - dropDownCount_ + 1)); return;
        case VK_NEXT: SelectByUser(std::min(count - 1, itemIndex_ + dropDownCount_ - 1)); return;
        default: break;
        }
        break;
    }
    case WM_CHAR: {
        // A typed letter selects the next item starting with it.
        const char ch = char(m.WParam);
        const int count = items_->Count();
        if (count == 0 || static_cast<unsigned char>(ch) < 0x20) break;
        for (int step = 1; step <= count; ++step) {
            const int i = (itemIndex_ + step) % count;
            const AnsiString& item = items_->Strings(i);
            if (!item.empty() && AsciiUpper(item[0]) == AsciiUpper(ch)) {
                if (DroppedDown()) DropList()->SetItemIndex(i);
                else SelectByUser(i);
                break;
            }
        }
        return;
    }
    case WM_SETTEXT: {
        // A drop-down list shows only its items: setting a text selects the
        // item with that text, if there is one.
        const AnsiString value = m.LParam ? AnsiString(FromLParam<const char>(m.LParam)) : AnsiString();
        const int index = items_->IndexOf(value);
        if (index >= 0) SetItemIndex(index);
        m.Result = index >= 0;
        return;
    }
    case WM_KILLFOCUS:
        CloseUp(false);
        Invalidate();
        break;
    case WM_SETFOCUS:
    case WM_ENABLE:
        Invalidate();
        break;
    case WM_CANCELMODE:
        CloseUp(false);
        break;
    case WM_CAPTURECHANGED:
        // Capture going to the list's own scroll bar keeps the list open.
        break;
    default:
        break;
    }
    TWinControl::DefaultHandler(m);
}
