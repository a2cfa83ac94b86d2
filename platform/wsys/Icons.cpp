#include "Icons.h"

#include <map>
#include <memory>

namespace {

// Handles are numbers counted up from 1 and never reused, so a stale handle
// cannot reach a newer icon.
struct IconTable {
    std::uintptr_t next = 1;
    std::map<std::uintptr_t, std::unique_ptr<IconPixels>> icons;
};

IconTable& Table() {
    static IconTable table;
    return table;
}

std::uintptr_t Key(HICON icon) { return reinterpret_cast<std::uintptr_t>(icon); }

}  // namespace

HICON CreateIconFromPixels(IconPixels pixels) {
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.argb.size() != std::size_t(pixels.width) * std::size_t(pixels.height))
        return nullptr;
    IconTable& table = Table();
    const std::uintptr_t key = table.next++;
    table.icons.emplace(key, std::make_unique<IconPixels>(std::move(pixels)));
    return reinterpret_cast<HICON>(key);
}

const IconPixels* IconPixelsOf(HICON icon) {
    const IconTable& table = Table();
    const auto found = table.icons.find(Key(icon));
    return found == table.icons.end() ? nullptr : found->second.get();
}

BOOL DestroyIcon(HICON icon) { return Table().icons.erase(Key(icon)) ? TRUE : FALSE; }
