#include "SwfBitReader.h"

std::uint8_t SwfBitReader::U8() { return Bytes(1)[0]; }

std::uint16_t SwfBitReader::U16() {
    const auto b = Bytes(2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t SwfBitReader::U32() {
    const auto b = Bytes(4);
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

std::span<const std::uint8_t> SwfBitReader::Bytes(std::size_t count) {
    AlignByte();
    if (count > Remaining()) throw ESwfFormatError("Movie data ends too early");
    const auto view = data_.subspan(position_, count);
    position_ += count;
    return view;
}

std::string SwfBitReader::CString() {
    AlignByte();
    std::string text;
    for (;;) {
        const std::uint8_t c = U8();
        if (c == 0) return text;
        text.push_back(static_cast<char>(c));
    }
}

std::uint32_t SwfBitReader::UB(int bits) {
    if (bits < 0 || bits > 32) throw ESwfFormatError("Bad bit field width");
    std::uint64_t value = 0;
    for (int i = 0; i < bits; ++i) {
        if (bitCount_ == 0) {
            if (position_ >= data_.size()) throw ESwfFormatError("Movie data ends too early");
            bitBuffer_ = data_[position_++];
            bitCount_ = 8;
        }
        --bitCount_;
        value = (value << 1) | ((bitBuffer_ >> bitCount_) & 1u);
    }
    return static_cast<std::uint32_t>(value);
}

std::int32_t SwfBitReader::SB(int bits) {
    if (bits == 0) return 0;
    const std::uint32_t raw = UB(bits);
    if (bits == 32) return static_cast<std::int32_t>(raw);
    const std::uint32_t sign = 1u << (bits - 1);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(raw ^ sign) - static_cast<std::int64_t>(sign));
}

double SwfBitReader::FB(int bits) { return SB(bits) / 65536.0; }

TwipsRect SwfBitReader::Rect() {
    AlignByte();
    const int bits = static_cast<int>(UB(5));
    TwipsRect r;
    r.XMin = SB(bits);
    r.XMax = SB(bits);
    r.YMin = SB(bits);
    r.YMax = SB(bits);
    AlignByte();
    return r;
}

SwfMatrix SwfBitReader::Matrix() {
    AlignByte();
    SwfMatrix m;
    if (UB(1) != 0) {
        const int bits = static_cast<int>(UB(5));
        m.A = FB(bits);
        m.D = FB(bits);
    }
    if (UB(1) != 0) {
        const int bits = static_cast<int>(UB(5));
        m.B = FB(bits);
        m.C = FB(bits);
    }
    const int bits = static_cast<int>(UB(5));
    m.TX = SB(bits);
    m.TY = SB(bits);
    AlignByte();
    return m;
}

SwfColorTransform SwfBitReader::ColorTransform(bool withAlpha) {
    AlignByte();
    SwfColorTransform cx;
    const bool hasAdd = UB(1) != 0;
    const bool hasMult = UB(1) != 0;
    const int bits = static_cast<int>(UB(4));
    if (hasMult) {
        cx.RMult = SB(bits);
        cx.GMult = SB(bits);
        cx.BMult = SB(bits);
        if (withAlpha) cx.AMult = SB(bits);
    }
    if (hasAdd) {
        cx.RAdd = SB(bits);
        cx.GAdd = SB(bits);
        cx.BAdd = SB(bits);
        if (withAlpha) cx.AAdd = SB(bits);
    }
    AlignByte();
    return cx;
}

SwfRGBA SwfBitReader::RGB() {
    const auto b = Bytes(3);
    return {b[0], b[1], b[2], 255};
}

SwfRGBA SwfBitReader::RGBA() {
    const auto b = Bytes(4);
    return {b[0], b[1], b[2], b[3]};
}
