#include "TbsSkinCustomListBox.h"

#include <algorithm>

#include "Forms.h"
#include "SkinComposition.h"
#include "SkinControlGeometry.h"
#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinPieceCopy.h"
#include "SkinPlatform.h"
#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"
#include "TbsSkinScrollBar.h"
#include "WindowSystem.h"

namespace {
constexpr int kDefaultFrame = 2;
constexpr int kDefaultBarSize = 19;
constexpr int kFadeStep = 10;
constexpr DWORD kFadeIntervalMs = 5;

int TextHeightOf(const TFont& font) {
    TCanvas measure;
    measure.Font.Assign(font);
    return measure.TextHeight("Wg");
}

TRect InsetsPlusTop(TRect in, int top) {
    in.Top += top;
    return in;
}
}  // namespace

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner) : TPopupListBox(AOwner) {
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultCaptionFont_.Assign(defaultFont_);
    Font().Assign(defaultFont_);
    // The frame is the list's own; the platform's edge and bars never show.
    SetBorderStyle(bsNone);
    bars_.SetAllowed(false, false, nullptr);
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(defaultItemHeight_);
}

TbsSkinCustomListBox::~TbsSkinCustomListBox() {
    if (scrollBar_) scrollBar_->OnChange = nullptr;
    if (hScrollBar_) hScrollBar_->OnChange = nullptr;
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) {
        skinData_ = nullptr;
        recordIndex_ = -1;
    }
    if (AComponent == scrollBar_) scrollBar_ = nullptr;
    if (AComponent == hScrollBar_) hScrollBar_ = nullptr;
    // A freed image list is no longer drawn.
    if (AComponent == images_) {
        images_ = nullptr;
        Invalidate();
    }
}

// ---- item content ------------------------------------------------------------------------------

