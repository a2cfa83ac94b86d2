// Window timers on the virtual clock.

#include "Exceptions.h"
#include "WsysFixture.h"

namespace {

TEST_F(WsysTest, TimersFireInOrderOnTheVirtualClock) {
    HWND a = Popup({0, 0, 10, 10});
    HWND b = Popup({0, 0, 10, 10});
    PumpMessages();
    const DWORD start = GetTickCount();
    std::vector<std::pair<UINT_PTR, DWORD>> fired;
    for (HWND h : {a, b})
        handlers_[h] = [&fired, start](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_TIMER) fired.push_back({wp, GetTickCount() - start});
            return std::nullopt;
        };
    EXPECT_EQ(SetTimer(a, 1, 25), 1u);
    EXPECT_EQ(SetTimer(b, 2, 40), 2u);
    screen().Advance(24);
    EXPECT_TRUE(fired.empty());
    screen().Advance(76);
    const std::vector<std::pair<UINT_PTR, DWORD>> expected{{1, 25}, {2, 40}, {1, 50}, {1, 75}, {2, 80}, {1, 100}};
    EXPECT_EQ(fired, expected);

    // Setting the same id again restarts it; KillTimer stops it; a window's
    // timers end with it.
    fired.clear();
    SetTimer(a, 1, 30);
    screen().Advance(20);
    SetTimer(a, 1, 30);
    screen().Advance(29);
    EXPECT_EQ(fired, (std::vector<std::pair<UINT_PTR, DWORD>>{{2, 120}}));  // a's restart at 120 put it off
    fired.clear();
    EXPECT_TRUE(KillTimer(b, 2));
    EXPECT_FALSE(KillTimer(b, 2));
    DestroyWindow(a);
    screen().Advance(500);
    EXPECT_TRUE(fired.empty());
}

TEST_F(WsysTest, ALateTimerFiresOnceAndTimerProcsAreCalled) {
    HWND w = Popup({0, 0, 10, 10});
    PumpMessages();
    int count = 0;
    handlers_[w] = [&count](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_TIMER) ++count;
        return std::nullopt;
    };
    SetTimer(w, 7, 10);
    screen().Sleep(100);  // the program was busy: ten periods pass unhandled
    PumpMessages();
    EXPECT_EQ(count, 1);

    static int procCalls = 0;
    procCalls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++procCalls; });
    EXPECT_NE(id, 0u);
    screen().Advance(100);
    EXPECT_EQ(procCalls, 2);
    KillTimer(nullptr, id);
}

TEST_F(WsysTest, BusyWaitingOnTheTickCountDoesNotHang) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start <= 5) {
    }
    EXPECT_GE(GetTickCount() - start, 6u);
}

TEST_F(WsysTest, GetMessageWaitsForTimersByLettingTheClockRun) {
    HWND w = Popup({0, 0, 10, 10});
    handlers_[w] = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_TIMER) PostQuitMessage(0);
        return std::nullopt;
    };
    const DWORD start = GetTickCount();
    SetTimer(w, 1, 1000);
    MSG msg;
    while (GetMessage(msg)) DispatchMessage(msg);
    EXPECT_EQ(GetTickCount() - start, 1000u);
    // With nothing that could ever arrive, a wait is an error, not a hang.
    KillTimer(w, 1);
    EXPECT_THROW(WaitMessage(), EInvalidOperation);
}

}  // namespace
