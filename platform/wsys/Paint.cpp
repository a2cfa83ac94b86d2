// Invalid regions and painting. Each top-level window owns a backing surface;
// every window of its tree paints into it through a canvas whose origin and
// clip place the window on it (clipped by its ancestors, its region, and,
// where the styles ask, its siblings and children). What was painted is shown
// by the backend part by part.

#include <algorithm>

#include "WindowSystemState.h"

namespace {
TRegion Intersect(const TRegion& a, const TRegion& b) {
    TRegion r;
    r.Combine(a, b, RGN_AND);
    return r;
}
void Subtract(TRegion& a, const TRegion& b) { a.Combine(a, b, RGN_DIFF); }
void Add(TRegion& a, const TRegion& b) { a.Combine(a, b, RGN_OR); }
}  // namespace

TRegion WindowSystem::ShapeInParent(const Window* w) const {
    TRegion shape(w->rect);
    if (w->region) {
        TRegion r = *w->region;
        r.Offset(w->rect.Left, w->rect.Top);
        shape = Intersect(shape, r);
    }
    return shape;
}

TRegion WindowSystem::VisibleRegion(const Window* w, bool clientOnly) const {
    if (!IsShown(w)) return {};
    const TPoint o = RootOrigin(w);
    TRegion vis(clientOnly ? OffsetRect(w->client, o.X, o.Y) : Bounds(o.X, o.Y, w->Width(), w->Height()));
    if (w->region) {
        TRegion r = *w->region;
        r.Offset(o.X, o.Y);
        vis = Intersect(vis, r);
    }
    if (clientOnly && (w->style & WS_CLIPCHILDREN)) {
        const TPoint co{o.X + w->client.Left, o.Y + w->client.Top};
        for (const Window* c : w->children) {
            if (!(c->style & WS_VISIBLE)) continue;
            TRegion cs = ShapeInParent(c);
            cs.Offset(co.X, co.Y);
            Subtract(vis, cs);
        }
    }
    // Up the tree: each ancestor's client area and region clip, and windows
    // with WS_CLIPSIBLINGS lose what their upper siblings cover.
    for (const Window* c = w; !IsTopLevel(c); c = c->parent) {
        const Window* p = c->parent;
        const TPoint po = RootOrigin(p);
        const TPoint pco{po.X + p->client.Left, po.Y + p->client.Top};
        if (c->style & WS_CLIPSIBLINGS) {
            for (const Window* sib : p->children) {
                if (sib == c) break;
                if (!(sib->style & WS_VISIBLE)) continue;
                TRegion ss = ShapeInParent(sib);
                ss.Offset(pco.X, pco.Y);
                Subtract(vis, ss);
            }
        }
        vis = Intersect(vis, TRegion(OffsetRect(p->client, po.X, po.Y)));
        if (p->region) {
            TRegion r = *p->region;
            r.Offset(po.X, po.Y);
            vis = Intersect(vis, r);
        }
    }
    return vis;
}

void WindowSystem::Invalidate(Window* w, const TRegion& rgn, UINT flags) {
    if (!w || w == desktop_ || !IsShown(w)) return;
    TRegion r = Intersect(rgn, TRegion(ToWindowRect(w)));
    if (!(flags & RDW_FRAME)) r = Intersect(r, TRegion(w->client));
    if (r.IsEmpty() && !(flags & RDW_INTERNALPAINT)) return;
    Add(w->update, r);
    if (flags & RDW_ERASE) w->erasePending = true;
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    const bool kids = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (!kids) return;
    const TRegion inClient = Intersect(r, TRegion(w->client));
    if (inClient.IsEmpty()) return;
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        TRegion cr = inClient;
        cr.Offset(-(w->client.Left + c->rect.Left), -(w->client.Top + c->rect.Top));
        Invalidate(c, cr, (flags | RDW_FRAME) & ~UINT(RDW_INTERNALPAINT));
    }
}

