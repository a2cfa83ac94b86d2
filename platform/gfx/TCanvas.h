#pragma once
// A drawing surface over a TBitmap, with the platform's drawing rules:
// rectangles exclude their right and bottom edges, lines exclude their end
// point, text is placed by its top-left corner, and all drawing is clipped.
//
// Coordinates. Logical point p lands on surface pixel p + Origin() +
// DeviceOrigin(). The window system sets the device origin and the system
// clip (in surface pixels) to give a child window a canvas over its parent's
// surface; SetOrigin, the clip calls, SaveDC and RestoreDC work inside that
// and can never reach outside it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "Geometry.h"
#include "TBrush.h"
#include "TColor.h"
#include "TFont.h"
#include "TPen.h"
#include "TRegion.h"

class TBitmap;

// DrawText flags, with the platform's values.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,  // with DT_SINGLELINE only
    DT_BOTTOM = 0x8,   // with DT_SINGLELINE only
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    // Shortens a line that is too wide in its middle: the text before the
    // last path separator ("/" or "\\") loses characters at its end and
    // "..." stands in their place, so the last element stays whole.
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_RTLREADING = 0x20000,  // accepted; text runs left to right
};

class TCanvas {
public:
    explicit TCanvas(TBitmap* target = nullptr);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The surface drawn on (not owned). Without one, drawing does nothing and
    // measuring text still works.
    TBitmap* Target() const { return target_; }
    void SetTarget(TBitmap* target) { target_ = target; }

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // --- coordinates and clipping -------------------------------------------

    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint origin) { origin_ = origin; }
    void SetOrigin(int x, int y) { origin_ = {x, y}; }
    void MoveOrigin(int dx, int dy) { origin_.X += dx, origin_.Y += dy; }

    // For the window system: where the canvas's (0, 0) lies on the surface
    // before Origin() is added, and the surface pixels it may touch at most.
    TPoint DeviceOrigin() const { return deviceOrigin_; }
    void SetDeviceOrigin(TPoint origin) { deviceOrigin_ = origin; }
    void SetSystemClip(const TRegion& surfaceRegion) { systemClip_ = surfaceRegion; }
    void ClearSystemClip() { systemClip_.reset(); }

    // The clip calls take logical coordinates at the time of the call.
    void SetClipRect(const TRect& rect);
    void SetClipRegion(const TRegion& region);
    // Back to no clip of the canvas's own (the system clip still holds).
    void ResetClip() { clip_.reset(); }
    void IntersectClipRect(const TRect& rect);
    void ExcludeClipRect(const TRect& rect);
    // What drawing may touch now, in logical coordinates.
    TRegion ClipRegion() const;
    TRect ClipRect() const { return ClipRegion().BoundingBox(); }
    bool RectVisible(const TRect& rect) const;

    // Saves clip, origin, pen, brush and font; returns the level (1, 2, ...).
    int SaveDC();
    // Restores the state saved at `level` (dropping later ones); a negative
    // level counts back from the last save (-1 = the last). False when there
    // is no such state.
    bool RestoreDC(int level = -1);

    // --- pixels, lines and shapes -------------------------------------------

    // The colour at a logical point; clNone outside the surface.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);

    TPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    // A line from the pen position to (x, y), (x, y) itself not drawn.
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    // Filled with the brush (alternate fill rule) and outlined with the pen.
    void Polygon(std::span<const TPoint> points);

    // Filled with the brush, outlined with the pen; covers left .. right - 1
    // and top .. bottom - 1. A wider pen grows the outline inwards.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // The ellipse inside the rectangle, filled and outlined like Rectangle.
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // A rectangle with corners rounded by ellipses of cornerW x cornerH.
    void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);

    // With the brush colour; right and bottom edges excluded. A clear brush
    // draws nothing.
    void FillRect(const TRect& rect);
    // A 1-pixel border in the brush colour, right and bottom edges excluded.
    void FrameRect(const TRect& rect);
    // The dotted focus frame: every other pixel of the border inverted, so a
    // second call removes it.
    void DrawFocusRect(const TRect& rect);

    // --- text ----------------------------------------------------------------

    // Text in code page 936, top-left corner at (x, y), in Font.Color, on the
    // brush colour unless the brush is clear. Moves the pen to the end.
    void TextOut(int x, int y, const AnsiString& text);
    // The same, clipped to `rect`; a solid brush fills the whole rect first.
    void TextRect(const TRect& rect, int x, int y, const AnsiString& text);
    // Formatted text in `rect` (DT_ flags); returns the height of the text.
    // With DT_CALCRECT nothing is drawn and `rect` is set to the text's
    // extent: the right edge to the widest line, the bottom to the last line.
    int DrawText(const AnsiString& text, TRect& rect, unsigned flags);
    TSize TextExtent(const AnsiString& text);
    int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }

    // Text given as Unicode code points, for the callers that keep wide text.
    int DrawTextW(std::u32string_view text, TRect& rect, unsigned flags);
    TSize TextExtentW(std::u32string_view text);
    void TextOutW(int x, int y, std::u32string_view text);

    // --- pictures -------------------------------------------------------------

    // The bitmap unscaled at (x, y); its transparent colour skipped when it
    // is Transparent.
    void Draw(int x, int y, const TBitmap& bitmap);
    // The whole bitmap scaled into `rect` (nearest pixel), transparency as Draw.
    void StretchDraw(const TRect& rect, const TBitmap& bitmap);
    // Copies `srcRect` of another canvas (its logical coordinates; its clip
    // does not matter) into `dest`, scaling by nearest pixel when the sizes
    // differ. Parts of `srcRect` outside the source surface copy nothing.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect);
    // Sets a block of raw pixels at (x, y) unscaled: `bitsPerPixel` 32
    // (x8r8g8b8 words) or 24 (blue, green, red bytes); rows `strideBytes`
    // apart, the first row on top unless `bottomUp`.
    void SetDIBitsToDevice(int x, int y, int width, int height, const void* bits,
                           int strideBytes, int bitsPerPixel, bool bottomUp = false);

