// A top-level window that the desktop moved or placed (a window manager's
// drag, its placement at the first show, a restore onto another monitor) is
// where input is looked for afterwards: clicks reach the controls where they
// are drawn, not where they stood before the move.

#include "WsysFixture.h"

namespace {
constexpr TRect kRect{100, 80, 300, 200};
constexpr TRect kButton{20, 30, 60, 50};  // in the window
}

TEST_F(WsysTest, ClicksFollowAWindowTheDesktopMoved) {
    const HWND w = Popup(kRect);
    const HWND button = Child(w, kButton);
    PumpMessages();
    ClearLog();

    screen().DesktopMove(w, {140, 110});
    PumpMessages();
    TRect now;
    GetWindowRect(w, now);
    EXPECT_EQ(now, (TRect{140, 110, 340, 230}));
    const auto moves = Got(WM_MOVE, w);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(140, 110));
    EXPECT_EQ(screen().NativeState(w)->rect, now);

    // Where the button is drawn now, the click reaches it; where it stood
    // before, the click lands in the window beside it.
    ClearLog();
    screen().Click(140 + 30, 110 + 40);
    PumpMessages();
    EXPECT_EQ(Got(WM_LBUTTONDOWN, button).size(), 1u);
    ClearLog();
    screen().Click(100 + 50, 80 + 35);
    PumpMessages();
    EXPECT_TRUE(Got(WM_LBUTTONDOWN, button).empty());
    EXPECT_EQ(Got(WM_LBUTTONDOWN, w).size(), 1u);
}

TEST_F(WsysTest, AWindowThatHoldsItsPlaceIsShownThereAgainAndOthersAreLeftAlone) {
    const HWND w = Popup(kRect);
    const HWND other = Popup({400, 300, 500, 400});
    const HWND child = Child(w, kButton);
    PumpMessages();
    handlers_[w] = [](HWND, UINT msg, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (msg == WM_WINDOWPOSCHANGING) FromLParam<WINDOWPOS>(lp)->flags |= SWP_NOMOVE;
        return std::nullopt;
    };
    screen().DesktopMove(w, {10, 10});
    PumpMessages();
    TRect now;
    GetWindowRect(w, now);
    EXPECT_EQ(now, kRect);
    EXPECT_EQ(screen().NativeState(w)->rect, kRect);

    // Reports about child windows, windows that are gone, or the place a
    // window already has change nothing.
    ClearLog();
    screen().DesktopMove(child, {0, 0});
    screen().DesktopMove(other, {400, 300});
    PumpMessages();
    EXPECT_TRUE(Got(WM_WINDOWPOSCHANGING).empty());
    DestroyWindow(other);
    screen().DesktopMove(other, {0, 0});
    EXPECT_NO_THROW(PumpMessages());
    GetWindowRect(child, now);
    EXPECT_EQ(now, OffsetRect(kButton, kRect.Left, kRect.Top));
}
