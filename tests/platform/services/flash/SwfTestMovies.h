#pragma once
// Writing small movies for the player's tests: bit fields, rectangles,
// matrices, styles, shape records and tags, in the file format's layout.

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class BitWriter {
public:
    void UB(std::uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if (used_ == 0) bytes_.push_back(0);
            if ((value >> i) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> used_);
            used_ = (used_ + 1) % 8;
        }
    }
    void SB(std::int32_t value, int bits) { UB(static_cast<std::uint32_t>(value) & ((bits == 32) ? ~0u : ((1u << bits) - 1)), bits); }
    void Align() { used_ = 0; }
    void U8(std::uint8_t v) { Align(); bytes_.push_back(v); }
    void U16(std::uint16_t v) { U8(v & 0xFF); U8(v >> 8); }
    void U32(std::uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    void Append(const Bytes& b) { Align(); bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    const Bytes& Data() { Align(); return bytes_; }

    // Bits needed for a signed field holding all the values.
    static int SignedBits(std::initializer_list<std::int32_t> values) {
        int bits = 1;
        for (std::int32_t v : values) {
            while (v < -(1 << (bits - 1)) || v >= (1 << (bits - 1))) ++bits;
        }
        return bits;
    }

private:
    Bytes bytes_;
    int used_ = 0;
};

inline void WriteRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax) {
    const int bits = BitWriter::SignedBits({xMin, xMax, yMin, yMax});
    w.UB(bits, 5);
    for (int v : {xMin, xMax, yMin, yMax}) w.SB(v, bits);
    w.Align();
}

struct TestMatrix {
    double ScaleX = 1, ScaleY = 1, Skew0 = 0, Skew1 = 0;
    int TX = 0, TY = 0;  // twips
};

inline void WriteMatrix(BitWriter& w, const TestMatrix& m) {
    auto fixed = [](double v) { return static_cast<std::int32_t>(v * 65536); };
    const bool scaled = m.ScaleX != 1 || m.ScaleY != 1;
    w.UB(scaled, 1);
    if (scaled) {
        const int bits = BitWriter::SignedBits({fixed(m.ScaleX), fixed(m.ScaleY)});
        w.UB(bits, 5);
        w.SB(fixed(m.ScaleX), bits);
        w.SB(fixed(m.ScaleY), bits);
    }
    const bool rotated = m.Skew0 != 0 || m.Skew1 != 0;
    w.UB(rotated, 1);
    if (rotated) {
        const int bits = BitWriter::SignedBits({fixed(m.Skew0), fixed(m.Skew1)});
        w.UB(bits, 5);
        w.SB(fixed(m.Skew0), bits);
        w.SB(fixed(m.Skew1), bits);
    }
    const int bits = (m.TX == 0 && m.TY == 0) ? 0 : BitWriter::SignedBits({m.TX, m.TY});
    w.UB(bits, 5);
    if (bits > 0) {
        w.SB(m.TX, bits);
        w.SB(m.TY, bits);
    }
    w.Align();
}

struct TestColorTransform {
    int RMult = 256, GMult = 256, BMult = 256, AMult = 256;
    int RAdd = 0, GAdd = 0, BAdd = 0, AAdd = 0;
};

inline void WriteColorTransform(BitWriter& w, const TestColorTransform& c, bool withAlpha) {
    w.UB(1, 1);
    w.UB(1, 1);
    w.UB(10, 4);
    for (int v : {c.RMult, c.GMult, c.BMult}) w.SB(v, 10);
    if (withAlpha) w.SB(c.AMult, 10);
    for (int v : {c.RAdd, c.GAdd, c.BAdd}) w.SB(v, 10);
    if (withAlpha) w.SB(c.AAdd, 10);
    w.Align();
}

struct Rgba {
    std::uint8_t R = 0, G = 0, B = 0, A = 255;
};

inline Bytes SolidFill(Rgba c, int shapeVersion) {
    Bytes b{0x00, c.R, c.G, c.B};
    if (shapeVersion >= 3) b.push_back(c.A);
    return b;
}

