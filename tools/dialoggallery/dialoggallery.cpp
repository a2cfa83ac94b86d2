// Shows the message dialog as a question with three buttons: in its built-in
// look (no skin), and with the skin given, there with the "do not show
// again" box; below them the open dialog's pictures at 32 and 16 pixels.
//
//   dialoggallery <skin.ini> <icon folder/> <out.png>   writes the picture
//
// Exit status: 0 written, 1 failure, 2 wrong arguments.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "PngFile.h"
#include "TbsShellImages.h"
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

    TbsShellImages images;
    if (!images.LoadFromFolder(argv[2])) {
        std::fprintf(stderr, "dialoggallery: the pictures are missing in %s\n", argv[2]);
        return 1;
    }
    constexpr int kGap = 16;
    const int width = kGap + left.Width() + kGap + right.Width() + kGap;
    const int top = kGap + std::max(left.Height(), right.Height()) + kGap;
    TBitmap out(width, top + 32 + kGap + 16 + kGap);
    TCanvas& c = out.Canvas();
    c.Brush.Color = 0x00F4F0EC;
    c.FillRect(out.BoundsRect());
    c.Draw(kGap, kGap, left);
    c.Draw(kGap + left.Width() + kGap, kGap, right);
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
