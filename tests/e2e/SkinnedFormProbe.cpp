// A skinned window for the desktop end-to-end test (run-skinned-form.sh):
// resizable, with every caption button, magnetic edges of 10 pixels and a
// system menu of its own holding "-", "关于...", "-".
//
//   skinnedform_probe show <skin.ini> <folder>
//       Shows the window on the desktop. Every 30 ms it looks for the file
//       <folder>/command ("<number> <command> [argument]"), takes it away and
//       appends the answer, headed by the number, to <folder>/probe.log.
//       Commands: state | object <name> | maximize on|off | skin <skin.ini> | quit.
//       Each time the system menu opens it appends "MENU" and the captions
//       of the items the frame built, top to bottom, separated by "|".
//   skinnedform_probe render <skin.ini> <out.png> [menu <x> <y>]
//       The same window on the headless screen, saved as <out.png>; with
//       "menu", the system menu popped at the screen point (x, y). Prints,
//       as shell assignments, the window's and the menu's rectangles.
//
// Rectangles are written as ImageMagick's crop geometry: WxH+X+Y.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "AnsiString.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "HeadlessBackend.h"
#include "Menus.h"
#include "DesktopBackend.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"
#include "WindowSystem.h"

namespace {

// Where the window stands and how large it is at first.
constexpr int kLeft = 200, kTop = 150, kWidth = 400, kHeight = 300;

std::string Geometry(const TRect& r) {
    return std::to_string(r.Width()) + "x" + std::to_string(r.Height()) + "+" + std::to_string(r.Left) + "+" +
           std::to_string(r.Top);
}

struct ProbeWindow {
    TForm* form = nullptr;
    TbsSkinForm* frame = nullptr;
    TbsSkinData* skin = nullptr;
    TbsSkinPopupMenu* systemMenu = nullptr;
};

ProbeWindow MakeProbeWindow(const std::string& skinIni) {
    ProbeWindow w;
    w.form = Application->CreateForm<TForm>();
    w.form->SetBorderStyle(bsSizeable);
    w.form->SetBounds(kLeft, kTop, kWidth, kHeight);
    w.form->SetCaption("Mirvo 皮肤窗口");
    w.skin = CreateComponent<TbsSkinData>(w.form);
    w.skin->LoadIniSkin(skinIni);
    w.frame = CreateComponent<TbsSkinForm>(w.form);
    w.frame->SetSkinData(w.skin);
    w.frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize | biRollUp | biMinimizeToTray);
    w.frame->Magnetic = true;
    w.frame->MagneticSize = 10;
    w.systemMenu = CreateComponent<TbsSkinPopupMenu>(w.form);
    for (const char* caption : {"-", "关于...", "-"})
        w.systemMenu->Items()->Add(std::make_unique<TMenuItem>(w.systemMenu))->SetCaption(caption);
    w.frame->SetSystemMenu(w.systemMenu);
    return w;
}

// The frame's topmost menu window, if one shows.
TRect MenuRect(TbsSkinForm& frame) {
    TbsSkinMenu& engine = frame.SkinMenu();
    if (engine.PopupCount() == 0) return {};
    const TbsSkinPopupWindow* popup = engine.PopupAt(0);
    return popup->BoundsRect();
}

const char* StateName(TWindowState s) {
    return s == wsMaximized ? "maximized" : s == wsMinimized ? "minimized" : "normal";
}

// ---- on the desktop ---------------------------------------------------------------------------

