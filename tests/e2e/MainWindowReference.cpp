// The end-to-end test's reference: the main window on the headless screen,
// driven through the same clicks and keys the test gives the real program,
// and the database row count the test checks.
//
//   mainwin_reference render <app-dir> <word> <out.png>
//       Starts the window for <app-dir>, types <word> into the word box,
//       clicks "翻译" and the second row, saves the screen as <out.png> and
//       prints, as shell assignments, the screen points it clicked and the
//       screen rectangles worth comparing. Then rests the pointer on the word
//       box until its hint shows and opens the system menu from the caption,
//       saving the screen each time as <out>-hint.png and <out>-menu.png.
//   mainwin_reference dialog <app-dir> <folder> <name> <out-prefix>
//       Starts the window for <app-dir> and presses "..."; in the open dialog
//       (which starts in <app-dir>) double-clicks <folder>, goes back with
//       Backspace, types <name> and confirms. Saves the screen after each
//       step as <out-prefix>-opened.png, -entered.png, -back.png and
//       -chosen.png and prints the points it clicked and the rectangles
//       worth comparing; then shows the import question and prints where
//       its Yes button sits in it.
//   mainwin_reference count-rows <app-dir>
//       Prints the number of rows of the word database.


#include <cstdio>
#include <memory>
#include <string>

#include "About.h"
#include "AppPaths.h"
#include "DatabaseWordsWait.h"
#include "HeadlessBackend.h"
#include "HintWindow.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TbsMessageForm.h"
#include "TbsOpenDlgForm.h"
#include "TbsShellImages.h"
#include "TbsSkinEdit.h"
#include "TbsSkinFileListView.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupWindow.h"
#include "WindowSystem.h"
#include "WordDatabase.h"
#include "WordTable.h"
#include "main.h"

