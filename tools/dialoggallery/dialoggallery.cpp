// Shows the message dialog as a question with three buttons: in its built-in
// look (no skin), and with the skin given, there with the "do not show
// again" box; below them the open dialog in its list and details views,
// without a skin and with it, on a sample folder of its own; at the bottom
// the open dialog's pictures at 32 and 16 pixels.
//
//   dialoggallery <skin.ini> <icon folder/> <out.png>   writes the picture
//
// Exit status: 0 written, 1 failure, 2 wrong arguments.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "PngFile.h"
#include "TbsOpenDlgForm.h"
#include "TbsShellImages.h"
#include "TbsSkinFileListView.h"
#include "TbsSkinOpenDialog.h"
#include "TbsSkinData.h"
#include "WindowSystem.h"
#include "bsMessages.h"

namespace {

// Shows one dialog and takes the screen under it once it has painted.
void ShootDialog(HeadlessBackend& screen, TbsSkinMessage& message, TBitmap& shot) {
    int idle = 0;
    screen.SetIdleHandler([&] {
        TCustomForm* box = Screen->ActiveForm();
        if (!box) return;
        if (++idle == 3) {
            screen.ReadScreenRect(box->BoundsRect(), shot);
            PostMessage(box->Handle(), WM_CLOSE, 0, 0);
        }
    });
    message.ShowSkinMessage("导入词库文件 words.txt 吗？\r\nImport the word list file words.txt now?", mtConfirmation,
                            mbYes | mbNo | mbCancel, 0);
    screen.SetIdleHandler(nullptr);
}

// A folder of sample entries for the open dialog, removed at the end.
class SampleFolder {
public:
    SampleFolder() {
        char pattern[] = "/tmp/dialoggallery-XXXXXX";
        if (!mkdtemp(pattern)) return;
        path_ = pattern;
        namespace fs = std::filesystem;
        for (const char* dir : {"backup", "\xE8\xAF\x8D\xE5\xBA\x93"})  // 词库
            fs::create_directory(fs::path(path_) / dir);
        const char* files[] = {"words.txt", "\xE6\x96\xB0\xE8\xAF\x8D\xE8\xA1\xA8.txt", "notes.txt",
                               "readme", "archive.zip", "cet4.txt"};
        int size = 1;
        for (const char* f : files) std::ofstream(fs::path(path_) / f) << std::string(std::size_t(size *= 7), 'x');
    }
    ~SampleFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Shows the open dialog in `style` and takes the screen under it.
void ShootOpenDialog(HeadlessBackend& screen, TbsSkinOpenDialog& dialog, TViewStyle style, TBitmap& shot) {
    dialog.SetViewStyle(style);
    int idle = 0;
    screen.SetIdleHandler([&] {
        TbsOpenDlgForm* form = dialog.Form();
        if (!form) return;
        if (++idle == 1) {
            form->FileList()->SetItemIndex(3);
            PostMessage(form->Handle(), WM_NULL, 0, 0);
        } else if (idle == 3) {
            screen.ReadScreenRect(form->BoundsRect(), shot);
            PostMessage(form->Handle(), WM_CLOSE, 0, 0);
        }
    });
    dialog.ShowOpenDialog();
    screen.SetIdleHandler(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialoggallery <skin.ini> <icon folder/> <out.png>\n");
        return 2;
    }
    auto backend = std::make_unique<HeadlessBackend>(800, 600);
    HeadlessBackend& screen = *backend;
    WindowSystemSession session(std::move(backend));
    ApplicationSession app;
    Application->SetTitle("Mirvo英语小词典");

    auto skin = CreateUnowned<TbsSkinData>();
    skin->LoadIniSkin(argv[1]);
    if (skin->IsEmpty()) {
        std::fprintf(stderr, "dialoggallery: cannot load %s\n", argv[1]);
        return 1;
    }
    auto plain = CreateUnowned<TbsSkinMessage>();
    auto skinned = CreateUnowned<TbsSkinMessage>();
    skinned->SetSkinData(skin.get());
    skinned->SetCtrlSkinData(skin.get());
    skinned->ShowAgainFlag = true;
    TBitmap left, right;
    ShootDialog(screen, *plain, left);
    ShootDialog(screen, *skinned, right);

    // The lists take the pictures given, not those beside this tool.
    LoadShellImagesFrom(argv[2]);
    SampleFolder sample;
    if (sample.Path().empty()) {
        std::fprintf(stderr, "dialoggallery: cannot make a sample folder\n");
        return 1;
    }
    auto plainOpen = CreateUnowned<TbsSkinOpenDialog>();
    auto skinnedOpen = CreateUnowned<TbsSkinOpenDialog>();
    skinnedOpen->SetSkinData(skin.get());
    skinnedOpen->SetCtrlSkinData(skin.get());
    TBitmap opens[4];
    for (TbsSkinOpenDialog* d : {plainOpen.get(), skinnedOpen.get()}) {
        d->InitialDir = sample.Path();
        d->Filter = "All files|*.*|Word lists|*.txt";
    }
    ShootOpenDialog(screen, *plainOpen, vsList, opens[0]);
    ShootOpenDialog(screen, *plainOpen, vsReport, opens[1]);
    ShootOpenDialog(screen, *skinnedOpen, vsList, opens[2]);
    ShootOpenDialog(screen, *skinnedOpen, vsReport, opens[3]);

    TbsShellImages images;
    if (!images.LoadFromFolder(argv[2])) {
        std::fprintf(stderr, "dialoggallery: the pictures are missing in %s\n", argv[2]);
        return 1;
    }
    constexpr int kGap = 16;
    const int openWidth = std::max(opens[0].Width(), opens[2].Width());
    const int openHeight = std::max(opens[0].Height(), opens[2].Height());
    const int width = std::max(kGap + left.Width() + kGap + right.Width() + kGap, kGap + 2 * (openWidth + kGap));
    const int openTop = kGap + std::max(left.Height(), right.Height()) + kGap;
    const int top = openTop + 2 * (openHeight + kGap);
    TBitmap out(width, top + 32 + kGap + 16 + kGap);
    TCanvas& c = out.Canvas();
    c.Brush.Color = 0x00F4F0EC;
    c.FillRect(out.BoundsRect());
    c.Draw(kGap, kGap, left);
    c.Draw(kGap + left.Width() + kGap, kGap, right);
    for (int i = 0; i < 4; ++i)
        c.Draw(kGap + (i % 2) * (openWidth + kGap), openTop + (i / 2) * (openHeight + kGap), opens[i]);
    for (int i = 0; i < siShellIconCount; ++i) {
        images.Draw(c, kGap + i * 48, top, TbsShellIconIndex(i), 32);
        images.Draw(c, kGap + i * 48 + 8, top + 32 + kGap, TbsShellIconIndex(i), 16);
    }
    if (!SavePng(out, argv[3])) {
        std::fprintf(stderr, "dialoggallery: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
