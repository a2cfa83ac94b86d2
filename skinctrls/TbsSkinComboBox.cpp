#include "TbsSkinComboBox.h"

#include <algorithm>

#include "Forms.h"
#include "SkinComposition.h"
#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinItemContent.h"
#include "SkinPieceCopy.h"
#include "SkinRecordButton.h"
#include "SysUtils.h"
#include "TbsSkinData.h"
#include "TbsSkinScrollBar.h"

namespace {
constexpr unsigned kAutoScrollMs = 25;
constexpr DWORD kTypeAheadPauseMs = 499;
constexpr DWORD kAutoCompleteMs = 200;
constexpr int kShiftJisCharset = 128;
constexpr int kBig5Charset = 136;

bool StartsWithNoCase(const AnsiString& item, const AnsiString& prefix) {
    if (item.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiUpper(item[i]) != AsciiUpper(prefix[i])) return false;
    return true;
}
}  // namespace

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), autoScrollTimer_(CreateUnowned<TTimer>()) {
    // The combo box takes the pointer itself while tracking, OnClick means a
    // selection was applied, and the text never starts as the name.
    ControlStyle &= ~unsigned(csCaptureMouse | csClickEvents | csSetCaption);
    SetSkinDataName("combobox");
    SetTabStop(true);
    DefaultFont().SetColor(clWindowText);
    SetDefaultWidth(120);
    SetDefaultHeight(20);
    SetBounds(0, 0, 120, 20);
    list_ = std::make_unique<TbsPopupListBox>(nullptr);
    list_->AfterConstruction();
    list_->SetPopupOwner(this);
    list_->OnDrawSkinItem = [this](TCanvas& c, int index, int w, int h, const TRect& text, TOwnerDrawState state) {
        if (OnListBoxDrawItem) OnListBoxDrawItem(c, index, w, h, text, state);
        else DrawSkinItemContent(c, text, list_->Items().Strings(index), list_->ItemContent(index));
    };
    // The caption band's check button takes the pointed-at item.
    list_->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
    autoScrollTimer_->SetEnabled(false);
    autoScrollTimer_->SetInterval(kAutoScrollMs);
    autoScrollTimer_->OnTimer = [this](TObject*) { AutoScrollTick(); };
    CalcRects();
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
    autoScrollTimer_->OnTimer = nullptr;
    if (Application && Application->ModeControl() == this) Application->SetModeControl(nullptr);
    if (edit_) edit_->WindowProc = editOldProc_;
    list_->SetPopupOwner(nullptr);
    list_.reset();
}

void TbsSkinCustomComboBox::Loaded() {
    TbsSkinCustomControl::Loaded();
    CalcRects();
}

// ---- properties --------------------------------------------------------------------------------

void TbsSkinCustomComboBox::SetDropDownCount(int value) {
    if (value >= 1) dropDownCount_ = value;
}

