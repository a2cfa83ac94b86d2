// The process's one window system: its creation over a backend, its end, and
// the non-blocking pump used by program loops and tests.

#include "WindowSystem.h"

#include "Exceptions.h"
#include "WindowSystemState.h"

namespace {
// The owner, and a plain pointer that stays valid while the system is being
// torn down (window procedures may still call in then).
std::unique_ptr<WindowSystem> g_owner;
WindowSystem* g_system = nullptr;
}

WindowSystem& Sys() {
    if (!g_system) throw EInvalidOperation("The window system is not running");
    return *g_system;
}

WindowSystem* SysOrNull() { return g_system; }

TRect ToWindowRect(const Window* w) { return {0, 0, w->Width(), w->Height()}; }

WindowSystem::WindowSystem(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {
    auto desk = std::make_unique<Window>();
    desk->handle = NewHandle();
    auto monitors = backend_->Monitors();
    TRect all;
    for (const auto& m : monitors) all = UnionRect(all, m.bounds);
    desk->rect = all;
    desk->client = {0, 0, all.Width(), all.Height()};
    desk->style = WS_VISIBLE | WS_CLIPCHILDREN;
    auto entry = std::make_shared<WindowClassEntry>();
    entry->name = "#32769";
    desk->cls = entry;
    desktop_ = desk.get();
    windows_.emplace(reinterpret_cast<std::uintptr_t>(desk->handle), std::move(desk));
}

WindowSystem::~WindowSystem() {
    // Top-level windows go first, each taking its children and owned windows.
    while (!desktop_->children.empty()) {
        Window* w = desktop_->children.back();
        Destroy(w);
        if (!desktop_->children.empty() && desktop_->children.back() == w) RemoveChild(desktop_, w);
    }
    dcs_.clear();
    graveyard_.clear();
}

WindowSystemSession::WindowSystemSession(std::unique_ptr<Backend> backend) {
    if (g_system) throw EInvalidOperation("A window system is already running");
    if (!backend) throw EInvalidOperation("A window system needs a backend");
    g_owner = std::make_unique<WindowSystem>(std::move(backend));
    g_system = g_owner.get();
}

WindowSystemSession::~WindowSystemSession() {
    std::unique_ptr<WindowSystem> owner = std::move(g_owner);
    owner.reset();
    g_system = nullptr;
}

Backend& WindowSystemSession::backend() { return Sys().backend(); }

bool WindowSystemRunning() { return g_system != nullptr; }

bool PumpMessages() {
    WindowSystem& s = Sys();
    MSG msg;
    while (s.NextMessage(msg, nullptr, 0, 0, true, false)) {
        if (msg.message == WM_QUIT) {
            // Left for the program's own GetMessage loop to see.
            s.quitPending_ = true;
            s.quitCode_ = int(msg.wParam);
            s.Present();
            return false;
        }
        TranslateMessage(msg);
        s.Dispatch(msg);
    }
    s.Present();
    return true;
}

void PresentChanges() { Sys().Present(); }

int BeepCount() { return Sys().beeps_; }

BOOL MessageBeep(UINT) {
    ++Sys().beeps_;
    return TRUE;
}
