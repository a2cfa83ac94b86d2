#pragma once
// A headless window system per test, a window class whose procedure records
// every message, and per-window handlers that can answer or change them.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "HeadlessBackend.h"
#include "WindowSystem.h"
#include "Windows.h"

struct LoggedMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Returns a result to consume the message, nothing to pass it on.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class WsysTest : public ::testing::Test {
public:
    static constexpr const char* kClass = "TestWindow";
    static constexpr const char* kDblClass = "TestDblWindow";

    void SetUp() override;
    void TearDown() override;

    // A visible top-level window without frame at the given screen rectangle.
    HWND Popup(const TRect& r, DWORD style = 0, DWORD exStyle = 0, HWND owner = nullptr,
               const char* cls = kClass);
    HWND Child(HWND parent, const TRect& r, DWORD style = 0, const char* cls = kClass);

    // Messages of one kind (or all, with 0) that reached `hwnd` (or any, with null).
    std::vector<LoggedMessage> Got(UINT msg, HWND hwnd = nullptr) const;
    // The message numbers that reached `hwnd`, in order, restricted to `only`.
    std::vector<UINT> Sequence(HWND hwnd, std::initializer_list<UINT> only) const;
    void ClearLog() { log_.clear(); }

    HeadlessBackend& screen() { return *screen_; }
    TColor ScreenPixel(int x, int y);

    static LRESULT RecordingProc(HWND, UINT, WPARAM, LPARAM);

    std::unique_ptr<WindowSystemSession> session_;
    HeadlessBackend* screen_ = nullptr;
    static inline WsysTest* current_ = nullptr;
    std::vector<LoggedMessage> log_;
    std::map<HWND, Handler> handlers_;
};

// A window procedure that paints its client area in one colour.
void FillOnPaint(WsysTest& t, HWND hwnd, TColor color);
