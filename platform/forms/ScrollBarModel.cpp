#include "ScrollBarModel.h"

#include <algorithm>
#include <cmath>

namespace {

int TrackLength(const TScrollBarGeometry& g) { return g.Vertical ? g.Track.Height() : g.Track.Width(); }

}  // namespace

TScrollBarGeometry LayoutScrollBar(const TRect& bar, bool vertical, const TScrollInfo& info) {
    TScrollBarGeometry g;
    g.Bar = bar;
    g.Vertical = vertical;
    const int length = vertical ? bar.Height() : bar.Width();
    const int thickness = vertical ? bar.Width() : bar.Height();
    // Arrow buttons are square, but share the length fairly when the bar is short.
    const int button = std::min(thickness, length / 2);
    if (vertical) {
        g.BackButton = {bar.Left, bar.Top, bar.Right, bar.Top + button};
        g.ForwardButton = {bar.Left, bar.Bottom - button, bar.Right, bar.Bottom};
        g.Track = {bar.Left, bar.Top + button, bar.Right, bar.Bottom - button};
    } else {
        g.BackButton = {bar.Left, bar.Top, bar.Left + button, bar.Bottom};
        g.ForwardButton = {bar.Right - button, bar.Top, bar.Right, bar.Bottom};
        g.Track = {bar.Left + button, bar.Top, bar.Right - button, bar.Bottom};
    }
    const int track = TrackLength(g);
    if (!info.Scrollable() || track < kMinThumbLength) return g;
    const int span = info.Max - info.Min + 1;
    int thumb = info.Page > 0 ? int(std::lround(double(track) * info.Page / span)) : thickness;
    thumb = std::clamp(thumb, kMinThumbLength, track);
    const int travel = track - thumb;
    const int range = info.MaxPos() - info.Min;
    const int offset = range > 0 ? int(std::lround(double(travel) * (info.Clamp(info.Pos) - info.Min) / range)) : 0;
    if (vertical)
        g.Thumb = {g.Track.Left, g.Track.Top + offset, g.Track.Right, g.Track.Top + offset + thumb};
    else
        g.Thumb = {g.Track.Left + offset, g.Track.Top, g.Track.Left + offset + thumb, g.Track.Bottom};
    return g;
}

TScrollPart HitTestScrollBar(const TScrollBarGeometry& g, TPoint p) {
    if (!PtInRect(g.Bar, p)) return TScrollPart::None;
    if (PtInRect(g.BackButton, p)) return TScrollPart::LineBack;
    if (PtInRect(g.ForwardButton, p)) return TScrollPart::LineForward;
    if (IsRectEmpty(g.Thumb)) return TScrollPart::None;
    if (PtInRect(g.Thumb, p)) return TScrollPart::Thumb;
    const bool before = g.Vertical ? p.Y < g.Thumb.Top : p.X < g.Thumb.Left;
    return before ? TScrollPart::PageBack : TScrollPart::PageForward;
}

int PositionFromThumb(const TScrollBarGeometry& g, const TScrollInfo& info, int thumbStart) {
    const int thumb = g.Vertical ? g.Thumb.Height() : g.Thumb.Width();
    const int travel = TrackLength(g) - thumb;
    if (travel <= 0) return info.Min;
    const int range = info.MaxPos() - info.Min;
    const int start = std::clamp(thumbStart, 0, travel);
    return info.Clamp(info.Min + int(std::lround(double(range) * start / travel)));
}
