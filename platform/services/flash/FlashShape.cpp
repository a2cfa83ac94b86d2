#include "FlashShape.h"

#include "SwfBitReader.h"

namespace {

void ReadGradient(SwfBitReader& reader, int shapeVersion, FlashFillStyle& fill) {
    reader.AlignByte();
    fill.SpreadMode = static_cast<int>(reader.UB(2));
    reader.UB(2);  // interpolation mode: colours are blended in RGB
    const int count = static_cast<int>(reader.UB(4));
    for (int i = 0; i < count; ++i) {
        SwfGradientStop stop;
        stop.Ratio = reader.U8() / 255.0;
        stop.Color = shapeVersion >= 3 ? reader.RGBA() : reader.RGB();
        fill.Stops.push_back(stop);
    }
}

FlashFillStyle ReadFillStyle(SwfBitReader& reader, int shapeVersion) {
    FlashFillStyle fill;
    const int type = reader.U8();
    switch (type) {
        case 0x00:
            fill.Type = FlashFillStyle::Kind::Solid;
            fill.Color = shapeVersion >= 3 ? reader.RGBA() : reader.RGB();
            break;
        case 0x10:
        case 0x12:
        case 0x13:
            fill.Type = type == 0x10   ? FlashFillStyle::Kind::LinearGradient
                        : type == 0x12 ? FlashFillStyle::Kind::RadialGradient
                                       : FlashFillStyle::Kind::FocalGradient;
            fill.Matrix = reader.Matrix();
            ReadGradient(reader, shapeVersion, fill);
            if (type == 0x13) fill.FocalPoint = static_cast<std::int16_t>(reader.U16()) / 256.0;
            break;
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43:
            fill.Type = FlashFillStyle::Kind::Bitmap;
            fill.BitmapId = reader.U16();
            fill.Matrix = reader.Matrix();
            fill.Repeat = type == 0x40 || type == 0x42;
            fill.Smooth = type == 0x40 || type == 0x41;
            break;
        default:
            throw ESwfFormatError("Unknown fill style");
    }
    return fill;
}

int ReadStyleCount(SwfBitReader& reader, int shapeVersion) {
    int count = reader.U8();
    if (count == 0xFF && shapeVersion >= 2) count = reader.U16();
    return count;
}

// Takes `count` items from what the shape may still hold, before they are
// decoded, so that a shape past its limit costs no memory for its excess.
void TakeItems(std::size_t& itemsLeft, std::size_t count) {
    if (count > itemsLeft) throw ESwfFormatError("Shape holds more than the movie may");
    itemsLeft -= count;
}

std::vector<FlashFillStyle> ReadFillStyles(SwfBitReader& reader, int shapeVersion, std::size_t& itemsLeft) {
    std::vector<FlashFillStyle> fills;
    const int count = ReadStyleCount(reader, shapeVersion);
    TakeItems(itemsLeft, std::size_t(count));
    for (int i = 0; i < count; ++i) fills.push_back(ReadFillStyle(reader, shapeVersion));
    return fills;
}

std::vector<FlashLineStyle> ReadLineStyles(SwfBitReader& reader, int shapeVersion, std::size_t& itemsLeft) {
    std::vector<FlashLineStyle> lines;
    const int count = ReadStyleCount(reader, shapeVersion);
    TakeItems(itemsLeft, std::size_t(count));
    for (int i = 0; i < count; ++i) {
        FlashLineStyle line;
        line.Width = reader.U16();
        if (shapeVersion < 4) {
            line.Color = shapeVersion >= 3 ? reader.RGBA() : reader.RGB();
        } else {
            reader.UB(2);  // start cap: lines are drawn with round caps and joins
            const int join = static_cast<int>(reader.UB(2));
            line.HasFill = reader.UB(1) != 0;
            reader.UB(11);  // scaling and hinting flags, reserved bits, no-close, end cap
            if (join == 2) reader.U16();  // miter limit
            if (line.HasFill) {
                line.Fill = ReadFillStyle(reader, shapeVersion);
                line.Color = line.Fill.Type == FlashFillStyle::Kind::Solid ? line.Fill.Color : SwfRGBA{};
            } else {
                line.Color = reader.RGBA();
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// A style index outside the arrays selects no style.
int CheckedStyle(std::uint32_t index, std::size_t count) { return index <= count ? static_cast<int>(index) : 0; }

// Text set as outlines needs a few thousand edges; far more is a damaged or
// hostile shape that would only cost drawing time.
constexpr std::size_t kMaxEdgesPerShape = 50000;
// One full style array holds 65,535 styles; a shape may start new arrays,
// but never needs more than two full ones. Each style takes about a hundred
// bytes decoded from as few as four in the file.
constexpr std::size_t kMaxStylesPerShape = 2 * 65535;

void CountStyles(std::size_t& styles, const FlashShapeLayer& layer) {
    styles += layer.Fills.size() + layer.Lines.size();
    if (styles > kMaxStylesPerShape) throw ESwfFormatError("Shape has too many styles");
}

}  // namespace

FlashShape ReadFlashShape(std::span<const std::uint8_t> body, int shapeVersion, std::size_t maxItems) {
    std::size_t itemsLeft = maxItems;
    SwfBitReader reader(body);
    FlashShape shape;
    shape.Bounds = reader.Rect();
    if (shapeVersion >= 4) {
        reader.Rect();  // edge bounds
        const std::uint8_t flags = reader.U8();
        shape.NonZeroWinding = (flags & 0x04) != 0;
    }

    FlashShapeLayer layer;
    std::size_t styleCount = 0;
    layer.Fills = ReadFillStyles(reader, shapeVersion, itemsLeft);
    layer.Lines = ReadLineStyles(reader, shapeVersion, itemsLeft);
    CountStyles(styleCount, layer);
    int fillBits = static_cast<int>(reader.UB(4));
    int lineBits = static_cast<int>(reader.UB(4));

    SwfPoint pen;
    int fill0 = 0, fill1 = 0, line = 0;
    std::size_t edgeCount = 0;
    for (;;) {
        const bool isEdge = reader.UB(1) != 0;
        if (!isEdge) {
            const std::uint32_t flags = reader.UB(5);
            if (flags == 0) break;  // end of shape
            const bool newStyles = (flags & 0x10) != 0;
            const bool hasLine = (flags & 0x08) != 0;
            const bool hasFill1 = (flags & 0x04) != 0;
            const bool hasFill0 = (flags & 0x02) != 0;
            const bool hasMove = (flags & 0x01) != 0;
            if (hasMove) {
                const int bits = static_cast<int>(reader.UB(5));
                pen.X = reader.SB(bits);
                pen.Y = reader.SB(bits);
            }
            const std::uint32_t newFill0 = hasFill0 ? reader.UB(fillBits) : 0;
            const std::uint32_t newFill1 = hasFill1 ? reader.UB(fillBits) : 0;
            const std::uint32_t newLine = hasLine ? reader.UB(lineBits) : 0;
            if (newStyles) {
                shape.Layers.push_back(std::move(layer));
                layer = FlashShapeLayer{};
                layer.Fills = ReadFillStyles(reader, shapeVersion, itemsLeft);
                layer.Lines = ReadLineStyles(reader, shapeVersion, itemsLeft);
                CountStyles(styleCount, layer);
                fillBits = static_cast<int>(reader.UB(4));
                lineBits = static_cast<int>(reader.UB(4));
                // Selections made with the new arrays start from none.
                fill0 = fill1 = line = 0;
            }
            if (hasFill0) fill0 = CheckedStyle(newFill0, layer.Fills.size());
            if (hasFill1) fill1 = CheckedStyle(newFill1, layer.Fills.size());
            if (hasLine) line = CheckedStyle(newLine, layer.Lines.size());
            continue;
        }

        FlashEdge edge;
        edge.From = pen;
        edge.FillStyle0 = fill0;
        edge.FillStyle1 = fill1;
        edge.LineStyle = line;
        const bool straight = reader.UB(1) != 0;
        const int bits = static_cast<int>(reader.UB(4)) + 2;
        if (straight) {
            double dx = 0, dy = 0;
            if (reader.UB(1) != 0) {
                dx = reader.SB(bits);
                dy = reader.SB(bits);
            } else if (reader.UB(1) != 0) {
                dy = reader.SB(bits);
            } else {
                dx = reader.SB(bits);
            }
            edge.To = {pen.X + dx, pen.Y + dy};
        } else {
            edge.Curved = true;
            edge.Control = {pen.X + reader.SB(bits), pen.Y + reader.SB(bits)};
            edge.To = {edge.Control.X + reader.SB(bits), edge.Control.Y + reader.SB(bits)};
        }
        pen = edge.To;
        if (edge.FillStyle0 != 0 || edge.FillStyle1 != 0 || edge.LineStyle != 0) {
            if (++edgeCount > kMaxEdgesPerShape) throw ESwfFormatError("Shape has too many edges");
            TakeItems(itemsLeft, 1);
            layer.Edges.push_back(edge);
        }
    }
    shape.Layers.push_back(std::move(layer));
    return shape;
}
