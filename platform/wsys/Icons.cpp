#include "Icons.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "TBitmap.h"
#include "TCanvas.h"

namespace {

constexpr int kStandardIconSize = 32;
// Anything larger is no icon; refusing it keeps a hostile size from costing memory.
constexpr int kMaxIconSide = 1024;

struct IconEntry {
    IconPixels pixels;
    bool shared = false;
};

// Handles are numbers counted up from 1 and never reused, so a stale handle
// cannot reach a newer icon.
struct IconTable {
    std::uintptr_t next = 1;
    std::map<std::uintptr_t, std::unique_ptr<IconEntry>> icons;
};

IconTable& Table() {
    static IconTable table;
    return table;
}

std::uintptr_t Key(HICON icon) { return reinterpret_cast<std::uintptr_t>(icon); }

bool Fits(const IconPixels& p) {
    return p.width > 0 && p.height > 0 && p.width <= kMaxIconSide && p.height <= kMaxIconSide &&
           p.argb.size() == std::size_t(p.width) * std::size_t(p.height);
}

HICON Add(IconPixels pixels, bool shared) {
    if (!Fits(pixels)) return nullptr;
    IconTable& table = Table();
    const std::uintptr_t key = table.next++;
    table.icons.emplace(key, std::make_unique<IconEntry>(IconEntry{std::move(pixels), shared}));
    return reinterpret_cast<HICON>(key);
}

const IconEntry* EntryOf(HICON icon) {
    const IconTable& table = Table();
    const auto found = table.icons.find(Key(icon));
    return found == table.icons.end() ? nullptr : found->second.get();
}

std::uint32_t Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFFu; }

}  // namespace

HICON CreateIconFromPixels(IconPixels pixels) { return Add(std::move(pixels), false); }

HICON CreateSharedIcon(IconPixels pixels) { return Add(std::move(pixels), true); }

const IconPixels* IconPixelsOf(HICON icon) {
    const IconEntry* entry = EntryOf(icon);
    return entry ? &entry->pixels : nullptr;
}

BOOL DestroyIcon(HICON icon) {
    const IconEntry* entry = EntryOf(icon);
    if (!entry || entry->shared) return FALSE;
    Table().icons.erase(Key(icon));
    return TRUE;
}

IconPixels ScaleIconPixels(const IconPixels& source, int width, int height) {
    IconPixels out{width, height, {}};
    if (width <= 0 || height <= 0 || !Fits(source)) return out;
    out.argb.resize(std::size_t(width) * std::size_t(height));
    if (width == source.width && height == source.height) {
        out.argb = source.argb;
        return out;
    }
    // Each target pixel covers [x0, x1) x [y0, y1) of the source; sum the
    // source pixels weighted by the overlap.
    const double sx = double(source.width) / width, sy = double(source.height) / height;
    for (int ty = 0; ty < height; ++ty) {
        const double y0 = ty * sy, y1 = (ty + 1) * sy;
        for (int tx = 0; tx < width; ++tx) {
            const double x0 = tx * sx, x1 = (tx + 1) * sx;
            double a = 0, r = 0, g = 0, b = 0, area = 0;
            for (int y = int(y0); y < std::min(int(std::ceil(y1)), source.height); ++y) {
                const double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
                for (int x = int(x0); x < std::min(int(std::ceil(x1)), source.width); ++x) {
                    const double w = wy * (std::min(x1, x + 1.0) - std::max(x0, double(x)));
                    if (w <= 0) continue;
                    const std::uint32_t p = source.argb[std::size_t(y) * std::size_t(source.width) + std::size_t(x)];
                    const double pa = Channel(p, 24) / 255.0;
                    a += w * pa;
                    r += w * pa * Channel(p, 16);
                    g += w * pa * Channel(p, 8);
                    b += w * pa * Channel(p, 0);
                    area += w;
                }
            }
            std::uint32_t& t = out.argb[std::size_t(ty) * std::size_t(width) + std::size_t(tx)];
            if (area <= 0 || a <= 0) {
                t = 0;
                continue;
            }
            auto byte = [](double v) { return std::uint32_t(std::clamp(std::lround(v), 0L, 255L)); };
            t = byte(a / area * 255) << 24 | byte(r / a) << 16 | byte(g / a) << 8 | byte(b / a);
        }
    }
    return out;
}

HICON CopyImage(HICON image, UINT type, int cx, int cy, UINT flags) {
    const IconEntry* entry = EntryOf(image);
    if (type != IMAGE_ICON || !entry || cx < 0 || cy < 0) return nullptr;
    const IconPixels& p = entry->pixels;
    if (cx == 0) cx = (flags & LR_DEFAULTSIZE) ? kStandardIconSize : p.width;
    if (cy == 0) cy = (flags & LR_DEFAULTSIZE) ? kStandardIconSize : p.height;
    if ((flags & LR_COPYRETURNORG) && cx == p.width && cy == p.height) return image;
    const HICON copy = CreateIconFromPixels(ScaleIconPixels(p, cx, cy));
    if (copy && (flags & LR_COPYDELETEORG)) DestroyIcon(image);
    return copy;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, void* flickerFreeBrush, UINT flags) {
    const IconPixels* source = IconPixelsOf(icon);
    if (!dc || !source || step != 0 || flickerFreeBrush || !(flags & DI_NORMAL) || cx < 0 || cy < 0) return FALSE;
    if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? kStandardIconSize : source->width;
    if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? kStandardIconSize : source->height;
    if (cx > kMaxIconSide || cy > kMaxIconSide) return FALSE;
    const IconPixels scaled = ScaleIconPixels(*source, cx, cy);
    TBitmap* target = dc->Target();
    if (!target || target->Empty()) return TRUE;

    // What lies under the icon now, blended with it, then put back within
    // the canvas's clip.
    const TPoint shift{dc->Origin().X + dc->DeviceOrigin().X, dc->Origin().Y + dc->DeviceOrigin().Y};
    std::vector<std::uint32_t> block(std::size_t(cx) * std::size_t(cy), 0xFF000000u);
    for (int j = 0; j < cy; ++j) {
        const int sy = y + j + shift.Y;
        const std::uint32_t* row = sy >= 0 && sy < target->Height() ? target->ScanLine(sy) : nullptr;
        for (int i = 0; i < cx; ++i) {
            const int sx = x + i + shift.X;
            const std::uint32_t under = row && sx >= 0 && sx < target->Width() ? row[sx] : 0;
            const std::uint32_t p = scaled.argb[std::size_t(j) * std::size_t(cx) + std::size_t(i)];
            std::uint32_t& out = block[std::size_t(j) * std::size_t(cx) + std::size_t(i)];
            if ((flags & DI_NORMAL) == DI_MASK) {
                out = Channel(p, 24) >= 128 ? 0xFF000000u : 0xFFFFFFFFu;
            } else if ((flags & DI_NORMAL) == DI_IMAGE) {
                out = 0xFF000000u | (p & 0x00FFFFFFu);
            } else {
                const std::uint32_t a = Channel(p, 24);
                out = 0xFF000000u;
                for (int s : {16, 8, 0})
                    out |= ((Channel(p, s) * a + Channel(under, s) * (255 - a) + 127) / 255) << s;
            }
        }
    }
    dc->SetDIBitsToDevice(x, y, cx, cy, block.data(), cx * 4, 32);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
