#include "TbsSkinMenuItem.h"

#include <algorithm>

#include "ImgList.h"
#include "SkinComposition.h"
#include "SkinCornerPoints.h"
#include "SkinExtraControlRecords.h"
#include "SkinGeometry.h"
#include "SkinGlyphs.h"
#include "SkinObjectDrawing.h"
#include "TbsEffectBmp.h"
#include "TbsSkinData.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupWindow.h"

namespace {
// The built-in look's highlight: a navy frame around a light blue-grey fill.
constexpr TColor kDefaultActiveFill = 0x00D2BDB6;

// The skin's control record of that name, or null.
const TbsDataSkinControl* SkinControlNamed(const TbsSkinData& skin, std::string_view name) {
    const int index = skin.FindControlIndex(name);
    const auto& records = skin.SkinControls();
    return index >= 0 && std::size_t(index) < records.size() ? records[std::size_t(index)].get() : nullptr;
}

bool StartsAndEndsWithDash(const AnsiString& s) { return s.size() >= 2 && s.front() == '-' && s.back() == '-'; }

bool EffectsEnabled(TbsSkinPopupWindow& popup) {
    const TbsSkinData* skin = popup.Engine().MenuSkin();
    return skin && skin->EnableSkinEffects();
}

// The window-command glyph for an item of the standard system menu, if any.
using GlyphFn = void (*)(TCanvas&, int, int, TColor);
GlyphFn CommandGlyph(const AnsiString& name) {
    if (name == "BSF_CLOSE" || name == "TRAY_BSF_CLOSE") return DrawCloseGlyph;
    if (name == "BSF_MINITEM") return DrawMinimizeGlyph;
    if (name == "BSF_MAXITEM") return DrawMaximizeGlyph;
    if (name == "BSF_RESTORE" || name == "TRAY_BSF_RESTORE") return DrawRestoreGlyph;
    if (name == "BSF_ROLLUP") return DrawRollUpGlyph;
    if (name == "BSF_MINTOTRAY") return DrawTrayGlyph;
    return nullptr;
}
}  // namespace

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow& popup, TMenuItem* item, const TbsDataSkinMenuItem* record,
                                 const TBitmap* picture)
    : popup_(popup), item_(item), record_(picture ? record : nullptr), picture_(record ? picture : nullptr) {}

bool TbsSkinMenuItem::IsHeader() const {
    return !IsSeparator() && !item_->Enabled && StartsAndEndsWithDash(item_->Caption());
}

int TbsSkinMenuItem::Height(int defaultHeight) const {
    if (IsSeparator()) return record_ ? record_->dividerrect.Height() : 4;
    return record_ ? record_->skinrect.Height() : defaultHeight;
}

bool TbsSkinMenuItem::CanMorph() const { return record_ && record_->morphing && EffectsEnabled(popup_); }

bool TbsSkinMenuItem::CanAnimate() const {
    return record_ && !RectIsEmpty(record_->animateskinrect) && record_->framecount > 0 && EffectsEnabled(popup_);
}

bool TbsSkinMenuItem::EffectsPending() const {
    if (CanMorph() && ((Active() && MorphFactor < 1) || (!Active() && MorphFactor > 0))) return true;
    if (CanAnimate() && ((Highlighted && AnimationFrame < record_->framecount) || (!Highlighted && AnimationFrame > 0)))
        return true;
    return false;
}

// ---- state ---------------------------------------------------------------------------------------------

void TbsSkinMenuItem::Highlight(bool byKeyboard) {
    Highlighted = true;
    AnimationFrame = 0;
    for (const auto& other : popup_.Items())
        if (other.get() != this && other->SubmenuOpen) {
            other->SubmenuOpen = false;
            popup_.RepaintItem(*other);
        }
    popup_.SetCurrentHint(item_->Hint);
    const bool effects = CanMorph() || CanAnimate();
    if (effects) popup_.StartEffects();
    if (WaitCommand && !byKeyboard) {
        popup_.RepaintItem(*this);
        return;
    }
    const int level = popup_.Engine().IndexOfPopup(&popup_);
    if (SubmenuOpen) {
        popup_.Engine().CloseFrom(level + 2);
        return;
    }
    popup_.RepaintItem(*this);
    popup_.Engine().ItemActivated(popup_, *this, byKeyboard, false);
}

