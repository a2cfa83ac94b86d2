#include "WsysFixture.h"

#include <algorithm>

#include "TBitmap.h"
#include "TCanvas.h"

LRESULT WsysTest::RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    WsysTest* t = current_;
    t->log_.push_back({hwnd, msg, wp, lp});
    // A window without a handler of its own takes the one kept under null.
    auto it = t->handlers_.find(hwnd);
    if (it == t->handlers_.end()) it = t->handlers_.find(nullptr);
    if (it != t->handlers_.end() && it->second) {
        const Handler h = it->second;  // the handler may replace itself
        if (auto r = h(hwnd, msg, wp, lp)) return *r;
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

void WsysTest::SetUp() {
    auto backend = std::make_unique<HeadlessBackend>(800, 600);
    screen_ = backend.get();
    session_ = std::make_unique<WindowSystemSession>(std::move(backend));
    current_ = this;
    WNDCLASS wc;
    wc.lpfnWndProc = &WsysTest::RecordingProc;
    wc.hbrBackground = clWhite;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClass(wc), 0);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kDblClass;
    ASSERT_NE(RegisterClass(wc), 0);
}

void WsysTest::TearDown() {
    session_.reset();
    current_ = nullptr;
}

HWND WsysTest::Popup(const TRect& r, DWORD style, DWORD exStyle, HWND owner, const char* cls) {
    return CreateWindowEx(exStyle, cls, "popup", WS_POPUP | WS_VISIBLE | style, r.Left, r.Top, r.Width(),
                          r.Height(), owner);
}

HWND WsysTest::Child(HWND parent, const TRect& r, DWORD style, const char* cls) {
    return CreateWindowEx(0, cls, "child", WS_CHILD | WS_VISIBLE | style, r.Left, r.Top, r.Width(), r.Height(),
                          parent);
}

std::vector<LoggedMessage> WsysTest::Got(UINT msg, HWND hwnd) const {
    std::vector<LoggedMessage> out;
    for (const auto& m : log_)
        if ((msg == 0 || m.msg == msg) && (!hwnd || m.hwnd == hwnd)) out.push_back(m);
    return out;
}

std::vector<UINT> WsysTest::Sequence(HWND hwnd, std::initializer_list<UINT> only) const {
    std::vector<UINT> out;
    for (const auto& m : log_)
        if (m.hwnd == hwnd && std::find(only.begin(), only.end(), m.msg) != only.end()) out.push_back(m.msg);
    return out;
}

TColor WsysTest::ScreenPixel(int x, int y) {
    TBitmap shot;
    screen_->ReadScreenRect({x, y, x + 1, y + 1}, shot);
    return PixelToColor(shot.ScanLine(0)[0]);
}

void FillOnPaint(WsysTest& t, HWND hwnd, TColor color) {
    t.handlers_[hwnd] = [color](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_ERASEBKGND) return 1;
        if (msg != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        TRect r;
        GetClientRect(h, r);
        dc->Brush.Color = color;
        dc->FillRect(r);
        EndPaint(h, ps);
        return 0;
    };
}
