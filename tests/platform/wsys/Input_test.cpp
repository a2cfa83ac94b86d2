// Pointer and keyboard input: hit testing, cursors, non-client messages,
// capture, regions, double clicks, activation, focus, disabled and modal
// windows, keys and typed text.

#include <functional>

#include "WsysFixture.h"

namespace {

// Caption on the top 20 rows, a right resize border of 5 pixels, client elsewhere.
std::optional<LRESULT> FrameHitTest(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_NCHITTEST) return std::nullopt;
    TRect r;
    GetWindowRect(h, r);
    const TPoint p = LParamToPoint(lp);
    if (p.X >= r.Right - 5) return HTRIGHT;
    if (p.Y < r.Top + 20) return HTCAPTION;
    return HTCLIENT;
}

TEST_F(WsysTest, HitTestingDrivesCursorsAndNonClientMessages) {
    HWND w = Popup({100, 100, 300, 200});
    handlers_[w] = FrameHitTest;
    PumpMessages();
    ClearLog();
    screen().MouseMove(150, 110);
    PumpMessages();
    ASSERT_EQ(Got(WM_NCMOUSEMOVE, w).size(), 1u);
    EXPECT_EQ(Got(WM_NCMOUSEMOVE, w)[0].wParam, WPARAM(HTCAPTION));
    EXPECT_EQ(Got(WM_NCMOUSEMOVE, w)[0].lParam, MAKELPARAM(150, 110));  // screen coordinates
    EXPECT_EQ(LOWORD(Got(WM_SETCURSOR, w)[0].lParam), HTCAPTION);
    EXPECT_EQ(screen().PointerShape(), IDC_ARROW);

    screen().MouseMove(297, 150);
    PumpMessages();
    EXPECT_EQ(screen().PointerShape(), IDC_SIZEWE);

    ClearLog();
    screen().MouseMove(150, 150);
    PumpMessages();
    ASSERT_EQ(Got(WM_MOUSEMOVE, w).size(), 1u);
    EXPECT_EQ(Got(WM_MOUSEMOVE, w)[0].lParam, MAKELPARAM(50, 50));  // client coordinates
    EXPECT_EQ(screen().PointerShape(), IDC_IBEAM);                  // the class cursor
    // The same position again is not a move.
    screen().MouseMove(150, 150);
    PumpMessages();
    EXPECT_EQ(Got(WM_MOUSEMOVE, w).size(), 1u);
    TPoint p;
    GetCursorPos(p);
    EXPECT_EQ(p, (TPoint{150, 150}));
    EXPECT_EQ(WindowFromPoint({150, 150}), w);
    EXPECT_EQ(WindowFromPoint({50, 50}), nullptr);
}

