// Notification icons: the records and the callback messages against a tray
// stand-in, then the real freedesktop tray (trayer on a private Xvfb): the
// icon docks, shows its picture, and a click on it reaches the callback.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <map>
#include <thread>

#include "DesktopSession.h"
#include "HeadlessBackend.h"
#include "ScratchFolder.h"
#include "ShellApi.h"
#include "TrayHost.h"
#include "Windows.h"
#include "WindowSystem.h"
#include "X11Probe.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libX11\nleak:libxcb\n"; }

namespace {

constexpr UINT kCallback = WM_USER + 1024;

// A tray in memory: what it shows, and pointer input and new trays on demand.
class StandInTray : public TrayHost {
public:
    struct Shown {
        IconPixels picture;
        std::string tip;
    };
    bool available = true;
    std::map<int, Shown> shown;

    bool Add(int icon, const IconPixels& picture, const std::string& tip) override {
        if (!available) return false;
        shown[icon] = {picture, tip};
        return true;
    }
    void Update(int icon, const IconPixels& picture, const std::string& tip) override { shown[icon] = {picture, tip}; }
    void Remove(int icon) override { shown.erase(icon); }
    void Poll() override {}

    void Pointer(TrayPointer kind, TrayButton button, std::uint32_t time) {
        ASSERT_EQ(shown.size(), 1u);
        OnPointer({shown.begin()->first, kind, button, time});
    }
    void NewTray() {
        shown.clear();
        OnTrayCreated();
    }
};

std::vector<MSG> callbacks;

LRESULT CallbackProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kCallback || msg >= 0xC000) callbacks.push_back(MSG{h, msg, wp, lp, 0, {}});
    return DefWindowProc(h, msg, wp, lp);
}

HWND MakeCallbackWindow() {
    WNDCLASS existing;
    if (!GetClassInfo("TrayOwner", existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = CallbackProc;
        wc.lpszClassName = "TrayOwner";
        RegisterClass(wc);
    }
    return CreateWindowEx(WS_EX_TOOLWINDOW, "TrayOwner", "", WS_POPUP, 0, 0, 0, 0, nullptr);
}

// The record a tray icon component fills in.
NOTIFYICONDATA Record(HWND owner, HICON icon, const char* tip) {
    NOTIFYICONDATA d;
    d.cbSize = NOTIFYICONDATA_V2_SIZE;
    d.hWnd = owner;
    d.uID = 1;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = kCallback;
    d.hIcon = icon;
    std::strncpy(d.szTip, tip, sizeof d.szTip - 1);
    return d;
}

class NotifyIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        auto tray = std::make_unique<StandInTray>();
        tray_ = tray.get();
        SetTrayHost(std::move(tray));
        callbacks.clear();
        owner_ = MakeCallbackWindow();
    }
    void TearDown() override {
        SetTrayHost(nullptr);
        session_.reset();
    }
    std::vector<LPARAM> MouseMessages() {
        PumpMessages();
        std::vector<LPARAM> out;
        for (const MSG& m : callbacks)
            if (m.message == kCallback) out.push_back(m.lParam);
        callbacks.clear();
        return out;
    }

    std::unique_ptr<WindowSystemSession> session_;
    StandInTray* tray_ = nullptr;
    HWND owner_ = nullptr;
};

TEST_F(NotifyIconTest, RecordsAreAddedChangedAndDeletedOnceEach) {
    const HICON icon = LoadIcon(nullptr, IDI_INFORMATION);
    NOTIFYICONDATA d = Record(owner_, icon, "Mirvo \xD6\xD0\xCE\xC4");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, d));
    ASSERT_EQ(tray_->shown.size(), 1u);
    EXPECT_EQ(tray_->shown.begin()->second.tip, "Mirvo 中文");
    EXPECT_EQ(tray_->shown.begin()->second.picture.width, 32);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, d));
    EXPECT_EQ(ShellNotifyIconError(), "the icon exists already");

    // The icon is copied: destroying the caller's handle changes nothing.
    const HICON own = CreateIconFromPixels({2, 2, {0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu}});
    d.uFlags = NIF_ICON | NIF_TIP;
    d.hIcon = own;
    std::strcpy(d.szTip, "changed");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, d));
    DestroyIcon(own);
    EXPECT_EQ(tray_->shown.begin()->second.picture.width, 2);
    EXPECT_EQ(tray_->shown.begin()->second.tip, "changed");

    // A tip without its closing zero is cut at the field's end.
    std::memset(d.szTip, 'x', sizeof d.szTip);
    d.uFlags = NIF_TIP;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, d));
    EXPECT_EQ(tray_->shown.begin()->second.tip.size(), sizeof d.szTip - 1);

    struct Bad {
        const char* what;
        DWORD message;
        NOTIFYICONDATA data;
    };
    NOTIFYICONDATA wrongSize = d;
    wrongSize.cbSize = 100;
    NOTIFYICONDATA otherId = d;
    otherId.uID = 2;
    NOTIFYICONDATA deadIcon = Record(owner_, own, "x");
    deadIcon.uID = 3;
    NOTIFYICONDATA noWindow = d;
    noWindow.hWnd = reinterpret_cast<HWND>(0x7777);
    for (const Bad& b : {Bad{"size", NIM_ADD, wrongSize}, Bad{"unknown id", NIM_MODIFY, otherId},
                         Bad{"unknown id", NIM_DELETE, otherId}, Bad{"destroyed icon", NIM_ADD, deadIcon},
                         Bad{"no window", NIM_ADD, noWindow}}) {
        SCOPED_TRACE(b.what);
        EXPECT_FALSE(Shell_NotifyIcon(b.message, b.data));
        EXPECT_FALSE(ShellNotifyIconError().empty());
    }
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, d));
    EXPECT_TRUE(tray_->shown.empty());
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, d));
}

