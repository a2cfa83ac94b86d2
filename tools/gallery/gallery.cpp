// Shows one form with every standard control of the platform layer, filled
// with Latin and Chinese text, so that their look can be checked by eye.
//
//   gallery                 on the desktop (X11, needs $DISPLAY)
//   gallery --png out.png   on the headless screen: writes the screen to a PNG

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "DesktopBackend.h"
#include "TButton.h"
#include "TComboBox.h"
#include "TCustomEdit.h"
#include "TLabel.h"
#include "TListBox.h"
#include "TListView.h"
#include "TMemo.h"
#include "TOpenDialog.h"
#include "TPanel.h"
#include "TScrollBar.h"
#include "WindowSystem.h"

namespace {

AnsiString Zh(const char* utf8) { return Utf8ToAnsi(utf8); }

template <class T>
T* Place(TWinControl* parent, int x, int y, int w, int h) {
    T* c = CreateComponent<T>(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

TLabel* Caption(TWinControl* parent, int x, int y, const AnsiString& text) {
    TLabel* l = CreateComponent<TLabel>(parent);
    l->SetParent(parent);
    l->SetLeft(x);
    l->SetTop(y);
    l->SetCaption(text);
    return l;
}

TForm* BuildGallery() {
    TForm* form = Application->CreateForm<TForm>();
    form->SetCaption(Zh("Standard controls — 标准控件"));
    form->SetBorderStyle(bsSingle);
    form->SetColor(clBtnFace);
    form->SetBounds(40, 40, 600, 470);
    form->SetClientWidth(592);
    form->SetClientHeight(440);

    // Edits.
    Caption(form, 12, 12, "&Word:");
    auto* word = Place<TEdit>(form, 80, 8, 150, 21);
    word->SetText(Zh("Mirvo英语小词典"));
    Caption(form, 12, 40, "Read-only:");
    auto* path = Place<TEdit>(form, 80, 36, 150, 21);
    path->SetText("C:\\Words\\new.txt");
    path->SetReadOnly(true);
    auto* translate = Place<TButton>(form, 240, 6, 70, 25);
    translate->SetCaption(Zh("翻译"));
    translate->SetDefault(true);
    auto* browse = Place<TButton>(form, 240, 34, 70, 25);
    browse->SetCaption("&Open...");
    auto* chosen = Caption(form, 320, 40, "(no file chosen)");
    browse->OnClick = [chosen](TObject*) {
        TOpenDialog dialog(nullptr);
        dialog.Title = "Open file";
        dialog.Filter = "All files|*.*|*.pas|*.pas|*.cpp|*.cpp|*.rtf|*.rtf";
        dialog.Options = ofFileMustExist;
        if (dialog.Execute()) chosen->SetCaption(dialog.FileName);
    };

    // A memo with wrapped English and Chinese text and a scroll bar.
    Caption(form, 12, 68, "Memo (word wrap):");
    auto* memo = Place<TMemo>(form, 12, 86, 298, 120);
    memo->SetScrollBars(ssVertical);
    memo->Lines().Add("apple n. " + Zh("苹果；苹果树"));
    memo->Lines().Add("apricot n. " + Zh("杏；杏树；杏黄色"));
    memo->Lines().Add("A dictionary lists the words of a language with their meanings, "
                      "spelling and pronunciation.");
    memo->Lines().Add(Zh("词典是按一定次序编列语词，分别加以解释，供人检查参考的工具书。"));
    memo->Lines().Add("");
    memo->Lines().Add("The quick brown fox jumps over the lazy dog.");

    // A group panel holding a report list view.
    auto* group = Place<TPanel>(form, 322, 68, 258, 200);
    group->SetBevelOuter(bvLowered);
    group->SetCaption("");
    auto* heading = Place<TPanel>(group, 1, 1, 256, 22);
    heading->SetAlign(alTop);
    heading->SetCaption(Zh("单     词"));
    auto* list = Place<TListView>(group, 0, 0, 100, 100);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    list->SetGridLines(true);
    list->SetRowSelect(true);
    list->SetReadOnly(true);
    list->SetHideSelection(false);
    auto* wordColumn = list->Columns().Add();
    wordColumn->SetCaption("Word");
    wordColumn->SetWidth(90);
    auto* glossColumn = list->Columns().Add();
    glossColumn->SetCaption(Zh("释义"));
    glossColumn->SetWidth(140);
    const std::pair<const char*, const char*> words[] = {
        {"apple", "苹果"},      {"apricot", "杏"},   {"April", "四月"},    {"apron", "围裙"},
        {"aptitude", "天资"},   {"aquarium", "水族馆"}, {"arbitrary", "任意的"}, {"arch", "拱门"},
        {"archive", "档案"},    {"area", "面积；区域"}, {"argue", "争论"},   {"arise", "出现"},
    };
    for (const auto& [en, zh] : words) {
        TListItem* item = list->Items().Add();
        item->SetCaption(en);
        item->SubItems().Add(Zh(zh));
    }
    list->SetItemIndex(1);

    // Combo box, list box, scroll bars.
    Caption(form, 12, 218, "Combo box:");
    auto* combo = Place<TComboBox>(form, 80, 214, 150, 21);
    for (const char* s : {"All files", "*.pas", "*.cpp", "*.rtf"}) combo->Items().Add(s);
    combo->Items().Add(Zh("文本文件"));
    combo->SetItemIndex(0);

    Caption(form, 12, 246, "List box:");
    auto* box = Place<TListBox>(form, 12, 264, 140, 120);
    for (const char* s : {"skin1", "skin2", "classic", "blue", "silver", "olive", "night", "paper", "wood"})
        box->Items().Add(s);
    box->Items().Add(Zh("默认皮肤"));
    box->SetItemIndex(2);

    auto* hbar = Place<TScrollBar>(form, 164, 264, 146, 16);
    hbar->SetParams(30, 0, 100);
    hbar->SetPageSize(20);
    auto* vbar = Place<TScrollBar>(form, 164, 288, 16, 96);
    vbar->SetKind(sbVertical);
    vbar->SetBounds(164, 288, 16, 96);
    vbar->SetParams(60, 0, 100);

    // Labels: alignment, word wrap, a disabled one.
    auto* wrapped = Place<TLabel>(form, 190, 288, 120, 60);
    wrapped->SetWordWrap(true);
    wrapped->SetCaption(Zh("标签可以自动换行，Labels wrap too."));
    auto* disabled = Caption(form, 190, 356, "Disabled label");
    disabled->SetEnabled(false);

    // A panel of buttons at the bottom.
    auto* bottom = Place<TPanel>(form, 0, 398, 592, 42);
    bottom->SetAlign(alBottom);
    bottom->SetCaption("");
    auto* status = Place<TPanel>(bottom, 8, 8, 300, 26);
    status->SetBevelOuter(bvLowered);
    status->SetAlignment(taLeftJustify);
    status->SetCaption(Zh(" 就绪 — Ready"));
    auto* ok = Place<TButton>(bottom, 420, 8, 75, 26);
    ok->SetCaption("OK");
    ok->SetModalResult(mrOk);
    auto* cancel = Place<TButton>(bottom, 505, 8, 75, 26);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->OnClick = [form](TObject*) { form->Close(); };
    auto* disabledButton = Place<TButton>(bottom, 330, 8, 80, 26);
    disabledButton->SetCaption("Disabled");
    disabledButton->SetEnabled(false);

    form->SetActiveControl(word);
    return form;
}

}  // namespace

int main(int argc, char** argv) {
    const bool headless = argc == 3 && std::strcmp(argv[1], "--png") == 0;
    if (argc != 1 && !headless) {
        std::fprintf(stderr, "usage: gallery [--png out.png]\n");
        return 2;
    }
    try {
        std::unique_ptr<Backend> backend;
        HeadlessBackend* screen = nullptr;
        if (headless) {
            auto h = std::make_unique<HeadlessBackend>(640, 520);
            screen = h.get();
            backend = std::move(h);
        } else {
            backend = OpenDesktopBackend();
        }
        WindowSystemSession windowSystem(std::move(backend));
        ApplicationSession session;
        Application->SetTitle("Gallery");
        BuildGallery();
        if (headless) {
            Application->MainForm()->Show();
            Application->ProcessMessages();
            if (!screen->SaveScreenPng(argv[2])) {
                std::fprintf(stderr, "cannot write %s\n", argv[2]);
                return 1;
            }
            return 0;
        }
        Application->Run();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gallery: %s\n", e.what());
        return 1;
    }
}
