// Window positions, sizes, z-order and show states: SetWindowPos with its
// notifications, ShowWindow with minimised and maximised states, placements,
// window regions and layered opacity.

#include <algorithm>

#include "WindowSystemState.h"

TRect WindowSystem::CalcClient(Window* w, const TRect& windowRect, WINDOWPOS* pos) {
    const HWND h = w->handle;
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = windowRect;
    p.rgrc[1] = w->rect;
    p.rgrc[2] = OffsetRect(w->client, w->rect.Left, w->rect.Top);
    p.lppos = pos;
    Send(h, WM_NCCALCSIZE, TRUE, ToLParam(&p));
    TRect c = p.rgrc[0];
    // The client area never leaves the window nor turns inside out.
    c.Left = std::clamp(c.Left, windowRect.Left, windowRect.Right);
    c.Top = std::clamp(c.Top, windowRect.Top, windowRect.Bottom);
    c.Right = std::clamp(c.Right, c.Left, windowRect.Right);
    c.Bottom = std::clamp(c.Bottom, c.Top, windowRect.Bottom);
    return OffsetRect(c, -windowRect.Left, -windowRect.Top);
}

MINMAXINFO WindowSystem::QueryMinMax(Window* w) {
    MINMAXINFO mmi;
    MONITORINFO mi;
    GetMonitorInfo(MonitorFromWindow(w->handle, MONITOR_DEFAULTTONEAREST), mi);
    mmi.ptMaxSize = {mi.rcWork.Width(), mi.rcWork.Height()};
    mmi.ptMaxPosition = mi.rcWork.TopLeft();
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    Send(w->handle, WM_GETMINMAXINFO, 0, ToLParam(&mmi));
    return mmi;
}

void WindowSystem::MarkNativeStale(Window* w) {
    if (w && IsTopLevel(w)) w->nativeStale = true;
    restackPending_ = true;
}

void WindowSystem::Restack() {
    std::vector<HWND> order;
    for (Window* t : desktop_->children)
        if (t->nativeCreated) order.push_back(t->handle);
    backend_->Restack(order);
    restackPending_ = false;
}

