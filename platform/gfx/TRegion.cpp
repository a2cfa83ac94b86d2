#include "TRegion.h"

#include <cstring>
#include <utility>

namespace {

TRect ToRect(const pixman_box32_t& b) { return {b.x1, b.y1, b.x2, b.y2}; }

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(u >> (8 * i)));
}

std::int32_t GetInt32(const std::uint8_t* p) {
    return std::int32_t(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                        (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24));
}

}  // namespace

TRegion::TRegion() { pixman_region32_init(&region_); }

TRegion::TRegion(const TRect& rect) {
    if (IsRectEmpty(rect))
        pixman_region32_init(&region_);
    else
        pixman_region32_init_rect(&region_, rect.Left, rect.Top, unsigned(rect.Width()),
                                  unsigned(rect.Height()));
}

TRegion TRegion::FromRects(std::span<const TRect> rects) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const TRect& r : rects)
        if (!IsRectEmpty(r)) boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
    TRegion result;
    pixman_region32_fini(&result.region_);
    pixman_region32_init_rects(&result.region_, boxes.data(), int(boxes.size()));
    return result;
}

TRegion::TRegion(const TRegion& other) {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

TRegion::TRegion(TRegion&& other) noexcept : TRegion() {
    std::swap(region_, other.region_);
}

TRegion& TRegion::operator=(const TRegion& other) {
    if (this != &other) pixman_region32_copy(&region_, &other.region_);
    return *this;
}

TRegion& TRegion::operator=(TRegion&& other) noexcept {
    std::swap(region_, other.region_);
    return *this;
}

TRegion::~TRegion() { pixman_region32_fini(&region_); }

int TRegion::Combine(const TRegion& a, const TRegion& b, int op) {
    // pixman reads its operands before it writes the result, so `this` may be
    // one of them.
    switch (op) {
        case RGN_AND: pixman_region32_intersect(&region_, &a.region_, &b.region_); break;
        case RGN_OR: pixman_region32_union(&region_, &a.region_, &b.region_); break;
        case RGN_DIFF: pixman_region32_subtract(&region_, &a.region_, &b.region_); break;
        case RGN_XOR: {
            TRegion aNotB, bNotA;
            pixman_region32_subtract(&aNotB.region_, &a.region_, &b.region_);
            pixman_region32_subtract(&bNotA.region_, &b.region_, &a.region_);
            pixman_region32_union(&region_, &aNotB.region_, &bNotA.region_);
            break;
        }
        case RGN_COPY:
            if (this != &a) pixman_region32_copy(&region_, &a.region_);
            break;
        default: return RGN_ERROR;
    }
    return Kind();
}

void TRegion::Offset(int dx, int dy) { pixman_region32_translate(&region_, dx, dy); }

bool TRegion::Contains(int x, int y) const {
    return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&region_), x, y, nullptr);
}

bool TRegion::Overlaps(const TRect& rect) const {
    if (IsRectEmpty(rect)) return false;
    pixman_box32_t box{rect.Left, rect.Top, rect.Right, rect.Bottom};
    return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&region_), &box) !=
           PIXMAN_REGION_OUT;
}

bool TRegion::IsEmpty() const {
    return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&region_));
}

TRect TRegion::BoundingBox() const {
    if (IsEmpty()) return {};
    return ToRect(*pixman_region32_extents(const_cast<pixman_region32_t*>(&region_)));
}

std::vector<TRect> TRegion::Rects() const {
    int count = 0;
    const pixman_box32_t* boxes =
        pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region_), &count);
    std::vector<TRect> rects;
    rects.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) rects.push_back(ToRect(boxes[i]));
    return rects;
}

int TRegion::Kind() const {
    const int n = pixman_region32_n_rects(const_cast<pixman_region32_t*>(&region_));
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool operator==(const TRegion& a, const TRegion& b) {
    return pixman_region32_equal(const_cast<pixman_region32_t*>(&a.region_),
                                 const_cast<pixman_region32_t*>(&b.region_));
}

TRegion CreateRectRgn(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return TRegion(TRect{left, top, right, bottom});
}

int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int op) {
    return dest.Combine(a, b, op);
}

int OffsetRgn(TRegion& region, int dx, int dy) {
    region.Offset(dx, dy);
    return region.Kind();
}

bool PtInRegion(const TRegion& region, int x, int y) { return region.Contains(x, y); }

int GetRgnBox(const TRegion& region, TRect& box) {
    box = region.BoundingBox();
    return region.Kind();
}

std::vector<std::uint8_t> GetRegionData(const TRegion& region) {
    const std::vector<TRect> rects = region.Rects();
    const TRect box = region.BoundingBox();
    std::vector<std::uint8_t> out;
    out.reserve(kRegionDataHeaderSize + 16 * rects.size());
    PutInt32(out, std::int32_t(kRegionDataHeaderSize));
    PutInt32(out, 1);
    PutInt32(out, std::int32_t(rects.size()));
    PutInt32(out, std::int32_t(16 * rects.size()));
    for (int v : {box.Left, box.Top, box.Right, box.Bottom}) PutInt32(out, v);
    for (const TRect& r : rects)
        for (int v : {r.Left, r.Top, r.Right, r.Bottom}) PutInt32(out, v);
    return out;
}

std::optional<TRegion> ExtCreateRegion(std::span<const std::uint8_t> data) {
    if (data.size() < kRegionDataHeaderSize) return std::nullopt;
    const std::uint8_t* p = data.data();
    const std::int32_t headerSize = GetInt32(p);
    const std::int32_t type = GetInt32(p + 4);
    const std::int32_t count = GetInt32(p + 8);
    if (headerSize != std::int32_t(kRegionDataHeaderSize) || type != 1 || count < 0) return std::nullopt;
    if (std::size_t(count) > (data.size() - kRegionDataHeaderSize) / 16) return std::nullopt;
    std::vector<TRect> rects;
    rects.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* r = p + kRegionDataHeaderSize + 16 * std::size_t(i);
        rects.push_back({GetInt32(r), GetInt32(r + 4), GetInt32(r + 8), GetInt32(r + 12)});
    }
    return TRegion::FromRects(rects);
}
