// Message numbers registered by name: the same name (letter case aside) gives
// the same number for the life of the process, from 0xC000 up.

#include <map>
#include <string>

#include "SysUtils.h"
#include "Windows.h"

UINT RegisterWindowMessage(const char* name) {
    if (!name || !*name) return 0;
    static std::map<std::string, UINT> registered;
    static UINT next = 0xC000;
    std::string key = name;
    for (char& c : key) c = AsciiUpper(c);
    const auto found = registered.find(key);
    if (found != registered.end()) return found->second;
    if (next > 0xFFFF) return 0;
    registered.emplace(key, next);
    return next++;
}
