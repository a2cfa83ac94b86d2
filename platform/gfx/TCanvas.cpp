// TCanvas: coordinates, clipping, saved states, pixels and rectangle fills.
// Lines and shapes are in TCanvasShapes.cpp, text in TCanvasText.cpp, bitmap
// copies in TCanvasBlit.cpp.

#include "TCanvas.h"

#include <pixman.h>

#include <algorithm>

#include "TBitmap.h"

namespace {

// Stands for "no clip": larger than any surface, small enough that pixman's
// 32-bit box arithmetic cannot overflow.
constexpr int kFar = 1 << 29;
const TRect kEverything{-kFar, -kFar, kFar, kFar};

}  // namespace

TCanvas::TCanvas(TBitmap* target) : target_(target) {}

// --- clipping -----------------------------------------------------------------

TRegion TCanvas::SurfaceClip() const {
    if (!target_ || target_->Empty()) return TRegion();
    TRegion clip(target_->BoundsRect());
    if (systemClip_) clip.Combine(clip, *systemClip_, RGN_AND);
    if (clip_) clip.Combine(clip, *clip_, RGN_AND);
    return clip;
}

TRegion TCanvas::CurrentClipOrAll() const { return clip_ ? *clip_ : TRegion(kEverything); }

void TCanvas::SetClipRect(const TRect& rect) { clip_ = TRegion(ToSurface(rect)); }

void TCanvas::SetClipRegion(const TRegion& region) {
    TRegion shifted = region;
    shifted.Offset(Shift().X, Shift().Y);
    clip_ = std::move(shifted);
}

void TCanvas::IntersectClipRect(const TRect& rect) {
    TRegion clip = CurrentClipOrAll();
    clip.Combine(clip, TRegion(ToSurface(rect)), RGN_AND);
    clip_ = std::move(clip);
}

void TCanvas::ExcludeClipRect(const TRect& rect) {
    TRegion clip = CurrentClipOrAll();
    clip.Combine(clip, TRegion(ToSurface(rect)), RGN_DIFF);
    clip_ = std::move(clip);
}

TRegion TCanvas::ClipRegion() const {
    TRegion clip = SurfaceClip();
    clip.Offset(-Shift().X, -Shift().Y);
    return clip;
}

bool TCanvas::RectVisible(const TRect& rect) const { return SurfaceClip().Overlaps(ToSurface(rect)); }

int TCanvas::SaveDC() {
    saved_.push_back({clip_, origin_, Pen, Brush, Font});
    return int(saved_.size());
}

bool TCanvas::RestoreDC(int level) {
    const int count = int(saved_.size());
    const int index = level < 0 ? count + level : level - 1;
    if (level == 0 || index < 0 || index >= count) return false;
    SavedState& state = saved_[std::size_t(index)];
    clip_ = std::move(state.clip);
    origin_ = state.origin;
    Pen = state.pen;
    Brush = state.brush;
    Font.Assign(state.font);
    saved_.erase(saved_.begin() + index, saved_.end());
    return true;
}

// --- pixels and rectangles ------------------------------------------------------

TColor TCanvas::Pixels(int x, int y) const {
    const TPoint s{x + Shift().X, y + Shift().Y};
    if (!SurfaceClip().Contains(s)) return clNone;
    return target_->Pixels(s.X, s.Y);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    PlotSurface(x + Shift().X, y + Shift().Y, ColorToPixel(color), pmCopy, SurfaceClip());
}

void TCanvas::PlotSurface(int sx, int sy, std::uint32_t pixel, TPenMode mode, const TRegion& clip) {
    if (!clip.Contains(sx, sy)) return;
    std::uint32_t& p = target_->ScanLine(sy)[sx];
    switch (mode) {
        case pmCopy: p = pixel; break;
        case pmNot: p = ~p | 0xFF000000u; break;
        case pmXor: p = (p ^ pixel) | 0xFF000000u; break;
    }
}

void TCanvas::FillSurfaceRect(const TRect& surfaceRect, std::uint32_t pixel) {
    if (!target_ || target_->Empty() || IsRectEmpty(surfaceRect)) return;
    if (!systemClip_ && !clip_) {
        // The common case: only the bitmap's edges clip.
        const TRect r = IntersectRect(surfaceRect, target_->BoundsRect());
        if (IsRectEmpty(r)) return;
        pixman_fill(target_->ScanLine(0), int(target_->StridePixels()), 32, r.Left, r.Top, r.Width(),
                    r.Height(), pixel);
        return;
    }
    FillSurfaceRect(surfaceRect, pixel, SurfaceClip());
}

void TCanvas::FillSurfaceRect(const TRect& surfaceRect, std::uint32_t pixel, const TRegion& clip) {
    if (!target_ || target_->Empty() || IsRectEmpty(surfaceRect)) return;
    TRegion area(surfaceRect);
    area.Combine(area, clip, RGN_AND);
    for (const TRect& r : area.Rects())
        pixman_fill(target_->ScanLine(0), int(target_->StridePixels()), 32, r.Left, r.Top, r.Width(),
                    r.Height(), pixel);
}

void TCanvas::FillRect(const TRect& rect) {
    if (Brush.Style == bsClear) return;
    FillSurfaceRect(ToSurface(rect), ColorToPixel(Brush.Color));
}

void TCanvas::FrameRect(const TRect& rect) {
    if (Brush.Style == bsClear || IsRectEmpty(rect)) return;
    const std::uint32_t pixel = ColorToPixel(Brush.Color);
    const TRect r = ToSurface(rect);
    FillSurfaceRect({r.Left, r.Top, r.Right, r.Top + 1}, pixel);
    FillSurfaceRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, pixel);
    FillSurfaceRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, pixel);
    FillSurfaceRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, pixel);
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    if (!target_ || IsRectEmpty(rect)) return;
    const TRegion clip = SurfaceClip();
    const TRect r = ToSurface(rect);
    // Every border pixel once, so that drawing twice restores the pixels.
    auto plot = [&](int x, int y) {
        if (((x + y) & 1) == 0) PlotSurface(x, y, 0, pmNot, clip);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        plot(x, r.Top);
        if (r.Bottom - 1 > r.Top) plot(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        plot(r.Left, y);
        if (r.Right - 1 > r.Left) plot(r.Right - 1, y);
    }
}
