// SDL2 under X11 as the window system's screen. Measured behaviour this code
// relies on: the software framebuffer must be chosen before the first window
// surface (otherwise a shaped window loses its shape); borderless windows land
// exactly where asked; a shaped window stays off screen until its first shape;
// pointer positions come from the X server's own report of each pointer event
// (SDL passes each X event on just ahead of its own), otherwise from event
// coordinates plus the native window's position; Alt+Space also reports a
// text " " (dropped by the window system).

#include "SdlBackend.h"

#include <SDL.h>
#include <SDL_shape.h>

#include <algorithm>
#include <string_view>

#include "Exceptions.h"
#include "SdlX11Desktop.h"
#include "TBitmap.h"
#include "WinMessages.h"
#include "Windows.h"

namespace {

int VirtualKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (k - SDLK_KP_1);
    switch (k) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
    }
}

SDL_SystemCursor SystemCursor(int id) {
    switch (id) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_APPSTARTING: return SDL_SYSTEM_CURSOR_WAITARROW;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS: case IDC_UPARROW: return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO: return SDL_SYSTEM_CURSOR_NO;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

TRect FromSdl(const SDL_Rect& r) { return {r.x, r.y, r.x + r.w, r.y + r.h}; }

}  // namespace

SdlBackend::SdlBackend() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Every window here is a shaped window, which SDL offers on X11 only. Left
    // to itself, SDL falls back to a driver that shows nothing (offscreen) when
    // no X display is reachable, and the program would run on unseen; so X11
    // is asked for, and any other driver (one forced through the environment)
    // counts as no display.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0)
        throw EInvalidOperation(std::string("Cannot open the display: ") + SDL_GetError());
    if (const char* driver = SDL_GetCurrentVideoDriver(); driver == nullptr || std::string_view(driver) != "x11") {
        const std::string name = driver ? driver : "none";
        SDL_Quit();
        throw EInvalidOperation("Cannot open the display: no X11 display (video driver " + name + ")");
    }
    KeepXErrorsFromEndingTheProgram();
    ReceiveXEvents();
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() {
    for (auto& [h, n] : windows_)
        if (n.window) SDL_DestroyWindow(n.window);
    windows_.clear();
    for (auto& [id, c] : cursors_) SDL_FreeCursor(c);
    SDL_Quit();
}

std::vector<MonitorDesc> SdlBackend::Monitors() {
    if (monitors_) return *monitors_;
    std::vector<MonitorDesc> out;
    const int n = SDL_GetNumVideoDisplays();
    for (int i = 0; i < n; ++i) {
        SDL_Rect b, u;
        if (SDL_GetDisplayBounds(i, &b) != 0) continue;
        if (SDL_GetDisplayUsableBounds(i, &u) != 0) u = b;
        out.push_back({FromSdl(b), FromSdl(u)});
    }
    if (out.empty()) out.push_back({{0, 0, 1024, 768}, {0, 0, 1024, 768}});
    monitors_ = out;
    return out;
}

std::uint64_t SdlBackend::Now() { return SDL_GetTicks64(); }

void SdlBackend::Sleep(unsigned ms) { SDL_Delay(ms); }

SdlBackend::Native* SdlBackend::ByWindowId(std::uint32_t id, HWND* hwnd) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    for (auto& [h, n] : windows_)
        if (n.window == w && w) {
            if (hwnd) *hwnd = h;
            return &n;
        }
    return nullptr;
}

