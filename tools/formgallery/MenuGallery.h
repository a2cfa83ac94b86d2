#pragma once
// The skinned popup menus in one picture (formgallery --menus).

#include <string>

// Draws an open menu with a submenu, a highlighted, a disabled and a checked
// item, a header, a separator and a scrolled menu, with the skin and in the
// built-in look, on the headless screen and saves it as a PNG. 0 on success.
int RunMenuGallery(const std::string& png, const std::string& skinIni);