void TbsSkinCustomListBox::SetImages(TImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(int value) {
    imageIndex_ = std::max(-1, value);
    Invalidate();
}

int TbsSkinCustomListBox::ItemImageIndex(int item) const {
    if (!images_ || item < 0) return -1;
    const int index = imageIndex_ >= 0 ? imageIndex_ : item;
    return index < images_->Count() ? index : -1;
}

void TbsSkinCustomListBox::SetTabWidths(std::vector<int> value) {
    tabWidths_ = std::move(value);
    Invalidate();
}

SkinItemContent TbsSkinCustomListBox::ItemContent(int item) const {
    return {images_, ItemImageIndex(item), &tabWidths_};
}

// ---- caption mode ------------------------------------------------------------------------------

void TbsSkinCustomListBox::RedrawFrame() {
    if (!HandleAllocated()) return;
    // The band's height may have changed: the client area moves.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SyncScrollBar();
    Invalidate();
}

void TbsSkinCustomListBox::SetListCaption(const AnsiString& value) {
    caption_ = value;
    if (captionMode_) RedrawFrame();
}

void TbsSkinCustomListBox::SetCaptionMode(bool value) {
    if (value == captionMode_) return;
    captionMode_ = value;
    RedrawFrame();
}

void TbsSkinCustomListBox::SetCaptionAlignment(TAlignment value) {
    captionAlignment_ = value;
    if (captionMode_) RedrawFrame();
}

void TbsSkinCustomListBox::SetDefaultCaptionFont(const TFont& value) {
    defaultCaptionFont_.Assign(value);
    if (captionMode_) RedrawFrame();
}

int TbsSkinCustomListBox::CaptionHeight() const {
    if (!captionMode_) return 0;
    if (Skinned() && !RectIsEmpty(rec_.captionrect)) return HeightOf(rec_.captionrect);
    if (Skinned()) {
        TFont f;
        f.SetName(rec_.captionfontname);
        f.SetHeight(rec_.captionfontheight);
        f.SetStyle(rec_.captionfontstyle);
        return TextHeightOf(f) + 6;
    }
    return TextHeightOf(defaultCaptionFont_) + 6;
}

TRect TbsSkinCustomListBox::CaptionRectFor(int width) const {
    const TRect in = BorderInsets();
    return {in.Left, in.Top, std::max(in.Left, width - in.Right), in.Top + CaptionHeight()};
}

TRect TbsSkinCustomListBox::CheckButtonRectFor(int width) const {
    const TRect band = CaptionRectFor(width);
    if (band.Height() <= 0) return {};
    TSize size{band.Height() - 4, band.Height() - 4};
    if (Skinned() && !RectIsEmpty(rec_.checkbuttonrect))
        size = {WidthOf(rec_.checkbuttonrect), HeightOf(rec_.checkbuttonrect)};
    const int top = band.Top + (band.Height() - size.cy) / 2;
    return {band.Right - 2 - size.cx, top, band.Right - 2, top + size.cy};
}

// ---- binding -----------------------------------------------------------------------------------

void TbsSkinCustomListBox::SetSkinData(TbsSkinData* value) {
    ReferToSkinData(*this, skinData_, value);
    if (scrollBar_) scrollBar_->SetSkinData(value);
    ApplySkin();
}

void TbsSkinCustomListBox::SetSkinDataName(const AnsiString& value) {
    skinDataName_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int value) {
    if (value < 1) return;
    defaultItemHeight_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::SetUseSkinItemHeight(bool value) {
    useSkinItemHeight_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::SetDefaultFont(const TFont& value) {
    defaultFont_.Assign(value);
    ApplySkin();
}

void TbsSkinCustomListBox::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    ApplySkin();
}

void TbsSkinCustomListBox::BindSkinRecord() {
    recordIndex_ = -1;
    picture_ = nullptr;
    if (!skinData_ || skinData_->IsEmpty() || skinDataName_.empty()) return;
    const int index = skinData_->FindControlIndex(skinDataName_);
    const auto* r = dynamic_cast<const TbsDataSkinListBox*>(SkinControlRecordAt(skinData_, index));
    if (!r) return;
    rec_ = *r;
    // The selected and focused item images fall back to the normal one.
    if (RectIsEmpty(rec_.activeitemrect)) rec_.activeitemrect = rec_.itemrect;
    if (RectIsEmpty(rec_.focusitemrect)) rec_.focusitemrect = rec_.itemrect;
    picture_ = SkinPictureAt(*skinData_, rec_.pictureindex);
    recordIndex_ = index;
}

void TbsSkinCustomListBox::ApplySkin() {
    BindSkinRecord();
    TFont f;
    f.Assign(defaultFont_);
    if (Skinned() && useSkinFont_) {
        f.SetName(rec_.fontname);
        f.SetHeight(rec_.fontheight);
        f.SetStyle(rec_.fontstyle);
    }
    if (Skinned()) f.SetColor(rec_.fontcolor);
    Font().Assign(f);
    const bool skinHeight = Skinned() && useSkinItemHeight_ && HeightOf(rec_.itemrect) > 0;
    SetItemHeight(skinHeight ? HeightOf(rec_.itemrect) : defaultItemHeight_);
    if (scrollBar_) {
        scrollBar_->SetSkinDataName(Skinned() ? rec_.vscrollbarname : AnsiString("vscrollbar"));
        scrollBar_->ApplySkin();
    }
    if (hScrollBar_) {
        hScrollBar_->SetBothSkinDataName(Skinned() ? rec_.bothhscrollbarname : AnsiString("bothhscrollbar"));
        // A bar in its "both" look keeps that record until it leaves it.
        const AnsiString name = Skinned() ? rec_.hscrollbarname : AnsiString("hscrollbar");
        hScrollBar_->SetSkinDataName(hScrollBar_->Both() ? hScrollBar_->BothSkinDataName() : name);
        hScrollBar_->ApplySkin();
    }
    // The frame's widths may have changed.
    RedrawFrame();
}

// ---- geometry ----------------------------------------------------------------------------------

TRect TbsSkinCustomListBox::BorderInsets() const {
    if (!Skinned()) return {kDefaultFrame, kDefaultFrame, kDefaultFrame, kDefaultFrame};
    const TRect& c = rec_.clientrect;
    return {c.Left, c.Top, WidthOf(rec_.skinrect) - c.Right, HeightOf(rec_.skinrect) - c.Bottom};
}

TRect TbsSkinCustomListBox::FrameInsets() const { return InsetsPlusTop(BorderInsets(), CaptionHeight()); }

int TbsSkinCustomListBox::HeightForRows(int rows) const { return HeightForRowsAt(rows, Width()); }

int TbsSkinCustomListBox::HeightForRowsAt(int rows, int width) const {
    rows = std::max(0, rows);
    int height = Skinned() ? HeightOf(rec_.skinrect) + rows * ItemHeight() - HeightOf(rec_.clientrect)
                           : rows * ItemHeight() + 2 * kDefaultFrame;
    height += CaptionHeight();
    if (NeedsHorizontalBar(width)) height += HorizontalBarHeight();
    return height;
}

int TbsSkinCustomListBox::ItemAreaWidth(const TRect& rect) const {
    const int bar = scrollBar_ && scrollBar_->Visible() ? scrollBar_->Width() : 0;
    return std::max(0, rect.Width() - bar);
}

int TbsSkinCustomListBox::ItemAreaHeight() const {
    const int bar = hScrollBar_ && hScrollBar_->Visible() ? hScrollBar_->Height() : 0;
    return std::max(0, ClientRect().Height() - bar);
}

bool TbsSkinCustomListBox::NeedsHorizontalBar(int width) const {
    const TRect in = FrameInsets();
    return horizontalExtent_ > 0 && horizontalExtent_ > width - in.Left - in.Right;
}

int TbsSkinCustomListBox::HorizontalBarHeight() const {
    if (hScrollBar_) return hScrollBar_->Height();
    // Before the bar exists: the height its record gives it, or the default.
    if (skinData_ && !skinData_->IsEmpty()) {
        const AnsiString name = Skinned() ? rec_.hscrollbarname : AnsiString("hscrollbar");
        const int index = skinData_->FindControlIndex(name);
        if (const auto* r = dynamic_cast<const TbsDataSkinCustomControl*>(SkinControlRecordAt(skinData_, index)))
            if (HeightOf(r->skinrect) > 0) return HeightOf(r->skinrect);
    }
    return kDefaultBarSize;
}

void TbsSkinCustomListBox::SetHorizontalExtent(int value) {
    horizontalExtent_ = std::max(0, value);
    SyncScrollBar();
    Invalidate();
}

bool TbsSkinCustomListBox::OnScrollBar(TPoint screenPos) const {
    for (const TbsSkinScrollBar* bar : {scrollBar_, hScrollBar_})
        if (bar && bar->Visible() && PtInRect(bar->BoundsRect(), ScreenToClient(screenPos))) return true;
    return false;
}

// ---- the bar -----------------------------------------------------------------------------------

void TbsSkinCustomListBox::SyncScrollBar() {
    if (syncing_) return;
    syncing_ = true;
    const int count = Items().Count();
    const TRect client = ClientRect();
    const bool horizontal = HandleAllocated() && NeedsHorizontalBar(Width());
    const int hHeight = horizontal ? HorizontalBarHeight() : 0;
    const int rows = std::max(1, (client.Height() - hHeight) / std::max(1, ItemHeight()));
    const bool needed = count > rows && HandleAllocated();
    if (needed && !scrollBar_) {
        scrollBar_ = CreateComponent<TbsSkinScrollBar>(this);
        scrollBar_->FreeNotification(this);
        scrollBar_->SetKind(sbVertical);
        scrollBar_->SetDefaultWidth(kDefaultBarSize);
        scrollBar_->SetBounds(0, 0, kDefaultBarSize, 100);
        scrollBar_->SetSkinDataName(Skinned() ? rec_.vscrollbarname : AnsiString("vscrollbar"));
        scrollBar_->SetSkinData(skinData_);
        scrollBar_->SetParent(this);
        scrollBar_->OnChange = [this](TObject*) {
            if (!syncing_) SetTopIndex(scrollBar_->Position());
        };
    }
    if (scrollBar_) {
        if (needed) {
            // The bar keeps the width it takes (a skinned bar its record's).
            const int w = scrollBar_->Width();
            const TRect place{client.Right - w, 0, client.Right, client.Height() - hHeight};
            if (scrollBar_->BoundsRect() != place) scrollBar_->SetBoundsRect(place);
            scrollBar_->SetRangeAndPosition(0, count - 1, rows, TopIndex());
            scrollBar_->SetSmallChange(1);
            scrollBar_->SetLargeChange(rows);
        }
        if (scrollBar_->Visible() != needed) {
            scrollBar_->SetVisible(needed);
            Invalidate();
        }
    }
    SyncHorizontalBar(needed);
    syncing_ = false;
}

void TbsSkinCustomListBox::SyncHorizontalBar(bool vertical) {
    const bool needed = HandleAllocated() && NeedsHorizontalBar(Width());
    if (needed && !hScrollBar_) {
        hScrollBar_ = CreateComponent<TbsSkinScrollBar>(this);
        hScrollBar_->FreeNotification(this);
        hScrollBar_->SetKind(sbHorizontal);
        hScrollBar_->SetDefaultHeight(kDefaultBarSize);
        hScrollBar_->SetBounds(0, 0, 100, kDefaultBarSize);
        hScrollBar_->SetBothSkinDataName(Skinned() ? rec_.bothhscrollbarname : AnsiString("bothhscrollbar"));
        hScrollBar_->SetSkinDataName(Skinned() ? rec_.hscrollbarname : AnsiString("hscrollbar"));
        hScrollBar_->SetSkinData(skinData_);
        hScrollBar_->SetParent(this);
        hScrollBar_->OnChange = [this](TObject*) {
            if (syncing_) return;
            horizontalOffset_ = hScrollBar_->Position();
            Invalidate();
        };
    }
    if (!hScrollBar_) {
        horizontalOffset_ = 0;
        return;
    }
    if (needed) {
        // With a vertical bar too, the bar takes its "both" look and runs
        // under the vertical one to the corner.
        if (hScrollBar_->Both() != vertical) hScrollBar_->SetBoth(vertical);
        const TRect client = ClientRect();
        const int h = hScrollBar_->Height();
        const TRect place{0, client.Height() - h, client.Right, client.Height()};
        if (hScrollBar_->BoundsRect() != place) hScrollBar_->SetBoundsRect(place);
        const int page = std::max(1, ItemAreaWidth(client));
        const int maxOffset = std::max(0, horizontalExtent_ - page);
        horizontalOffset_ = std::clamp(horizontalOffset_, 0, maxOffset);
        hScrollBar_->SetRangeAndPosition(0, horizontalExtent_ - 1, page, horizontalOffset_);
        hScrollBar_->SetSmallChange(std::max(1, ItemHeight()));
        hScrollBar_->SetLargeChange(page);
    } else {
        horizontalOffset_ = 0;
    }
    if (hScrollBar_->Visible() != needed) {
        hScrollBar_->SetVisible(needed);
        Invalidate();
    }
}

// ---- showing -----------------------------------------------------------------------------------

bool TbsSkinCustomListBox::PopupList(const TRect& anchor, int width, int height) {
    const bool fade = AlphaBlend() && alphaBlendAnimation_;
    if (fade) {
        // Shown transparent first, so the first picture is not the full one.
        HandleNeeded();
        const HWND h = Handle();
        SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
        SetWindowAlpha(h, 0);
    }
    const bool above = Popup(anchor, width, height);
    SyncScrollBar();
    if (fade) Fade(Handle());
    return above;
}

void TbsSkinCustomListBox::Fade(HWND h) {
    const int target = AlphaBlendValue();
    int alpha = 0;
    PresentChanges();
    DWORD last = GetTickCount();
    // The list may close meanwhile (a press elsewhere): the fade ends then.
    while (alpha < target && IsPoppedUp()) {
        if (GetTickCount() - last >= kFadeIntervalMs) {
            alpha = std::min(alpha + kFadeStep, target);
            SetWindowAlpha(h, BYTE(alpha));
            PresentChanges();
            last = GetTickCount();
        } else {
            Sleep(1);
        }
        if (Application) Application->ProcessMessages();
    }
    if (HandleAllocated()) SetWindowAlpha(h, BYTE(target));
}

// ---- painting ----------------------------------------------------------------------------------

void TbsSkinCustomListBox::PaintFrame() {
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    TRect wr;
    GetWindowRect(Handle(), wr);
    const int W = wr.Width(), H = wr.Height();
    TCanvas& c = *dc;
    const TRect in = FrameInsets();
    c.SaveDC();
    c.ExcludeClipRect({in.Left, in.Top, W - in.Right, H - in.Bottom});
    if (Skinned()) {
        TbsDataSkinCustomControl geometry = rec_;
        const SkinCornerPoints points = CornerPointsOf(geometry);
        const TSize skin{WidthOf(rec_.skinrect), HeightOf(rec_.skinrect)};
        TBitmap image;
        ComposeSkinImage(points, rec_.skinrect, *picture_, image, W, H, SizedCornerPoints(points, skin, {W, H}),
                         StretchFlagsOf(geometry), false);
        c.Draw(0, 0, image);
    } else {
        c.Brush.Style = bsSolid;
        c.Brush.Color = clWindow;
        c.FillRect({0, 0, W, H});
        c.Brush.Color = clBtnShadow;
        c.FrameRect({0, 0, W, H});
    }
    if (captionMode_) PaintCaption(c, CaptionRectFor(W), W);
    c.RestoreDC();
    ReleaseDC(Handle(), dc);
}

void TbsSkinCustomListBox::PaintCaption(TCanvas& c, const TRect& band, int width) {
    if (band.Width() <= 0 || band.Height() <= 0) return;
    if (Skinned() && !RectIsEmpty(rec_.captionrect)) {
        TBitmap strip;
        strip.SetSize(band.Width(), band.Height());
        StretchSkinPiece(strip, {0, 0, band.Width(), band.Height()}, *picture_, rec_.captionrect);
        c.Draw(band.Left, band.Top, strip);
    } else if (Skinned() && HeightOf(rec_.itemrect) > 0) {
        // A skin without a caption picture: the band looks like an item.
        TBitmap strip;
        ComposeRowImage(rec_.itemleftoffset, rec_.itemrightoffset, strip, false, band.Width(), rec_.itemrect,
                        *picture_);
        c.StretchDraw(band, strip);
    } else {
        c.Brush.Style = bsSolid;
        c.Brush.Color = clBtnFace;
        c.FillRect(band);
        c.Brush.Color = clBtnShadow;
        c.FillRect({band.Left, band.Bottom - 1, band.Right, band.Bottom});
    }
    const TRect check = CheckButtonRectFor(width);
    if (Skinned() && !RectIsEmpty(rec_.checkbuttonrect)) {
        const TRect* src = &rec_.checkbuttonrect;
        if (checkDown_ && checkHot_ && !RectIsEmpty(rec_.downcheckbuttonrect)) src = &rec_.downcheckbuttonrect;
        else if (checkHot_ && !RectIsEmpty(rec_.activecheckbuttonrect)) src = &rec_.activecheckbuttonrect;
        TBitmap piece;
        piece.SetSize(check.Width(), check.Height());
        StretchSkinPiece(piece, {0, 0, check.Width(), check.Height()}, *picture_, *src);
        c.Draw(check.Left, check.Top, piece);
    } else if (check.Width() > 0) {
        DrawDefaultBox(c, check,
                       checkDown_ && checkHot_ ? DefaultBoxState::Pressed
                       : checkHot_             ? DefaultBoxState::Hot
                                               : DefaultBoxState::Normal);
        const TPoint centre{(check.Left + check.Right) / 2, (check.Top + check.Bottom) / 2};
        DrawCheckMark(c, centre.X - 4, centre.Y - 4, clBtnText);
    }
    if (caption_.empty()) return;
    TFont f;
    if (Skinned()) {
        f.Assign(defaultCaptionFont_);
        f.SetName(rec_.captionfontname);
        f.SetHeight(rec_.captionfontheight);
        f.SetStyle(rec_.captionfontstyle);
        f.SetColor(rec_.captionfontcolor);
    } else {
        f.Assign(defaultCaptionFont_);
    }
    c.Font.Assign(f);
    TRect text{band.Left + 4, band.Top, std::max(band.Left + 4, check.Left - 4), band.Bottom};
    const unsigned align = captionAlignment_ == taCenter ? DT_CENTER : captionAlignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    c.Brush.Style = bsClear;
    c.DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align);
    c.Brush.Style = bsSolid;
}

void TbsSkinCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    TCanvas& c = Canvas();
    const bool selected = (state & odSelected) != 0;
    const int visibleWidth = ItemAreaWidth(rect);
    // Items wider than the list scroll sideways: they are laid out over the
    // whole extent and shifted by the horizontal bar's position.
    const int width = std::max(visibleWidth, horizontalExtent_);
    const int left = rect.Left - horizontalOffset_;
    const TRect area{left, rect.Top, left + width, rect.Bottom};
    c.SaveDC();
    c.IntersectClipRect({rect.Left, rect.Top, rect.Left + visibleWidth, std::min(rect.Bottom, ItemAreaHeight())});
    const AnsiString& text = Items().Strings(index);
    if (Skinned() && HeightOf(rec_.itemrect) > 0) {
        // The pointed-at item of a drop-down list is selected and focused at once.
        const TRect& src = selected ? rec_.focusitemrect : rec_.itemrect;
        TBitmap strip;
        ComposeRowImage(rec_.itemleftoffset, rec_.itemrightoffset, strip, false, width, src, *picture_);
        c.StretchDraw(area, strip);
        TRect textRect = rec_.itemtextrect;
        textRect.Right += width - WidthOf(rec_.itemrect);
        textRect = OffsetRect(textRect, area.Left, area.Top);
        c.Font.Assign(Font());
        c.Font.SetColor(selected ? rec_.focusfontcolor : rec_.fontcolor);
        if (OnDrawSkinItem) {
            OnDrawSkinItem(c, index, width, rect.Height(), textRect, state);
        } else {
            DrawSkinItemContent(c, textRect, text, ItemContent(index));
            if (rec_.showfocus && selected) c.DrawFocusRect(area);
        }
        c.RestoreDC();
        return;
    }
    c.Brush.Style = bsSolid;
    c.Brush.Color = selected ? clHighlight : Color();
    c.FillRect(area);
    c.Font.Assign(Font());
    c.Font.SetColor(selected ? clHighlightText : Font().Color());
    const TRect textRect = InflateRect(area, -2, -2);
    if (OnDrawSkinItem) OnDrawSkinItem(c, index, width, rect.Height(), textRect, state);
    else DrawSkinItemContent(c, textRect, text, ItemContent(index));
    c.RestoreDC();
}

