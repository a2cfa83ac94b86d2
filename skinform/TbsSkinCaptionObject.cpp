#include "TbsSkinCaptionObject.h"

#include <algorithm>

#include "SkinComposition.h"
#include "SkinGeometry.h"
#include "SkinObjectDrawing.h"
#include "SkinTextLayout.h"
#include "TbsEffectBmp.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm& form, const TbsDataSkinCaption* r)
    : TbsActiveSkinObject(form, r) {
    if (!r) return;
    textrect = r->textrect;
    fontname = r->fontname;
    fontheight = r->fontheight;
    fontstyle = r->fontstyle;
    fontcolor = r->fontcolor;
    activefontcolor = r->activefontcolor;
    alignment = r->alignment;
    light = r->light;
    lightcolor = r->lightcolor;
    activelightcolor = r->activelightcolor;
    shadow = r->shadow;
    shadowcolor = r->shadowcolor;
    activeshadowcolor = r->activeshadowcolor;
    framerect = r->framerect;
    activeframerect = r->activeframerect;
    frametextrect = r->frametextrect;
    frameleftoffset = r->frameleftoffset;
    framerightoffset = r->framerightoffset;
    stretcheffect = r->stretcheffect;
    animateskinrect = r->animateskinrect;
    framecount = r->framecount;
    animateinterval = r->animateinterval;
    inactiveanimation = r->inactiveanimation;
    fullframe = r->fullframe;
}

bool TbsSkinCaptionObject::CanAnimate() const {
    const TbsSkinData* skin = LoadedSkin();
    return skin && skin->EnableSkinEffects() && !RectIsEmpty(animateskinrect) && framecount > 0;
}

TRect TbsSkinCaptionObject::AnimationFrameRect(int k) const {
    const TRect& a = animateskinrect;
    if (skinrect.Height() < a.Height()) {
        const int h = a.Height() / framecount;
        return {a.Left, a.Top + h * (k - 1), a.Right, a.Top + h * k};
    }
    const int w = a.Width() / framecount;
    return {a.Left + w * (k - 1), a.Top, a.Left + w * k, a.Bottom};
}

TRect TbsSkinCaptionObject::TextArea() const {
    TRect area = textrect;
    if (!RectIsEmpty(area)) area.Right += ObjectRect.Width() - skinrect.Width();
    if (!RectIsEmpty(framerect)) {
        area.Left += frametextrect.Left;
        area.Top += frametextrect.Top;
        area.Right += frametextrect.Right - framerect.Width();
    }
    return OffsetRect(area, ObjectRect.Left, ObjectRect.Top);
}

void TbsSkinCaptionObject::DrawText(TCanvas& canvas, TPoint origin, bool activeColors) const {
    const TRect objectArea = OffsetRect(ObjectRect, origin.X - ObjectRect.Left, origin.Y - ObjectRect.Top);
    if (form_.OnCaptionPaint) {
        form_.OnCaptionPaint(&canvas, objectArea, activeColors);
        return;
    }
    const AnsiString caption = form_.FormCaption();
    const TRect area = OffsetRect(TextArea(), origin.X - ObjectRect.Left, origin.Y - ObjectRect.Top);
    if (caption.empty() || RectIsEmpty(area)) return;
    canvas.Font.SetName(fontname);
    canvas.Font.SetHeight(fontheight);
    canvas.Font.SetStyle(fontstyle);
    canvas.Font.SetColor(activeColors ? activefontcolor : fontcolor);
    const TbsSkinData* skin = form_.SkinData();
    canvas.Font.SetCharset(skin && skin->ResourceStrData() ? skin->ResourceStrData()->CharSet()
                                                           : form_.DefCaptionFont.Charset());
    const AnsiString text = FitTextToWidth(canvas, caption, area.Width());
    const TSize extent = canvas.TextExtent(text);
    const int y = area.Top + area.Height() / 2 - extent.cy / 2;
    int x = area.Left;
    if (alignment == SkinAlignment::RightJustify) x = area.Right - extent.cx;
    else if (alignment == SkinAlignment::Center) x = area.Left + area.Width() / 2 - extent.cx / 2;

    if (!RectIsEmpty(framerect) && ObjectPicture) {
        const TRect& source = activeColors && !RectIsEmpty(activeframerect) ? activeframerect : framerect;
        const int offset = skin ? skin->FormInfo().buttonsoffset : 0;
        const int width = fullframe ? objectArea.Width() - 2 * offset
                                    : framerect.Width() - frametextrect.Width() + extent.cx;
        const int frameX = fullframe ? objectArea.Left + offset : x - frametextrect.Left;
        if (width > 0) {
            TBitmap frame;
            ComposeRowImage(frameleftoffset, framerightoffset, frame, false, width, source, *ObjectPicture);
            canvas.Draw(frameX, y - frametextrect.Top, frame);
        }
    }
    canvas.Brush.Style = bsClear;
    const TColor textColor = canvas.Font.Color();
    if (shadow) {
        canvas.Font.SetColor(activeColors ? activeshadowcolor : shadowcolor);
        canvas.TextOut(x + 1, y + 1, text);
    }
    if (light) {
        canvas.Font.SetColor(activeColors ? activelightcolor : lightcolor);
        canvas.TextOut(x - 1, y - 1, text);
    }
    canvas.Font.SetColor(textColor);
    canvas.TextOut(x, y, text);
}

