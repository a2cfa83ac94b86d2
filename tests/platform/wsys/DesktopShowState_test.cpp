// What the desktop sees of a top-level window: a minimised window stays in its
// window list (iconified, not hidden), a restore from the desktop reaches the
// program as its restore command and the window paints again, and the caption
// and icons are the desktop's title and icons.

#include "WsysFixture.h"

namespace {
constexpr TRect kRect{100, 80, 300, 200};
}

TEST_F(WsysTest, AMinimisedWindowIsIconifiedAndARestoreFromTheDesktopBringsItBack) {
    const HWND w = Popup(kRect, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    FillOnPaint(*this, w, clRed);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(150, 150), clRed);

    ShowWindow(w, SW_MINIMIZE);
    PumpMessages();
    EXPECT_FALSE(screen().IsShownNatively(w));
    EXPECT_TRUE(screen().IsMinimizedNatively(w));
    EXPECT_NE(ScreenPixel(150, 150), clRed);

    ClearLog();
    screen().DesktopRestore(w);
    PumpMessages();
    EXPECT_FALSE(IsIconic(w));
    EXPECT_TRUE(screen().IsShownNatively(w));
    EXPECT_FALSE(screen().IsMinimizedNatively(w));
    const auto commands = Got(WM_SYSCOMMAND, w);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam & 0xFFF0, WPARAM(SC_RESTORE));
    const auto sizes = Got(WM_SIZE, w);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(ScreenPixel(150, 150), clRed);
}

TEST_F(WsysTest, TheDesktopsMinimiseIsTheMinimiseCommandAndARefusedRestoreIconifiesAgain) {
    const HWND w = Popup(kRect, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    PumpMessages();
    screen().DesktopMinimize(w);
    PumpMessages();
    EXPECT_TRUE(IsIconic(w));
    EXPECT_TRUE(screen().IsMinimizedNatively(w));
    ASSERT_EQ(Got(WM_SYSCOMMAND, w).size(), 1u);
    EXPECT_EQ(Got(WM_SYSCOMMAND, w)[0].wParam & 0xFFF0, WPARAM(SC_MINIMIZE));

    // A window that keeps itself minimised goes back to the icons.
    handlers_[w] = [](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_RESTORE) return 0;
        return std::nullopt;
    };
    const int syncsBefore = screen().PresentCount();
    screen().DesktopRestore(w);
    PumpMessages();
    EXPECT_TRUE(IsIconic(w));
    EXPECT_TRUE(screen().IsMinimizedNatively(w));
    EXPECT_EQ(screen().PresentCount(), syncsBefore);
    // News about a window that is gone are dropped.
    DestroyWindow(w);
    screen().DesktopRestore(w);
    EXPECT_NO_THROW(PumpMessages());
}

TEST_F(WsysTest, TheCaptionAndIconsAreTheDesktopsTitleAndIcons) {
    const HWND w = Popup(kRect, WS_CAPTION);
    SetWindowText(w, "\xD6\xD0\xCE\xC4 dictionary");  // "中文" in code page 936
    PumpMessages();
    ASSERT_NE(screen().NativeState(w), nullptr);
    EXPECT_EQ(screen().NativeState(w)->title, "中文 dictionary");
    SetWindowText(w, "Renamed");
    PumpMessages();
    EXPECT_EQ(screen().NativeState(w)->title, "Renamed");

    const HICON big = LoadIcon(nullptr, IDI_APPLICATION);
    const HICON small = CopyImage(big, IMAGE_ICON, 16, 16, 0);
    EXPECT_EQ(SendMessage(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
    SendMessage(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    PumpMessages();
    EXPECT_EQ(screen().NativeState(w)->icon, big);
    EXPECT_EQ(screen().NativeState(w)->smallIcon, small);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(w, WM_GETICON, ICON_SMALL, 0)), small);
    DestroyWindow(w);
    DestroyIcon(small);
}
