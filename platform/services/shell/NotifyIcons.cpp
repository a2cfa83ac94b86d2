// The notification icon records: what the program asked for, per (window,
// number), the tray host that shows them, and the translation of the pointer
// on an icon into the callback message. A hidden window's timer collects the
// tray's news from the message loop.

#include <map>
#include <utility>

#include "ShellApi.h"
#include "TrayHost.h"
#include "Windows.h"

namespace {

constexpr UINT kPollMs = 40;
constexpr const char* kPollClass = "TrayPoll";

struct IconRecord {
    int hostId = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    IconPixels picture;
    std::string tipUtf8;
};

struct Click {
    TrayButton button = TrayButton::NoButton;
    std::uint32_t time = 0;
    bool valid = false;
};

struct TrayState {
    std::unique_ptr<TrayHost> host;
    bool hostChosen = false;
    std::map<std::pair<HWND, UINT>, IconRecord> icons;
    int nextHostId = 1;
    HWND pollWindow = nullptr;
    Click lastDown;
    std::string error;
};

TrayState& State() {
    static TrayState state;
    return state;
}

void Forget(TrayState& s) {
    for (const auto& [key, record] : s.icons)
        if (s.host) s.host->Remove(record.hostId);
    s.icons.clear();
    s.lastDown = {};
}

void OnPointer(const TrayPointerEvent& e);
void OnTrayCreated();

void AttachHost(TrayState& s, std::unique_ptr<TrayHost> host) {
    Forget(s);
    s.host = std::move(host);
    if (!s.host) return;
    s.host->OnPointer = OnPointer;
    s.host->OnTrayCreated = OnTrayCreated;
}

LRESULT PollProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        PollTray();
        return 0;
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

// The host in use, chosen on first use; the poll timer runs from then on in
// the current window system (a new window system gets a new timer, and the
// icons of the old one are forgotten).
TrayHost* Host() {
    TrayState& s = State();
    if (!s.hostChosen) {
        s.hostChosen = true;
        AttachHost(s, OpenX11TrayHost());
    }
    if (!s.pollWindow || !IsWindow(s.pollWindow)) {
        if (s.pollWindow) Forget(s);
        WNDCLASS existing;
        if (!GetClassInfo(kPollClass, existing)) {
            WNDCLASS wc;
            wc.lpfnWndProc = PollProc;
            wc.lpszClassName = kPollClass;
            RegisterClass(wc);
        }
        s.pollWindow = CreateWindowEx(WS_EX_TOOLWINDOW, kPollClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
        if (s.pollWindow) SetTimer(s.pollWindow, 1, kPollMs);
    }
    return s.host.get();
}

UINT MouseMessage(TrayPointer kind, TrayButton button, bool doubleClick) {
    if (kind == TrayPointer::Move) return WM_MOUSEMOVE;
    switch (button) {
    case TrayButton::Left: return kind == TrayPointer::Up ? WM_LBUTTONUP : doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    case TrayButton::Right: return kind == TrayPointer::Up ? WM_RBUTTONUP : doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case TrayButton::Middle: return kind == TrayPointer::Up ? WM_MBUTTONUP : doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    default: return 0;
    }
}

void OnPointer(const TrayPointerEvent& e) {
    TrayState& s = State();
    for (const auto& [key, record] : s.icons) {
        if (record.hostId != e.icon) continue;
        bool doubleClick = false;
        if (e.kind == TrayPointer::Down) {
            // A second press of the same button soon after the first is a
            // double click; the press after that starts over.
            doubleClick = s.lastDown.valid && s.lastDown.button == e.button &&
                          e.time - s.lastDown.time <= GetDoubleClickTime();
            s.lastDown = doubleClick ? Click{} : Click{e.button, e.time, true};
        }
        const UINT mouse = MouseMessage(e.kind, e.button, doubleClick);
        if (mouse && (record.flags & NIF_MESSAGE) && IsWindow(key.first))
            PostMessage(key.first, record.callbackMessage, WPARAM(key.second), LPARAM(mouse));
        return;
    }
}

void OnTrayCreated() {
    TrayState& s = State();
    // The new tray shows none of the old icons; the program adds them again.
    Forget(s);
    const UINT created = RegisterWindowMessage("TaskbarCreated");
    EnumWindows([&](HWND h) {
        if (h != s.pollWindow) PostMessage(h, created, 0, 0);
        return true;
    });
}

// The tip: the text before the first zero, at most the field's length for
// the record's size.
std::string Tip(const NOTIFYICONDATA& d) {
    const std::size_t limit = d.cbSize == NOTIFYICONDATA_V1_SIZE ? 64 : sizeof d.szTip;
    std::size_t n = 0;
    while (n < limit && d.szTip[n]) ++n;
    if (n == limit) --n;  // the field always ends in a zero
    return AnsiToUtf8(std::string_view(d.szTip, n));
}

BOOL Fail(std::string why) {
    State().error = std::move(why);
    return FALSE;
}

void Apply(IconRecord& r, const NOTIFYICONDATA& d) {
    r.flags |= d.uFlags;
    if (d.uFlags & NIF_MESSAGE) r.callbackMessage = d.uCallbackMessage;
    if (d.uFlags & NIF_ICON) {
        const IconPixels* p = IconPixelsOf(d.hIcon);
        r.picture = p ? *p : IconPixels{};
    }
    if (d.uFlags & NIF_TIP) r.tipUtf8 = Tip(d);
}

}  // namespace

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data) {
    TrayState& s = State();
    s.error.clear();
    if (data.cbSize != NOTIFYICONDATA_V1_SIZE && data.cbSize != NOTIFYICONDATA_V2_SIZE)
        return Fail("the record's cbSize is not a known size");
    if (!IsWindow(data.hWnd)) return Fail("the record's window does not exist");
    TrayHost* host = Host();
    const auto key = std::make_pair(data.hWnd, data.uID);
    const auto found = s.icons.find(key);
    switch (message) {
    case NIM_ADD: {
        if (found != s.icons.end()) return Fail("the icon exists already");
        if ((data.uFlags & NIF_ICON) && !IconPixelsOf(data.hIcon)) return Fail("the record's icon does not exist");
        IconRecord record;
        record.hostId = s.nextHostId++;
        Apply(record, data);
        if (!host) return Fail("there is no display with a system tray");
        if (!host->Add(record.hostId, record.picture, record.tipUtf8))
            return Fail("the desktop has no system tray to show the icon in");
        s.icons.emplace(key, std::move(record));
        return TRUE;
    }
    case NIM_MODIFY:
        if (found == s.icons.end()) return Fail("there is no such icon");
        if ((data.uFlags & NIF_ICON) && !IconPixelsOf(data.hIcon)) return Fail("the record's icon does not exist");
        Apply(found->second, data);
        if (host) host->Update(found->second.hostId, found->second.picture, found->second.tipUtf8);
        return TRUE;
    case NIM_DELETE:
        if (found == s.icons.end()) return Fail("there is no such icon");
        if (host) host->Remove(found->second.hostId);
        s.icons.erase(found);
        return TRUE;
    default:
        return Fail("unknown message");
    }
}

const std::string& ShellNotifyIconError() { return State().error; }

void SetTrayHost(std::unique_ptr<TrayHost> host) {
    TrayState& s = State();
    // Without a host of its own the desktop's tray is opened on next use.
    s.hostChosen = host != nullptr;
    AttachHost(s, std::move(host));
}

void PollTray() {
    TrayState& s = State();
    if (s.host) s.host->Poll();
}