void WindowSystem::InvalidateWhole(Window* w) {
    if (!w) return;
    Invalidate(w, TRegion(ToWindowRect(w)), RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void WindowSystem::Validate(Window* w, const TRegion& rgn, UINT flags) {
    if (!w) return;
    Subtract(w->update, rgn);
    if (w->update.IsEmpty()) w->erasePending = false;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    if (!(flags & RDW_ALLCHILDREN)) return;
    for (Window* c : w->children) {
        TRegion cr = rgn;
        cr.Offset(-(w->client.Left + c->rect.Left), -(w->client.Top + c->rect.Top));
        Validate(c, cr, flags);
    }
}

Window* WindowSystem::FindPaintTarget(Window* w, HWND filter) {
    if (!(w->style & WS_VISIBLE)) return nullptr;
    if (IsTopLevel(w) && (w->style & WS_MINIMIZE)) return nullptr;
    if ((!w->update.IsEmpty() || w->internalPaint) && (!filter || filter == w->handle)) return w;
    // Parents paint before their children, lower siblings before upper ones.
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        if (Window* t = FindPaintTarget(*it, filter)) return t;
    return nullptr;
}

void WindowSystem::SendNcPaint(Window* w) {
    TRegion frame = w->update;
    Subtract(frame, TRegion(w->client));
    if (frame.IsEmpty()) return;
    // The frame counts as painted once the window was asked to paint it.
    w->update = Intersect(w->update, TRegion(w->client));
    const TPoint o = ScreenOrigin(w);
    frame.Offset(o.X, o.Y);
    Send(w, WM_NCPAINT, reinterpret_cast<WPARAM>(&frame), 0);
}

void WindowSystem::PaintNow(Window* w, bool children) {
    const HWND h = w->handle;
    if (!IsShown(w)) return;
    SendNcPaint(w);
    if (!(w = Find(h))) return;
    if (Intersect(w->update, TRegion(w->client)).IsEmpty() && !w->internalPaint) {
        w->erasePending = false;
    } else {
        MSG m;
        m.hwnd = h;
        m.message = WM_PAINT;
        Dispatch(m);
        if (!(w = Find(h))) return;
    }
    if (!children) return;
    std::vector<HWND> kids;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) kids.push_back((*it)->handle);
    for (HWND k : kids)
        if (Window* c = Find(k)) PaintNow(c, true);
}

HDC WindowSystem::MakeDc(Window* w, bool clientArea, const TRegion* limitWindowCoords) {
    Window* root = Root(w);
    if (!root) return nullptr;
    AllocateSurface(root);
    DcEntry e;
    e.canvas = std::make_unique<TCanvas>(root->surface.get());
    const TPoint o = RootOrigin(w);
    e.canvas->SetDeviceOrigin(clientArea ? TPoint{o.X + w->client.Left, o.Y + w->client.Top} : o);
    TRegion clip = VisibleRegion(w, clientArea);
    if (limitWindowCoords) {
        TRegion l = *limitWindowCoords;
        l.Offset(o.X, o.Y);
        clip = Intersect(clip, l);
    }
    e.canvas->SetSystemClip(clip);
    e.surfaceClip = clip;
    e.hwnd = w->handle;
    e.root = root;
    if (caret_.drawn && caret_.drawnRoot == root) {
        // Painting must not meet the inverted caret pixels.
        DrawCaret(false);
        e.hidCaret = true;
        ++caretPaintHidden_;
    }
    HDC dc = e.canvas.get();
    dcs_.push_back(std::move(e));
    return dc;
}

bool WindowSystem::ReleaseDcEntry(HDC dc) {
    auto it = std::find_if(dcs_.begin(), dcs_.end(), [&](const DcEntry& e) { return e.canvas.get() == dc; });
    if (it == dcs_.end()) return false;
    Add(it->root->surfaceDirty, it->surfaceClip);
    const bool hid = it->hidCaret;
    dcs_.erase(it);
    if (hid && --caretPaintHidden_ == 0) RestoreCaretAfterPaint();
    return true;
}

void WindowSystem::Present() {
    for (Window* t : desktop_->children) {
        if (!t->nativeStale) continue;
        const bool shown = IsShown(t);
        // A minimised window stays on the desktop (iconified, in its window
        // list); a tool window, such as the application's own hidden window,
        // never has an entry there, so minimised it is simply not shown.
        const bool minimized =
            !shown && IsVisible(t) && (t->style & WS_MINIMIZE) && !(t->exStyle & WS_EX_TOOLWINDOW);
        if (!shown && !minimized && !t->nativeCreated) {
            t->nativeStale = false;
            continue;
        }
        NativeWindowState st;
        st.hwnd = t->handle;
        st.rect = t->rect;
        st.shown = shown;
        st.minimized = minimized;
        st.title = AnsiToUtf8(t->text);
        st.icon = t->bigIcon;
        st.smallIcon = t->smallIcon;
        st.shape = t->region;
        st.layered = (t->exStyle & WS_EX_LAYERED) != 0;
        st.alpha = st.layered ? t->alpha : 255;
        st.colorKeyed = st.layered && (t->layeredFlags & LWA_COLORKEY);
        st.colorKey = ColorToRGB(t->colorKey);
        st.noActivate = (t->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)) || ((t->style & WS_POPUP) && t->owner);
        st.topmost = (t->exStyle & WS_EX_TOPMOST) != 0;
        backend_->SyncWindow(st);
        if (shown && !t->nativeShown) t->surfaceDirty = TRegion(ToWindowRect(t));
        t->nativeShown = shown;
        t->nativeCreated = true;
        t->nativeStale = false;
    }
    if (restackPending_) Restack();
    for (Window* t : desktop_->children) {
        if (!t->nativeShown || t->surfaceDirty.IsEmpty() || !t->surface) continue;
        TRegion dirty = Intersect(t->surfaceDirty, TRegion(ToWindowRect(t)));
        t->surfaceDirty = TRegion();
        if (!dirty.IsEmpty()) backend_->Present(t->handle, *t->surface, dirty);
    }
}

