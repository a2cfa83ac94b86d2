#include "SwfWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace adgen {

// ---- bits ----

void BitWriter::UB(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (used_ == 0) bytes_.push_back(0);
        if ((value >> i) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> used_);
        used_ = (used_ + 1) % 8;
    }
}

void BitWriter::SB(std::int32_t value, int bits) {
    const std::uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
    UB(static_cast<std::uint32_t>(value) & mask, bits);
}

void BitWriter::U8(std::uint8_t v) {
    Align();
    bytes_.push_back(v);
}
void BitWriter::U16(std::uint16_t v) {
    U8(v & 0xFF);
    U8(static_cast<std::uint8_t>(v >> 8));
}
void BitWriter::U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(static_cast<std::uint16_t>(v >> 16));
}
void BitWriter::Append(const Bytes& bytes) {
    Align();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

int BitWriter::SignedBits(std::initializer_list<std::int64_t> values) {
    int bits = 1;
    for (std::int64_t v : values) {
        while (v < -(std::int64_t(1) << (bits - 1)) || v >= (std::int64_t(1) << (bits - 1))) ++bits;
    }
    if (bits > 31) throw std::runtime_error("value too large for a bit field");
    return bits;
}

namespace {

std::int32_t Fixed16(double v) { return static_cast<std::int32_t>(std::lround(v * 65536)); }

void WriteRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax) {
    const int bits = BitWriter::SignedBits({xMin, xMax, yMin, yMax});
    w.Align();
    w.UB(static_cast<std::uint32_t>(bits), 5);
    for (int v : {xMin, xMax, yMin, yMax}) w.SB(v, bits);
    w.Align();
}

void WriteMatrix(BitWriter& w, const Matrix& m) {
    w.Align();
    const bool scaled = m.ScaleX != 1 || m.ScaleY != 1;
    w.UB(scaled, 1);
    if (scaled) {
        const int bits = BitWriter::SignedBits({Fixed16(m.ScaleX), Fixed16(m.ScaleY)});
        w.UB(static_cast<std::uint32_t>(bits), 5);
        w.SB(Fixed16(m.ScaleX), bits);
        w.SB(Fixed16(m.ScaleY), bits);
    }
    const bool skewed = m.Skew0 != 0 || m.Skew1 != 0;
    w.UB(skewed, 1);
    if (skewed) {
        const int bits = BitWriter::SignedBits({Fixed16(m.Skew0), Fixed16(m.Skew1)});
        w.UB(static_cast<std::uint32_t>(bits), 5);
        w.SB(Fixed16(m.Skew0), bits);
        w.SB(Fixed16(m.Skew1), bits);
    }
    const int bits = (m.TX == 0 && m.TY == 0) ? 0 : BitWriter::SignedBits({m.TX, m.TY});
    w.UB(static_cast<std::uint32_t>(bits), 5);
    if (bits > 0) {
        w.SB(m.TX, bits);
        w.SB(m.TY, bits);
    }
    w.Align();
}

void WriteColorTransform(BitWriter& w, const ColorTransform& c) {
    w.Align();
    const int bits = BitWriter::SignedBits({c.RMult, c.GMult, c.BMult, c.AMult, c.RAdd, c.GAdd, c.BAdd, c.AAdd});
    w.UB(1, 1);  // add terms
    w.UB(1, 1);  // multiply terms
    w.UB(static_cast<std::uint32_t>(bits), 4);
    for (int v : {c.RMult, c.GMult, c.BMult, c.AMult, c.RAdd, c.GAdd, c.BAdd, c.AAdd}) w.SB(v, bits);
    w.Align();
}

void WriteColor(BitWriter& w, Rgba c, bool withAlpha) {
    w.U8(c.R);
    w.U8(c.G);
    w.U8(c.B);
    if (withAlpha) w.U8(c.A);
}

void WriteFill(BitWriter& w, const FillStyle& f, int version) {
    switch (f.Type) {
        case FillStyle::Kind::Solid:
            w.U8(0x00);
            WriteColor(w, f.Color, version >= 3);
            break;
        case FillStyle::Kind::Linear:
        case FillStyle::Kind::Radial:
            w.U8(f.Type == FillStyle::Kind::Linear ? 0x10 : 0x12);
            WriteMatrix(w, f.Transform);
            w.UB(0, 2);  // pad spread
            w.UB(0, 2);  // RGB interpolation
            w.UB(static_cast<std::uint32_t>(f.Stops.size()), 4);
            for (const auto& stop : f.Stops) {
                w.U8(stop.Ratio);
                WriteColor(w, stop.Color, version >= 3);
            }
            break;
        case FillStyle::Kind::Bitmap:
            w.U8(f.Smooth ? (f.Repeat ? 0x40 : 0x41) : (f.Repeat ? 0x42 : 0x43));
            w.U16(f.BitmapId);
            WriteMatrix(w, f.Transform);
            break;
    }
}

void WriteStyleCount(BitWriter& w, std::size_t count, int version) {
    if (count < 0xFF) {
        w.U8(static_cast<std::uint8_t>(count));
    } else {
        if (version < 2) throw std::runtime_error("too many styles for DefineShape");
        w.U8(0xFF);
        w.U16(static_cast<std::uint16_t>(count));
    }
}

int UnsignedBits(std::size_t value) {
    int bits = 0;
    while ((std::size_t(1) << bits) <= value) ++bits;
    return bits;
}

}  // namespace

