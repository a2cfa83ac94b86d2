#include "bsMessages.h"

#include <algorithm>
#include <memory>

#include "Icons.h"
#include "SkinDialogText.h"
#include "TbsMessageForm.h"
#include "TbsSkinCheckRadioBox.h"
#include "TbsResourceStrData.h"
#include "TbsSkinData.h"

const std::vector<TbsMessageButton>& MessageButtons() {
    static const std::vector<TbsMessageButton> buttons{
        {mbYes, "Yes", "MSG_BTN_YES", "是", mrYes},
        {mbNo, "No", "MSG_BTN_NO", "否", mrNo},
        {mbOK, "OK", "MSG_BTN_OK", "确定", mrOk},
        {mbCancel, "Cancel", "MSG_BTN_CANCEL", "取消", mrCancel},
        {mbAbort, "Abort", "MSG_BTN_ABORT", "中止", mrAbort},
        {mbRetry, "Retry", "MSG_BTN_RETRY", "重试", mrRetry},
        {mbIgnore, "Ignore", "MSG_BTN_IGNORE", "忽略", mrIgnore},
        {mbAll, "All", "MSG_BTN_ALL", "全部", mrAll},
        {mbNoToAll, "NoToAll", "MSG_BTN_NOTOALL", "全部否", mrNoToAll},
        {mbYesToAll, "YesToAll", "MSG_BTN_YESTOALL", "全部是", mrYesToAll},
        {mbHelp, "Help", "MSG_BTN_HELP", "帮助", mrNone},
    };
    return buttons;
}

const char* MessageKindCaptionKey(int kind) {
    switch (kind) {
    case mtWarning: return "MSG_CAP_WARNING";
    case mtError: return "MSG_CAP_ERROR";
    case mtInformation: return "MSG_CAP_INFORMATION";
    case mtConfirmation: return "MSG_CAP_CONFIRM";
    default: return "";
    }
}

AnsiString MessageKindDefaultCaption(int kind) {
    switch (kind) {
    case mtWarning: return "警告";
    case mtError: return "错误";
    case mtInformation: return "信息";
    case mtConfirmation: return "确认";
    default: return Application ? Application->Title() : AnsiString();
    }
}

std::optional<int> DefaultButtonBit(int buttons) {
    for (int bit : {mbOK, mbYes, mbRetry})
        if (buttons & bit) return bit;
    return std::nullopt;
}

std::optional<int> CancelButtonBit(int buttons) {
    for (int bit : {mbCancel, mbNo, mbOK})
        if (buttons & bit) return bit;
    return std::nullopt;
}

namespace {

// The skin's replacement for a caption key, or the built-in text.
AnsiString LookUpCaption(const TbsSkinData* skinData, const char* key, const AnsiString& fallback) {
    return SkinResourceText(skinData, key, fallback);
}

}  // namespace

TbsMessageBoxPlan PlanMessageBox(const AnsiString& text, int kind, int buttons, const TbsSkinData* skinData) {
    TbsMessageBoxPlan plan;
    plan.Text = text;
    plan.Kind = kind;
    plan.Caption = LookUpCaption(skinData, MessageKindCaptionKey(kind), MessageKindDefaultCaption(kind));
    const std::optional<int> defaultBit = DefaultButtonBit(buttons);
    const std::optional<int> cancelBit = CancelButtonBit(buttons);
    for (const TbsMessageButton& b : MessageButtons()) {
        if (!(buttons & b.Bit)) continue;
        plan.Buttons.push_back({b.Bit, b.Name, LookUpCaption(skinData, b.CaptionKey, b.DefaultCaption), b.Result,
                                defaultBit == b.Bit, cancelBit == b.Bit});
    }
    return plan;
}

int MessageKindIconId(int kind) {
    switch (kind) {
    case mtWarning: return IDI_EXCLAMATION;
    case mtError: return IDI_HAND;
    case mtInformation: return IDI_ASTERISK;
    case mtConfirmation: return IDI_QUESTION;
    default: return 0;
    }
}

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner) : TComponent(AOwner) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetHeight(14);
    defaultButtonFont_.SetName("Arial");
    defaultButtonFont_.SetHeight(14);
}

TbsSkinMessage::~TbsSkinMessage() = default;

void TbsSkinMessage::Reference(TbsSkinData*& slot, TbsSkinData* value) {
    if (slot == value) return;
    TbsSkinData* old = slot;
    slot = value;
    // The old component is let go only when the other slot does not name it.
    if (old && old != skinData_ && old != ctrlSkinData_) RemoveFreeNotification(old);
    if (value) FreeNotification(value);
}

void TbsSkinMessage::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) skinData_ = nullptr;
    if (AComponent == ctrlSkinData_) ctrlSkinData_ = nullptr;
}

void TbsSkinMessage::SetSkinData(TbsSkinData* value) { Reference(skinData_, value); }
void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* value) { Reference(ctrlSkinData_, value); }

int TbsSkinMessage::ShowSkinMessage(const AnsiString& text, int kind, int buttons, int helpContext) {
    const TbsMessageBoxPlan plan = PlanMessageBox(text, kind, buttons, ctrlSkinData_);
    TbsMessageFormSettings settings;
    settings.SkinData = skinData_;
    settings.CtrlSkinData = ctrlSkinData_;
    settings.ButtonSkinDataName = ButtonSkinDataName;
    settings.MessageLabelSkinDataName = MessageLabelSkinDataName;
    settings.DefaultFont = &defaultFont_;
    settings.DefaultButtonFont = &defaultButtonFont_;
    settings.UseSkinFont = UseSkinFont;
    settings.AlphaBlend = AlphaBlend;
    settings.AlphaBlendAnimation = AlphaBlendAnimation;
    settings.AlphaBlendValue = AlphaBlendValue;
    settings.ShowAgainFlag = ShowAgainFlag;
    settings.ShowAgainFlagValue = ShowAgainFlagValue;
    settings.Caption = plan.Caption;
    settings.Text = plan.Text;
    settings.IconId = MessageKindIconId(kind);
    settings.HelpContext = helpContext;
    for (const auto& b : plan.Buttons)
        settings.Buttons.push_back({b.Name, b.Caption, b.Result, b.IsDefault, b.IsCancel});

    auto dialog = CreateUnowned<TbsMessageForm>(settings);
    // The check box's answer is kept whether the dialog ended normally or by
    // an error.
    struct KeepAnswer {
        TbsSkinMessage& self;
        TbsMessageForm& form;
        ~KeepAnswer() {
            if (form.CheckBox()) self.ShowAgainFlagValue = !form.CheckBox()->Checked();
        }
    } keep{*this, *dialog};
    return dialog->ShowModal();
}
