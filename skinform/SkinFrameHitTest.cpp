#include "SkinFrameHitTest.h"

#include "WinMessages.h"

namespace {
bool IsBlack(const TBitmap& mask, int x, int y) { return mask.Pixels(x, y) == TColor(0); }
}  // namespace

bool InsideMask(const SkinFrameLayout& l, const SkinFramePartBitmaps& masks, TPoint p) {
    const TRect& a = l.MaskArea;
    if (PtInRect(a, p)) return true;
    if (p.Y <= a.Top) return IsBlack(masks.Top, p.X, p.Y);
    if (p.Y < a.Bottom) {
        if (p.X > a.Left) return IsBlack(masks.Right, p.X - a.Right, p.Y - a.Top);
        return IsBlack(masks.Left, p.X, p.Y - a.Top);
    }
    return IsBlack(masks.Bottom, p.X, p.Y - a.Bottom);
}

int HitTestSkinFrame(const SkinFrameLayout& l, const SkinFramePartBitmaps& masks, const SkinHitTestState& s, TPoint p) {
    const TRect& client = l.FrameClientRect;
    const auto onCaption = [&](TPoint q) { return s.onCaption && s.onCaption(q); };
    const auto lastStep = [&] {
        if (PtInRect(client, p)) return HTCLIENT;
        if (onCaption(p)) return HTCAPTION;
        return HTOBJECT;
    };
    if (s.rolledUpOrMinimized) return lastStep();
    if (s.hotObject && !onCaption(p) && !PtInRect(client, p) && !s.inSizeMove) return HTOBJECT;
    if (s.maximized || !s.canResize) return lastStep();

    const int b = s.borderWidth;
    const TRect window{0, 0, s.window.cx, s.window.cy};
    const auto outside = [&](TPoint q) {
        if (!s.hasMask) return !PtInRect(window, q);
        return !PtInRect(l.MaskArea, p) && !InsideMask(l, masks, q);
    };
    const bool onBorder = outside({p.X - b, p.Y}) || outside({p.X, p.Y - b}) || outside({p.X + b, p.Y}) ||
                          outside({p.X, p.Y + b});
    if (!onBorder) return lastStep();
    const int x = p.X, y = p.Y;
    if (x <= l.HitLeftTop.X && y <= l.HitLeftTop.Y) return HTTOPLEFT;
    if (x >= l.HitRightTop.X && y <= l.HitRightTop.Y) return HTTOPRIGHT;
    if (x <= l.HitLeftBottom.X && y >= l.HitLeftBottom.Y) return HTBOTTOMLEFT;
    if (x >= l.HitRightBottom.X && y >= l.HitRightBottom.Y) return HTBOTTOMRIGHT;
    if (PtInRect({l.HitLeftTop.X, 0, l.HitRightTop.X, client.Top}, p)) return HTTOP;
    if (PtInRect({l.HitLeftBottom.X, client.Bottom, l.HitRightBottom.X, s.window.cy}, p)) return HTBOTTOM;
    if (PtInRect({0, l.HitLeftTop.Y, client.Left, l.HitLeftBottom.Y}, p)) return HTLEFT;
    if (PtInRect({client.Right, l.HitRightTop.Y, s.window.cx, l.HitRightBottom.Y}, p)) return HTRIGHT;
    return lastStep();
}

int HitTestDefaultFrame(const DefaultHitTestState& s, TPoint p) {
    const int W = s.window.cx, H = s.window.cy;
    const int x = p.X, y = p.Y;
    if (s.normalAndUnrolled && s.canResize) {
        if (s.hotObject) return HTOBJECT;
        if (x <= 2 && y <= 2) return HTTOPLEFT;
        if (x >= W - 2 && y <= 2) return HTTOPRIGHT;
        if (x <= 2 && y >= H - 2) return HTBOTTOMLEFT;
        if (x >= W - 2 && y >= H - 2) return HTBOTTOMRIGHT;
        if (x <= 2) return HTLEFT;
        if (y <= 2) return HTTOP;
        if (x >= W - 2) return HTRIGHT;
        if (y >= H - 2) return HTBOTTOM;
    }
    if (PtInRect(s.captionRect, p)) return HTCAPTION;
    if (PtInRect({3, s.captionHeight + 3, W - 3, H - 3}, p)) return HTCLIENT;
    return HTOBJECT;
}