inline Bytes BitmapFill(std::uint16_t bitmapId, const TestMatrix& m, bool repeat, bool smooth) {
    BitWriter w;
    w.U8(smooth ? (repeat ? 0x40 : 0x41) : (repeat ? 0x42 : 0x43));
    w.U16(bitmapId);
    WriteMatrix(w, m);
    return w.Data();
}

inline Bytes LinearGradientFill(const TestMatrix& m, Rgba from, Rgba to) {
    BitWriter w;
    w.U8(0x10);
    WriteMatrix(w, m);
    w.UB(0, 2);
    w.UB(0, 2);
    w.UB(2, 4);
    for (auto [ratio, c] : {std::pair{0, from}, std::pair{255, to}}) {
        w.U8(static_cast<std::uint8_t>(ratio));
        for (auto v : {c.R, c.G, c.B, c.A}) w.U8(v);
    }
    return w.Data();
}

inline Bytes LineStyle(int widthTwips, Rgba c, int shapeVersion) {
    BitWriter w;
    w.U16(static_cast<std::uint16_t>(widthTwips));
    if (shapeVersion >= 4) w.U16(0);  // round caps and joins, no fill, no flags
    for (auto v : {c.R, c.G, c.B}) w.U8(v);
    if (shapeVersion >= 3) w.U8(c.A);
    return w.Data();
}

// A shape's styles and records. Coordinates are twips.
class ShapeWriter {
public:
    ShapeWriter(int version, std::vector<Bytes> fills, std::vector<Bytes> lines = {})
        : version_(version), fills_(std::move(fills)), lines_(std::move(lines)) {}

    void MoveTo(int x, int y, int fill0, int fill1, int line) {
        records_.UB(0, 1);
        records_.UB(0x0F, 5);  // line, fill1, fill0, move
        const int bits = BitWriter::SignedBits({x, y});
        records_.UB(bits, 5);
        records_.SB(x, bits);
        records_.SB(y, bits);
        records_.UB(fill0, 4);
        records_.UB(fill1, 4);
        records_.UB(line, 4);
        x_ = x;
        y_ = y;
    }
    void LineTo(int x, int y) {
        const int dx = x - x_, dy = y - y_;
        const int bits = std::max(2, BitWriter::SignedBits({dx, dy}));
        records_.UB(1, 1);
        records_.UB(1, 1);
        records_.UB(bits - 2, 4);
        records_.UB(1, 1);  // general line
        records_.SB(dx, bits);
        records_.SB(dy, bits);
        x_ = x;
        y_ = y;
    }
    void CurveTo(int cx, int cy, int x, int y) {
        const int values[] = {cx - x_, cy - y_, x - cx, y - cy};
        const int bits = std::max(2, BitWriter::SignedBits({values[0], values[1], values[2], values[3]}));
        records_.UB(1, 1);
        records_.UB(0, 1);
        records_.UB(bits - 2, 4);
        for (int v : values) records_.SB(v, bits);
        x_ = x;
        y_ = y;
    }
    void Polygon(std::initializer_list<std::pair<int, int>> points, int fill0, int fill1, int line = 0) {
        auto it = points.begin();
        MoveTo(it->first, it->second, fill0, fill1, line);
        for (++it; it != points.end(); ++it) LineTo(it->first, it->second);
        LineTo(points.begin()->first, points.begin()->second);
    }
    void Rectangle(int x0, int y0, int x1, int y1, int fill1, int line = 0) {
        Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, 0, fill1, line);
    }

    // The tag body after the character id.
    Bytes Body(int xMin, int xMax, int yMin, int yMax, bool nonZero = false) {
        BitWriter w;
        WriteRect(w, xMin, xMax, yMin, yMax);
        if (version_ >= 4) {
            WriteRect(w, xMin, xMax, yMin, yMax);
            w.U8(nonZero ? 0x04 : 0x00);
        }
        w.U8(static_cast<std::uint8_t>(fills_.size()));
        for (const auto& f : fills_) w.Append(f);
        w.U8(static_cast<std::uint8_t>(lines_.size()));
        for (const auto& l : lines_) w.Append(l);
        w.UB(4, 4);
        w.UB(4, 4);
        BitWriter end = records_;
        end.UB(0, 6);  // end of shape
        const Bytes& records = end.Data();
        // Records continue the bit stream right after the two counts' byte.
        w.Append(records);
        return w.Data();
    }
    int Version() const { return version_; }

