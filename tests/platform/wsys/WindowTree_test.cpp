// Windows, the tree, z-order, positions, client areas and show states.

#include "WsysFixture.h"
#include "WindowSystemState.h"

namespace {

TEST_F(WsysTest, CreationAndDestructionFollowThePlatformsOrder) {
    HWND top = Popup({10, 10, 210, 110});
    HWND child = Child(top, {5, 5, 50, 50});
    HWND grandchild = Child(child, {1, 1, 10, 10});
    EXPECT_EQ(Sequence(child, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
    ASSERT_EQ(Got(WM_PARENTNOTIFY, top).size(), 1u);
    EXPECT_EQ(LOWORD(Got(WM_PARENTNOTIFY, top)[0].wParam), WM_CREATE);

    ClearLog();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> order;
    for (const auto& m : log_)
        if (m.msg == WM_DESTROY || m.msg == WM_NCDESTROY) order.push_back({m.hwnd, m.msg});
    // WM_DESTROY goes down the tree, WM_NCDESTROY comes back up.
    const std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY},        {child, WM_DESTROY},
                                                      {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
                                                      {child, WM_NCDESTROY},    {top, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(grandchild));
    // A stale handle fails quietly.
    EXPECT_EQ(SendMessage(child, WM_USER), 0);
    EXPECT_FALSE(SetWindowPos(child, nullptr, 0, 0, 1, 1, 0));
}

TEST_F(WsysTest, CreateFailsForUnknownClassesOrWhenCreateRefuses) {
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(CreateWindowEx(0, kClass, "", WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);  // child without parent
    HWND refused = nullptr;
    // A procedure answering WM_CREATE with -1 makes creation fail and the window go away.
    WNDCLASS wc;
    wc.lpszClassName = "Refuser";
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return m == WM_CREATE ? -1 : DefWindowProc(h, m, w, l);
    };
    RegisterClass(wc);
    refused = CreateWindowEx(0, "Refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr);
    EXPECT_EQ(refused, nullptr);
}

TEST_F(WsysTest, ClientAreaComesFromNcCalcSizeAndMapsCoordinates) {
    HWND top = CreateWindowEx(0, kClass, "t", WS_POPUP, 100, 50, 200, 150, nullptr);
    handlers_[top] = [](HWND, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (msg != WM_NCCALCSIZE || !wp) return std::nullopt;
        auto* p = FromLParam<NCCALCSIZE_PARAMS>(lp);
        p->rgrc[0].Left += 3, p->rgrc[0].Top += 22, p->rgrc[0].Right -= 3, p->rgrc[0].Bottom -= 3;
        return 0;
    };
    SetWindowPos(top, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    TRect client, window;
    GetClientRect(top, client);
    GetWindowRect(top, window);
    EXPECT_EQ(client, (TRect{0, 0, 194, 125}));
    EXPECT_EQ(window, (TRect{100, 50, 300, 200}));
    HWND child = Child(top, {10, 20, 60, 70});
    TPoint p{0, 0};
    ClientToScreen(child, p);
    EXPECT_EQ(p, (TPoint{100 + 3 + 10, 50 + 22 + 20}));
    ScreenToClient(top, p);
    EXPECT_EQ(p, (TPoint{10, 20}));
    GetWindowRect(child, window);
    EXPECT_EQ(window, (TRect{113, 92, 163, 142}));
    TPoint pts[1] = {{5, 5}};
    MapWindowPoints(child, top, pts, 1);
    EXPECT_EQ(pts[0], (TPoint{15, 25}));
    // The window procedure's answer is clamped: the client area stays inside.
    handlers_[top] = [](HWND, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (msg != WM_NCCALCSIZE || !wp) return std::nullopt;
        FromLParam<NCCALCSIZE_PARAMS>(lp)->rgrc[0] = {0, 0, 5000, -5};
        return 0;
    };
    SetWindowPos(top, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    GetClientRect(top, client);
    EXPECT_GE(client.Width(), 0);
    EXPECT_GE(client.Height(), 0);
    EXPECT_LE(client.Width(), 200);
}

TEST_F(WsysTest, ZOrderKeepsTheTopmostBandAndOwnedWindowsAboveTheirOwner) {
    HWND a = Popup({0, 0, 10, 10});
    HWND b = Popup({0, 0, 10, 10});
    HWND topmost = Popup({0, 0, 10, 10}, 0, WS_EX_TOPMOST);
    HWND owned = Popup({0, 0, 10, 10}, 0, 0, a);
    // Newest first, but the topmost one above all normal windows.
    EXPECT_EQ(GetTopWindow(nullptr), topmost);
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<HWND> order;
    EnumWindows([&](HWND h) { order.push_back(h); return true; });
    EXPECT_EQ(order, (std::vector<HWND>{topmost, owned, a, b}));
    // HWND_TOPMOST moves a window into the band, HWND_NOTOPMOST out of it.
    SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowLong(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetTopWindow(nullptr), b);
    SetWindowPos(topmost, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), topmost);
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), b);  // still the only topmost window
    // Children: created at the bottom, reordered by SetWindowPos.
    HWND c1 = Child(a, {0, 0, 5, 5});
    HWND c2 = Child(a, {0, 0, 5, 5});
    EXPECT_EQ(GetWindow(a, GW_CHILD), c1);
    SetWindowPos(c2, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(a, GW_CHILD), c2);
    EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), c1);
    EXPECT_EQ(GetParent(c1), a);
    EXPECT_EQ(GetParent(owned), a);  // the owner, for a popup
    EXPECT_EQ(GetAncestor(c1, GA_ROOT), a);
    EXPECT_TRUE(IsChild(a, c1));
    EXPECT_FALSE(IsChild(a, owned));
}

TEST_F(WsysTest, SetWindowPosLetsWindowPosChangingAdjustAndReportsChanges) {
    HWND top = Popup({10, 10, 110, 60});
    handlers_[top] = [](HWND, UINT msg, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (msg == WM_WINDOWPOSCHANGING) {
            auto* wp = FromLParam<WINDOWPOS>(lp);
            wp->cx = std::max(wp->cx, 80);  // a minimum width of its own
        }
        return std::nullopt;
    };
    ClearLog();
    SetWindowPos(top, nullptr, 30, 40, 20, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    TRect r;
    GetWindowRect(top, r);
    EXPECT_EQ(r, (TRect{30, 40, 110, 60}));
    EXPECT_EQ(Sequence(top, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    const auto sizes = Got(WM_SIZE, top);
    EXPECT_EQ(sizes.back().lParam, MAKELPARAM(80, 20));
    // A pure move sends no WM_SIZE and no WM_NCCALCSIZE.
    ClearLog();
    SetWindowPos(top, nullptr, 1, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Sequence(top, {WM_NCCALCSIZE, WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE}));
    EXPECT_EQ(Got(WM_MOVE, top)[0].lParam, MAKELPARAM(1, 2));
}

TEST_F(WsysTest, OverlappedWindowsKeepToTheirTrackingLimitsPopupsDoNot) {
    // Each window states 150 x 100 to 200 x 120 as its tracking limits.
    const Handler limits = [](HWND, UINT msg, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (msg == WM_GETMINMAXINFO) {
            auto* info = FromLParam<MINMAXINFO>(lp);
            info->ptMinTrackSize = {150, 100};
            info->ptMaxTrackSize = {200, 120};
        }
        return std::nullopt;
    };
    handlers_[nullptr] = limits;  // also while the windows are being made
    struct Case {
        const char* name;
        DWORD style;
        bool limited;
    };
    for (const Case c : {Case{"overlapped", WS_CAPTION, true}, Case{"sizeable popup", WS_POPUP | WS_THICKFRAME, true},
                         Case{"popup", WS_POPUP, false}}) {
        SCOPED_TRACE(c.name);
        HWND w = CreateWindowEx(0, kClass, "w", c.style, 10, 10, 400, 300, nullptr);
        TRect r;
        GetWindowRect(w, r);
        EXPECT_EQ(r, c.limited ? TRect(10, 10, 210, 130) : TRect(10, 10, 410, 310)) << "as created";
        SetWindowPos(w, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(w, r);
        EXPECT_EQ(r, c.limited ? TRect(10, 10, 160, 110) : TRect(10, 10, 60, 60)) << "made smaller";
        DestroyWindow(w);
    }
}

TEST_F(WsysTest, ShowStatesMinimiseMaximiseAndRestore) {
    screen().SetWorkArea({0, 0, 800, 560});
    HWND w = CreateWindowEx(0, kClass, "w", WS_POPUP, 100, 100, 300, 200, nullptr);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(ShowWindow(w, SW_SHOWNORMAL));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetActiveWindow(), w);
    ASSERT_EQ(Got(WM_SHOWWINDOW, w).size(), 1u);
    EXPECT_EQ(Got(WM_SHOWWINDOW, w)[0].wParam, WPARAM(TRUE));

    ClearLog();
    ShowWindow(w, SW_MAXIMIZE);
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{0, 0, 800, 560}));  // the work area, from WM_GETMINMAXINFO
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(Got(WM_GETMINMAXINFO, w).size(), 1u);
    EXPECT_EQ(Got(WM_SIZE, w).back().wParam, SIZE_MAXIMIZED);

    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_TRUE(IsWindowVisible(w));  // minimised windows count as visible
    PumpMessages();
    EXPECT_FALSE(screen().IsShownNatively(w));
    EXPECT_NE(GetActiveWindow(), w);
    EXPECT_EQ(Got(WM_SIZE, w).back().wParam, SIZE_MINIMIZED);

    ShowWindow(w, SW_RESTORE);  // back to maximised, where it was
    EXPECT_FALSE(IsIconic(w));
    EXPECT_TRUE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);
    GetWindowRect(w, r);
    EXPECT_EQ(r, (TRect{100, 100, 400, 300}));
    EXPECT_EQ(Got(WM_SIZE, w).back().wParam, SIZE_RESTORED);
    WINDOWPLACEMENT wp;
    GetWindowPlacement(w, wp);
    EXPECT_EQ(wp.showCmd, UINT(SW_SHOWNORMAL));
    EXPECT_EQ(wp.rcNormalPosition, r);

    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(Got(WM_SHOWWINDOW, w).back().wParam, WPARAM(FALSE));
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WsysTest, TheDesktopMinimisesAndRestoresThroughTheWindowsSystemCommands) {
    WindowSystem& sys = Sys();
    HWND w = Popup({100, 100, 300, 250});
    FillOnPaint(*this, w, clRed);
    PumpMessages();
    ClearLog();
    sys.MinimizeFromDesktop(sys.Find(w));
    PumpMessages();
    EXPECT_TRUE(IsIconic(w));
    EXPECT_FALSE(screen().IsShownNatively(w));
    EXPECT_EQ(Sequence(w, {WM_SYSCOMMAND, WM_SIZE}), (std::vector<UINT>{WM_SYSCOMMAND, WM_SIZE}));
    EXPECT_EQ(Got(WM_SIZE, w).back().wParam, SIZE_MINIMIZED);

    ClearLog();
    sys.RestoreFromDesktop(sys.Find(w));
    PumpMessages();
    EXPECT_FALSE(IsIconic(w));
    EXPECT_TRUE(screen().IsShownNatively(w));
    ASSERT_EQ(Got(WM_SYSCOMMAND, w).size(), 1u);
    EXPECT_EQ(Got(WM_SYSCOMMAND, w)[0].wParam, WPARAM(SC_RESTORE));
    ASSERT_FALSE(Got(WM_SIZE, w).empty());
    EXPECT_EQ(Got(WM_SIZE, w).back().wParam, SIZE_RESTORED);
    EXPECT_EQ(Got(WM_SIZE, w).back().lParam, MAKELPARAM(200, 150));
    EXPECT_FALSE(Got(WM_PAINT, w).empty());  // the whole window paints again
    EXPECT_EQ(ScreenPixel(110, 110), clRed);
    EXPECT_EQ(ScreenPixel(290, 240), clRed);
    // Restoring a window that is not minimised is nothing.
    ClearLog();
    sys.RestoreFromDesktop(sys.Find(w));
    EXPECT_TRUE(Got(WM_SYSCOMMAND, w).empty());

    // A window that keeps SC_RESTORE to itself stays minimised.
    ShowWindow(w, SW_MINIMIZE);
    handlers_[w] = [](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_RESTORE) return 0;
        return std::nullopt;
    };
    sys.RestoreFromDesktop(sys.Find(w));
    PumpMessages();
    EXPECT_TRUE(IsIconic(w));
    EXPECT_FALSE(screen().IsShownNatively(w));
}

