#include "TCustomEdit.h"

#include <algorithm>

#include "Menus.h"

namespace {

AnsiString ApplyCharCase(const AnsiString& text, TEditCharCase cc) {
    switch (cc) {
    case ecUpperCase: return UpperCase(text);
    case ecLowerCase: return LowerCase(text);
    default: return text;
    }
}

bool IsKeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner, bool multiLine)
    : TWinControl(AOwner),
      buffer_(multiLine),
      bars_([this](UINT msg, int code, int pos) { Perform(msg, MAKEWPARAM(code, pos), 0); }) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    SetCursor(crIBeam);
    ControlStyle = csClickEvents | csSetCaption | csDoubleClicks;
    bars_.SetAllowed(false, false, nullptr);
    MeasureFont();
    layout_.Build(buffer_.Text(), 0, false, [this](std::string_view s) { return Measure(s); });
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = buffer_.MultiLine() ? "TMemo" : "TEdit";
    Params.WindowClassBackground = clNone;  // the control paints its own background
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    MeasureFont();
    TextLayoutChanged();
}

void TCustomEdit::DestroyWnd() {
    if (caretMade_) {
        DestroyCaret();
        caretMade_ = false;
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == editMenu_) editMenu_ = nullptr;
}

// --- properties --------------------------------------------------------------------

void TCustomEdit::SetReadOnly(bool value) { Perform(EM_SETREADONLY, value ? 1 : 0); }

void TCustomEdit::SetMaxLength(int value) { Perform(EM_LIMITTEXT, WPARAM(std::max(0, value))); }

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    bars_.SetBorder(value != bsNone, HandleAllocated() ? Handle() : nullptr);
    TextLayoutChanged();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    charCase_ = value;
    if (value != ecNormal) SetText(ApplyCharCase(buffer_.Text(), value));
}

void TCustomEdit::SetHideSelection(bool value) {
    hideSelection_ = value;
    Invalidate();
}

void TCustomEdit::SetTransparentText(bool value) {
    transparentText_ = value;
    Invalidate();
}

void TCustomEdit::SetSelStart(int value) { Perform(EM_SETSEL, WPARAM(std::max(0, value)), LPARAM(std::max(0, value))); }

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStart();
    Perform(EM_SETSEL, WPARAM(start), LPARAM(start + std::max(0, value)));
}

void TCustomEdit::SetSelText(const AnsiString& value) { Perform(EM_REPLACESEL, 0, ToLParam(value.c_str())); }

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

// --- measuring and layout ---------------------------------------------------------------

void TCustomEdit::MeasureFont() {
    measureCanvas_.Font.Assign(Font());
    lineHeight_ = std::max(1, measureCanvas_.TextHeight("Wg"));
}

int TCustomEdit::Measure(std::string_view text) { return measureCanvas_.TextWidth(AnsiString(text)); }

int TCustomEdit::LineHeight() const { return lineHeight_; }

TRect TCustomEdit::FormatRect() const {
    if (fixedFormatRect_) return *fixedFormatRect_;
    const TRect c = HandleAllocated() ? ClientRect() : TRect{0, 0, Width() - 2 * bars_.BorderWidth(), Height() - 2 * bars_.BorderWidth()};
    TRect r{c.Left + leftMargin_, c.Top, c.Right - rightMargin_, c.Bottom};
    if (!buffer_.MultiLine()) {
        // One line sits in the middle of the field.
        r.Top = std::max(0, (c.Height() - lineHeight_) / 2);
        r.Bottom = r.Top + lineHeight_;
    }
    if (r.Right < r.Left) r.Right = r.Left;
    return r;
}

int TCustomEdit::VisibleLineCount() const {
    return std::max(1, FormatRect().Height() / std::max(1, lineHeight_));
}

