// The move/size loop that caption and border drags start.

#include "WsysFixture.h"

namespace {

std::optional<LRESULT> CaptionAndBorders(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_NCHITTEST) return std::nullopt;
    TRect r;
    GetWindowRect(h, r);
    const TPoint p = LParamToPoint(lp);
    if (p.X >= r.Right - 4 && p.Y >= r.Bottom - 4) return HTBOTTOMRIGHT;
    if (p.X < r.Left + 4) return HTLEFT;
    if (p.Y < r.Top + 20) return HTCAPTION;
    return HTCLIENT;
}

TEST_F(WsysTest, ACaptionDragRunsTheMoveLoopAndWmMovingDecidesWhereTheWindowGoes) {
    HWND w = Popup({100, 100, 300, 200});
    // Snap the left edge to x = 0 whenever it comes within 10 pixels, as a
    // magnetic frame does.
    handlers_[w] = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (msg == WM_MOVING) {
            auto* r = FromLParam<TRect>(lp);
            if (r->Left < 10) *r = OffsetRect(*r, -r->Left, 0);
        }
        return CaptionAndBorders(h, msg, wp, lp);
    };
    PumpMessages();
    ClearLog();
    screen().Drag({150, 110}, {57, 130});  // proposes left = 7
    PumpMessages();
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{0, 120, 200, 220}));
    const auto seq = Sequence(w, {WM_ENTERSIZEMOVE, WM_MOVING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_EXITSIZEMOVE,
                                  WM_NCLBUTTONUP, WM_SIZE});
    ASSERT_GE(seq.size(), 5u);
    EXPECT_EQ(seq.front(), WM_ENTERSIZEMOVE);
    EXPECT_EQ(seq[1], WM_MOVING);
    EXPECT_EQ(seq.back(), WM_EXITSIZEMOVE);
    EXPECT_EQ(std::count(seq.begin(), seq.end(), WM_SIZE), 0);
    EXPECT_EQ(std::count(seq.begin(), seq.end(), WM_NCLBUTTONUP), 0);  // the loop took the release
    // The proposal arrives in screen coordinates.
    const auto moving = Got(WM_MOVING, w);
    EXPECT_EQ(moving.size(), 4u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WsysTest, ACaptionDragEndsWhereTheButtonWentUpEvenWithoutAMoveThere) {
    HWND w = Popup({100, 100, 300, 200});
    handlers_[w] = CaptionAndBorders;
    PumpMessages();
    screen().MouseDown(150, 110);
    screen().MouseMove(170, 120);
    screen().MouseUpWithoutMove(250, 160);  // the moves on the way were lost
    PumpMessages();
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{200, 150, 400, 250}));
}

TEST_F(WsysTest, ABorderDragSizesWithinTheTrackingLimitsAndEscapeCancels) {
    HWND w = Popup({100, 100, 300, 200});
    handlers_[w] = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (msg == WM_GETMINMAXINFO) {
            auto* mmi = FromLParam<MINMAXINFO>(lp);
            mmi->ptMinTrackSize = {150, 80};
            mmi->ptMaxTrackSize = {400, 300};
        }
        if (msg == WM_SIZING) {
            auto* r = FromLParam<TRect>(lp);
            r->Bottom = r->Top + (r->Height() / 10) * 10;  // heights in steps of 10
        }
        return CaptionAndBorders(h, msg, wp, lp);
    };
    PumpMessages();
    ClearLog();
    screen().Drag({298, 198}, {1000, 253});  // far past the maximum width
    PumpMessages();
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{100, 100, 500, 250}));
    ASSERT_FALSE(Got(WM_SIZING, w).empty());
    EXPECT_EQ(Got(WM_SIZING, w)[0].wParam, WPARAM(WMSZ_BOTTOMRIGHT));
    EXPECT_EQ(Got(WM_SIZE, w).back().lParam, MAKELPARAM(400, 150));

    // The left edge: the right edge stays put at the minimum width.
    screen().Drag({101, 150}, {400, 150});
    PumpMessages();
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{350, 100, 500, 250}));

    // Escape puts everything back.
    screen().MouseDown(351, 150);
    screen().MouseMove(300, 150);
    screen().KeyPress(VK_ESCAPE);
    PumpMessages();
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{350, 100, 500, 250}));
}

TEST_F(WsysTest, SystemCommandsChangeTheWindowState) {
    HWND w = CreateWindowEx(0, kClass, "w", WS_POPUP | WS_VISIBLE | WS_MAXIMIZEBOX, 10, 10, 100, 100, nullptr);
    handlers_[w] = CaptionAndBorders;
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_FALSE(IsZoomed(w));
    // A caption double click maximises a window with a maximise box.
    PumpMessages();
    screen().Click(50, 15);
    screen().Click(50, 15);
    PumpMessages();
    EXPECT_TRUE(IsZoomed(w));
    // A maximised window is not moved by a caption drag.
    TRect before, after;
    GetWindowRect(w, before);
    screen().Advance(1000);
    screen().Drag({50, 5}, {150, 105});
    PumpMessages();
    GetWindowRect(w, after);
    EXPECT_EQ(before, after);
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    SendMessage(w, WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(IsWindow(w));
}

}  // namespace
