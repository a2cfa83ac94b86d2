#include "Pictures.h"

// jpeglib.h needs FILE declared before it.
#include <cstdio>

#include <jpeglib.h>
#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

namespace adgen {

void Picture::Paint(const std::function<Rgba(int x, int y)>& colour) {
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) At(x, y) = colour(x, y);
    }
}

Bytes LosslessBody(std::uint16_t id, const Picture& picture, bool withAlpha) {
    Bytes raw;
    raw.reserve(picture.Pixels.size() * 4);
    for (const Rgba& p : picture.Pixels) {
        // Stored premultiplied, alpha first; without alpha the first byte is padding.
        const std::uint8_t a = withAlpha ? p.A : 255;
        auto pre = [a](std::uint8_t c) { return static_cast<std::uint8_t>((c * a + 127) / 255); };
        raw.insert(raw.end(), {a, pre(p.R), pre(p.G), pre(p.B)});
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        throw std::runtime_error("compression failed");
    }
    packed.resize(size);

    BitWriter w;
    w.U16(id);
    w.U8(5);  // 32-bit pixels
    w.U16(static_cast<std::uint16_t>(picture.Width));
    w.U16(static_cast<std::uint16_t>(picture.Height));
    w.Append(packed);
    return w.Data();
}

namespace {

// Runs the compressor with the picture's rows; `abbreviated` leaves the
// tables out of the image stream.
Bytes Compress(const Picture& picture, int quality, bool abbreviated, Bytes* tables) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // a failure here ends the tool: it is a build step
    jpeg_create_compress(&info);
    info.image_width = static_cast<JDIMENSION>(picture.Width);
    info.image_height = static_cast<JDIMENSION>(picture.Height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (tables != nullptr) {
        jpeg_mem_dest(&info, &buffer, &size);
        jpeg_write_tables(&info);
        tables->assign(buffer, buffer + size);
        std::free(buffer);
        buffer = nullptr;
        size = 0;
    }
    jpeg_mem_dest(&info, &buffer, &size);
    jpeg_start_compress(&info, abbreviated ? FALSE : TRUE);
    std::vector<unsigned char> row(std::size_t(picture.Width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < picture.Width; ++x) {
            const Rgba& p = picture.Pixels[std::size_t(y) * picture.Width + x];
            row[3 * x] = p.R;
            row[3 * x + 1] = p.G;
            row[3 * x + 2] = p.B;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    jpeg_destroy_compress(&info);
    return out;
}

}  // namespace

Bytes EncodeJpeg(const Picture& picture, int quality) { return Compress(picture, quality, false, nullptr); }

void EncodeJpegSplit(const Picture& picture, int quality, Bytes& tables, Bytes& image) {
    image = Compress(picture, quality, true, &tables);
}

}  // namespace adgen