// --- the platform calls -------------------------------------------------------------

HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    ps = PAINTSTRUCT{};
    if (!w) return nullptr;
    s.SendNcPaint(w);
    if (!(w = s.Find(hwnd))) return nullptr;
    const TRegion clientRgn(w->client);
    const TRegion upd = Intersect(w->update, clientRgn);
    Subtract(w->update, clientRgn);
    w->internalPaint = false;
    w->beganPaint = true;
    const bool erase = w->erasePending;
    w->erasePending = false;
    HDC dc = s.MakeDc(w, true, &upd);
    ps.hdc = dc;
    ps.rcPaint = OffsetRect(upd.BoundingBox(), -w->client.Left, -w->client.Top);
    if (IsRectEmpty(ps.rcPaint)) ps.rcPaint = {};
    if (erase && dc) ps.fErase = s.Send(hwnd, WM_ERASEBKGND, DcToWParam(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT& ps) {
    return ps.hdc && Sys().ReleaseDcEntry(ps.hdc) ? TRUE : FALSE;
}

HDC GetDC(HWND hwnd) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    return w ? s.MakeDc(w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    return w ? s.MakeDc(w, false, nullptr) : nullptr;
}

int ReleaseDC(HWND, HDC dc) { return dc && Sys().ReleaseDcEntry(dc) ? 1 : 0; }

BOOL RedrawWindow(HWND hwnd, const TRect* rect, const TRegion* region, UINT flags) {
    WindowSystem& s = Sys();
    if (!hwnd) {
        std::vector<HWND> tops;
        for (Window* t : s.Desktop()->children) tops.push_back(t->handle);
        for (HWND t : tops) RedrawWindow(t, nullptr, nullptr, flags | RDW_FRAME | RDW_ALLCHILDREN);
        return TRUE;
    }
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    TRegion area;
    if (region) {
        area = *region;
        area.Offset(w->client.Left, w->client.Top);
    } else if (rect) {
        area = TRegion(OffsetRect(*rect, w->client.Left, w->client.Top));
    } else {
        area = TRegion((flags & RDW_FRAME) ? ToWindowRect(w) : w->client);
    }
    if (flags & RDW_INVALIDATE) s.Invalidate(w, area, flags);
    if (flags & RDW_VALIDATE) s.Validate(w, area, flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        if ((w = s.Find(hwnd))) s.PaintNow(w, !(flags & RDW_NOCHILDREN));
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : 0u));
}

BOOL InvalidateRgn(HWND hwnd, const TRegion* region, BOOL erase) {
    return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : 0u));
}

BOOL ValidateRect(HWND hwnd, const TRect* rect) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, const TRegion* region) {
    return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND hwnd) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w) return FALSE;
    s.PaintNow(w, true);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL) {
    Window* w = Sys().Find(hwnd);
    if (!w) return FALSE;
    const TRegion upd = Intersect(w->update, TRegion(w->client));
    if (rect) {
        *rect = upd.IsEmpty() ? TRect{} : OffsetRect(upd.BoundingBox(), -w->client.Left, -w->client.Top);
    }
    return upd.IsEmpty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, TRegion& region, BOOL) {
    Window* w = Sys().Find(hwnd);
    if (!w) return RGN_ERROR;
    region = Intersect(w->update, TRegion(w->client));
    region.Offset(-w->client.Left, -w->client.Top);
    return region.Kind();
}

BOOL PrintWindow(HWND hwnd, HDC dc, UINT) {
    WindowSystem& s = Sys();
    Window* w = s.Find(hwnd);
    if (!w || !dc) return FALSE;
    s.PaintNow(w, true);
    if (!(w = s.Find(hwnd))) return FALSE;
    Window* root = s.Root(w);
    if (!root || !root->surface) return FALSE;
    const TPoint o = s.RootOrigin(w);
    dc->CopyRect({0, 0, w->Width(), w->Height()}, root->surface->Canvas(), Bounds(o.X, o.Y, w->Width(), w->Height()));
    return TRUE;
}
