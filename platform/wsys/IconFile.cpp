#include "IconFile.h"

#include <string>

#include "Exceptions.h"

namespace {

constexpr int kMaxSide = 256;

[[noreturn]] void Bad(const std::string& why) { throw EInvalidGraphic("Invalid icon file: " + why); }

std::uint32_t U16(std::span<const std::uint8_t> d, std::size_t at) { return d[at] | std::uint32_t(d[at + 1]) << 8; }
std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) { return U16(d, at) | U16(d, at + 2) << 16; }

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::size_t MaskStride(int width) { return std::size_t((width + 31) / 32) * 4; }

IconPixels ReadImage(std::span<const std::uint8_t> img) {
    if (img.size() >= 4 && U32(img, 0) == 0x474E5089u) Bad("PNG pictures inside icon files are not supported");
    if (img.size() < 40) Bad("a picture is shorter than its header");
    const std::uint32_t headerSize = U32(img, 0);
    const auto width = std::int32_t(U32(img, 4));
    const auto doubledHeight = std::int32_t(U32(img, 8));
    const std::uint32_t bits = U16(img, 14), compression = U32(img, 16);
    if (headerSize < 40 || headerSize > img.size()) Bad("a picture header has a wrong size");
    if (width <= 0 || width > kMaxSide || doubledHeight <= 0 || doubledHeight > 2 * kMaxSide || doubledHeight % 2)
        Bad("a picture has an impossible size");
    if (compression != 0) Bad("compressed pictures are not supported");
    if (bits != 32 && bits != 24) Bad("only 24-bit and 32-bit pictures are supported");
    const int height = doubledHeight / 2;
    const std::size_t colourStride = (std::size_t(width) * bits / 8 + 3) / 4 * 4;
    const std::size_t colourSize = colourStride * std::size_t(height);
    const std::size_t maskSize = MaskStride(width) * std::size_t(height);
    const std::size_t colourAt = headerSize;
    if (img.size() - colourAt < colourSize) Bad("a picture's pixels run past its data");
    // The mask may be missing from 32-bit pictures, whose opacity is in the pixels.
    const bool hasMask = img.size() - colourAt - colourSize >= maskSize;
    if (bits == 24 && !hasMask) Bad("a 24-bit picture has no mask");

    IconPixels out{width, height, std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height))};
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = colourAt + std::size_t(height - 1 - y) * colourStride;  // bottom-up
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + std::size_t(x) * (bits / 8);
            const std::uint32_t a = bits == 32 ? img[p + 3] : 255u;
            anyAlpha = anyAlpha || (bits == 32 && a != 0);
            out.argb[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                a << 24 | std::uint32_t(img[p + 2]) << 16 | std::uint32_t(img[p + 1]) << 8 | img[p];
        }
    }
    // Pictures without opacity take it from the mask: a set bit is transparent.
    if ((bits == 24 || !anyAlpha) && hasMask) {
        const std::size_t maskAt = colourAt + colourSize;
        for (int y = 0; y < height; ++y) {
            const std::size_t row = maskAt + std::size_t(height - 1 - y) * MaskStride(width);
            for (int x = 0; x < width; ++x) {
                const bool clear = img[row + std::size_t(x / 8)] & (0x80 >> (x % 8));
                std::uint32_t& px = out.argb[std::size_t(y) * std::size_t(width) + std::size_t(x)];
                px = clear ? 0u : (px | 0xFF000000u);
            }
        }
    }
    return out;
}

}  // namespace

std::vector<IconPixels> ReadIconFile(std::span<const std::uint8_t> data) {
    if (data.size() < 6 || U16(data, 0) != 0 || U16(data, 2) != 1) Bad("the header is not an icon file's");
    const std::size_t count = U16(data, 4);
    if (count == 0) Bad("it holds no pictures");
    if (data.size() < 6 + count * 16) Bad("the directory runs past the end of the file");
    std::vector<IconPixels> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * 16;
        const std::uint32_t size = U32(data, entry + 8), offset = U32(data, entry + 12);
        if (offset > data.size() || size > data.size() - offset) Bad("a picture lies outside the file");
        images.push_back(ReadImage(data.subspan(offset, size)));
    }
    return images;
}

std::vector<std::uint8_t> WriteIconFile(const std::vector<IconPixels>& images) {
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, std::uint32_t(images.size()));
    std::size_t offset = 6 + images.size() * 16;
    std::vector<std::uint8_t> bodies;
    for (const IconPixels& img : images) {
        if (img.width < 1 || img.width > kMaxSide || img.height < 1 || img.height > kMaxSide ||
            img.argb.size() != std::size_t(img.width) * std::size_t(img.height))
            throw EInvalidGraphic("An icon picture must be 1 to 256 pixels on a side");
        const std::size_t start = bodies.size();
        Put32(bodies, 40);
        Put32(bodies, std::uint32_t(img.width));
        Put32(bodies, std::uint32_t(img.height * 2));
        Put16(bodies, 1);
        Put16(bodies, 32);
        for (int i = 0; i < 6; ++i) Put32(bodies, 0);
        for (int y = img.height - 1; y >= 0; --y)
            for (int x = 0; x < img.width; ++x) {
                const std::uint32_t p = img.argb[std::size_t(y) * std::size_t(img.width) + std::size_t(x)];
                bodies.insert(bodies.end(), {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16),
                                             std::uint8_t(p >> 24)});
            }
        for (int y = img.height - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(MaskStride(img.width), 0);
            for (int x = 0; x < img.width; ++x)
                if ((img.argb[std::size_t(y) * std::size_t(img.width) + std::size_t(x)] >> 24) == 0)
                    row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
            bodies.insert(bodies.end(), row.begin(), row.end());
        }
        const std::size_t size = bodies.size() - start;
        out.push_back(std::uint8_t(img.width == 256 ? 0 : img.width));
        out.push_back(std::uint8_t(img.height == 256 ? 0 : img.height));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, std::uint32_t(size));
        Put32(out, std::uint32_t(offset + start));
    }
    out.insert(out.end(), bodies.begin(), bodies.end());
    return out;
}
