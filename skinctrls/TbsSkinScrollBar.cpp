#include "TbsSkinScrollBar.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinPieceCopy.h"
#include "TbsSkinData.h"

namespace {
constexpr unsigned kFirstRepeatDelay = 500;
constexpr unsigned kRepeatInterval = 50;
constexpr const char* kHorizontalName = "hscrollbar";
constexpr const char* kVerticalName = "vscrollbar";

void FallBack(TRect& r, const TRect& fallback) {
    if (RectIsEmpty(r)) r = fallback;
}

// A position inside the range: with a page, no further than a page from its end.
int ClampPosition(const ScrollBarRange& r, int v) {
    v = std::min(v, r.PageSize > 0 ? r.Max - r.PageSize + 1 : r.Max);
    return std::max(v, r.Min);
}
}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), repeatTimer_(CreateUnowned<TTimer>()) {
    SetSkinDataName(kHorizontalName);
    ControlStyle = csCaptureMouse | csDoubleClicks | csOpaque;
    SetBounds(0, 0, 200, 19);
    SetDefaultHeight(19);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
}

TbsSkinScrollBar::~TbsSkinScrollBar() { repeatTimer_->OnTimer = nullptr; }

// ---- properties ------------------------------------------------------------------------------

void TbsSkinScrollBar::SetKind(TScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    // A bar still carrying the other kind's record name and default size
    // takes this kind's; names and sizes the program chose stay.
    const char* other = value == sbVertical ? kHorizontalName : kVerticalName;
    if (SkinDataName() == other) SetSkinDataName(value == sbVertical ? kVerticalName : kHorizontalName);
    const int dw = DefaultWidth(), dh = DefaultHeight();
    if ((value == sbVertical && dh > 0 && dw == 0) || (value == sbHorizontal && dw > 0 && dh == 0)) {
        SetDefaultWidth(0);
        SetDefaultHeight(0);
        if (value == sbVertical) SetDefaultWidth(dh);
        else SetDefaultHeight(dw);
    }
    Invalidate();
}

void TbsSkinScrollBar::SetMin(int value) {
    range_.Min = value;
    if (range_.Position < value) range_.Position = value;
    Invalidate();
}

void TbsSkinScrollBar::SetMax(int value) {
    range_.Max = value;
    range_.Position = ClampPosition(range_, range_.Position);
    Invalidate();
}

void TbsSkinScrollBar::SetPosition(int value) {
    value = ClampPosition(range_, value);
    if (value == range_.Position) return;
    range_.Position = value;
    Changed();
}

void TbsSkinScrollBar::SetPageSize(int value) {
    if (range_.Max - range_.Min + 1 >= value + range_.Position) range_.PageSize = value;
    Invalidate();
}

void TbsSkinScrollBar::SetRangeAndPosition(int min, int max, int page, int position) {
    range_.Min = min;
    range_.Max = max;
    range_.PageSize = page;
    range_.Position = ClampPosition(range_, position);
    Invalidate();
}

void TbsSkinScrollBar::SetSmallChange(int value) {
    smallChange_ = value;
    Invalidate();
}

void TbsSkinScrollBar::SetLargeChange(int value) {
    largeChange_ = value;
    Invalidate();
}

void TbsSkinScrollBar::SetBoth(bool value) {
    if (value == both_) return;
    both_ = value;
    if (!Designing()) {
        if (value) {
            nameBeforeBoth_ = SkinDataName();
            SetSkinDataName(bothSkinDataName_);
        } else if (!nameBeforeBoth_.empty()) {
            SetSkinDataName(nameBeforeBoth_);
        }
    }
    BindSkinRecord();
    if (recordIndex_ == -1) Invalidate();
    else ApplySkin();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int value) {
    if (value < 0) return;
    bothMarkerWidth_ = value;
    Invalidate();
}

void TbsSkinScrollBar::SetCanFocused(bool value) {
    canFocused_ = value;
    SetTabStop(value);
}

void TbsSkinScrollBar::Changed() {
    Invalidate();
    if (OnChange) OnChange(this);
}

// ---- binding and layout ----------------------------------------------------------------------