private:
    struct SavedState {
        std::optional<TRegion> clip;
        TPoint origin;
        TPen pen;
        TBrush brush;
        TFont font;
    };

    // One character of laid-out text; `underline` marks a "&" prefix.
    struct TextChar {
        char32_t c;
        bool underline;
    };
    using Span = std::pair<int, std::pair<int, int>>;  // y, [x0, x1) in logical coordinates

    TPoint Shift() const { return {origin_.X + deviceOrigin_.X, origin_.Y + deviceOrigin_.Y}; }
    TRect ToSurface(const TRect& r) const { return OffsetRect(r, Shift().X, Shift().Y); }
    // The surface pixels drawing may touch: the bitmap, the system clip, the clip.
    TRegion SurfaceClip() const;
    // The clip region to build on when narrowing: the clip or everything.
    TRegion CurrentClipOrAll() const;
    void FillSurfaceRect(const TRect& surfaceRect, std::uint32_t pixel);
    void FillSurfaceRect(const TRect& surfaceRect, std::uint32_t pixel, const TRegion& clip);
    void FillSpans(const std::vector<Span>& spans, TColor color, TPenMode mode);
    void PlotSurface(int sx, int sy, std::uint32_t pixel, TPenMode mode, const TRegion& clip);
    void StrokeLine(TPoint from, TPoint to);
    void StrokeRoundedRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
    int TextRunWidth(std::span<const TextChar> text, int tabWidth);
    void DrawTextRun(int x, int y, std::span<const TextChar> text, int tabWidth, const TRegion& clip);
    int DrawTextChars(std::vector<TextChar> text, TRect& rect, unsigned flags);
    void EndEllipsify(std::vector<TextChar>& line, int maxWidth, int tabWidth);
    void PathEllipsify(std::vector<TextChar>& line, int maxWidth, int tabWidth);
    void Blit(const TRect& dest, const TBitmap& source, const TRect& srcRect,
              std::optional<std::uint32_t> transparentPixel);

    TBitmap* target_ = nullptr;
    TPoint origin_;
    TPoint deviceOrigin_;
    std::optional<TRegion> systemClip_;  // surface coordinates
    std::optional<TRegion> clip_;        // surface coordinates
    TPoint penPos_;
    std::vector<SavedState> saved_;
};
