#include "BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <string>

#include "Exceptions.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4,
                        kBiPng = 5, kBiAlphaBitfields = 6;
constexpr std::uint32_t kOpaque = 0xFF000000u;

[[noreturn]] void Fail(const std::string& why) { throw EBmpFormatError(why); }

// Bounds-checked little-endian reads over the file image.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    std::size_t Size() const { return data_.size(); }
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    void Need(std::size_t offset, std::size_t count, const char* what) const {
        if (!Has(offset, count)) Fail(std::string("the file ends inside the ") + what);
    }
    std::uint8_t U8(std::size_t offset) const { return data_[offset]; }
    std::uint16_t U16(std::size_t offset) const {
        return std::uint16_t(data_[offset] | (data_[offset + 1] << 8));
    }
    std::uint32_t U32(std::size_t offset) const {
        return std::uint32_t(data_[offset]) | (std::uint32_t(data_[offset + 1]) << 8) |
               (std::uint32_t(data_[offset + 2]) << 16) | (std::uint32_t(data_[offset + 3]) << 24);
    }
    std::int32_t I32(std::size_t offset) const { return std::int32_t(U32(offset)); }
    const std::uint8_t* At(std::size_t offset) const { return data_.data() + offset; }

private:
    std::span<const std::uint8_t> data_;
};

std::uint32_t Pixel(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return kOpaque | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

// One colour channel of a bit-field pixel: where it sits and how wide it is.
struct Channel {
    int shift = 0;
    int bits = 0;
    std::uint32_t mask = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m);
        // A mask must be one run of bits; anything else is not a colour layout.
        if (std::countr_one(m >> shift) != bits) Fail("a colour mask has gaps");
    }
    std::uint8_t Value(std::uint32_t raw) const {
        if (bits == 0) return 0;
        const std::uint32_t v = (raw & mask) >> shift;
        if (bits >= 8) return std::uint8_t(v >> (bits - 8));
        const std::uint32_t max = (1u << bits) - 1;
        return std::uint8_t((v * 255 + max / 2) / max);
    }
};

struct Header {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, always positive here
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    bool core = false;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
    bool hasMasks = false;
};

Header ReadHeader(const Reader& in, std::size_t& afterHeader, std::uint64_t maxPixels) {
    Header h;
    in.Need(kFileHeaderSize, 4, "picture header");
    h.headerSize = in.U32(kFileHeaderSize);
    const std::size_t base = kFileHeaderSize;
    if (h.headerSize == 12) {
        in.Need(base, 12, "picture header");
        h.core = true;
        h.width = in.U16(base + 4);
        h.height = in.U16(base + 6);
        h.bitsPerPixel = in.U16(base + 10);
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        in.Need(base, h.headerSize, "picture header");
        h.width = in.I32(base + 4);
        const std::int32_t rawHeight = in.I32(base + 8);
        h.topDown = rawHeight < 0;
        h.height = rawHeight < 0 ? -std::int64_t(rawHeight) : rawHeight;
        h.bitsPerPixel = in.U16(base + 14);
        h.compression = in.U32(base + 16);
        h.imageSize = in.U32(base + 20);
        h.colorsUsed = in.U32(base + 32);
        if (h.headerSize >= 52) {
            // V2 and later headers carry the masks themselves.
            h.masks = {in.U32(base + 40), in.U32(base + 44), in.U32(base + 48)};
            h.hasMasks = true;
        }
    } else {
        Fail("unknown header size " + std::to_string(h.headerSize));
    }
    afterHeader = base + h.headerSize;

    if (h.width <= 0 || h.height <= 0) Fail("the width or height is not positive");
    const std::uint64_t pixels = std::uint64_t(h.width) * std::uint64_t(h.height);
    if (pixels > maxPixels) {
        throw EBmpFormatError("the picture is too large (" + std::to_string(h.width) + " x " + std::to_string(h.height) +
                                  " pixels, at most " + std::to_string(maxPixels) + " allowed)",
                              AnsiString(), pixels);
    }

    switch (h.bitsPerPixel) {
        case 1: case 4: case 8: case 24: break;
        case 16: case 32:
            if (h.core) Fail("unsupported bits per pixel for this header");
            break;
        default: Fail("unsupported bits per pixel " + std::to_string(h.bitsPerPixel));
    }
    switch (h.compression) {
        case kBiRgb: break;
        case kBiRle8:
            if (h.bitsPerPixel != 8) Fail("RLE8 needs 8 bits per pixel");
            if (h.topDown) Fail("a compressed picture cannot be top-down");
            break;
        case kBiRle4:
            if (h.bitsPerPixel != 4) Fail("RLE4 needs 4 bits per pixel");
            if (h.topDown) Fail("a compressed picture cannot be top-down");
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) Fail("bit fields need 16 or 32 bits per pixel");
            if (!h.hasMasks) {
                // A 40-byte header is followed by the masks.
                const std::size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
                in.Need(afterHeader, 4 * count, "colour masks");
                h.masks = {in.U32(afterHeader), in.U32(afterHeader + 4), in.U32(afterHeader + 8)};
                h.hasMasks = true;
                afterHeader += 4 * count;
            }
            break;
        case kBiJpeg:
        case kBiPng: Fail("JPEG or PNG contents are not supported");
        default: Fail("unknown compression " + std::to_string(h.compression));
    }
    if (h.compression == kBiRgb) {
        // Masks stored in a V4/V5 header do not apply to uncompressed pixels.
        if (h.bitsPerPixel == 16) h.masks = {0x7C00, 0x03E0, 0x001F};
        if (h.bitsPerPixel == 32) h.masks = {0xFF0000, 0xFF00, 0xFF};
    }
    return h;
}

