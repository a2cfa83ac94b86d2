#include "TListViewHeader.h"

#include <algorithm>

#include "ClassicLook.h"
#include "ListItems.h"

namespace {
constexpr int kDividerSlop = 3;
}

TListViewHeader::TListViewHeader(TComponent* AOwner, TListColumns& columns) : TWinControl(AOwner), columns_(columns) {
    SetColor(clBtnFace);
    ControlStyle = csCaptureMouse;
}

void TListViewHeader::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "SysHeader32";
}

void TListViewHeader::SetScrollX(int x) {
    if (x == scrollX_) return;
    scrollX_ = x;
    Invalidate();
}

TRect TListViewHeader::SectionRect(int index) const {
    int x = -scrollX_;
    for (int i = 0; i < columns_.Count(); ++i) {
        const int w = columns_.Items(i)->Width();
        if (i == index) return {x, 0, x + w, Height()};
        x += w;
    }
    return {};
}

HDHITTESTINFO TListViewHeader::HitTest(TPoint p) const {
    HDHITTESTINFO info;
    info.pt = p;
    info.flags = HHT_NOWHERE;
    if (p.Y < 0 || p.Y >= Height()) return info;
    for (int i = 0; i < columns_.Count(); ++i) {
        const TRect r = SectionRect(i);
        if (std::abs(p.X - r.Right) <= kDividerSlop) {
            info.flags = HHT_ONDIVIDER;
            info.iItem = i;
            return info;
        }
        if (p.X >= r.Left && p.X < r.Right) {
            info.flags = HHT_ONHEADER;
            info.iItem = i;
        }
    }
    return info;
}

void TListViewHeader::PaintWindow(HDC DC) {
    TCanvas& c = *DC;
    c.Font.Assign(Font());
    int right = -scrollX_;
    for (int i = 0; i < columns_.Count(); ++i) {
        const TListColumn* col = columns_.Items(i);
        const TRect r = SectionRect(i);
        right = r.Right;
        if (r.Width() <= 0) continue;
        const bool down = i == pressed_ && pressedIn_;
        DrawButtonFace(c, r, down, false);
        TRect text = InflateRect(r, -5, 0);
        if (down) text = OffsetRect(text, 1, 1);
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        if (col->Alignment() == taRightJustify) flags |= DT_RIGHT;
        else if (col->Alignment() == taCenter) flags |= DT_CENTER;
        c.Brush.Style = bsClear;
        c.Font.SetColor(clBtnText);
        c.DrawText(col->Caption(), text, flags);
        c.Brush.Style = bsSolid;
    }
    // The rest of the header, right of the last section.
    const TRect rest{right, 0, Width(), Height()};
    if (rest.Width() > 0) DrawButtonFace(c, rest, false, false);
}

void TListViewHeader::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN: {
        const HDHITTESTINFO hit = HitTest(LParamToPoint(m.LParam));
        if (hit.flags == HHT_ONDIVIDER) {
            sizing_ = hit.iItem;
            sizingStartX_ = LParamToPoint(m.LParam).X;
            sizingStartWidth_ = columns_.Items(hit.iItem)->Width();
        } else if (hit.flags == HHT_ONHEADER) {
            pressed_ = hit.iItem;
            pressedIn_ = true;
            Invalidate();
        }
        break;
    }
    case WM_MOUSEMOVE: {
        const TPoint p = LParamToPoint(m.LParam);
        if (sizing_ >= 0) {
            columns_.Items(sizing_)->SetWidth(std::max(0, sizingStartWidth_ + p.X - sizingStartX_));
            if (OnSectionResize) OnSectionResize();
            Invalidate();
        } else if (pressed_ >= 0) {
            const bool in = PtInRect(SectionRect(pressed_), p);
            if (in != pressedIn_) pressedIn_ = in, Invalidate();
        }
        break;
    }
    case WM_LBUTTONUP: {
        const int clicked = pressed_ >= 0 && pressedIn_ ? pressed_ : -1;
        pressed_ = -1;
        pressedIn_ = false;
        sizing_ = -1;
        Invalidate();
        TWinControl::WndProc(m);
        if (clicked >= 0 && OnSectionClick) OnSectionClick(clicked);
        return;
    }
    case WM_SETCURSOR:
        if (!(GetKeyState(VK_LBUTTON) & 0x8000) || sizing_ >= 0) {
            TPoint p;
            GetCursorPos(p);
            if (sizing_ >= 0 || HitTest(ScreenToClient(p)).flags == HHT_ONDIVIDER) {
                ::SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
                m.Result = TRUE;
                return;
            }
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TListViewHeader::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case HDM_GETITEMCOUNT:
        m.Result = columns_.Count();
        return;
    case HDM_GETITEMRECT: {
        const int index = int(m.WParam);
        if (index < 0 || index >= columns_.Count() || !m.LParam) {
            m.Result = FALSE;
            return;
        }
        *FromLParam<TRect>(m.LParam) = SectionRect(index);
        m.Result = TRUE;
        return;
    }
    case HDM_HITTEST: {
        auto* info = FromLParam<HDHITTESTINFO>(m.LParam);
        if (!info) return;
        *info = HitTest(info->pt);
        m.Result = info->iItem;
        return;
    }
    case HDM_ORDERTOINDEX:
        m.Result = LRESULT(m.WParam);  // columns are shown in their own order
        return;
    default:
        break;
    }
    TWinControl::DefaultHandler(m);
}