TEST_F(WsysTest, CaptureKeepsTheMessagesDuringADrag) {
    HWND top = Popup({0, 0, 400, 300});
    HWND a = Child(top, {10, 10, 60, 60});
    HWND b = Child(top, {100, 10, 150, 60});
    handlers_[a] = [](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_LBUTTONDOWN) SetCapture(h);
        if (msg == WM_LBUTTONUP) ReleaseCapture();
        return std::nullopt;
    };
    PumpMessages();
    ClearLog();
    screen().MouseDown(20, 20);
    screen().MouseMove(120, 20);  // over b
    screen().MouseMove(500, 400); // off the window entirely
    screen().MouseUp(500, 400);
    PumpMessages();
    EXPECT_TRUE(Got(WM_MOUSEMOVE, b).empty());
    EXPECT_TRUE(Got(WM_LBUTTONUP, b).empty());
    const auto moves = Got(WM_MOUSEMOVE, a);
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves[moves.size() - 2].lParam, MAKELPARAM(110, 10));
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(490, 390));
    EXPECT_EQ(moves[moves.size() - 2].wParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
    ASSERT_EQ(Got(WM_LBUTTONUP, a).size(), 1u);
    EXPECT_EQ(Got(WM_LBUTTONUP, a)[0].lParam, MAKELPARAM(490, 390));
    EXPECT_EQ(Got(WM_CAPTURECHANGED, a).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(screen().PointerCaptured());
    // Without capture the pointer reaches b again.
    screen().MouseMove(120, 20);
    PumpMessages();
    EXPECT_EQ(Got(WM_MOUSEMOVE, b).size(), 1u);
}

TEST_F(WsysTest, ARegionCutsInputAsItCutsPainting) {
    HWND below = Popup({0, 0, 200, 200});
    HWND above = Popup({0, 0, 200, 200});
    const TRegion disc = TRegion::FromRects(std::vector<TRect>{{50, 0, 150, 200}, {0, 50, 200, 150}});
    SetWindowRgn(above, &disc, TRUE);
    HWND child = Child(above, {60, 60, 140, 140});
    const TRegion half(TRect{0, 0, 40, 80});
    SetWindowRgn(child, &half, TRUE);
    PumpMessages();
    EXPECT_EQ(WindowFromPoint({10, 10}), below);   // the cut corner shows the window below
    EXPECT_EQ(WindowFromPoint({100, 10}), above);
    EXPECT_EQ(WindowFromPoint({70, 100}), child);
    EXPECT_EQ(WindowFromPoint({120, 100}), above); // outside the child's region
    // Disabled and hidden children are not found; the parent takes their input.
    EnableWindow(child, FALSE);
    EXPECT_EQ(WindowFromPoint({70, 100}), above);
    EnableWindow(child, TRUE);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(WindowFromPoint({70, 100}), above);
    ClearLog();
    screen().Click(10, 10);
    PumpMessages();
    EXPECT_EQ(Got(WM_LBUTTONDOWN, below).size(), 1u);
    EXPECT_TRUE(Got(WM_LBUTTONDOWN, above).empty());
}

TEST_F(WsysTest, ADoubleClickNeedsTheRightTimeDistanceAndClass) {
    struct Case {
        const char* what;
        const char* cls;
        unsigned gapMs;
        int dx, dy;
        bool doubled;
    };
    const Case cases[] = {
        {"quick, same place", kDblClass, 100, 0, 0, true},
        {"at the time limit", kDblClass, 500, 0, 0, true},
        {"too slow", kDblClass, 501, 0, 0, false},
        {"two pixels off both ways", kDblClass, 100, 2, -2, true},
        {"three pixels off", kDblClass, 100, 3, 0, false},
        {"class without CS_DBLCLKS", kClass, 100, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND w = Popup({0, 0, 100, 100}, 0, 0, nullptr, c.cls);
        PumpMessages();
        ClearLog();
        screen().Click(50, 50);
        PumpMessages();
        screen().Advance(c.gapMs);
        screen().Click(50 + c.dx, 50 + c.dy);
        PumpMessages();
        EXPECT_EQ(Got(WM_LBUTTONDBLCLK, w).size(), c.doubled ? 1u : 0u);
        EXPECT_EQ(Got(WM_LBUTTONDOWN, w).size(), c.doubled ? 1u : 2u);
        DestroyWindow(w);
        screen().Advance(1000);
    }
    // A third quick click starts a new pair; the frame gets double clicks
    // whatever the class says.
    HWND w = Popup({0, 0, 100, 100});
    handlers_[w] = FrameHitTest;
    PumpMessages();
    ClearLog();
    for (int i = 0; i < 3; ++i) screen().Click(50, 5);
    PumpMessages();
    EXPECT_EQ(Sequence(w, {WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK}),
              (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONDOWN}));
}

TEST_F(WsysTest, ClicksActivateWindowsAndMoveTheFocusUnlessTheyRefuse) {
    HWND first = Popup({0, 0, 100, 100});
    HWND second = Popup({200, 0, 300, 100});
    SetActiveWindow(first);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
    PumpMessages();
    ClearLog();
    screen().Click(250, 50);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(Sequence(first, {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}),
              (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}));
    EXPECT_EQ(Sequence(second, {WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_LBUTTONDOWN}),
              (std::vector<UINT>{WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_LBUTTONDOWN}));
    EXPECT_EQ(LOWORD(Got(WM_ACTIVATE, second)[0].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(GetTopWindow(nullptr), second);  // activation brings it up

    // A popup that answers MA_NOACTIVATE gets the click but not the activation.
    HWND menu = Popup({400, 0, 450, 100}, 0, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    SetActiveWindow(second);
    handlers_[menu] = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
        return std::nullopt;
    };
    ClearLog();
    screen().Click(420, 50);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(Got(WM_LBUTTONDOWN, menu).size(), 1u);
}

TEST_F(WsysTest, AModalWindowBlocksItsDisabledOwner) {
    HWND owner = Popup({0, 0, 300, 300});
    HWND button = Child(owner, {10, 10, 60, 40});
    HWND modal = Popup({50, 50, 150, 150}, 0, 0, owner);
    HWND edit = Child(modal, {10, 10, 90, 30});
    EnableWindow(owner, FALSE);  // what showing a modal window does
    SetFocus(edit);
    EXPECT_EQ(GetActiveWindow(), modal);
    SetActiveWindow(owner);  // something else took the activation away
    PumpMessages();
    ClearLog();
    const int beeps = BeepCount();
    screen().Click(20, 20);      // on the owner's button
    screen().Click(250, 250);    // on the owner itself
    screen().KeyPress('A');
    PumpMessages();
    EXPECT_TRUE(Got(WM_LBUTTONDOWN, owner).empty());
    EXPECT_TRUE(Got(WM_LBUTTONDOWN, button).empty());
    ASSERT_FALSE(Got(WM_SETCURSOR, owner).empty());
    EXPECT_EQ(std::int16_t(LOWORD(Got(WM_SETCURSOR, owner)[0].lParam)), HTERROR);
    EXPECT_EQ(GetActiveWindow(), modal);  // a click on the owner brings the modal one back
    EXPECT_GT(BeepCount(), beeps);
    EXPECT_FALSE(SetFocus(button));       // a disabled window cannot take the focus
    EXPECT_EQ(Got(WM_KEYDOWN, modal).size() + Got(WM_KEYDOWN, edit).size(), 1u);
    EXPECT_TRUE(Got(WM_KEYDOWN, owner).empty());

    EnableWindow(owner, TRUE);
    DestroyWindow(modal);
    EXPECT_EQ(GetActiveWindow(), owner);  // the owner gets the activation back
    ClearLog();
    screen().Click(20, 20);
    PumpMessages();
    EXPECT_EQ(Got(WM_LBUTTONDOWN, button).size(), 1u);
}

TEST_F(WsysTest, KeysGoToTheFocusAndTextArrivesAsCodePage936Bytes) {
    HWND top = Popup({0, 0, 200, 200});
    HWND edit = Child(top, {10, 10, 100, 30});
    SetFocus(edit);
    PumpMessages();
    ClearLog();
    screen().KeyDown('A');
    screen().Text("a");
    screen().KeyUp('A');
    screen().Text("中文");
    screen().KeyPress(VK_RETURN);
    screen().KeyDown(VK_CONTROL);
    screen().KeyPress('C');
    screen().KeyUp(VK_CONTROL);
    PumpMessages();
    std::vector<WPARAM> chars;
    for (const auto& m : Got(WM_CHAR, edit)) chars.push_back(m.wParam);
    const AnsiString zh = Utf8ToAnsi("中文");
    ASSERT_EQ(zh.size(), 4u);
    const std::vector<WPARAM> expected{'a',  (unsigned char)zh[0], (unsigned char)zh[1], (unsigned char)zh[2],
                                       (unsigned char)zh[3], 13, 3};
    EXPECT_EQ(chars, expected);
    EXPECT_EQ(Got(WM_KEYDOWN, edit).front().wParam, WPARAM('A'));
    EXPECT_FALSE(Got(WM_KEYDOWN, edit).front().lParam & KF_UP_BIT);
    EXPECT_TRUE(Got(WM_KEYUP, edit).front().lParam & KF_UP_BIT);
    EXPECT_TRUE(Got(WM_KEYDOWN, top).empty());

    // Alt combinations are system keys; the text Alt+Space also reports is dropped.
    ClearLog();
    screen().KeyDown(VK_MENU);
    screen().KeyDown(VK_SPACE);
    screen().Text(" ");
    screen().KeyUp(VK_SPACE);
    screen().KeyUp(VK_MENU);
    PumpMessages();
    EXPECT_TRUE(Got(WM_CHAR).empty());
    ASSERT_EQ(Got(WM_SYSKEYDOWN, edit).size(), 2u);
    EXPECT_TRUE(Got(WM_SYSKEYDOWN, edit)[1].lParam & KF_ALTDOWN_BIT);
    ASSERT_EQ(Got(WM_SYSCHAR, edit).size(), 1u);
    const auto sys = Got(WM_SYSCOMMAND, top);
    ASSERT_EQ(sys.size(), 1u);
    EXPECT_EQ(sys[0].wParam, WPARAM(SC_KEYMENU));
    EXPECT_EQ(sys[0].lParam, LPARAM(' '));

    // Alt+F4 closes the top-level window through SC_CLOSE and WM_CLOSE.
    screen().KeyDown(VK_MENU);
    screen().KeyPress(VK_F4);
    screen().KeyUp(VK_MENU);
    PumpMessages();
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(WsysTest, TheWheelGoesToTheFocusAndUpToItsParent) {
    HWND top = Popup({0, 0, 200, 200});
    HWND list = Child(top, {10, 10, 100, 100});
    SetFocus(list);
    PumpMessages();
    ClearLog();
    screen().Wheel(150, 150, -WHEEL_DELTA);
    PumpMessages();
    ASSERT_EQ(Got(WM_MOUSEWHEEL, list).size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Got(WM_MOUSEWHEEL, list)[0].wParam), -WHEEL_DELTA);
    EXPECT_EQ(Got(WM_MOUSEWHEEL, top).size(), 1u);  // passed up by the default procedure
}

TEST_F(WsysTest, MouseLeaveIsReportedOnceWhenThePointerLeaves) {
    HWND w = Popup({0, 0, 100, 100});
    screen().MouseMove(50, 50);
    PumpMessages();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = w;
    ASSERT_TRUE(TrackMouseEvent(tme));
    ClearLog();
    screen().MouseMove(60, 60);
    screen().MouseMove(150, 150);
    screen().MouseMove(160, 160);
    PumpMessages();
    EXPECT_EQ(Got(WM_MOUSELEAVE, w).size(), 1u);
}

TEST_F(WsysTest, PressesOnAChildTellItsAncestorsUntilOneOptsOut) {
    HWND top = Popup({100, 100, 400, 300});
    HWND mid = Child(top, {10, 10, 210, 160});
    HWND leaf = Child(mid, {20, 30, 120, 90});
    PumpMessages();
    struct Case {
        MouseButton button;
        UINT down;
    };
    for (const Case c : {Case{MouseButton::Left, WM_LBUTTONDOWN}, Case{MouseButton::Right, WM_RBUTTONDOWN},
                         Case{MouseButton::Middle, WM_MBUTTONDOWN}}) {
        SCOPED_TRACE(c.down);
        ClearLog();
        screen().Click(135, 145, c.button);  // leaf (5, 5), mid (25, 35), top (35, 45)
        PumpMessages();
        const auto toMid = Got(WM_PARENTNOTIFY, mid);
        const auto toTop = Got(WM_PARENTNOTIFY, top);
        ASSERT_EQ(toMid.size(), 1u);
        ASSERT_EQ(toTop.size(), 1u);
        EXPECT_EQ(LOWORD(toMid[0].wParam), c.down);
        EXPECT_EQ(toMid[0].lParam, MAKELPARAM(25, 35));
        EXPECT_EQ(toTop[0].lParam, MAKELPARAM(35, 45));
        // Nearest ancestor first, all before the child sees the press itself.
        std::vector<HWND> order;
        for (const auto& m : log_)
            if (m.msg == WM_PARENTNOTIFY || m.msg == c.down) order.push_back(m.hwnd);
        EXPECT_EQ(order, (std::vector<HWND>{mid, top, leaf}));
        EXPECT_TRUE(Got(WM_PARENTNOTIFY, leaf).empty());
    }
    // A release, a move and a press on the top-level window itself tell nobody.
    ClearLog();
    screen().MouseMove(390, 290);
    screen().Click(390, 290);
    PumpMessages();
    EXPECT_TRUE(Got(WM_PARENTNOTIFY).empty());

    // WS_EX_NOPARENTNOTIFY on a window stops the notice at its parent.
    SetWindowLong(mid, GWL_EXSTYLE, GetWindowLong(mid, GWL_EXSTYLE) | LONG(WS_EX_NOPARENTNOTIFY));
    ClearLog();
    screen().Click(135, 145);
    PumpMessages();
    EXPECT_EQ(Got(WM_PARENTNOTIFY, mid).size(), 1u);
    EXPECT_TRUE(Got(WM_PARENTNOTIFY, top).empty());
    SetWindowLong(leaf, GWL_EXSTYLE, GetWindowLong(leaf, GWL_EXSTYLE) | LONG(WS_EX_NOPARENTNOTIFY));
    ClearLog();
    screen().Click(135, 145);
    PumpMessages();
    EXPECT_TRUE(Got(WM_PARENTNOTIFY).empty());
    EXPECT_EQ(Got(WM_LBUTTONDOWN, leaf).size(), 1u);
}

TEST_F(WsysTest, ALoneAltTapOpensTheKeyboardMenuOfTheTopLevelWindow) {
    HWND top = Popup({0, 0, 200, 200});
    HWND edit = Child(top, {10, 10, 100, 40});
    SetFocus(edit);
    PumpMessages();
    struct Case {
        const char* what;
        std::function<void()> keys;
        std::size_t menus;
    };
    auto& s = screen();
    const Case cases[] = {
        {"Alt alone", [&] { s.KeyPress(VK_MENU); }, 1},
        {"Alt held until it repeats", [&] { s.KeyDown(VK_MENU); s.KeyDown(VK_MENU); s.KeyUp(VK_MENU); }, 1},
        {"Alt twice", [&] { s.KeyPress(VK_MENU); s.KeyPress(VK_MENU); }, 2},
        {"Alt with a key between", [&] { s.KeyDown(VK_MENU); s.KeyPress('X'); s.KeyUp(VK_MENU); }, 0},
        {"Alt while Ctrl is held", [&] { s.KeyDown(VK_CONTROL); s.KeyPress(VK_MENU); s.KeyUp(VK_CONTROL); }, 0},
        {"Alt with a click between", [&] { s.KeyDown(VK_MENU); s.Click(50, 100); s.KeyUp(VK_MENU); }, 0},
        // Alt+Tab on the desktop: the program loses and regains the focus between.
        {"Alt with another program between",
         [&] {
             s.KeyDown(VK_MENU);
             s.SetAppActive(false);
             s.SetAppActive(true);
             s.KeyUp(VK_MENU);
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearLog();
        c.keys();
        PumpMessages();
        std::size_t menus = 0;
        for (const auto& m : Got(WM_SYSCOMMAND, top))
            if ((m.wParam & 0xFFF0) == SC_KEYMENU && m.lParam == 0) ++menus;
        EXPECT_EQ(menus, c.menus);
        EXPECT_TRUE(Got(WM_SYSCOMMAND, edit).empty());
    }
}

}  // namespace