void TbsSkinCaptionObject::CaptionImage(const TBitmap& picture, const TRect& piece, TBitmap& out) const {
    const TbsSkinData* skin = LoadedSkin();
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    int leftEnd = 0, rightEnd = 0;
    if (skin) {
        leftEnd = std::max(skin->FormInfo().lefttoppoint.X - skinrect.Left, 0);
        rightEnd = std::max(skinrect.Right - skin->FormInfo().righttoppoint.X, 0);
    }
    if (leftEnd == 0 && rightEnd == 0) {
        SkinPieceImage(picture, piece, {w, h}, out);
        return;
    }
    ComposeRowImage(leftEnd, rightEnd, out, stretcheffect, w, piece, picture);
    if (out.Height() != h) {
        TBitmap sized;
        SkinPieceImage(out, out.BoundsRect(), {w, h}, sized);
        out.Assign(sized);
    }
}

void TbsSkinCaptionObject::ApplyInactiveEffect(TBitmap& image) const {
    const TbsSkinData* skin = LoadedSkin();
    if (!skin || !skin->FormInfo().autorenderinginactiveimage || image.Empty()) return;
    TbsEffectBmp effect(image);
    effect.ApplyImageEffect(skin->FormInfo().inactiveeffect);
    effect.AssignTo(image);
}

void TbsSkinCaptionObject::Draw(TCanvas& canvas, bool) {
    const TbsSkinData* skin = LoadedSkin();
    if (!skin || RectIsEmpty(ObjectRect)) return;
    const bool active = ActiveLook;
    const TBitmap& main = skin->MainBitmap();
    const auto drawImage = [&](const TBitmap& image, bool activeColors) {
        TBitmap composed;
        composed.Assign(image);
        DrawText(composed.Canvas(), {0, 0}, activeColors);
        canvas.Draw(ObjectRect.Left, ObjectRect.Top, composed);
    };
    TBitmap image;
    if (CanAnimate() && AnimationFrame > 0 && AnimationFrame <= framecount && ObjectPicture) {
        CaptionImage(*ObjectPicture, AnimationFrameRect(AnimationFrame), image);
        drawImage(image, !active);
        return;
    }
    if (CanMorph() && MorphBetweenEnds()) {
        TBitmap normal, activeImage;
        CaptionImage(main, skinrect, normal);
        DrawText(normal.Canvas(), {0, 0}, false);
        CaptionImage(*ObjectPicture, activeskinrect, activeImage);
        DrawText(activeImage.Canvas(), {0, 0}, true);
        TbsEffectBmp blend(normal);
        blend.Morph(morphkind, TbsEffectBmp(activeImage), MorphFactor);
        blend.AssignTo(image);
        if (!active) ApplyInactiveEffect(image);
        canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
        return;
    }
    const bool plainInactive = !active && !CanMorph() && !stretcheffect && !CanAnimate();
    if (RectIsEmpty(activeskinrect) || plainInactive) {
        // The frame picture under the caption is its background.
        DrawText(canvas, ObjectRect.TopLeft(), active);
        return;
    }
    if (active) {
        CaptionImage(*ObjectPicture, activeskinrect, image);
        drawImage(image, true);
        return;
    }
    CaptionImage(main, skinrect, image);
    ApplyInactiveEffect(image);
    drawImage(image, false);
}

void TbsSkinCaptionObject::SetActive(bool active, bool painted) {
    ActiveLook = active;
    if (!painted || !CanAnimate()) return;
    FrameElapsed = 25;
    AnimationFrame = active ? 1 : (inactiveanimation ? framecount : 0);
    form_.StartAnimateTimer();
}

bool TbsSkinCaptionObject::AnimationStep() {
    if (!CanAnimate()) return false;
    if (FrameElapsed < animateinterval) {
        FrameElapsed += 25;
        return true;
    }
    bool moved = false;
    if (ActiveLook && AnimationFrame <= framecount) {
        ++AnimationFrame;
        moved = true;
    } else if (!ActiveLook && AnimationFrame > 0) {
        --AnimationFrame;
        moved = true;
    }
    if (!moved) return false;
    FrameElapsed = 25;
    form_.PaintObject(this);
    return true;
}

void TbsSkinCaptionObject::MouseEnter() {
    MouseIn = true;
    FireMouseEnter();
}

void TbsSkinCaptionObject::MouseLeave() {
    MouseIn = false;
    FireMouseLeave();
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, TMouseButton Button) { FireMouseDown(X, Y, Button); }

void TbsSkinCaptionObject::MouseUp(int X, int Y, TMouseButton Button) { FireMouseUp(X, Y, Button); }
