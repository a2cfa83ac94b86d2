#include "TbsSkinHintWindow.h"

#include <algorithm>

#include "ImgList.h"
#include "SkinComposition.h"
#include "SkinPlatform.h"
#include "SkinRegions.h"
#include "TbsResourceStrData.h"
#include "TbsSkinData.h"

namespace {
constexpr UINT_PTR kFadeTimerId = 1;
// The fade-in raises the opacity a step whenever more than 3 ms have passed:
// at every tick of the window system's shortest timer (10 ms).
constexpr UINT kFadeIntervalMs = 10;
constexpr int kFadeStep = 20;
// Between the image and the text column, and between the title and the lines.
constexpr int kImageGap = 4;
constexpr int kTitleGap = 2;
// The built-in look: the text starts at (2, 2) inside a one-pixel frame, with
// a little more room on the right.
constexpr int kPlainLeft = 2;
constexpr int kPlainTop = 2;
constexpr int kPlainExtraWidth = 6;
constexpr int kPlainExtraHeight = 4;
// The skinned look keeps this much room inside the skin's text area.
constexpr int kSkinPadX = 2;
constexpr int kSkinPadY = 1;

TSize MeasureText(TCanvas& c, const AnsiString& text) {
    if (text.empty()) return {0, 0};
    TRect r{0, 0, 0, 0};
    c.DrawText(text, r, DT_CALCRECT | DT_LEFT | DT_NOPREFIX);
    return {r.Width(), r.Height()};
}
}  // namespace

AnsiString SplitHintLines(const AnsiString& text, const AnsiString& separator) {
    if (separator.empty()) return text;
    AnsiString out;
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != AnsiString::npos; at = text.find(separator, from)) {
        out.append(text, from, at - from);
        out += "\r\n";
        from = at + separator.size();
    }
    out.append(text, from, AnsiString::npos);
    return out;
}

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() {
    if (HandleAllocated()) KillTimer(Handle(), kFadeTimerId);
}

void TbsSkinHintWindow::CreateParams(TCreateParams& p) {
    THintWindow::CreateParams(p);
    // The skin's picture is the whole window: no frame of the system's.
    p.Style &= ~DWORD(WS_BORDER);
    p.WindowClassStyle |= CS_DROPSHADOW;
    p.WinClassName = "TbsSkinHintWindow";
}

void TbsSkinHintWindow::Notification(TComponent* AComponent, TOperation Operation) {
    THintWindow::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skin_) skin_ = nullptr;
    if (AComponent == extras_.Images) extras_.Images = nullptr;
}

TbsSkinHint* TbsSkinHintWindow::Served() const {
    if (auto* own = dynamic_cast<TbsSkinHint*>(Owner())) return own;
    return ServingSkinHint();
}

void TbsSkinHintWindow::SetSkin(TbsSkinData* skin) {
    if (skin == skin_) return;
    if (skin_) skin_->RemoveFreeNotification(this);
    skin_ = skin;
    if (skin_) skin_->FreeNotification(this);
}

const TbsDataSkinHintWindow* TbsSkinHintWindow::Record() const { return skin_ ? &skin_->HintWindow() : nullptr; }

void TbsSkinHintWindow::SetUpFont(TFont& font) const {
    const TbsSkinHint* served = Served();
    const TbsDataSkinHintWindow* rec = Record();
    if (rec && served->UseSkinFont) {
        font.SetName(rec->fontname);
        font.SetHeight(rec->fontheight);
        font.SetStyle(rec->fontstyle);
    } else {
        font = served->DefaultFont;
    }
    const TbsResourceStrData* strings = served->SkinData() ? served->SkinData()->ResourceStrData() : nullptr;
    font.SetCharset(strings ? strings->CharSet() : served->DefaultFont.Charset());
    font.SetColor(rec ? rec->fontcolor : clInfoText);
}

bool TbsSkinHintWindow::Prepare(const AnsiString& hint) {
    TbsSkinHint* served = Served();
    const SkinHintExtras none;
    const SkinHintExtras& extras = served ? served->Extras() : none;
    ownLook_ = served && (served->Active() || !extras.Empty());
    if (!ownLook_) {
        SetSkin(nullptr);
        return false;
    }
    if (extras_.Images && extras_.Images != extras.Images) extras_.Images->RemoveFreeNotification(this);
    extras_ = extras;
    if (extras_.Images) extras_.Images->FreeNotification(this);

    TbsSkinData* skin = served->SkinData();
    const bool usable = skin && !skin->IsEmpty() && skin->ActiveBitmapAt(skin->HintWindow().windowpictureindex);
    SetSkin(usable ? skin : nullptr);
    SetCaption(SplitHintLines(hint, served->LineSeparator));
    SetUpFont(Font());
    layout_ = ComputeLayout(Caption());
    return true;
}

