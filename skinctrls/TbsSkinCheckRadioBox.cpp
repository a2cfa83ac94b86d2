#include "TbsSkinCheckRadioBox.h"

#include "SkinDefaultLook.h"
#include "SkinGeometry.h"
#include "SkinExtraControlRecords.h"
#include "SkinGlyphs.h"
#include "SkinParentBackground.h"
#include "SkinPieceCopy.h"
#include "VirtualKeys.h"

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    // The record kind "checkradio" holds the check box's pictures; skins
    // name their record after it.
    SetSkinDataName("checkradio");
    SetTabStop(true);
    SetDefaultWidth(120);
    SetDefaultHeight(20);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() = default;

void TbsSkinCheckRadioBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    Invalidate();
    if (OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::Toggle() { SetChecked(!Checked()); }

void TbsSkinCheckRadioBox::BindSkinRecord() {
    TbsSkinCustomControl::BindSkinRecord();
    const auto* r = dynamic_cast<const TbsDataSkinCheckRadioControl*>(BoundRecord());
    ownRecord_ = r != nullptr;
    if (!r) return;
    fontName_ = r->fontname;
    fontHeight_ = r->fontheight;
    fontStyle_ = r->fontstyle;
    fontColor_ = r->fontcolor;
    activeFontColor_ = r->activefontcolor;
    unenabledFontColor_ = r->unenabledfontcolor;
    activeSkinRect_ = r->activeskinrect;
    checkImageArea_ = r->checkimagearea;
    textArea_ = r->textarea;
    checkImageRect_ = r->checkimagerect;
    uncheckImageRect_ = r->uncheckimagerect;
    activeCheckImageRect_ = r->activecheckimagerect;
    activeUncheckImageRect_ = r->activeuncheckimagerect;
    unenabledCheckImageRect_ = r->unenabledcheckimagerect;
    unenabledUncheckImageRect_ = r->unenableduncheckimagerect;
    grayedCheckImageRect_ = r->grayedcheckimagerect;
    activeGrayedCheckImageRect_ = r->activegrayedcheckimagerect;
}

const TRect& TbsSkinCheckRadioBox::MarkPicture() const {
    const TRect& normal = state_ == cbChecked ? checkImageRect_ : state_ == cbGrayed ? grayedCheckImageRect_ : uncheckImageRect_;
    // The record has no picture of a disabled third state: it keeps its own.
    const TRect& special = !Enabled() ? (state_ == cbChecked     ? unenabledCheckImageRect_
                                         : state_ == cbUnchecked ? unenabledUncheckImageRect_
                                                                 : grayedCheckImageRect_)
                           : Hot()    ? (state_ == cbChecked     ? activeCheckImageRect_
                                         : state_ == cbUnchecked ? activeUncheckImageRect_
                                                                 : activeGrayedCheckImageRect_)
                                      : normal;
    // An empty picture of a state falls back to the normal one.
    return RectIsEmpty(special) ? normal : special;
}

void TbsSkinCheckRadioBox::MouseEntered() {
    TbsSkinCustomControl::MouseEntered();
    mouseIn_ = true;
    Invalidate();
}

void TbsSkinCheckRadioBox::MouseLeft() {
    TbsSkinCustomControl::MouseLeft();
    mouseIn_ = false;
    Invalidate();
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
    DrawDefaultBox(c, box, pressed_ ? DefaultBoxState::Pressed : Hot() ? DefaultBoxState::Hot : DefaultBoxState::Normal);
    const TColor mark = Enabled() ? clBtnText : clGrayText;
    if (state_ == cbChecked) {
        DrawCheckMark(c, box.Left + 3, box.Top + 3, mark);
    } else if (state_ == cbGrayed) {
        c.Brush.Color = mark;
        c.FillRect({box.Left + 4, box.Top + 4, box.Right - 4, box.Bottom - 4});
    }
    c.Font.Assign(DefaultFont());
    DrawCaption(c, {box.Right + 5, 0, Width(), Height()}, Enabled() ? clBtnText : clGrayText);
    if (Focused()) c.DrawFocusRect({box.Right + 3, 1, Width() - 1, Height() - 1});
}

void TbsSkinCheckRadioBox::PaintSkinImage(TBitmap& bitmap) {
    if (!ownRecord_ || !geometry_.SkinPicture) {
        PaintDefaultImage(bitmap);
        return;
    }
    PaintSkinImageFrom(bitmap, Hot() && !RectIsEmpty(activeSkinRect_) ? activeSkinRect_ : geometry_.skinrect);
    TCanvas& c = bitmap.Canvas();
    // The areas are given inside skinrect; the text area keeps its distance
    // from the right edge as the control grows. The mark is centred in its
    // area.
    const int rightGap = WidthOf(geometry_.skinrect) - textArea_.Right;
    const TRect& mark = MarkPicture();
    if (!RectIsEmpty(mark)) {
        TBitmap piece(WidthOf(mark), HeightOf(mark));
        CopySkinPiece(piece, 0, 0, *geometry_.SkinPicture, mark);
        piece.SetTransparent(true);
        const TRect& area = RectIsEmpty(checkImageArea_) ? TRect{0, 0, Height(), Height()} : checkImageArea_;
        c.Draw(area.Left + (WidthOf(area) - WidthOf(mark)) / 2, area.Top + (HeightOf(area) - HeightOf(mark)) / 2, piece);
    }
    ApplyRecordFont(c.Font, fontName_, fontHeight_, fontStyle_);
    const TColor text = !Enabled() ? unenabledFontColor_ : Hot() ? activeFontColor_ : fontColor_;
    DrawCaption(c, {textArea_.Left, 0, Width() - rightGap, Height()}, text);
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
