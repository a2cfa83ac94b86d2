#include <gtest/gtest.h>

#include <memory>

#include "HeadlessBackend.h"
#include "SkinPlatform.h"
#include "WinStyles.h"
#include "WindowSystem.h"
#include "Windows.h"

namespace {

TEST(SkinPlatformVersion, Arithmetic) {
    struct Case {
        std::uint32_t packed;
        bool vista, xp, w2000;
    };
    const Case cases[] = {
        {0x0105, false, true, true},   // 5.1
        {0x0205, false, false, true},  // 5.2: not counted as XP
        {0x0005, false, false, true},  // 5.0
        {0x0305, false, false, false}, // 5.3
        {0x0006, true, true, true},    // 6.0
        {0x0004, false, false, false}, // 4.0
        {0xF0FF0105, false, true, true},  // the high word does not matter
    };
    for (const Case& c : cases) {
        const PlatformVersion v = PlatformVersionFromPacked(c.packed);
        EXPECT_EQ(IsWindowsVistaOrLater(v), c.vista) << std::hex << c.packed;
        EXPECT_EQ(IsWindowsXPOrLater(v), c.xp) << std::hex << c.packed;
        EXPECT_EQ(IsWindows2000OrLater(v), c.w2000) << std::hex << c.packed;
    }
    EXPECT_TRUE(IsWindowsVistaOrLater() && IsWindowsXPOrLater() && IsWindows2000OrLater());
}

LRESULT PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

// A headless screen of 800 x 600 whose monitors a test can change.
class SkinPlatformWindows : public testing::Test {
protected:
    SkinPlatformWindows() {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        screen = backend.get();
        session = std::make_unique<WindowSystemSession>(std::move(backend));
        WNDCLASS wc;
        wc.lpfnWndProc = &PlainProc;
        wc.lpszClassName = "SkinPlatformTest";
        RegisterClass(wc);
    }
    HWND Window(const TRect& r, DWORD exStyle = 0) {
        return CreateWindowEx(exStyle, "SkinPlatformTest", "w", WS_POPUP | WS_VISIBLE, r.Left, r.Top, r.Width(),
                              r.Height(), nullptr);
    }

    HeadlessBackend* screen;
    std::unique_ptr<WindowSystemSession> session;
};

TEST_F(SkinPlatformWindows, WorkAreasOfOneAndOfTwoMonitors) {
    screen->SetMonitors({{{0, 0, 800, 600}, {0, 0, 800, 570}}});
    PumpMessages();
    EXPECT_FALSE(HasMultipleMonitors());
    EXPECT_EQ(GetScreenWorkArea(true), (TRect{0, 0, 800, 570}));
    EXPECT_EQ(GetScreenWorkArea(false), (TRect{0, 0, 800, 600}));
    HWND w = Window({900, 100, 1000, 200});
    TRect rect;
    ASSERT_TRUE(GetMonitorWorkArea(w, true, rect));
    EXPECT_EQ(rect, (TRect{0, 0, 800, 570}));  // one monitor: the screen's, wherever the window is

    screen->SetMonitors({{{0, 0, 800, 600}, {0, 0, 800, 570}}, {{800, 0, 1824, 768}, {800, 0, 1824, 740}}});
    PumpMessages();
    EXPECT_TRUE(HasMultipleMonitors());
    ASSERT_TRUE(GetMonitorWorkArea(w, true, rect));
    EXPECT_EQ(rect, (TRect{800, 0, 1824, 740}));
    ASSERT_TRUE(GetMonitorWorkArea(w, false, rect));
    EXPECT_EQ(rect, (TRect{800, 0, 1824, 768}));
}

TEST_F(SkinPlatformWindows, AlphaOfALayeredWindow) {
    HWND w = Window({10, 10, 50, 50}, WS_EX_LAYERED);
    SetWindowAlpha(w, 120);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 120);
    EXPECT_EQ(flags, LWA_ALPHA);
}

TEST_F(SkinPlatformWindows, ScrollBarsAreReportedInvisible) {
    HWND w = Window({10, 10, 50, 50});
    SkinScrollBarInfo info;
    EXPECT_EQ(QueryScrollBarInfo(w, 0, info), 0);
    EXPECT_EQ(info.rgstate[0], kScrollBarStateInvisible);
}

}  // namespace
