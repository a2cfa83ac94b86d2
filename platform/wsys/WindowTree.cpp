// Window classes, creation and destruction, the parent/child tree with its
// z-order, owners, window longs, properties, texts and coordinate mapping.

#include <algorithm>
#include <cstring>

#include "WindowSystemState.h"

// --- handles and tree helpers -------------------------------------------------------

HWND WindowSystem::NewHandle() {
    // Steps of 4 keep handles clear of the small special values (HWND_BOTTOM).
    nextHandle_ += 4;
    return reinterpret_cast<HWND>(nextHandle_);
}

Window* WindowSystem::Find(HWND hwnd) const {
    if (!hwnd) return nullptr;
    auto it = windows_.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == windows_.end() ? nullptr : it->second.get();
}

Window* WindowSystem::Root(Window* w) const {
    while (w && w->parent && w->parent != desktop_) w = w->parent;
    return w == desktop_ ? nullptr : w;
}

TPoint WindowSystem::ClientScreenOrigin(const Window* w) const {
    if (w == desktop_) return {0, 0};
    const TPoint o = ScreenOrigin(w);
    return {o.X + w->client.Left, o.Y + w->client.Top};
}

TPoint WindowSystem::ScreenOrigin(const Window* w) const {
    if (w == desktop_) return w->rect.TopLeft();
    const TPoint p = ClientScreenOrigin(w->parent);
    return {p.X + w->rect.Left, p.Y + w->rect.Top};
}

TPoint WindowSystem::RootOrigin(const Window* w) const {
    if (w == desktop_ || IsTopLevel(w)) return {0, 0};
    const TPoint p = RootOrigin(w->parent);
    return {p.X + w->parent->client.Left + w->rect.Left, p.Y + w->parent->client.Top + w->rect.Top};
}

bool WindowSystem::IsVisible(const Window* w) const {
    for (const Window* c = w; c && c != desktop_; c = c->parent)
        if (!(c->style & WS_VISIBLE)) return false;
    return w != nullptr;
}

bool WindowSystem::IsShown(const Window* w) const {
    if (!IsVisible(w)) return false;
    const Window* r = Root(const_cast<Window*>(w));
    return r && !(r->style & WS_MINIMIZE);
}

bool WindowSystem::IsEnabledChain(const Window* w) const {
    for (const Window* c = w; c && c != desktop_; c = c->parent)
        if (c->style & WS_DISABLED) return false;
    return true;
}

void WindowSystem::RemoveChild(Window* parent, Window* child) {
    auto& v = parent->children;
    v.erase(std::remove(v.begin(), v.end(), child), v.end());
}

void WindowSystem::InsertChild(Window* parent, Window* child, HWND insertAfter) {
    RemoveChild(parent, child);
    auto& v = parent->children;
    // Top-level windows keep the topmost ones in a band above all others.
    std::size_t bandBegin = 0, bandEnd = v.size();
    if (parent == desktop_) {
        const std::size_t firstNormal = std::size_t(
            std::find_if(v.begin(), v.end(), [](Window* x) { return !(x->exStyle & WS_EX_TOPMOST); }) -
            v.begin());
        if (child->exStyle & WS_EX_TOPMOST) bandEnd = firstNormal;
        else bandBegin = firstNormal;
    }
    std::size_t at = bandBegin;
    if (insertAfter == HWND_BOTTOM) {
        at = bandEnd;
    } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        auto it = std::find_if(v.begin(), v.end(), [&](Window* x) { return x->handle == insertAfter; });
        if (it != v.end()) at = std::size_t(it - v.begin()) + 1;
        at = std::clamp(at, bandBegin, bandEnd);
    }
    v.insert(v.begin() + std::ptrdiff_t(at), child);
}

void WindowSystem::AllocateSurface(Window* w) {
    if (!w->surface) w->surface = std::make_unique<TBitmap>();
    const int cw = std::max(w->Width(), 0), ch = std::max(w->Height(), 0);
    if (w->surface->Width() != cw || w->surface->Height() != ch) w->surface->SetSize(cw, ch);
}

const std::shared_ptr<const WindowClassEntry>* WindowSystem::FindClass(std::string_view name) const {
    auto it = classes_.find(std::string(name));
    return it == classes_.end() ? nullptr : &it->second;
}

// --- creation and destruction -----------------------------------------------------------