void TbsSkinMenuItem::Unhighlight() {
    Highlighted = false;
    if (CanAnimate()) AnimationFrame = record_->framecount + 1;
    WaitCommand = false;
    if (CanMorph() || CanAnimate()) popup_.StartEffects();
    if (!SubmenuOpen) popup_.RepaintItem(*this);
    popup_.Engine().CancelSubmenuDelay(this);
}

void TbsSkinMenuItem::Execute() {
    WaitCommand = false;
    if (!SubmenuOpen && item_->Enabled) popup_.Engine().ItemActivated(popup_, *this, false, true);
}

bool TbsSkinMenuItem::StepEffects() {
    bool moved = false;
    if (CanMorph()) {
        if (Active() && MorphFactor < 1) {
            MorphFactor = MorphFactor + 0.2 > 0.999 ? 1 : MorphFactor + 0.2;
            moved = true;
        } else if (!Active() && MorphFactor > 0) {
            MorphFactor = MorphFactor - 0.2 < 0.001 ? 0 : MorphFactor - 0.2;
            moved = true;
        }
    }
    if (CanAnimate()) {
        const int count = record_->framecount;
        if (Highlighted && AnimationFrame < count) {
            ++AnimationFrame;
            moved = true;
        } else if (!Highlighted && AnimationFrame > 0) {
            AnimationFrame = record_->inactiveanimation ? std::min(AnimationFrame, count + 1) - 1 : 0;
            moved = true;
        }
    }
    if (moved) popup_.RepaintItem(*this);
    return moved;
}

// ---- drawing -------------------------------------------------------------------------------------------

void TbsSkinMenuItem::Draw(TCanvas& canvas) const {
    if (!ItemVisible) return;
    const int w = ItemRect.Width(), h = ItemRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap image;
    image.SetSize(w, h);
    TCanvas& c = image.Canvas();
    c.Font = popup_.Font();
    if (IsHeader()) DrawHeader(c, w, h);
    else if (record_) DrawSkinned(c, w, h);
    else DrawDefault(c, w, h);
    canvas.Draw(ItemRect.Left, ItemRect.Top, image);
}

void TbsSkinMenuItem::DrawHeader(TCanvas& c, int w, int h) const {
    const AnsiString& caption = item_->Caption();
    const AnsiString text = caption.substr(1, caption.size() - 2);
    TRect r{2, 0, w - 2, h};
    // A skin may draw headers from its "menuheader" record, in the font of
    // its "label" record; without them the built-in look.
    const TbsSkinData* skin = popup_.Engine().MenuSkin();
    const auto* header = skin ? dynamic_cast<const TbsDataSkinCustomControl*>(SkinControlNamed(*skin, "menuheader"))
                              : nullptr;
    const TBitmap* picture = header ? skin->ActiveBitmapAt(header->pictureindex) : nullptr;
    if (picture && !RectIsEmpty(header->skinrect)) {
        const TSize size{header->skinrect.Width(), header->skinrect.Height()};
        const SkinCornerPoints points = CornerPointsOf(*header);
        const SkinCornerPoints sized = SizedCornerPoints(points, size, {w, h});
        TBitmap image;
        ComposeSkinImage(points, header->skinrect, *picture, image, w, h, sized, StretchFlagsOf(*header), true);
        c.Draw(0, 0, image);
        if (!RectIsEmpty(sized.clientrect)) r = sized.clientrect;
        if (const auto* label = dynamic_cast<const TbsDataSkinLabelControl*>(SkinControlNamed(*skin, "label"))) {
            c.Font.SetName(label->fontname);
            c.Font.SetHeight(label->fontheight);
            c.Font.SetStyle(label->fontstyle);
            c.Font.SetColor(label->fontcolor);
        }
    } else {
        c.Brush.Style = bsSolid;
        c.Brush.Color = clBtnShadow;
        c.FillRect({0, 0, w, h});
        c.Font.SetColor(clBtnHighlight);
    }
    c.Brush.Style = bsClear;
    c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    c.Brush.Style = bsSolid;
}

