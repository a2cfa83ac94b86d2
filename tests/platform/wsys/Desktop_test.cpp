// Monitors and work areas, the clipboard, the caret and cursors.

#include "TBitmap.h"
#include "WsysFixture.h"

namespace {

TEST_F(WsysTest, MonitorsAndWorkAreas) {
    screen().SetMonitors({{{0, 0, 800, 600}, {0, 0, 800, 570}}, {{800, 0, 1824, 768}, {800, 0, 1824, 768}}});
    PumpMessages();
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1824);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work));
    EXPECT_EQ(work, (TRect{0, 0, 800, 570}));
    HWND w = Popup({900, 100, 1100, 300});
    MONITORINFO mi;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), mi));
    EXPECT_EQ(mi.rcMonitor, (TRect{800, 0, 1824, 768}));
    EXPECT_EQ(mi.dwFlags, 0u);
    // Maximising uses the window's own monitor.
    ShowWindow(w, SW_MAXIMIZE);
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, mi.rcWork);
    EXPECT_EQ(MonitorFromPoint({5000, 5000}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), MonitorFromWindow(w, 0));
    BOOL full = FALSE;
    SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full);
    EXPECT_TRUE(full);
}

TEST_F(WsysTest, ClipboardTextKeepsChineseAndLineEnds) {
    const AnsiString text = Utf8ToAnsi("词典\r\nword");
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    SetClipboardText(text);
    EXPECT_EQ(screen().ClipboardUtf8(), "词典\nword");  // the desktop's form
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardText(), text);
    screen().SetClipboardUtf8("一\n二");
    EXPECT_EQ(GetClipboardText(), Utf8ToAnsi("一\r\n二"));
}

TEST_F(WsysTest, TheCaretBlinksByInvertingPixelsAndNeverSpoilsPainting) {
    HWND w = Popup({0, 0, 100, 50});
    FillOnPaint(*this, w, clWhite);
    PumpMessages();
    ASSERT_TRUE(CreateCaret(w, 2, 16));
    SetCaretPos(10, 5);
    ShowCaret(w);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(10, 5), clBlack);
    EXPECT_EQ(ScreenPixel(12, 5), clWhite);
    EXPECT_EQ(screen().TextInputArea(), (TRect{10, 5, 12, 21}));  // where an input method puts its window
    screen().Advance(GetCaretBlinkTime());
    EXPECT_EQ(ScreenPixel(10, 5), clWhite);
    screen().Advance(GetCaretBlinkTime());
    EXPECT_EQ(ScreenPixel(10, 5), clBlack);
    // Repainting under the caret does not leave inverted pixels behind.
    InvalidateRect(w, nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(10, 5), clBlack);
    HideCaret(w);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(10, 5), clWhite);
    DestroyWindow(w);  // takes the caret with it
    EXPECT_FALSE(SetCaretPos(1, 1));
}

TEST_F(WsysTest, StandardCursors) {
    EXPECT_EQ(CursorId(LoadCursor(nullptr, IDC_SIZENS)), IDC_SIZENS);
    EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(screen().PointerShape(), IDC_HAND);
    EXPECT_EQ(CursorId(GetCursor()), IDC_HAND);
    // What a hint under the pointer must clear: a tip-anchored shape reaches
    // its full height, a centred one half of it.
    EXPECT_EQ(CursorVisibleHeight(GetCursor()), 20);
    EXPECT_EQ(CursorVisibleHeight(LoadCursor(nullptr, IDC_IBEAM)), 9);
    EXPECT_EQ(CursorVisibleHeight(nullptr), 20);
}

}  // namespace
