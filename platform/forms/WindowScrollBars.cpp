#include "WindowScrollBars.h"

#include "ClassicLook.h"
#include "TCanvas.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 0x5C01;
constexpr int kBarSize = 16;
}  // namespace

void TWindowScrollBars::SetAllowed(bool horizontal, bool vertical, HWND hwnd) {
    if (allowH_ == horizontal && allowV_ == vertical) return;
    allowH_ = horizontal;
    allowV_ = vertical;
    if (hwnd) SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWindowScrollBars::SetBorder(bool on, HWND hwnd) {
    if (border_ == on) return;
    border_ = on;
    if (hwnd) SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TWindowScrollBars::Shown(int bar) const {
    return bar == SB_VERT ? allowV_ && vert_.Scrollable() : allowH_ && horz_.Scrollable();
}

void TWindowScrollBars::SetInfo(int bar, const TScrollInfo& info, HWND hwnd) {
    TScrollInfo& target = bar == SB_VERT ? vert_ : horz_;
    TScrollInfo clamped = info;
    clamped.Pos = clamped.Clamp(clamped.Pos);
    if (target == clamped) return;
    const bool wasShown = Shown(bar);
    target = clamped;
    if (!hwnd) return;
    if (Shown(bar) != wasShown)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else if (Shown(bar))
        Repaint(hwnd);
}

TWindowScrollBars::Layout TWindowScrollBars::ComputeLayout(HWND hwnd) const {
    TRect wr;
    GetWindowRect(hwnd, wr);
    const TRect inner = InflateRect({0, 0, wr.Width(), wr.Height()}, -BorderWidth(), -BorderWidth());
    Layout l;
    const bool v = Shown(SB_VERT);
    const bool h = Shown(SB_HORZ);
    if (v) l.vert = {inner.Right - kBarSize, inner.Top, inner.Right, inner.Bottom - (h ? kBarSize : 0)};
    if (h) l.horz = {inner.Left, inner.Bottom - kBarSize, inner.Right - (v ? kBarSize : 0), inner.Bottom};
    if (v && h) l.corner = {l.vert.Left, l.horz.Top, l.vert.Right, l.horz.Bottom};
    return l;
}

void TWindowScrollBars::Repaint(HWND hwnd) const {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TWindowScrollBars::Paint(HWND hwnd, bool enabled) const {
    HDC dc = GetWindowDC(hwnd);
    if (!dc) return;
    TRect wr;
    GetWindowRect(hwnd, wr);
    if (border_) DrawEdge(*dc, {0, 0, wr.Width(), wr.Height()}, TEdgeKind::Sunken);
    const Layout l = ComputeLayout(hwnd);
    auto pressedOn = [&](int bar) {
        return trackBar_ == bar && pointerOnPart_ ? trackPart_ : TScrollPart::None;
    };
    if (Shown(SB_VERT)) DrawScrollBar(*dc, LayoutScrollBar(l.vert, true, vert_), pressedOn(SB_VERT), enabled);
    if (Shown(SB_HORZ)) DrawScrollBar(*dc, LayoutScrollBar(l.horz, false, horz_), pressedOn(SB_HORZ), enabled);
    if (!IsRectEmpty(l.corner)) {
        dc->Brush.Style = bsSolid;
        dc->Brush.Color = clBtnFace;
        dc->FillRect(l.corner);
    }
    ReleaseDC(hwnd, dc);
}

void TWindowScrollBars::Step(TScrollPart part) {
    const UINT msg = trackBar_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    const TScrollInfo& info = Info(trackBar_);
    switch (part) {
    case TScrollPart::LineBack: perform_(msg, SB_LINEUP, info.Pos); break;
    case TScrollPart::LineForward: perform_(msg, SB_LINEDOWN, info.Pos); break;
    case TScrollPart::PageBack: perform_(msg, SB_PAGEUP, info.Pos); break;
    case TScrollPart::PageForward: perform_(msg, SB_PAGEDOWN, info.Pos); break;
    default: break;
    }
}

TPoint TWindowScrollBars::WindowPointOfClientMessage(HWND hwnd, LPARAM lp) const {
    TPoint p = LParamToPoint(lp);
    ClientToScreen(hwnd, p);
    TRect wr;
    GetWindowRect(hwnd, wr);
    return {p.X - wr.Left, p.Y - wr.Top};
}

void TWindowScrollBars::StopTracking(HWND hwnd) {
    if (trackBar_ < 0) return;
    const int bar = trackBar_;
    const bool thumb = trackPart_ == TScrollPart::Thumb;
    KillTimer(hwnd, kRepeatTimer);
    trackBar_ = -1;
    trackPart_ = TScrollPart::None;
    if (GetCapture() == hwnd) ReleaseCapture();
    const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    if (thumb) perform_(msg, SB_THUMBPOSITION, Info(bar).Pos);
    perform_(msg, SB_ENDSCROLL, 0);
    Repaint(hwnd);
}

bool TWindowScrollBars::HandleMessage(TMessage& m, HWND hwnd, bool enabled) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        TRect* r = NcCalcSizeRect(m.WParam, m.LParam);
        if (!r) return false;
        *r = InflateRect(*r, -BorderWidth(), -BorderWidth());
        if (Shown(SB_VERT)) r->Right -= kBarSize;
        if (Shown(SB_HORZ)) r->Bottom -= kBarSize;
        r->Right = std::max(r->Left, r->Right);
        r->Bottom = std::max(r->Top, r->Bottom);
        m.Result = 0;
        return true;
    }
    case WM_NCPAINT:
        Paint(hwnd, enabled);
        m.Result = 0;
        return true;
    case WM_NCHITTEST: {
        TPoint p = LParamToPoint(m.LParam);
        TRect wr;
        GetWindowRect(hwnd, wr);
        p = {p.X - wr.Left, p.Y - wr.Top};
        const Layout l = ComputeLayout(hwnd);
        if (PtInRect(l.vert, p)) m.Result = HTVSCROLL;
        else if (PtInRect(l.horz, p)) m.Result = HTHSCROLL;
        else return false;
        return true;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        if (m.WParam != WPARAM(HTVSCROLL) && m.WParam != WPARAM(HTHSCROLL)) return false;
        if (!enabled) return true;
        const int bar = m.WParam == WPARAM(HTVSCROLL) ? SB_VERT : SB_HORZ;
        TPoint p = LParamToPoint(m.LParam);
        TRect wr;
        GetWindowRect(hwnd, wr);
        p = {p.X - wr.Left, p.Y - wr.Top};
        const Layout l = ComputeLayout(hwnd);
        const TScrollBarGeometry g = LayoutScrollBar(bar == SB_VERT ? l.vert : l.horz, bar == SB_VERT, Info(bar));
        const TScrollPart part = HitTestScrollBar(g, p);
        if (part == TScrollPart::None) return true;
        trackBar_ = bar;
        trackPart_ = part;
        pointerOnPart_ = true;
        lastPoint_ = p;
        SetCapture(hwnd);
        if (part == TScrollPart::Thumb) {
            dragOffset_ = bar == SB_VERT ? p.Y - g.Thumb.Top : p.X - g.Thumb.Left;
        } else {
            Step(part);
            firstRepeat_ = true;
            SetTimer(hwnd, kRepeatTimer, 500);
        }
        Repaint(hwnd);
        m.Result = 0;
        return true;
    }
    case WM_MOUSEMOVE: {
        if (trackBar_ < 0) return false;
        const TPoint p = WindowPointOfClientMessage(hwnd, m.LParam);
        lastPoint_ = p;
        const Layout l = ComputeLayout(hwnd);
        const TScrollBarGeometry g =
            LayoutScrollBar(trackBar_ == SB_VERT ? l.vert : l.horz, trackBar_ == SB_VERT, Info(trackBar_));
        if (trackPart_ == TScrollPart::Thumb) {
            const int along = trackBar_ == SB_VERT ? p.Y - g.Track.Top : p.X - g.Track.Left;
            const int pos = PositionFromThumb(g, Info(trackBar_), along - dragOffset_);
            if (pos != Info(trackBar_).Pos) perform_(trackBar_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL, SB_THUMBTRACK, pos);
        } else {
            const bool on = HitTestScrollBar(g, p) == trackPart_;
            if (on != pointerOnPart_) {
                pointerOnPart_ = on;
                Repaint(hwnd);
            }
        }
        m.Result = 0;
        return true;
    }
    case WM_LBUTTONUP:
        if (trackBar_ < 0) return false;
        StopTracking(hwnd);
        m.Result = 0;
        return true;
    case WM_CAPTURECHANGED:
        if (trackBar_ >= 0 && HWND(m.LParam) != hwnd) StopTracking(hwnd);
        return false;
    case WM_CANCELMODE:
        StopTracking(hwnd);
        return false;
    case WM_TIMER: {
        if (m.WParam != kRepeatTimer) return false;
        if (trackBar_ < 0) {
            KillTimer(hwnd, kRepeatTimer);
            return true;
        }
        if (firstRepeat_) {
            firstRepeat_ = false;
            SetTimer(hwnd, kRepeatTimer, 50);
        }
        const Layout l = ComputeLayout(hwnd);
        const TScrollBarGeometry g =
            LayoutScrollBar(trackBar_ == SB_VERT ? l.vert : l.horz, trackBar_ == SB_VERT, Info(trackBar_));
        // A page repeat stops once the thumb has reached the pointer.
        if (HitTestScrollBar(g, lastPoint_) == trackPart_) Step(trackPart_);
        m.Result = 0;
        return true;
    }
    default:
        return false;
    }
}
