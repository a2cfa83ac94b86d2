// Shows skinned window frames, so that their look can be checked by eye
// against the skin's contact sheet.
//
//   formgallery [skin.ini]                  on the desktop (X11, needs $DISPLAY):
//                                           a skinned form and a built-in one to
//                                           move, resize and click
//   formgallery --png out.png [skin.ini]    on the headless screen: every state
//                                           side by side in one picture
//   formgallery --menus out.png [skin.ini]  the skinned popup menus, likewise

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "HintWindow.h"
#include "ImgList.h"
#include "MenuGallery.h"
#include "PngFile.h"
#include "DesktopBackend.h"
#include "SkinBinding.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinHint.h"
#include "WindowSystem.h"

namespace {

const char* const kCaption = "Mirvo英语小词典";
const char* const kLongCaption = "Mirvo英语小词典 — a caption far too long for this narrow window";

struct FormSetup {
    int width = 360;
    int height = 200;
    bool skinned = true;
    TFormBorderStyle style = bsSizeable;
    AnsiString caption = kCaption;
    TbsBorderIcons icons = biSystemMenu | biMinimize | biMaximize | biRollUp;
};

TForm* MakeForm(TbsSkinData* skin, const FormSetup& s, int x, int y) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(s.style);
    form->SetBounds(x, y, s.width, s.height);
    form->SetCaption(s.caption);
    TbsSkinForm* frame = CreateComponent<TbsSkinForm>(form);
    frame->SetBorderIcons(s.icons);
    if (s.skinned) frame->SetSkinData(skin);
    return form;
}

// ---- the picture ------------------------------------------------------------------------------

class Sheet {
public:
    explicit Sheet(int width) : width_(width) {}

    void Heading(const AnsiString& text) {
        NewRow();
        headings_.push_back({text, y_});
        y_ += 26;
    }
    void Place(const TBitmap& picture, const AnsiString& label) {
        if (x_ + picture.Width() > width_ - 10) NewRow();
        auto copy = std::make_shared<TBitmap>();
        copy->Assign(picture);
        items_.push_back({label, copy, {x_, y_}});
        x_ += picture.Width() + 16;
        rowHeight_ = std::max(rowHeight_, picture.Height() + 20);
    }
    bool Save(const std::string& path) {
        NewRow();
        TBitmap out(width_, y_ + 10);
        out.Fill(kBackground);
        TCanvas& c = out.Canvas();
        c.Font.SetName("Arial");
        c.Brush.Style = bsClear;
        c.Font.SetHeight(12);
        c.Font.SetColor(RGB(0x40, 0x48, 0x50));
        for (const auto& item : items_) {
            c.TextOut(item.at.X, item.at.Y, item.label);
            c.Draw(item.at.X, item.at.Y + 16, *item.picture);
        }
        c.Font.SetHeight(16);
        c.Font.SetStyle(fsBold);
        c.Font.SetColor(RGB(0x20, 0x28, 0x30));
        for (const auto& [text, y] : headings_) c.TextOut(10, y, text);
        return SavePng(out, path);
    }

    static constexpr TColor kBackground = RGB(0xE4, 0xE8, 0xEE);

private:
    struct Item {
        AnsiString label;
        std::shared_ptr<TBitmap> picture;
        TPoint at;
    };
    void NewRow() {
        if (rowHeight_) y_ += rowHeight_ + 8;
        x_ = 10;
        rowHeight_ = 0;
    }

    int width_;
    int x_ = 10;
    int y_ = 10;
    int rowHeight_ = 0;
    std::vector<Item> items_;
    std::vector<std::pair<AnsiString, int>> headings_;
};