void TCustomEdit::TextLayoutChanged() {
    const int width = FormatRect().Width();
    layout_.Build(buffer_.Text(), width, buffer_.MultiLine() && wordWrap_,
                  [this](std::string_view s) { return Measure(s); });
    RefreshScrollInfo();
    // The bars may have changed the client area, and with it the wrap width.
    if (FormatRect().Width() != width) {
        layout_.Build(buffer_.Text(), FormatRect().Width(), buffer_.MultiLine() && wordWrap_,
                      [this](std::string_view s) { return Measure(s); });
        RefreshScrollInfo();
    }
    ScrollCaretIntoView();
    Invalidate();
}

void TCustomEdit::RefreshScrollInfo() {
    const HWND h = HandleAllocated() ? Handle() : nullptr;
    const int visible = VisibleLineCount();
    topLine_ = std::clamp(topLine_, 0, std::max(0, layout_.Count() - visible));
    bars_.SetInfo(SB_VERT, {0, layout_.Count() - 1, visible, topLine_}, h);
    const int widest = layout_.MaxWidth() + 1;
    const int page = std::max(1, FormatRect().Width());
    if (!wordWrap_ || !buffer_.MultiLine()) scrollX_ = std::clamp(scrollX_, 0, std::max(0, widest - page));
    bars_.SetInfo(SB_HORZ, {0, widest - 1, page, scrollX_}, h);
}

