#include "TbsSkinPanel.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinParentBackground.h"
#include "SkinPieceCopy.h"
#include "SkinTextLayout.h"
#include "TbsSkinData.h"

namespace {

// A 1-pixel frame: top and left in `topLeft`, bottom and right in `bottomRight`.
void Frame3D(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
    c.Pen.Color = topLeft;
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right - 1, r.Top);
    c.Pen.Color = bottomRight;
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left - 1, r.Bottom - 1);
}

TAlignment ToAlignment(SkinAlignment a) {
    switch (a) {
    case SkinAlignment::LeftJustify: return taLeftJustify;
    case SkinAlignment::RightJustify: return taRightJustify;
    default: return taCenter;
    }
}

// A piece of a skin picture drawn with its bottom-left colour left out.
void DrawPieceTransparent(TCanvas& c, int x, int y, const TBitmap& src, const TRect& piece) {
    TBitmap image(WidthOf(piece), HeightOf(piece));
    CopySkinPiece(image, 0, 0, src, piece);
    image.SetTransparent(true);
    c.Draw(x, y, image);
}

}  // namespace

TbsSkinPanel::TbsSkinPanel(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetSkinDataName("panel");
    PaintByParts = true;
    ControlStyle |= csAcceptsControls | csOpaque;
    SetBounds(0, 0, 150, 150);
}

TbsSkinPanel::~TbsSkinPanel() = default;

// ---- properties ---------------------------------------------------------------------------

void TbsSkinPanel::SetCaptionMode(bool value) {
    captionMode_ = value;
    Invalidate();
    TWinControl::Realign();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int value) {
    defaultCaptionHeight_ = value;
    if (recordIndex_ == -1 && captionMode_) {
        Invalidate();
        TWinControl::Realign();
    }
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment value) {
    defaultAlignment_ = value;
    if (recordIndex_ == -1 && captionMode_) Invalidate();
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle value) {
    borderStyle_ = value;
    if (recordIndex_ == -1) {
        Invalidate();
        TWinControl::Realign();
    }
}

void TbsSkinPanel::SetCheckedMode(bool value) {
    checkedMode_ = value;
    Invalidate();
}

void TbsSkinPanel::SetChecked(bool value) {
    checked_ = value;
    if (checkedMode_) Invalidate();
    if (checkedMode_ && autoEnabledControls_)
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(value);
    if (OnChecked) OnChecked(this);
}

void TbsSkinPanel::SetRollUpMode(bool value) {
    rollUpMode_ = value;
    if (recordIndex_ == -1 && captionMode_) Invalidate();
}

void TbsSkinPanel::SetRollUpState(bool value) {
    if (value == rollUpState_) return;
    if (!rollUpMode_) {
        Constraints = savedConstraints_;
        rollUpState_ = false;
        return;
    }
    rollUpState_ = value;
    if (value) {
        // The size limits would keep the panel from folding; they come back
        // when it unfolds.
        savedConstraints_ = Constraints;
        Constraints = {};
        Collapse();
    } else {
        Expand();
        Constraints = savedConstraints_;
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinPanel::SetGlyph(const TBitmap& value) {
    glyph_.Assign(value);
    Invalidate();
}

void TbsSkinPanel::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 2);
    Invalidate();
}

void TbsSkinPanel::SetSpacing(int value) {
    spacing_ = value;
    Invalidate();
}

void TbsSkinPanel::SetCaptionImageList(TImageList* value) {
    if (captionImageList_ && captionImageList_ != value) captionImageList_->RemoveFreeNotification(this);
    captionImageList_ = value;
    if (value) value->FreeNotification(this);
    Invalidate();
}

void TbsSkinPanel::SetCaptionImageIndex(int value) {
    if (value == captionImageIndex_) return;
    captionImageIndex_ = value;
    Invalidate();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition value) {
    if (value == imagePosition_) return;
    imagePosition_ = value;
    Invalidate();
}