// ---- styles ----

Matrix Matrix::ScaleAbout(double s, int x, int y) {
    return {s, s, 0, 0, static_cast<int>(std::lround(x - s * x)), static_cast<int>(std::lround(y - s * y))};
}

FillStyle FillStyle::Linear(int x0, int x1, int yCentre, std::vector<GradientStop> stops) {
    FillStyle f;
    f.Type = Kind::Linear;
    const double scale = (x1 - x0) / 32768.0;
    f.Transform = {scale, scale, 0, 0, (x0 + x1) / 2, yCentre};
    f.Stops = std::move(stops);
    return f;
}

FillStyle FillStyle::Radial(int cx, int cy, int rx, int ry, std::vector<GradientStop> stops) {
    FillStyle f;
    f.Type = Kind::Radial;
    f.Transform = {rx / 16384.0, ry / 16384.0, 0, 0, cx, cy};
    f.Stops = std::move(stops);
    return f;
}

FillStyle FillStyle::Bitmap(std::uint16_t id, double twipsPerPixel, int x, int y, bool smooth) {
    FillStyle f;
    f.Type = Kind::Bitmap;
    f.BitmapId = id;
    f.Transform = {twipsPerPixel, twipsPerPixel, 0, 0, x, y};
    f.Smooth = smooth;
    return f;
}

// ---- paths ----

void Path::MoveTo(int x, int y) {
    commands_.push_back({Command::Kind::Move, 0, 0, x, y});
    startX_ = x_ = x;
    startY_ = y_ = y;
}
void Path::LineTo(int x, int y) {
    if (x == x_ && y == y_) return;
    commands_.push_back({Command::Kind::Line, 0, 0, x, y});
    x_ = x;
    y_ = y;
}
void Path::CurveTo(int cx, int cy, int x, int y) {
    if (x == x_ && y == y_ && cx == x_ && cy == y_) return;
    commands_.push_back({Command::Kind::Curve, cx, cy, x, y});
    x_ = x;
    y_ = y;
}
void Path::Close() { LineTo(startX_, startY_); }

void Path::Rectangle(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    LineTo(x1, y0);
    LineTo(x1, y1);
    LineTo(x0, y1);
    Close();
}

void Path::RoundedRectangle(int x0, int y0, int x1, int y1, int r) {
    MoveTo(x0 + r, y0);
    LineTo(x1 - r, y0);
    CurveTo(x1, y0, x1, y0 + r);
    LineTo(x1, y1 - r);
    CurveTo(x1, y1, x1 - r, y1);
    LineTo(x0 + r, y1);
    CurveTo(x0, y1, x0, y1 - r);
    LineTo(x0, y0 + r);
    CurveTo(x0, y0, x0 + r, y0);
}

void Path::Ellipse(int cx, int cy, int rx, int ry) {
    // Eight quadratic arcs; each control point lies on the tangents' crossing.
    const double k = 1 / std::cos(std::numbers::pi / 8);
    auto at = [&](double angle, double f, bool isX) {
        return static_cast<int>(std::lround(isX ? cx + f * rx * std::cos(angle) : cy + f * ry * std::sin(angle)));
    };
    MoveTo(cx + rx, cy);
    for (int i = 1; i <= 8; ++i) {
        const double mid = (i - 0.5) * std::numbers::pi / 4, end = i * std::numbers::pi / 4;
        CurveTo(at(mid, k, true), at(mid, k, false), at(end, 1, true), at(end, 1, false));
    }
}