bool WindowSystem::SetPos(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!w || w == desktop_) return false;
    const HWND h = w->handle;
    if ((flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) flags &= ~UINT(SWP_SHOWWINDOW);
    if ((flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) flags &= ~UINT(SWP_HIDEWINDOW);

    WINDOWPOS wp;
    wp.hwnd = h;
    wp.hwndInsertAfter = insertAfter;
    wp.x = x, wp.y = y, wp.cx = cx, wp.cy = cy;
    wp.flags = flags;
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(h, WM_WINDOWPOSCHANGING, 0, ToLParam(&wp));
        if (!(w = Find(h))) return false;
        flags = wp.flags;
    }

    const TRect oldRect = w->rect;
    TRect newRect = oldRect;
    if (!(flags & SWP_NOMOVE)) newRect = Bounds(wp.x, wp.y, oldRect.Width(), oldRect.Height());
    if (!(flags & SWP_NOSIZE)) newRect = Bounds(newRect.Left, newRect.Top, std::max(wp.cx, 0), std::max(wp.cy, 0));
    const bool moved = newRect.TopLeft() != oldRect.TopLeft();
    const bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    const bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;
    const bool wasShown = IsShown(w);
    const bool top = IsTopLevel(w);
    const TRegion oldArea = top ? TRegion() : ShapeInParent(w);

    if (moved || sized || frameChanged) {
        if (sized || frameChanged) {
            const TRect client = CalcClient(w, newRect, &wp);
            if (!(w = Find(h))) return false;
            w->client = client;
        }
        w->rect = newRect;
    }

    bool zChanged = false;
    if (!(flags & SWP_NOZORDER)) {
        HWND after = wp.hwndInsertAfter;
        if (top) {
            if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
            else if (after == HWND_NOTOPMOST) w->exStyle &= ~DWORD(WS_EX_TOPMOST);
            else if (Window* a = Find(after); a && IsTopLevel(a))
                w->exStyle = (w->exStyle & ~DWORD(WS_EX_TOPMOST)) | (a->exStyle & WS_EX_TOPMOST);
        }
        const auto before = w->parent->children;
        InsertChild(w->parent, w, after);
        if (top && !(flags & SWP_NOOWNERZORDER)) {
            // Owned windows stay above their owner.
            std::vector<Window*> ownedList;
            for (Window* x : desktop_->children)
                if (x->owner == w && (x->exStyle & WS_EX_TOPMOST) == (w->exStyle & WS_EX_TOPMOST))
                    ownedList.push_back(x);
            auto& v = desktop_->children;
            for (auto it = ownedList.rbegin(); it != ownedList.rend(); ++it) {
                v.erase(std::find(v.begin(), v.end(), *it));
                v.insert(std::find(v.begin(), v.end(), w), *it);
            }
        }
        zChanged = before != w->parent->children;
    }

    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w->style &= ~DWORD(WS_VISIBLE);
    const bool nowShown = IsShown(w);

    if (!top) {
        const bool geometry = moved || sized || frameChanged || zChanged;
        if (!(flags & SWP_NOREDRAW) && (wasShown || nowShown) && (geometry || wasShown != nowShown)) {
            TRegion area;
            if (wasShown) area = oldArea;
            if (nowShown) area.Combine(area, ShapeInParent(w), RGN_OR);
            area.Offset(w->parent->client.Left, w->parent->client.Top);
            Invalidate(w->parent, area, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    } else {
        if (sized || frameChanged) AllocateSurface(w);
        if (nowShown && (sized || frameChanged || !wasShown) && !(flags & SWP_NOREDRAW)) InvalidateWhole(w);
        if (moved || sized || zChanged || wasShown != nowShown || frameChanged) MarkNativeStale(w);
        if (wasShown && !nowShown) {
            if (capture_ && Root(Find(capture_)) == w) SetCaptureWindow(nullptr);
            if (active_ == h) ActivateAnother(w);
        } else if (nowShown && !(flags & SWP_NOACTIVATE) && !(w->exStyle & WS_EX_NOACTIVATE) &&
                   !(w->style & WS_DISABLED) && active_ != h) {
            ActivateWindow(w, WA_ACTIVE);
        }
        if (!(w = Find(h))) return true;
    }

    wp.x = w->rect.Left;
    wp.y = w->rect.Top;
    wp.cx = w->Width();
    wp.cy = w->Height();
    wp.flags = flags;
    if (!moved) wp.flags |= SWP_NOMOVE;
    if (!sized && !frameChanged) wp.flags |= SWP_NOSIZE;
    if (!zChanged) wp.flags |= SWP_NOZORDER;
    Send(h, WM_WINDOWPOSCHANGED, 0, ToLParam(&wp));
    return true;
}

namespace {
bool Minimized(const Window* w) { return (w->style & WS_MINIMIZE) != 0; }
bool Maximized(const Window* w) { return (w->style & WS_MAXIMIZE) != 0; }

void SendSizeNotice(WindowSystem& s, HWND h) {
    Window* w = s.Find(h);
    if (!w) return;
    const WPARAM kind = Minimized(w) ? SIZE_MINIMIZED : Maximized(w) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    const LPARAM size = Minimized(w) ? 0 : MAKELPARAM(w->client.Width(), w->client.Height());
    s.Send(h, WM_SIZE, kind, size);
}
}  // namespace

bool WindowSystem::Show(Window* w, int cmd) {
    if (!w || w == desktop_) return false;
    const HWND h = w->handle;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool top = IsTopLevel(w);

    auto notifyShow = [&](bool show) {
        if (wasVisible != show) Send(h, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        return (w = Find(h)) != nullptr;
    };

    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible) return false;
        if (!notifyShow(false)) return true;
        SetPos(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;

    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
        if (!notifyShow(true)) return wasVisible;
        if (!Minimized(w)) {
            if (!Maximized(w)) w->normalRect = w->rect;
            w->style |= WS_MINIMIZE;
            w->style |= WS_VISIBLE;
            if (top) MarkNativeStale(w);
            if (active_ == h || (active_ && top && Find(active_) && Find(active_)->owner == w))
                ActivateAnother(w);
            if (focus_ && Find(focus_) && Root(Find(focus_)) == Find(h)) SetFocusWindow(nullptr);
            SendSizeNotice(*this, h);
        } else {
            SetPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return wasVisible;
    }

    case SW_MAXIMIZE: {
        if (!notifyShow(true)) return wasVisible;
        if (!Maximized(w) && !Minimized(w)) w->normalRect = w->rect;
        const MINMAXINFO mmi = QueryMinMax(w);
        if (!(w = Find(h))) return wasVisible;
        w->style = (w->style | WS_MAXIMIZE) & ~DWORD(WS_MINIMIZE);
        SetPos(w, nullptr, mmi.ptMaxPosition.X, mmi.ptMaxPosition.Y, mmi.ptMaxSize.X, mmi.ptMaxSize.Y,
               SWP_SHOWWINDOW | SWP_NOZORDER | SWP_FRAMECHANGED);
        if ((w = Find(h)) && top && active_ != h) ActivateWindow(w, WA_ACTIVE);
        return wasVisible;
    }

    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWNOACTIVATE: {
        if (!notifyShow(true)) return wasVisible;
        const UINT act = cmd == SW_SHOWNOACTIVATE ? UINT(SWP_NOACTIVATE) : 0u;
        if (Minimized(w)) {
            w->style &= ~DWORD(WS_MINIMIZE);
            if (Maximized(w)) {
                SetPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | act);
                if (Find(h)) InvalidateWhole(Find(h));
                SendSizeNotice(*this, h);
                return wasVisible;
            }
            w->style |= WS_MINIMIZE;  // restored below, from the normal placement
        }
        if (Minimized(w) || Maximized(w)) {
            const TRect r = w->normalRect;
            w->style &= ~DWORD(WS_MINIMIZE | WS_MAXIMIZE);
            SetPos(w, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOZORDER | SWP_FRAMECHANGED | act);
            if (Find(h)) InvalidateWhole(Find(h));
            return wasVisible;
        }
        SetPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | act);
        return wasVisible;
    }

    case SW_SHOW:
    case SW_SHOWDEFAULT:
        if (!notifyShow(true)) return wasVisible;
        SetPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        if ((w = Find(h)) && top && !(w->exStyle & WS_EX_NOACTIVATE) && !Minimized(w) && active_ != h)
            ActivateWindow(w, WA_ACTIVE);
        return wasVisible;

    case SW_SHOWNA:
        if (!notifyShow(true)) return wasVisible;
        SetPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return wasVisible;

    default:
        return wasVisible;
    }
}

