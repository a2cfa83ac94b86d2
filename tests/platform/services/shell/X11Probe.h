#pragma once
// Looking at a real X display from a test, kept apart from the test files so
// that X11's macros stay out of them.

#include <string>

struct DockedWindow {
    int x = 0, y = 0;  // on the screen
    int width = 0, height = 0;
};

// Whether someone owns the screen's system tray selection.
bool TrayOwned(const std::string& display);
// The window named `name`, when it is shown inside another window (embedded)
// rather than straight on the root window.
bool FindDockedWindow(const std::string& display, const std::string& name, DockedWindow& out);