// Shows one form on the headless screen, brings it into the wanted state and
// takes its picture from the screen (the desktop's colour shows where the
// window's shape leaves it out).
void Shoot(HeadlessBackend& screen, Sheet& sheet, TbsSkinData* skin, const FormSetup& setup, const AnsiString& label,
           bool active, const std::function<void(TForm*, TbsSkinForm*)>& pose = {}) {
    TForm* other = nullptr;
    if (!active) {
        other = Application->CreateForm<TForm>();
        other->SetBounds(700, 700, 100, 50);
    }
    TForm* form = MakeForm(skin, setup, 40, 40);
    form->Show();
    PumpMessages();
    if (other) {
        other->Show();
        PumpMessages();
    }
    TbsSkinForm* frame = nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TbsSkinForm*>(form->Components(i))) frame = f;
    if (pose) pose(form, frame);
    PumpMessages();
    screen.Advance(200);  // morphs and animations run to their end
    PumpMessages();
    TBitmap picture;
    screen.ReadScreenRect(form->BoundsRect(), picture);
    sheet.Place(picture, label);
    form->Hide();
    FreeComponent(form);
    if (other) FreeComponent(other);
    PumpMessages();
}

TPoint CentreOf(TForm* form, TbsSkinForm* frame, const char* object) {
    TbsActiveSkinObject* o = frame->FindObject(object);
    if (!o) {
        frame->PaintDefaultFrame();
        o = frame->FindObject(object);
    }
    if (!o) return {form->Left() + form->Width() / 2, form->Top() + form->Height() / 2};
    return {form->Left() + (o->ObjectRect.Left + o->ObjectRect.Right) / 2,
            form->Top() + (o->ObjectRect.Top + o->ObjectRect.Bottom) / 2};
}

// A control whose hint carries a title and an image, as the skinned controls'
// hints do.
class TitledHintPad : public TCustomControl, public SkinHintSource {
public:
    using TCustomControl::TCustomControl;
    AnsiString HintTitle() const override { return title; }
    int HintImageIndex() const override { return 0; }
    TImageList* HintImageList() const override { return images; }
    AnsiString title;
    TImageList* images = nullptr;
};

// A 16 x 16 picture for the hint: a blue book with a white page edge.
void MakeHintImage(TImageList& list) {
    TBitmap b(16, 16);
    b.Fill(clFuchsia);
    TCanvas& c = b.Canvas();
    c.Brush.Color = RGB(0x30, 0x60, 0xB0);
    c.FillRect({2, 1, 14, 15});
    c.Brush.Color = clWhite;
    c.FillRect({11, 2, 13, 14});
    c.Brush.Color = RGB(0xF0, 0xC0, 0x40);
    c.FillRect({4, 4, 9, 6});
    list.SetWidth(16);
    list.SetHeight(16);
    list.AddMasked(b, clFuchsia);
}

// Shows a control's hint through the application's (skinned) hint window and
// takes its picture with a little of the desktop around it, where the
// skin's mask shows.
void ShootHint(HeadlessBackend& screen, Sheet& sheet, TbsSkinHint& hint, TbsSkinData* skin, bool titled,
               const AnsiString& label) {
    hint.SetSkinData(skin);
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, 40, 20);
    auto* images = CreateComponent<TImageList>(form);
    MakeHintImage(*images);
    auto* pad = CreateComponent<TitledHintPad>(form);
    pad->SetBounds(0, 0, 40, 20);
    pad->SetParent(form);
    pad->SetHint("Type a word, then press 翻译@输入单词，然后按“翻译”");
    pad->SetShowHint(true);
    if (titled) {
        pad->title = "Skinnable forms";
        pad->images = images;
    }
    form->Show();
    PumpMessages();
    screen.MouseMove(300, 300);
    PumpMessages();
    screen.MouseMove(20, 14);
    PumpMessages();
    screen.Advance(unsigned(Application->HintPause) + 50);  // with a fade-in, to its end
    PumpMessages();
    if (THintWindow* w = Application->HintWindow(); w && w->HintShowing()) {
        TBitmap picture;
        screen.ReadScreenRect(InflateRect(w->BoundsRect(), 4, 4), picture);
        sheet.Place(picture, label);
    }
    Application->CancelHint();
    form->Hide();
    FreeComponent(form);
    PumpMessages();
}

