#include "TbsSkinEdit.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinControlGeometry.h"
#include "SkinCornerPoints.h"
#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "SkinPieceCopy.h"
#include "SkinRecordButton.h"
#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"

namespace {
void FallBack(TRect& r, const TRect& fallback) {
    if (RectIsEmpty(r)) r = fallback;
}
}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.SetColor(clBlack);
    settingFont_ = true;
    Font().Assign(defaultFont_);
    settingFont_ = false;
    defaultFont_.OnChange = [this] { DefaultFontChanged(); };
    ControlStyle |= csOpaque;
    SetTransparentEdit(true);
    SetBounds(Left(), Top(), Width(), 20);
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() { defaultFont_.OnChange = nullptr; }

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == skinData_) skinData_ = nullptr;
}

void TbsSkinCustomEdit::CreateWnd() {
    TbsCustomEdit::CreateWnd();
    FrameChanged();
}

// ---- properties --------------------------------------------------------------------------------

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* value) {
    if (ReferToSkinData(*this, skinData_, value) && !Designing()) ApplySkin();
}

void TbsSkinCustomEdit::SetDefaultColor(TColor value) {
    defaultColor_ = value;
    if (!Bound()) RepaintFrame();
}

void TbsSkinCustomEdit::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (!Bound() && value > 0) SetWidth(value);
}

void TbsSkinCustomEdit::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (!useSkinFont_) FitHeightToFont();
    else if (!Bound() && value > 0) SetHeight(value);
}

void TbsSkinCustomEdit::SetUseSkinFont(bool value) {
    if (value == useSkinFont_) return;
    useSkinFont_ = value;
    ApplySkin();
}

void TbsSkinCustomEdit::SetButtonMode(bool value) {
    if (value == buttonMode_) return;
    buttonMode_ = value;
    FrameChanged();
    RepaintFrame();
}

void TbsSkinCustomEdit::DefaultFontChanged() {
    if (Bound()) return;
    settingFont_ = true;
    Font().Assign(defaultFont_);
    settingFont_ = false;
    if (!useSkinFont_) FitHeightToFont();
    RepaintFrame();
}

// ---- binding -------------------------------------------------------------------------------------

void TbsSkinCustomEdit::BindSkinRecord() {
    int index = -1;
    const TbsDataSkinControl* found = SkinControlRecordNamed(skinData_, skinDataName_, &index);
    if (!found) {
        recordIndex_ = -1;
        return;
    }
    if (const auto* r = dynamic_cast<const TbsDataSkinEditControl*>(found)) {
        rec_ = *r;
        FallBack(rec_.activeskinrect, rec_.skinrect);
        FallBack(rec_.downbuttonrect, rec_.activebuttonrect);
        picture_ = SkinPictureAt(*skinData_, r->pictureindex);
        leftEndWidth_ = r->lefttoppoint.X;
        rightEndWidth_ = WidthOf(r->skinrect) - r->righttoppoint.X;
        hasRecord_ = true;
    }
    // A record of another class keeps the copy made before; with none made,
    // there is nothing to draw from and the edit stays in its default look.
    recordIndex_ = hasRecord_ ? index : -1;
}

int TbsSkinCustomEdit::SkinWidth() const { return WidthOf(rec_.skinrect); }
int TbsSkinCustomEdit::SkinHeight() const { return HeightOf(rec_.skinrect); }

TRect TbsSkinCustomEdit::StateRect() const { return Active() ? rec_.activeskinrect : rec_.skinrect; }

void TbsSkinCustomEdit::CalcLayout() {
    const int W = Width(), H = Height();
    if (!Bound()) {
        buttonRect_ = buttonMode_ ? TRect{W - H, 0, W, H} : TRect{};
        const int right = buttonMode_ ? W - H : W;
        textRect_ = {2, 2, right - 2, H - 2};
        return;
    }
    const int sw = SkinWidth(), sh = SkinHeight();
    textRect_ = rec_.clientrect;
    textRect_.Right = W + rec_.clientrect.Right - sw;
    buttonRect_ = buttonMode_ ? rec_.buttonrect : TRect{};
    // A button in the right end piece moves with the edit's width.
    if (buttonRect_.Left >= sw - rightEndWidth_) buttonRect_ = OffsetRect(buttonRect_, W - sw, 0);
    if (!useSkinFont_) {
        textRect_.Bottom += H - sh;
        buttonRect_.Bottom += H - sh;
    }
}

void TbsSkinCustomEdit::ApplyFontColour() {
    if (!Bound()) return;
    settingFont_ = true;
    Font().SetColor(Active() ? rec_.activefontcolor : rec_.fontcolor);
    settingFont_ = false;
}

void TbsSkinCustomEdit::ApplyCharset() {
    settingFont_ = true;
    if (skinData_ && skinData_->ResourceStrData()) Font().SetCharset(skinData_->ResourceStrData()->CharSet());
    else Font().SetCharset(defaultFont_.Charset());
    settingFont_ = false;
}

