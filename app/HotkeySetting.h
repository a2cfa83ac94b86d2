#pragma once
// The desktop hotkey that looks up the selected text: Ctrl+Alt+Z unless the
// user's settings file names another ([Hotkey] Key=) or none (an empty Key).

#include <optional>
#include <string>
#include <string_view>

struct HotkeySpec {
    unsigned Modifiers = 0;  // MOD_CONTROL, MOD_ALT, MOD_SHIFT, MOD_WIN
    unsigned Vk = 0;         // a letter, a digit, F1 to F12 or Space

    bool operator==(const HotkeySpec&) const = default;
};

inline constexpr std::string_view kDefaultHotkey = "Ctrl+Alt+Z";

// "Ctrl+Alt+Z", "shift+win+f5", "Ctrl + Space": modifiers and one key joined
// by '+', in any case; none when that is not what the text says, or when it
// has no modifier (a plain letter taken from every program is no hotkey).
std::optional<HotkeySpec> ParseHotkey(std::string_view text);

// The user's settings file: $XDG_CONFIG_HOME/mirvodict/mirvodict.ini, or
// ~/.config/mirvodict/mirvodict.ini; empty when neither place is known.
std::string UserSettingsFile();

// The Key setting of `settingsFile`, as written; the default when the file
// or the key is missing; empty when the user turned the hotkey off.
std::string HotkeySetting(const std::string& settingsFile);