void SdlBackend::Translate(const SDL_Event& e) {
    if (e.type == SDL_DISPLAYEVENT) monitors_.reset();
    BackendEvent ev;
    switch (e.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const std::uint32_t id = e.type == SDL_MOUSEMOTION ? e.motion.windowID : e.button.windowID;
        Native* n = ByWindowId(id);
        if (!n) return;
        const int x = e.type == SDL_MOUSEMOTION ? e.motion.x : e.button.x;
        const int y = e.type == SDL_MOUSEMOTION ? e.motion.y : e.button.y;
        // The screen position is the one the X server reported with the
        // event. The event's position in the window plus the window's place
        // would be wrong for a window being moved: the X server measured
        // from where the window stood when the pointer moved, and the window
        // may have been moved since (a drag reads its moves one by one). The
        // sum serves only for events that came without a report (synthetic
        // moves do not update SDL's global pointer state either).
        // A press or release carries SDL's last known pointer position, not
        // the one the X server reported with it, so its report is taken as
        // it comes: the drag that a release ends must end where it happened.
        const bool button = e.type != SDL_MOUSEMOTION;
        if (pointerReport_ && pointerReport_->xwindow == XWindowOf(n->window) &&
            (button ? pointerReport_->button : pointerReport_->local == TPoint{x, y}))
            ev.pos = pointerReport_->root;
        else
            ev.pos = {n->state.rect.Left + x, n->state.rect.Top + y};
        lastPointer_ = ev.pos;
        if (e.type == SDL_MOUSEMOTION) {
            ev.kind = EventKind::MouseMove;
        } else {
            ev.kind = e.type == SDL_MOUSEBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp;
            if (e.button.button == SDL_BUTTON_LEFT) ev.button = MouseButton::Left;
            else if (e.button.button == SDL_BUTTON_RIGHT) ev.button = MouseButton::Right;
            else if (e.button.button == SDL_BUTTON_MIDDLE) ev.button = MouseButton::Middle;
            else return;
        }
        break;
    }
    case SDL_SYSWMEVENT:
        if (e.syswm.msg)
            if (auto report = PointerReportOf(*e.syswm.msg)) pointerReport_ = report;
        return;
    case SDL_MOUSEWHEEL: {
        int dy = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) dy = -dy;
        if (!dy) return;
        ev.kind = EventKind::Wheel;
        ev.pos = lastPointer_;
        ev.wheelDelta = dy * WHEEL_DELTA;
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        ev.kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        ev.vk = VirtualKey(e.key.keysym.sym);
        ev.repeat = e.key.repeat != 0;
        if (!ev.vk) return;
        break;
    case SDL_TEXTINPUT:
        ev.kind = EventKind::Text;
        ev.text = e.text.text;
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            if (Native* n = ByWindowId(e.window.windowID); n && n->visible) SDL_UpdateWindowSurface(n->window);
            return;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            focusDirty_ = true;
            return;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED: {
            // Only changes the desktop made are news: our own iconify and
            // restore come back here too.
            HWND hwnd = nullptr;
            Native* n = ByWindowId(e.window.windowID, &hwnd);
            const bool minimized = e.window.event == SDL_WINDOWEVENT_MINIMIZED;
            if (!n || n->iconified == minimized) return;
            n->iconified = minimized;
            if (minimized) n->visible = false;
            ev.kind = minimized ? EventKind::DesktopMinimize : EventKind::DesktopRestore;
            ev.hwnd = hwnd;
            break;
        }
        case SDL_WINDOWEVENT_CLOSE:
            ev.kind = EventKind::Quit;
            break;
        default:
            return;
        }
        break;
    case SDL_QUIT:
        ev.kind = EventKind::Quit;
        break;
    case SDL_DISPLAYEVENT:
        ev.kind = EventKind::DisplayChange;
        break;
    default:
        return;
    }
    pending_.push_back(std::move(ev));
}

bool SdlBackend::PollEvent(BackendEvent& event) {
    SDL_Event e;
    while (pending_.empty() && SDL_PollEvent(&e)) Translate(e);
    if (pending_.empty() && focusDirty_) {
        // Focus moves between our own windows (every shown window takes the
        // X focus) are not the application losing it.
        focusDirty_ = false;
        const bool active = SDL_GetKeyboardFocus() != nullptr;
        if (active != appActive_) {
            appActive_ = active;
            BackendEvent ev;
            ev.kind = EventKind::AppActive;
            ev.active = active;
            pending_.push_back(ev);
        }
    }
    if (pending_.empty()) return false;
    event = std::move(pending_.front());
    pending_.pop_front();
    return true;
}