void Path::Append(const Path& other) {
    for (const auto& c : other.commands_) {
        switch (c.Type) {
            case Command::Kind::Move: MoveTo(c.X, c.Y); break;
            case Command::Kind::Line: LineTo(c.X, c.Y); break;
            case Command::Kind::Curve: CurveTo(c.CX, c.CY, c.X, c.Y); break;
        }
    }
}

// ---- shapes ----

int ShapeBuilder::AddFill(const FillStyle& fill) {
    fills_.push_back(fill);
    return static_cast<int>(fills_.size());
}

int ShapeBuilder::AddLine(const LineStyle& line) {
    lines_.push_back(line);
    return static_cast<int>(lines_.size());
}

void ShapeBuilder::Draw(const Path& path, int fill, int line) { drawings_.push_back({path, fill, line}); }

int ShapeBuilder::TagCode() const {
    static const int codes[] = {2, 2, 22, 32, 83};
    return codes[std::clamp(version_, 1, 4)];
}

Bytes ShapeBuilder::TagBody(std::uint16_t id) const {
    int xMin = std::numeric_limits<int>::max(), yMin = xMin, xMax = std::numeric_limits<int>::min(), yMax = xMax;
    int halfLine = 0;
    for (const auto& l : lines_) halfLine = std::max(halfLine, l.Width / 2 + 1);
    for (const auto& d : drawings_) {
        for (const auto& c : d.Outline.Commands()) {
            auto include = [&](int x, int y) {
                xMin = std::min(xMin, x);
                xMax = std::max(xMax, x);
                yMin = std::min(yMin, y);
                yMax = std::max(yMax, y);
            };
            include(c.X, c.Y);
            if (c.Type == Path::Command::Kind::Curve) include(c.CX, c.CY);
        }
    }
    if (xMin > xMax) xMin = xMax = yMin = yMax = 0;

    BitWriter w;
    w.U16(id);
    WriteRect(w, xMin - halfLine, xMax + halfLine, yMin - halfLine, yMax + halfLine);
    if (version_ >= 4) {
        WriteRect(w, xMin, xMax, yMin, yMax);
        w.U8(nonZero_ ? 0x04 : 0x00);
    }
    WriteStyleCount(w, fills_.size(), version_);
    for (const auto& f : fills_) WriteFill(w, f, version_);
    WriteStyleCount(w, lines_.size(), version_);
    for (const auto& l : lines_) {
        w.U16(static_cast<std::uint16_t>(l.Width));
        if (version_ >= 4) w.U16(0);  // round caps and joins, no fill, no flags
        WriteColor(w, l.Color, version_ >= 3);
    }
    const int fillBits = UnsignedBits(fills_.size());
    const int lineBits = UnsignedBits(lines_.size());
    w.UB(static_cast<std::uint32_t>(fillBits), 4);
    w.UB(static_cast<std::uint32_t>(lineBits), 4);

    for (const auto& d : drawings_) {
        int x = 0, y = 0;
        for (const auto& c : d.Outline.Commands()) {
            switch (c.Type) {
                case Path::Command::Kind::Move: {
                    w.UB(0, 1);
                    w.UB(0x0F, 5);  // line, fill1, fill0 and a move
                    const int bits = BitWriter::SignedBits({c.X, c.Y});
                    w.UB(static_cast<std::uint32_t>(bits), 5);
                    w.SB(c.X, bits);
                    w.SB(c.Y, bits);
                    w.UB(static_cast<std::uint32_t>(d.Fill), fillBits);  // fill0
                    w.UB(0, fillBits);                                    // fill1
                    w.UB(static_cast<std::uint32_t>(d.Line), lineBits);
                    break;
                }
                case Path::Command::Kind::Line: {
                    const int dx = c.X - x, dy = c.Y - y;
                    const int bits = std::max(2, BitWriter::SignedBits({dx, dy}));
                    w.UB(1, 1);
                    w.UB(1, 1);
                    w.UB(static_cast<std::uint32_t>(bits - 2), 4);
                    if (dx != 0 && dy != 0) {
                        w.UB(1, 1);
                        w.SB(dx, bits);
                        w.SB(dy, bits);
                    } else {
                        w.UB(0, 1);
                        w.UB(dx == 0 ? 1 : 0, 1);
                        w.SB(dx == 0 ? dy : dx, bits);
                    }
                    break;
                }
                case Path::Command::Kind::Curve: {
                    const int v[] = {c.CX - x, c.CY - y, c.X - c.CX, c.Y - c.CY};
                    const int bits = std::max(2, BitWriter::SignedBits({v[0], v[1], v[2], v[3]}));
                    w.UB(1, 1);
                    w.UB(0, 1);
                    w.UB(static_cast<std::uint32_t>(bits - 2), 4);
                    for (int value : v) w.SB(value, bits);
                    break;
                }
            }
            x = c.X;
            y = c.Y;
        }
    }
    w.UB(0, 6);  // end of shape
    return w.Data();
}

