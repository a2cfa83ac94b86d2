#pragma once
// Looking up from anywhere on the desktop: requests handed over by later
// starts of the program (a word, the selected text, or just "come to the
// front"), and the desktop hotkey that looks up the selected text. Each
// brings the main window up (from the tray, from being minimised, from
// behind other windows), gives it the focus, and looks the word up the way
// the translate button does: the word goes into the word box and the
// button's handler runs.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HotkeySetting.h"
#include "InstanceChannel.h"
#include "WinTypes.h"
#include "WindowRequest.h"

class TFrmMain;

class LookUpAnywhere {
public:
    // `server` may be null (no private folder for the socket): later starts
    // then open windows of their own. `hotkeyText` is the user's setting
    // (empty: no hotkey).
    LookUpAnywhere(TFrmMain& form, std::unique_ptr<InstanceServer> server, std::string hotkeyText);
    ~LookUpAnywhere();
    LookUpAnywhere(const LookUpAnywhere&) = delete;
    LookUpAnywhere& operator=(const LookUpAnywhere&) = delete;

    // Carries the request out once the window has read its words.
    void PostRequest(const WindowRequest& request);
    // Carries the request out now.
    void Carry(const WindowRequest& request);

    HWND Handle() const { return hwnd_; }
    bool HotkeyHeld() const { return hotkeyHeld_; }

private:
    struct Peer {
        int fd = -1;
        std::string received;
        DWORD since = 0;
    };

    static LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void AcceptPeers();
    void ReadPeer(int fd);
    void DropPeer(int fd);
    void DropStalledPeers();
    void TakeHotkey();
    void BringWindowUp();
    void LookUp(const AnsiString& word);

    TFrmMain& form_;
    std::unique_ptr<InstanceServer> server_;
    std::string hotkeyText_;
    std::optional<HotkeySpec> hotkey_;
    bool hotkeyHeld_ = false;
    HWND hwnd_ = nullptr;
    std::vector<Peer> peers_;
    std::vector<WindowRequest> waiting_;  // posted before the words were read
};
