// The clipboard and the primary selection, both ways. As owner, requests are
// answered from the event pump, whatever loop the program is in; a text
// larger than one request travels in pieces (INCR), each sent when the
// requestor has taken the one before. As requestor, the program waits a
// bounded time for the owner, handling its other events meanwhile, so a
// stalled owner never holds a window.

#include "X11Backend.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace {

// A stalled owner costs at most this long per step of a transfer...
constexpr std::uint64_t kStepTimeoutMs = 1000;
// ...and a whole transfer at most this long, and this many bytes.
constexpr std::uint64_t kTransferTimeoutMs = 5000;
constexpr std::size_t kMaxIncoming = 64u << 20;
// A requestor that stops taking pieces is given up after this long.
constexpr std::uint64_t kOutgoingTimeoutMs = 10000;

// Characters beyond Latin-1 have no STRING form; they become '?'.
std::string Utf8ToLatin1(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        }
        int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        unsigned cp = len == 2 && i + 1 < s.size() ? ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu)
                                                   : 0x100;
        out += cp < 0x100 ? char(cp) : '?';
        i += std::size_t(len);
    }
    return out;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void X11Backend::Own(Atom selection, const std::string& text) {
    owned_[selection] = text;
    // The time of the user's action that copied, as the conventions ask;
    // a copy made without one (or after another program's later copy)
    // takes the selection as of now.
    Time when = lastTime_ ? lastTime_ : CurrentTime;
    XSetSelectionOwner(display_, selection, selectionWindow_, when);
    if (when != CurrentTime && XGetSelectionOwner(display_, selection) != selectionWindow_) {
        when = CurrentTime;
        XSetSelectionOwner(display_, selection, selectionWindow_, when);
    }
    ownedSince_[selection] = when;
    if (XGetSelectionOwner(display_, selection) != selectionWindow_) owned_.erase(selection);
}

void X11Backend::SetClipboardUtf8(const std::string& text) { Own(atoms_.clipboard, text); }
void X11Backend::SetPrimarySelectionUtf8(const std::string& text) { Own(XA_PRIMARY, text); }
std::string X11Backend::ClipboardUtf8() { return Fetch(atoms_.clipboard); }
std::string X11Backend::PrimarySelectionUtf8() { return Fetch(XA_PRIMARY); }

void X11Backend::OnSelectionClear(const XSelectionClearEvent& e) {
    if (e.window == selectionWindow_) owned_.erase(e.selection);
}

void X11Backend::OnSelectionRequest(const XSelectionRequestEvent& e) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = display_;
    reply.requestor = e.requestor;
    reply.selection = e.selection;
    reply.target = e.target;
    reply.time = e.time;
    reply.property = None;
    // Old clients name no property: the target's name serves.
    const Atom property = e.property != None ? e.property : e.target;
    auto owned = owned_.find(e.selection);
    if (owned != owned_.end() && e.owner == selectionWindow_) {
        if (e.target == atoms_.targets) {
            const Atom targets[] = {atoms_.targets, atoms_.timestamp, atoms_.utf8String, XA_STRING, atoms_.text};
            XChangeProperty(display_, e.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets), int(sizeof targets / sizeof targets[0]));
            reply.property = property;
        } else if (e.target == atoms_.timestamp) {
            const long when = long(ownedSince_[e.selection]);
            XChangeProperty(display_, e.requestor, property, XA_INTEGER, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&when), 1);
            reply.property = property;
        } else if (e.target == atoms_.utf8String || e.target == XA_STRING || e.target == atoms_.text) {
            const bool latin1 = e.target == XA_STRING;
            const Atom type = latin1 ? XA_STRING : atoms_.utf8String;
            std::string data = latin1 ? Utf8ToLatin1(owned->second) : owned->second;
            // Leave room for the request's own header in one request.
            const std::size_t limit =
                std::min<std::size_t>(std::size_t(XMaxRequestSize(display_)) * 4 - 100, 256 * 1024);
            if (data.size() > limit) {
                // The requestor takes the text in pieces: first the size,
                // then a piece whenever it deletes the property.
                const long size = long(data.size());
                XSelectInput(display_, e.requestor, PropertyChangeMask);
                XChangeProperty(display_, e.requestor, property, atoms_.incr, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(&size), 1);
                std::erase_if(transfers_, [&](const OutgoingTransfer& t) {
                    return t.requestor == e.requestor && t.property == property;
                });
                transfers_.push_back({e.requestor, property, type, std::move(data), 0, Now()});
            } else {
                XChangeProperty(display_, e.requestor, property, type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
            }
            reply.property = property;
        }
    }
    XSendEvent(display_, e.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display_);
}