// ---- movies ----

void MovieBuilder::Tag(int code, const Bytes& body) {
    BitWriter w;
    if (body.size() < 0x3F) {
        w.U16(static_cast<std::uint16_t>((code << 6) | static_cast<int>(body.size())));
    } else {
        w.U16(static_cast<std::uint16_t>((code << 6) | 0x3F));
        w.U32(static_cast<std::uint32_t>(body.size()));
    }
    w.Append(body);
    const Bytes& bytes = w.Data();
    tags_.insert(tags_.end(), bytes.begin(), bytes.end());
}

void MovieBuilder::SetBackgroundColor(Rgba color) { Tag(9, {color.R, color.G, color.B}); }

void MovieBuilder::DefineShape(std::uint16_t id, const ShapeBuilder& shape) { Tag(shape.TagCode(), shape.TagBody(id)); }

void MovieBuilder::Place(int depth, std::uint16_t id, const Matrix& m, const ColorTransform* cx) {
    BitWriter w;
    w.U8(static_cast<std::uint8_t>(0x02 | 0x04 | (cx ? 0x08 : 0)));
    w.U16(static_cast<std::uint16_t>(depth));
    w.U16(id);
    WriteMatrix(w, m);
    if (cx) WriteColorTransform(w, *cx);
    Tag(26, w.Data());
}

void MovieBuilder::Move(int depth, const Matrix& m, const ColorTransform* cx) {
    BitWriter w;
    w.U8(static_cast<std::uint8_t>(0x01 | 0x04 | (cx ? 0x08 : 0)));
    w.U16(static_cast<std::uint16_t>(depth));
    WriteMatrix(w, m);
    if (cx) WriteColorTransform(w, *cx);
    Tag(26, w.Data());
}

void MovieBuilder::PlaceObject(std::uint16_t id, int depth, const Matrix& m, const ColorTransform* cx) {
    BitWriter w;
    w.U16(id);
    w.U16(static_cast<std::uint16_t>(depth));
    WriteMatrix(w, m);
    if (cx) {
        // The older colour transform has no alpha terms.
        const int bits = BitWriter::SignedBits({cx->RMult, cx->GMult, cx->BMult, cx->RAdd, cx->GAdd, cx->BAdd});
        w.UB(1, 1);
        w.UB(1, 1);
        w.UB(static_cast<std::uint32_t>(bits), 4);
        for (int v : {cx->RMult, cx->GMult, cx->BMult, cx->RAdd, cx->GAdd, cx->BAdd}) w.SB(v, bits);
    }
    Tag(4, w.Data());
}

void MovieBuilder::RemoveObject(std::uint16_t id, int depth) {
    BitWriter w;
    w.U16(id);
    w.U16(static_cast<std::uint16_t>(depth));
    Tag(5, w.Data());
}

void MovieBuilder::Remove(int depth) {
    BitWriter w;
    w.U16(static_cast<std::uint16_t>(depth));
    Tag(28, w.Data());
}

void MovieBuilder::ShowFrame() {
    Tag(1, {});
    ++frames_;
}

Bytes MovieBuilder::Finish(bool compressed) const {
    BitWriter w;
    WriteRect(w, 0, width_ * 20, 0, height_ * 20);
    const int rate = static_cast<int>(std::lround(rate_ * 256));
    w.U16(static_cast<std::uint16_t>(rate));
    w.U16(static_cast<std::uint16_t>(frames_));
    w.Append(tags_);
    w.U16(0);  // End
    Bytes body = w.Data();

    const std::uint32_t length = static_cast<std::uint32_t>(body.size() + 8);
    Bytes file{static_cast<std::uint8_t>(compressed ? 'C' : 'F'), 'W', 'S', 8};
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    if (compressed) {
        uLongf size = compressBound(static_cast<uLong>(body.size()));
        Bytes packed(size);
        if (compress2(packed.data(), &size, body.data(), static_cast<uLong>(body.size()), 9) != Z_OK) {
            throw std::runtime_error("compression failed");
        }
        packed.resize(size);
        body = std::move(packed);
    }
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace adgen