// `limit` is where the pixel data starts (0 when unknown): a table that
// claims more entries than fit before it is read only up to there.
std::vector<std::uint32_t> ReadPalette(const Reader& in, const Header& h, std::size_t& offset,
                                       std::size_t limit) {
    std::vector<std::uint32_t> palette;
    if (h.bitsPerPixel > 8) {
        // A colour table beside true-colour pixels is only a display hint.
        if (!h.core) offset += 4 * std::size_t(std::min<std::uint32_t>(h.colorsUsed, 256));
        return palette;
    }
    const std::uint32_t maxColors = 1u << h.bitsPerPixel;
    std::uint32_t count = h.colorsUsed == 0 ? maxColors : std::min(h.colorsUsed, maxColors);
    const std::size_t entrySize = h.core ? 3 : 4;
    if (limit > offset) count = std::min<std::uint32_t>(count, std::uint32_t((limit - offset) / entrySize));
    in.Need(offset, entrySize * count, "colour table");
    palette.reserve(maxColors);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t e = offset + entrySize * i;
        palette.push_back(Pixel(in.U8(e + 2), in.U8(e + 1), in.U8(e)));
    }
    // Indices past the table show black.
    palette.resize(maxColors, Pixel(0, 0, 0));
    offset += entrySize * count;
    return palette;
}

std::size_t RowBytes(const Header& h) {
    return std::size_t((std::uint64_t(h.width) * std::uint64_t(h.bitsPerPixel) + 31) / 32 * 4);
}

void DecodeRows(const Reader& in, const Header& h, const std::vector<std::uint32_t>& palette,
                std::size_t dataOffset, BmpImage& out) {
    const std::size_t rowBytes = RowBytes(h);
    const bool fields = h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
    const Channel red(fields ? h.masks[0] : 0), green(fields ? h.masks[1] : 0), blue(fields ? h.masks[2] : 0);
    const int width = int(h.width);
    for (std::int64_t row = 0; row < h.height; ++row) {
        const std::uint8_t* src = in.At(dataOffset + std::size_t(row) * rowBytes);
        const std::int64_t y = h.topDown ? row : h.height - 1 - row;
        std::uint32_t* dst = out.Pixels.data() + std::size_t(y) * std::size_t(width);
        switch (h.bitsPerPixel) {
            case 1:
                for (int x = 0; x < width; ++x) dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < width; ++x)
                    dst[x] = palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
                break;
            case 8:
                for (int x = 0; x < width; ++x) dst[x] = palette[src[x]];
                break;
            case 16:
                for (int x = 0; x < width; ++x) {
                    const std::uint32_t v = std::uint32_t(src[2 * x] | (src[2 * x + 1] << 8));
                    dst[x] = Pixel(red.Value(v), green.Value(v), blue.Value(v));
                }
                break;
            case 24:
                for (int x = 0; x < width; ++x) dst[x] = Pixel(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            case 32:
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = src + 4 * x;
                    const std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                                            (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
                    dst[x] = Pixel(red.Value(v), green.Value(v), blue.Value(v));
                }
                break;
        }
    }
}

// Run-length decoding. Rows run bottom-up; pixels the runs never reach stay
// black. Runs and moves that leave the picture are cut at its edge. The data
// must end with the end-of-picture marker; returns the offset just after it.
std::size_t DecodeRle(const Reader& in, const Header& h, const std::vector<std::uint32_t>& palette,
                      std::size_t offset, BmpImage& out) {
    const bool four = h.compression == kBiRle4;
    const std::int64_t width = h.width, height = h.height;
    std::int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](std::uint8_t index) {
        if (x < width && y < height)
            out.Pixels[std::size_t(height - 1 - y) * std::size_t(width) + std::size_t(x)] = palette[index];
        ++x;
    };
    auto need = [&](std::size_t count) {
        if (!in.Has(offset, count)) Fail("the compressed pixel data ends early");
    };
    for (;;) {
        need(2);
        const std::uint8_t count = in.U8(offset), value = in.U8(offset + 1);
        offset += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        switch (value) {
            case 0:  // end of row
                x = 0;
                ++y;
                break;
            case 1:  // end of picture
                return offset;
            case 2: {  // move right and up
                need(2);
                x += in.U8(offset);
                y += in.U8(offset + 1);
                offset += 2;
                break;
            }
            default: {  // `value` literal pixels, padded to a 16-bit boundary
                const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : value;
                const std::size_t padded = (bytes + 1) & ~std::size_t(1);
                need(padded);
                for (int i = 0; i < value; ++i) {
                    const std::uint8_t b = in.U8(offset + (four ? std::size_t(i / 2) : std::size_t(i)));
                    put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
                }
                offset += padded;
                break;
            }
        }
    }
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

}  // namespace