private:
    int version_;
    std::vector<Bytes> fills_, lines_;
    BitWriter records_;
    int x_ = 0, y_ = 0;
};

class MovieWriter {
public:
    MovieWriter(int widthPx, int heightPx, double rate = 12) : width_(widthPx), height_(heightPx), rate_(rate) {}

    void Tag(int code, const Bytes& body) {
        BitWriter w;
        if (body.size() < 0x3F) {
            w.U16(static_cast<std::uint16_t>((code << 6) | body.size()));
        } else {
            w.U16(static_cast<std::uint16_t>((code << 6) | 0x3F));
            w.U32(static_cast<std::uint32_t>(body.size()));
        }
        w.Append(body);
        tags_.insert(tags_.end(), w.Data().begin(), w.Data().end());
    }
    void Background(std::uint8_t r, std::uint8_t g, std::uint8_t b) { Tag(9, {r, g, b}); }
    void Shape(std::uint16_t id, ShapeWriter& shape, bool nonZero = false) {
        static const int codes[] = {0, 2, 22, 32, 83};
        Bytes body{static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>(id >> 8)};
        const Bytes rest = shape.Body(-20000, 20000, -20000, 20000, nonZero);
        body.insert(body.end(), rest.begin(), rest.end());
        Tag(codes[shape.Version()], body);
    }
    void Place2(int depth, int id, const TestMatrix& m = {}, const TestColorTransform* cx = nullptr, bool move = false) {
        BitWriter w;
        w.U8(static_cast<std::uint8_t>((id >= 0 ? 0x02 : 0) | 0x04 | (cx ? 0x08 : 0) | (move ? 0x01 : 0)));
        w.U16(static_cast<std::uint16_t>(depth));
        if (id >= 0) w.U16(static_cast<std::uint16_t>(id));
        WriteMatrix(w, m);
        if (cx) WriteColorTransform(w, *cx, true);
        Tag(26, w.Data());
    }
    void Move(int depth, const TestMatrix& m, const TestColorTransform* cx = nullptr) { Place2(depth, -1, m, cx, true); }
    void Place1(int id, int depth, const TestMatrix& m, const TestColorTransform* cx = nullptr) {
        BitWriter w;
        w.U16(static_cast<std::uint16_t>(id));
        w.U16(static_cast<std::uint16_t>(depth));
        WriteMatrix(w, m);
        if (cx) WriteColorTransform(w, *cx, false);
        Tag(4, w.Data());
    }
    void Remove1(int id, int depth) {
        BitWriter w;
        w.U16(static_cast<std::uint16_t>(id));
        w.U16(static_cast<std::uint16_t>(depth));
        Tag(5, w.Data());
    }
    void Remove2(int depth) {
        BitWriter w;
        w.U16(static_cast<std::uint16_t>(depth));
        Tag(28, w.Data());
    }
    void ShowFrame() {
        Tag(1, {});
        ++frames_;
    }

    Bytes Fws() const { return File(false); }
    Bytes Cws() const { return File(true); }

private:
    Bytes File(bool compressed) const {
        BitWriter body;
        WriteRect(body, 0, width_ * 20, 0, height_ * 20);
        const int rate = static_cast<int>(rate_ * 256);
        body.U8(rate & 0xFF);
        body.U8(static_cast<std::uint8_t>(rate >> 8));
        body.U16(static_cast<std::uint16_t>(frames_));
        body.Append(tags_);
        body.U16(0);  // End
        Bytes data = body.Data();
        const std::uint32_t length = static_cast<std::uint32_t>(data.size() + 8);
        Bytes file{static_cast<std::uint8_t>(compressed ? 'C' : 'F'), 'W', 'S', 8};
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
        if (compressed) data = Deflate(data);
        file.insert(file.end(), data.begin(), data.end());
        return file;
    }

public:
    static Bytes Deflate(const Bytes& data) {
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        Bytes out(size);
        compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
        out.resize(size);
        return out;
    }

private:
    int width_, height_;
    double rate_;
    Bytes tags_;
    int frames_ = 0;
};