void TbsSkinCustomEdit::ApplySkin() {
    BindSkinRecord();
    settingFont_ = true;
    if (Bound() && useSkinFont_) {
        Font().SetName(rec_.fontname);
        Font().SetStyle(rec_.fontstyle);
        Font().SetHeight(rec_.fontheight);
    } else {
        Font().Assign(defaultFont_);
    }
    settingFont_ = false;
    if (!Bound()) {
        if (defaultWidth_ > 0) SetWidth(defaultWidth_);
        if (defaultHeight_ > 0) SetHeight(defaultHeight_);
    } else if (useSkinFont_) {
        SetHeight(SkinHeight());
    }
    ApplyCharset();
    // New frame metrics: the text area follows the record.
    FrameChanged();
    ApplyFontColour();
    if (!useSkinFont_) FitHeightToFont();
    RepaintFrame();
}

void TbsSkinCustomEdit::FitHeightToFont() {
    TCanvas measure;
    measure.Font.Assign(Font());
    const int text = measure.TextHeight("Wg");
    SetHeight(text + (Bound() ? SkinHeight() - HeightOf(rec_.clientrect) : 4));
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    BindSkinRecord();
    const bool resized = AWidth != Width() || AHeight != Height();
    if (resized && !(!Bound() && useSkinFont_)) {
        if (!useSkinFont_) {
            TCanvas measure;
            measure.Font.Assign(Font());
            AHeight = measure.TextHeight("Wg") + (Bound() ? SkinHeight() - HeightOf(rec_.clientrect) : 4);
        } else {
            AHeight = SkinHeight();
        }
    }
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    CalcLayout();
    if (resized) RepaintFrame();
}

