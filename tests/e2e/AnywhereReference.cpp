// The reference of the look-up-from-anywhere test: the main window on the
// headless screen after the desktop hotkey looked up the selected text.
//
//   anywhere_reference render <app-dir> <word> <out.png>
//       Starts the window for <app-dir>, makes <word> the primary selection,
//       presses Ctrl+Alt+Z, saves the screen as <out.png> and prints, as
//       shell assignments, the main window's rectangle and the rectangles of
//       the gloss pane, the hit list and the word box relative to it
//       (ImageMagick crop geometry, WxH+X+Y).
//   anywhere_reference render-taken <app-dir> <out.png>
//       The same window when another program holds the hotkey: the note
//       in the gloss pane.

#include <cstdio>
#include <memory>
#include <string>

#include "About.h"
#include "AppPaths.h"
#include "DatabaseWordsWait.h"
#include "DesktopInput.h"
#include "HeadlessBackend.h"
#include "LookUpAnywhere.h"
#include "WindowSystem.h"
#include "WordTable.h"
#include "main.h"

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

void PrintRelativeRect(const char* name, const TControl& control, const TForm& form) {
    const TPoint origin = control.ClientToScreen({0, 0});
    std::printf("%s=%dx%d+%d+%d\n", name, control.ClientWidth(), control.ClientHeight(), origin.X - form.Left(),
                origin.Y - form.Top());
}

int Render(const AnsiString& appDir, const std::string& word, const std::string& out, bool keyTaken) {
    auto backend = std::make_unique<HeadlessBackend>(kScreenWidth, kScreenHeight);
    HeadlessBackend& screen = *backend;
    if (keyTaken) screen.HoldHotkeyElsewhere(MOD_CONTROL | MOD_ALT, 'Z');
    WindowSystemSession windowSystem(std::move(backend));
    int errors = 0;
    {
        ApplicationSession session;
        Application->SetTitle(MainWindowTitle);
        Application->OnException = [&errors](TObject*, const Exception& e) {
            std::fprintf(stderr, "anywhere_reference: %s\n", AnsiToUtf8(e.Message()).c_str());
            ++errors;
        };
        TFrmMain* form = Application->CreateForm<TFrmMain>();
        FrmAbout = Application->CreateForm<TFrmAbout>();
        form->SetUpAppDir = [appDir] { AppDir = appDir; };
        LookUpAnywhere anywhere(*form, nullptr, "Ctrl+Alt+Z");
        form->Show();
        Application->ProcessMessages();
        WaitForDatabaseWords(*form);
        screen.SetPrimarySelectionUtf8(word);
        if (keyTaken == screen.PressHotkey(MOD_CONTROL | MOD_ALT, 'Z')) {
            std::fprintf(stderr, "anywhere_reference: the hotkey is %s\n", keyTaken ? "held" : "not held");
            return 1;
        }
        Application->ProcessMessages();
        if (!keyTaken && AnsiToUtf8(form->EdWord->Text()) != word) {
            std::fprintf(stderr, "anywhere_reference: the word box shows '%s'\n",
                         AnsiToUtf8(form->EdWord->Text()).c_str());
            ++errors;
        }
        if (!screen.SaveScreenPng(out)) {
            std::fprintf(stderr, "anywhere_reference: cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("MAIN_WINDOW=%dx%d+%d+%d\n", form->Width(), form->Height(), form->Left(), form->Top());
        PrintRelativeRect("PANE_REL", *form->MemDetail, *form);
        PrintRelativeRect("LIST_REL", *form->LVWord, *form);
        PrintRelativeRect("WORD_REL", *form->EdWord, *form);
    }
    WordTable.Clear();
    AppDir.clear();
    return errors == 0 ? 0 : 1;
}

AnsiString WithSlash(std::string dir) { return dir.ends_with('/') ? dir : dir + "/"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "render") return Render(WithSlash(argv[2]), argv[3], argv[4], false);
    if (argc == 4 && std::string(argv[1]) == "render-taken") return Render(WithSlash(argv[2]), "", argv[3], true);
    std::fprintf(stderr, "usage: anywhere_reference render <app-dir> <word> <out.png> | render-taken <app-dir> <out.png>\n");
    return 2;
}
