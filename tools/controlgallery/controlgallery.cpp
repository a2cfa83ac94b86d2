// Shows the skinned controls side by side: with the skin given on the left,
// in their default look on the right. Each button state is shown on its own
// button; the pointer, the press and the focus are real where one control
// can have them, and held for the picture on the others.
//
//   controlgallery <skin.ini> <out.png>    writes the headless screen to a PNG
//
// Exit status: 0 written, 1 failure, 2 wrong arguments.

#include <cstdio>
#include <memory>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TbsSkinButton.h"
#include "TbsSkinData.h"
#include "TbsSkinPanel.h"
#include "TbsSkinSpeedButton.h"
#include "TbsSkinStdLabel.h"
#include "TbsSkinTextLabel.h"
#include "WindowSystem.h"

namespace {

// A button held in one look for the picture.
class StillButton : public TbsSkinButton {
public:
    using TbsSkinButton::TbsSkinButton;
    void Hold(bool hot, bool down) {
        SetMouseIn(hot);
        SetDownFlag(down);
        Invalidate();
    }
};

class StillSpeedButton : public TbsSkinSpeedButton {
public:
    using TbsSkinSpeedButton::TbsSkinSpeedButton;
    void Hold(bool hot) {
        SetMouseIn(hot);
        Invalidate();
    }
};

template <class T>
T* Place(TWinControl* parent, int x, int y, int w, int h) {
    T* c = CreateComponent<T>(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

TbsSkinStdLabel* Note(TWinControl* parent, TbsSkinData* skin, int x, int y, const AnsiString& text) {
    auto* l = Place<TbsSkinStdLabel>(parent, x, y, 60, 14);
    TFont small = l->DefaultFont();
    small.SetHeight(12);
    l->SetDefaultFont(small);
    l->SetUseSkinFont(false);
    l->SetCaption(text);
    l->SetSkinData(skin);
    return l;
}

// A 16 x 16 magnifier on a magenta ground (the glyph's transparent colour is
// its bottom-left pixel).
void MakeGlyph(TBitmap& g) {
    g.SetSize(16, 16);
    g.Fill(0xFF00FF);
    TCanvas& c = g.Canvas();
    c.Pen.Color = 0x603020;
    c.Brush.Style = bsClear;
    c.Ellipse(2, 1, 11, 10);
    c.MoveTo(9, 9);
    c.LineTo(14, 14);
    c.MoveTo(10, 9);
    c.LineTo(15, 14);
}

void BuildSide(TForm* form, TbsSkinData* skin) {
    const AnsiString names[] = {"normal", "hot", "pressed", "focused", "disabled"};
    StillButton* buttons[5];
    for (int i = 0; i < 5; ++i) {
        Note(form, skin, 10 + 75 * i, 8, names[i]);
        buttons[i] = Place<StillButton>(form, 10 + 75 * i, 24, 65, 25);
        buttons[i]->SetCaption("翻译");
        buttons[i]->SetSkinData(skin);
    }
    buttons[1]->Hold(true, false);
    buttons[2]->Hold(true, true);
    buttons[4]->SetEnabled(false);

    TBitmap glyph;
    MakeGlyph(glyph);
    Note(form, skin, 10, 60, "glyph and text");
    auto* withGlyph = Place<TbsSkinButton>(form, 10, 76, 98, 25);
    withGlyph->SetCaption("查找");
    withGlyph->SetGlyph(glyph);
    withGlyph->SetSpacing(4);
    withGlyph->SetSkinData(skin);
    Note(form, skin, 125, 60, "speed buttons");
    auto* speed = Place<StillSpeedButton>(form, 125, 76, 27, 25);
    speed->SetGlyph(glyph);
    speed->SetSkinData(skin);
    auto* speedHot = Place<StillSpeedButton>(form, 155, 76, 27, 25);
    speedHot->SetGlyph(glyph);
    speedHot->SetSkinData(skin);
    speedHot->Hold(true);

    Note(form, skin, 10, 112, "group box");
    auto* group = Place<TbsSkinPanel>(form, 10, 128, 170, 130);
    group->SetSkinDataName("groupbox");
    group->SetCaptionMode(true);
    group->SetCaption("单     词");
    group->SetSkinData(skin);
    Note(form, skin, 195, 112, "rolled up");
    auto* rolled = Place<TbsSkinPanel>(form, 195, 128, 170, 130);
    rolled->SetSkinDataName("groupbox");
    rolled->SetCaptionMode(true);
    rolled->SetRollUpMode(true);
    rolled->SetCaption("卷起");
    rolled->SetSkinData(skin);
    rolled->SetRollUpState(true);

    Note(form, skin, 10, 268, "transparent panel on a stretched one, labels");
    auto* back = Place<TbsSkinPanel>(form, 10, 284, 250, 110);
    back->SetSkinData(skin);
    auto* glass = Place<TbsSkinPanel>(back, 20, 15, 210, 80);
    glass->SetTransparentMode(true);
    glass->SetCaptionMode(true);
    glass->SetCaption("透明");
    glass->SetSkinData(skin);
    auto* std = Place<TbsSkinStdLabel>(glass, 12, 26, 80, 16);
    std->SetCaption("标签 label");
    std->SetSkinData(skin);
    auto* text = Place<TbsSkinTextLabel>(glass, 12, 44, 180, 30);
    text->Lines().Add("多行标签");
    text->Lines().Add("a text label");
    text->SetSkinData(skin);

    buttons[3]->SetFocus();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: controlgallery <skin.ini> <out.png>\n");
        return 2;
    }
    try {
        auto backend = std::make_unique<HeadlessBackend>(820, 410);
        HeadlessBackend* screen = backend.get();
        screen->SetDesktopColor(0xE0E0E0);
        WindowSystemSession windowSystem(std::move(backend));
        ApplicationSession session;
        auto* skinned = Application->CreateForm<TForm>();
        skinned->SetBorderStyle(bsNone);
        skinned->SetColor(0xF5F1EE);
        skinned->SetBounds(5, 5, 400, 400);
        auto* skin = CreateComponent<TbsSkinData>(skinned);
        skin->LoadIniSkin(argv[1]);
        if (skin->IsEmpty()) {
            std::fprintf(stderr, "the skin %s did not load\n", argv[1]);
            return 1;
        }
        auto* plain = Application->CreateForm<TForm>();
        plain->SetBorderStyle(bsNone);
        plain->SetColor(clBtnFace);
        plain->SetBounds(415, 5, 400, 400);
        plain->Show();
        BuildSide(plain, nullptr);
        // The skinned side is built last, so its focused button keeps the focus.
        skinned->Show();
        BuildSide(skinned, skin);
        Application->ProcessMessages();
        if (!screen->SaveScreenPng(argv[2])) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "controlgallery: %s\n", e.what());
        return 1;
    }
}