void WindowSystem::MinimizeFromDesktop(Window* w) {
    if (!w || !IsTopLevel(w) || (w->style & WS_MINIMIZE)) return;
    const HWND h = w->handle;
    Send(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    // Refused: the desktop shows the window again as it is.
    if ((w = Find(h)) && !(w->style & WS_MINIMIZE)) MarkNativeStale(w);
}

void WindowSystem::RestoreFromDesktop(Window* w) {
    if (!w || !IsTopLevel(w) || !(w->style & WS_MINIMIZE)) return;
    const HWND h = w->handle;
    // As a click on the task bar entry: the command goes to the window, whose
    // procedure restores it (the default one with SW_RESTORE, which sends
    // WM_SIZE with SIZE_RESTORED and repaints the whole window).
    Send(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    if ((w = Find(h)) && (w->style & WS_MINIMIZE)) MarkNativeStale(w);
}

void WindowSystem::FollowDesktopMove(Window* w, TPoint topLeft) {
    if (!w || !IsTopLevel(w) || (w->style & WS_MINIMIZE) || w->rect.TopLeft() == topLeft) return;
    const HWND h = w->handle;
    SetPos(w, nullptr, topLeft.X, topLeft.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((w = Find(h)) && w->rect.TopLeft() != topLeft) MarkNativeStale(w);
}

// --- the platform calls ---------------------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowSystem& s = Sys();
    return s.SetPos(s.Find(hwnd), insertAfter, x, y, cx, cy, flags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!repaint) flags |= SWP_NOREDRAW;
    return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    WindowSystem& s = Sys();
    return s.Show(s.Find(hwnd), cmd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    return w && s.IsVisible(w) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
    Window* w = Sys().Find(hwnd);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
    Window* w = Sys().Find(hwnd);
    return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT& placement) {
    Window* w = Sys().Find(hwnd);
    if (!w) return FALSE;
    const bool minimized = w->style & WS_MINIMIZE, maximized = w->style & WS_MAXIMIZE;
    placement.flags = minimized && maximized ? WPF_RESTORETOMAXIMIZED : 0;
    placement.showCmd = minimized ? SW_SHOWMINIMIZED : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement.rcNormalPosition = (minimized || maximized) ? w->normalRect : w->rect;
    placement.ptMaxPosition = {};
    placement.ptMinPosition = {};
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT& placement) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    const TRect& r = placement.rcNormalPosition;
    if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        w->normalRect = r;
    } else {
        s.SetPos(w, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((w = s.Find(hwnd))) s.Show(w, int(placement.showCmd));
    return TRUE;
}

int SetWindowRgn(HWND hwnd, const TRegion* region, BOOL redraw) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w || w == s.Desktop()) return 0;
    const bool shown = s.IsShown(w);
    TRegion oldArea = s.IsTopLevel(w) ? TRegion() : s.ShapeInParent(w);
    if (region) w->region = *region;
    else w->region.reset();
    if (s.IsTopLevel(w)) {
        s.MarkNativeStale(w);
        if (redraw && shown) s.InvalidateWhole(w);
    } else if (redraw && shown) {
        oldArea.Combine(oldArea, s.ShapeInParent(w), RGN_OR);
        oldArea.Offset(w->parent->client.Left, w->parent->client.Top);
        s.Invalidate(w->parent, oldArea, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, TRegion& out) {
    Window* w = Sys().Find(hwnd);
    if (!w || !w->region) return RGN_ERROR;
    out = *w->region;
    return out.Kind();
}

BOOL SetLayeredWindowAttributes(HWND hwnd, TColor key, BYTE alpha, DWORD flags) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) return FALSE;
    w->layeredFlags = flags;
    w->alpha = (flags & LWA_ALPHA) ? alpha : 255;
    w->colorKey = key;
    s.MarkNativeStale(s.Root(w));
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, TColor* key, BYTE* alpha, DWORD* flags) {
    Window* w = Sys().Find(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) return FALSE;
    if (key) *key = w->colorKey;
    if (alpha) *alpha = w->alpha;
    if (flags) *flags = w->layeredFlags;
    return TRUE;
}