void SdlBackend::WaitForEvent(int timeoutMs) {
    if (!pending_.empty()) return;
    // The desktop may change its panels or screens while the program waits.
    monitors_.reset();
    if (timeoutMs < 0) SDL_WaitEvent(nullptr);
    else SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlBackend::ApplyShape(Native& n) {
    const int w = n.state.rect.Width(), h = n.state.rect.Height();
    if (w <= 0 || h <= 0) return;
    if (n.shapeApplied && n.shapedSize == TSize{w, h} && n.appliedShape == n.state.shape) return;
    SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!mask) return;
    SDL_FillRect(mask, nullptr, 0);
    TRegion shape(TRect{0, 0, w, h});
    if (n.state.shape) shape.Combine(shape, *n.state.shape, RGN_AND);
    for (const TRect& r : shape.Rects()) {
        SDL_Rect sr{r.Left, r.Top, r.Width(), r.Height()};
        SDL_FillRect(mask, &sr, 0xFFFFFFFFu);
    }
    SDL_WindowShapeMode mode;
    mode.mode = ShapeModeBinarizeAlpha;
    mode.parameters.binarizationCutoff = 128;
    SDL_SetWindowShape(n.window, mask, &mode);
    SDL_FreeSurface(mask);
    n.shapeApplied = true;
    n.shapedSize = {w, h};
    n.appliedShape = n.state.shape;
}

bool SdlBackend::CreateNative(Native& n, const NativeWindowState& state) {
    if (n.window) return true;
    const int w = std::max(state.rect.Width(), 1), h = std::max(state.rect.Height(), 1);
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (state.noActivate || state.topmost) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    n.window = SDL_CreateShapedWindow(state.title.c_str(), unsigned(state.rect.Left), unsigned(state.rect.Top),
                                      unsigned(w), unsigned(h), flags);
    if (!n.window) return false;
    n.shapeApplied = false;
    n.title = state.title;
    n.iconsApplied = false;
    return true;
}

// The caption and the icons the desktop shows in its window list and task bar.
void SdlBackend::ApplyDesktopLooks(Native& n) {
    if (n.title != n.state.title) {
        n.title = n.state.title;
        SDL_SetWindowTitle(n.window, n.title.c_str());
    }
    if (n.iconsApplied && n.icon == n.state.icon && n.smallIcon == n.state.smallIcon) return;
    n.icon = n.state.icon;
    n.smallIcon = n.state.smallIcon;
    n.iconsApplied = true;
    std::vector<const IconPixels*> icons;
    if (const IconPixels* big = IconPixelsOf(n.icon)) icons.push_back(big);
    if (const IconPixels* small = IconPixelsOf(n.smallIcon); small && n.smallIcon != n.icon) icons.push_back(small);
    SetDesktopWindowIcons(n.window, icons);
}

void SdlBackend::Hide(Native& n) {
    const bool wasVisible = n.window && n.visible;
    if (n.window && (wasVisible || n.iconified)) SDL_HideWindow(n.window);
    n.visible = false;
    n.iconified = false;
    if (wasVisible) ReturnInputFocus();
}

// A minimised window goes to the window manager's icons, where the task bar
// and window list still offer it. Without a window manager nothing could
// bring it back, so it is only hidden, until the program restores it.
void SdlBackend::Iconify(Native& n) {
    if (n.iconified) return;
    if (!CreateNative(n, n.state)) return;
    if (!DesktopHasWindowManager(n.window)) {
        Hide(n);
        return;
    }
    const bool wasVisible = n.visible;
    ApplyShape(n);
    ApplyDesktopLooks(n);
    if (!wasVisible) {
        SDL_SetWindowPosition(n.window, n.state.rect.Left, n.state.rect.Top);
        SDL_ShowWindow(n.window);
    }
    SDL_MinimizeWindow(n.window);
    n.iconified = true;
    n.visible = false;
    if (wasVisible) ReturnInputFocus();
}

void SdlBackend::SyncWindow(const NativeWindowState& state) {
    Native& n = windows_[state.hwnd];
    const bool resized = n.state.rect.Width() != state.rect.Width() || n.state.rect.Height() != state.rect.Height();
    n.state = state;
    if (state.minimized) {
        Iconify(n);
        return;
    }
    if (!state.shown) {
        Hide(n);
        return;
    }
    const int w = std::max(state.rect.Width(), 1), h = std::max(state.rect.Height(), 1);
    if (!n.window) {
        if (!CreateNative(n, state)) return;
    } else if (resized) {
        SDL_SetWindowSize(n.window, w, h);
    }
    ApplyShape(n);
    ApplyDesktopLooks(n);
    SDL_SetWindowPosition(n.window, state.rect.Left, state.rect.Top);
    SDL_SetWindowOpacity(n.window, state.layered ? float(state.alpha) / 255.0f : 1.0f);
    if (n.iconified) {
        SDL_RestoreWindow(n.window);
        n.iconified = false;
        n.visible = true;
    } else if (!n.visible) {
        SDL_ShowWindow(n.window);
        n.visible = true;
        // A popup (a menu from the tray icon) shown while none of the
        // program's windows holds the desktop's input focus takes it: only a
        // program with the focus hears the user turn to another one, which
        // is what closes such a popup. Window managers do not focus popups
        // themselves.
        if (state.noActivate && !SDL_GetKeyboardFocus()) SDL_SetWindowInputFocus(n.window);
    }
}