void TbsSkinPanel::SetTransparentMode(bool value) {
    if (value == transparentMode_) return;
    transparentMode_ = value;
    Invalidate();
    if (!Loading() && !Designing()) NotifyChildrenOfBackground();
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == captionImageList_) captionImageList_ = nullptr;
}

// ---- binding and geometry ---------------------------------------------------------------------

void TbsSkinPanel::BindSkinRecord() {
    TbsSkinCustomControl::BindSkinRecord();
    const auto* r = dynamic_cast<const TbsDataSkinPanelControl*>(BoundRecord());
    if (!r) {
        bgpictureindex_ = -1;
        return;
    }
    bgpictureindex_ = r->bgpictureindex;
    captionrect_ = r->captionrect;
    alignment_ = ToAlignment(r->alignment);
    fontname_ = r->fontname;
    fontheight_ = r->fontheight;
    fontstyle_ = r->fontstyle;
    fontcolor_ = r->fontcolor;
    checkimagerect_ = r->checkimagerect;
    uncheckimagerect_ = r->uncheckimagerect;
    markframerect_ = r->markframerect;
    framerect_ = r->framerect;
    frametextrect_ = r->frametextrect;
    frameleftoffset_ = r->frameleftoffset;
    framerightoffset_ = r->framerightoffset;
}

TRect TbsSkinPanel::ClientRect() const {
    TRect r{0, 0, Width(), Height()};
    if (!HasPanelSkin() || Designing()) {
        if (borderStyle_ != bvNone) r = InflateRect(r, -1, -1);
        if (captionMode_) r.Top += defaultCaptionHeight_;
        return r;
    }
    const bool hasBackground = SkinData() && SkinPictureAt(*SkinData(), bgpictureindex_);
    if (hasBackground || (borderStyle_ == bvNone && !captionMode_ && geometry_.ResizeKind == kResizeFrame)) return r;
    return geometry_.SizedClientRect;
}

TRect TbsSkinPanel::SizedCaptionRect() const {
    if (geometry_.ResizeKind == kResizeFixed) return captionrect_;
    // Parts right of the right-top point and below the left-bottom point
    // move with the size; the rest keeps its place.
    const int dw = Width() - WidthOf(geometry_.skinrect);
    const int dh = Height() - HeightOf(geometry_.skinrect);
    const int rx = geometry_.righttoppoint.X, by = geometry_.leftbottompoint.Y;
    auto moveX = [&](int x) { return rx > 0 && x > rx ? x + dw : x; };
    auto moveY = [&](int y) { return by > 0 && y > by ? y + dh : y; };
    return {moveX(captionrect_.Left), moveY(captionrect_.Top), moveX(captionrect_.Right), moveY(captionrect_.Bottom)};
}

// ---- painting --------------------------------------------------------------------------------

void TbsSkinPanel::Paint() {
    if (Width() < 1 || Height() < 1) return;
    BindSkinRecord();
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    if (!HasPanelSkin()) {
        TBitmap buffer(Width(), Height());
        PaintDefaultImage(buffer);
        Canvas().Draw(0, 0, buffer);
        return;
    }
    if (transparentMode_) {
        PaintTransparent(Canvas());
        return;
    }
    if (geometry_.ResizeKind == kResizeFrame && borderStyle_ == bvNone && !captionMode_ && PaintByParts) {
        geometry_.FillClient(Canvas(), {0, 0, Width(), Height()});
        return;
    }
    if (SkinPictureAt(*SkinData(), bgpictureindex_)) {
        PaintBackgroundPicture(Canvas());
        return;
    }
    TbsSkinCustomControl::Paint();
}

void TbsSkinPanel::PaintSkinImage(TBitmap& bitmap) {
    TbsSkinCustomControl::PaintSkinImage(bitmap);
    if (captionMode_) DrawSkinCaption(bitmap.Canvas(), SizedCaptionRect());
}

