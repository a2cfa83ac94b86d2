#include "TbsMessageForm.h"

#include <algorithm>

#include "Icons.h"
#include "SkinGeometry.h"
#include "SkinControlGeometry.h"
#include "SkinControlRecords.h"
#include "SkinExtraControlRecords.h"
#include "TImage.h"
#include "TbsResourceStrData.h"
#include "TbsSkinButton.h"
#include "TbsSkinCheckRadioBox.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinStdLabel.h"

int MessageButtonHeight(const TbsSkinData* ctrlSkinData, const AnsiString& buttonSkinDataName) {
    if (!ctrlSkinData || ctrlSkinData->IsEmpty()) return kMessageButtonDefaultHeight;
    const int index = ctrlSkinData->FindControlIndex(buttonSkinDataName);
    const auto* record = dynamic_cast<const TbsDataSkinButtonControl*>(SkinControlRecordAt(ctrlSkinData, index));
    return record ? HeightOf(record->skinrect) : kMessageButtonDefaultHeight;
}

AnsiString ShowAgainCaption(const TbsSkinData* ctrlSkinData) {
    if (ctrlSkinData && ctrlSkinData->ResourceStrData()) {
        AnsiString text = ctrlSkinData->ResourceStrData()->LookupString("MSG_CAP_SHOWFLAG");
        if (!text.empty()) return text;
    }
    return "下次不再显示这个消息";
}

TbsMessageForm::TbsMessageForm(TComponent* AOwner, const TbsMessageFormSettings& s)
    : TForm(AOwner), helpContext_(s.HelpContext) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    KeyPreview = true;
    SetCaption(s.Caption);

    frame_ = CreateComponent<TbsSkinForm>(this);
    frame_->SetBorderIcons(0);
    frame_->AlphaBlend = s.AlphaBlend;
    frame_->AlphaBlendAnimation = s.AlphaBlendAnimation;
    frame_->AlphaBlendValue = BYTE(std::clamp(s.AlphaBlendValue, 0, 255));
    frame_->SetSkinData(s.SkinData);
    frame_->SetMenusSkinData(s.CtrlSkinData);

    const int buttonHeight = MessageButtonHeight(s.CtrlSkinData, s.ButtonSkinDataName);

    label_ = CreateComponent<TbsSkinStdLabel>(this);
    label_->SetName("Message");
    label_->SetParent(this);
    if (s.DefaultFont) {
        label_->Font().Assign(*s.DefaultFont);
        label_->SetDefaultFont(*s.DefaultFont);
    }
    label_->SetUseSkinFont(s.UseSkinFont);
    label_->SetSkinDataName(s.MessageLabelSkinDataName);
    label_->SetSkinData(s.CtrlSkinData);
    // Messages are plain text: an "&" in a file name must show as it is.
    label_->SetShowAccelChar(false);
    label_->SetAutoSize(true);
    label_->SetLeft(kMessageLabelLeft);
    label_->SetTop(kMessageLabelTop);
    label_->SetCaption(s.Text);

    std::optional<int> checkWidth;
    AnsiString checkCaption;
    if (s.ShowAgainFlag) {
        checkBox_ = CreateComponent<TbsSkinCheckRadioBox>(this);
        checkBox_->SetName("checkbox");
        checkBox_->SetDefaultHeight(30);
        checkBox_->SetChecked(!s.ShowAgainFlagValue);
        if (s.DefaultFont) checkBox_->SetDefaultFont(*s.DefaultFont);
        checkBox_->SetUseSkinFont(s.UseSkinFont);
        checkBox_->SetSkinData(s.CtrlSkinData);
        checkCaption = ShowAgainCaption(s.CtrlSkinData);
        checkBox_->SetCaption(checkCaption);
        checkWidth = MeasureCheckCaption(s, checkCaption);
    }

    layout_ = LayOutMessageForm(int(s.Buttons.size()), buttonHeight, {label_->Width(), label_->Height()}, checkWidth);
    CreateIcon(s.IconId);

    // The frame's thickness is known once the window exists.
    HandleNeeded();
    SetClientWidth(layout_.ClientWidth);
    SetClientHeight(layout_.ClientHeight);
    if (frame_->MaxFrameWidth() < Width()) SetWidth(frame_->MaxFrameWidth());
    else if (frame_->MinFrameWidth() > Width()) SetWidth(frame_->MinFrameWidth());
    // A clamped window centres its buttons in the width it really has.
    if (ClientWidth() != layout_.ClientWidth) {
        layout_.ButtonsLeft = CentredButtonRowLeft(ClientWidth(), layout_.ButtonRowWidth);
    }

    if (checkBox_) {
        const TRect& r = *layout_.CheckBox;
        checkBox_->SetParent(this);
        checkBox_->SetBounds(r.Left, r.Top, WidthOf(r), HeightOf(r));
    }

    int x = layout_.ButtonsLeft;
    for (const auto& spec : s.Buttons) {
        TbsSkinButton* button = CreateComponent<TbsSkinButton>(this);
        button->SetName(spec.Name);
        button->SetCanFocused(true);
        button->SetCaption(spec.Caption);
        // The Help button answers 0 and keeps the box open: this platform has
        // no help viewer for the help context.
        button->SetModalResult(spec.Result);
        button->SetDefault(spec.IsDefault);
        button->SetCancel(spec.IsCancel);
        button->SetDefaultHeight(buttonHeight);
        if (s.DefaultButtonFont) button->SetDefaultFont(*s.DefaultButtonFont);
        button->SetUseSkinFont(s.UseSkinFont);
        button->SetSkinDataName(s.ButtonSkinDataName);
        button->SetSkinData(s.CtrlSkinData);
        button->SetParent(this);
        button->SetBounds(x, layout_.ButtonsTop, kMessageButtonWidth, buttonHeight);
        if (spec.IsDefault) SetActiveControl(button);
        buttons_.push_back(button);
        x += kMessageButtonWidth + kMessageButtonSpacing;
    }
    if (!buttons_.empty() && !ActiveControl()) SetActiveControl(buttons_.front());
}

TbsMessageForm::~TbsMessageForm() = default;

void TbsMessageForm::CreateIcon(int iconId) {
    image_ = CreateComponent<TImage>(this);
    image_->SetName("Image");
    image_->SetParent(this);
    image_->SetBounds(layout_.Icon.Left, layout_.Icon.Top, 32, 32);
    if (iconId == 0) return;
    // The standard icons are shared; the image keeps a copy of its own.
    if (const IconPixels* pixels = IconPixelsOf(LoadIcon(nullptr, iconId))) {
        image_->Picture().Icon().SetHandle(CreateIconFromPixels(*pixels));
    }
}

int TbsMessageForm::MeasureCheckCaption(const TbsMessageFormSettings& s, const AnsiString& caption) const {
    TBitmap scratch(1, 1);
    TFont& font = scratch.Canvas().Font;
    const auto* record = dynamic_cast<const TbsDataSkinCheckRadioControl*>(
        SkinControlRecordAt(s.CtrlSkinData, checkBox_->RecordIndex()));
    if (record && s.UseSkinFont) {
        font.SetName(record->fontname);
        font.SetHeight(record->fontheight);
    } else if (s.DefaultFont) {
        font.Assign(*s.DefaultFont);
    }
    return scratch.Canvas().TextWidth(caption);
}