void TbsSkinCustomComboBox::SetHideSelection(bool value) {
    hideSelection_ = value;
    if (edit_) edit_->SetHideSelection(value);
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase value) {
    charCase_ = value;
    if (edit_) edit_->SetCharCase(value);
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor value) {
    defaultColor_ = value;
    if (edit_ && !Skinned()) edit_->SetColor(value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetUseSkinSize(bool value) {
    useSkinSize_ = value;
    ApplySkin();
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool value) {
    toolButtonStyle_ = value;
    if (value) {
        SetStyle(bscbFixedStyle);
        useSkinSize_ = false;
    }
    ApplySkin();
}

void TbsSkinCustomComboBox::SetImages(TImageList* value) {
    list_->SetImages(value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetImageIndex(int value) {
    list_->SetImageIndex(value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetTabWidths(std::vector<int> value) {
    list_->SetTabWidths(std::move(value));
    Invalidate();
}

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle value) {
    if (value == style_ && Designing()) return;
    // A tool button has no text field to type into.
    if (toolButtonStyle_ && value == bscbEditStyle) return;
    style_ = value;
    if (value == bscbEditStyle) {
        if (!edit_) {
            const bool hadFocus = Focused();
            CreateInnerEdit();
            if (!Designing()) {
                edit_->SetTabStop(TabStop());
                SetTabStop(false);
            }
            settingEditText_ = true;
            edit_->SetText(Text());
            settingEditText_ = false;
            if (hadFocus && edit_->CanFocus()) edit_->SetFocus();
        }
    } else if (edit_) {
        TbsCustomEdit* edit = edit_;
        const bool editHadFocus = edit->Focused();
        if (dropped_) CloseUp(false);
        edit_ = nullptr;
        edit->WindowProc = editOldProc_;
        SetTabStop(edit->TabStop());
        // The focus stays with the combo box rather than vanishing with the edit.
        if (editHadFocus && CanFocus()) SetFocus();
        FreeComponent(edit);
    }
    CalcRects();
    Invalidate();
}

void TbsSkinCustomComboBox::SetItemIndex(int value) {
    // A list without items has nothing to select and nothing to report.
    if (list_->Items().Count() == 0) {
        list_->SetItemIndex(-1);
        return;
    }
    list_->SetItemIndex(value);
    const int index = list_->ItemIndex();
    if (index != -1) SetText(list_->Items().Strings(index));
    dropIndex_ = index;
    if (style_ == bscbFixedStyle) Invalidate();
    if (!Loading() && !Designing()) {
        Click();
        SelectionChanged();
    }
}

// ---- the skin ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::BindSkinRecord() {
    TbsSkinCustomControl::BindSkinRecord();
    hasRecord_ = false;
    disabledFontColor_ = clGrayText;
    if (recordIndex_ == -1) return;
    if (const auto* r = dynamic_cast<const TbsDataSkinComboBox*>(BoundRecord())) {
        rec_ = *r;
        if (RectIsEmpty(rec_.focusitemrect)) rec_.focusitemrect = rec_.itemrect;
        hasRecord_ = true;
    }
    const int edit = SkinData()->FindControlIndex("edit");
    if (const auto* e = dynamic_cast<const TbsDataSkinEditControl*>(SkinControlRecordAt(SkinData(), edit)))
        disabledFontColor_ = e->disabledfontcolor;
}

void TbsSkinCustomComboBox::FitSkinSize(int& W, int& H) {
    if (useSkinSize_) {
        TbsSkinCustomControl::FitSkinSize(W, H);
        return;
    }
    // Any size: the points are placed on it, the size stays as asked.
    int w = W, h = H;
    TbsSkinCustomControl::FitSkinSize(w, h);
}

void TbsSkinCustomComboBox::ApplySkin() {
    TbsSkinCustomControl::ApplySkin();
    CalcRects();
    if (edit_) {
        TFont f;
        f.Assign(Font());
        if (Skinned()) {
            ApplyRecordFont(f, rec_.fontname, rec_.fontheight, rec_.fontstyle);
            if (UseSkinFont()) f.SetColor(rec_.fontcolor);
        } else {
            f.Assign(DefaultFont());
        }
        edit_->SetFont(f);
        edit_->SetTransparentEdit(Skinned());
        edit_->SetColor(defaultColor_);
        ApplyEditColours();
    }
    list_->SetSkinDataName(Skinned() ? rec_.listboxname : AnsiString());
    list_->SetSkinData(SkinData());
    CalcRects();
    Invalidate();
}

void TbsSkinCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    CalcRects();
}

void TbsSkinCustomComboBox::CalcRects() {
    const int W = Width(), H = Height();
    if (!Skinned() || toolButtonStyle_) {
        buttonRect_ = {W - 19, 2, W - 2, H - 2};
        fieldRect_ = {2, 2, buttonRect_.Left - 1, H - 2};
    } else {
        const int sw = WidthOf(geometry_.skinrect), sh = HeightOf(geometry_.skinrect);
        buttonRect_ = rec_.buttonrect;
        if (buttonRect_.Left >= sw - geometry_.righttoppoint.X) buttonRect_ = OffsetRect(buttonRect_, W - sw, 0);
        fieldRect_ = geometry_.clientrect;
        fieldRect_.Right = W + geometry_.clientrect.Right - sw;
        if (!useSkinSize_) {
            buttonRect_.Bottom += H - sh;
            fieldRect_.Bottom += H - sh;
        }
    }
    PlaceEdit();
}

void TbsSkinCustomComboBox::PlaceEdit() {
    if (!edit_) return;
    TCanvas measure;
    measure.Font.Assign(edit_->Font());
    const int h = std::min(fieldRect_.Height(), measure.TextHeight("Wg"));
    edit_->SetBounds(fieldRect_.Left, fieldRect_.Top + (fieldRect_.Height() - h) / 2, fieldRect_.Width(), h);
}

bool TbsSkinCustomComboBox::ShowsFocus() const {
    return Focused() || (edit_ && edit_->Focused());
}

void TbsSkinCustomComboBox::ApplyEditColours() {
    if (!edit_ || !Skinned()) return;
    TColor colour = rec_.fontcolor;
    if (!Enabled()) colour = disabledFontColor_;
    else if (!RectIsEmpty(rec_.activeskinrect) && (edit_->Focused() || mouseIn_)) colour = rec_.activefontcolor;
    if (UseSkinFont()) edit_->Font().SetColor(colour);
}

int TbsSkinCustomComboBox::CharSet() const {
    if (SkinData() && SkinData()->ResourceStrData()) return SkinData()->ResourceStrData()->CharSet();
    return DefaultFont().Charset();
}

// ---- the edit ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::CreateInnerEdit() {
    edit_ = CreateComponent<TbsCustomEdit>(this);
    edit_->SetColor(defaultColor_);
    edit_->SetHideSelection(hideSelection_);
    edit_->SetCharCase(charCase_);
    edit_->SetFont(Skinned() ? Font() : DefaultFont());
    edit_->SetTransparentEdit(Skinned());
    edit_->SetParent(this);
    edit_->OnChange = [this](TObject*) { EditTextChanged(); };
    edit_->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) {
        if (OnKeyDown) OnKeyDown(this, key, shift);
    };
    edit_->OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) {
        if (OnKeyUp) OnKeyUp(this, key, shift);
    };
    edit_->OnKeyPress = [this](TObject*, char& key) {
        if (OnKeyPress) OnKeyPress(this, key);
    };
    edit_->CancelModeHook = [this] {
        // Focus moving to the combo box or its list keeps the list open.
        const HWND focus = GetFocus();
        if (focus && (focus == Handle() || (list_->HandleAllocated() && focus == list_->Handle()))) return;
        CloseUp(false);
    };
    editOldProc_ = edit_->WindowProc;
    edit_->WindowProc = [this](TMessage& m) { InnerEditWndProc(m); };
    PlaceEdit();
}