void SdlBackend::DestroyNativeWindow(HWND hwnd) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    const bool wasVisible = it->second.window && it->second.visible;
    if (it->second.window) SDL_DestroyWindow(it->second.window);
    windows_.erase(it);
    std::erase(stacking_, hwnd);
    if (wasVisible) ReturnInputFocus();
}

// Showing a window moves the desktop's input focus to it, popups included,
// and hiding or destroying it leaves the focus nowhere: keys would then be
// lost. Hand the focus back to the topmost window that may take it.
void SdlBackend::ReturnInputFocus() {
    for (HWND h : stacking_) {
        auto it = windows_.find(h);
        if (it == windows_.end() || !it->second.visible || !it->second.window) continue;
        if (it->second.state.noActivate) continue;
        SDL_SetWindowInputFocus(it->second.window);
        return;
    }
}

void SdlBackend::Restack(const std::vector<HWND>& topFirst) {
    std::vector<HWND> shown;
    for (HWND h : topFirst) {
        auto it = windows_.find(h);
        if (it != windows_.end() && it->second.visible) shown.push_back(h);
    }
    if (shown == stacking_) return;
    stacking_ = shown;
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) SDL_RaiseWindow(windows_[*it].window);
}

void SdlBackend::Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end() || !it->second.window || !it->second.visible || surface.Empty()) return;
    SDL_Surface* target = SDL_GetWindowSurface(it->second.window);
    if (!target) return;
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(surface.ScanLine(0)), surface.Width(), surface.Height(), 32,
        int(surface.StridePixels() * 4), SDL_PIXELFORMAT_RGB888);
    if (!source) return;
    std::vector<SDL_Rect> rects;
    const TRect bounds = IntersectRect(surface.BoundsRect(), {0, 0, target->w, target->h});
    for (const TRect& r0 : dirty.Rects()) {
        const TRect r = IntersectRect(r0, bounds);
        if (IsRectEmpty(r)) continue;
        SDL_Rect sr{r.Left, r.Top, r.Width(), r.Height()};
        SDL_Rect dr = sr;
        SDL_BlitSurface(source, &sr, target, &dr);
        rects.push_back(sr);
    }
    SDL_FreeSurface(source);
    if (!rects.empty()) SDL_UpdateWindowSurfaceRects(it->second.window, rects.data(), int(rects.size()));
}

void SdlBackend::SetPointerShape(int cursorId) {
    if (cursorId == 0) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Cursor*& c = cursors_[cursorId];
    if (!c) c = SDL_CreateSystemCursor(SystemCursor(cursorId));
    if (c) SDL_SetCursor(c);
}

void SdlBackend::CapturePointer(bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

void SdlBackend::WarpPointer(TPoint screen) { SDL_WarpMouseGlobal(screen.X, screen.Y); }

bool SdlBackend::PointerElsewhere(TPoint& screen) {
    if (SDL_GetMouseFocus()) return false;
    for (auto& [h, n] : windows_)
        if (n.window) return QueryPointerPosition(n.window, screen);
    return false;
}

std::string SdlBackend::ClipboardUtf8() {
    char* text = SDL_GetClipboardText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetClipboardUtf8(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

std::string SdlBackend::PrimarySelectionUtf8() {
    char* text = SDL_GetPrimarySelectionText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetPrimarySelectionUtf8(const std::string& text) { SDL_SetPrimarySelectionText(text.c_str()); }

void SdlBackend::SetTextInputArea(const TRect& screenRect) {
    if (IsRectEmpty(screenRect)) return;
    for (auto& [h, n] : windows_) {
        if (!n.visible || !PtInRect(n.state.rect, screenRect.TopLeft())) continue;
        SDL_Rect r{screenRect.Left - n.state.rect.Left, screenRect.Top - n.state.rect.Top, screenRect.Width(),
                   screenRect.Height()};
        SDL_SetTextInputRect(&r);
        return;
    }
}
