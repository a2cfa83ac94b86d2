// TWinControl's message handling: painting with windowless children,
// pointer routing to windowless children, the pointer-over tracking that
// drives enter/leave and hints, cursors, and the keyboard path (shortcuts
// and dialog keys first, then KeyPreview and the key events).

#include "Controls.h"
#include "Forms.h"

namespace {
bool IsDialogKey(WORD key) {
    switch (key) {
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: return true;
    default: return false;
    }
}
}  // namespace

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        PaintHandler(m);
        return;
    case WM_PRINTCLIENT: {
        HDC dc = WParamToDc(m.WParam);
        if (dc) {
            PaintWindow(dc);
            PaintControls(dc, nullptr);
        }
        return;
    }
    case WM_ERASEBKGND:
        EraseBackground(WParamToDc(m.WParam));
        m.Result = 1;
        return;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        WMWindowPosChanged(m);
        return;
    case WM_NCDESTROY:
        DefaultHandler(m);
        handle_ = nullptr;  // the window is gone; a later Handle makes a new one
        return;
    case WM_SETCURSOR:
        SetCursorFor(m);
        return;
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
        DefaultHandler(m);
        return;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        m.Result = DoKeyMessage(m) ? 1 : 0;
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = WORD(m.WParam);
        const TShiftState shift = KeyDataToShiftState(m.LParam);
        const bool down = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN;
        TCustomForm* form = GetParentForm(this);
        if (form && form != this && form->KeyPreview) {
            auto* preview = static_cast<TWinControl*>(form);
            if (down) preview->KeyDown(key, shift);
            else preview->KeyUp(key, shift);
        }
        if (key) {
            if (down) KeyDown(key, shift);
            else KeyUp(key, shift);
        }
        if (!key) return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        char ch = char(m.WParam);
        TCustomForm* form = GetParentForm(this);
        if (form && form != this && form->KeyPreview) static_cast<TWinControl*>(form)->KeyPress(ch);
        if (ch) KeyPress(ch);
        if (!ch) return;
        m.WParam = WPARAM(static_cast<unsigned char>(ch));
        break;
    }
    case CN_CHAR: {
        // A printable character the focused control does not take is offered
        // to the form as a dialog character: the accelerator of a button or
        // label takes it.
        const auto ch = static_cast<unsigned char>(m.WParam);
        if (ch < 0x20 || ch == 0x7F) return;
        if (Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return;
        if (TCustomForm* form = GetParentForm(this)) m.Result = form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
        return;
    }
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        // Offered to the children (a default or cancel button takes Enter or
        // Escape, a control with that accelerator the character).
        Broadcast(m);
        return;
    case CM_FOCUSCHANGED: {
        // Every control of the form hears it; none may end its way.
        const std::vector<TControl*> kids = [this] {
            std::vector<TControl*> v;
            for (int i = 0; i < ControlCount(); ++i) v.push_back(Controls(i));
            return v;
        }();
        for (TControl* c : kids) c->Perform(m.Msg, m.WParam, m.LParam);
        return;
    }
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    default:
        if (IsMouseMessage(m.Msg) && IsControlMouseMsg(m)) return;
        break;
    }
    TControl::WndProc(m);
}

bool TWinControl::IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL;
}

void TWinControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT:
        TControl::DefaultHandler(m);
        // The window keeps the text too: the frame shows it as the caption.
        if (handle_) m.Result = CallWindowProc(DefWndProc, handle_, m.Msg, m.WParam, m.LParam);
        return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        TControl::DefaultHandler(m);
        return;
    case WM_CONTEXTMENU:
        if (handle_) {
            m.Result = CallWindowProc(DefWndProc, handle_, m.Msg, m.WParam, m.LParam);
            return;
        }
        TControl::DefaultHandler(m);
        return;
    default:
        break;
    }
    if (handle_ && m.Msg < CM_BASE) {
        m.Result = CallWindowProc(DefWndProc, handle_, m.Msg, m.WParam, m.LParam);
        return;
    }
    TControl::DefaultHandler(m);
}

// ---- painting ----------------------------------------------------------------------------

void TWinControl::PaintHandler(TMessage& m) {
    ReleaseCachedDC();
    if (HDC given = WParamToDc(m.WParam)) {
        PaintWindow(given);
        PaintControls(given, nullptr);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, ps);
    if (!dc) return;
    PaintWindow(dc);
    PaintControls(dc, nullptr);
    EndPaint(handle_, ps);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    bool started = first == nullptr;
    const std::vector<TControl*> kids = controls_;
    for (TControl* c : kids) {
        if (!started) {
            started = c == first;
            if (!started) continue;
        }
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        const TRect r = c->BoundsRect();
        if (IsRectEmpty(r) || !dc->RectVisible(r)) continue;
        const int saved = dc->SaveDC();
        dc->MoveOrigin(r.Left, r.Top);
        dc->IntersectClipRect({0, 0, r.Width(), r.Height()});
        c->Perform(WM_PAINT, DcToWParam(dc), 0);
        dc->RestoreDC(saved);
    }
}