void TbsSkinScrollBar::BindSkinRecord() {
    TbsSkinCustomControl::BindSkinRecord();
    if (recordIndex_ == -1) return;
    const auto* r = dynamic_cast<const TbsDataSkinScrollBarControl*>(BoundRecord());
    hasRecord_ = r != nullptr;
    if (!r) return;
    record_ = *r;
    FallBack(record_.downupbuttonrect, record_.activeupbuttonrect);
    FallBack(record_.downdownbuttonrect, record_.activedownbuttonrect);
    FallBack(record_.activethumbrect, record_.thumbrect);
    FallBack(record_.downthumbrect, record_.activethumbrect);
    FallBack(record_.activeglyphrect, record_.glyphrect);
    FallBack(record_.downglyphrect, record_.activeglyphrect);
}

void TbsSkinScrollBar::CalcLayout() {
    if (Skinned()) {
        layout_ = LayoutSkinnedScrollBar(Width(), Height(), Vertical(), record_, range_);
    } else {
        int length = Vertical() ? Height() : Width();
        if (both_) length -= bothMarkerWidth_;
        layout_ = LayoutDefaultScrollBar(Width(), Height(), Vertical(), length, range_);
    }
    parts_[kThumb].rect = layout_.Thumb;
    parts_[kIncrement].rect = layout_.IncButton;
    parts_[kDecrement].rect = layout_.DecButton;
}

ScrollBarLayout TbsSkinScrollBar::Layout() {
    BindSkinRecord();
    CalcLayout();
    return layout_;
}

int TbsSkinScrollBar::HotButton() const {
    for (int i = 0; i < 3; ++i)
        if (parts_[i].hot) return i;
    return -1;
}

int TbsSkinScrollBar::PartAt(TPoint p) const {
    for (int i : {kThumb, kIncrement, kDecrement})
        if (PtInRect(parts_[i].rect, p)) return i;
    return -1;
}

bool TbsSkinScrollBar::BeforeThumb(TPoint p) const {
    return Along(p) < (Vertical() ? parts_[kThumb].rect.Top : parts_[kThumb].rect.Left);
}

void TbsSkinScrollBar::SetPartState(int part, bool hot, bool pressed) {
    if (part < 0 || part > 2) return;
    parts_[part].hot = hot;
    parts_[part].pressed = pressed;
    Invalidate();
}

void TbsSkinScrollBar::SetDraggingLook(bool value) {
    dragging_ = value;
    Invalidate();
}

// ---- painting --------------------------------------------------------------------------------

void TbsSkinScrollBar::PaintSkinImage(TBitmap& bitmap) {
    if (!Skinned() || !geometry_.SkinPicture) {
        PaintDefaultImage(bitmap);
        return;
    }
    CalcLayout();
    PaintSkinImageFrom(bitmap, geometry_.skinrect);
    PaintSkinnedButton(bitmap, kIncrement);
    PaintSkinnedButton(bitmap, kDecrement);
    if (Enabled()) PaintSkinnedThumb(bitmap);
}

void TbsSkinScrollBar::PaintSkinnedButton(TBitmap& bitmap, int part) {
    // The normal button is part of the bar's image.
    const Part& p = parts_[part];
    const bool inc = part == kIncrement;
    TRect src;
    if (p.pressed && p.hot) src = inc ? record_.downupbuttonrect : record_.downdownbuttonrect;
    else if (p.hot) src = inc ? record_.activeupbuttonrect : record_.activedownbuttonrect;
    else return;
    if (!RectIsEmpty(src) && !RectIsEmpty(p.rect)) StretchSkinPiece(bitmap, p.rect, *geometry_.SkinPicture, src);
}