TEST_F(WsysTest, WindowLongsStylesPropsAndText) {
    HWND w = Popup({0, 0, 50, 50});
    ClearLog();
    const LONG old = SetWindowLong(w, GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    EXPECT_EQ(old, 0);
    EXPECT_EQ(Sequence(w, {WM_STYLECHANGING, WM_STYLECHANGED}),
              (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_EQ(DWORD(GetWindowLong(w, GWL_EXSTYLE)), DWORD(WS_EX_LAYERED | WS_EX_TOOLWINDOW));
    EXPECT_TRUE(SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA));
    BYTE alpha = 0;
    GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 128);
    SetWindowLong(w, GWL_EXSTYLE, 0);
    EXPECT_FALSE(GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr));

    int data = 5;
    SetWindowLongPtr(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&data));
    EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&data));
    SetProp(w, "owner", &data);
    EXPECT_EQ(GetProp(w, "owner"), &data);
    EXPECT_EQ(RemoveProp(w, "owner"), &data);
    EXPECT_EQ(GetProp(w, "owner"), nullptr);

    const AnsiString chinese = Utf8ToAnsi("英语小词典");
    SetWindowText(w, chinese);
    EXPECT_EQ(GetWindowText(w), chinese);
    EXPECT_EQ(GetWindowTextLength(w), 10);
}

}  // namespace
