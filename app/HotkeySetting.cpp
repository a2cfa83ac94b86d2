#include "HotkeySetting.h"

#include <cstdlib>
#include <vector>

#include "DesktopInput.h"
#include "IniFiles.h"
#include "SysUtils.h"
#include "VirtualKeys.h"

namespace {

std::optional<unsigned> KeyOf(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return unsigned(name[0] - 'a' + 'A');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return unsigned(name[0]);
    if (name == "space") return unsigned(VK_SPACE);
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
        const int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12 && name.find_first_not_of("0123456789", 1) == std::string::npos)
            return unsigned(VK_F1 + n - 1);
    }
    return std::nullopt;
}

}  // namespace

std::optional<HotkeySpec> ParseHotkey(std::string_view text) {
    HotkeySpec spec;
    std::optional<unsigned> key;
    while (true) {
        const std::size_t plus = text.find('+');
        const std::string part = LowerCase(Trim(text.substr(0, plus)));
        if (part == "ctrl" || part == "control") spec.Modifiers |= MOD_CONTROL;
        else if (part == "alt") spec.Modifiers |= MOD_ALT;
        else if (part == "shift") spec.Modifiers |= MOD_SHIFT;
        else if (part == "win" || part == "super" || part == "mod4") spec.Modifiers |= MOD_WIN;
        else if (!key && (key = KeyOf(part))) {}
        else return std::nullopt;
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    if (!key || spec.Modifiers == 0) return std::nullopt;
    spec.Vk = *key;
    return spec;
}

std::string UserSettingsFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/mirvodict/mirvodict.ini";
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return std::string(home) + "/.config/mirvodict/mirvodict.ini";
    return {};
}

std::string HotkeySetting(const std::string& settingsFile) {
    if (settingsFile.empty()) return std::string(kDefaultHotkey);
    const TMemIniFile ini(settingsFile);
    // The INI reader trims the value already.
    return ini.ReadString("Hotkey", "Key", kDefaultHotkey);
}
