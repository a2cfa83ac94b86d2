// Desktop hotkeys on the virtual screen: a key is either the program's,
// another program's, or free; tests press it as the desktop would.

#include <algorithm>

#include "HeadlessBackend.h"

bool HeadlessBackend::GrabHotkey(unsigned modifiers, int vk) {
    const std::pair key{modifiers, vk};
    if (std::ranges::find(keysHeldElsewhere_, key) != keysHeldElsewhere_.end()) return false;
    if (std::ranges::find(grabbedKeys_, key) == grabbedKeys_.end()) grabbedKeys_.push_back(key);
    return true;
}

void HeadlessBackend::UngrabHotkey(unsigned modifiers, int vk) { std::erase(grabbedKeys_, std::pair{modifiers, vk}); }

void HeadlessBackend::HoldHotkeyElsewhere(unsigned modifiers, int vk) { keysHeldElsewhere_.emplace_back(modifiers, vk); }

bool HeadlessBackend::PressHotkey(unsigned modifiers, int vk) {
    if (std::ranges::find(grabbedKeys_, std::pair{modifiers, vk}) == grabbedKeys_.end()) return false;
    BackendEvent ev;
    ev.kind = EventKind::Hotkey;
    ev.modifiers = modifiers;
    ev.vk = vk;
    Push(std::move(ev));
    return true;
}