void TbsSkinScrollBar::PaintSkinnedThumb(TBitmap& bitmap) {
    const TRect& t = parts_[kThumb].rect;
    if (RectIsEmpty(t)) return;
    const TBitmap& pic = *geometry_.SkinPicture;
    const bool down = dragging_ || (Focused() && canFocused_);
    const bool hot = parts_[kThumb].hot;
    const TRect src = down ? record_.downthumbrect : hot ? record_.activethumbrect : record_.thumbrect;
    const TRect glyph = down ? record_.downglyphrect : hot ? record_.activeglyphrect : record_.glyphrect;
    if (RectIsEmpty(src)) return;

    TBitmap thumb;
    if (range_.PageSize > 0 || record_.thumbminpagesize > 0) {
        // A thumb of the page's length: fixed ends, the middle grown.
        if (Vertical())
            ComposeColumnImage(record_.thumboffset1, record_.thumboffset2, thumb, record_.thumbstretcheffect,
                               HeightOf(t), src, pic);
        else
            ComposeRowImage(record_.thumboffset1, record_.thumboffset2, thumb, record_.thumbstretcheffect, WidthOf(t),
                            src, pic);
    } else {
        thumb.SetSize(WidthOf(src), HeightOf(src));
        CopySkinPiece(thumb, 0, 0, pic, src);
    }
    if (record_.thumbtransparent) {
        thumb.SetTransparent(true);
        thumb.SetTransparentColor(record_.thumbtransparentcolor);
    }
    TCanvas& c = bitmap.Canvas();
    c.Draw(t.Left, t.Top, thumb);

    const int glyphAlong = Vertical() ? HeightOf(glyph) : WidthOf(glyph);
    const int thumbAlong = Vertical() ? HeightOf(t) : WidthOf(t);
    if (RectIsEmpty(glyph) || glyphAlong >= thumbAlong) return;
    TBitmap grip(WidthOf(glyph), HeightOf(glyph));
    CopySkinPiece(grip, 0, 0, pic, glyph);
    if (record_.glyphtransparent) {
        grip.SetTransparent(true);
        grip.SetTransparentColor(record_.glyphtransparentcolor);
    }
    c.Draw(t.Left + WidthOf(t) / 2 - grip.Width() / 2, t.Top + HeightOf(t) / 2 - grip.Height() / 2, grip);
}

void TbsSkinScrollBar::PaintDefaultImage(TBitmap& bitmap) {
    CalcLayout();
    TCanvas& c = bitmap.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    PaintDefaultPart(c, kDecrement);
    PaintDefaultPart(c, kIncrement);
    if (Enabled()) PaintDefaultPart(c, kThumb);
}

void TbsSkinScrollBar::PaintDefaultPart(TCanvas& c, int part) {
    const Part& p = parts_[part];
    DefaultBoxState state = DefaultBoxState::Normal;
    const bool pressed = part == kThumb ? dragging_ || (Focused() && canFocused_) : p.pressed && p.hot;
    if (pressed) state = DefaultBoxState::Pressed;
    else if (p.hot) state = DefaultBoxState::Hot;
    DrawDefaultBox(c, p.rect, state);
    if (part == kThumb) return;
    SkinArrowKind arrow;
    if (part == kIncrement) arrow = Vertical() ? SkinArrowKind::Down : SkinArrowKind::Right;
    else arrow = Vertical() ? SkinArrowKind::Up : SkinArrowKind::Left;
    DrawDirectionArrow(c, p.rect, arrow, Enabled() ? clBtnText : clBtnShadow);
}

// ---- stepping ---------------------------------------------------------------------------------

void TbsSkinScrollBar::StepButton(int part) {
    if (part == kIncrement) {
        if (OnUpButtonClick) OnUpButtonClick(this);
        else SetPosition(range_.Position + smallChange_);
    } else {
        if (OnDownButtonClick) OnDownButtonClick(this);
        else SetPosition(range_.Position - smallChange_);
    }
}

void TbsSkinScrollBar::PageBack() {
    SetPosition(range_.Position - largeChange_);
    if (OnPageUp) OnPageUp(this);
}

void TbsSkinScrollBar::PageForward() {
    SetPosition(range_.Position + largeChange_);
    if (OnPageDown) OnPageDown(this);
}

void TbsSkinScrollBar::StartRepeat(unsigned ms) {
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(ms);
    repeatTimer_->SetEnabled(true);
}

void TbsSkinScrollBar::RepeatTick() {
    if (firstDelayPending_) {
        firstDelayPending_ = false;
        StartRepeat(kRepeatInterval);
        return;
    }
    switch (repeatKind_) {
    case kStepBack: StepButton(kDecrement); break;
    case kStepForward: StepButton(kIncrement); break;
    case kPageBack:
    case kPageForward: {
        CalcLayout();
        RefreshHot(lastPointer_);
        const TRect& t = parts_[kThumb].rect;
        const bool back = repeatKind_ == kPageBack;
        const bool stillThere =
            back ? BeforeThumb(lastPointer_) : Along(lastPointer_) >= (Vertical() ? t.Bottom : t.Right);
        if (!stillThere) repeatTimer_->SetEnabled(false);
        else if (back) PageBack();
        else PageForward();
        break;
    }
    default: repeatTimer_->SetEnabled(false); break;
    }
}

// ---- pointer ----------------------------------------------------------------------------------