Window* WindowSystem::Create(DWORD exStyle, const char* className, const char* name, DWORD style, int x,
                             int y, int cx, int cy, HWND parent, UINT_PTR id, void* param) {
    const auto* cls = className ? FindClass(className) : nullptr;
    if (!cls) return nullptr;
    Window* parentW = Find(parent);
    if ((style & WS_CHILD) && !parentW) return nullptr;

    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    w->handle = NewHandle();
    w->cls = *cls;
    w->proc = (*cls)->proc;
    w->exStyle = exStyle;
    w->style = style & ~WS_VISIBLE;  // shown below, after WM_CREATE
    w->id = id;
    if (style & WS_CHILD) {
        w->parent = parentW;
    } else {
        w->parent = desktop_;
        w->owner = parentW ? Root(parentW) : nullptr;
        // Cascade default placements the way a desktop does.
        if (x == CW_USEDEFAULT) x = y = 40;
        if (cx == CW_USEDEFAULT) cx = 640, cy = 480;
    }
    if (x == CW_USEDEFAULT) x = y = 0;
    if (cx == CW_USEDEFAULT) cx = cy = 0;
    w->rect = Bounds(x, y, std::max(cx, 0), std::max(cy, 0));
    w->client = ToWindowRect(w);
    w->normalRect = w->rect;
    windows_.emplace(reinterpret_cast<std::uintptr_t>(w->handle), std::move(owned));
    InsertChild(w->parent, w, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);

    const HWND h = w->handle;
    // An overlapped or sizeable top-level window starts within the tracking
    // limits it states, as it stays within them afterwards (WindowPos).
    if (IsTopLevel(w) && (!(style & WS_POPUP) || (style & WS_THICKFRAME))) {
        const MINMAXINFO mmi = QueryMinMax(w);
        if (!(w = Find(h))) return nullptr;
        // Where the two disagree the maximum holds, as for later sizes.
        cx = std::min(std::max(w->rect.Width(), mmi.ptMinTrackSize.X), mmi.ptMaxTrackSize.X);
        cy = std::min(std::max(w->rect.Height(), mmi.ptMinTrackSize.Y), mmi.ptMaxTrackSize.Y);
        w->rect = Bounds(x, y, cx, cy);
        w->client = ToWindowRect(w);
        w->normalRect = w->rect;
    }
    if (IsTopLevel(w)) AllocateSurface(w);
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.id = id;
    cs.x = x, cs.y = y, cs.cx = cx, cs.cy = cy;
    cs.style = LONG(style);
    cs.lpszName = name;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    if (!Send(h, WM_NCCREATE, 0, ToLParam(&cs))) {
        if (Window* still = Find(h)) Destroy(still);
        return nullptr;
    }
    if (!(w = Find(h))) return nullptr;
    w->client = CalcClient(w, w->rect, nullptr);
    if (Send(h, WM_CREATE, 0, ToLParam(&cs)) == -1) {
        if (Window* still = Find(h)) Destroy(still);
        return nullptr;
    }
    if (!(w = Find(h))) return nullptr;
    if ((w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
        Send(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, int(id)), LPARAM(reinterpret_cast<std::uintptr_t>(h)));
    if (!(w = Find(h))) return nullptr;
    Send(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.Width(), w->client.Height()));
    if (!(w = Find(h))) return nullptr;
    Send(h, WM_MOVE, 0, MAKELPARAM(w->rect.Left + w->client.Left, w->rect.Top + w->client.Top));
    if (!(w = Find(h))) return nullptr;
    if (style & WS_VISIBLE) {
        int cmd = SW_SHOW;
        if (style & WS_MAXIMIZE) cmd = SW_SHOWMAXIMIZED;
        else if (style & WS_MINIMIZE) cmd = SW_SHOWMINIMIZED;
        w->style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
        Show(w, cmd);
    }
    return Find(h);
}