class CommandReader {
public:
    CommandReader(ProbeWindow& window, std::string folder) : w_(window), folder_(std::move(folder)) {
        timer_ = CreateComponent<TTimer>(w_.form);
        timer_->SetInterval(30);
        timer_->OnTimer = [this](TObject*) { Poll(); };
        w_.frame->OnSkinMenuOpen = [this](TObject*) { WriteMenu(); };
    }

private:
    void Write(const std::string& line) {
        if (FILE* f = std::fopen((folder_ + "/probe.log").c_str(), "a")) {
            std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    }

    void WriteMenu() {
        std::string line = "MENU ";
        TMenuItem* items = w_.systemMenu->Items();
        for (int i = 0; i < items->Count(); ++i)
            line += (i ? "|" : "") + AnsiToUtf8(items->Items(i)->Caption());
        Write(line);
    }

    void Poll() {
        const std::string path = folder_ + "/command";
        FILE* f = std::fopen(path.c_str(), "r");
        if (!f) return;
        char text[1024] = {};
        const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
        std::fclose(f);
        std::remove(path.c_str());
        std::string line(text, n);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        const auto space = line.find(' ');
        const std::string number = line.substr(0, space);
        std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        const auto space2 = rest.find(' ');
        const std::string command = rest.substr(0, space2);
        const std::string argument = space2 == std::string::npos ? "" : rest.substr(space2 + 1);
        Write(number + " " + Answer(command, argument));
    }

    std::string Answer(const std::string& command, const std::string& argument) {
        TbsSkinForm& frame = *w_.frame;
        if (command == "state") {
            const TRect menu = MenuRect(frame);
            return "RECT=" + Geometry(w_.form->BoundsRect()) + " WINDOW_STATE=" + StateName(frame.SkinWindowState()) +
                   " ROLLED_UP=" + (frame.RollUpState() ? "1" : "0") + " MENU_OPEN=" +
                   (frame.SkinMenuOpen() ? "1" : "0") + " MENUS=" + std::to_string(frame.SkinMenu().PopupCount()) +
                   " MENU_RECT=" + (IsRectEmpty(menu) ? "none" : Geometry(menu)) +
                   " MIN_FRAME_HEIGHT=" + std::to_string(frame.MinFrameHeight());
        }
        if (command == "object") {
            const TbsActiveSkinObject* o = frame.FindObject(argument.c_str());
            if (!o) return "OBJECT=none";
            return "OBJECT=" + Geometry(OffsetRect(o->ObjectRect, w_.form->Left(), w_.form->Top()));
        }
        if (command == "maximize") {
            const TbsBorderIcons icons = frame.BorderIcons();
            frame.SetBorderIcons(argument == "off" ? icons & ~TbsBorderIcons(biMaximize) : icons | biMaximize);
            return "ok";
        }
        if (command == "skin") {
            try {
                w_.skin->LoadIniSkin(argument.c_str());
            } catch (const Exception& e) {
                return "error " + AnsiToUtf8(e.Message());
            }
            return "ok";
        }
        if (command == "quit") {
            Application->Terminate();
            return "ok";
        }
        return "unknown command";
    }

    ProbeWindow& w_;
    std::string folder_;
    TTimer* timer_ = nullptr;
};

int Show(const std::string& skinIni, const std::string& folder) {
    WindowSystemSession windowSystem(OpenDesktopBackend());
    ApplicationSession session;
    ProbeWindow window = MakeProbeWindow(skinIni);
    CommandReader reader(window, folder);
    Application->Run();
    return 0;
}

// ---- on the headless screen -------------------------------------------------------------------

int Render(const std::string& skinIni, const std::string& out, bool menu, TPoint menuAt) {
    auto backend = std::make_unique<HeadlessBackend>(1024, 768);
    HeadlessBackend& screen = *backend;
    screen.SetDesktopColor(clBlack);  // as Xvfb -br
    WindowSystemSession windowSystem(std::move(backend));
    ApplicationSession session;
    ProbeWindow window = MakeProbeWindow(skinIni);
    window.form->Show();
    // The pointer rests on the desktop, away from the window, as on the
    // desktop while the screenshots are taken.
    screen.MouseMove(1000, 740);
    screen.Advance(1000);
    if (menu) {
        window.frame->PopupSystemMenuAt(menuAt.X, menuAt.Y);
        screen.Advance(1000);
    }
    if (!screen.SaveScreenPng(out)) {
        std::fprintf(stderr, "skinnedform_probe: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("WINDOW_RECT=%s\n", Geometry(window.form->BoundsRect()).c_str());
    const TPoint client = window.form->ClientToScreen({0, 0});
    std::printf("CAPTION_RECT=%s\n",
                Geometry({window.form->Left(), window.form->Top(), window.form->BoundsRect().Right, client.Y}).c_str());
    if (menu) std::printf("MENU_RECT=%s\n", Geometry(MenuRect(*window.frame)).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "show" && argc == 4) return Show(argv[2], argv[3]);
        if (mode == "render" && argc == 4) return Render(argv[2], argv[3], false, {});
        if (mode == "render" && argc == 7 && std::strcmp(argv[4], "menu") == 0)
            return Render(argv[2], argv[3], true, {std::atoi(argv[5]), std::atoi(argv[6])});
    } catch (const Exception& e) {
        std::fprintf(stderr, "skinnedform_probe: %s\n", AnsiToUtf8(e.Message()).c_str());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: skinnedform_probe show <skin.ini> <folder> | render <skin.ini> <out.png> [menu <x> <y>]\n");
    return 2;
}
