#pragma once
// The backend for the real desktop: the X server named by $DISPLAY.

#include <memory>

#include "Backend.h"

// Throws EInvalidOperation when no display can be opened.
std::unique_ptr<Backend> OpenDesktopBackend();