bool WindowSystem::Destroy(Window* w) {
    if (!w || w == desktop_ || w->destroying) return false;
    w->destroying = true;
    const HWND h = w->handle;

    // Owned windows go before their owner.
    for (;;) {
        auto it = std::find_if(desktop_->children.begin(), desktop_->children.end(),
                               [&](Window* x) { return x->owner == w && !x->destroying; });
        if (it == desktop_->children.end()) break;
        Destroy(*it);
    }
    if (w->style & WS_VISIBLE)
        SetPos(w, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(w = Find(h))) return true;
    if ((w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
        Send(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, int(w->id)),
             LPARAM(reinterpret_cast<std::uintptr_t>(h)));
    ForgetWindow(w);
    Send(h, WM_DESTROY, 0, 0);
    if (!(w = Find(h))) return true;
    for (;;) {
        auto it = std::find_if(w->children.begin(), w->children.end(), [](Window* x) { return !x->destroying; });
        if (it == w->children.end()) break;
        Destroy(*it);
    }
    ForgetWindow(w);
    RemoveTimersOf(h);
    Send(h, WM_NCDESTROY, 0, 0);
    if (!(w = Find(h))) return true;

    // Children whose procedures refused to die with the tree go with it now.
    while (!w->children.empty()) {
        Window* c = w->children.front();
        c->destroying = false;
        Destroy(c);
        RemoveChild(w, c);
    }
    for (Window* other : desktop_->children)
        if (other->owner == w) other->owner = nullptr;
    if (w->nativeCreated) backend_->DestroyNativeWindow(h);
    RemoveChild(w->parent, w);
    std::erase_if(dcs_, [&](const DcEntry& e) { return e.root == w; });
    auto node = windows_.extract(reinterpret_cast<std::uintptr_t>(h));
    // A procedure of this window may still be running further up the stack.
    graveyard_.push_back(std::move(node.mapped()));
    if (callDepth_ == 0) FlushGraveyard();
    return true;
}

// --- window classes ----------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS& wc) {
    WindowSystem& s = Sys();
    if (!wc.lpszClassName || !*wc.lpszClassName || s.FindClass(wc.lpszClassName)) return 0;
    auto e = std::make_shared<WindowClassEntry>();
    e->name = wc.lpszClassName;
    e->style = wc.style;
    e->proc = wc.lpfnWndProc;
    e->cursor = wc.hCursor;
    e->background = wc.hbrBackground;
    s.classes_.emplace(e->name, std::move(e));
    return ATOM(s.classes_.size());
}

BOOL UnregisterClass(const char* className) {
    return className && Sys().classes_.erase(className) ? TRUE : FALSE;
}

BOOL GetClassInfo(const char* className, WNDCLASS& out) {
    const auto* e = className ? Sys().FindClass(className) : nullptr;
    if (!e) return FALSE;
    out.style = (*e)->style;
    out.lpfnWndProc = (*e)->proc;
    out.hCursor = (*e)->cursor;
    out.hbrBackground = (*e)->background;
    out.lpszClassName = className;
    return TRUE;
}

AnsiString GetClassName(HWND hwnd) {
    Window* w = Sys().Find(hwnd);
    return w ? w->cls->name : AnsiString();
}

UINT GetClassStyle(HWND hwnd) {
    Window* w = Sys().Find(hwnd);
    return w ? w->cls->style : 0;
}

// --- windows -----------------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, UINT_PTR id, void* param) {
    Window* w = Sys().Create(exStyle, className, windowName, style, x, y, width, height, parent, id, param);
    return w ? w->handle : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    WindowSystem& s = Sys();
    return s.Destroy(s.Find(hwnd)) ? TRUE : FALSE;
}

BOOL IsWindow(HWND hwnd) {
    WindowSystem* s = SysOrNull();
    Window* w = s ? s->Find(hwnd) : nullptr;
    return w && w != s->Desktop() ? TRUE : FALSE;
}

HWND GetDesktopWindow() { return Sys().Desktop()->handle; }