void TbsSkinCustomEdit::FrameChanged() {
    CalcLayout();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TbsSkinCustomEdit::RepaintFrame() {
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// ---- painting ------------------------------------------------------------------------------------

void TbsSkinCustomEdit::ComposeFrame(TBitmap& frame) {
    TCanvas& c = frame.Canvas();
    const int W = frame.Width(), H = frame.Height();
    if (!Bound() || !picture_) {
        const int right = W - (buttonMode_ ? WidthOf(buttonRect_) : 0);
        c.Brush.Style = bsSolid;
        c.Brush.Color = defaultColor_;
        c.FillRect({0, 0, right, H});
        c.Brush.Color = clBtnShadow;
        c.FrameRect({0, 0, right, H});
        c.Brush.Color = clBtnFace;
        c.FrameRect({1, 1, right - 1, H - 1});
        if (buttonMode_) {
            DefaultBoxState state = DefaultBoxState::Normal;
            if (buttonDown_ && buttonHot_) state = DefaultBoxState::Pressed;
            else if (buttonHot_) state = DefaultBoxState::Hot;
            DrawDefaultBox(c, buttonRect_, state);
        }
        return;
    }
    if (useSkinFont_) {
        ComposeRowImage(leftEndWidth_, rightEndWidth_, frame, rec_.stretcheffect, W, StateRect(), *picture_);
        if (!buttonMode_) return;
        // The normal button is part of the row image.
        TRect src;
        if (!Enabled() && !RectIsEmpty(rec_.unenabledbuttonrect)) src = rec_.unenabledbuttonrect;
        else if (buttonDown_ && buttonHot_) src = rec_.downbuttonrect;
        else if (buttonHot_) src = rec_.activebuttonrect;
        if (!RectIsEmpty(src) && !RectIsEmpty(buttonRect_)) StretchSkinPiece(frame, buttonRect_, *picture_, src);
        return;
    }
    ComposeStretchedImage(frame, *picture_, StateRect(), false, rec_.clientrect);
    if (buttonMode_) ComposeButton(frame);
}

void TbsSkinCustomEdit::ComposeButton(TBitmap& frame) {
    // Without the skin's font the edit has a free height, and its button is
    // composed from a button record at the button's size.
    const RecordButton button = FindRecordButton(skinData_, {"editbutton", "resizebutton"});
    const RecordButtonState state = buttonDown_ && buttonHot_ ? RecordButtonState::Down
                                    : buttonHot_              ? RecordButtonState::Active
                                                              : RecordButtonState::Normal;
    DrawRecordButton(frame, buttonRect_, button, state);
}

void TbsSkinCustomEdit::PaintFrame() {
    if (!HandleAllocated()) return;
    BindSkinRecord();
    CalcLayout();
    TBitmap frame(Width(), Height());
    ComposeFrame(frame);
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    dc->SaveDC();
    dc->ExcludeClipRect(textRect_);
    dc->Draw(0, 0, frame);
    dc->RestoreDC();
    ReleaseDC(Handle(), dc);
}

void TbsSkinCustomEdit::PaintTextBackground(TCanvas& c) {
    const TRect area{0, 0, WidthOf(textRect_), HeightOf(textRect_)};
    if (!Bound() || !picture_) {
        c.Brush.Style = bsSolid;
        c.Brush.Color = defaultColor_;
        c.FillRect(area);
        return;
    }
    // The part of the frame's row image that lies under the text area.
    const TRect state = StateRect();
    const TRect src = OffsetRect(rec_.clientrect, state.Left, state.Top);
    const int left = std::max(0, leftEndWidth_ - rec_.clientrect.Left);
    const int right = std::max(0, rec_.clientrect.Right + rightEndWidth_ - SkinWidth());
    TBitmap under;
    ComposeRowImage(left, right, under, rec_.stretcheffect, area.Right, src, *picture_);
    if (useSkinFont_) c.Draw(0, 0, under);
    else c.StretchDraw(area, under);
}

void TbsSkinCustomEdit::PaintDisabledText(TCanvas& c) {
    if (Bound() && useSkinFont_) {
        c.Font.SetName(rec_.fontname);
        c.Font.SetStyle(rec_.fontstyle);
        c.Font.SetHeight(rec_.fontheight);
    } else {
        c.Font.Assign(defaultFont_);
    }
    c.Font.SetColor(Bound() ? rec_.disabledfontcolor : clGrayText);
    const AnsiString text = Text();
    const int w = c.TextWidth(text);
    const int cw = WidthOf(textRect_);
    int x = 2;
    if (Alignment() == taRightJustify) x = cw - w - 1;
    else if (Alignment() == taCenter) x = cw / 2 - w / 2;
    c.Brush.Style = bsClear;
    c.TextOut(x, 0, text);
    c.Brush.Style = bsSolid;
}

void TbsSkinCustomEdit::PaintWindow(HDC DC) {
    if (RectIsEmpty(textRect_)) return;
    TCanvas& c = *DC;
    PaintTextBackground(c);
    if (Enabled()) TbsCustomEdit::PaintWindow(DC);
    else PaintDisabledText(c);
}

// ---- pointer, focus, button ------------------------------------------------------------------

void TbsSkinCustomEdit::MouseEntered() {
    mouseIn_ = true;
    if (!Focused() && Bound()) {
        ApplyFontColour();
        RepaintFrame();
    }
    if (!Designing() && OnMouseEnter) OnMouseEnter(this);
}

void TbsSkinCustomEdit::MouseLeft() {
    mouseIn_ = false;
    if (!Focused() && Bound()) {
        ApplyFontColour();
        RepaintFrame();
    }
    if (buttonDown_ || buttonHot_) {
        buttonDown_ = buttonHot_ = false;
        RepaintFrame();
    }
    if (!Designing() && OnMouseLeave) OnMouseLeave(this);
}

int TbsSkinCustomEdit::HitTest(TPoint screen) {
    TRect wr;
    GetWindowRect(Handle(), wr);
    const TPoint p{screen.X - wr.Left, screen.Y - wr.Top};
    if (buttonMode_ && PtInRect(buttonRect_, p)) return HTOBJECT;
    if (!PtInRect(textRect_, p)) return HTBORDER;
    return HTCLIENT;
}

void TbsSkinCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        TRect* r = NcCalcSizeRect(m.WParam, m.LParam);
        if (!r) break;
        BindSkinRecord();
        const int H = r->Height();
        TRect inset{2, 2, buttonMode_ ? H + 2 : 2, 2};
        if (Bound())
            inset = {rec_.clientrect.Left, rec_.clientrect.Top, SkinWidth() - rec_.clientrect.Right,
                     SkinHeight() - rec_.clientrect.Bottom};
        *r = InsetRect(*r, inset);
        m.Result = 0;
        return;
    }
    case WM_NCPAINT:
        PaintFrame();
        m.Result = 0;
        return;
    case WM_NCHITTEST:
        if (Designing()) break;
        CalcLayout();
        m.Result = HitTest(LParamToPoint(m.LParam));
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (m.WParam == WPARAM(HTOBJECT)) {
            buttonDown_ = true;
            RepaintFrame();
            return;
        }
        break;
    case WM_NCLBUTTONUP:
        if (m.WParam == WPARAM(HTOBJECT)) {
            const bool wasDown = buttonDown_;
            buttonDown_ = false;
            RepaintFrame();
            if (!Focused() && CanFocus()) SetFocus();
            if (wasDown && OnButtonClick) OnButtonClick(this);
            return;
        }
        break;
    case WM_NCMOUSEMOVE: {
        const bool onButton = m.WParam == WPARAM(HTOBJECT);
        if (onButton != buttonHot_) {
            buttonHot_ = onButton;
            RepaintFrame();
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (buttonHot_) {
            buttonHot_ = false;
            RepaintFrame();
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsCustomEdit::WndProc(m);
        ApplyFontColour();
        RepaintFrame();
        return;
    case CM_MOUSEENTER:
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) MouseEntered();
        break;
    case CM_MOUSELEAVE:
        if (m.LParam == 0 || FromLParam<TControl>(m.LParam) == this) MouseLeft();
        break;
    case CM_FONTCHANGED:
        TbsCustomEdit::WndProc(m);
        if (!settingFont_ && !useSkinFont_) {
            FitHeightToFont();
            if (!Bound()) FrameChanged();
        }
        return;
    case CM_ENABLEDCHANGED:
        TbsCustomEdit::WndProc(m);
        RepaintFrame();
        return;
    default:
        break;
    }
    TbsCustomEdit::WndProc(m);
}
