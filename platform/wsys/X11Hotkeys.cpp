// Desktop hotkeys on X11: a passive grab of the key on the root window, once
// for each state of the lock keys (Caps Lock, Num Lock) so the key works
// whatever they show. Another client holding the key makes the grab fail
// with BadAccess, which is caught here, not reported as a program error.

#include "X11Backend.h"

#include <X11/keysym.h>

#include <X11/XKBlib.h>

#include <array>
#include <vector>

#include "DesktopInput.h"
#include "VirtualKeys.h"

namespace {

bool grabRefused = false;

int NoteGrabError(Display*, XErrorEvent* error) {
    if (error->error_code == BadAccess) grabRefused = true;
    return 0;
}

KeySym KeysymOf(int vk) {
    if (vk >= 'A' && vk <= 'Z') return XK_a + (vk - 'A');
    if (vk >= '0' && vk <= '9') return XK_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return XK_F1 + (vk - VK_F1);
    if (vk == VK_SPACE) return XK_space;
    return NoSymbol;
}

unsigned MaskOf(unsigned modifiers) {
    unsigned mask = 0;
    if (modifiers & MOD_CONTROL) mask |= ControlMask;
    if (modifiers & MOD_ALT) mask |= Mod1Mask;
    if (modifiers & MOD_SHIFT) mask |= ShiftMask;
    if (modifiers & MOD_WIN) mask |= Mod4Mask;
    return mask;
}

// Caps Lock and Num Lock (Mod2 on every usual keyboard map).
constexpr std::array<unsigned, 4> kLockVariants{0, LockMask, Mod2Mask, LockMask | Mod2Mask};

}  // namespace

bool X11Backend::GrabHotkey(unsigned modifiers, int vk) {
    const KeySym sym = KeysymOf(vk);
    if (sym == NoSymbol) return false;
    const KeyCode keycode = XKeysymToKeycode(display_, sym);
    if (keycode == 0) return false;
    const unsigned mask = MaskOf(modifiers);
    XSync(display_, False);
    grabRefused = false;
    auto* previous = XSetErrorHandler(NoteGrabError);
    for (const unsigned lock : kLockVariants)
        XGrabKey(display_, keycode, mask | lock, root_, False, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    if (grabRefused) {
        // Keep none of the variants that did succeed: half a hotkey would
        // work only with Caps Lock in one state.
        for (const unsigned lock : kLockVariants) XUngrabKey(display_, keycode, mask | lock, root_);
        XSync(display_, False);
        return false;
    }
    grabbedKeys_.push_back({modifiers, vk, keycode, mask});
    return true;
}

void X11Backend::UngrabHotkey(unsigned modifiers, int vk) {
    std::erase_if(grabbedKeys_, [&](const GrabbedKey& k) {
        if (k.modifiers != modifiers || k.vk != vk) return false;
        for (const unsigned lock : kLockVariants) XUngrabKey(display_, k.keycode, k.mask | lock, root_);
        return true;
    });
    XFlush(display_);
}

void X11Backend::WatchReadable(const std::vector<int>& fds) { watchedFds_ = fds; }

bool X11Backend::OnHotkey(const XKeyEvent& e) {
    const unsigned state = e.state & (ControlMask | Mod1Mask | ShiftMask | Mod4Mask);
    for (const GrabbedKey& k : grabbedKeys_) {
        if (k.keycode != e.keycode || k.mask != state) continue;
        if (e.time) lastTime_ = e.time;
        if (e.type == KeyPress) {
            BackendEvent ev;
            ev.kind = EventKind::Hotkey;
            ev.vk = k.vk;
            ev.modifiers = k.modifiers;
            Push(ev);
        }
        return true;
    }
    return false;
}

void X11Backend::ReleaseLostModifiers(const XKeyEvent& e) {
    std::vector<unsigned> lost;
    for (const unsigned keycode : keysDown_) {
        const KeySym sym = XkbKeycodeToKeysym(display_, KeyCode(keycode), 0, 0);
        unsigned mask = 0;
        int vk = 0;
        if (sym == XK_Alt_L || sym == XK_Alt_R || sym == XK_Meta_L || sym == XK_Meta_R) mask = Mod1Mask, vk = VK_MENU;
        else if (sym == XK_Control_L || sym == XK_Control_R) mask = ControlMask, vk = VK_CONTROL;
        else if (sym == XK_Shift_L || sym == XK_Shift_R) mask = ShiftMask, vk = VK_SHIFT;
        if (mask == 0 || (e.state & mask)) continue;
        lost.push_back(keycode);
        BackendEvent ev;
        ev.kind = EventKind::KeyUp;
        ev.vk = vk;
        Push(ev);
    }
    for (const unsigned keycode : lost) keysDown_.erase(keycode);
}
