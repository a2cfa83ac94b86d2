// Pointer shapes from the X server's cursor font (themed by Xcursor where the
// desktop has a theme), and an invisible one for "no cursor".

#include "X11Backend.h"

#include <X11/cursorfont.h>

#include "Windows.h"

namespace {

unsigned FontShape(int id) {
    switch (id) {
    case IDC_IBEAM: return XC_xterm;
    case IDC_WAIT: return XC_watch;
    case IDC_APPSTARTING: return XC_watch;
    case IDC_CROSS: return XC_crosshair;
    case IDC_SIZENWSE: return XC_bottom_right_corner;
    case IDC_SIZENESW: return XC_bottom_left_corner;
    case IDC_SIZEWE: return XC_sb_h_double_arrow;
    case IDC_SIZENS: return XC_sb_v_double_arrow;
    case IDC_UPARROW: return XC_sb_up_arrow;
    case IDC_SIZEALL: return XC_fleur;
    case IDC_NO: return XC_X_cursor;
    case IDC_HAND: return XC_hand2;
    case IDC_HELP: return XC_question_arrow;
    default: return XC_left_ptr;
    }
}

}  // namespace

Cursor X11Backend::CursorFor(int cursorId) {
    Cursor& c = cursors_[cursorId];
    if (c) return c;
    if (cursorId == 0) {
        const char empty[1] = {0};
        const Pixmap blank = XCreateBitmapFromData(display_, root_, empty, 1, 1);
        XColor black{};
        c = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
        XFreePixmap(display_, blank);
    } else {
        c = XCreateFontCursor(display_, FontShape(cursorId));
    }
    return c;
}

void X11Backend::SetPointerShape(int cursorId) {
    if (cursorId == cursorId_) return;
    cursorId_ = cursorId;
    const Cursor c = CursorFor(cursorId);
    for (auto& [h, n] : windows_)
        if (n.window) XDefineCursor(display_, n.window, c);
    XFlush(display_);
}
