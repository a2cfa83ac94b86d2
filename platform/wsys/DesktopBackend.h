#pragma once
// The backend for the real desktop: the X server named by $DISPLAY.

#include <memory>

#include "Backend.h"

// Throws EInvalidOperation when no display can be opened.
std::unique_ptr<Backend> OpenDesktopBackend();
// The whole-number scale of the opened desktop backend (1 when none is
// open): what the desktop's other parts (the tray icon) enlarge by.
int DesktopScale();