void TbsSkinCustomComboBox::EditTextChanged() {
    if (settingEditText_ || !edit_) return;
    const AnsiString text = edit_->Text();
    const int found = text.empty() ? -1 : FindPrefix(text, false);
    if (found >= 0) {
        if (autoComplete_) list_->SetItemIndex(found);
        else list_->SetTopIndex(found);
    }
    textFromEdit_ = true;
    SetText(text);
    textFromEdit_ = false;
}

void TbsSkinCustomComboBox::RunAutoComplete() {
    if (!edit_ || !autoComplete_) return;
    const DWORD now = GetTickCount();
    if (autoCompletedBefore_ && now - lastAutoCompleteTime_ < kAutoCompleteMs) return;
    autoCompletedBefore_ = true;
    lastAutoCompleteTime_ = now;
    const AnsiString typed = edit_->Text();
    if (typed.empty()) return;
    const int found = FindPrefix(typed, typed.size() == 1);
    if (found < 0) return;
    const int typedLength = int(typed.size());
    SetItemIndex(found);
    edit_->SetSelStart(typedLength);
    edit_->SetSelLength(int(edit_->Text().size()) - typedLength);
}

void TbsSkinCustomComboBox::InnerEditWndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const int count = Items().Count();
        switch (m.WParam) {
        case VK_RETURN:
        case VK_ESCAPE:
            if (dropped_) {
                CloseUp(m.WParam == VK_RETURN);
                return;
            }
            break;
        case VK_PRIOR:
        case VK_NEXT:
            if (dropped_ && count > 0) {
                const int index = list_->ItemIndex();
                list_->SetItemIndex(m.WParam == VK_PRIOR ? std::max(0, index - dropDownCount_ - 1)
                                                         : std::min(count - 1, index + dropDownCount_ - 1));
                return;
            }
            break;
        case VK_UP:
        case VK_DOWN: {
            if (count == 0) return;
            const int index = list_->ItemIndex();
            const int target = m.WParam == VK_UP ? index - 1 : index + 1;
            if (target < 0 || target >= count) return;
            list_->SetItemIndex(target);
            if (!dropped_) {
                edit_->SetText(Items().Strings(target));
                edit_->SelectAll();
                Click();
            }
            return;
        }
        default:
            break;
        }
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const int charset = CharSet();
        const bool doubleByte =
            charset == GB2312_CHARSET || charset == kShiftJisCharset || charset == kBig5Charset;
        if (doubleByte && m.WParam != VK_DELETE && m.WParam != VK_BACK) {
            // Text composed by an input method arrives whole: take it as typed.
            edit_->SetSelLength(0);
            editOldProc_(m);
            RunAutoComplete();
            return;
        }
        if (!doubleByte && m.WParam >= 48) {
            editOldProc_(m);
            RunAutoComplete();
            return;
        }
        break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        editOldProc_(m);
        ApplyEditColours();
        Invalidate();
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (dropped_) CloseUp(false);
        break;
    case WM_MOUSEWHEEL: {
        const int count = Items().Count();
        const int delta = std::int16_t(HIWORD(m.WParam));
        const int target = list_->ItemIndex() + (delta > 0 ? -1 : 1);
        if (count > 0 && target >= 0 && target < count) {
            list_->SetItemIndex(target);
            if (!dropped_) {
                edit_->SetText(Items().Strings(target));
                edit_->SelectAll();
                Click();
            }
        }
        m.Result = 1;
        return;
    }
    default:
        break;
    }
    editOldProc_(m);
}

