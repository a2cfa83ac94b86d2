#pragma once
// Writing movies in the banner player's file format: bit fields, matrices,
// colour transforms, fill and line styles, shapes built from paths, and the
// tags that place them frame by frame.

#include <cstdint>
#include <string>
#include <vector>

namespace adgen {

using Bytes = std::vector<std::uint8_t>;

class BitWriter {
public:
    void UB(std::uint32_t value, int bits);
    void SB(std::int32_t value, int bits);
    void Align() { used_ = 0; }
    void U8(std::uint8_t v);
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void Append(const Bytes& bytes);
    const Bytes& Data() { Align(); return bytes_; }

    // Bits of a signed field that holds every one of `values`.
    static int SignedBits(std::initializer_list<std::int64_t> values);

private:
    Bytes bytes_;
    int used_ = 0;
};

struct Rgba {
    std::uint8_t R = 0, G = 0, B = 0, A = 255;
};

// x' = ScaleX*x + Skew1*y + TX, y' = Skew0*x + ScaleY*y + TY; translation in twips.
struct Matrix {
    double ScaleX = 1, ScaleY = 1, Skew0 = 0, Skew1 = 0;
    int TX = 0, TY = 0;

    static Matrix Translate(int x, int y) { return {1, 1, 0, 0, x, y}; }
    // Scaling by `s` about the point (x, y).
    static Matrix ScaleAbout(double s, int x, int y);
};

struct ColorTransform {
    int RMult = 256, GMult = 256, BMult = 256, AMult = 256;
    int RAdd = 0, GAdd = 0, BAdd = 0, AAdd = 0;
    static ColorTransform Alpha(double alpha) { return {256, 256, 256, static_cast<int>(alpha * 256 + 0.5), 0, 0, 0, 0}; }
};

struct GradientStop {
    std::uint8_t Ratio;
    Rgba Color;
};

// An encoded fill style; colours carry alpha from DefineShape3 on.
struct FillStyle {
    enum class Kind { Solid, Linear, Radial, Bitmap } Type = Kind::Solid;
    Rgba Color;
    Matrix Transform;
    std::vector<GradientStop> Stops;
    std::uint16_t BitmapId = 0;
    bool Smooth = true;
    bool Repeat = false;

    static FillStyle Solid(Rgba color) { return {Kind::Solid, color, {}, {}, 0, true, false}; }
    // A gradient running from (x0, y) to (x1, y) across a band.
    static FillStyle Linear(int x0, int x1, int yCentre, std::vector<GradientStop> stops);
    // A gradient from the centre out to the given radii.
    static FillStyle Radial(int cx, int cy, int rx, int ry, std::vector<GradientStop> stops);
    // Bitmap pixels scaled by `scale` twips each, from (x, y).
    static FillStyle Bitmap(std::uint16_t id, double twipsPerPixel, int x, int y, bool smooth = true);
};

struct LineStyle {
    int Width = 20;  // twips
    Rgba Color;
};

// Outlines in twips: contours of straight and quadratic edges.
class Path {
public:
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void CurveTo(int cx, int cy, int x, int y);
    void Close();  // a straight edge back to the contour's start, when needed

    void Rectangle(int x0, int y0, int x1, int y1);
    void RoundedRectangle(int x0, int y0, int x1, int y1, int radius);
    void Ellipse(int cx, int cy, int rx, int ry);
    void Append(const Path& other);

    struct Command {
        enum class Kind { Move, Line, Curve } Type;
        int CX, CY, X, Y;
    };
    const std::vector<Command>& Commands() const { return commands_; }
    bool Empty() const { return commands_.empty(); }

private:
    std::vector<Command> commands_;
    int startX_ = 0, startY_ = 0, x_ = 0, y_ = 0;
};

// A shape: style arrays and the paths drawn with them.
class ShapeBuilder {
public:
    // `version` is 1 to 4 for DefineShape to DefineShape4; nonZero asks
    // DefineShape4 for the non-zero winding rule (glyphs overlap).
    explicit ShapeBuilder(int version, bool nonZero = false) : version_(version), nonZero_(nonZero) {}

    int AddFill(const FillStyle& fill);   // returns the 1-based style index
    int AddLine(const LineStyle& line);
    // Draws `path` with fill style `fill` (0 = none) inside and line `line`.
    void Draw(const Path& path, int fill, int line = 0);

    int TagCode() const;
    Bytes TagBody(std::uint16_t id) const;

private:
    struct Drawing {
        Path Outline;
        int Fill, Line;
    };
    int version_;
    bool nonZero_;
    std::vector<FillStyle> fills_;
    std::vector<LineStyle> lines_;
    std::vector<Drawing> drawings_;
};

class MovieBuilder {
public:
    MovieBuilder(int widthPx, int heightPx, double frameRate) : width_(widthPx), height_(heightPx), rate_(frameRate) {}

    void Tag(int code, const Bytes& body);
    void SetBackgroundColor(Rgba color);
    void DefineShape(std::uint16_t id, const ShapeBuilder& shape);
    // A new character at a depth, with PlaceObject2.
    void Place(int depth, std::uint16_t id, const Matrix& m = {}, const ColorTransform* cx = nullptr);
    // The character at a depth moved or recoloured, with PlaceObject2.
    void Move(int depth, const Matrix& m, const ColorTransform* cx = nullptr);
    // The older PlaceObject and RemoveObject tags.
    void PlaceObject(std::uint16_t id, int depth, const Matrix& m, const ColorTransform* cx = nullptr);
    void RemoveObject(std::uint16_t id, int depth);
    void Remove(int depth);  // RemoveObject2
    void ShowFrame();

    // The whole file; compressed files start with "CWS".
    Bytes Finish(bool compressed) const;

private:
    int width_, height_;
    double rate_;
    Bytes tags_;
    int frames_ = 0;
};

}  // namespace adgen