void TCustomEdit::SetTopLine(int line) {
    line = std::clamp(line, 0, std::max(0, layout_.Count() - VisibleLineCount()));
    if (line == topLine_) return;
    topLine_ = line;
    RefreshScrollInfo();
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::SetScrollX(int x) {
    x = std::max(0, x);
    if (x == scrollX_) return;
    scrollX_ = x;
    RefreshScrollInfo();
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::ScrollCaretIntoView() {
    const int line = layout_.LineOf(buffer_.Caret());
    const int visible = VisibleLineCount();
    if (buffer_.MultiLine()) {
        if (line < topLine_) topLine_ = line;
        else if (line >= topLine_ + visible) topLine_ = line - visible + 1;
    }
    const TRect fr = FormatRect();
    const int x = LineIndent(line) + layout_.XOf(line, buffer_.Caret());
    const int width = std::max(1, fr.Width());
    if (x < scrollX_ || x >= scrollX_ + width) {
        // Jump by a third of the width, as the platform's edit does, so that
        // typing at the edge does not scroll at every character.
        if (x < scrollX_) scrollX_ = std::max(0, x - width / 3);
        else scrollX_ = x - width + width / 3;
        Invalidate();
    }
    // Text that fits needs no scroll.
    if (layout_.MaxWidth() < width) scrollX_ = 0;
    RefreshScrollInfo();
    UpdateCaret();
}

int TCustomEdit::LineIndent(int line) const {
    if (alignment_ == taLeftJustify || line < 0 || line >= layout_.Count()) return 0;
    const int room = FormatRect().Width() - layout_.XOf(line, layout_.Line(line).End) - 1;
    if (room <= 0) return 0;
    return alignment_ == taRightJustify ? room : room / 2;
}

void TCustomEdit::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    UpdateCaret();
    Invalidate();
}

TPoint TCustomEdit::CaretPos() const {
    const TRect fr = FormatRect();
    const int line = layout_.LineOf(buffer_.Caret());
    return {fr.Left + LineIndent(line) + layout_.XOf(line, buffer_.Caret()) - scrollX_,
            fr.Top + (line - topLine_) * lineHeight_};
}

void TCustomEdit::UpdateCaret() {
    if (!caretMade_) return;
    const TPoint p = CaretPos();
    SetCaretPos(p.X, p.Y);
}

std::size_t TCustomEdit::OffsetAtPoint(TPoint client) const {
    const TRect fr = FormatRect();
    int line = topLine_ + (client.Y - fr.Top) / std::max(1, lineHeight_);
    if (client.Y < fr.Top) line = topLine_ - 1;
    line = std::clamp(line, 0, layout_.Count() - 1);
    return layout_.OffsetAt(line, client.X - fr.Left - LineIndent(line) + scrollX_);
}

// --- painting ---------------------------------------------------------------------------

void TCustomEdit::PaintText(HDC dc) {
    TCanvas& c = *dc;
    const TRect client = ClientRect();
    if (!transparentText_) {
        c.Brush.Style = bsSolid;
        c.Brush.Color = Color();
        c.FillRect(client);
    }
    c.Font.Assign(Font());
    const TRect fr = FormatRect();
    c.SaveDC();
    c.IntersectClipRect({fr.Left, client.Top, fr.Right, client.Bottom});
    const bool showSel = buffer_.HasSelection() && (Focused() || !hideSelection_);
    const std::size_t s0 = buffer_.SelStart();
    const std::size_t s1 = buffer_.SelEnd();
    const AnsiString& text = buffer_.Text();
    const int last = std::min(layout_.Count(), topLine_ + VisibleLineCount() + 1);
    for (int i = topLine_; i < last; ++i) {
        const TMemoLine& l = layout_.Line(i);
        const int y = fr.Top + (i - topLine_) * lineHeight_;
        const int x0 = fr.Left + LineIndent(i) - scrollX_;
        auto segment = [&](std::size_t a, std::size_t b, bool selected) {
            if (b <= a) return;
            const int xa = x0 + layout_.XOf(i, a);
            const AnsiString part = text.substr(a, b - a);
            if (selected) {
                c.Brush.Style = bsSolid;
                c.Brush.Color = clHighlight;
                c.Font.SetColor(clHighlightText);
            } else {
                c.Brush.Style = bsClear;
                c.Font.SetColor(Enabled() ? Font().Color() : clGrayText);
            }
            c.TextOut(xa, y, part);
        };
        if (!showSel || s1 <= l.Start || s0 >= l.End) {
            segment(l.Start, l.End, false);
        } else {
            const std::size_t a = std::max(s0, l.Start);
            const std::size_t b = std::min(s1, l.End);
            segment(l.Start, a, false);
            segment(a, b, true);
            segment(b, l.End, false);
        }
        // A selected line break shows as a small highlighted cell.
        if (showSel && l.HardBreak && l.Next > l.End && s0 <= l.End && s1 > l.End) {
            c.Brush.Style = bsSolid;
            c.Brush.Color = clHighlight;
            const int xe = x0 + layout_.XOf(i, l.End);
            c.FillRect({xe, y, xe + lineHeight_ / 3, y + lineHeight_});
        }
    }
    c.RestoreDC();
    c.Brush.Style = bsSolid;
}

// --- editing ------------------------------------------------------------------------------

void TCustomEdit::AfterEdit() {
    modified_ = true;
    pendingLead_ = -1;
    preferredX_ = -1;
    TextLayoutChanged();
    Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::InsertText(const AnsiString& text, bool typed) {
    if (readOnly_) {
        MessageBeep(0);
        return;
    }
    const AnsiString before = buffer_.Text();
    if (!buffer_.ReplaceSelection(ApplyCharCase(text, charCase_), typed)) MessageBeep(0);
    if (buffer_.Text() != before) AfterEdit();
    else ScrollCaretIntoView();
}

void TCustomEdit::MoveCaretTo(std::size_t pos, bool extend) {
    buffer_.MoveCaret(pos, extend);
    ScrollCaretIntoView();
    Invalidate();
}

void TCustomEdit::HandleKeyDown(TMessage& m) {
    const int vk = int(m.WParam);
    const bool shift = IsKeyHeld(VK_SHIFT);
    const bool ctrl = IsKeyHeld(VK_CONTROL);
    const std::size_t caret = buffer_.Caret();
    const int line = layout_.LineOf(caret);
    auto vertical = [&](int delta) {
        if (!buffer_.MultiLine()) return;
        if (preferredX_ < 0) preferredX_ = LineIndent(line) + layout_.XOf(line, caret);
        const int target = std::clamp(line + delta, 0, layout_.Count() - 1);
        const int keepX = preferredX_;
        if (target == line) {
            // Past the first or last line the caret goes to that line's end.
            MoveCaretTo(delta < 0 ? layout_.Line(0).Start : layout_.Line(layout_.Count() - 1).End, shift);
        } else {
            MoveCaretTo(layout_.OffsetAt(target, keepX - LineIndent(target)), shift);
        }
        preferredX_ = keepX;
    };
    switch (vk) {
    case VK_LEFT:
        preferredX_ = -1;
        if (buffer_.HasSelection() && !shift) MoveCaretTo(buffer_.SelStart(), false);
        else MoveCaretTo(ctrl ? buffer_.PrevWord(caret) : buffer_.PrevChar(caret), shift);
        break;
    case VK_RIGHT:
        preferredX_ = -1;
        if (buffer_.HasSelection() && !shift) MoveCaretTo(buffer_.SelEnd(), false);
        else MoveCaretTo(ctrl ? buffer_.NextWord(caret) : buffer_.NextChar(caret), shift);
        break;
    case VK_HOME:
        preferredX_ = -1;
        MoveCaretTo(ctrl ? 0 : layout_.Line(line).Start, shift);
        break;
    case VK_END:
        preferredX_ = -1;
        MoveCaretTo(ctrl ? buffer_.Text().size() : layout_.Line(line).End, shift);
        break;
    case VK_UP: vertical(-1); break;
    case VK_DOWN: vertical(1); break;
    case VK_PRIOR:
        if (buffer_.MultiLine()) {
            SetTopLine(topLine_ - VisibleLineCount());
            vertical(-VisibleLineCount());
        }
        break;
    case VK_NEXT:
        if (buffer_.MultiLine()) {
            SetTopLine(topLine_ + VisibleLineCount());
            vertical(VisibleLineCount());
        }
        break;
    case VK_DELETE:
        if (shift) Perform(WM_CUT);
        else if (buffer_.HasSelection()) Perform(WM_CLEAR);
        else if (readOnly_) MessageBeep(0);
        else if (buffer_.DeleteForward()) AfterEdit();
        break;
    case VK_INSERT:
        if (ctrl) Perform(WM_COPY);
        else if (shift) Perform(WM_PASTE);
        break;
    case VK_APPS:
        // The menu key asks for the context menu at the control's centre.
        Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), MAKELPARAM(-1, -1));
        break;
    case 'A':
        if (ctrl) SelectAll();
        break;
    case 'C':
        if (ctrl) Perform(WM_COPY);
        break;
    case 'X':
        if (ctrl) Perform(WM_CUT);
        break;
    case 'V':
        if (ctrl) Perform(WM_PASTE);
        break;
    case 'Z':
        if (ctrl) Perform(WM_UNDO);
        break;
    default: break;
    }
}

