#pragma once
// Where notification icons are shown: the desktop's system tray. The shell's
// icon records (ShellApi.h) keep the program's view; a host only shows
// pictures with tips and reports the pointer on them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Icons.h"

enum class TrayPointer { Move, Down, Up };
enum class TrayButton { NoButton, Left, Right, Middle };

struct TrayPointerEvent {
    int icon = 0;  // the host's number of the icon
    TrayPointer kind = TrayPointer::Move;
    TrayButton button = TrayButton::NoButton;
    std::uint32_t time = 0;  // milliseconds, on the host's own clock
};

class TrayHost {
public:
    virtual ~TrayHost() = default;

    // Shows an icon under the number `icon`; false when there is no tray to
    // show it in (or it refused).
    virtual bool Add(int icon, const IconPixels& picture, const std::string& tipUtf8) = 0;
    virtual void Update(int icon, const IconPixels& picture, const std::string& tipUtf8) = 0;
    virtual void Remove(int icon) = 0;
    // Handles what the desktop reported since the last call, without waiting.
    virtual void Poll() = 0;

    // The pointer on an icon.
    std::function<void(const TrayPointerEvent&)> OnPointer;
    // A tray appeared (a new one, or one after none): every icon it showed is
    // gone and must be added again.
    std::function<void()> OnTrayCreated;
};

// The system tray of the X display named by $DISPLAY (the freedesktop system
// tray protocol), or null when there is no display to open.
std::unique_ptr<TrayHost> OpenX11TrayHost();
