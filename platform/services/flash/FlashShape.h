#pragma once
// Shapes of the movie format (DefineShape, DefineShape2, 3 and 4): fill and
// line styles and the edges that bound them, in twips. Each edge names the
// fill on either side of it (0 = none) and the line that strokes it.

#include <cstdint>
#include <span>
#include <vector>

#include "FlashTypes.h"
#include "SwfBitReader.h"

struct SwfGradientStop {
    double Ratio = 0;  // 0..1 along the gradient
    SwfRGBA Color;
};

struct FlashFillStyle {
    enum class Kind { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };
    Kind Type = Kind::Solid;
    SwfRGBA Color;                       // Solid
    SwfMatrix Matrix;                    // gradient square or bitmap pixels to shape space
    std::vector<SwfGradientStop> Stops;  // gradients
    int SpreadMode = 0;                  // 0 pad, 1 reflect, 2 repeat
    double FocalPoint = 0;               // -1..1, FocalGradient only
    std::uint16_t BitmapId = 0;          // Bitmap
    bool Repeat = true;                  // Bitmap: tile, or clamp to the edge pixels
    bool Smooth = true;                  // Bitmap: bilinear, or nearest pixel
};

struct FlashLineStyle {
    double Width = 0;  // twips
    SwfRGBA Color;
    bool HasFill = false;  // DefineShape4 lines may be painted with a fill
    FlashFillStyle Fill;
};

struct FlashEdge {
    SwfPoint From, Control, To;
    bool Curved = false;
    int FillStyle0 = 0;  // 1-based indices into the layer's styles, 0 = none
    int FillStyle1 = 0;
    int LineStyle = 0;
};

// A shape starts new style arrays part way; each part is drawn in order,
// its fills first, then its lines.
struct FlashShapeLayer {
    std::vector<FlashFillStyle> Fills;
    std::vector<FlashLineStyle> Lines;
    std::vector<FlashEdge> Edges;
};

struct FlashShape {
    TwipsRect Bounds;
    bool NonZeroWinding = false;  // DefineShape4 may ask for it; otherwise even-odd
    std::vector<FlashShapeLayer> Layers;
};

// `shapeVersion` is 1 to 4 for DefineShape to DefineShape4. `body` starts at
// the shape's bounds, after its character id. Raises ESwfFormatError when the
// data ends inside the shape, or when its styles and edges together number
// more than `maxItems` (checked before each array of styles is decoded).
FlashShape ReadFlashShape(std::span<const std::uint8_t> body, int shapeVersion,
                          std::size_t maxItems = static_cast<std::size_t>(-1));