EBmpFormatError::EBmpFormatError(const AnsiString& reason, const AnsiString& fileName, std::uint64_t pixels)
    : EInvalidGraphic(fileName.empty() ? "Bitmap image is not valid: " + reason
                                       : "Bitmap image is not valid: \"" + fileName + "\": " + reason),
      reason_(reason),
      pixels_(pixels) {}

BmpImage ReadBmp(std::span<const std::uint8_t> data, std::size_t* consumed, std::uint64_t maxPixels) {
    const Reader in(data);
    in.Need(0, kFileHeaderSize, "file header");
    if (in.U8(0) != 'B' || in.U8(1) != 'M') Fail("the file does not start with \"BM\"");
    const std::uint32_t pixelOffsetField = in.U32(10);

    std::size_t offset = 0;
    const Header h = ReadHeader(in, offset, maxPixels);
    const std::vector<std::uint32_t> palette = ReadPalette(in, h, offset, pixelOffsetField);

    // The pixel offset of the file header wins when it is plausible; some
    // writers leave it 0, and it never points back into the headers.
    std::size_t dataOffset = offset;
    if (pixelOffsetField != 0) {
        if (pixelOffsetField < kFileHeaderSize + h.headerSize) Fail("the pixel data offset points into the header");
        if (h.compression == kBiBitfields && h.headerSize == 40 && pixelOffsetField < kFileHeaderSize + 40 + 12)
            Fail("the colour masks overlap the pixel data");
        if (pixelOffsetField > in.Size()) Fail("the pixel data offset lies past the end of the file");
        dataOffset = pixelOffsetField;
    }

    // A colour table that claims more entries than the file holds can carry
    // the implied pixel offset past the end.
    if (dataOffset > in.Size()) Fail("the pixel data offset lies past the end of the file");

    const bool compressed = h.compression == kBiRle4 || h.compression == kBiRle8;
    if (!compressed && std::uint64_t(RowBytes(h)) * std::uint64_t(h.height) > in.Size() - dataOffset)
        Fail("the file ends inside the pixel data");

    BmpImage image;
    image.Width = int(h.width);
    image.Height = int(h.height);
    image.BitsPerPixel = h.bitsPerPixel;
    image.Pixels.assign(std::size_t(h.width) * std::size_t(h.height), Pixel(0, 0, 0));

    std::size_t end;
    if (compressed) {
        end = DecodeRle(in, h, palette, dataOffset, image);
        if (h.imageSize != 0) end = std::size_t(std::min<std::uint64_t>(std::uint64_t(dataOffset) + h.imageSize, in.Size()));
    } else {
        DecodeRows(in, h, palette, dataOffset, image);
        const std::uint64_t rows = std::uint64_t(RowBytes(h)) * std::uint64_t(h.height);
        const std::uint64_t size = h.imageSize != 0 ? std::max<std::uint64_t>(h.imageSize, rows) : rows;
        end = std::size_t(std::min<std::uint64_t>(dataOffset + size, in.Size()));
    }
    if (consumed) *consumed = end;
    return image;
}

std::vector<std::uint8_t> WriteBmp24(int width, int height, const std::uint32_t* pixels,
                                     std::size_t stridePixels) {
    if (width <= 0 || height <= 0) {
        width = 0;
        height = 0;
    }
    const std::size_t rowBytes = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    const std::size_t imageSize = rowBytes * std::size_t(height);
    const std::size_t dataOffset = kFileHeaderSize + 40;
    std::vector<std::uint8_t> out;
    out.reserve(dataOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutLe(out, std::uint32_t(dataOffset + imageSize), 4);
    PutLe(out, 0, 4);
    PutLe(out, std::uint32_t(dataOffset), 4);
    PutLe(out, 40, 4);
    PutLe(out, std::uint32_t(width), 4);
    PutLe(out, std::uint32_t(height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, kBiRgb, 4);
    PutLe(out, std::uint32_t(imageSize), 4);
    PutLe(out, 3780, 4);  // 96 dpi in pixels per metre
    PutLe(out, 3780, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        const std::uint32_t* row = pixels + std::size_t(y) * stridePixels;
        for (int x = 0; x < width; ++x) {
            out.push_back(std::uint8_t(row[x]));
            out.push_back(std::uint8_t(row[x] >> 8));
            out.push_back(std::uint8_t(row[x] >> 16));
        }
        for (std::size_t pad = std::size_t(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}
