#pragma once
// Keys of the whole desktop, descriptors watched by the message loop, and
// the desktop's selections as the desktop holds them.
// A registered hotkey posts WM_HOTKEY (wParam: its id, lParam: modifiers in
// the low word, virtual key in the high word) to its window wherever the
// focus is. A watched descriptor posts its message to its window whenever it
// has input and none of that message is waiting, so a socket is served from
// the one GUI thread without blocking it.

#include <string>

#include "WinTypes.h"

inline constexpr UINT MOD_ALT = 0x0001;
inline constexpr UINT MOD_CONTROL = 0x0002;
inline constexpr UINT MOD_SHIFT = 0x0004;
inline constexpr UINT MOD_WIN = 0x0008;

// FALSE when the key is registered already, or another program holds it.
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
BOOL UnregisterHotKey(HWND hwnd, int id);

void WatchReadable(int fd, HWND hwnd, UINT message);
void UnwatchReadable(int fd);

// The primary selection and the clipboard, UTF-8 as their owners gave them
// (empty when there is none or the owner does not answer in time).
std::string GetPrimarySelectionUtf8();
std::string GetClipboardUtf8();
