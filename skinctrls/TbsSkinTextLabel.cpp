#include "TbsSkinTextLabel.h"

#include "TbsSkinCustomControl.h"
#include "TbsSkinData.h"

TbsSkinTextLabel::TbsSkinTextLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle &= ~unsigned(csOpaque);
    SetBounds(0, 0, 65, 65);
    defaultFont_.Assign(MakeSkinDefaultFont());
    defaultFont_.OnChange = [this] { Changed(); };
    lines_.OnChange = [this] { Changed(); };
}

TbsSkinTextLabel::~TbsSkinTextLabel() {
    defaultFont_.OnChange = nullptr;
    lines_.OnChange = nullptr;
}

void TbsSkinTextLabel::Changed() {
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetLines(const TStrings& value) {
    lines_.Assign(value);
    Changed();
}

void TbsSkinTextLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == skinData_) {
        skinData_ = nullptr;
        ForgetSkinRecord();
    }
}

void TbsSkinTextLabel::Bind() { recordIndex_ = BindSkinLabelRecord(skinData_, skinDataName_, keys_); }

void TbsSkinTextLabel::SetSkinData(TbsSkinData* value) {
    ReferToSkinData(*this, skinData_, value);
    if (value) ApplySkin();
}

void TbsSkinTextLabel::ApplySkin() {
    Bind();
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    Changed();
}

void TbsSkinTextLabel::SetUseSkinColor(bool value) {
    useSkinColor_ = value;
    Invalidate();
}

void TbsSkinTextLabel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TbsSkinTextLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    Changed();
}

void TbsSkinTextLabel::SetLayout(TTextLayout value) {
    layout_ = value;
    Invalidate();
}

void TbsSkinTextLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    Changed();
}

void TbsSkinTextLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

AnsiString TbsSkinTextLabel::JoinedText() const {
    // Every line ends in a break, so the measured text has one empty line
    // more than the list: its height is taken off again where it matters.
    AnsiString text;
    for (int i = 0; i < lines_.Count(); ++i) text += lines_.Strings(i) + "\r\n";
    if (lines_.Count() == 0) text = "\r\n";
    return text;
}

unsigned TbsSkinTextLabel::Flags() const {
    unsigned flags = DT_EXPANDTABS | DT_NOPREFIX;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (alignment_ == taRightJustify) flags |= DT_RIGHT;
    else if (alignment_ == taCenter) flags |= DT_CENTER;
    return flags;
}

void TbsSkinTextLabel::AdjustBounds() {
    if (!autoSize_ || Loading()) return;
    TCanvas measure;
    ChooseSkinLabelFont(measure.Font, keys_, useSkinFont_, useSkinColor_, defaultFont_, Font(), skinData_);
    TRect r{0, 0, wordWrap_ ? Width() : 0, 0};
    measure.DrawText(JoinedText(), r, Flags() | DT_CALCRECT);
    const int h = r.Height() - measure.TextHeight("A");
    const int w = wordWrap_ ? Width() : r.Width();
    int x = Left();
    if (alignment_ == taRightJustify) x = Left() + Width() - w;
    SetBounds(x, Top(), w, h);
}

void TbsSkinTextLabel::Paint() {
    Bind();
    TCanvas& c = Canvas();
    ChooseSkinLabelFont(c.Font, keys_, useSkinFont_, useSkinColor_, defaultFont_, Font(), skinData_);
    const AnsiString text = JoinedText();
    TRect r{0, 0, Width(), Height()};
    if (layout_ != tlTop) {
        TRect measured = r;
        c.DrawText(text, measured, Flags() | DT_CALCRECT);
        const int h = measured.Height() - c.TextHeight("A");
        r.Top += layout_ == tlCenter ? (Height() - h) / 2 : Height() - h;
    }
    DrawSkinLabelText(c, text, r, Flags(), Enabled(), keys_.bound ? skinData_ : nullptr);
    c.Brush.Style = bsSolid;
}

void TbsSkinTextLabel::WndProc(TMessage& m) {
    if (m.Msg == CM_FONTCHANGED) Changed();
    TGraphicControl::WndProc(m);
}
