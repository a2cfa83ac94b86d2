#pragma once
// Reading the movie format's little-endian integers and packed bit fields,
// with every read checked against the end of the data. A read past the end
// raises ESwfFormatError, so a damaged movie can never make the decoder read
// outside its buffer.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "Exceptions.h"
#include "FlashTypes.h"

class ESwfFormatError : public Exception { public: using Exception::Exception; };

class SwfBitReader {
public:
    explicit SwfBitReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return data_.size() - position_; }
    bool AtEnd() const { return position_ >= data_.size(); }

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    // The next `count` bytes as a view into the data.
    std::span<const std::uint8_t> Bytes(std::size_t count);
    void Skip(std::size_t count) { Bytes(count); }
    // A NUL-terminated string; the NUL is consumed.
    std::string CString();

    // Bit fields run from the most significant bit of each byte. Byte reads
    // first drop any bits left over from a partly read byte.
    std::uint32_t UB(int bits);
    std::int32_t SB(int bits);
    // Signed 16.16 fixed point in `bits` bits.
    double FB(int bits);
    void AlignByte() { bitCount_ = 0; }

    TwipsRect Rect();
    SwfMatrix Matrix();
    // withAlpha: the variant with an alpha term (PlaceObject2 and later).
    SwfColorTransform ColorTransform(bool withAlpha);
    SwfRGBA RGB();
    SwfRGBA RGBA();

private:
    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
    std::uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
};
