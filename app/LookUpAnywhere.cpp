#include "LookUpAnywhere.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "DesktopInput.h"
#include "Forms.h"
#include "Windows.h"
#include "main.h"

namespace {

constexpr char kClassName[] = "MirvoLookUpAnywhere";
constexpr UINT WM_PEER_READABLE = WM_APP + 0x40;   // wParam: the descriptor
constexpr UINT WM_LISTEN_READABLE = WM_APP + 0x41;
constexpr UINT WM_CARRY_WAITING = WM_APP + 0x42;
constexpr int kHotkeyId = 1;
constexpr UINT_PTR kPeerTimer = 1;
// A peer that has not sent its whole request by then is let go, so one that
// connects and stalls never holds the window or a place in the queue.
constexpr DWORD kPeerPatienceMs = 1000;
constexpr std::size_t kMaxPeers = 16;
// The start-up's words are read in a message posted while the window shows;
// a request posted before that waits behind it, a bounded number of times.
constexpr int kMaxDeferrals = 50;

DWORD NowMs() { return GetTickCount(); }

}  // namespace

LookUpAnywhere::LookUpAnywhere(TFrmMain& form, std::unique_ptr<InstanceServer> server, std::string hotkeyText)
    : form_(form), server_(std::move(server)), hotkeyText_(std::move(hotkeyText)) {
    WNDCLASS wc;
    wc.lpfnWndProc = &LookUpAnywhere::WindowProc;
    wc.lpszClassName = kClassName;
    WNDCLASS existing;
    if (!GetClassInfo(kClassName, existing)) RegisterClass(wc);
    hwnd_ = CreateWindowEx(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE);
    SetWindowLongPtr(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (server_) WatchReadable(server_->ListenFd(), hwnd_, WM_LISTEN_READABLE);
    TakeHotkey();
}

LookUpAnywhere::~LookUpAnywhere() {
    for (const Peer& p : peers_) {
        UnwatchReadable(p.fd);
        close(p.fd);
    }
    if (server_) UnwatchReadable(server_->ListenFd());
    if (hotkeyHeld_) UnregisterHotKey(hwnd_, kHotkeyId);
    if (IsWindow(hwnd_)) {
        SetWindowLongPtr(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void LookUpAnywhere::TakeHotkey() {
    if (hotkeyText_.empty()) return;
    AnsiString problem;
    hotkey_ = ParseHotkey(hotkeyText_);
    if (!hotkey_) {
        problem = "快捷键设置“" + Utf8ToAnsi(hotkeyText_) + "”无法识别，查选中的词的快捷键未启用。";
    } else if (RegisterHotKey(hwnd_, kHotkeyId, hotkey_->Modifiers, hotkey_->Vk)) {
        hotkeyHeld_ = true;
        return;
    } else {
        problem = "快捷键 " + Utf8ToAnsi(hotkeyText_) + " 已被其他程序占用，查选中的词的快捷键未启用。";
    }
    // Said once, in the gloss pane, once the window is up; the dictionary
    // works on without the key.
    WindowRequest note;
    note.What = WindowRequest::Kind::Show;
    note.Word = problem;
    waiting_.push_back(note);
    PostMessage(hwnd_, WM_CARRY_WAITING, 0, 0);
}

void LookUpAnywhere::PostRequest(const WindowRequest& request) {
    waiting_.push_back(request);
    PostMessage(hwnd_, WM_CARRY_WAITING, 0, 0);
}

LRESULT LookUpAnywhere::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LookUpAnywhere*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProc(hwnd, msg, wParam, lParam);
    return self->Handle(msg, wParam, lParam);
}

LRESULT LookUpAnywhere::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LISTEN_READABLE:
        AcceptPeers();
        return 0;
    case WM_PEER_READABLE:
        ReadPeer(int(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kPeerTimer) DropStalledPeers();
        return 0;
    case WM_HOTKEY: {
        WindowRequest request;
        request.What = WindowRequest::Kind::Selection;
        Application->Guard(&form_, [&] { Carry(request); });
        return 0;
    }
    case WM_CARRY_WAITING: {
        // Before the window has shown and read its words a lookup would
        // find nothing: wait behind the start-up's own messages.
        if (!form_.WordsRead() && int(wParam) < kMaxDeferrals) {
            PostMessage(hwnd_, WM_CARRY_WAITING, wParam + 1, 0);
            return 0;
        }
        std::vector<WindowRequest> requests;
        requests.swap(waiting_);
        for (const WindowRequest& r : requests) {
            if (r.What == WindowRequest::Kind::Show && !r.Word.empty()) {
                form_.MemDetail->SetText(r.Word);  // a note for the gloss pane
                continue;
            }
            Application->Guard(&form_, [&] { Carry(r); });
        }
        return 0;
    }
    default:
        return DefWindowProc(hwnd_, msg, wParam, lParam);
    }
}

void LookUpAnywhere::AcceptPeers() {
    for (;;) {
        const int fd = server_->AcceptPeer();
        if (fd < 0) return;
        if (peers_.size() >= kMaxPeers) {
            close(fd);
            continue;
        }
        peers_.push_back({fd, {}, NowMs()});
        WatchReadable(fd, hwnd_, WM_PEER_READABLE);
        SetTimer(hwnd_, kPeerTimer, 250);
    }
}

void LookUpAnywhere::ReadPeer(int fd) {
    auto it = std::find_if(peers_.begin(), peers_.end(), [&](const Peer& p) { return p.fd == fd; });
    if (it == peers_.end()) return;
    char buffer[1024];
    for (;;) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (n <= 0) {
            DropPeer(fd);  // gone before its request was whole
            return;
        }
        it->received.append(buffer, std::size_t(n));
        const std::size_t end = it->received.find('\n');
        if (end == std::string::npos) {
            // More than a request can hold, and still no line end.
            if (it->received.size() >= kMaxInstanceMessage) {
                DropPeer(fd);
                return;
            }
            continue;
        }
        const std::optional<WindowRequest> request = DecodeWindowRequest(std::string_view(it->received).substr(0, end));
        if (request) send(fd, "ok\n", 3, MSG_DONTWAIT | MSG_NOSIGNAL);
        DropPeer(fd);
        if (request) Application->Guard(&form_, [&] { Carry(*request); });
        return;
    }
}

void LookUpAnywhere::DropPeer(int fd) {
    UnwatchReadable(fd);
    close(fd);
    std::erase_if(peers_, [&](const Peer& p) { return p.fd == fd; });
    if (peers_.empty()) KillTimer(hwnd_, kPeerTimer);
}

void LookUpAnywhere::DropStalledPeers() {
    const DWORD now = NowMs();
    std::vector<int> stalled;
    for (const Peer& p : peers_)
        if (now - p.since >= kPeerPatienceMs) stalled.push_back(p.fd);
    for (const int fd : stalled) DropPeer(fd);
}

void LookUpAnywhere::Carry(const WindowRequest& request) {
    BringWindowUp();
    // While a dialog of the window waits for an answer (an import's
    // question, the open dialog) the window only comes up: the word box and
    // the lists belong to the dialog's outcome.
    if (!IsWindowEnabled(form_.Handle())) return;
    switch (request.What) {
    case WindowRequest::Kind::Show:
        return;
    case WindowRequest::Kind::Word:
        LookUp(request.Word);
        return;
    case WindowRequest::Kind::Selection: {
        AnsiString word = WordFromSelection(GetPrimarySelectionUtf8());
        if (word.empty()) word = WordFromSelection(GetClipboardUtf8());
        // Nothing selected anywhere: the window comes up as it was.
        if (!word.empty()) LookUp(word);
        return;
    }
    }
}

void LookUpAnywhere::BringWindowUp() {
    if (!form_.Visible()) {
        if (form_.bsSkinForm1 && form_.bsSkinForm1->TrayIcon()) form_.bsSkinForm1->RestoreFromTray();
        if (!form_.Visible()) form_.Show();
    }
    if (Application->Minimized()) Application->Restore();
    if (IsIconic(form_.Handle())) ShowWindow(form_.Handle(), SW_RESTORE);
    form_.BringToFront();
    SetForegroundWindow(form_.Handle());
}

void LookUpAnywhere::LookUp(const AnsiString& word) {
    form_.EdWord->SetText(word);
    form_.BtTranClick(form_.BtTran);
}
