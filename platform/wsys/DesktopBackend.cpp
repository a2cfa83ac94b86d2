#include "DesktopBackend.h"

#include "X11Backend.h"

std::unique_ptr<Backend> OpenDesktopBackend() { return std::make_unique<X11Backend>(); }

int DesktopScale() { return X11Backend::OpenScale(); }
