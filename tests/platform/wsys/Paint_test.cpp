// Invalid regions, WM_PAINT and WM_NCPAINT, clipping of children and
// regions on the shared surface, presenting, opacity and read-back.

#include <cstdio>
#include <fstream>

#include "ScratchFolder.h"
#include "TBitmap.h"
#include "TCanvas.h"
#include "WsysFixture.h"

namespace {

TEST_F(WsysTest, ChildrenPaintIntoTheirTopLevelSurfaceClippedToParentAndRegion) {
    HWND top = Popup({100, 100, 300, 250}, WS_CLIPCHILDREN);
    FillOnPaint(*this, top, clBlue);
    HWND child = Child(top, {10, 10, 60, 60});
    FillOnPaint(*this, child, clRed);
    // Half of this child lies outside its parent.
    HWND edge = Child(top, {180, 100, 240, 200});
    FillOnPaint(*this, edge, clLime);
    // A round-ish child: a region of two rectangles.
    HWND shaped = Child(top, {100, 10, 140, 50});
    TRegion cross = TRegion::FromRects(std::vector<TRect>{{10, 0, 30, 40}, {0, 10, 40, 30}});
    SetWindowRgn(shaped, &cross, TRUE);
    FillOnPaint(*this, shaped, clYellow);
    PumpMessages();

    EXPECT_EQ(ScreenPixel(100, 100), clBlue);
    EXPECT_EQ(ScreenPixel(115, 115), clRed);
    EXPECT_EQ(ScreenPixel(299, 249), clLime);
    EXPECT_EQ(ScreenPixel(300, 249), TColor(RGB(0, 0x80, 0x80)));  // desktop: clipped at the parent
    EXPECT_EQ(ScreenPixel(200 + 20, 110 + 20), clYellow);              // centre of the cross
    EXPECT_EQ(ScreenPixel(200 + 1, 110 + 1), clBlue);                  // corner cut by the region
}

TEST_F(WsysTest, UpdateRegionLimitsPaintingAndOnlyThatIsPresented) {
    HWND top = Popup({0, 0, 100, 100});
    FillOnPaint(*this, top, clRed);
    PumpMessages();
    FillOnPaint(*this, top, clBlue);
    const TRect dirty{10, 20, 30, 40};
    InvalidateRect(top, &dirty, TRUE);
    TRect upd;
    EXPECT_TRUE(GetUpdateRect(top, &upd, FALSE));
    EXPECT_EQ(upd, dirty);
    ClearLog();
    const int presentsBefore = screen().PresentCount();
    PumpMessages();
    EXPECT_EQ(Got(WM_PAINT, top).size(), 1u);
    EXPECT_FALSE(GetUpdateRect(top, &upd, FALSE));
    EXPECT_EQ(ScreenPixel(15, 25), clBlue);
    EXPECT_EQ(ScreenPixel(5, 5), clRed);  // painted blue everywhere, but only the update region counts
    EXPECT_EQ(screen().PresentCount(), presentsBefore + 1);
    EXPECT_EQ(screen().LastPresented(top), TRegion(dirty));
    // Nothing invalid: nothing painted, nothing presented.
    PumpMessages();
    EXPECT_EQ(screen().PresentCount(), presentsBefore + 1);
}

TEST_F(WsysTest, EraseUsesTheClassBackgroundAndAProcedureThatNeverPaintsDoesNotLoop) {
    HWND top = Popup({0, 0, 50, 50});
    ClearLog();
    InvalidateRect(top, nullptr, TRUE);
    PumpMessages();  // default procedure: erase with white, validate
    EXPECT_EQ(Got(WM_ERASEBKGND, top).size(), 1u);
    EXPECT_EQ(ScreenPixel(10, 10), clWhite);
    handlers_[top] = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_PAINT) return 0;  // swallows WM_PAINT without BeginPaint
        return std::nullopt;
    };
    ClearLog();
    InvalidateRect(top, nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(Got(WM_PAINT, top).size(), 1u);
}

