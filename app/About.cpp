#include "About.h"

TFrmAbout* FrmAbout = nullptr;

namespace {
void UseArial14(TFont& font, TColor color) {
    font.SetName("Arial");
    font.SetHeight(14);
    font.SetStyle(0);
    font.SetColor(color);
}
}  // namespace

TFrmAbout::TFrmAbout(TComponent* AOwner) : TForm(AOwner) {
    SetName("FrmAbout");
    SetCaption("关于");
    SetBorderStyle(bsSingle);
    SetBorderIcons(0);
    SetFormStyle(fsStayOnTop);
    SetPosition(poMainFormCenter);
    SetClientWidth(384);
    SetClientHeight(124);
    Constraints.MinWidth = Constraints.MaxWidth = 400;
    Constraints.MinHeight = Constraints.MaxHeight = 160;
    Font().SetName("MS Sans Serif");
    Font().SetHeight(11);

    Label1 = MakeLabel("Label1", "Mirvo Mini Dictionary v1.20 for Linux", 28, 13, 269, 13);
    Label2 = MakeLabel("Label2", "Programming:", 28, 33, 64, 13);
    Label3 = MakeLabel("Label3", "Graphics Design:", 28, 48, 81, 13);
    Label5 = MakeLabel("Label5", "Mirvo", 142, 33, 39, 13);
    Label6 = MakeLabel("Label6", "Mirvo", 142, 48, 16, 13);
    Label7 = MakeLabel("Label7", "(C) 2026 The Mirvo dictionary developers", 28, 90, 142, 13);
    Label4 = MakeLabel("Label4", "", 28, 63, 73, 13);
    Label4->SetVisible(false);

    BtnOk = CreateComponent<TbsSkinButton>(this);
    BtnOk->SetName("BtnOk");
    BtnOk->SetParent(this);
    BtnOk->SetBounds(290, 82, 65, 25);
    BtnOk->SetSkinDataName("button");
    BtnOk->SetCaption("确定");
    TFont font;
    UseArial14(font, clWindowText);
    BtnOk->SetDefaultFont(font);
    UseArial14(BtnOk->Font(), clWindowText);
    BtnOk->OnClick = [this](TObject* sender) { BtnOkClick(sender); };

    // No caption buttons and a fixed size; the skin data comes from the main
    // window at every showing.
    bsSkinForm1 = CreateComponent<TbsSkinForm>(this);
    bsSkinForm1->SetName("bsSkinForm1");
    bsSkinForm1->SetBorderIcons(0);
    bsSkinForm1->MinWidth = bsSkinForm1->MaxWidth = 400;
    bsSkinForm1->MinHeight = bsSkinForm1->MaxHeight = 160;
    bsSkinForm1->PositionInMonitor = bspDefault;
    bsSkinForm1->Magnetic = true;
    bsSkinForm1->MagneticSize = 10;
    UseArial14(bsSkinForm1->DefCaptionFont, clBtnText);
    bsSkinForm1->DefCaptionFont.SetStyle(fsBold);
    UseArial14(bsSkinForm1->DefInActiveCaptionFont, clBtnShadow);
    bsSkinForm1->DefInActiveCaptionFont.SetStyle(fsBold);
    bsSkinForm1->SetDefMenuItemHeight(23);
    UseArial14(bsSkinForm1->DefMenuItemFont(), clWindowText);
}

TFrmAbout::~TFrmAbout() {
    if (FrmAbout == this) FrmAbout = nullptr;
}

TbsSkinTextLabel* TFrmAbout::MakeLabel(const char* name, const char* text, int left, int top, int width, int height) {
    auto* label = CreateComponent<TbsSkinTextLabel>(this);
    label->SetName(name);
    label->SetParent(this);
    label->SetBounds(left, top, width, height);
    label->SetSkinDataName("stdlabel");
    label->SetUseSkinFont(true);
    label->SetUseSkinColor(true);
    TFont font;
    UseArial14(font, clBtnText);
    label->SetDefaultFont(font);
    UseArial14(label->Font(), clBtnText);
    label->Lines().SetText(text);
    return label;
}

void TFrmAbout::BtnOkClick(TObject*) { Hide(); }