SkinHintLayout TbsSkinHintWindow::ComputeLayout(const AnsiString& text) {
    TCanvas measure;
    measure.Font = Font();
    const TSize body = MeasureText(measure, text);
    TSize title{0, 0};
    if (!extras_.Title.empty()) {
        measure.Font.SetStyle(measure.Font.Style() | fsBold);
        title = MeasureText(measure, extras_.Title);
    }
    const bool image = extras_.HasImage();
    const TSize imageSize = image ? TSize{extras_.Images->Width(), extras_.Images->Height()} : TSize{0, 0};
    const int columnW = std::max(body.cx, title.cx);
    const int columnH = title.cy + (title.cy > 0 && body.cy > 0 ? kTitleGap : 0) + body.cy;
    const int gap = image && columnW > 0 ? kImageGap : 0;
    const TSize content{imageSize.cx + gap + columnW, std::max(imageSize.cy, columnH)};

    SkinHintLayout l;
    TPoint origin{kPlainLeft, kPlainTop};
    if (const TbsDataSkinHintWindow* rec = Record()) {
        const TBitmap& pic = *skin_->ActiveBitmapAt(rec->windowpictureindex);
        const TRect& cr = rec->clientrect;
        // The fixed corner pieces are the least the picture can shrink to.
        const int minW = rec->lefttoppoint.X + pic.Width() - rec->righttoppoint.X;
        const int minH = rec->lefttoppoint.Y + pic.Height() - rec->leftbottompoint.Y;
        l.Size = {std::max(content.cx + 2 * kSkinPadX + cr.Left + pic.Width() - cr.Right, minW),
                  std::max(content.cy + 2 * kSkinPadY + cr.Top + pic.Height() - cr.Bottom, minH)};
        // Centred in the text area as it lies on a window of this size.
        const TRect area{cr.Left, cr.Top, cr.Right + l.Size.cx - pic.Width(), cr.Bottom + l.Size.cy - pic.Height()};
        origin = {area.Left + area.Width() / 2 - content.cx / 2, area.Top + area.Height() / 2 - content.cy / 2};
    } else {
        l.Size = {content.cx + kPlainExtraWidth, content.cy + kPlainExtraHeight};
    }
    l.HasImage = image;
    l.ImageAt = {origin.X, origin.Y + (content.cy - imageSize.cy) / 2};
    const int columnX = origin.X + imageSize.cx + gap;
    const int columnY = origin.Y + (content.cy - columnH) / 2;
    l.TitleRect = Bounds(columnX, columnY, title.cx, title.cy);
    const int bodyY = columnY + columnH - body.cy;
    l.TextRect = Bounds(columnX, bodyY, body.cx, body.cy);
    return l;
}

TRect TbsSkinHintWindow::CalcHintRect(int maxWidth, const AnsiString& hint) {
    if (!Prepare(hint)) return THintWindow::CalcHintRect(maxWidth, hint);
    return {0, 0, layout_.Size.cx, layout_.Size.cy};
}

TRect TbsSkinHintWindow::PlaceOnWorkArea(TPoint at, TSize size) const {
    // The work area of the active form's monitor, else the main form's, else
    // the screen's when the main form is hidden.
    TRect work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    if (!form && Application && Application->MainForm() && Application->MainForm()->Visible())
        form = Application->MainForm();
    if (form && form->HandleAllocated()) GetMonitorWorkArea(form->Handle(), true, work);
    TRect r = Bounds(at.X, at.Y, size.cx, size.cy);
    if (r.Right > work.Right) r = OffsetRect(r, -(size.cx + 2), 0);
    if (r.Bottom > work.Bottom) r = OffsetRect(r, 0, -(size.cy + 2));
    return r;
}

void TbsSkinHintWindow::ActivateHint(const TRect& rect, const AnsiString& hint) {
    HandleNeeded();
    if (!Prepare(hint)) {
        // The platform's own look: no shape, no translucency of ours.
        SetWindowRgn(Handle(), nullptr, FALSE);
        ApplyAlpha(false, 255, false);
        THintWindow::ActivateHint(rect, hint);
        return;
    }
    const TRect r = PlaceOnWorkArea(rect.TopLeft(), layout_.Size);
    const TbsSkinHint& served = *Served();
    ApplyAlpha(served.AlphaBlend, served.AlphaBlendValue, served.AlphaBlendAnimation);
    ApplyRegion();
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetVisibleFlag(true);
    Repaint();
    if (fading_) SetTimer(Handle(), kFadeTimerId, kFadeIntervalMs);
}

