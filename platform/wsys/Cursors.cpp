// The standard pointer shapes. A cursor handle carries its IDC_ number; the
// backend shows the matching shape of the desktop.

#include <algorithm>
#include <array>

#include "WindowSystemState.h"

namespace {
constexpr std::array kStandardCursors{IDC_ARROW,    IDC_IBEAM,   IDC_WAIT,   IDC_CROSS,  IDC_UPARROW,
                                      IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL,
                                      IDC_NO,       IDC_HAND,    IDC_APPSTARTING, IDC_HELP};
}

HCURSOR LoadCursor(void* instance, int cursorId) {
    if (instance) return nullptr;
    if (std::find(kStandardCursors.begin(), kStandardCursors.end(), cursorId) == kStandardCursors.end()) return nullptr;
    return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(cursorId));
}

int CursorId(HCURSOR cursor) { return int(reinterpret_cast<std::uintptr_t>(cursor)); }

HCURSOR SetCursor(HCURSOR cursor) {
    WindowSystem& s = Sys();
    const HCURSOR old = s.cursor_;
    if (old != cursor) {
        s.cursor_ = cursor;
        s.backend().SetPointerShape(CursorId(cursor));
    }
    return old;
}

HCURSOR GetCursor() { return Sys().cursor_; }

int CursorVisibleHeight(HCURSOR cursor) {
    // Shapes with the hot spot at their tip reach their full height below it;
    // centred ones (I-beam, cross, arrows to size) only their lower half.
    switch (CursorId(cursor)) {
    case IDC_IBEAM:
        return 9;
    case IDC_CROSS:
        return 8;
    case IDC_SIZENWSE:
    case IDC_SIZENESW:
    case IDC_SIZEWE:
    case IDC_SIZENS:
    case IDC_SIZEALL:
    case IDC_WAIT:
    case IDC_NO:
        return 10;
    case IDC_HAND:
    case IDC_UPARROW:
    case IDC_APPSTARTING:
    case IDC_HELP:
    case IDC_ARROW:
    default:
        return 20;
    }
}
