#include "FlashBitmap.h"

// jpeglib.h needs FILE declared before it.
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>

#include "SwfBitReader.h"
#include "SwfFile.h"

namespace {

bool SizeAllowed(int width, int height, std::int64_t maxPixels) {
    return width > 0 && height > 0 && std::int64_t(width) * height <= std::min(maxPixels, kMaxFlashBitmapPixels);
}

std::uint32_t Premultiplied(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    auto scale = [a](std::uint8_t c) { return std::uint32_t((c * a + 127) / 255); };
    return (std::uint32_t(a) << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

// Stored colours are already premultiplied; a damaged value above its alpha
// is clamped so that compositing cannot overflow.
std::uint32_t StoredPremultiplied(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    auto clamp = [a](std::uint8_t c) { return std::uint32_t(c > a ? a : c); };
    return (std::uint32_t(a) << 24) | (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}

std::uint32_t Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

// ---- JPEG through libjpeg-turbo ----
// libjpeg reports fatal errors through error_exit, which must not return;
// it jumps back to DecodeJpegInto, whose frame holds only plain C objects.

struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

bool DecodeJpegInto(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels, FlashBitmap& out) {
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JumpOnJpegError;
    trap.manager.output_message = IgnoreJpegMessage;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    // The size is checked before decoding starts, which is when libjpeg
    // allocates its buffers.
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        !SizeAllowed(static_cast<int>(info.image_width), static_cast<int>(info.image_height), maxPixels)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // BGRA bytes are 0xAARRGGBB words on this little-endian machine, with
    // the alpha byte set to 255.
    info.out_color_space = JCS_EXT_BGRA;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    if (!SizeAllowed(width, height, maxPixels)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.Width = width;
    out.Height = height;
    out.Pixels.assign(std::size_t(width) * height, 0xFF000000u);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(out.Pixels.data() + std::size_t(info.output_scanline) * width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Older movies put a stray end-of-image and start-of-image marker pair in
// front of the data; libjpeg would stop at the first one.
std::span<const std::uint8_t> WithoutStrayMarkers(std::span<const std::uint8_t> data) {
    if (data.size() >= 4 && data[0] == 0xFF && data[1] == 0xD9 && data[2] == 0xFF && data[3] == 0xD8) {
        return data.subspan(4);
    }
    return data;
}

bool EndsWithEoi(std::span<const std::uint8_t> d) {
    return d.size() >= 2 && d[d.size() - 2] == 0xFF && d[d.size() - 1] == 0xD9;
}

bool StartsWithSoi(std::span<const std::uint8_t> d) { return d.size() >= 2 && d[0] == 0xFF && d[1] == 0xD8; }

}  // namespace

std::optional<FlashBitmap> DecodeJpegBitmap(std::span<const std::uint8_t> tables, std::span<const std::uint8_t> image,
                                            std::int64_t maxPixels) {
    tables = WithoutStrayMarkers(tables);
    image = WithoutStrayMarkers(image);
    // Tables and image are two JPEG streams; joined without the tables' end
    // marker and the image's start marker they make one.
    std::vector<std::uint8_t> joined;
    if (StartsWithSoi(tables)) {
        joined.assign(tables.begin(), EndsWithEoi(tables) ? tables.end() - 2 : tables.end());
        joined.insert(joined.end(), StartsWithSoi(image) ? image.begin() + 2 : image.begin(), image.end());
    } else {
        joined.assign(image.begin(), image.end());
    }
    if (joined.size() < 4) return std::nullopt;
    FlashBitmap bitmap;
    if (!DecodeJpegInto(joined.data(), joined.size(), maxPixels, bitmap)) return std::nullopt;
    return bitmap;
}

std::optional<FlashBitmap> DecodeJpegWithAlpha(std::span<const std::uint8_t> body, std::int64_t maxPixels) {
    try {
        SwfBitReader reader(body);
        const std::uint32_t jpegLength = reader.U32();
        const auto jpeg = reader.Bytes(jpegLength);
        auto bitmap = DecodeJpegBitmap({}, jpeg, maxPixels);
        if (!bitmap) return std::nullopt;
        const std::size_t pixels = bitmap->Pixels.size();
        bool complete = false;
        const auto alpha = InflateZlib(reader.Bytes(reader.Remaining()), pixels, complete);
        // Without a whole alpha plane the picture is shown opaque.
        if (alpha.size() == pixels) {
            for (std::size_t i = 0; i < pixels; ++i) {
                const std::uint32_t p = bitmap->Pixels[i];
                bitmap->Pixels[i] = Premultiplied(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), alpha[i]);
            }
        }
        return bitmap;
    } catch (const ESwfFormatError&) {
        return std::nullopt;
    }
}

std::optional<FlashBitmap> DecodeLosslessBitmap(std::span<const std::uint8_t> body, bool withAlpha,
                                                std::int64_t maxPixels) {
    try {
        SwfBitReader reader(body);
        const int format = reader.U8();
        const int width = reader.U16();
        const int height = reader.U16();
        if (!SizeAllowed(width, height, maxPixels)) return std::nullopt;
        int tableSize = 0;
        if (format == 3) tableSize = reader.U8() + 1;
        else if (format != 4 && format != 5) return std::nullopt;

        const int tableEntryBytes = withAlpha ? 4 : 3;
        std::size_t rowBytes = 0;
        if (format == 3) rowBytes = (std::size_t(width) + 3) & ~std::size_t(3);
        if (format == 4) rowBytes = (std::size_t(width) * 2 + 3) & ~std::size_t(3);
        if (format == 5) rowBytes = std::size_t(width) * 4;
        const std::size_t expected = std::size_t(tableSize) * tableEntryBytes + rowBytes * height;

        bool complete = false;
        const auto data = InflateZlib(reader.Bytes(reader.Remaining()), expected, complete);
        if (data.size() < expected) return std::nullopt;

        FlashBitmap bitmap;
        bitmap.Width = width;
        bitmap.Height = height;
        bitmap.Pixels.resize(std::size_t(width) * height);
        const std::uint8_t* p = data.data();
        if (format == 3) {
            std::vector<std::uint32_t> table(256, 0);
            for (int i = 0; i < tableSize; ++i, p += tableEntryBytes) {
                table[i] = withAlpha ? StoredPremultiplied(p[0], p[1], p[2], p[3]) : Opaque(p[0], p[1], p[2]);
            }
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* row = p + rowBytes * y;
                for (int x = 0; x < width; ++x) bitmap.Pixels[std::size_t(y) * width + x] = table[row[x]];
            }
        } else if (format == 4) {
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* row = p + rowBytes * y;
                for (int x = 0; x < width; ++x) {
                    const unsigned v = (unsigned(row[2 * x]) << 8) | row[2 * x + 1];
                    auto expand = [](unsigned c) { return std::uint8_t((c << 3) | (c >> 2)); };
                    bitmap.Pixels[std::size_t(y) * width + x] =
                        Opaque(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
                }
            }
        } else {
            for (std::size_t i = 0; i < bitmap.Pixels.size(); ++i, p += 4) {
                // Stored as (alpha or reserved), red, green, blue.
                bitmap.Pixels[i] = withAlpha ? StoredPremultiplied(p[1], p[2], p[3], p[0]) : Opaque(p[1], p[2], p[3]);
            }
        }
        return bitmap;
    } catch (const ESwfFormatError&) {
        return std::nullopt;
    }
}