HWND GetParent(HWND hwnd) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w || w == s.Desktop()) return nullptr;
    if (w->style & WS_CHILD) return w->parent->handle;
    return w->owner ? w->owner->handle : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    Window* p = newParent ? s.Find(newParent) : s.Desktop();
    if (!w || !p || w == s.Desktop()) return nullptr;
    for (Window* a = p; a; a = a->parent)
        if (a == w) return nullptr;  // would make a cycle
    Window* old = w->parent;
    const bool wasVisible = s.IsShown(w);
    if (wasVisible && old != s.Desktop()) {
        TRegion area = s.ShapeInParent(w);
        area.Offset(old->client.Left, old->client.Top);
        s.Invalidate(old, area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    const bool wasTop = s.IsTopLevel(w);
    s.RemoveChild(old, w);
    w->parent = p;
    if (p == s.Desktop()) {
        w->style &= ~WS_CHILD;
        w->style |= WS_POPUP;
    } else {
        w->style = (w->style & ~WS_POPUP) | WS_CHILD;
        w->owner = nullptr;
    }
    s.InsertChild(p, w, HWND_TOP);
    if (wasTop && !s.IsTopLevel(w)) {
        if (w->nativeCreated) s.backend().DestroyNativeWindow(w->handle);
        w->nativeCreated = false;
        w->surface.reset();
    } else if (!wasTop && s.IsTopLevel(w)) {
        s.AllocateSurface(w);
        s.MarkNativeStale(w);
    }
    if (s.IsShown(w)) s.InvalidateWhole(w);
    return old == s.Desktop() ? nullptr : old->handle;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w || w == s.Desktop()) return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->parent->handle;
    case GA_ROOT:
        return s.Root(w)->handle;
    case GA_ROOTOWNER: {
        Window* r = s.Root(w);
        while (r->owner) r = r->owner;
        return r->handle;
    }
    default:
        return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (cmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
    if (cmd == GW_ENABLEDPOPUP) {
        for (Window* x : s.Desktop()->children)
            if (x->owner == w && (x->style & WS_VISIBLE) && !(x->style & WS_DISABLED)) return x->handle;
        return nullptr;
    }
    if (!w->parent) return nullptr;
    const auto& sib = w->parent->children;
    auto it = std::find(sib.begin(), sib.end(), w);
    switch (cmd) {
    case GW_HWNDFIRST:
        return sib.front()->handle;
    case GW_HWNDLAST:
        return sib.back()->handle;
    case GW_HWNDNEXT:
        return (it == sib.end() || it + 1 == sib.end()) ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV:
        return (it == sib.begin() || it == sib.end()) ? nullptr : (*(it - 1))->handle;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND parent) {
    WindowSystem& s = Sys();
    Window* w = parent ? s.Find(parent) : s.Desktop();
    return (w && !w->children.empty()) ? w->children.front()->handle : nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    WindowSystem& s = Sys();
    Window* p = s.Find(parent);
    Window* w = s.Find(hwnd);
    if (!p || !w) return FALSE;
    for (Window* c = w; c && (c->style & WS_CHILD); c = c->parent)
        if (c->parent == p) return TRUE;
    return FALSE;
}

namespace {
bool EnumTree(WindowSystem& s, Window* w, const std::function<bool(HWND)>& fn) {
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND k : kids) {
        Window* c = s.Find(k);
        if (!c) continue;
        if (!fn(k)) return false;
        if ((c = s.Find(k)) && !EnumTree(s, c, fn)) return false;
    }
    return true;
}
}  // namespace

void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& fn) {
    WindowSystem& s = Sys();
    if (Window* w = s.Find(parent)) EnumTree(s, w, fn);
}

void EnumWindows(const std::function<bool(HWND)>& fn) {
    WindowSystem& s = Sys();
    std::vector<HWND> tops;
    for (Window* c : s.Desktop()->children) tops.push_back(c->handle);
    for (HWND t : tops)
        if (s.Find(t) && !fn(t)) return;
}

// --- window longs --------------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_STYLE:
        return LONG_PTR(w->style);
    case GWL_EXSTYLE:
        return LONG_PTR(w->exStyle);
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_USERDATA:
        return w->userData;
    case GWLP_ID:
        return LONG_PTR(w->id);
    case GWLP_HWNDPARENT:
        if (w->style & WS_CHILD) return reinterpret_cast<LONG_PTR>(w->parent->handle);
        return w->owner ? reinterpret_cast<LONG_PTR>(w->owner->handle) : 0;
    default:
        return 0;
    }
}

namespace {
LONG_PTR ChangeStyle(WindowSystem& s, Window* w, int index, DWORD value) {
    const HWND h = w->handle;
    const DWORD old = index == GWL_STYLE ? w->style : w->exStyle;
    STYLESTRUCT ss{old, value};
    s.Send(h, WM_STYLECHANGING, WPARAM(LONG_PTR(index)), ToLParam(&ss));
    if (!(w = s.Find(h))) return LONG_PTR(old);
    if (index == GWL_STYLE) {
        w->style = ss.styleNew;
    } else {
        // The topmost band is changed only through SetWindowPos.
        DWORD ex = (ss.styleNew & ~DWORD(WS_EX_TOPMOST)) | (w->exStyle & WS_EX_TOPMOST);
        if ((w->exStyle & WS_EX_LAYERED) && !(ex & WS_EX_LAYERED)) {
            w->alpha = 255;
            w->layeredFlags = 0;
        }
        w->exStyle = ex;
    }
    if (Window* r = s.Root(w)) s.MarkNativeStale(r);
    if (index == GWL_STYLE && ((old ^ w->style) & WS_DISABLED) && (w->style & WS_DISABLED)) {
        if (s.capture_ == h) s.SetCaptureWindow(nullptr);
    }
    s.Send(h, WM_STYLECHANGED, WPARAM(LONG_PTR(index)), ToLParam(&ss));
    return LONG_PTR(old);
}
}  // namespace

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return ChangeStyle(s, w, index, DWORD(value));
    case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        return old;
    case GWLP_ID:
        old = LONG_PTR(w->id);
        w->id = UINT_PTR(value);
        return old;
    case GWLP_HWNDPARENT: {
        if (w->style & WS_CHILD) return 0;
        old = w->owner ? reinterpret_cast<LONG_PTR>(w->owner->handle) : 0;
        Window* o = s.Find(reinterpret_cast<HWND>(value));
        w->owner = o ? s.Root(o) : nullptr;
        if (w->owner == w) w->owner = nullptr;
        return old;
    }
    default:
        return 0;
    }
}