TEST_F(WsysTest, FramePaintingGoesThroughNcPaintAndTheWindowCanvas) {
    HWND top = CreateWindowEx(0, kClass, "framed", WS_POPUP, 20, 20, 100, 80, nullptr);
    // A 4-pixel frame painted purple through the window canvas, a green client.
    handlers_[top] = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (msg == WM_NCCALCSIZE && wp) {
            auto& r = FromLParam<NCCALCSIZE_PARAMS>(lp)->rgrc[0];
            r.Left += 4, r.Top += 4, r.Right -= 4, r.Bottom -= 4;
            return 0;
        }
        if (msg == WM_NCPAINT) {
            HDC dc = GetWindowDC(h);
            dc->Brush.Color = clPurple;
            dc->FillRect({0, 0, 100, 80});
            ReleaseDC(h, dc);
            return 0;
        }
        if (msg == WM_ERASEBKGND) return 1;
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, ps);
            dc->Brush.Color = clGreen;
            dc->FillRect({-10, -10, 200, 200});  // clipped to the client area
            EndPaint(h, ps);
            return 0;
        }
        return std::nullopt;
    };
    SetWindowPos(top, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ClearLog();
    ShowWindow(top, SW_SHOWNORMAL);
    PumpMessages();
    EXPECT_EQ(Sequence(top, {WM_NCPAINT, WM_PAINT}), (std::vector<UINT>{WM_NCPAINT, WM_PAINT}));
    EXPECT_EQ(ScreenPixel(21, 21), clPurple);
    EXPECT_EQ(ScreenPixel(24, 24), clGreen);
    EXPECT_EQ(ScreenPixel(60, 60), clGreen);
    // A client invalidation leaves the frame alone; RDW_FRAME repaints it.
    ClearLog();
    InvalidateRect(top, nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(Sequence(top, {WM_NCPAINT, WM_PAINT}), (std::vector<UINT>{WM_PAINT}));
    ClearLog();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Sequence(top, {WM_NCPAINT, WM_PAINT}), (std::vector<UINT>{WM_NCPAINT, WM_PAINT}));
}

TEST_F(WsysTest, LayeredOpacityBlendsAndTheScreenSavesAsPng) {
    HWND back = Popup({0, 0, 100, 100});
    FillOnPaint(*this, back, clWhite);
    HWND front = Popup({0, 0, 50, 50}, 0, WS_EX_LAYERED);
    FillOnPaint(*this, front, clBlack);
    SetLayeredWindowAttributes(front, 0, 128, LWA_ALPHA);
    PumpMessages();
    const TColor c = ScreenPixel(10, 10);
    EXPECT_EQ(GetRValue(c), 127);
    EXPECT_EQ(ScreenPixel(60, 60), clWhite);

    const ScratchFolder scratch;
    const std::string path = (scratch / "screen.png").string();
    ASSERT_TRUE(screen().SaveScreenPng(path));
    std::ifstream in(path, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
    // ImageMagick reads it back with the screen's size, when it is installed.
    if (FILE* p = popen(("identify -format '%w %h' " + path + " 2>/dev/null").c_str(), "r")) {
        char buf[64] = {};
        const bool got = fgets(buf, sizeof buf, p) != nullptr;
        pclose(p);
        if (got) {
            EXPECT_EQ(std::string(buf), "800 600");
        }
    }
    std::remove(path.c_str());
}

TEST_F(WsysTest, PrintWindowCopiesAWindowIntoAGivenCanvas) {
    HWND top = Popup({300, 300, 340, 330});
    FillOnPaint(*this, top, clNavy);
    HWND child = Child(top, {0, 0, 10, 10});
    FillOnPaint(*this, child, clMaroon);
    TBitmap copy(40, 30);
    ASSERT_TRUE(PrintWindow(top, &copy.Canvas(), 0));
    EXPECT_EQ(copy.Pixels(20, 20), clNavy);
    EXPECT_EQ(copy.Pixels(5, 5), clMaroon);
}

}  // namespace
