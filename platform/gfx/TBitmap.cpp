#include "TBitmap.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BmpCodec.h"
#include "Exceptions.h"
#include "Streams.h"
#include "TCanvas.h"

namespace {

constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;

// The largest picture file read: the biggest picture the codec accepts at
// 4 bytes a pixel, plus room for headers and a palette.
constexpr std::uintmax_t kMaxPictureFileBytes = kMaxBmpPixels * 4 + (1 << 16);

// Reads a picture file whole. Only regular files are read: a name that leads
// to a device such as /dev/zero would otherwise never end.
std::vector<std::uint8_t> ReadWholeFile(const AnsiString& fileName) {
    std::error_code error;
    const auto status = std::filesystem::status(fileName, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        const std::string reason = error ? error.message() : std::string("Not a regular file");
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + reason);
    }
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (error) throw EFOpenError("Cannot open file \"" + fileName + "\". " + error.message());
    if (size > kMaxPictureFileBytes) {
        throw EBmpFormatError("the file is too large (" + std::to_string(size) + " bytes)", fileName);
    }
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (file.bad() || static_cast<std::uintmax_t>(file.gcount()) != size)
        throw EReadError("Cannot read file \"" + fileName + "\".");
    return bytes;
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() {
    if (image_) pixman_image_unref(image_);
}

void TBitmap::Reallocate(int width, int height, std::vector<std::uint32_t> pixels) {
    if (image_) pixman_image_unref(image_);
    image_ = nullptr;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_ = std::move(pixels);
    if (Empty()) {
        // An empty bitmap keeps its one non-zero side, as the platform does,
        // but holds no pixels.
        pixels_.clear();
        return;
    }
    image_ = pixman_image_create_bits(PIXMAN_x8r8g8b8, width_, height_, pixels_.data(), width_ * 4);
    if (!image_) throw EOutOfResources("Out of system resources");
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    std::vector<std::uint32_t> pixels;
    if (width > 0 && height > 0) {
        pixels.assign(std::size_t(width) * std::size_t(height), kWhitePixel);
        const int keepW = std::min(width, width_), keepH = std::min(height, height_);
        for (int y = 0; y < keepH; ++y)
            std::copy_n(pixels_.data() + std::size_t(y) * std::size_t(width_), keepW,
                        pixels.data() + std::size_t(y) * std::size_t(width));
    }
    Reallocate(width, height, std::move(pixels));
}

std::uint32_t* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= height_) throw EInvalidOperation("Scan line index out of range");
    return pixels_.data() + std::size_t(y) * std::size_t(width_);
}

const std::uint32_t* TBitmap::ScanLine(int y) const {
    if (y < 0 || y >= height_) throw EInvalidOperation("Scan line index out of range");
    return pixels_.data() + std::size_t(y) * std::size_t(width_);
}

TColor TBitmap::Pixels(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    return PixelToColor(pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]);
}

void TBitmap::SetPixels(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = ColorToPixel(color);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(this);
    return *canvas_;
}

void TBitmap::Fill(TColor color) { std::fill(pixels_.begin(), pixels_.end(), ColorToPixel(color)); }

void TBitmap::LoadFromFile(const AnsiString& fileName, std::uint64_t maxPixels) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    try {
        LoadFromBytes(bytes, nullptr, maxPixels);
    } catch (const EBmpFormatError& e) {
        // The codec knows the fault, only the caller the file: the report names both.
        throw EBmpFormatError(e.Reason(), fileName, e.DeclaredPixels());
    }
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> data, std::size_t* consumed, std::uint64_t maxPixels) {
    BmpImage image = ReadBmp(data, consumed, maxPixels);
    Reallocate(image.Width, image.Height, std::move(image.Pixels));
}

void TBitmap::LoadFromStream(TStream& stream) {
    const std::int64_t start = stream.Position();
    const std::int64_t available = stream.Size() - start;
    if (available <= 0) throw EInvalidGraphic("Bitmap image is not valid: the stream holds no picture");
    // A memory stream is read in place; any other stream is read into a
    // buffer first. Either way the position ends just after the picture.
    std::vector<std::uint8_t> copy;
    std::span<const std::uint8_t> bytes;
    if (const auto* memory = dynamic_cast<const TCustomMemoryStream*>(&stream)) {
        bytes = {reinterpret_cast<const std::uint8_t*>(memory->Memory()) + start, static_cast<std::size_t>(available)};
    } else {
        copy.resize(static_cast<std::size_t>(available));
        stream.ReadBuffer(copy.data(), available);
        bytes = copy;
    }
    std::size_t consumed = 0;
    try {
        LoadFromBytes(bytes, &consumed);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
    stream.SetPosition(start + std::int64_t(consumed));
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
    return WriteBmp24(width_, height_, pixels_.data(), StridePixels());
}

void TBitmap::SaveToFile(const AnsiString& fileName) const {
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file)
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) throw EWriteError("Cannot write file \"" + fileName + "\".");
}

void TBitmap::SaveToStream(TStream& stream) const {
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    Reallocate(source.width_, source.height_, source.pixels_);
    pixelFormat_ = source.pixelFormat_;
    transparent_ = source.transparent_;
    transparentMode_ = source.transparentMode_;
    transparentColor_ = source.transparentColor_;
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    return Empty() ? clNone : Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = tmFixed;
}
