#pragma once
// Placing a glyph beside a caption, drawing both, and fitting texts into a
// width with "...". The canvas's font is the one measured and drawn with.

#include <string>
#include <string_view>

#include "AnsiString.h"
#include "Geometry.h"
#include "ImgList.h"
#include "TBitmap.h"
#include "TCanvas.h"
#include "TColor.h"

// Where a button's glyph stands relative to its caption.
enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct GlyphAndTextPlaces {
    TPoint Glyph;  // top-left corner of the glyph
    TPoint Text;   // top-left corner of the text block
    friend bool operator==(const GlyphAndTextPlaces&, const GlyphAndTextPlaces&) = default;
};

// Places a glyph and a text block in `rect`. A negative margin centres the
// pair as a group (glyph, spacing, text); a margin of 0 or more puts the
// glyph that far from the rect's edge on its side and the text beside it.
// Across the layout direction both are centred. A glyph of width 0 takes no
// spacing.
GlyphAndTextPlaces LayoutGlyphAndText(TbsButtonLayout layout, const TRect& rect, int glyphW, int glyphH, int textW,
                                      int textH, int margin, int spacing);

// Draws image `imageIndex` of `images` and the caption `text` in `rect`
// (word-wrapped, centred, tabs expanded), both moved by one pixel right and
// down when `down`; the image in its disabled look unless `enabled`. An index
// outside the list (or no list) means no glyph. With `drawMark`, a mark in
// `markColor` underlines the glyph, or the text when there is no glyph, or
// fills most of the rect when there is neither. Leaves the canvas's brush
// clear.
void DrawImageListGlyphAndText(TCanvas& canvas, const TRect& rect, int margin, TColor markColor, bool drawMark,
                               bool enabled, bool down, const TImageList* images, int imageIndex,
                               const AnsiString& text, TbsButtonLayout layout, int spacing);

// Draws frame `frameIndex` (1-based) of `frameCount` equal frames of `strip`
// and the caption `text` in `rect` (word-wrapped, centred, tabs expanded),
// both moved by one pixel right and down when `down`. With `drawMark`, a mark
// in `markColor` underlines the glyph (across the strip's full width), or the
// text when there is no glyph, or fills most of the rect when there is
// neither. Leaves the canvas's brush clear.
void DrawBitmapGlyphAndText(TCanvas& canvas, const TRect& rect, int margin, TColor markColor, bool drawMark, bool down,
                            int frameIndex, int frameCount, const TBitmap& strip, const AnsiString& text,
                            TbsButtonLayout layout, int spacing);

// Draws frame `index` (1-based) of `count` equal frames of `strip` at (x, y);
// the colour of the frame's bottom-left pixel is transparent. Nothing for an
// empty strip or an index outside 1 .. count.
void DrawGlyphFrame(TCanvas& canvas, int x, int y, int index, int count, const TBitmap& strip);

// The text unchanged when it fits `width`; otherwise as many of its leading
// characters as fit followed by "...", or just "..." when none does. Double-
// byte characters are removed whole.
AnsiString FitTextToWidth(TCanvas& canvas, std::string_view text, int width);
std::u32string FitWideTextToWidth(TCanvas& canvas, std::u32string_view text, int width);

// The extent of a wide text as the text drawing measures it.
int WideTextWidth(TCanvas& canvas, std::u32string_view text);
int WideTextHeight(TCanvas& canvas, std::u32string_view text);
// Draws a wide text in `rect` with DrawText flags `format`.
void DrawWideText(TCanvas& canvas, std::u32string_view text, TRect rect, unsigned format);

// One line, left aligned, vertically centred in `rect`.
void DrawTextVCentered(TCanvas& canvas, const AnsiString& text, const TRect& rect);
// One line at x = rect.Left + 2, vertically centred, clipped to `rect`.
void DrawTextLeftCentered(TCanvas& canvas, const AnsiString& text, const TRect& rect);
// As DrawTextLeftCentered, starting `offset` pixels further right.
void DrawTextLeftCenteredAt(TCanvas& canvas, const AnsiString& text, const TRect& rect, int offset);