void TbsSkinHintWindow::ReleaseHint() {
    if (HandleAllocated()) KillTimer(Handle(), kFadeTimerId);
    fading_ = false;
    THintWindow::ReleaseHint();
}

void TbsSkinHintWindow::ApplyAlpha(bool blend, BYTE value, bool animate) {
    const HWND h = Handle();
    const LONG ex = GetWindowLong(h, GWL_EXSTYLE);
    layered_ = (ex & WS_EX_LAYERED) != 0;
    KillTimer(h, kFadeTimerId);
    fading_ = false;
    if (blend != layered_) {
        SetWindowLong(h, GWL_EXSTYLE, blend ? ex | LONG(WS_EX_LAYERED) : ex & ~LONG(WS_EX_LAYERED));
        layered_ = blend;
    }
    if (!layered_) {
        alpha_ = targetAlpha_ = 255;
        return;
    }
    targetAlpha_ = value;
    fading_ = animate;
    alpha_ = fading_ ? 0 : targetAlpha_;
    SetWindowAlpha(h, alpha_);
}

void TbsSkinHintWindow::ApplyRegion() {
    const TbsDataSkinHintWindow* rec = Record();
    const TBitmap* mask = rec ? skin_->ActiveBitmapAt(rec->maskpictureindex) : nullptr;
    if (!mask) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        return;
    }
    const TBitmap& pic = *skin_->ActiveBitmapAt(rec->windowpictureindex);
    const SkinCornerPoints points = CornerPointsOf(*rec);
    const SkinCornerPoints sized =
        SizedCornerPoints(points, {pic.Width(), pic.Height()}, layout_.Size);
    const std::optional<TRegion> region = ComposeSkinRegion(points, *mask, layout_.Size.cx, sized);
    SetWindowRgn(Handle(), region ? &*region : nullptr, TRUE);
}

void TbsSkinHintWindow::FadeStep() {
    alpha_ = BYTE(std::min(int(alpha_) + kFadeStep, int(targetAlpha_)));
    SetWindowAlpha(Handle(), alpha_);
    Repaint();
    if (alpha_ >= targetAlpha_) {
        KillTimer(Handle(), kFadeTimerId);
        fading_ = false;
    }
}

void TbsSkinHintWindow::WndProc(TMessage& m) {
    if (m.Msg == WM_TIMER && m.WParam == kFadeTimerId) {
        if (fading_) FadeStep();
        else KillTimer(Handle(), kFadeTimerId);
        return;
    }
    THintWindow::WndProc(m);
}

void TbsSkinHintWindow::Paint() {
    if (!ownLook_) {
        THintWindow::Paint();
        return;
    }
    const int W = ClientWidth();
    const int H = ClientHeight();
    TBitmap buffer;
    buffer.SetSize(W, H);
    TCanvas& c = buffer.Canvas();
    if (const TbsDataSkinHintWindow* rec = Record()) {
        const TBitmap& pic = *skin_->ActiveBitmapAt(rec->windowpictureindex);
        const SkinCornerPoints points = CornerPointsOf(*rec);
        const TSize picSize{pic.Width(), pic.Height()};
        ComposeWindowImage(points, {0, 0, picSize.cx, picSize.cy}, pic, buffer, W, H,
                           SizedCornerPoints(points, picSize, {W, H}), StretchFlagsOf(*rec), true);
    } else {
        c.Brush.Color = clInfoBk;
        c.FillRect({0, 0, W, H});
        c.Brush.Color = clBtnShadow;
        c.FrameRect({0, 0, W, H});
    }
    c.Brush.Style = bsClear;
    c.Font = Font();
    if (!Record() && extras_.Empty()) {
        TRect r{kPlainLeft, kPlainTop, W - kPlainLeft, H - kPlainTop};
        c.DrawText(Caption(), r, DT_LEFT | DT_NOPREFIX);
    } else {
        TRect r = layout_.TextRect;
        c.DrawText(Caption(), r, DT_LEFT | DT_NOPREFIX | DT_NOCLIP);
    }
    if (!extras_.Title.empty()) {
        c.Font.SetStyle(c.Font.Style() | fsBold);
        TRect r = layout_.TitleRect;
        c.DrawText(extras_.Title, r, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
    }
    if (layout_.HasImage && extras_.HasImage())
        extras_.Images->Draw(c, layout_.ImageAt.X, layout_.ImageAt.Y, extras_.ImageIndex);
    Canvas().Draw(0, 0, buffer);
}
