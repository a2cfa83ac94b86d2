#pragma once
// The small glyphs drawn when a skin brings no picture of its own: caption
// button symbols, check marks and arrows. (x, y) is the top-left corner of the
// glyph's cell; lines leave out their end point, rectangles their right and
// bottom edges. Each routine draws in `color` and leaves the canvas's pen and
// brush as it found them.

#include "Geometry.h"
#include "TCanvas.h"
#include "TColor.h"

void DrawCloseGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawSysMenuGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawMinimizeGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawMaximizeGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawRestoreGlyph(TCanvas& canvas, int x, int y, TColor color);
// Triangles pointing down (shown while rolled up) and up.
void DrawRollDownGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawRollUpGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawTrayGlyph(TCanvas& canvas, int x, int y, TColor color);
// A filled 6 x 6 square.
void DrawSmallBox(TCanvas& canvas, int x, int y, TColor color);
void DrawCheckMark(TCanvas& canvas, int x, int y, TColor color);

// A small triangle pointing down, centred in `rect`.
void DrawDropDownArrow(TCanvas& canvas, const TRect& rect, TColor color);

enum class SkinArrowKind : int { Left = 1, Right = 2, Up = 3, Down = 4 };
// A 4-step triangle pointing the given way, centred in `rect`.
void DrawDirectionArrow(TCanvas& canvas, const TRect& rect, SkinArrowKind kind, TColor color);