// The requestor took the last piece of a large text: the next one, or the
// empty piece that ends the transfer.
void X11Backend::OnRequestorPropertyDeleted(const XPropertyEvent& e) {
    const std::uint64_t now = Now();
    std::erase_if(transfers_, [&](const OutgoingTransfer& t) { return now - t.started > kOutgoingTimeoutMs; });
    for (auto it = transfers_.begin(); it != transfers_.end(); ++it) {
        if (it->requestor != e.window || it->property != e.atom) continue;
        const std::size_t piece = std::min<std::size_t>(64 * 1024, it->data.size() - it->offset);
        XChangeProperty(display_, it->requestor, it->property, it->type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(it->data.data() + it->offset), int(piece));
        it->offset += piece;
        it->started = now;
        if (piece == 0) {
            XSelectInput(display_, it->requestor, NoEventMask);
            transfers_.erase(it);
        }
        XFlush(display_);
        return;
    }
}

// Waits for one event of `type` about our selection window (and `atom`,
// when given), handling every other event as the pump would.
bool X11Backend::AwaitEvent(int type, ::Window w, Atom atom, XEvent& out, std::uint64_t deadline) {
    for (;;) {
        while (XPending(display_)) {
            XNextEvent(display_, &out);
            const bool match =
                out.type == type &&
                (type == SelectionNotify ? out.xselection.requestor == w && out.xselection.property == atom
                                         : out.xproperty.window == w && out.xproperty.atom == atom &&
                                               out.xproperty.state == PropertyNewValue);
            if (match) return true;
            if (XFilterEvent(&out, None)) continue;
            Handle(out);
        }
        const std::uint64_t now = Now();
        if (now >= deadline) return false;
        WaitReadable(int(deadline - now));
    }
}

std::string X11Backend::Fetch(Atom selection) {
    if (auto it = owned_.find(selection); it != owned_.end()) return it->second;
    if (XGetSelectionOwner(display_, selection) == None) return {};
    const std::uint64_t started = Now();
    const Atom property = atoms_.transfer;
    for (Atom target : {atoms_.utf8String, Atom(XA_STRING)}) {
        XDeleteProperty(display_, selectionWindow_, property);
        XConvertSelection(display_, selection, target, property, selectionWindow_, lastTime_ ? lastTime_ : CurrentTime);
        XFlush(display_);
        XEvent e;
        // An owner that does not answer at all is not asked again.
        if (!AwaitEvent(SelectionNotify, selectionWindow_, property, e, started + kStepTimeoutMs)) return {};
        if (e.xselection.property == None) continue;

        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string text;
        if (XGetWindowProperty(display_, selectionWindow_, property, 0, long(kMaxIncoming / 4), True, AnyPropertyType,
                               &type, &format, &count, &after, &data) != Success)
            continue;
        if (type == atoms_.incr) {
            if (data) XFree(data);
            // Pieces follow, each announced by a new value of the property
            // (which reading with delete asked for); an empty one ends them.
            const std::uint64_t end = started + kTransferTimeoutMs;
            bool complete = false;
            while (text.size() <= kMaxIncoming) {
                XEvent p;
                if (!AwaitEvent(PropertyNotify, selectionWindow_, property, p,
                                std::min(end, Now() + kStepTimeoutMs)))
                    break;
                unsigned char* piece = nullptr;
                if (XGetWindowProperty(display_, selectionWindow_, property, 0, long(kMaxIncoming / 4), True,
                                       AnyPropertyType, &type, &format, &count, &after, &piece) != Success)
                    break;
                const std::size_t bytes = std::size_t(count) * std::size_t(format / 8);
                if (piece) {
                    text.append(reinterpret_cast<const char*>(piece), bytes);
                    XFree(piece);
                }
                if (bytes == 0) {
                    complete = true;
                    break;
                }
            }
            if (!complete) return {};
        } else {
            if (data && format == 8) text.assign(reinterpret_cast<const char*>(data), count);
            if (data) XFree(data);
        }
        return type == XA_STRING ? Latin1ToUtf8(text) : text;
    }
    return {};
}
