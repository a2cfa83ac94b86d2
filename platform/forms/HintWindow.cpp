#include "HintWindow.h"

#include "Forms.h"

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisibleFlag(false);
    SetColor(clInfoBk);
    if (Screen) SetFont(Screen->HintFont);
    Font().SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WinClassName = "THintWindow";
    p.WindowClassStyle = CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const AnsiString& hint) {
    TCanvas measure;
    measure.Font = Font();
    TRect r{0, 0, maxWidth, 0};
    measure.DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    // Two pixels of margin on every side inside the one-pixel frame.
    return {0, 0, r.Right + 6, r.Bottom + 6};
}

void THintWindow::ActivateHint(const TRect& rect, const AnsiString& hint) {
    SetCaption(hint);
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetVisibleFlag(true);
    Invalidate();
}

void THintWindow::ReleaseHint() {
    SetVisibleFlag(false);
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::WndProc(TMessage& m) {
    // A hint never takes the pointer's clicks or the activation.
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::WndProc(m);
}

void THintWindow::Paint() {
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush.Color = Color();
    c.FillRect(r);
    r = {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
    c.Brush.Style = bsClear;
    c.Font.SetColor(clInfoText);
    c.DrawText(Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}
