#pragma once
// The window of one message: a form with the skinned frame (no caption
// buttons), the kind's icon, the text in a skinned label, the buttons in a
// centred row and, when asked for, the "do not show again" check box. It is
// built for one call, laid out by LayOutMessageForm and freed after it.

#include <optional>
#include <vector>

#include "AnsiString.h"
#include "Forms.h"
#include "MessageFormLayout.h"
#include "TFont.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinStdLabel;
class TbsSkinButton;
class TbsSkinCheckRadioBox;
class TImage;

// Everything the window is built from: the component's settings and the
// call's resolved texts and buttons.
struct TbsMessageFormSettings {
    TbsSkinData* SkinData = nullptr;       // the frame's skin
    TbsSkinData* CtrlSkinData = nullptr;   // the controls' skin and texts
    AnsiString ButtonSkinDataName = "button";
    AnsiString MessageLabelSkinDataName = "stdlabel";
    const TFont* DefaultFont = nullptr;
    const TFont* DefaultButtonFont = nullptr;
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 200;
    bool ShowAgainFlag = false;
    bool ShowAgainFlagValue = false;

    AnsiString Caption;
    AnsiString Text;
    int IconId = 0;  // IDI_* of the kind; 0 for none
    struct Button {
        AnsiString Name;
        AnsiString Caption;
        int Result = mrNone;
        bool IsDefault = false;
        bool IsCancel = false;
    };
    std::vector<Button> Buttons;
    int HelpContext = 0;
};

// The buttons' height: the height of the button record's skinrect when the
// controls' skin has a button record under `buttonSkinDataName`, else 25.
int MessageButtonHeight(const TbsSkinData* ctrlSkinData, const AnsiString& buttonSkinDataName);

// The check box's caption: the skin's "MSG_CAP_SHOWFLAG" text, else the
// built-in one.
AnsiString ShowAgainCaption(const TbsSkinData* ctrlSkinData);

class TbsMessageForm : public TForm {
public:
    TbsMessageForm(TComponent* AOwner, const TbsMessageFormSettings& settings);
    ~TbsMessageForm() override;

    const MessageFormLayout& Layout() const { return layout_; }
    TbsSkinForm* SkinFrame() const { return frame_; }
    TbsSkinStdLabel* MessageLabel() const { return label_; }
    TImage* IconImage() const { return image_; }
    const std::vector<TbsSkinButton*>& Buttons() const { return buttons_; }
    // Null unless the settings asked for it.
    TbsSkinCheckRadioBox* CheckBox() const { return checkBox_; }
    int HelpContext() const { return helpContext_; }

private:
    void CreateIcon(int iconId);
    int MeasureCheckCaption(const TbsMessageFormSettings& s, const AnsiString& caption) const;

    MessageFormLayout layout_;
    TbsSkinForm* frame_ = nullptr;
    TbsSkinStdLabel* label_ = nullptr;
    TImage* image_ = nullptr;
    std::vector<TbsSkinButton*> buttons_;
    TbsSkinCheckRadioBox* checkBox_ = nullptr;
    int helpContext_ = 0;
};