// ---- messages ----------------------------------------------------------------------------------

void TbsSkinCustomListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        if (TRect* r = NcCalcSizeRect(m.WParam, m.LParam)) *r = InsetRect(*r, FrameInsets());
        m.Result = 0;
        return;
    }
    case WM_NCPAINT:
        PaintFrame();
        m.Result = 0;
        return;
    case WM_NCHITTEST:
        m.Result = HTCLIENT;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        if (!captionMode_) break;
        // The check button in the caption band (above the client area).
        const TPoint p = LParamToPoint(m.LParam);
        const TRect in = FrameInsets();
        const TRect check = CheckButtonRectFor(Width());
        const bool over = PtInRect(check, {p.X + in.Left, p.Y + in.Top});
        if (m.Msg == WM_MOUSEMOVE) {
            if (over != checkHot_) {
                checkHot_ = over;
                PaintFrame();
            }
            if (checkDown_) return;
            break;
        }
        if (m.Msg == WM_LBUTTONUP) {
            if (!checkDown_) break;
            checkDown_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
            PaintFrame();
            if (over && OnCheckButtonClick) OnCheckButtonClick(this);
            return;
        }
        if (!over) {
            // The rest of the band does nothing.
            if (p.Y < 0) return;
            break;
        }
        checkDown_ = true;
        checkHot_ = true;
        SetCapture(Handle());
        PaintFrame();
        return;
    }
    default:
        break;
    }
    TPopupListBox::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_SHOWWINDOW:
    case WM_PAINT:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
        SyncScrollBar();
        break;
    default:
        break;
    }
}
