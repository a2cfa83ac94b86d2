#include "TbsSkinStdLabel.h"

#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"

namespace {
// The platform's flag for shortening a path in the middle; the canvas draws
// it as an end ellipsis, the nearest it has.
constexpr unsigned kPathEllipsis = 0x4000;
}  // namespace

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
    SetTransparent(true);
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.OnChange = [this] {
        AdjustBounds();
        Invalidate();
    };
}

TbsSkinStdLabel::~TbsSkinStdLabel() { defaultFont_.OnChange = nullptr; }

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == skinData_) {
        skinData_ = nullptr;
        ForgetSkinRecord();
    }
}

void TbsSkinStdLabel::Bind() { recordIndex_ = BindSkinLabelRecord(skinData_, skinDataName_, keys_); }

void TbsSkinStdLabel::SetSkinData(TbsSkinData* value) {
    ReferToSkinData(*this, skinData_, value);
    if (value) ApplySkin();
}

void TbsSkinStdLabel::ApplySkin() {
    Bind();
    if (AutoSize()) AdjustBounds();
    Invalidate();
}

void TbsSkinStdLabel::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    AdjustBounds();
    Invalidate();
}

void TbsSkinStdLabel::SetUseSkinColor(bool value) {
    useSkinColor_ = value;
    Invalidate();
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType value) {
    ellipsType_ = value;
    Invalidate();
}

void TbsSkinStdLabel::Paint() {
    Bind();
    TCustomLabel::Paint();
}

void TbsSkinStdLabel::DoDrawText(TRect& rect, unsigned flags) {
    AnsiString text = Caption();
    if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&"))) text = " ";
    if (!ShowAccelChar()) flags |= DT_NOPREFIX;
    if (ellipsType_ == bsetEndEllips) flags |= DT_END_ELLIPSIS;
    else if (ellipsType_ == bsetPathEllips) flags |= kPathEllipsis | DT_END_ELLIPSIS;
    if (flags & DT_CALCRECT) {
        // Measuring needs no surface, so the label can size itself early.
        TCanvas measure;
        ChooseSkinLabelFont(measure.Font, keys_, useSkinFont_, useSkinColor_, defaultFont_, Font(), skinData_);
        measure.DrawText(text, rect, flags);
        return;
    }
    TCanvas& c = Canvas();
    ChooseSkinLabelFont(c.Font, keys_, useSkinFont_, useSkinColor_, defaultFont_, Font(), skinData_);
    DrawSkinLabelText(c, text, rect, flags, Enabled(), keys_.bound ? skinData_ : nullptr);
    c.Brush.Style = bsSolid;
}