namespace {

// The size of the virtual display the test starts.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

TPoint CentreOf(const TControl& control) { return control.ClientToScreen({control.Width() / 2, control.Height() / 2}); }

void PrintPoint(const char* name, TPoint p) { std::printf("%s_X=%d\n%s_Y=%d\n", name, p.X, name, p.Y); }

// As ImageMagick's crop geometry: WxH+X+Y.
void PrintRect(const char* name, const TControl& control) {
    const TPoint origin = control.ClientToScreen({0, 0});
    std::printf("%s=%dx%d+%d+%d\n", name, control.ClientWidth(), control.ClientHeight(), origin.X, origin.Y);
}

// The frame's caption and buttons, and the system menu that a right click
// on the caption opens there: its size and the centre of "关于...".
void PrintFrameAndMenu(TFrmMain& form, const HeadlessBackend& screen, const std::string& menuPng) {
    TbsSkinForm& frame = *form.bsSkinForm1;
    const TPoint origin = form.BoundsRect().TopLeft();
    const auto objectCentre = [&](const char* name) {
        const TbsActiveSkinObject* object = frame.FindObject(name);
        const TRect r = object ? object->ObjectRect : TRect{};
        return TPoint{origin.X + (r.Left + r.Right) / 2, origin.Y + (r.Top + r.Bottom) / 2};
    };
    PrintPoint("SYSMENU_BUTTON", objectCentre("sysmenubutton"));
    PrintPoint("TRAY_BUTTON", objectCentre("traybutton"));
    // Half-way down the frame above the client area, clear of the buttons.
    const TPoint caption{origin.X + 150, (origin.Y + form.ClientToScreen({0, 0}).Y) / 2};
    PrintPoint("CAPTION", caption);
    frame.PopupSystemMenuAt(caption.X, caption.Y);
    Application->ProcessMessages();
    if (TbsSkinPopupWindow* menu = frame.SkinMenu().PopupAt(0)) {
        if (!screen.SaveScreenPng(menuPng)) std::fprintf(stderr, "mainwin_reference: cannot write %s\n", menuPng.c_str());
        std::printf("MENU_SIZE=%dx%d\n", menu->Width(), menu->Height());
        std::printf("MENU_RECT=%dx%d+%d+%d\n", menu->Width(), menu->Height(), menu->Left(), menu->Top());
        std::printf("MENU_ITEMS=%zu\n", menu->Items().size());
        const TRect about = menu->Items()[4]->ItemRect;
        PrintPoint("ABOUT_ITEM",
                   {menu->Left() + (about.Left + about.Right) / 2, menu->Top() + (about.Top + about.Bottom) / 2});
    }
    frame.SkinMenu().CloseMenu();
    Application->ProcessMessages();
}

// The about window as "关于..." shows it, and its OK button.
template <class Click>
void PrintAboutWindow(TFrmMain& form, Click click) {
    form.LoadAbout->Click();
    Application->ProcessMessages();
    std::printf("ABOUT_WINDOW=%dx%d+%d+%d\n", FrmAbout->Width(), FrmAbout->Height(), FrmAbout->Left(),
                FrmAbout->Top());
    PrintPoint("ABOUT_OK", CentreOf(*FrmAbout->BtnOk));
    click(CentreOf(*FrmAbout->BtnOk));
}

int Render(const AnsiString& appDir, const std::string& word, const std::string& out) {
    auto backend = std::make_unique<HeadlessBackend>(kScreenWidth, kScreenHeight);
    HeadlessBackend& screen = *backend;
    WindowSystemSession windowSystem(std::move(backend));
    ApplicationSession session;
    Application->SetTitle(MainWindowTitle);
    int errors = 0;
    Application->OnException = [&errors](TObject*, const Exception& e) {
        std::fprintf(stderr, "mainwin_reference: %s\n", AnsiToUtf8(e.Message()).c_str());
        ++errors;
    };
    TFrmMain* form = Application->CreateForm<TFrmMain>();
    FrmAbout = Application->CreateForm<TFrmAbout>();
    form->SetUpAppDir = [appDir] { AppDir = appDir; };
    form->Show();
    Application->ProcessMessages();
    WaitForDatabaseWords(*form);

    auto click = [&](TPoint p) {
        screen.Click(p.X, p.Y);
        Application->ProcessMessages();
    };
    const TPoint wordBox = CentreOf(*form->EdWord);
    const TPoint translate = CentreOf(*form->BtTran);
    click(wordBox);
    screen.Text(word);
    Application->ProcessMessages();
    click(translate);
    const TRect row = form->LVWord->RowRect(1);
    const TPoint secondRow = form->LVWord->ClientToScreen({20, row.Top + row.Height() / 2});
    click(secondRow);

    if (!screen.SaveScreenPng(out)) {
        std::fprintf(stderr, "mainwin_reference: cannot write %s\n", out.c_str());
        return 1;
    }
    PrintPoint("WORD_BOX", wordBox);
    PrintPoint("TRANSLATE", translate);
    PrintPoint("SECOND_ROW", secondRow);
    PrintPoint("BROWSE", CentreOf(*form->BtOpenTbDatPath));
    PrintPoint("IMPORT", CentreOf(*form->BtImportTbDat));
    std::printf("MAIN_WINDOW=%dx%d+%d+%d\n", form->Width(), form->Height(), form->Left(), form->Top());
    PrintRect("LIST_RECT", *form->LVWord);
    PrintRect("PANE_RECT", *form->MemDetail);
    PrintRect("WORD_RECT", *form->EdWord);
    std::printf("SECOND_ROW_WORD=%s\n", AnsiToUtf8(form->LVWord->Items()[1]->Caption()).c_str());
    // The word box's hint: the pointer comes from the second row and rests
    // on the box, as in the test, until the hint window shows.
    screen.MouseMove(wordBox.X, wordBox.Y);
    Application->ProcessMessages();
    for (int waited = 0; waited < 3000; waited += 50) {
        THintWindow* hint = Application->HintWindow();
        if (hint && hint->HandleAllocated() && IsWindowVisible(hint->Handle())) break;
        screen.Advance(50);
        Application->ProcessMessages();
    }
    THintWindow* hint = Application->HintWindow();
    if (!hint || !hint->HandleAllocated() || !IsWindowVisible(hint->Handle())) {
        std::fprintf(stderr, "mainwin_reference: the word box's hint did not show\n");
        return 1;
    }
    const std::string stem = out.substr(0, out.size() - (out.ends_with(".png") ? 4 : 0));
    if (!screen.SaveScreenPng(stem + "-hint.png")) {
        std::fprintf(stderr, "mainwin_reference: cannot write %s-hint.png\n", stem.c_str());
        return 1;
    }
    std::printf("HINT_WINDOW=%dx%d+%d+%d\n", hint->Width(), hint->Height(), hint->Left(), hint->Top());
    // Away again, where the test rests the pointer.
    const TPoint rest{wordBox.X - 300, CentreOf(*form->BtImportTbDat).Y + 60};
    screen.MouseMove(rest.X, rest.Y);
    screen.Advance(200);
    Application->ProcessMessages();
    PrintFrameAndMenu(*form, screen, stem + "-menu.png");
    PrintAboutWindow(*form, click);
    return errors == 0 ? 0 : 1;
}

// The open dialog and the question of the import, driven by the same
// clicks and keys the test gives the real program.
int Dialog(const AnsiString& appDir, const std::string& folder, const std::string& name, const std::string& out) {
    auto backend = std::make_unique<HeadlessBackend>(kScreenWidth, kScreenHeight);
    HeadlessBackend& screen = *backend;
    WindowSystemSession windowSystem(std::move(backend));
    ApplicationSession session;
    Application->SetTitle(MainWindowTitle);
    TFrmMain* form = Application->CreateForm<TFrmMain>();
    form->SetUpAppDir = [appDir] { AppDir = appDir; };
    // The real program's dialog starts in the program's folder and takes its
    // icons from the program's data.
    form->OpDialog->InitialDir = appDir;
    LoadShellImagesFrom(appDir + "dat/icons/");
    form->Show();
    Application->ProcessMessages();

    bool saved = true;
    const auto save = [&](const char* step) { saved = screen.SaveScreenPng(out + "-" + step + ".png") && saved; };
    int step = 0;
    screen.SetIdleHandler([&] {
        TbsOpenDlgForm* dialog = form->OpDialog->Form();
        if (!dialog) return;
        TbsSkinFileListView& list = *dialog->FileList();
        switch (step++) {
        case 0: {
            save("opened");
            std::printf("DIALOG_WINDOW=%dx%d+%d+%d\n", dialog->Width(), dialog->Height(), dialog->Left(),
                        dialog->Top());
            PrintRect("FILE_LIST_RECT", list);
            const TRect row = list.RowRect(list.IndexOfName(folder));
            const TPoint item = list.ClientToScreen({row.Left + 30, row.Top + row.Height() / 2});
            PrintPoint("FOLDER_ITEM", item);
            PrintPoint("NAME_BOX", CentreOf(*dialog->NameEdit()));
            screen.Click(item.X, item.Y);
            screen.Click(item.X, item.Y);
            break;
        }
        case 1:
            save("entered");
            screen.KeyPress(VK_BACK);
            break;
        case 2: {
            save("back");
            const TPoint box = CentreOf(*dialog->NameEdit());
            screen.Click(box.X, box.Y);
            screen.Text(name);
            screen.KeyPress(VK_RETURN);
            break;
        }
        default:
            screen.KeyPress(VK_ESCAPE);
        }
    });
    const TPoint browse = CentreOf(*form->BtOpenTbDatPath);
    screen.Click(browse.X, browse.Y);
    Application->ProcessMessages();
    save("chosen");
    PrintRect("PATH_RECT", *form->EdTbPath);

    // Where Yes sits in the import question, from the window's top left.
    screen.SetIdleHandler([&] {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (auto* box = dynamic_cast<TbsMessageForm*>(Screen->Forms(i))) {
                const TPoint yes = CentreOf(*box->Buttons().front());
                PrintPoint("QUESTION_YES_OFFSET", {yes.X - box->Left(), yes.Y - box->Top()});
            }
        screen.KeyPress(VK_ESCAPE);
    });
    form->bsSkinMessage1->ShowSkinMessage("请检查预览数据，是否导入单词库？", mtCustom, mbYesNo, 0);
    screen.SetIdleHandler(nullptr);
    return saved ? 0 : 1;
}

int CountRows(const AnsiString& appDir) {
    TADOConnection connection;
    TADOQuery query;
    OpenWordDatabase(connection, query, appDir);
    std::printf("%zu\n", AppendDbRows(query, 0));
    WordTable.Clear();
    return 0;
}

AnsiString WithSlash(std::string dir) { return dir.ends_with('/') ? dir : dir + "/"; }

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "render" && argc == 5) return Render(WithSlash(argv[2]), argv[3], argv[4]);
        if (mode == "count-rows" && argc == 3) return CountRows(WithSlash(argv[2]));
        if (mode == "dialog" && argc == 6) return Dialog(WithSlash(argv[2]), argv[3], argv[4], argv[5]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "mainwin_reference: %s\n", AnsiToUtf8(e.Message()).c_str());
        return 1;
    }
    std::fprintf(stderr, "usage: mainwin_reference render <app-dir> <word> <out.png> | "
                         "dialog <app-dir> <folder> <name> <out-prefix> | count-rows <app-dir>\n");
    return 2;
}