WNDPROC GetWindowProc(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC)); }

WNDPROC SubclassWindow(HWND hwnd, WNDPROC proc) {
    return reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// --- properties and text ------------------------------------------------------------

BOOL SetProp(HWND hwnd, const char* name, void* data) {
    Window* w = Sys().Find(hwnd);
    if (!w || !name) return FALSE;
    w->props[name] = data;
    return TRUE;
}

void* GetProp(HWND hwnd, const char* name) {
    Window* w = Sys().Find(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(std::string_view(name));
    return it == w->props.end() ? nullptr : it->second;
}

void* RemoveProp(HWND hwnd, const char* name) {
    Window* w = Sys().Find(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(std::string_view(name));
    if (it == w->props.end()) return nullptr;
    void* d = it->second;
    w->props.erase(it);
    return d;
}

BOOL SetWindowText(HWND hwnd, const AnsiString& text) {
    return Sys().Send(hwnd, WM_SETTEXT, 0, ToLParam(text.c_str())) ? TRUE : FALSE;
}

int GetWindowTextLength(HWND hwnd) { return int(Sys().Send(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

AnsiString GetWindowText(HWND hwnd) {
    WindowSystem& s = Sys();
    const int len = int(s.Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
    if (len <= 0) return {};
    std::string buf(std::size_t(len) + 1, '\0');
    const LRESULT got = s.Send(hwnd, WM_GETTEXT, WPARAM(buf.size()), ToLParam(buf.data()));
    buf.resize(std::size_t(std::clamp<LRESULT>(got, 0, len)));
    return buf;
}

// --- geometry --------------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, TRect& rect) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    const TPoint o = s.ScreenOrigin(w);
    rect = Bounds(o.X, o.Y, w->Width(), w->Height());
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, TRect& rect) {
    Window* w = Sys().Find(hwnd);
    if (!w) return FALSE;
    rect = {0, 0, w->client.Width(), w->client.Height()};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, TPoint& point) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    const TPoint o = s.ClientScreenOrigin(w);
    point = {point.X + o.X, point.Y + o.Y};
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, TPoint& point) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    const TPoint o = s.ClientScreenOrigin(w);
    point = {point.X - o.X, point.Y - o.Y};
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count) {
    WindowSystem& s = Sys();
    Window* f = from ? s.Find(from) : s.Desktop();
    Window* t = to ? s.Find(to) : s.Desktop();
    if (!f || !t) return 0;
    const TPoint a = s.ClientScreenOrigin(f), b = s.ClientScreenOrigin(t);
    const int dx = a.X - b.X, dy = a.Y - b.Y;
    for (UINT i = 0; i < count; ++i) points[i] = {points[i].X + dx, points[i].Y + dy};
    return int(MAKELPARAM(dx, dy));
}

BOOL AdjustWindowRectEx(TRect& rect, DWORD style, BOOL, DWORD exStyle) {
    const TRect in = DefaultFrameInsets(style, exStyle);
    rect = {rect.Left - in.Left, rect.Top - in.Top, rect.Right + in.Right, rect.Bottom + in.Bottom};
    return TRUE;
}

HWND ChildWindowFromPoint(HWND parent, TPoint client) {
    WindowSystem& s = Sys();
    Window* p = s.Find(parent);
    if (!p) return nullptr;
    if (!PtInRect({0, 0, p->client.Width(), p->client.Height()}, client)) return nullptr;
    for (Window* c : p->children) {
        if (!PtInRect(c->rect, client)) continue;
        if (c->region && !c->region->Contains(client.X - c->rect.Left, client.Y - c->rect.Top)) continue;
        return c->handle;
    }
    return parent;
}