TEST_F(NotifyIconTest, PointerActionsArriveAsTheCallbackWithTheMouseMessage) {
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, Record(owner_, LoadIcon(nullptr, IDI_APPLICATION), "tip")));
    const UINT dbl = GetDoubleClickTime();
    tray_->Pointer(TrayPointer::Move, TrayButton::NoButton, 10);
    tray_->Pointer(TrayPointer::Down, TrayButton::Left, 100);
    tray_->Pointer(TrayPointer::Up, TrayButton::Left, 150);
    tray_->Pointer(TrayPointer::Down, TrayButton::Left, 200);
    tray_->Pointer(TrayPointer::Up, TrayButton::Left, 250);
    // A third press starts a new click; a late second one is no double click.
    tray_->Pointer(TrayPointer::Down, TrayButton::Left, 300);
    tray_->Pointer(TrayPointer::Down, TrayButton::Left, 300 + dbl + 1);
    tray_->Pointer(TrayPointer::Down, TrayButton::Right, 5000);
    tray_->Pointer(TrayPointer::Up, TrayButton::Right, 5010);
    tray_->Pointer(TrayPointer::Down, TrayButton::Middle, 9000);
    EXPECT_EQ(MouseMessages(), (std::vector<LPARAM>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                                    WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                                                    WM_RBUTTONUP, WM_MBUTTONDOWN}));
    ASSERT_TRUE(callbacks.empty());
    tray_->Pointer(TrayPointer::Move, TrayButton::NoButton, 9100);
    PumpMessages();
    ASSERT_EQ(callbacks.size(), 1u);
    EXPECT_EQ(callbacks[0].hwnd, owner_);
    EXPECT_EQ(callbacks[0].wParam, 1u);
}

TEST_F(NotifyIconTest, WithoutATrayAddFailsAndANewTrayAsksForTheIconsAgain) {
    tray_->available = false;
    const NOTIFYICONDATA d = Record(owner_, LoadIcon(nullptr, IDI_APPLICATION), "tip");
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, d));
    EXPECT_EQ(ShellNotifyIconError(), "the desktop has no system tray to show the icon in");

    tray_->available = true;
    const UINT created = RegisterWindowMessage("TaskbarCreated");
    EXPECT_EQ(RegisterWindowMessage("taskbarcreated"), created);
    EXPECT_GE(created, 0xC000u);
    tray_->NewTray();
    PumpMessages();
    ASSERT_EQ(callbacks.size(), 1u);
    EXPECT_EQ(callbacks[0].message, created);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, d));
    // A tray that restarts forgets the icons: they are added anew.
    tray_->NewTray();
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, d));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, d));
}

// --- the real tray ----------------------------------------------------------------------

TEST(NotifyIconDesktop, TheIconDocksIntoTrayerAndAClickReachesTheCallback) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, true, [&] { return TrayOwned(desktop.display()); })) << desktop.error();
    auto backend = std::make_unique<HeadlessBackend>(800, 600);
    auto session = std::make_unique<WindowSystemSession>(std::move(backend));
    SetTrayHost(OpenX11TrayHost());
    callbacks.clear();
    const HWND owner = MakeCallbackWindow();
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, Record(owner, LoadIcon(nullptr, IDI_ERROR), "Mirvo tray")))
        << ShellNotifyIconError();

    DockedWindow icon;
    bool docked = false;
    for (int i = 0; i < 100 && !docked; ++i) {
        PollTray();
        docked = FindDockedWindow(desktop.display(), "Mirvo tray", icon);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(docked) << "the icon window was not embedded into the tray";
    for (int i = 0; i < 10; ++i) {
        PollTray();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    // The icon's red disc shows in the tray.
    const ScratchFolder scratch;
    const std::string shot = (scratch / "tray.png").string();
    desktop.Run("import -window root " + shot);
    const std::string centre = desktop.Output("convert " + shot + " -format '%[pixel:p{" + std::to_string(icon.x + icon.width / 2) +
                                              "," + std::to_string(icon.y + icon.height / 4) + "}]' info:");
    EXPECT_NE(centre.find("srgb"), std::string::npos) << centre;
    int r = 0, g = 0, b = 0;
    std::sscanf(centre.c_str(), "srgb(%d,%d,%d)", &r, &g, &b);
    EXPECT_GT(r, 150) << centre;
    EXPECT_LT(g, 120) << centre;

    desktop.Run("xdotool mousemove " + std::to_string(icon.x + icon.width / 2) + " " + std::to_string(icon.y + icon.height / 2) +
                " click 1");
    std::vector<LPARAM> got;
    for (int i = 0; i < 100 && got.size() < 2; ++i) {
        PollTray();
        PumpMessages();
        got.clear();
        for (const MSG& m : callbacks)
            if (m.message == kCallback && m.lParam != WM_MOUSEMOVE) got.push_back(m.lParam);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    EXPECT_EQ(got, (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, Record(owner, nullptr, "")));
    SetTrayHost(nullptr);
    session.reset();
}

TEST(NotifyIconDesktop, WithNoTrayOnTheDesktopAddFails) {
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Start(true, false)) << desktop.error();
    auto session = std::make_unique<WindowSystemSession>(std::make_unique<HeadlessBackend>(800, 600));
    SetTrayHost(OpenX11TrayHost());
    const HWND owner = MakeCallbackWindow();
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, Record(owner, LoadIcon(nullptr, IDI_ERROR), "t")));
    EXPECT_EQ(ShellNotifyIconError(), "the desktop has no system tray to show the icon in");
    SetTrayHost(nullptr);
    session.reset();
}

}  // namespace
