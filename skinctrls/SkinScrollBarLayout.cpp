#include "SkinScrollBarLayout.h"

#include <algorithm>
#include <cmath>

#include "SkinGeometry.h"

namespace {

constexpr int kDefaultButton = 17;
constexpr int kDefaultThumb = 16;

// Rounds to the nearest integer, halves to the even one.
int RoundEven(double v) { return int(std::nearbyint(v)); }

// The fraction of the way a position lies through the range (no page).
double PlainFraction(const ScrollBarRange& r) {
    return r.Max == r.Min ? 0.0 : double(r.Position - r.Min) / double(r.Max - r.Min);
}

// The same with a page: across the positions a page leaves free. When none
// is free a horizontal bar puts the thumb at the end, a vertical one at the
// start.
double PagedFraction(const ScrollBarRange& r, bool vertical) {
    const int span = r.Max - r.PageSize - r.Min + 1;
    if (span > 0) return double(r.Position - r.Min) / double(span);
    return vertical ? 0.0 : 1.0;
}

int PagedThumbLength(int trackLength, const ScrollBarRange& r, int minimum) {
    const int range = r.Max - r.Min + 1;
    const int len = range > 0 ? RoundEven(double(trackLength) * r.PageSize / range) : trackLength;
    return std::max(len, minimum);
}

// Places the thumb of `length` along the track; `across` is its extent
// across the bar (start, end).
void PlaceThumb(ScrollBarLayout& l, bool vertical, int length, double fraction, int acrossStart, int acrossEnd) {
    const int trackStart = vertical ? l.Track.Top : l.Track.Left;
    const int trackEnd = vertical ? l.Track.Bottom : l.Track.Right;
    const int half = length / 2;
    l.ThumbTravelStart = trackStart + half;
    l.ThumbTravelEnd = trackEnd - half;
    l.ThumbShift = RoundEven(double(trackEnd - trackStart - 2 * half) * fraction);
    const int a = trackStart + l.ThumbShift;
    l.Thumb = vertical ? TRect{acrossStart, a, acrossEnd, a + 2 * half} : TRect{a, acrossStart, a + 2 * half, acrossEnd};
}

}  // namespace

ScrollBarLayout LayoutDefaultScrollBar(int W, int H, bool vertical, int usableLength, const ScrollBarRange& range) {
    ScrollBarLayout l;
    if (!vertical) {
        const int w = usableLength;
        l.DecButton = {1, 1, kDefaultButton, H - 1};
        l.IncButton = {w - kDefaultButton, 1, w - 1, H - 1};
        l.Track = {kDefaultButton, 1, w - kDefaultButton, H - 1};
    } else {
        const int h = usableLength;
        l.DecButton = {1, 1, W - 1, kDefaultButton};
        l.IncButton = {1, h - kDefaultButton, W - 1, h - 1};
        l.Track = {1, kDefaultButton, W - 1, h - kDefaultButton};
    }
    const int trackLength = vertical ? HeightOf(l.Track) : WidthOf(l.Track);
    const int acrossStart = vertical ? l.Track.Left : l.Track.Top;
    const int acrossEnd = vertical ? l.Track.Right : l.Track.Bottom;
    if (range.PageSize <= 0)
        PlaceThumb(l, vertical, kDefaultThumb, PlainFraction(range), acrossStart, acrossEnd);
    else
        PlaceThumb(l, vertical, PagedThumbLength(trackLength, range, kDefaultThumb), PagedFraction(range, vertical),
                   acrossStart, acrossEnd);
    return l;
}

ScrollBarLayout LayoutSkinnedScrollBar(int W, int H, bool vertical, const TbsDataSkinScrollBarControl& rec,
                                       const ScrollBarRange& range) {
    ScrollBarLayout l;
    l.Track = rec.trackarea;
    l.IncButton = rec.upbuttonrect;
    l.DecButton = rec.downbuttonrect;
    // A button that starts beyond the far corner point lies in the far end
    // piece of the image and moves with the bar's length; one that starts on
    // the point stays where the skin has it.
    if (!vertical) {
        const int grow = W - WidthOf(rec.skinrect);
        l.Track.Right += grow;
        for (TRect* b : {&l.IncButton, &l.DecButton})
            if (b->Left > rec.righttoppoint.X) *b = OffsetRect(*b, grow, 0);
    } else {
        const int grow = H - HeightOf(rec.skinrect);
        l.Track.Bottom += grow;
        for (TRect* b : {&l.IncButton, &l.DecButton})
            if (b->Top > rec.leftbottompoint.Y) *b = OffsetRect(*b, 0, grow);
    }
    const int alongSkin = vertical ? HeightOf(rec.thumbrect) : WidthOf(rec.thumbrect);
    const int acrossSkin = vertical ? WidthOf(rec.thumbrect) : HeightOf(rec.thumbrect);
    const int minimum = rec.thumbminsize > 0 ? rec.thumbminsize : alongSkin;
    const int trackLength = vertical ? HeightOf(l.Track) : WidthOf(l.Track);
    int length;
    double fraction;
    if (range.PageSize > 0) {
        length = PagedThumbLength(trackLength, range, minimum);
        fraction = PagedFraction(range, vertical);
    } else {
        length = rec.thumbminpagesize > 0 ? rec.thumbminpagesize : minimum;
        fraction = PlainFraction(range);
    }
    // The thumb sits in the middle of the track across the bar.
    const int acrossStart = vertical ? l.Track.Left + WidthOf(l.Track) / 2 - acrossSkin / 2
                                     : l.Track.Top + HeightOf(l.Track) / 2 - acrossSkin / 2;
    PlaceThumb(l, vertical, length, fraction, acrossStart, acrossStart + acrossSkin);
    return l;
}

int ScrollBarPositionForShift(const ScrollBarLayout& l, bool vertical, int thumbLength, int shift,
                              const ScrollBarRange& range) {
    int start = l.ThumbTravelStart, end = l.ThumbTravelEnd;
    if (range.PageSize > 0) {
        start = (vertical ? l.Track.Top : l.Track.Left) + thumbLength / 2;
        end = (vertical ? l.Track.Bottom : l.Track.Right) - thumbLength / 2;
    }
    double f = end > start ? double(shift) / double(end - start) : 0.0;
    f = std::clamp(f, 0.0, 1.0);
    if (range.PageSize > 0) return range.Min + RoundEven((range.Max - range.Min - range.PageSize + 1) * f);
    return range.Min + RoundEven((range.Max - range.Min) * f);
}
