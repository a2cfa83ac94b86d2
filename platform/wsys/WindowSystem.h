#pragma once
// Starting and stopping the process's one window system, and the calls a
// program loop or a test uses around the platform calls of Windows.h.

#include <memory>

#include "Backend.h"

// Runs the window system over `backend` for its lifetime; destroying it
// destroys every window that is left. Only one may exist at a time.
class WindowSystemSession {
public:
    explicit WindowSystemSession(std::unique_ptr<Backend> backend);
    ~WindowSystemSession();
    WindowSystemSession(const WindowSystemSession&) = delete;
    WindowSystemSession& operator=(const WindowSystemSession&) = delete;

    Backend& backend();
};

bool WindowSystemRunning();

// Handles everything that is waiting (posted messages, input, painting, due
// timers) without blocking, then shows what changed. Returns false when
// WM_QUIT was met (it stays pending for GetMessage).
bool PumpMessages();

// Shows every painted but not yet shown part of the top-level windows.
void PresentChanges();

// How many MessageBeep calls were made (there is no sound).
int BeepCount();
