#pragma once
// TFrmAbout, the about window: the program's name and version, who made it,
// a notice line and an OK button, in a small always-on-top skinned window.
// It exists for the whole run and is only shown and hidden; the main window
// hands it its skin data every time it shows it.

#include "Forms.h"
#include "TbsSkinButton.h"
#include "TbsSkinForm.h"
#include "TbsSkinTextLabel.h"

class TFrmAbout : public TForm {
public:
    explicit TFrmAbout(TComponent* AOwner);
    ~TFrmAbout() override;

    TbsSkinTextLabel* Label1 = nullptr;  // name and version
    TbsSkinTextLabel* Label2 = nullptr;  // "Programming:"
    TbsSkinTextLabel* Label3 = nullptr;  // "Graphics Design:"
    TbsSkinTextLabel* Label4 = nullptr;  // hidden
    TbsSkinTextLabel* Label5 = nullptr;  // the programmer
    TbsSkinTextLabel* Label6 = nullptr;  // the graphic designer
    TbsSkinTextLabel* Label7 = nullptr;  // the notice line
    TbsSkinButton* BtnOk = nullptr;
    TbsSkinForm* bsSkinForm1 = nullptr;

    void BtnOkClick(TObject* Sender);

private:
    TbsSkinTextLabel* MakeLabel(const char* name, const char* text, int left, int top, int width, int height);
};

// The about window of the running program; null before it is created and
// after it is gone.
extern TFrmAbout* FrmAbout;