void TbsSkinScrollBar::RefreshHot(TPoint p) {
    const int hit = PartAt(p);
    bool changed = false;
    for (int i = 0; i < 3; ++i) {
        Part& part = parts_[i];
        const bool shouldBeHot = i == hit && (capturedButton_ == -1 || capturedButton_ == i);
        if (part.hot == shouldBeHot) continue;
        part.hot = shouldBeHot;
        changed = true;
        // A held button repeats only while the pointer is on it.
        if (i != kThumb && part.pressed) {
            if (shouldBeHot) StartRepeat(kRepeatInterval);
            else repeatTimer_->SetEnabled(false);
        }
    }
    if (changed) Invalidate();
}

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    BindSkinRecord();
    CalcLayout();
    repeatKind_ = kNoRepeat;
    firstDelayPending_ = true;
    const TPoint p{X, Y};
    lastPointer_ = p;
    const int part = PartAt(p);
    if (part == kThumb) {
        capturedButton_ = kThumb;
        dragOrigin_ = Along(p);
        dragStartShift_ = layout_.ThumbShift;
        dragging_ = true;
        Invalidate();
    } else if (part == kIncrement || part == kDecrement) {
        capturedButton_ = part;
        parts_[part].pressed = true;
        parts_[part].hot = true;
        Invalidate();
        StepButton(part);
        repeatKind_ = part == kIncrement ? kStepForward : kStepBack;
        StartRepeat(kFirstRepeatDelay);
    } else if (PtInRect(layout_.Track, p)) {
        // A press beside the thumb pages towards the pointer; it never moves
        // the thumb to it.
        if (BeforeThumb(p)) {
            repeatKind_ = kPageBack;
            StartRepeat(kFirstRepeatDelay);
            PageBack();
        } else {
            repeatKind_ = kPageForward;
            StartRepeat(kFirstRepeatDelay);
            PageForward();
        }
    }
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
    const TPoint p{X, Y};
    lastPointer_ = p;
    BindSkinRecord();
    CalcLayout();
    RefreshHot(p);
    if (dragging_) {
        const int shift = Along(p) - dragOrigin_ + dragStartShift_;
        const TRect& t = parts_[kThumb].rect;
        const int length = Vertical() ? HeightOf(t) : WidthOf(t);
        SetPosition(ScrollBarPositionForShift(layout_, Vertical(), length, shift, range_));
    }
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (repeatKind_ == kPageBack || repeatKind_ == kPageForward) repeatTimer_->SetEnabled(false);
    const int captured = capturedButton_;
    if (captured != -1) {
        Part& part = parts_[captured];
        part.pressed = false;
        if (PartAt({X, Y}) != captured) part.hot = false;
        if (captured == kThumb) dragging_ = false;
        else repeatTimer_->SetEnabled(false);
        Invalidate();
    }
    capturedButton_ = -1;
    repeatKind_ = kNoRepeat;
    if (captured == kThumb && OnLastChange) OnLastChange(this);
}

void TbsSkinScrollBar::MouseLeft() {
    TbsSkinCustomControl::MouseLeft();
    if (capturedButton_ == -1 && !dragging_) {
        bool changed = false;
        for (Part& p : parts_) changed |= std::exchange(p.hot, false);
        if (changed) Invalidate();
    }
    if ((GetKeyState(VK_LBUTTON) & 0x8000) && repeatKind_ == kPageForward) repeatTimer_->SetEnabled(false);
}

bool TbsSkinScrollBar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TbsSkinCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    if (!canFocused_ || !Focused()) return false;
    SetPosition(range_.Position + (WheelDelta <= 0 ? smallChange_ : -smallChange_));
    return true;
}

void TbsSkinScrollBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A focusable bar takes the focus first; a click that cannot take it is dropped.
        if (canFocused_ && !Focused() && !Designing()) {
            if (CanFocus()) SetFocus();
            if (!Focused()) return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::WndProc(m);
        Invalidate();
        return;
    case WM_GETDLGCODE:
        if (canFocused_) {
            m.Result = DLGC_WANTARROWS;
            return;
        }
        break;
    case WM_KEYDOWN:
        if (canFocused_) {
            if (m.WParam == VK_LEFT || m.WParam == VK_UP) SetPosition(range_.Position - smallChange_);
            else if (m.WParam == VK_RIGHT || m.WParam == VK_DOWN) SetPosition(range_.Position + smallChange_);
        }
        break;
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TbsSkinCustomControl::WndProc(m);
}