void TbsSkinPanel::PaintBackgroundPicture(TCanvas& canvas) {
    const TBitmap& bg = *SkinPictureAt(*SkinData(), bgpictureindex_);
    const int W = Width(), H = Height();
    TBitmap fill(W, H);
    const TRect whole{0, 0, W, H};
    if (!geometry_.stretcheffect) {
        TileSkinPiece(fill, whole, bg, bg.BoundsRect(), whole);
    } else {
        switch (geometry_.stretchtype) {
        case SkinStretchKind::Full:
            StretchSkinPiece(fill, geometry_.SizedClientRect, bg, bg.BoundsRect(), whole);
            break;
        case SkinStretchKind::Horz: {
            TBitmap strip(bg.Width(), H);
            StretchSkinPiece(strip, strip.BoundsRect(), bg, bg.BoundsRect());
            TileSkinPiece(fill, whole, strip, strip.BoundsRect(), whole);
            break;
        }
        case SkinStretchKind::Vert: {
            TBitmap strip(W, bg.Height());
            StretchSkinPiece(strip, strip.BoundsRect(), bg, bg.BoundsRect());
            TileSkinPiece(fill, whole, strip, strip.BoundsRect(), whole);
            break;
        }
        }
    }
    canvas.Draw(0, 0, fill);
}

void TbsSkinPanel::PaintTransparent(TCanvas& canvas) {
    const int W = Width(), H = Height();
    TBitmap buffer(W, H);
    TCanvas& c = buffer.Canvas();
    PaintParentBackground(*this, c);
    int lineTop = 0;
    int gapLeft = 0, gapRight = 0;
    if (captionMode_) {
        if (UseSkinFont()) {
            c.Font.SetName(fontname_);
            c.Font.SetHeight(fontheight_);
            c.Font.SetStyle(fontstyle_);
        } else {
            c.Font.Assign(DefaultFont());
        }
        const int textH = c.TextHeight("Wg");
        const int textW = c.TextWidth(Caption());
        TRect area{5, 0, std::min(W, 5 + textW + 40), textH + 5};
        lineTop = area.Height() / 2;
        DrawSkinCaption(c, area);
        // The frame line stops short of the caption on both sides.
        gapLeft = 3;
        gapRight = std::min(W, captionArea_.Right + 2);
    }
    if (borderStyle_ != bvNone && geometry_.SkinPicture) {
        const TRect& sr = geometry_.skinrect;
        c.Pen.Color = geometry_.SkinPicture->Pixels((sr.Left + sr.Right) / 2, sr.Bottom - 1);
        c.MoveTo(0, lineTop);
        c.LineTo(0, H - 1);
        c.LineTo(W - 1, H - 1);
        c.LineTo(W - 1, lineTop);
        if (gapRight > gapLeft) {
            c.LineTo(gapRight, lineTop);
            c.MoveTo(gapLeft, lineTop);
            c.LineTo(0, lineTop);
        } else {
            c.LineTo(0, lineTop);
        }
    }
    PaintOverTransparent(c);
    canvas.Draw(0, 0, buffer);
}

TSize TbsSkinPanel::CaptionImageSize() const {
    if (!glyph_.Empty()) return {glyph_.Width() / numGlyphs_, glyph_.Height()};
    if (captionImageList_ && captionImageIndex_ >= 0 && captionImageIndex_ < captionImageList_->Count())
        return {captionImageList_->Width(), captionImageList_->Height()};
    return {0, 0};
}

void TbsSkinPanel::DrawCaptionImage(TCanvas& canvas, int x, int y) {
    if (!glyph_.Empty()) {
        DrawGlyphFrame(canvas, x, y, (!Enabled() && numGlyphs_ == 2) ? 2 : 1, numGlyphs_, glyph_);
    } else if (captionImageList_) {
        captionImageList_->Draw(canvas, x, y, captionImageIndex_, Enabled());
    }
}

