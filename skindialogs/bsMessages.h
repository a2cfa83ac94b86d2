#pragma once
// The message box component: the one way the program shows a message or
// asks a question, ShowSkinMessage(text, kind, buttons, helpContext). This
// unit holds the contract every caller relies on (the kinds with their
// captions, the button bits with their captions and results, which button
// answers Enter and which Escape) and the component that carries a call out.
//
// The box is a skinned window (TbsMessageForm): the skinned frame, the kind's
// icon, the text in a skinned label and skinned buttons; the captions follow
// the contract, and the controls' skin text table may replace them.

#include <optional>
#include <vector>

#include "AnsiString.h"
#include "Classes.h"
#include "Forms.h"
#include "TFont.h"

class TbsSkinData;

// ---- message kinds; each has its caption and icon ----
inline constexpr int mtWarning = 0;       // "警告", exclamation icon
inline constexpr int mtError = 1;         // "错误", hand icon
inline constexpr int mtInformation = 2;   // "信息", asterisk icon
inline constexpr int mtConfirmation = 3;  // "确认", question icon
inline constexpr int mtCustom = 4;        // the application title, no icon

// ---- buttons: bits of the button set, shown in this order ----
inline constexpr int mbYes = 1 << 0;
inline constexpr int mbNo = 1 << 1;
inline constexpr int mbOK = 1 << 2;
inline constexpr int mbCancel = 1 << 3;
inline constexpr int mbAbort = 1 << 4;
inline constexpr int mbRetry = 1 << 5;
inline constexpr int mbIgnore = 1 << 6;
inline constexpr int mbAll = 1 << 7;
inline constexpr int mbNoToAll = 1 << 8;
inline constexpr int mbYesToAll = 1 << 9;
inline constexpr int mbHelp = 1 << 10;
inline constexpr int mbYesNo = mbYes | mbNo;
// The results are the modal results of Forms.h: the Help button answers
// mrNone (0), Yes mrYes (6) and so on; a box closed without a button mrCancel.

// One button of a box, as the contract fixes it.
struct TbsMessageButton {
    int Bit = 0;
    const char* Name = "";         // the button component's name in the box
    const char* CaptionKey = "";   // key of the skin's text table
    const char* DefaultCaption = "";
    int Result = mrNone;
};

// The contract's buttons, in the order a box shows them.
const std::vector<TbsMessageButton>& MessageButtons();

// The caption key of a kind ("MSG_CAP_WARNING" ...); empty for the custom kind.
const char* MessageKindCaptionKey(int kind);
// The built-in caption of a kind; the custom kind shows the application title.
AnsiString MessageKindDefaultCaption(int kind);

// Enter presses OK if the set holds it, else Yes, else Retry; Escape presses
// Cancel, else No, else OK. A button outside the set does not exist: then the
// key does nothing (no value).
std::optional<int> DefaultButtonBit(int buttons);
std::optional<int> CancelButtonBit(int buttons);

// Everything a box of one call shows: resolved captions, the buttons in
// order, which of them answer Enter and Escape.
struct TbsMessageBoxPlan {
    AnsiString Caption;
    AnsiString Text;
    int Kind = mtCustom;
    struct Button {
        int Bit = 0;
        AnsiString Name;
        AnsiString Caption;
        int Result = mrNone;
        bool IsDefault = false;
        bool IsCancel = false;
    };
    std::vector<Button> Buttons;
};

// Resolves a call: captions come from the skin's text table when it holds
// the key, from the built-in texts otherwise.
TbsMessageBoxPlan PlanMessageBox(const AnsiString& text, int kind, int buttons, const TbsSkinData* skinData);

class TbsSkinMessage : public TComponent {
public:
    explicit TbsSkinMessage(TComponent* AOwner);
    ~TbsSkinMessage() override;

    // The skin of the dialog's frame (may be none).
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    // The skin of the text, buttons and check box, whose text table may
    // replace the captions and whose button record gives the button height.
    TbsSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TbsSkinData* value);

    AnsiString ButtonSkinDataName = "button";
    AnsiString MessageLabelSkinDataName = "stdlabel";
    const TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const TFont& value) { defaultFont_.Assign(value); }
    const TFont& DefaultButtonFont() const { return defaultButtonFont_; }
    void SetDefaultButtonFont(const TFont& value) { defaultButtonFont_.Assign(value); }
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    BYTE AlphaBlendValue = 200;
    // Shows the "do not show this message again" box. ShowAgainFlagValue
    // says whether the message is still wanted: the box starts checked when
    // it is false, and after a call it is the opposite of the box's state.
    bool ShowAgainFlag = false;
    bool ShowAgainFlagValue = false;

    // Shows `text` in a modal box of the kind with the buttons of the set, in
    // contract order, and returns the pressed button's result; a box closed
    // any other way returns mrCancel (2). The Help button answers 0 and
    // leaves the box open: this platform has no help to show `helpContext`.
    int ShowSkinMessage(const AnsiString& text, int kind, int buttons, int helpContext);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Reference(TbsSkinData*& slot, TbsSkinData* value);

    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* ctrlSkinData_ = nullptr;
    TFont defaultFont_;
    TFont defaultButtonFont_;
};

// The standard icon of a kind (IDI_EXCLAMATION ...), 0 for the custom kind.
int MessageKindIconId(int kind);
