// Presenting a window's pixels: each X window keeps an image of what it
// shows, at the screen's scale, in memory shared with the server when the
// server offers it (XPutImage over the connection otherwise). A present
// copies only the damaged rectangles into the image and puts only those; an
// expose puts the image again without asking the program.

#include "X11Backend.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "TBitmap.h"
#include "TColor.h"

namespace {

bool attachFailed = false;
int NoteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

}  // namespace

void X11Backend::AwaitSharedPuts() {
    XEvent e;
    while (shmPutsPending_ > 0 && XCheckTypedEvent(display_, shmCompletion_, &e)) --shmPutsPending_;
    if (shmPutsPending_ == 0) return;
    XSync(display_, False);
    while (XCheckTypedEvent(display_, shmCompletion_, &e)) {}
    shmPutsPending_ = 0;
}

void X11Backend::FreeImage(Image& image) {
    if (!image.image) return;
    AwaitSharedPuts();
    if (image.shared) {
        XShmDetach(display_, &image.shm);
        XSync(display_, False);
        shmdt(image.shm.shmaddr);
        image.image->data = nullptr;
    }
    XDestroyImage(image.image);
    image = Image{};
}

bool X11Backend::EnsureImage(Native& n) {
    Image& img = n.pixels;
    if (img.image && img.width == n.size.cx && img.height == n.size.cy) return true;
    FreeImage(img);
    const int w = n.size.cx, h = n.size.cy;
    if (shm_) {
        XImage* image = XShmCreateImage(display_, visual_, unsigned(depth_), ZPixmap, nullptr, &img.shm, unsigned(w),
                                        unsigned(h));
        if (image && image->bits_per_pixel == 32) {
            img.shm.shmid = shmget(IPC_PRIVATE, std::size_t(image->bytes_per_line) * std::size_t(h), IPC_CREAT | 0600);
            if (img.shm.shmid >= 0) {
                img.shm.shmaddr = image->data = static_cast<char*>(shmat(img.shm.shmid, nullptr, 0));
                img.shm.readOnly = True;
                if (image->data != reinterpret_cast<char*>(-1)) {
                    // A server on another machine cannot attach: it says so
                    // with an error, and the pixels then travel by XPutImage.
                    XSync(display_, False);
                    attachFailed = false;
                    auto* previous = XSetErrorHandler(NoteAttachError);
                    XShmAttach(display_, &img.shm);
                    XSync(display_, False);
                    XSetErrorHandler(previous);
                    // Removed now, the segment goes away with the last user.
                    shmctl(img.shm.shmid, IPC_RMID, nullptr);
                    if (!attachFailed) {
                        img.image = image;
                        img.shared = true;
                        img.width = w;
                        img.height = h;
                        return true;
                    }
                    shmdt(img.shm.shmaddr);
                    shm_ = false;
                } else {
                    shmctl(img.shm.shmid, IPC_RMID, nullptr);
                }
            }
            image->data = nullptr;
        }
        if (image) XDestroyImage(image);
        img = Image{};
    }
    char* data = static_cast<char*>(std::calloc(std::size_t(w) * std::size_t(h), 4));
    if (!data) return false;
    img.image = XCreateImage(display_, visual_, unsigned(depth_), ZPixmap, 0, data, unsigned(w), unsigned(h), 32, w * 4);
    if (!img.image) {
        std::free(data);
        return false;
    }
    img.width = w;
    img.height = h;
    return true;
}

void X11Backend::PutImage(Native& n, const TRect& r0) {
    const Image& img = n.pixels;
    if (!img.image || !n.window) return;
    const TRect r = IntersectRect(r0, {0, 0, img.width, img.height});
    if (IsRectEmpty(r)) return;
    GC gc = DefaultGC(display_, screen_);
    if (img.shared) {
        XShmPutImage(display_, n.window, gc, img.image, r.Left, r.Top, r.Left, r.Top, unsigned(r.Width()),
                     unsigned(r.Height()), True);
        ++shmPutsPending_;
    } else {
        XPutImage(display_, n.window, gc, img.image, r.Left, r.Top, r.Left, r.Top, unsigned(r.Width()),
                  unsigned(r.Height()));
    }
}

void X11Backend::Present(HWND hwnd, const TBitmap& surface, const TRegion& dirty) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end() || !it->second.window || !it->second.visible || surface.Empty()) return;
    Native& n = it->second;
    if (!EnsureImage(n)) return;
    // The server may still be reading the shared image of an earlier
    // present; writing into it now would show a torn mix.
    AwaitSharedPuts();
    if (n.state.colorKeyed || n.keyShape) ShapeByColorKey(n, surface);
    XImage* image = n.pixels.image;
    const TRect bounds = IntersectRect(surface.BoundsRect(), {0, 0, Down(n.pixels.width), Down(n.pixels.height)});
    const int s = scale_;
    for (const TRect& r0 : dirty.Rects()) {
        const TRect r = IntersectRect(r0, bounds);
        if (IsRectEmpty(r)) continue;
        // Pixels of 0x00RRGGBB are the layout of the usual 24-bit TrueColor
        // visual stored in 32 bits; enlarged by repeating each pixel.
        for (int y = r.Top; y < r.Bottom; ++y) {
            const std::uint32_t* src = surface.ScanLine(y) + r.Left;
            auto* dst = reinterpret_cast<std::uint32_t*>(image->data + std::size_t(y * s) * std::size_t(image->bytes_per_line)) +
                        r.Left * s;
            if (s == 1) {
                std::memcpy(dst, src, std::size_t(r.Width()) * 4);
                continue;
            }
            for (int x = 0; x < r.Width(); ++x)
                for (int k = 0; k < s; ++k) dst[x * s + k] = src[x];
            for (int k = 1; k < s; ++k)
                std::memcpy(reinterpret_cast<char*>(dst) + std::size_t(k) * std::size_t(image->bytes_per_line), dst,
                            std::size_t(r.Width() * s) * 4);
        }
        PutImage(n, {r.Left * s, r.Top * s, r.Right * s, r.Bottom * s});
    }
    XFlush(display_);
}

// A colour-keyed window shows the desktop where its pixels have the key
// colour: with no compositing to rely on, those pixels are cut from its
// shape, clicks included, as the window system's own hit tests treat them.
void X11Backend::ShapeByColorKey(Native& n, const TBitmap& surface) {
    if (!n.state.colorKeyed) {
        n.keyShape.reset();
        n.shapeApplied = false;
        ApplyShape(n);
        return;
    }
    const std::uint32_t key = ColorToPixel(TColor(n.state.colorKey)) & 0x00FFFFFFu;
    std::vector<TRect> runs;
    for (int y = 0; y < surface.Height(); ++y) {
        const std::uint32_t* row = surface.ScanLine(y);
        for (int x = 0; x < surface.Width();) {
            while (x < surface.Width() && (row[x] & 0xFFFFFFu) == key) ++x;
            const int start = x;
            while (x < surface.Width() && (row[x] & 0xFFFFFFu) != key) ++x;
            if (x > start) runs.push_back({start, y, x, y + 1});
        }
    }
    TRegion shape = TRegion::FromRects(runs);
    if (n.keyShape && *n.keyShape == shape) return;
    n.keyShape = std::move(shape);
    n.shapeApplied = false;
    ApplyShape(n);
}
