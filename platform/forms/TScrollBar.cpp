#include "TScrollBar.h"

#include <algorithm>

#include "ClassicLook.h"
#include "Exceptions.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 121, 16);
    SetTabStop(true);
    SetColor(clBtnFace);
    ControlStyle = csDoubleClicks | csCaptureMouse;
}

void TScrollBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "TScrollBar";
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    // A new orientation turns the bar on its side.
    SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) throw EInvalidOperation("Scroll bar property out of range");
    min_ = min;
    max_ = max;
    if (pageSize_ > max_ - min_ + 1) pageSize_ = max_ - min_ + 1;
    const int clamped = Info().Clamp(position);
    const bool changed = clamped != position_;
    position_ = clamped;
    Invalidate();
    if (changed && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int value) {
    if (value < 0 || value > max_ - min_ + 1) return;
    pageSize_ = value;
    SetParams(position_, min_, max_);
}

TScrollInfo TScrollBar::Info() const {
    // The free bar's last position is Max - PageSize + 1 with a page, like the platform's.
    return {min_, max_, pageSize_, position_};
}

TScrollBarGeometry TScrollBar::Geometry() const {
    return LayoutScrollBar({0, 0, Width(), Height()}, kind_ == sbVertical, Info());
}

void TScrollBar::Scroll(TScrollCode code, int pos) {
    if (OnScroll) OnScroll(this, code, pos);
    SetPosition(pos);
}

void TScrollBar::StepFor(TScrollPart part) {
    switch (part) {
    case TScrollPart::LineBack: Scroll(scLineUp, position_ - SmallChange); break;
    case TScrollPart::LineForward: Scroll(scLineDown, position_ + SmallChange); break;
    case TScrollPart::PageBack: Scroll(scPageUp, position_ - LargeChange); break;
    case TScrollPart::PageForward: Scroll(scPageDown, position_ + LargeChange); break;
    default: break;
    }
}

void TScrollBar::PaintWindow(HDC DC) {
    DrawScrollBar(*DC, Geometry(), onPressed_ ? pressed_ : TScrollPart::None, Enabled());
    if (Focused() && pressed_ == TScrollPart::None) {
        const TRect thumb = Geometry().Thumb;
        if (!IsRectEmpty(thumb)) DC->DrawFocusRect(InflateRect(thumb, -2, -2));
    }
}

void TScrollBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (TabStop() && CanFocus() && !Focused()) SetFocus();
        const TPoint p = LParamToPoint(m.LParam);
        const TScrollBarGeometry g = Geometry();
        pressed_ = HitTestScrollBar(g, p);
        onPressed_ = true;
        lastPoint_ = p;
        if (pressed_ == TScrollPart::Thumb) {
            dragOffset_ = kind_ == sbVertical ? p.Y - g.Thumb.Top : p.X - g.Thumb.Left;
        } else if (pressed_ != TScrollPart::None) {
            StepFor(pressed_);
            firstRepeat_ = true;
            SetTimer(Handle(), kRepeatTimer, 500);
        }
        Invalidate();
        break;
    }
    case WM_MOUSEMOVE: {
        if (pressed_ == TScrollPart::None) break;
        const TPoint p = LParamToPoint(m.LParam);
        lastPoint_ = p;
        const TScrollBarGeometry g = Geometry();
        if (pressed_ == TScrollPart::Thumb) {
            const int along = kind_ == sbVertical ? p.Y - g.Track.Top : p.X - g.Track.Left;
            const int pos = PositionFromThumb(g, Info(), along - dragOffset_);
            if (pos != position_) Scroll(scTrack, pos);
        } else {
            const bool on = HitTestScrollBar(g, p) == pressed_;
            if (on != onPressed_) onPressed_ = on, Invalidate();
        }
        break;
    }
    case WM_LBUTTONUP:
        if (pressed_ != TScrollPart::None) {
            const bool thumb = pressed_ == TScrollPart::Thumb;
            pressed_ = TScrollPart::None;
            KillTimer(Handle(), kRepeatTimer);
            if (thumb) Scroll(scPosition, position_);
            int pos = position_;
            if (OnScroll) OnScroll(this, scEndScroll, pos);
            Invalidate();
        }
        break;
    case WM_TIMER:
        if (m.WParam == kRepeatTimer) {
            if (firstRepeat_) {
                firstRepeat_ = false;
                SetTimer(Handle(), kRepeatTimer, 50);
            }
            // Repeats only while the pointer stays on the pressed part; a page
            // repeat stops once the thumb has reached the pointer.
            if (pressed_ != TScrollPart::None && HitTestScrollBar(Geometry(), lastPoint_) == pressed_) StepFor(pressed_);
            return;
        }
        break;
    case WM_KEYDOWN:
        switch (m.WParam) {
        case VK_LEFT:
        case VK_UP: Scroll(scLineUp, position_ - SmallChange); break;
        case VK_RIGHT:
        case VK_DOWN: Scroll(scLineDown, position_ + SmallChange); break;
        case VK_PRIOR: Scroll(scPageUp, position_ - LargeChange); break;
        case VK_NEXT: Scroll(scPageDown, position_ + LargeChange); break;
        case VK_HOME: Scroll(scTop, min_); break;
        case VK_END: Scroll(scBottom, max_); break;
        default: break;
        }
        break;
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        Invalidate();
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