void TbsSkinMenuItem::DrawTexts(TCanvas& c, TRect area, TColor color, int shortcutRight) const {
    c.Brush.Style = bsClear;
    c.Font.SetColor(color);
    TRect text = area;
    c.DrawText(item_->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (item_->ShortCut) {
        TRect s{area.Left, area.Top, shortcutRight, area.Bottom};
        c.DrawText(ShortCutToText(item_->ShortCut), s, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    c.Brush.Style = bsSolid;
}

void TbsSkinMenuItem::DrawGlyphOrMark(TCanvas& c, int x, int yMid, bool active, const TRect& imageArea) const {
    // The item's own picture, else its image-list entry.
    const TBitmap* own = item_->Bitmap && !item_->Bitmap->Empty() ? item_->Bitmap.get() : nullptr;
    TImageList* images = popup_.Images();
    const bool listed = images && item_->ImageIndex >= 0 && item_->ImageIndex < images->Count();
    if (own || listed) {
        const int iw = own ? own->Width() : images->Width(), ih = own ? own->Height() : images->Height();
        int ix = x, iy = yMid - ih / 2;
        if (!RectIsEmpty(imageArea)) {
            ix = imageArea.Left + (imageArea.Width() - iw) / 2;
            iy = imageArea.Top + (imageArea.Height() - ih) / 2;
        }
        if (own) c.Draw(ix, iy, *own);
        else images->Draw(c, ix, iy, item_->ImageIndex, item_->Enabled);
        if (item_->Checked) {
            c.Brush.Color = active ? clNavy : clBtnShadow;
            c.FrameRect({ix - 1, iy - 1, ix + iw + 1, iy + ih + 1});
        }
        return;
    }
    // The built-in glyphs and marks take the record's image colours when it
    // asks for them.
    const TColor color = record_ && record_->useimagecolor ? (active ? record_->activeimagecolor : record_->imagecolor)
                         : item_->Enabled                 ? clWindowText
                                                          : clBtnShadow;
    if (record_ && item_->Checked) {
        TRect piece = item_->RadioItem ? (active ? record_->activeradioimagerect : record_->radioimagerect)
                                       : (active ? record_->activecheckimagerect : record_->checkimagerect);
        if (RectIsEmpty(piece)) piece = item_->RadioItem ? record_->radioimagerect : record_->checkimagerect;
        if (!RectIsEmpty(piece)) {
            TRect dest = RectIsEmpty(imageArea) ? TRect{x, yMid - piece.Height() / 2, x + piece.Width(),
                                                        yMid - piece.Height() / 2 + piece.Height()}
                                                : TRect{imageArea.Left + (imageArea.Width() - piece.Width()) / 2,
                                                        imageArea.Top + (imageArea.Height() - piece.Height()) / 2, 0, 0};
            dest.Right = dest.Left + piece.Width();
            dest.Bottom = dest.Top + piece.Height();
            DrawSkinPiece(c, dest, *picture_, piece);
            return;
        }
    }
    // The built-in glyphs and marks (11 pixels wide at most) stand in the
    // skin's image cell when it has one: the text begins right after it.
    if (!RectIsEmpty(imageArea)) {
        x = imageArea.Left + (imageArea.Width() - 11) / 2;
        yMid = (imageArea.Top + imageArea.Bottom) / 2;
    }
    if (GlyphFn glyph = CommandGlyph(item_->Name())) {
        glyph(c, x, yMid - 4, color);
    } else if (item_->Checked) {
        if (item_->RadioItem) {
            c.Pen.Color = color;
            c.Brush.Color = color;
            c.Ellipse(x + 1, yMid - 3, x + 7, yMid + 3);
        } else {
            DrawCheckMark(c, x + 1, yMid - 4, color);
        }
    }
}

void TbsSkinMenuItem::DrawDefault(TCanvas& c, int w, int h) const {
    const int column = popup_.HasImageList() ? popup_.GlyphWidth() : 19;
    const bool active = Active() && !IsSeparator();
    c.Brush.Style = bsSolid;
    if (active) {
        c.Brush.Color = kDefaultActiveFill;
        c.FillRect({0, 0, w, h});
        c.Brush.Color = clNavy;
        c.FrameRect({0, 0, w, h});
    } else {
        c.Brush.Color = clBtnFace;
        c.FillRect({0, 0, column, h});
        c.Brush.Color = clWindow;
        c.FillRect({column, 0, w, h});
    }
    const int mid = h / 2;
    if (IsSeparator()) {
        c.Pen.Color = clBtnShadow;
        c.MoveTo(column, mid);
        c.LineTo(w, mid);
        return;
    }
    const TColor text = item_->Enabled ? clWindowText : clBtnShadow;
    DrawTexts(c, {2 + column, 0, w - 2 - 19, h}, text, w - 19);
    if (HasSubmenu()) DrawDirectionArrow(c, {w - 2 - 11, mid - 4, w - 2 - 3, mid + 4}, SkinArrowKind::Right, text);
    DrawGlyphOrMark(c, 2, mid, active, {});
}

void TbsSkinMenuItem::ComposeNormal(TBitmap& out, int w) const {
    if (record_->inactivetransparent) {
        out.SetSize(w, ItemRect.Height());
        out.Canvas().CopyRect({0, 0, w, ItemRect.Height()}, const_cast<TBitmap&>(popup_.PaintBuffer()).Canvas(),
                              ItemRect);
        return;
    }
    const bool stretch = record_->inactivestretcheffect || (CanAnimate() && record_->stretcheffect);
    ComposeRowImage(record_->itemleftoffset, record_->itemrightoffset, out, stretch, w, record_->skinrect, *picture_);
}

void TbsSkinMenuItem::ComposeActive(TBitmap& out, int w) const {
    const TRect& r = RectIsEmpty(record_->activeskinrect) ? record_->skinrect : record_->activeskinrect;
    ComposeRowImage(record_->itemleftoffset, record_->itemrightoffset, out, record_->stretcheffect, w, r, *picture_);
}

void TbsSkinMenuItem::DrawSkinned(TCanvas& c, int w, int h) const {
    const TbsDataSkinMenuItem& r = *record_;
    if (IsSeparator()) {
        TBitmap row;
        ComposeRowImage(r.dividerleftoffset, r.dividerrightoffset, row, r.dividerstretcheffect, w, r.dividerrect,
                        *picture_);
        c.Draw(0, 0, row);
        return;
    }
    const bool active = Active();
    TBitmap back;
    if (CanAnimate() && AnimationFrame > 0 && AnimationFrame <= r.framecount) {
        const TRect& a = r.animateskinrect;
        const int fw = a.Width() / r.framecount;
        const TRect frame = r.skinrect.Height() < a.Height()
                                ? TRect{a.Left, a.Top + (a.Height() / r.framecount) * (AnimationFrame - 1), a.Right,
                                        a.Top + (a.Height() / r.framecount) * AnimationFrame}
                                : TRect{a.Left + fw * (AnimationFrame - 1), a.Top, a.Left + fw * AnimationFrame, a.Bottom};
        ComposeRowImage(r.itemleftoffset, r.itemrightoffset, back, r.stretcheffect, w, frame, *picture_);
    } else if (CanMorph() && MorphFactor > 0 && MorphFactor < 1) {
        TBitmap normal, lit;
        ComposeNormal(normal, w);
        ComposeActive(lit, w);
        TbsEffectBmp blend(normal);
        const TbsEffectBmp target(lit);
        blend.Morph(r.morphkind, target, MorphFactor);
        blend.AssignTo(back);
    } else if (active) {
        ComposeActive(back, w);
    } else {
        ComposeNormal(back, w);
    }
    c.Draw(0, 0, back);

    TRect area = r.textrect;
    area.Right += w - r.skinrect.Width();
    const bool hasImageRect = !RectIsEmpty(r.imagerect);
    const int column = hasImageRect ? 0 : (popup_.HasImageList() ? popup_.GlyphWidth() : 16);
    const TColor color = active ? r.activefontcolor : item_->Enabled ? r.fontcolor : r.unenabledfontcolor;
    DrawTexts(c, {area.Left + column, area.Top, area.Right - 16, area.Bottom}, color, area.Right - 16);
    const int mid = (area.Top + area.Bottom) / 2;
    if (HasSubmenu()) {
        const TRect& arrow = active && !RectIsEmpty(r.activearrowimagerect) ? r.activearrowimagerect : r.arrowimagerect;
        if (!RectIsEmpty(arrow)) {
            const int x = w - 5 - arrow.Width(), y = (h - arrow.Height()) / 2;
            DrawSkinPiece(c, {x, y, x + arrow.Width(), y + arrow.Height()}, *picture_, arrow);
        } else {
            DrawDirectionArrow(c, {w - 13, mid - 4, w - 5, mid + 4}, SkinArrowKind::Right, color);
        }
    }
    DrawGlyphOrMark(c, area.Left + 2, mid, active, r.imagerect);
}
