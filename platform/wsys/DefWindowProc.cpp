// The default window procedure: what the platform does with a message no
// window procedure took. It owns the default frame (size, hit test, look),
// turns frame presses into the move/size loop and window commands, chooses
// cursors, stores the window text, erases with the class background, and
// turns window position changes into WM_MOVE and WM_SIZE.

#include <algorithm>
#include <cstring>

#include "WindowSystemState.h"

TRect DefaultFrameInsets(DWORD style, DWORD exStyle) {
    int b = 0;
    if (style & WS_THICKFRAME) b = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) b = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER) b = GetSystemMetrics(SM_CXBORDER);
    TRect in{b, b, b, b};
    if ((style & WS_CAPTION) == WS_CAPTION)
        in.Top += (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    const int edge = (exStyle & WS_EX_CLIENTEDGE) ? 2 : (exStyle & WS_EX_STATICEDGE) ? 1 : 0;
    in.Left += edge, in.Top += edge, in.Right += edge, in.Bottom += edge;
    return in;
}

namespace {
bool HasFrame(const Window* w) {
    const TRect in = DefaultFrameInsets(w->style, w->exStyle);
    return in.Left || in.Top || in.Right || in.Bottom;
}

int OuterBorder(const Window* w) {
    if (w->style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
    if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
    return (w->style & WS_BORDER) ? 1 : 0;
}

TRect CaptionRect(const Window* w) {
    if ((w->style & WS_CAPTION) != WS_CAPTION) return {};
    const int b = OuterBorder(w);
    const int h = (w->exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    return {b, b, w->Width() - b, b + h - 1};
}

LRESULT DefaultHitTest(WindowSystem& s, Window* w, TPoint screen) {
    const TPoint o = s.ScreenOrigin(w);
    const TPoint p{screen.X - o.X, screen.Y - o.Y};
    if (!PtInRect(ToWindowRect(w), p)) return HTNOWHERE;
    if (PtInRect(w->client, p)) return HTCLIENT;
    const int W = w->Width(), H = w->Height();
    if ((w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        const int b = GetSystemMetrics(SM_CXFRAME);
        const int corner = GetSystemMetrics(SM_CYCAPTION) + b;
        const bool left = p.X < b, right = p.X >= W - b, top = p.Y < b, bottom = p.Y >= H - b;
        const bool nearLeft = p.X < corner, nearRight = p.X >= W - corner;
        const bool nearTop = p.Y < corner, nearBottom = p.Y >= H - corner;
        if (top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
        if (bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
        if (right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if (PtInRect(CaptionRect(w), p)) return HTCAPTION;
    return HTBORDER;
}

int CursorForHit(int ht) {
    switch (ht) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
    default: return IDC_ARROW;
    }
}

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_NCLBUTTONDOWN ||
           msg == WM_NCRBUTTONDOWN || msg == WM_NCMBUTTONDOWN;
}

void RepaintFrame(WindowSystem& s, Window* w) {
    if (!HasFrame(w) || !s.IsShown(w)) return;
    TRegion frame(ToWindowRect(w));
    frame.Combine(frame, TRegion(w->client), RGN_DIFF);
    s.Invalidate(w, frame, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    s.SendNcPaint(w);
}

void Bevel(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
    c.Pen.Color = topLeft;
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right - 1, r.Top);
    c.Pen.Color = bottomRight;
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left - 1, r.Bottom - 1);
}

LRESULT PrintInto(WindowSystem& s, Window* w, HDC dc, LPARAM flags) {
    const HWND h = w->handle;
    if ((flags & PRF_CHECKVISIBLE) && !s.IsVisible(w)) return 0;
    const int saved = dc->SaveDC();
    dc->MoveOrigin(w->client.Left, w->client.Top);
    dc->IntersectClipRect({0, 0, w->client.Width(), w->client.Height()});
    if (flags & PRF_ERASEBKGND) s.Send(h, WM_ERASEBKGND, DcToWParam(dc), 0);
    if (flags & PRF_CLIENT) s.Send(h, WM_PRINTCLIENT, DcToWParam(dc), flags);
    if ((flags & PRF_CHILDREN) && (w = s.Find(h))) {
        std::vector<HWND> kids;
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
            if ((*it)->style & WS_VISIBLE) kids.push_back((*it)->handle);
        for (HWND k : kids) {
            Window* c = s.Find(k);
            if (!c) continue;
            const int inner = dc->SaveDC();
            dc->MoveOrigin(c->rect.Left, c->rect.Top);
            dc->IntersectClipRect({0, 0, c->Width(), c->Height()});
            s.Send(k, WM_PRINT, DcToWParam(dc), flags);
            dc->RestoreDC(inner);
        }
    }
    dc->RestoreDC(saved);
    return 0;
}
}  // namespace

void PaintDefaultFrame(HWND hwnd, bool active) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w || !HasFrame(w)) return;
    HDC dc = GetWindowDC(hwnd);
    if (!dc) return;
    TCanvas& c = *dc;
    const TRect all = ToWindowRect(w);
    c.ExcludeClipRect(w->client);
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(all);
    const int b = OuterBorder(w);
    if (b == 1) {
        c.Brush.Color = clWindowFrame;
        c.FrameRect(all);
    } else if (b > 1) {
        Bevel(c, all, cl3DLight, cl3DDkShadow);
        Bevel(c, InflateRect(all, -1, -1), clBtnHighlight, clBtnShadow);
    }
    const TRect cap = CaptionRect(w);
    if (!IsRectEmpty(cap)) {
        c.Brush.Color = active ? clActiveCaption : clInactiveCaption;
        c.FillRect(cap);
        c.Font.SetStyle(fsBold);
        c.Font.SetColor(active ? clCaptionText : clInactiveCaptionText);
        c.Brush.Style = bsClear;
        TRect tr{cap.Left + 4, cap.Top, cap.Right - 2, cap.Bottom};
        c.DrawText(w->text, tr, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        const TRect ce = InflateRect(w->client, 2, 2);
        Bevel(c, ce, clBtnShadow, clBtnHighlight);
        Bevel(c, InflateRect(ce, -1, -1), cl3DDkShadow, cl3DLight);
    }
    ReleaseDC(hwnd, dc);
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return 0;
    const bool child = (w->style & WS_CHILD) != 0;
    switch (msg) {
    case WM_NCCREATE: {
        const auto* cs = FromLParam<CREATESTRUCT>(lParam);
        if (cs && cs->lpszName) w->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        if (TRect* r = NcCalcSizeRect(wParam, lParam)) *r = InsetRect(*r, DefaultFrameInsets(w->style, w->exStyle));
        return 0;
    }
    case WM_NCHITTEST:
        return DefaultHitTest(s, w, LParamToPoint(lParam));
    case WM_NCPAINT:
        PaintDefaultFrame(hwnd, w->frameActive);
        return 0;
    case WM_NCACTIVATE:
        w->frameActive = wParam != 0;
        RepaintFrame(s, w);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            Window* f = s.Find(s.focus_);
            if (!f || s.Root(f) != w) s.SetFocusWindow(w);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (child) {
            if (const LRESULT r = s.Send(w->parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
        }
        return MA_ACTIVATE;
    case WM_SETCURSOR: {
        const int ht = std::int16_t(LOWORD(std::uintptr_t(lParam)));
        const UINT mouseMsg = HIWORD(std::uintptr_t(lParam));
        if (ht == HTERROR) {
            if (IsButtonDown(mouseMsg)) {
                // A click on a window disabled by a modal one brings that one up.
                MessageBeep(0);
                HWND popup = GetLastActivePopup(hwnd);
                if (popup == hwnd) popup = GetWindow(hwnd, GW_ENABLEDPOPUP);
                if (popup && popup != hwnd) SetActiveWindow(popup);
            }
            return FALSE;
        }
        if (child && s.Send(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
        if (!(w = s.Find(hwnd))) return FALSE;
        if (ht == HTCLIENT) {
            if (!w->cls->cursor) return FALSE;
            SetCursor(w->cls->cursor);
            return TRUE;
        }
        SetCursor(LoadCursor(nullptr, CursorForHit(ht)));
        return TRUE;
    }
    case WM_NCLBUTTONDOWN: {
        const int ht = int(wParam);
        if (ht == HTCAPTION) s.Send(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        else if (ht >= HTLEFT && ht <= HTBOTTOMRIGHT)
            s.Send(hwnd, WM_SYSCOMMAND, SC_SIZE + WPARAM(ht - HTLEFT + 1), lParam);
        return 0;
    }
    case WM_NCLBUTTONDBLCLK:
        if (int(wParam) == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
            s.Send(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_NCRBUTTONUP:
        s.Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
        return 0;
    case WM_RBUTTONUP: {
        TPoint p = LParamToPoint(lParam);
        ClientToScreen(hwnd, p);
        s.Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), PointToLParam(p));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if (child) return s.Send(w->parent, msg, wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MOVE:
        case SC_SIZE:
            s.RunMoveSize(w, UINT(wParam), LParamToPoint(lParam));
            return 0;
        case SC_MINIMIZE:
            ShowWindow(hwnd, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindow(hwnd, SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(hwnd, SW_RESTORE);
            return 0;
        case SC_CLOSE:
            s.Send(hwnd, WM_CLOSE, 0, 0);
            return 0;
        default:
            return 0;  // no native menus here: SC_KEYMENU and the rest do nothing
        }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT) && !(lParam & KF_REPEAT_BIT))
            if (Window* r = s.Root(w)) s.Send(r, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP:
        // The release of a lone Alt opens the keyboard menu of the top-level window.
        if (wParam == VK_MENU && s.altTapped_) {
            s.altTapped_ = false;
            if (Window* r = s.Root(w)) s.Send(r, WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_SYSCHAR:
        if (lParam & KF_ALTDOWN_BIT)
            if (Window* r = s.Root(w)) s.Send(r, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
        return 0;
    case WM_WINDOWPOSCHANGING: {
        // An overlapped or sizeable top-level window keeps to the tracking
        // limits it states (WM_GETMINMAXINFO) whoever sizes it, the program
        // or the user; popups such as menus and hints size freely.
        auto* p = FromLParam<WINDOWPOS>(lParam);
        if (!p || child || (p->flags & SWP_NOSIZE)) return 0;
        if ((w->style & WS_POPUP) && !(w->style & WS_THICKFRAME)) return 0;
        const MINMAXINFO mmi = s.QueryMinMax(w);
        if (!(w = s.Find(hwnd))) return 0;
        // Where the two disagree the maximum holds.
        if (!(w->style & WS_MINIMIZE)) {
            p->cx = std::max(p->cx, mmi.ptMinTrackSize.X);
            p->cy = std::max(p->cy, mmi.ptMinTrackSize.Y);
        }
        p->cx = std::min(p->cx, mmi.ptMaxTrackSize.X);
        p->cy = std::min(p->cy, mmi.ptMaxTrackSize.Y);
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto* p = FromLParam<WINDOWPOS>(lParam);
        if (!p) return 0;
        if (!(p->flags & SWP_NOMOVE))
            s.Send(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.Left + w->client.Left, w->rect.Top + w->client.Top));
        if (!(p->flags & SWP_NOSIZE) && (w = s.Find(hwnd))) {
            const WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                           : SIZE_RESTORED;
            s.Send(hwnd, WM_SIZE, kind, MAKELPARAM(w->client.Width(), w->client.Height()));
        }
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, ps);
        EndPaint(hwnd, ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HDC dc = WParamToDc(wParam);
        const TColor bg = w->cls->background;
        if (!dc || bg == clNone) return 0;
        dc->Brush.Style = bsSolid;
        dc->Brush.Color = bg;
        dc->FillRect({0, 0, w->client.Width(), w->client.Height()});
        return 1;
    }
    case WM_PRINT:
        return wParam ? PrintInto(s, w, WParamToDc(wParam), lParam) : 0;
    case WM_SETTEXT:
        w->text = lParam ? FromLParam<const char>(lParam) : "";
        if (s.IsTopLevel(w)) s.MarkNativeStale(w);  // the desktop's title follows the caption
        if ((w->style & WS_CAPTION) == WS_CAPTION) RepaintFrame(s, w);
        return TRUE;
    case WM_GETTEXT: {
        char* buf = FromLParam<char>(lParam);
        if (!buf || wParam == 0) return 0;
        const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
        std::memcpy(buf, w->text.data(), n);
        buf[n] = '\0';
        return LRESULT(n);
    }
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
        const HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        if (s.IsTopLevel(w)) s.MarkNativeStale(w);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->bigIcon : w->smallIcon);
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_CANCELMODE:
        if (s.capture_ == hwnd) s.SetCaptureWindow(nullptr);
        return 0;
    default:
        return 0;
    }
}