// ---- text --------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::TextChanged() {
    if (edit_ && !textFromEdit_) {
        settingEditText_ = true;
        edit_->SetText(Text());
        settingEditText_ = false;
    }
    if (OnChange) OnChange(this);
    if (textFromEdit_) SelectionChanged();
}

// ---- the list ----------------------------------------------------------------------------------

bool TbsSkinCustomComboBox::IsListControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == list_.get() || c == this) return true;
    return false;
}

void TbsSkinCustomComboBox::DropDown() {
    if (Items().Count() == 0) return;
    pointerReachedList_ = false;
    StopAutoScroll();
    if (OnDropDown) OnDropDown(this);
    const int width = listBoxWidth_ > 0 ? listBoxWidth_ : Width();
    const int rows = std::min(Items().Count(), dropDownCount_);
    list_->SetSkinData(SkinData());
    if (edit_ && edit_->CanFocus()) edit_->SetFocus();
    dropIndex_ = ItemIndex();
    if (dropIndex_ == 0 && Items().Count() >= 2) {
        // Brings the top of the list into view.
        list_->SetItemIndex(1);
        list_->SetItemIndex(0);
    }
    dropped_ = true;
    Invalidate();
    list_->SetSkinData(SkinData());
    const TPoint origin = ClientToScreen({0, 0});
    list_->SetTopIndex(std::max(0, list_->ItemIndex() - rows + 1));
    // The mode is held before the list shows: a fade-in processes messages,
    // and a press elsewhere meanwhile closes the list.
    if (Application) Application->SetModeControl(this);
    list_->PopupList(Bounds(origin.X, origin.Y, Width(), Height()), width, list_->HeightForRowsAt(rows, width));
    if (!list_->IsPoppedUp()) return;
    list_->SetTopIndex(std::max(0, list_->ItemIndex() - rows + 1));
    list_->SyncScrollBar();
}

