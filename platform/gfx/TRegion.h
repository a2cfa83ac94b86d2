#pragma once
// Regions: sets of pixels made of rectangles, for window shapes, invalid areas
// and clipping. A value type over pixman's 32-bit regions; copying copies the
// rectangles.

#include <pixman.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "Geometry.h"

// How Combine joins two regions.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// What a region operation reports about its result. The platform calls the
// failure value ERROR; that bare name collides too easily, hence RGN_ERROR.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class TRegion {
public:
    TRegion();
    // The rectangle's pixels; an empty or inverted rectangle gives an empty region.
    explicit TRegion(const TRect& rect);
    // The union of the rectangles; empty ones are skipped.
    static TRegion FromRects(std::span<const TRect> rects);

    TRegion(const TRegion& other);
    TRegion(TRegion&& other) noexcept;
    TRegion& operator=(const TRegion& other);
    TRegion& operator=(TRegion&& other) noexcept;
    ~TRegion();

    // Makes this region `a` op `b` (b is ignored for RGN_COPY) and returns the
    // kind of the result; an unknown op leaves it unchanged and gives RGN_ERROR.
    int Combine(const TRegion& a, const TRegion& b, int op);

    void Offset(int dx, int dy);
    bool Contains(int x, int y) const;
    bool Contains(const TPoint& p) const { return Contains(p.X, p.Y); }
    // True when any pixel of the rectangle lies in the region.
    bool Overlaps(const TRect& rect) const;
    bool IsEmpty() const;
    // The smallest rectangle holding the region; all zero when it is empty.
    TRect BoundingBox() const;
    // The region as disjoint rectangles, in rows from top to bottom.
    std::vector<TRect> Rects() const;
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Kind() const;

    friend bool operator==(const TRegion& a, const TRegion& b);

    pixman_region32_t* Native() { return &region_; }
    const pixman_region32_t* Native() const { return &region_; }

private:
    pixman_region32_t region_;
};

// The platform's region calls, as thin functions over TRegion.
// CreateRectRgn orders swapped coordinates as the platform does.
TRegion CreateRectRgn(int left, int top, int right, int bottom);
int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int op);
int OffsetRgn(TRegion& region, int dx, int dy);
bool PtInRegion(const TRegion& region, int x, int y);
int GetRgnBox(const TRegion& region, TRect& box);

// Region data in the platform's binary layout: a 32-byte header of
// little-endian 32-bit fields (header size 32, type 1 for rectangles, the
// rectangle count, a size field, the bounding rectangle), then the rectangles
// as four 32-bit integers each (left, top, right, bottom).
constexpr std::size_t kRegionDataHeaderSize = 32;
std::vector<std::uint8_t> GetRegionData(const TRegion& region);
// A region from such data; no value when the data is malformed (short, wrong
// header size or type, or a count that does not fit the bytes), as the
// platform returns no region then.
std::optional<TRegion> ExtCreateRegion(std::span<const std::uint8_t> data);
