#include "SkinFrameLayout.h"

#include <algorithm>

#include "SkinGeometry.h"

SkinFrameLayout ComputeFrameLayout(const SkinFormInfo& info, TSize picture, TSize frame) {
    const int dW = frame.cx - picture.cx;
    const int dH = frame.cy - picture.cy;
    const auto moved = [](TPoint p, int dx, int dy) { return TPoint{p.X + dx, p.Y + dy}; };
    SkinFrameLayout l;
    l.FrameLeftTop = info.lefttoppoint;
    l.FrameRightTop = moved(info.righttoppoint, dW, 0);
    l.FrameLeftBottom = moved(info.leftbottompoint, 0, dH);
    l.FrameRightBottom = moved(info.rightbottompoint, dW, dH);
    l.FrameClientRect = info.clientrect;
    l.FrameClientRect.Right += dW;
    l.FrameClientRect.Bottom += dH;
    l.CaptionArea = info.captionrect;
    if (!RectIsEmpty(l.CaptionArea)) l.CaptionArea.Right += dW;
    l.ButtonsArea = info.buttonsrect;
    if (!RectIsEmpty(l.ButtonsArea) && l.ButtonsArea.Left > picture.cx / 2)
        l.ButtonsArea = OffsetRect(l.ButtonsArea, dW, 0);
    l.ButtonsOffset = info.buttonsoffset;
    l.ButtonsInLeft = info.buttonsinleft;
    l.HitLeftTop = info.hittestlefttoppoint;
    l.HitRightTop = moved(info.hittestrighttoppoint, dW, 0);
    l.HitLeftBottom = moved(info.hittestleftbottompoint, 0, dH);
    l.HitRightBottom = moved(info.hittestrightbottompoint, dW, dH);
    l.MaskArea = info.maskrectarea;
    l.MaskArea.Right += dW;
    l.MaskArea.Bottom += dH;
    return l;
}

namespace {
TRect ClampClient(TRect r) {
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}
}  // namespace

TRect SkinnedClientRect(const SkinFormInfo& info, TSize picture, const TRect& proposed) {
    TRect r = proposed;
    r.Left += info.clientrect.Left;
    r.Top += info.clientrect.Top;
    r.Right -= picture.cx - info.clientrect.Right;
    r.Bottom -= picture.cy - info.clientrect.Bottom;
    return ClampClient(r);
}

TRect DefaultClientRect(const TRect& proposed, int captionHeight) {
    return ClampClient({proposed.Left + 3, proposed.Top + captionHeight + 3, proposed.Right - 3, proposed.Bottom - 3});
}

namespace {
bool IsToolWindowStyle(TFormBorderStyle style) { return style == bsToolWindow || style == bsSizeToolWin; }
}  // namespace

int DefaultCaptionHeightFor(TFormBorderStyle style) { return IsToolWindowStyle(style) ? 15 : 19; }
int DefaultButtonSizeFor(TFormBorderStyle style) { return IsToolWindowStyle(style) ? 13 : 17; }

TRect MapSkinRect(const TRect& r, const SkinFormInfo& info, TSize picture, TPoint frameRightBottom) {
    const TRect LT{0, 0, info.lefttoppoint.X, info.lefttoppoint.Y};
    const TRect RT{info.righttoppoint.X, 0, picture.cx, info.righttoppoint.Y};
    const TRect LB{0, info.leftbottompoint.Y, info.leftbottompoint.X, picture.cy};
    const TRect RB{info.rightbottompoint.X, info.rightbottompoint.Y, picture.cx, picture.cy};
    const int dx = frameRightBottom.X - info.rightbottompoint.X;
    const int dy = frameRightBottom.Y - info.rightbottompoint.Y;
    const TPoint tl = r.TopLeft();
    const TPoint br = r.BottomRight();
    const auto inside = [&](const TRect& area) { return PtInRect(area, tl) && PtInRect(area, br); };
    if (inside(LT)) return r;
    if (inside(RT)) return OffsetRect(r, dx, 0);
    if (inside(LB)) return OffsetRect(r, 0, dy);
    if (inside(RB)) return OffsetRect(r, dx, dy);
    TRect out = r;
    if (PtInRect(LT, tl) && PtInRect(RB, br)) {
        out.Right += dx;
        out.Bottom += dy;
    } else if (PtInRect(LT, tl) && PtInRect(RT, br)) {
        out.Right += dx;
    } else if (PtInRect(LB, tl) && PtInRect(RB, br)) {
        out.Right += dx;
        out = OffsetRect(out, 0, dy);
    } else if (PtInRect(LT, tl) && PtInRect(LB, br)) {
        out.Bottom += dy;
    } else if (PtInRect(RT, tl) && PtInRect(RB, br)) {
        out = OffsetRect(out, dx, 0);
        out.Bottom += dy;
    }
    return out;
}
