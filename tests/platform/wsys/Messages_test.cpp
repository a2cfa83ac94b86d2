// Sending, posting, the queue and subclassing.

#include "WsysFixture.h"

namespace {

WNDPROC g_previous = nullptr;
std::vector<UINT> g_seenBySubclass;

LRESULT SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    g_seenBySubclass.push_back(msg);
    if (msg == WM_USER + 1) return 42;  // consumed here
    return CallWindowProc(g_previous, h, msg, wp, lp);
}

TEST_F(WsysTest, AReplacedProcedureSeesEveryMessageFirstAndPassesOnTheRest) {
    HWND w = Popup({0, 0, 50, 50});
    g_seenBySubclass.clear();
    g_previous = SubclassWindow(w, &SubclassProc);
    EXPECT_EQ(g_previous, &WsysTest::RecordingProc);
    EXPECT_EQ(GetWindowProc(w), &SubclassProc);
    ClearLog();
    EXPECT_EQ(SendMessage(w, WM_USER + 1), 42);
    EXPECT_TRUE(Got(WM_USER + 1).empty());  // never reached the original
    handlers_[w] = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER + 2) return 7;
        return std::nullopt;
    };
    EXPECT_EQ(SendMessage(w, WM_USER + 2), 7);
    EXPECT_EQ(Got(WM_USER + 2).size(), 1u);
    // Posted and system-generated messages go through it too.
    PostMessage(w, WM_USER + 3);
    SetWindowPos(w, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_NE(std::find(g_seenBySubclass.begin(), g_seenBySubclass.end(), WM_USER + 3), g_seenBySubclass.end());
    EXPECT_NE(std::find(g_seenBySubclass.begin(), g_seenBySubclass.end(), WM_WINDOWPOSCHANGED),
              g_seenBySubclass.end());
    EXPECT_EQ(Got(WM_MOVE, w).size(), 1u);  // passed on, and the default procedure made WM_MOVE
    // Putting the old procedure back ends the subclassing.
    SubclassWindow(w, g_previous);
    g_seenBySubclass.clear();
    SendMessage(w, WM_USER + 1);
    EXPECT_TRUE(g_seenBySubclass.empty());
}

TEST_F(WsysTest, SendMessageIsSynchronousAndReentrant) {
    HWND a = Popup({0, 0, 10, 10});
    HWND b = Popup({0, 0, 10, 10});
    handlers_[a] = [b](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER) return SendMessage(b, WM_USER, wp + 1) * 10;
        return std::nullopt;
    };
    handlers_[b] = [a](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_USER) return std::nullopt;
        if (wp < 3) return SendMessage(a, WM_USER, wp + 1) + 1;
        return LRESULT(wp);
    };
    // a(0) -> b(1) -> a(2) -> b(3) = 3; a(2) = 30; b(1) = 31; a(0) = 310
    EXPECT_EQ(SendMessage(a, WM_USER, 0), 310);
}

TEST_F(WsysTest, AWindowDestroyedInsideItsOwnHandlerIsSafe) {
    HWND w = Popup({0, 0, 10, 10});
    HWND child = Child(w, {0, 0, 5, 5});
    handlers_[child] = [w](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_USER) return std::nullopt;
        DestroyWindow(w);
        // The handle is dead but this code still runs; calls on it fail quietly.
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(SendMessage(h, WM_USER + 5), 0);
        return 1;
    };
    EXPECT_EQ(SendMessage(child, WM_USER), 1);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(WsysTest, PostedMessagesArriveInOrderAndQuitEndsGetMessage) {
    HWND w = Popup({0, 0, 10, 10});
    PumpMessages();
    ClearLog();
    for (int i = 0; i < 3; ++i) PostMessage(w, WM_USER, WPARAM(i));
    PostMessage(nullptr, WM_APP, 9);  // a thread message: no window
    PostQuitMessage(4);
    MSG msg;
    std::vector<WPARAM> params;
    while (GetMessage(msg)) {
        if (msg.message == WM_USER) params.push_back(msg.wParam);
        DispatchMessage(msg);
    }
    EXPECT_EQ(params, (std::vector<WPARAM>{0, 1, 2}));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_EQ(Got(WM_USER, w).size(), 3u);
    EXPECT_FALSE(PeekMessage(msg));
    // Filters leave other messages waiting.
    PostMessage(w, WM_USER + 1);
    PostMessage(w, WM_USER + 2);
    ASSERT_TRUE(PeekMessage(msg, nullptr, WM_USER + 2, WM_USER + 2));
    EXPECT_EQ(msg.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessage(msg));
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0x12345678), WM_USER));
}

}  // namespace