void TbsSkinCustomComboBox::CloseUp(bool accept) {
    StopAutoScroll();
    tracking_ = false;
    if (GetCapture() && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    if (list_->IsPoppedUp()) {
        list_->CloseUp();
        const int index = list_->ItemIndex();
        if (index < 0) {
            list_->SetItemIndex(dropIndex_);
        } else if (accept && index < Items().Count()) {
            const AnsiString item = Items().Strings(index);
            if (edit_) {
                edit_->SetText(item);
                edit_->SelectAll();
            } else {
                SetText(item);
                Invalidate();
            }
            Click();
            SelectionChanged();
        } else if (!accept) {
            list_->SetItemIndex(dropIndex_);
        }
    }
    const bool wasDropped = dropped_;
    dropped_ = false;
    buttonPressed_ = false;
    if (Application && Application->ModeControl() == this) Application->SetModeControl(nullptr);
    Invalidate();
    if (accept && wasDropped && OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomComboBox::StopAutoScroll() {
    autoScrollTimer_->SetEnabled(false);
    autoScrollStep_ = 0;
}

void TbsSkinCustomComboBox::AutoScrollTick() {
    if (!dropped_ || autoScrollStep_ == 0) {
        StopAutoScroll();
        return;
    }
    const int target = list_->ItemIndex() + autoScrollStep_;
    if (target < 0 || target >= Items().Count()) return;
    list_->SetItemIndex(target);
}

void TbsSkinCustomComboBox::TrackPointer(TPoint client) {
    const TPoint screen = ClientToScreen(client);
    bool onItems = false;
    const int index = list_->ItemAtScreen(screen, &onItems);
    TbsSkinScrollBar* bar = list_->ScrollBar();
    const bool onBar = list_->OnScrollBar(screen);
    if (onItems && !onBar) {
        StopAutoScroll();
        pointerReachedList_ = true;
        if (index >= 0) list_->SetItemIndex(index);
        return;
    }
    const TPoint top = list_->ClientToScreen({0, 0});
    const bool hasBar = bar && bar->Visible();
    int step = 0;
    if (hasBar && pointerReachedList_ && screen.Y < top.Y) step = -1;
    else if (hasBar && screen.Y >= top.Y + list_->ClientHeight() && !onBar) step = 1;
    autoScrollStep_ = step;
    autoScrollTimer_->SetEnabled(step != 0);
}

// ---- keys --------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::StepSelection(int delta) {
    const int count = Items().Count();
    const int target = ItemIndex() + delta;
    if (count == 0 || target < 0 || target >= count) return;
    SetItemIndex(target);
}

int TbsSkinCustomComboBox::FindPrefix(const AnsiString& prefix, bool after) const {
    const int count = list_->Items().Count();
    if (count == 0) return -1;
    const int start = after ? ItemIndex() + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int i = after ? (start + step) % count : step;
        if (StartsWithNoCase(list_->Items().Strings(i), prefix)) return i;
    }
    return -1;
}

void TbsSkinCustomComboBox::TypeSearch(char ch) {
    const DWORD now = GetTickCount();
    if (autoComplete_) {
        if (typedBefore_ && now - lastTypeTime_ > kTypeAheadPauseMs) typedPrefix_.clear();
        typedPrefix_ += ch;
    } else {
        typedPrefix_ = AnsiString(1, ch);
    }
    typedBefore_ = true;
    lastTypeTime_ = now;
    // One character cycles through the items starting with it.
    const int found = FindPrefix(typedPrefix_, typedPrefix_.size() == 1);
    if (found >= 0) SetItemIndex(found);
}

// ---- messages ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::MouseEntered() {
    TbsSkinCustomControl::MouseEntered();
    mouseIn_ = true;
    if (edit_ && !edit_->Focused()) ApplyEditColours();
    Invalidate();
}

void TbsSkinCustomComboBox::MouseLeft() {
    TbsSkinCustomControl::MouseLeft();
    mouseIn_ = false;
    if (buttonHot_) buttonHot_ = false;
    if (edit_ && !edit_->Focused()) ApplyEditColours();
    Invalidate();
}

void TbsSkinCustomComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TbsSkinCustomControl::WndProc(m);
        const TPoint p = LParamToPoint(m.LParam);
        if (style_ == bscbFixedStyle && CanFocus() && !Focused()) SetFocus();
        if (dropped_ && list_->ContainsScreenPoint(ClientToScreen(p))) {
            // A press on the open list: track it until the release picks.
            tracking_ = true;
            if (GetCapture() != Handle()) SetCapture(Handle());
            TrackPointer(p);
            return;
        }
        buttonHot_ = PtInRect(buttonRect_, p);
        const bool onField = style_ == bscbFixedStyle && PtInRect(fieldRect_, p);
        if ((buttonHot_ || onField || toolButtonStyle_) && !dropped_) {
            buttonPressed_ = true;
            Invalidate();
            pointerReachedList_ = false;
            tracking_ = true;
            SetCapture(Handle());
            DropDown();
        } else {
            CloseUp(false);
        }
        return;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (style_ == bscbFixedStyle && CanFocus() && !Focused()) SetFocus();
        break;
    case WM_MOUSEMOVE: {
        TbsSkinCustomControl::WndProc(m);
        const TPoint p = LParamToPoint(m.LParam);
        const bool hot = PtInRect(buttonRect_, p);
        if (hot != buttonHot_) {
            buttonHot_ = hot;
            Invalidate();
        }
        if (tracking_ && dropped_) TrackPointer(p);
        return;
    }
    case WM_LBUTTONUP: {
        TbsSkinCustomControl::WndProc(m);
        const TPoint screen = ClientToScreen(LParamToPoint(m.LParam));
        const bool reached = tracking_ && pointerReachedList_;
        tracking_ = false;
        StopAutoScroll();
        // The list stays open after a plain click; presses elsewhere reach
        // their own controls and close it through the mode.
        if (GetCapture() == Handle()) ReleaseCapture();
        buttonPressed_ = false;
        Invalidate();
        if (reached && dropped_) {
            bool onItems = false;
            list_->ItemAtScreen(screen, &onItems);
            CloseUp(onItems);
        }
        return;
    }
    case CM_CANCELMODE: {
        const auto* pressed = FromLParam<TControl>(m.LParam);
        if (dropped_ && !IsListControl(pressed)) CloseUp(false);
        break;
    }
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::WndProc(m);
        TextChanged();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::WndProc(m);
        if (edit_) edit_->SetEnabled(Enabled());
        ApplyEditColours();
        Invalidate();
        return;
    case WM_SETFOCUS:
        TbsSkinCustomControl::WndProc(m);
        // In edit style the edit takes the keys.
        if (edit_ && edit_->CanFocus()) edit_->SetFocus();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::WndProc(m);
        if (style_ == bscbFixedStyle && dropped_) CloseUp(false);
        Invalidate();
        return;
    default:
        break;
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinCustomComboBox::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTALLKEYS : 0);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        if (style_ != bscbFixedStyle) break;
        const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
        const int count = Items().Count();
        switch (m.WParam) {
        case VK_RETURN:
            if (dropped_) CloseUp(true);
            return;
        case VK_ESCAPE:
            if (dropped_) CloseUp(false);
            return;
        case VK_UP:
        case VK_LEFT:
            if (alt) {
                if (dropped_) CloseUp(false);
            } else {
                StepSelection(-1);
            }
            return;
        case VK_DOWN:
        case VK_RIGHT:
            if (alt) {
                if (!dropped_) DropDown();
            } else {
                StepSelection(1);
            }
            return;
        case VK_PRIOR:
            if (count > 0) SetItemIndex(std::max(0, ItemIndex() - dropDownCount_ - 1));
            return;
        case VK_NEXT:
            if (count > 0) SetItemIndex(std::min(count - 1, ItemIndex() + dropDownCount_ - 1));
            return;
        default:
            break;
        }
        break;
    }
    case WM_CHAR:
        if (style_ == bscbFixedStyle && static_cast<unsigned char>(m.WParam) >= 0x20) {
            TypeSearch(char(m.WParam));
            return;
        }
        break;
    case WM_MOUSEWHEEL: {
        if (style_ != bscbFixedStyle) break;
        const int delta = std::int16_t(HIWORD(m.WParam));
        if (dropped_) {
            const int target = list_->ItemIndex() + (delta > 0 ? -1 : 1);
            if (target >= 0 && target < Items().Count()) list_->SetItemIndex(target);
        } else {
            StepSelection(delta > 0 ? -1 : 1);
        }
        m.Result = 1;
        return;
    }
    default:
        break;
    }
    TbsSkinCustomControl::DefaultHandler(m);
}

// ---- painting ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::PaintDefaultImage(TBitmap& bitmap) {
    if (toolButtonStyle_) {
        PaintToolButton(bitmap);
        return;
    }
    TCanvas& c = bitmap.Canvas();
    const TRect all{0, 0, Width(), Height()};
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(all);
    c.Brush.Color = clBtnShadow;
    c.FrameRect(all);
    c.Brush.Color = defaultColor_;
    c.FillRect(InflateRect(all, -1, -1));
    const DefaultBoxState state = buttonPressed_ && buttonHot_ ? DefaultBoxState::Pressed
                                  : buttonHot_                 ? DefaultBoxState::Hot
                                                               : DefaultBoxState::Normal;
    DrawDefaultBox(c, buttonRect_, state);
    DrawDirectionArrow(c, buttonRect_, SkinArrowKind::Down, Enabled() ? clBlack : clBtnShadow);
    if (style_ == bscbFixedStyle) PaintField(c, false);
}

