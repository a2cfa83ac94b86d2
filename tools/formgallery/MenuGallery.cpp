#include "MenuGallery.h"

#include <cstdio>
#include <memory>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TLabel.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupMenu.h"
#include "TbsSkinPopupWindow.h"
#include "WindowSystem.h"

namespace {

constexpr TColor kBackground = 0x00E8E0D8;

// A hidden form whose frame component runs one menu chain.
TbsSkinForm* MenuOwner(TbsSkinData* skin) {
    TForm* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 10, 10);
    TbsSkinForm* frame = CreateComponent<TbsSkinForm>(form);
    frame->SetSkinData(skin);
    return frame;
}

TMenuItem* Add(TComponent* owner, TMenuItem* parent, const char* caption, bool enabled = true) {
    TMenuItem* item = CreateComponent<TMenuItem>(owner);
    item->SetCaption(caption);
    item->Enabled = enabled;
    parent->Add(item);
    return item;
}

// A menu with a header, a shortcut, a checked and a disabled item, a
// separator and a submenu, opened with the submenu showing.
void OpenMainMenu(TbsSkinForm* frame, int x, int y) {
    auto* menu = CreateComponent<TbsSkinPopupMenu>(frame->Form());
    TMenuItem* root = menu->Items();
    Add(menu, root, "-词典-", false);
    Add(menu, root, "翻译(&T)")->ShortCut = ShortCut('T', ssCtrl);
    Add(menu, root, "复制释义(&C)")->Checked = true;
    Add(menu, root, "导入词库(&I)", false);
    Add(menu, root, "-");
    TMenuItem* recent = Add(menu, root, "最近的单词(&R)");
    for (const char* w : {"apple", "banana", "cherry"}) Add(menu, recent, w);
    Add(menu, root, "关闭(&X)");
    menu->Popup(x, y);
    TbsSkinMenu& engine = frame->SkinMenu();
    TbsSkinPopupWindow* first = engine.TopPopup();
    if (!first) return;
    // Down to the submenu item, open it, and move to its second entry.
    for (int i = 0; i < 2; ++i) first->KeyDown(VK_DOWN);
    first->KeyDown(VK_RIGHT);
    if (TbsSkinPopupWindow* sub = engine.TopPopup(); sub && sub != first) sub->KeyDown(VK_DOWN);
}

// Thirty words in a window of at most ten, scrolled down a little.
void OpenScrolledMenu(TbsSkinForm* frame, int x, int y) {
    auto* menu = CreateComponent<TbsSkinPopupMenu>(frame->Form());
    for (int i = 1; i <= 30; ++i) {
        const std::string caption = "单词 " + std::to_string(i);
        Add(menu, menu->Items(), caption.c_str());
    }
    frame->SkinMenu().MaxMenuItemsInWindow = 10;
    menu->Popup(x, y);
    if (TbsSkinPopupWindow* p = frame->SkinMenu().TopPopup())
        for (int i = 0; i < 13; ++i) p->KeyDown(VK_DOWN);
}

void Label(TForm* form, int x, int y, const char* text) {
    auto* label = CreateComponent<TLabel>(form);
    label->SetParent(form);
    label->SetLeft(x);
    label->SetTop(y);
    label->SetCaption(text);
}

}  // namespace

int RunMenuGallery(const std::string& png, const std::string& skinIni) {
    auto backend = std::make_unique<HeadlessBackend>(840, 640);
    HeadlessBackend& screen = *backend;
    screen.SetDesktopColor(kBackground);
    WindowSystemSession windowSystem(std::move(backend));
    ApplicationSession session;
    Application->ShowMainForm = false;
    TForm* sheet = Application->CreateForm<TForm>();
    sheet->SetBorderStyle(bsNone);
    sheet->SetBounds(0, 0, 840, 640);
    sheet->SetColor(kBackground);
    TbsSkinData* skin = CreateComponent<TbsSkinData>(sheet);
    skin->LoadIniSkin(skinIni);
    Label(sheet, 10, 8, "With the program's skin (dat/skin1)");
    Label(sheet, 430, 8, "The built-in look, without a skin");
    Label(sheet, 10, 330, "A scrolled menu (30 items, at most 10 shown)");
    Label(sheet, 430, 330, "The same, built-in");
    sheet->Show();
    PumpMessages();

    OpenMainMenu(MenuOwner(skin), 10, 30);
    OpenMainMenu(MenuOwner(nullptr), 430, 30);
    OpenScrolledMenu(MenuOwner(skin), 10, 350);
    OpenScrolledMenu(MenuOwner(nullptr), 430, 350);
    PumpMessages();
    if (screen.SaveScreenPng(png)) return 0;
    std::fprintf(stderr, "formgallery: cannot write %s\n", png.c_str());
    return 1;
}