void TbsSkinPanel::DrawSkinCaption(TCanvas& c, TRect area) {
    captionArea_ = area;
    const AnsiString caption = Caption();
    if (caption.empty() || RectIsEmpty(area)) return;
    TRect text = area;
    if (rollUpMode_) text.Right -= 12;
    if (UseSkinFont()) {
        c.Font.SetName(fontname_);
        c.Font.SetHeight(fontheight_);
        c.Font.SetStyle(fontstyle_);
    } else {
        c.Font.Assign(DefaultFont());
    }
    c.Font.SetColor(fontcolor_);
    if (checkedMode_ && geometry_.SkinPicture) {
        const TRect& mark = checked_ ? checkimagerect_ : uncheckimagerect_;
        if (!RectIsEmpty(mark)) {
            DrawPieceTransparent(c, text.Left, text.Top + (HeightOf(text) - HeightOf(mark)) / 2, *geometry_.SkinPicture,
                                 mark);
            text.Left += WidthOf(mark) + 2;
        }
    }
    const TSize image = CaptionImageSize();
    const int textW = c.TextWidth(caption);
    const int textH = c.TextHeight(caption);
    const bool imageBefore = image.cx > 0 && imagePosition_ == bsipDefault;
    const int content = textW + (imageBefore ? image.cx + spacing_ : 0);
    int x;
    switch (alignment_) {
    case taLeftJustify: x = text.Left; break;
    case taRightJustify: x = text.Right - content; break;
    default: x = text.Left + WidthOf(text) / 2 - content / 2; break;
    }
    const int imageY = text.Top + (HeightOf(text) - image.cy) / 2;
    if (imageBefore) {
        DrawCaptionImage(c, x, imageY);
        x += image.cx + spacing_;
    } else if (image.cx > 0) {
        DrawCaptionImage(c, area.Left + 2, imageY);
        x = std::max(x, area.Left + 2 + image.cx + spacing_);
    }
    const int textY = text.Top + (HeightOf(text) - textH) / 2;
    if (!RectIsEmpty(framerect_) && geometry_.SkinPicture) {
        const int extra = WidthOf(framerect_) - WidthOf(frametextrect_);
        TBitmap frame;
        ComposeRowImage(frameleftoffset_, framerightoffset_, frame, false, textW + extra, framerect_,
                        *geometry_.SkinPicture);
        const int fx = x - (frametextrect_.Left - framerect_.Left);
        c.Draw(fx, text.Top + (HeightOf(text) - frame.Height()) / 2, frame);
    }
    c.Brush.Style = bsClear;
    c.TextOut(x, textY, caption);
    if (rollUpMode_) {
        const TRect markArea{text.Right, area.Top, text.Right + 10, area.Bottom};
        if (!RectIsEmpty(markframerect_) && geometry_.SkinPicture)
            DrawPieceTransparent(c, markArea.Left + (10 - WidthOf(markframerect_)) / 2,
                                 area.Top + (HeightOf(area) - HeightOf(markframerect_)) / 2, *geometry_.SkinPicture,
                                 markframerect_);
        DrawDirectionArrow(c, markArea, rollUpState_ ? SkinArrowKind::Down : SkinArrowKind::Up, fontcolor_);
    }
}

void TbsSkinPanel::PaintDefaultImage(TBitmap& bitmap) {
    TCanvas& c = bitmap.Canvas();
    const int W = Width(), H = Height();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, W, H});
    const TRect r{0, 0, W, H};
    switch (borderStyle_) {
    case bvFrame:
        c.Brush.Color = clBtnShadow;
        c.FrameRect(r);
        break;
    case bvRaised: Frame3D(c, r, clBtnHighlight, clBtnShadow); break;
    case bvLowered: Frame3D(c, r, clBtnShadow, clBtnHighlight); break;
    case bvNone: break;
    }
    if (captionMode_) DrawDefaultCaption(c);
}