void TCustomEdit::HandleChar(TMessage& m) {
    const auto b = static_cast<unsigned char>(m.WParam & 0xFF);
    if (pendingLead_ >= 0) {
        // The second byte of a double-byte character: insert both together,
        // so the caret never stands between them.
        AnsiString ch;
        ch += char(pendingLead_);
        ch += char(b);
        pendingLead_ = -1;
        InsertText(ch, true);
        return;
    }
    if (b == VK_BACK) {
        if (readOnly_) MessageBeep(0);
        else if (buffer_.DeleteBack()) AfterEdit();
        return;
    }
    if (b == '\r') {
        if (buffer_.MultiLine() && wantReturns_) InsertText("\r\n", true);
        return;
    }
    if (b == '\t') {
        if (buffer_.MultiLine() && wantTabs_) InsertText("\t", true);
        return;
    }
    if (b < 0x20 || b == 0x7F) return;  // Ctrl+letter combinations are handled as keys
    if (IsLeadByte(b)) {
        pendingLead_ = b;
        return;
    }
    InsertText(AnsiString(1, char(b)), true);
}

void TCustomEdit::HandleScroll(UINT msg, int code, int pos) {
    const bool vert = msg == WM_VSCROLL;
    const TScrollInfo info = bars_.Info(vert ? SB_VERT : SB_HORZ);
    const int line = vert ? 1 : std::max(1, lineHeight_);
    const int page = std::max(1, info.Page);
    int target = info.Pos;
    switch (code) {
    case SB_LINEUP: target -= line; break;
    case SB_LINEDOWN: target += line; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = pos; break;
    case SB_TOP: target = info.Min; break;
    case SB_BOTTOM: target = info.Max; break;
    default: return;
    }
    if (vert) SetTopLine(target);
    else SetScrollX(std::clamp(target, 0, info.MaxPos()));
}

