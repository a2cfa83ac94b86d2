#include "TbsSkinCheckRadioBox.h"

#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "SkinExtraControlRecords.h"
#include "SkinGlyphs.h"
#include "SkinParentBackground.h"
#include "SkinPieceCopy.h"
#include "VirtualKeys.h"

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetSkinDataName("checkbox");
    SetTabStop(true);
    SetDefaultWidth(120);
    SetDefaultHeight(20);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() = default;

void TbsSkinCheckRadioBox::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    Invalidate();
    if (OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::Toggle() { SetChecked(!checked_); }

void TbsSkinCheckRadioBox::BindSkinRecord() {
    TbsSkinCustomControl::BindSkinRecord();
    const auto* r = dynamic_cast<const TbsDataSkinCheckRadioControl*>(BoundRecord());
    ownRecord_ = r != nullptr;
    if (!r) return;
    fontName_ = r->fontname;
    fontHeight_ = r->fontheight;
    fontStyle_ = r->fontstyle;
    fontColor_ = r->fontcolor;
    unenabledFontColor_ = r->unenabledfontcolor;
    checkImageArea_ = r->checkimagearea;
    textArea_ = r->textarea;
    checkImageRect_ = r->checkimagerect;
    uncheckImageRect_ = r->uncheckimagerect;
}

void TbsSkinCheckRadioBox::DrawCaption(TCanvas& canvas, const TRect& area, TColor color) const {
    canvas.Font.SetColor(color);
    canvas.Brush.Style = bsClear;
    TRect r = area;
    canvas.DrawText(Caption(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TbsSkinCheckRadioBox::PaintDefaultImage(TBitmap& bitmap) {
    TCanvas& c = bitmap.Canvas();
    // The box and caption stand on whatever the parent shows (a skinned
    // form's client picture, a panel), like a label.
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, Width(), Height()});
    PaintParentBackground(*this, c);
    const int midY = Height() / 2;
    const TRect box{2, midY - 7, 16, midY + 7};
    DrawDefaultBox(c, box, pressed_ ? DefaultBoxState::Pressed : DefaultBoxState::Normal);
    if (checked_) DrawCheckMark(c, box.Left + 3, box.Top + 3, Enabled() ? clBtnText : clGrayText);
    c.Font.Assign(DefaultFont());
    DrawCaption(c, {box.Right + 5, 0, Width(), Height()}, Enabled() ? clBtnText : clGrayText);
    if (Focused()) c.DrawFocusRect({box.Right + 3, 1, Width() - 1, Height() - 1});
}

void TbsSkinCheckRadioBox::PaintSkinImage(TBitmap& bitmap) {
    if (!ownRecord_ || !geometry_.SkinPicture) {
        PaintDefaultImage(bitmap);
        return;
    }
    PaintSkinImageFrom(bitmap, geometry_.skinrect);
    TCanvas& c = bitmap.Canvas();
    // The areas are given inside skinrect; the text area keeps its distance
    // from the right edge as the control grows.
    const int rightGap = WidthOf(geometry_.skinrect) - textArea_.Right;
    const TRect& mark = checked_ ? checkImageRect_ : uncheckImageRect_;
    if (!RectIsEmpty(mark)) {
        TBitmap piece(WidthOf(mark), HeightOf(mark));
        CopySkinPiece(piece, 0, 0, *geometry_.SkinPicture, mark);
        piece.SetTransparent(true);
        c.Draw(checkImageArea_.Left, (Height() - HeightOf(mark)) / 2, piece);
    }
    ApplyRecordFont(c.Font, fontName_, fontHeight_, fontStyle_);
    DrawCaption(c, {textArea_.Left, 0, Width() - rightGap, Height()}, Enabled() ? fontColor_ : unenabledFontColor_);
}

void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (CanFocus()) SetFocus();
    pressed_ = true;
    Invalidate();
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !pressed_) return;
    pressed_ = false;
    Invalidate();
    if (X >= 0 && Y >= 0 && X < Width() && Y < Height()) Toggle();
}

void TbsSkinCheckRadioBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE) {
        Toggle();
        Key = 0;
    }
}