void TWinControl::EraseBackground(HDC dc) {
    if (!dc || (ControlStyle & csOpaque)) return;
    dc->Brush.Style = bsSolid;
    dc->Brush.Color = Color();
    dc->FillRect(ClientRect());
}

// ---- pointer ------------------------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    if (captureControl_ && (!handle_ || GetCapture() != handle_)) captureControl_ = nullptr;
    TControl* target = captureControl_;
    const TPoint p = LParamToPoint(m.LParam);
    if (!target) target = ControlAtPos(p, false);
    if (!target || target->Parent() != this) return false;
    const TPoint local{p.X - target->Left(), p.Y - target->Top()};
    TMessage fwd{m.Msg, m.WParam, PointToLParam(local), 0};
    // A double click on a control that does not want them is a second press.
    if (!(target->ControlStyle & csDoubleClicks)) {
        if (fwd.Msg == WM_LBUTTONDBLCLK) fwd.Msg = WM_LBUTTONDOWN;
        else if (fwd.Msg == WM_RBUTTONDBLCLK) fwd.Msg = WM_RBUTTONDOWN;
        else if (fwd.Msg == WM_MBUTTONDBLCLK) fwd.Msg = WM_MBUTTONDOWN;
    }
    target->WindowProc(fwd);
    m.Result = fwd.Result;
    return true;
}

void TWinControl::TrackMouseControl(TMessage& m) {
    if (!Application) return;
    const bool holding = handle_ && GetCapture() == handle_;
    if (m.Msg == WM_MOUSELEAVE) {
        mouseTracked_ = false;
        // While a control holds the pointer its moves decide (below).
        if (GetCaptureControl()) return;
        TControl* over = Application->MouseControl();
        if (over == this || (over && over->Parent() == this)) Application->NoteMouseControl(nullptr);
        return;
    }
    if (m.Msg == WM_NCMOUSEMOVE) {
        Application->NoteMouseControl(this);
        return;
    }
    if (holding) {
        // The moves come here wherever the pointer is: what lies under it
        // tells whether the holding control is left or entered again.
        Application->NoteMouseControl(FindDragTarget(ClientToScreen(LParamToPoint(m.LParam)), false));
        return;
    }
    TControl* target = captureControl_;
    if (!target) target = ControlAtPos(LParamToPoint(m.LParam), false);
    if (!target || target->Parent() != this) target = this;
    if (!mouseTracked_ && handle_) {
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = handle_;
        mouseTracked_ = TrackMouseEvent(tme) != FALSE;
    }
    Application->NoteMouseControl(target);
}

void TWinControl::SetCursorFor(TMessage& m) {
    const int hit = std::int16_t(LOWORD(std::uintptr_t(m.LParam)));
    const auto over = reinterpret_cast<HWND>(m.WParam);
    if (hit == HTCLIENT && over == handle_) {
        TCursor c = Screen ? Screen->Cursor() : crDefault;
        if (c == crDefault) {
            TPoint p;
            GetCursorPos(p);
            p = ScreenToClient(p);
            TControl* child = captureControl_ ? captureControl_ : ControlAtPos(p, false);
            if (child && child->Cursor() != crDefault) c = child->Cursor();
        }
        if (c == crDefault) c = Cursor();
        if (c != crDefault) {
            ::SetCursor(CursorHandle(c));
            m.Result = TRUE;
            return;
        }
    } else if (hit == HTCLIENT && over != handle_) {
        // A child asks first; only the screen-wide cursor overrides it.
        if (Screen && Screen->Cursor() != crDefault) {
            ::SetCursor(CursorHandle(Screen->Cursor()));
            m.Result = TRUE;
        } else {
            m.Result = FALSE;
        }
        return;
    }
    DefaultHandler(m);
}

// ---- keyboard -------------------------------------------------------------------------------

bool TWinControl::DoKeyMessage(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    TWMKey key{m.Msg == CN_KEYDOWN ? WM_KEYDOWN : WM_SYSKEYDOWN, WORD(m.WParam), m.LParam, 0};
    if (form->IsShortCut(key)) return true;
    if (m.Msg != CN_KEYDOWN || !IsDialogKey(key.CharCode)) return false;
    const LRESULT code = Perform(WM_GETDLGCODE);
    if (code & DLGC_WANTALLKEYS) return false;
    switch (key.CharCode) {
    case VK_TAB:
        if (code & DLGC_WANTTAB) return false;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS) return false;
        break;
    default:
        break;
    }
    return form->Perform(CM_DIALOGKEY, key.CharCode, key.KeyData) != 0;
}