void TbsSkinCustomComboBox::PaintSkinnedButton(TBitmap& bitmap) {
    const TBitmap& pic = *geometry_.SkinPicture;
    if (!useSkinSize_) {
        PaintComposedButton(bitmap);
        return;
    }
    const TRect* src = nullptr;
    if (!Enabled() && !RectIsEmpty(rec_.unenabledbuttonrect)) src = &rec_.unenabledbuttonrect;
    else if (buttonPressed_ && buttonHot_ && !RectIsEmpty(rec_.downbuttonrect)) src = &rec_.downbuttonrect;
    else if (buttonHot_ && !RectIsEmpty(rec_.activebuttonrect)) src = &rec_.activebuttonrect;
    // The normal button is part of the body's image.
    if (src) StretchSkinPiece(bitmap, buttonRect_, pic, *src);
}

void TbsSkinCustomComboBox::PaintComposedButton(TBitmap& bitmap) {
    // At a size of its own the body's button no longer fits, so the button
    // is composed from a button record at the button's size.
    const RecordButton button = FindRecordButton(SkinData(), {"combobutton", "editbutton", "resizebutton"});
    const bool down = buttonPressed_ && buttonHot_;
    if (!button) {
        DrawDefaultBox(bitmap.Canvas(), buttonRect_,
                       down ? DefaultBoxState::Pressed : buttonHot_ ? DefaultBoxState::Hot : DefaultBoxState::Normal);
        DrawDirectionArrow(bitmap.Canvas(), buttonRect_, SkinArrowKind::Down, Enabled() ? rec_.fontcolor : disabledFontColor_);
        return;
    }
    const RecordButtonState state = down         ? RecordButtonState::Down
                                    : buttonHot_ ? RecordButtonState::Active
                                                 : RecordButtonState::Normal;
    DrawRecordButton(bitmap, buttonRect_, button, state);
    if (DrawRecordButtonMarker(bitmap, buttonRect_, button, state)) return;
    DrawDirectionArrow(bitmap.Canvas(), OffsetRect(buttonRect_, 0, down ? 2 : 0), SkinArrowKind::Down,
                       RecordButtonFontColor(*button.record, state, Enabled()));
}

void TbsSkinCustomComboBox::PaintToolButton(TBitmap& bitmap) {
    TCanvas& c = bitmap.Canvas();
    const TRect all{0, 0, Width(), Height()};
    const bool down = buttonPressed_ || dropped_;
    const bool hot = mouseIn_ || buttonHot_;
    TColor textColour = Enabled() ? DefaultFont().Color() : clGrayText;
    const TbsDataSkinButtonControl* rec = nullptr;
    const TBitmap* picture = nullptr;
    if (SkinData() && !SkinData()->IsEmpty()) {
        rec = dynamic_cast<const TbsDataSkinButtonControl*>(
            SkinControlRecordAt(SkinData(), SkinData()->FindControlIndex("toolbutton")));
        if (rec) picture = SkinPictureAt(*SkinData(), rec->pictureindex);
    }
    if (rec && picture) {
        const TRect* src = &rec->skinrect;
        if (!Enabled() && !RectIsEmpty(rec->disabledskinrect)) src = &rec->disabledskinrect;
        else if (down && !RectIsEmpty(rec->downskinrect)) src = &rec->downskinrect;
        else if (hot && !RectIsEmpty(rec->activeskinrect)) src = &rec->activeskinrect;
        // The button record's own geometry; a row image keeps the record's
        // height and is stretched to the control's.
        SkinControlGeometry geometry;
        geometry.Bind(*SkinData(), *rec);
        int w = all.Width(), h = all.Height();
        geometry.Fit(w, h);
        TBitmap image;
        image.SetSize(w, h);
        geometry.PaintImage(image, *src, w, h, false);
        c.StretchDraw(all, image);
        textColour = !Enabled() ? rec->disabledfontcolor : down ? rec->downfontcolor : hot ? rec->activefontcolor
                                                                                           : rec->fontcolor;
    } else {
        DrawDefaultBox(c, all, down ? DefaultBoxState::Pressed : hot ? DefaultBoxState::Hot : DefaultBoxState::Normal);
    }
    DrawDirectionArrow(c, buttonRect_, SkinArrowKind::Down, textColour);
    const int index = ShownIndex();
    if (index < 0 || index >= Items().Count()) return;
    c.Font.Assign(rec && UseSkinFont() ? Font() : DefaultFont());
    if (rec && UseSkinFont()) {
        TFont f;
        f.Assign(Font());
        ApplyRecordFont(f, rec->fontname, rec->fontheight, rec->fontstyle);
        c.Font.Assign(f);
    }
    c.Font.SetColor(textColour);
    const TRect field = InflateRect(fieldRect_, -2, 0);
    if (OnComboBoxDrawItem) OnComboBoxDrawItem(c, index, field.Width(), field.Height(), field, 0);
    else DrawSkinItemContent(c, field, Items().Strings(index), list_->ItemContent(index));
}

