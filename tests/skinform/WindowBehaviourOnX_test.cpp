// The skinned window's behaviour on a real desktop (a private Xvfb with
// openbox), driven by xdotool: dragging the caption moves the window and
// snaps it to the work area's edge, a double click on the caption rolls it
// up and down, a right click shows the skinned system menu, and the minimise
// button iconifies the window, which comes back painted.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "DesktopSession.h"
#include "Forms.h"
#include "DesktopBackend.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "WindowSystem.h"

// (The leak suppressions for Xlib are given once for this program,
// in the other desktop test.)

namespace {

bool PumpUntil(const std::function<bool()>& done, double seconds = 5) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        Application->ProcessMessages();
        PumpMessages();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void Settle() { PumpUntil([] { return false; }, 0.4); }

TEST(WindowBehaviourOnX, DragSnapRollUpSystemMenuAndMinimise) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, false)) << desktop.error();
    const std::string shots = ::testing::TempDir();
    {
        WindowSystemSession session(OpenDesktopBackend());
        ApplicationSession app;
        TForm* form = Application->CreateForm<TForm>();
        form->SetBounds(200, 150, 400, 300);
        form->SetCaption("MirvoBehaviourWindow");
        auto* frame = CreateComponent<TbsSkinForm>(form);
        auto* skin = CreateComponent<TbsSkinData>(form);
        skin->LoadIniSkin(std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini");
        frame->SetSkinData(skin);
        frame->SetBorderIcons(frame->BorderIcons() | biMinimizeToTray);
        frame->Magnetic = true;
        frame->MagneticSize = 10;
        form->Show();
        ASSERT_TRUE(PumpUntil([&] {
            return desktop.Run("xdotool search --onlyvisible --name MirvoBehaviourWindow >/dev/null") == 0;
        }));
        Settle();
        const std::string xid = desktop.Output("xdotool search --name MirvoBehaviourWindow | head -1");
        const auto at = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };

        // Drag the caption: dropped 30 pixels from the left edge it stays
        // there, dropped 9 pixels away it snaps to the edge.
        const auto drag = [&](int dropLeft) {
            const int gx = form->Left() + 150, gy = form->Top() + 10;
            const int tx = 150 + dropLeft, ty = gy + 40;
            // In the background, so that the program's move loop takes each
            // step as it comes.
            desktop.Run("(xdotool mousemove " + at(gx, gy) + " mousedown 1 sleep 0.3 mousemove " + at(tx, ty) +
                        " sleep 0.3 mouseup 1) >/dev/null 2>&1 &");
            PumpUntil([] { return false; }, 1.5);
        };
        drag(30);
        EXPECT_EQ(form->Left(), 30);
        EXPECT_EQ(form->Top(), 190);
        drag(9);
        EXPECT_EQ(form->Left(), 0);
        desktop.Run("import -window root " + shots + "behaviour_snapped.png");

        // Without the maximise button a double click on the caption rolls up
        // to the frame alone, another rolls down.
        frame->SetBorderIcons(frame->BorderIcons() & ~TbsBorderIcons(biMaximize));
        const int height = form->Height();
        const std::string caption = at(form->Left() + 150, form->Top() + 10);
        desktop.Run("xdotool mousemove " + caption + " click --repeat 2 --delay 80 1");
        EXPECT_TRUE(PumpUntil([&] { return frame->RollUpState(); }));
        EXPECT_EQ(form->Height(), frame->MinFrameHeight());
        desktop.Run("import -window root " + shots + "behaviour_rolledup.png");
        desktop.Run("sleep 0.6; xdotool mousemove " + caption + " click --repeat 2 --delay 80 1");
        EXPECT_TRUE(PumpUntil([&] { return !frame->RollUpState(); }));
        EXPECT_EQ(form->Height(), height);

        // A right click on the caption shows the skinned system menu.
        desktop.Run("sleep 0.6; xdotool mousemove " + caption + " click 3");
        EXPECT_TRUE(PumpUntil([&] { return frame->SkinMenu().PopupCount() == 1; }));
        EXPECT_TRUE(frame->SkinMenuOpen());
        Settle();
        desktop.Run("import -window root " + shots + "behaviour_sysmenu.png");
        desktop.Run("xdotool key Escape");
        EXPECT_TRUE(PumpUntil([&] { return !frame->SkinMenuOpen(); }));

        // The minimise button iconifies the main window; activated from the
        // desktop it comes back.
        TbsActiveSkinObject* minimize = frame->FindObject("minbutton");
        ASSERT_NE(minimize, nullptr);
        const TRect& r = minimize->ObjectRect;
        desktop.Run("xdotool mousemove " + at(form->Left() + r.Left + r.Width() / 2, form->Top() + r.Top + r.Height() / 2) +
                    " click 1");
        EXPECT_TRUE(PumpUntil([&] { return desktop.Output("xprop -id " + xid + " WM_STATE").find("Iconic") != std::string::npos; }))
            << desktop.Output("xprop -id " + xid + " WM_STATE");
        desktop.Run("xdotool windowactivate " + xid);
        EXPECT_TRUE(PumpUntil([&] { return desktop.Output("xprop -id " + xid + " WM_STATE").find("Normal") != std::string::npos; }));
        Settle();
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        desktop.Run("import -window root " + shots + "behaviour_restored.png");
    }
}

}  // namespace
