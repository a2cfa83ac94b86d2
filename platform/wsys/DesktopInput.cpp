// Desktop hotkeys and watched descriptors: the window system's side. The
// backend grabs the keys and wakes the wait; here they become messages.

#include "DesktopInput.h"

#include <poll.h>

#include <algorithm>

#include "WindowSystemState.h"

namespace {
void TellBackendWatches(WindowSystem& s) {
    std::vector<int> fds;
    for (const auto& w : s.readableWatches_) fds.push_back(w.fd);
    s.backend().WatchReadable(fds);
}
}  // namespace

void WindowSystem::HandleHotkey(const BackendEvent& ev) {
    for (const HotkeyEntry& h : hotkeys_) {
        if (h.modifiers != ev.modifiers || h.vk != ev.vk || !Find(h.hwnd)) continue;
        Post(h.hwnd, WM_HOTKEY, WPARAM(h.id), LPARAM((ev.modifiers & 0xFFFF) | (unsigned(ev.vk) << 16)));
        return;
    }
}

bool WindowSystem::PostReadable() {
    if (readableWatches_.empty()) return false;
    std::vector<pollfd> fds;
    for (const auto& w : readableWatches_) fds.push_back({w.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), 0) <= 0) return false;
    bool posted = false;
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ReadableWatch w = readableWatches_[i];
        const bool waiting = std::any_of(posted_.begin(), posted_.end(), [&](const MSG& m) {
            return m.hwnd == w.hwnd && m.message == w.message && m.wParam == WPARAM(w.fd);
        });
        if (waiting || !Find(w.hwnd)) continue;
        Post(w.hwnd, w.message, WPARAM(w.fd), 0);
        posted = true;
    }
    return posted;
}

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    WindowSystem& s = Sys();
    if (!s.Find(hwnd)) return FALSE;
    for (const auto& h : s.hotkeys_)
        if ((h.hwnd == hwnd && h.id == id) || (h.modifiers == modifiers && h.vk == int(vk))) return FALSE;
    if (!s.backend().GrabHotkey(modifiers, int(vk))) return FALSE;
    s.hotkeys_.push_back({hwnd, id, modifiers, int(vk)});
    return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
    WindowSystem& s = Sys();
    auto it = std::find_if(s.hotkeys_.begin(), s.hotkeys_.end(),
                           [&](const auto& h) { return h.hwnd == hwnd && h.id == id; });
    if (it == s.hotkeys_.end()) return FALSE;
    s.backend().UngrabHotkey(it->modifiers, it->vk);
    s.hotkeys_.erase(it);
    return TRUE;
}

void WatchReadable(int fd, HWND hwnd, UINT message) {
    WindowSystem& s = Sys();
    UnwatchReadable(fd);
    s.readableWatches_.push_back({fd, hwnd, message});
    TellBackendWatches(s);
}

void UnwatchReadable(int fd) {
    WindowSystem& s = Sys();
    const auto removed = std::erase_if(s.readableWatches_, [&](const auto& w) { return w.fd == fd; });
    if (removed) TellBackendWatches(s);
}

std::string GetPrimarySelectionUtf8() { return Sys().backend().PrimarySelectionUtf8(); }
std::string GetClipboardUtf8() { return Sys().backend().ClipboardUtf8(); }