void TbsSkinCustomComboBox::PaintSkinImage(TBitmap& bitmap) {
    if (toolButtonStyle_) {
        PaintToolButton(bitmap);
        return;
    }
    if (!Skinned()) {
        PaintDefaultImage(bitmap);
        return;
    }
    const bool active = !RectIsEmpty(rec_.activeskinrect) && (mouseIn_ || ShowsFocus());
    const TRect& body = active ? rec_.activeskinrect : geometry_.skinrect;
    if (useSkinSize_) {
        PaintSkinImageFrom(bitmap, body);
    } else {
        TRect client = geometry_.clientrect;
        ComposeStretchedImage(bitmap, *geometry_.SkinPicture, body, true, client);
    }
    PaintSkinnedButton(bitmap);
    if (style_ == bscbFixedStyle) PaintField(bitmap.Canvas(), true);
}

void TbsSkinCustomComboBox::PaintField(TCanvas& c, bool skinned) {
    const TRect field = fieldRect_;
    if (field.Width() <= 0 || field.Height() <= 0) return;
    const bool focused = Focused();
    const int index = ShownIndex();
    const AnsiString text = index >= 0 && index < Items().Count() ? Items().Strings(index) : AnsiString();
    TRect textRect;
    c.Font.Assign(Font());
    if (skinned) {
        const bool hot = mouseIn_ && !RectIsEmpty(rec_.activeitemrect) && !RectIsEmpty(rec_.activeskinrect);
        const TRect& src = focused ? rec_.focusitemrect : hot ? rec_.activeitemrect : rec_.itemrect;
        const bool stretch = focused ? rec_.focusitemstretcheffect : rec_.itemstretcheffect;
        if (HeightOf(src) > 0) {
            TBitmap strip;
            ComposeRowImage(rec_.itemleftoffset, rec_.itemrightoffset, strip, stretch, field.Width(), src,
                            *geometry_.SkinPicture);
            c.StretchDraw(field, strip);
        }
        textRect = rec_.itemtextrect;
        textRect.Right += field.Width() - WidthOf(rec_.itemrect);
        textRect = OffsetRect(textRect, field.Left, field.Top);
        TFont f;
        f.Assign(Font());
        ApplyRecordFont(f, rec_.fontname, rec_.fontheight, rec_.fontstyle);
        c.Font.Assign(f);
        TColor colour = focused ? rec_.focusfontcolor : hot ? rec_.activefontcolor : rec_.fontcolor;
        if (!Enabled()) colour = disabledFontColor_;
        c.Font.SetColor(colour);
    } else {
        c.Brush.Style = bsSolid;
        c.Brush.Color = focused ? clHighlight : defaultColor_;
        c.FillRect(field);
        c.Font.Assign(DefaultFont());
        c.Font.SetColor(!Enabled() ? clGrayText : focused ? clHighlightText : DefaultFont().Color());
        textRect = InflateRect(field, -2, -2);
    }
    if (OnComboBoxDrawItem) {
        OnComboBoxDrawItem(c, index, field.Width(), field.Height(), textRect, focused ? TOwnerDrawState(odFocused) : TOwnerDrawState(0));
    } else if (index >= 0 && index < Items().Count()) {
        DrawSkinItemContent(c, textRect, text, list_->ItemContent(index));
    }
    if (focused && (!skinned || rec_.showfocus)) c.DrawFocusRect(field);
}