bool TCustomEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (!buffer_.MultiLine()) return false;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines);
    const int notches = WheelDelta / WHEEL_DELTA;
    SetTopLine(topLine_ - notches * int(lines));
    return true;
}

// --- the context menu ----------------------------------------------------------------------

void TCustomEdit::ShowContextMenu(TPoint screen) {
    if (editMenu_) FreeComponent(editMenu_);
    TPopupMenu* menu = CreateComponent<TPopupMenu>(this);
    editMenu_ = menu;
    menu->FreeNotification(this);
    const bool hasSel = buffer_.HasSelection();
    struct Entry {
        const char* caption;
        bool enabled;
        UINT msg;
    };
    const Entry entries[] = {
        {"&Undo", buffer_.CanUndo() && !readOnly_, WM_UNDO},
        {"-", true, 0},
        {"Cu&t", hasSel && !readOnly_, WM_CUT},
        {"&Copy", hasSel, WM_COPY},
        {"&Paste", !readOnly_ && IsClipboardFormatAvailable(CF_TEXT), WM_PASTE},
        {"&Delete", hasSel && !readOnly_, WM_CLEAR},
        {"-", true, 0},
        {"Select &All", buffer_.SelLength() < buffer_.Text().size(), EM_SETSEL},
    };
    for (const Entry& e : entries) {
        TMenuItem* item = CreateComponent<TMenuItem>(menu);
        item->SetCaption(e.caption);
        item->Enabled = e.enabled;
        if (e.msg == EM_SETSEL) item->OnClick = [this](TObject*) { SelectAll(); };
        else if (e.msg) item->OnClick = [this, msg = e.msg](TObject*) { Perform(msg); };
        menu->Items()->Add(item);
    }
    if (screen.X < 0 || screen.Y < 0) screen = ClientToScreen({Width() / 2, Height() / 2});
    menu->SetPopupComponent(this);
    menu->Popup(screen.X, screen.Y);
    // The menu has closed and its command has run; it is of no further use.
    if (editMenu_ == menu) {
        editMenu_ = nullptr;
        FreeComponent(menu);
    }
}

// --- messages --------------------------------------------------------------------------------

