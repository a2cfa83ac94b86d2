#pragma once
// The open dialog's pictures for folders, files, drives and the home folder,
// drawn from shapes at any size (the dialog uses 16 and 32 pixels).

#include <string>

#include "Icons.h"

enum class ShellIconArt { Folder, File, Drive, Home };

IconPixels DrawShellIcon(ShellIconArt art, int size);
// The file name stem under dat/icons: "shell-folder" ...
std::string ShellIconFileStem(ShellIconArt art);