void TbsSkinPanel::DrawDefaultCaption(TCanvas& c) {
    const int W = Width();
    TRect box;
    if (borderStyle_ != bvNone) {
        box = {1, 1, W - 1, defaultCaptionHeight_};
        Frame3D(c, box, clBtnShadow, clBtnHighlight);
        Frame3D(c, InflateRect(box, -1, -1), clBtnHighlight, clBtnShadow);
    } else {
        box = {0, 0, W, defaultCaptionHeight_};
        Frame3D(c, box, clBtnShadow, clBtnShadow);
        Frame3D(c, InflateRect(box, -1, -1), clBtnHighlight, clBtnFace);
    }
    captionArea_ = {1, 1, W - 1, defaultCaptionHeight_};
    TRect inner = box;
    if (checkedMode_) inner.Left += 20;
    if (rollUpMode_) inner.Right -= 10;
    c.Font.Assign(DefaultFont());
    const AnsiString caption = Caption();
    const TSize image = CaptionImageSize();
    const int textW = c.TextWidth(caption);
    const int content = textW + (image.cx > 0 ? image.cx + spacing_ : 0);
    int x;
    switch (defaultAlignment_) {
    case taLeftJustify: x = inner.Left + 2; break;
    case taRightJustify: x = inner.Right - content; break;
    default: x = inner.Left + 2 + WidthOf(inner) / 2 - content / 2; break;
    }
    const int midY = box.Top + HeightOf(box) / 2;
    if (checkedMode_) {
        const TRect check{5, midY - 7, 19, midY + 7};
        c.Brush.Style = bsSolid;
        c.Brush.Color = clBtnShadow;
        c.FrameRect(check);
        if (checked_) DrawCheckMark(c, check.Left + 3, check.Top + 3, clBtnText);
    }
    if (image.cx > 0) {
        DrawCaptionImage(c, x, midY - image.cy / 2);
        x += image.cx + spacing_;
    }
    c.Brush.Style = bsClear;
    c.TextOut(x, midY - c.TextHeight(caption.empty() ? AnsiString(" ") : caption) / 2, caption);
    if (rollUpMode_)
        DrawDirectionArrow(c, {inner.Right, box.Top, inner.Right + 10, box.Bottom},
                           rollUpState_ ? SkinArrowKind::Down : SkinArrowKind::Up, clBtnText);
}

// ---- roll-up ----------------------------------------------------------------------------------

void TbsSkinPanel::Collapse() {
    if (realHeight_ == -1) realHeight_ = Height();
    if (!resizingForRollUp_) {
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
        DisableAlign();
        resizingForRollUp_ = true;
    }
    BindSkinRecord();
    int newHeight = defaultCaptionHeight_ + 1;
    if (HasPanelSkin()) {
        int w = Width(), h = Height();
        FitSkinSize(w, h);
        newHeight = Height() - (geometry_.SizedClientRect.Bottom - geometry_.SizedClientRect.Top);
    }
    SetHeight(newHeight);
}

void TbsSkinPanel::Expand() {
    if (realHeight_ != -1) SetHeight(realHeight_);
    realHeight_ = -1;
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(true);
    if (resizingForRollUp_) {
        resizingForRollUp_ = false;
        EnableAlign();
    }
}

// ---- messages and input ------------------------------------------------------------------------

void TbsSkinPanel::ApplySkin() {
    TbsSkinCustomControl::ApplySkin();
    TWinControl::Realign();
    if (rollUpState_) Collapse();
}

void TbsSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const bool moved = ALeft != Left() || ATop != Top();
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!HasPanelSkin()) Invalidate();
    if (transparentMode_ && moved) {
        Invalidate();
        NotifyChildrenOfBackground();
    }
}

void TbsSkinPanel::ParentBackgroundChanged() {
    if (!transparentMode_) return;
    Invalidate();
    NotifyChildrenOfBackground();
}

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && captionMode_ && (rollUpMode_ || checkedMode_)) {
        const TRect area = HasPanelSkin() ? captionArea_ : TRect{1, 1, Width() - 1, defaultCaptionHeight_};
        if (PtInRect(area, {X, Y})) {
            if (checkedMode_) SetChecked(!checked_);
            if (rollUpMode_) SetRollUpState(!rollUpState_);
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinPanel::WndProc(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED && captionMode_) Invalidate();
    TbsSkinCustomControl::WndProc(m);
}