void TCustomEdit::WndProc(TMessage& m) {
    // The frame and scroll bars come first: while a bar is held, pointer
    // messages belong to it, not to text selection.
    if (HandleAllocated() && bars_.HandleMessage(m, Handle(), Enabled())) return;
    switch (m.Msg) {
    case CM_FONTCHANGED:
        MeasureFont();
        TextLayoutChanged();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!Focused() && CanFocus()) SetFocus();
        const TPoint p = LParamToPoint(m.LParam);
        if (m.Msg == WM_LBUTTONDBLCLK) {
            std::size_t s = 0, e = 0;
            buffer_.WordAt(OffsetAtPoint(p), s, e);
            buffer_.Select(s, e - s);
            ScrollCaretIntoView();
            Invalidate();
        } else {
            MoveCaretTo(OffsetAtPoint(p), (m.WParam & MK_SHIFT) != 0);
            selecting_ = true;
            SetCapture(Handle());
        }
        preferredX_ = -1;
        break;
    }
    case WM_MOUSEMOVE:
        if (selecting_ && (m.WParam & MK_LBUTTON)) MoveCaretTo(OffsetAtPoint(LParamToPoint(m.LParam)), true);
        break;
    case WM_LBUTTONUP:
        if (selecting_) {
            selecting_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::PaintWindow(HDC DC) { PaintText(DC); }

// The text painting fills the whole client area itself.
void TCustomEdit::EraseBackground(HDC) {}

void TCustomEdit::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT: {
        const AnsiString text = m.LParam ? AnsiString(FromLParam<const char>(m.LParam)) : AnsiString();
        const AnsiString before = buffer_.Text();
        buffer_.SetText(text);
        topLine_ = 0;
        scrollX_ = 0;
        modified_ = false;
        pendingLead_ = -1;
        TextLayoutChanged();
        StoredText() = buffer_.Text();
        if (buffer_.Text() != before) Change();
        m.Result = TRUE;
        return;
    }
    case WM_GETTEXT: {
        char* out = FromLParam<char>(m.LParam);
        if (!out || m.WParam == 0) {
            m.Result = 0;
            return;
        }
        const std::size_t n = std::min<std::size_t>(buffer_.Text().size(), m.WParam - 1);
        std::copy_n(buffer_.Text().data(), n, out);
        out[n] = '\0';
        m.Result = LRESULT(n);
        return;
    }
    case WM_GETTEXTLENGTH:
        m.Result = LRESULT(buffer_.Text().size());
        return;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        if (buffer_.MultiLine()) {
            if (wantReturns_) code |= DLGC_WANTALLKEYS;
            if (wantTabs_) code |= DLGC_WANTTAB;
        }
        m.Result = code;
        return;
    }
    case WM_SIZE:
        TWinControl::DefaultHandler(m);
        TextLayoutChanged();
        return;
    case WM_SETFOCUS:
        CreateCaret(Handle(), 1, lineHeight_);
        caretMade_ = true;
        UpdateCaret();
        ShowCaret(Handle());
        if (AutoSelect && !buffer_.MultiLine() && !IsKeyHeld(VK_LBUTTON)) buffer_.SelectAll();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        if (caretMade_) {
            DestroyCaret();
            caretMade_ = false;
        }
        pendingLead_ = -1;
        selecting_ = false;
        Invalidate();
        return;
    case WM_ENABLE:
        Invalidate();
        break;
    case WM_KEYDOWN:
        if (HandleAllocated()) HandleKeyDown(m);
        return;
    case WM_CHAR:
        if (HandleAllocated()) HandleChar(m);
        return;
    case WM_CAPTURECHANGED:
        selecting_ = false;
        break;
    case WM_CONTEXTMENU:
        // Reached only when no PopupMenu of the control took the request.
        ShowContextMenu(LParamToPoint(m.LParam));
        m.Result = 0;
        return;
    case WM_VSCROLL:
    case WM_HSCROLL:
        HandleScroll(m.Msg, LOWORD(m.WParam), std::int16_t(HIWORD(m.WParam)));
        m.Result = 0;
        return;
    case WM_COPY:
        if (buffer_.HasSelection()) SetClipboardText(buffer_.SelText());
        m.Result = 0;
        return;
    case WM_CUT:
        if (readOnly_) {
            MessageBeep(0);
        } else if (buffer_.HasSelection()) {
            SetClipboardText(buffer_.SelText());
            buffer_.ClearSelection();
            AfterEdit();
        }
        m.Result = 0;
        return;
    case WM_PASTE:
        if (IsClipboardFormatAvailable(CF_TEXT)) {
            // A one-line box without a limit of its own takes the platform's
            // default one for a paste; the buffer cuts at a character.
            // The limit is lifted again even when a change handler raises.
            struct PasteLimit {
                TEditBuffer& buffer;
                const bool set = buffer.MaxLength() == 0 && !buffer.MultiLine();
                explicit PasteLimit(TEditBuffer& b) : buffer(b) {
                    if (set) buffer.SetMaxLength(kEditDefaultPasteLimit);
                }
                ~PasteLimit() {
                    if (set) buffer.SetMaxLength(0);
                }
            } limit(buffer_);
            InsertText(GetClipboardText());
        }
        m.Result = 0;
        return;
    case WM_CLEAR:
        if (readOnly_) MessageBeep(0);
        else if (buffer_.ClearSelection()) AfterEdit();
        m.Result = 0;
        return;
    case WM_UNDO:
    case EM_UNDO:
        m.Result = (!readOnly_ && buffer_.Undo()) ? TRUE : FALSE;
        if (m.Result) AfterEdit();
        return;
    case EM_CANUNDO:
        m.Result = buffer_.CanUndo();
        return;
    case EM_EMPTYUNDOBUFFER:
        buffer_.ClearUndo();
        return;
    case EM_GETSEL:
        if (m.WParam) *FromLParam<DWORD>(LPARAM(m.WParam)) = DWORD(buffer_.SelStart());
        if (m.LParam) *FromLParam<DWORD>(m.LParam) = DWORD(buffer_.SelEnd());
        m.Result = MAKELRESULT(int(buffer_.SelStart()), int(buffer_.SelEnd()));
        return;
    case EM_SETSEL: {
        // (start, -1) selects to the end; a negative start removes the selection.
        const auto start = static_cast<std::intptr_t>(m.WParam);
        const auto end = static_cast<std::intptr_t>(m.LParam);
        const std::size_t size = buffer_.Text().size();
        if (start < 0) {
            buffer_.MoveCaret(buffer_.Caret(), false);
        } else {
            const std::size_t s = std::min<std::size_t>(std::size_t(start), size);
            const std::size_t e = end < 0 ? size : std::min<std::size_t>(std::size_t(end), size);
            if (e >= s) buffer_.Select(s, e - s);
            else {
                buffer_.Select(e, s - e);
                buffer_.MoveCaret(buffer_.SelStart(), true);
            }
        }
        ScrollCaretIntoView();
        Invalidate();
        return;
    }
    case EM_REPLACESEL: {
        const AnsiString text = m.LParam ? AnsiString(FromLParam<const char>(m.LParam)) : AnsiString();
        const AnsiString before = buffer_.Text();
        buffer_.ReplaceSelection(text);
        if (buffer_.Text() != before) AfterEdit();
        return;
    }
    case EM_SETREADONLY:
        readOnly_ = m.WParam != 0;
        m.Result = TRUE;
        return;
    case EM_LIMITTEXT:
        buffer_.SetMaxLength(int(m.WParam));
        return;
    case EM_GETMODIFY:
        m.Result = modified_;
        return;
    case EM_SETMODIFY:
        modified_ = m.WParam != 0;
        return;
    case EM_GETLINECOUNT:
        m.Result = layout_.Count();
        return;
    case EM_GETFIRSTVISIBLELINE:
        m.Result = topLine_;
        return;
    case EM_LINEINDEX: {
        const int line = int(static_cast<std::intptr_t>(m.WParam)) < 0 ? layout_.LineOf(buffer_.Caret()) : int(m.WParam);
        m.Result = line < layout_.Count() ? LRESULT(layout_.Line(line).Start) : -1;
        return;
    }
    case EM_LINEFROMCHAR:
        m.Result = layout_.LineOf(static_cast<std::intptr_t>(m.WParam) < 0 ? buffer_.Caret() : std::size_t(m.WParam));
        return;
    case EM_LINESCROLL:
        SetTopLine(topLine_ + int(static_cast<std::intptr_t>(m.LParam)));
        SetScrollX(scrollX_ + int(static_cast<std::intptr_t>(m.WParam)) * std::max(1, Measure("x")));
        m.Result = TRUE;
        return;
    case EM_SCROLL:
        HandleScroll(WM_VSCROLL, int(m.WParam), 0);
        m.Result = TRUE;
        return;
    case EM_SCROLLCARET:
        ScrollCaretIntoView();
        m.Result = TRUE;
        return;
    case EM_SETMARGINS:
        if (m.WParam & EC_LEFTMARGIN) leftMargin_ = LOWORD(std::uintptr_t(m.LParam));
        if (m.WParam & EC_RIGHTMARGIN) rightMargin_ = HIWORD(std::uintptr_t(m.LParam));
        TextLayoutChanged();
        return;
    case EM_GETMARGINS:
        m.Result = MAKELRESULT(leftMargin_, rightMargin_);
        return;
    case EM_GETRECT:
        if (m.LParam) *FromLParam<TRect>(m.LParam) = FormatRect();
        return;
    case EM_SETRECT:
        if (m.LParam) fixedFormatRect_ = *FromLParam<const TRect>(m.LParam);
        else fixedFormatRect_.reset();
        TextLayoutChanged();
        return;
    default:
        break;
    }
    TWinControl::DefaultHandler(m);
}
