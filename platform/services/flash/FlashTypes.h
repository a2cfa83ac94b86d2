#pragma once
// Value types of the movie format: colours, rectangles in twips (1/20 pixel),
// 2-D affine matrices and colour transforms.

#include <algorithm>
#include <cstdint>

struct SwfRGBA {
    std::uint8_t R = 0, G = 0, B = 0, A = 255;
    friend bool operator==(const SwfRGBA&, const SwfRGBA&) = default;
};

struct TwipsRect {
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    double Width() const { return XMax - XMin; }
    double Height() const { return YMax - YMin; }
};

struct SwfPoint {
    double X = 0, Y = 0;
};

// x' = A*x + C*y + TX, y' = B*x + D*y + TY (the format's ScaleX, RotateSkew0,
// RotateSkew1, ScaleY and translation).
struct SwfMatrix {
    double A = 1, B = 0, C = 0, D = 1, TX = 0, TY = 0;
    friend bool operator==(const SwfMatrix&, const SwfMatrix&) = default;

    SwfPoint Apply(SwfPoint p) const { return {A * p.X + C * p.Y + TX, B * p.X + D * p.Y + TY}; }
    // This after `inner`: (this * inner)(p) = this(inner(p)).
    SwfMatrix operator*(const SwfMatrix& inner) const {
        return {A * inner.A + C * inner.B, B * inner.A + D * inner.B,
                A * inner.C + C * inner.D, B * inner.C + D * inner.D,
                A * inner.TX + C * inner.TY + TX, B * inner.TX + D * inner.TY + TY};
    }
    double Determinant() const { return A * D - B * C; }
    // False for a matrix that squashes the plane to a line or a point.
    bool Invert(SwfMatrix& inverse) const {
        const double det = Determinant();
        if (!(det > 1e-12 || det < -1e-12)) return false;
        inverse = {D / det, -B / det, -C / det, A / det, (C * TY - D * TX) / det, (B * TX - A * TY) / det};
        return true;
    }
};

// Per channel: value * Mult / 256 + Add, clamped to 0..255.
struct SwfColorTransform {
    int RMult = 256, GMult = 256, BMult = 256, AMult = 256;
    int RAdd = 0, GAdd = 0, BAdd = 0, AAdd = 0;
    friend bool operator==(const SwfColorTransform&, const SwfColorTransform&) = default;

    bool IsIdentity() const {
        return RMult == 256 && GMult == 256 && BMult == 256 && AMult == 256 && RAdd == 0 && GAdd == 0 &&
               BAdd == 0 && AAdd == 0;
    }
    static std::uint8_t Channel(int value, int mult, int add) {
        return static_cast<std::uint8_t>(std::clamp(value * mult / 256 + add, 0, 255));
    }
    SwfRGBA Apply(SwfRGBA c) const {
        return {Channel(c.R, RMult, RAdd), Channel(c.G, GMult, GAdd), Channel(c.B, BMult, BAdd),
                Channel(c.A, AMult, AAdd)};
    }
};
