#include "bsMessages.h"

#include <algorithm>
#include <memory>

#include "TButton.h"
#include "TLabel.h"
#include "TbsResourceStrData.h"
#include "TbsSkinData.h"

const std::vector<TbsMessageButton>& MessageButtons() {
    static const std::vector<TbsMessageButton> buttons{
        {mbYes, "MSG_BTN_YES", "是", mrYes},
        {mbNo, "MSG_BTN_NO", "否", mrNo},
        {mbOK, "MSG_BTN_OK", "确定", mrOk},
        {mbCancel, "MSG_BTN_CANCEL", "取消", mrCancel},
        {mbAbort, "MSG_BTN_ABORT", "中止", mrAbort},
        {mbRetry, "MSG_BTN_RETRY", "重试", mrRetry},
        {mbIgnore, "MSG_BTN_IGNORE", "忽略", mrIgnore},
        {mbAll, "MSG_BTN_ALL", "全部", mrAll},
        {mbNoToAll, "MSG_BTN_NOTOALL", "全部否", mrNoToAll},
        {mbYesToAll, "MSG_BTN_YESTOALL", "全部是", mrYesToAll},
        {mbHelp, "MSG_BTN_HELP", "帮助", mrNone},
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
    if (!skinData || !*key || !skinData->ResourceStrData()) return fallback;
    AnsiString text = skinData->ResourceStrData()->LookupString(key);
    return text.empty() ? fallback : text;
}

// Sizes of the box, in pixels.
constexpr int kButtonWidth = 70;
constexpr int kButtonSpacing = 10;
constexpr int kButtonHeight = 25;
constexpr int kLabelLeft = 50;
constexpr int kLabelTop = 15;

// The dialog of one call: the message, the space of the kind's icon and a
// centred row of buttons. Enter and Escape reach the default and the cancel
// button through the buttons' own Default and Cancel settings.
class TbsMessageForm : public TForm {
public:
    TbsMessageForm(TComponent* AOwner, const TbsMessageBoxPlan& plan) : TForm(AOwner) {
        SetBorderStyle(bsDialog);
        SetBorderIcons(biSystemMenu);
        SetPosition(poScreenCenter);
        KeyPreview = true;
        SetCaption(plan.Caption);

        TLabel* message = CreateComponent<TLabel>(this);
        message->SetName("Message");
        message->SetParent(this);
        message->Font().SetName("Arial");
        message->Font().SetHeight(14);
        message->SetShowAccelChar(false);
        message->SetAutoSize(true);
        message->SetLeft(kLabelLeft);
        message->SetTop(kLabelTop);
        message->SetCaption(plan.Text);

        const int n = static_cast<int>(plan.Buttons.size());
        const int rowWidth = n == 0 ? 0 : n * kButtonWidth + (n - 1) * kButtonSpacing;
        const int labelRight = message->Left() + message->Width();
        const int clientWidth = std::max(rowWidth, labelRight) + 40;
        const int clientHeight = kButtonHeight + 50 + message->Height();
        SetClientWidth(clientWidth);
        SetClientHeight(clientHeight);

        int x = (clientWidth - rowWidth) / 2;
        for (const auto& spec : plan.Buttons) {
            TButton* button = CreateComponent<TButton>(this);
            button->SetParent(this);
            button->SetBounds(x, clientHeight - kButtonHeight - 10, kButtonWidth, kButtonHeight);
            button->SetCaption(spec.Caption);
            button->Font().SetName("Arial");
            button->Font().SetHeight(14);
            button->SetTabStop(true);
            // The Help button has nothing to show here and keeps the box open.
            button->SetModalResult(spec.Result);
            button->SetDefault(spec.IsDefault);
            button->SetCancel(spec.IsCancel);
            if (spec.IsDefault) SetActiveControl(button);
            x += kButtonWidth + kButtonSpacing;
        }
    }
};

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
        plan.Buttons.push_back({b.Bit, LookUpCaption(skinData, b.CaptionKey, b.DefaultCaption), b.Result,
                                defaultBit == b.Bit, cancelBit == b.Bit});
    }
    return plan;
}

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner) : TComponent(AOwner) {}

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

int TbsSkinMessage::ShowSkinMessage(const AnsiString& text, int kind, int buttons, int /*helpContext*/) {
    const TbsMessageBoxPlan plan = PlanMessageBox(text, kind, buttons, ctrlSkinData_);
    auto dialog = CreateUnowned<TbsMessageForm>(plan);
    return dialog->ShowModal();
}
