// The tray icon and its skinned menu on a real desktop: a private Xvfb with
// openbox and trayer. The icon docks into the tray, a right click on it shows
// the skinned menu as a real window, a click into another program's window
// closes that menu, and a double click brings back the window minimised into
// the tray. (No program texts here, so this file is compiled as UTF-8 and may
// use the desktop session helper.)

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "DesktopSession.h"
#include "Forms.h"
#include "DesktopBackend.h"
#include "ShellApi.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "TbsSkinPopupWindow.h"
#include "TbsTrayIcon.h"
#include "TrayHost.h"
#include "WindowSystem.h"

namespace {

// Runs the program's loop until `done` holds (at most `seconds`).
bool PumpUntil(const std::function<bool()>& done, double seconds = 5) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        PollTray();
        Application->ProcessMessages();
        PumpMessages();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// Where a window named `name` is on the screen, by asking the X server.
bool FindWindow(const DesktopSession& desktop, const std::string& name, Geometry& g) {
    const std::string id = desktop.Output("xdotool search --name '" + name + "' 2>/dev/null | head -1");
    if (id.empty()) return false;
    const std::string shell = desktop.Output("xdotool getwindowgeometry --shell " + id + " | tr '\\n' ' '");
    return std::sscanf(shell.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x, &g.y, &g.width, &g.height) == 4 &&
           g.width > 0;
}

// The colour of one pixel of the root window, as 0xRRGGBB.
unsigned ScreenPixel(const DesktopSession& desktop, const std::string& shot, int x, int y) {
    const std::string out = desktop.Output("convert " + shot + " -format '%[hex:p{" + std::to_string(x) + "," +
                                           std::to_string(y) + "}]' info:");
    return unsigned(std::stoul(out.substr(0, 6), nullptr, 16));
}

TEST(SkinMenuOnX, TrayMenuShowsClosesOnAClickElsewhereAndADoubleClickRestores) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, true, [&] {
        return desktop.Run("xdotool search --classname trayer >/dev/null 2>&1") == 0;
    })) << desktop.error();
    {
        WindowSystemSession session(OpenDesktopBackend());
        ApplicationSession app;
        SetTrayHost(OpenX11TrayHost());

        TForm* form = Application->CreateForm<TForm>();
        form->SetBounds(200, 150, 400, 300);
        form->SetCaption("MirvoTrayWindow");
        auto* frame = CreateComponent<TbsSkinForm>(form);
        auto* skin = CreateComponent<TbsSkinData>(form);
        skin->LoadIniSkin(std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini");
        frame->SetSkinData(skin);
        Application->SetMainForm(form);
        form->Show();
        ASSERT_TRUE(PumpUntil([&] { return desktop.Run("xdotool search --onlyvisible --name MirvoTrayWindow >/dev/null") == 0; }));

        auto* icon = CreateComponent<TbsTrayIcon>(form);
        icon->SetHint("Mirvo tray");
        frame->SetTrayIcon(icon);
        frame->MinimizeToTray();
        Geometry docked;
        ASSERT_TRUE(PumpUntil([&] { return icon->IconShown() && FindWindow(desktop, "Mirvo tray", docked); }))
            << "the icon did not dock: " << ShellNotifyIconError();
        EXPECT_TRUE(icon->ApplicationHidden());
        EXPECT_TRUE(PumpUntil([&] { return desktop.Run("xdotool search --onlyvisible --name MirvoTrayWindow >/dev/null") != 0; }))
            << "the window is still on the desktop";
        const int ix = docked.x + docked.width / 2, iy = docked.y + docked.height / 2;

        // A right click on the icon shows the skinned tray menu as a real window.
        TbsSkinMenu& engine = frame->SkinMenu();
        desktop.Run("xdotool mousemove " + std::to_string(ix) + " " + std::to_string(iy) + " click 3");
        ASSERT_TRUE(PumpUntil([&] { return engine.PopupCount() == 1; })) << "no menu after the right click";
        TbsSkinPopupWindow& popup = *engine.PopupAt(0);
        PumpUntil([] { return false; }, 0.5);
        const std::string shot = ::testing::TempDir() + "skinmenu_onx.png";
        ASSERT_EQ(desktop.Run("import -window root " + shot), 0);
        TBitmap expected;
        popup.RenderTo(expected);
        int same = 0, probes = 0;
        for (const auto& item : popup.Items()) {
            const TRect& r = item->ItemRect;
            const int x = r.Left + r.Width() - 12, y = r.Top + r.Height() / 2;
            ++probes;
            const unsigned c = unsigned(expected.Pixels(x, y));  // 0x00BBGGRR
            const unsigned rgb = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
            same += ScreenPixel(desktop, shot, popup.Left() + x, popup.Top() + y) == rgb;
        }
        std::remove(shot.c_str());
        EXPECT_EQ(same, probes) << "the menu on the screen differs from its rendering";

        // A click into another program's window closes the menu.
        const std::string pid = desktop.Output("xmessage -geometry 300x120+20+20 other-program >/dev/null 2>&1 & echo $!");
        ASSERT_TRUE(PumpUntil([&] { return desktop.Run("xdotool search --onlyvisible --name xmessage >/dev/null") == 0; }));
        desktop.Run("xdotool mousemove 60 60 click 1");
        EXPECT_TRUE(PumpUntil([&] { return engine.PopupCount() == 0; })) << "the menu stayed open";
        desktop.Run("kill " + pid);

        // A double click on the icon restores the window.
        desktop.Run("xdotool mousemove " + std::to_string(ix) + " " + std::to_string(iy) +
                    " click --repeat 2 --delay 80 1");
        EXPECT_TRUE(PumpUntil([&] { return desktop.Run("xdotool search --onlyvisible --name MirvoTrayWindow >/dev/null") == 0; }))
            << "the window did not come back";
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_FALSE(icon->ApplicationHidden());
        SetTrayHost(nullptr);
    }
}

}  // namespace