int RunGallery(const std::string& png, const std::string& skinIni) {
    auto backend = std::make_unique<HeadlessBackend>(900, 700);
    HeadlessBackend& screen = *backend;
    screen.SetDesktopColor(Sheet::kBackground);
    WindowSystemSession windowSystem(std::move(backend));
    ApplicationSession session;
    Application->ShowMainForm = false;
    TForm* holder = Application->CreateForm<TForm>();  // owns the skin; never shown
    TbsSkinData* skin = CreateComponent<TbsSkinData>(holder);
    skin->LoadIniSkin(skinIni);

    const auto hover = [&](const char* object) {
        return [&screen, object](TForm* form, TbsSkinForm* frame) {
            const TPoint p = CentreOf(form, frame, object);
            screen.MouseMove(p.X, p.Y);
        };
    };
    const auto press = [&](const char* object) {
        return [&screen, object](TForm* form, TbsSkinForm* frame) {
            const TPoint p = CentreOf(form, frame, object);
            screen.MouseMove(p.X, p.Y);
            PumpMessages();
            screen.MouseDown(p.X, p.Y);
        };
    };

    Sheet sheet(900);
    for (const bool skinned : {true, false}) {
        sheet.Heading(skinned ? "With the program's skin (dat/skin1)" : "Without a skin: the built-in frame");
        FormSetup s;
        s.skinned = skinned;
        Shoot(screen, sheet, skin, s, "active", true);
        Shoot(screen, sheet, skin, s, "inactive", false);
        Shoot(screen, sheet, skin, s, "close button hot", true, hover("closebutton"));
        Shoot(screen, sheet, skin, s, "minimise button pressed", true, press("minbutton"));
        FormSetup narrow = s;
        narrow.width = 240;
        narrow.height = 120;
        narrow.caption = kLongCaption;
        Shoot(screen, sheet, skin, narrow, "long caption", true);
        FormSetup tool = s;
        tool.style = bsToolWindow;
        tool.width = 240;
        tool.height = 120;
        tool.icons = biSystemMenu;
        tool.caption = "Tool window";
        Shoot(screen, sheet, skin, tool, "tool window", true);
        FormSetup small = s;
        small.width = 260;
        small.height = 110;
        Shoot(screen, sheet, skin, small, "resizable, 260 x 110", true);
        FormSetup large = s;
        large.width = 520;
        large.height = 240;
        Shoot(screen, sheet, skin, large, "resizable, 520 x 240", true);
    }
    sheet.Heading("Skinned hints: with dat/skin1 and in the built-in look");
    TbsSkinHint* hint = CreateComponent<TbsSkinHint>(holder);
    for (const bool skinned : {true, false}) {
        TbsSkinData* hintSkin = skinned ? skin : nullptr;
        const AnsiString look = skinned ? "skin1" : "built-in";
        ShootHint(screen, sheet, *hint, hintSkin, true, look + ": title, image and two lines");
        ShootHint(screen, sheet, *hint, hintSkin, false, look + ": two lines");
    }
    if (sheet.Save(png)) return 0;
    std::fprintf(stderr, "formgallery: cannot write %s\n", png.c_str());
    return 1;
}

int RunDesktop(const std::string& skinIni) {
    WindowSystemSession windowSystem(OpenDesktopBackend());
    ApplicationSession session;
    TForm* main = MakeForm(nullptr, {}, 80, 80);
    main->SetBounds(80, 80, 551, 391);
    TbsSkinData* skin = CreateComponent<TbsSkinData>(main);
    skin->LoadIniSkin(skinIni);
    for (int i = 0; i < main->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TbsSkinForm*>(main->Components(i))) f->SetSkinData(skin);
    FormSetup plain;
    plain.skinned = false;
    plain.caption = "Built-in frame";
    TForm* second = MakeForm(skin, plain, 660, 120);
    second->Show();
    Application->Run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string defaultSkin = std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini";
    try {
        if (argc >= 3 && std::strcmp(argv[1], "--menus") == 0)
            return RunMenuGallery(argv[2], argc >= 4 ? argv[3] : defaultSkin);
        if (argc >= 3 && std::strcmp(argv[1], "--png") == 0)
            return RunGallery(argv[2], argc >= 4 ? argv[3] : defaultSkin);
        if (argc <= 2 && (argc == 1 || argv[1][0] != '-')) return RunDesktop(argc == 2 ? argv[1] : defaultSkin);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "formgallery: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: formgallery [--png out.png | --menus out.png] [skin.ini]\n");
    return 2;
}
