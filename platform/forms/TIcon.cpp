#include "TIcon.h"

#include <algorithm>
#include <cstdlib>

#include "Exceptions.h"
#include "IconFile.h"
#include "Streams.h"
#include "TCanvas.h"

namespace {
constexpr int kStandardSize = 32;
// Far above any icon or icon-sized picture; a larger file is refused unread.
constexpr std::int64_t kMaxFileSize = 16 << 20;
}

TIcon::~TIcon() { DropHandles(); }

void TIcon::DropHandles() const {
    if (handle_) DestroyIcon(handle_);
    handle_ = nullptr;
    for (const auto& [size, h] : sized_) DestroyIcon(h);
    sized_.clear();
}

void TIcon::SetImages(std::vector<IconPixels> images, HICON handle) {
    DropHandles();
    handle_ = handle;
    std::stable_sort(images.begin(), images.end(),
                     [](const IconPixels& a, const IconPixels& b) { return a.width * a.height > b.width * b.height; });
    images_ = std::move(images);
    if (OnChange) OnChange();
}

const IconPixels* TIcon::Nearest(int size) const {
    const IconPixels* best = nullptr;
    for (const IconPixels& img : images_) {
        // The closest size wins; between two as close, the larger (scaling
        // down looks better than scaling up).
        if (!best || std::abs(img.width - size) < std::abs(best->width - size)) best = &img;
    }
    return best;
}

int TIcon::Width() const {
    const IconPixels* p = Nearest(kStandardSize);
    return p ? p->width : 0;
}

int TIcon::Height() const {
    const IconPixels* p = Nearest(kStandardSize);
    return p ? p->height : 0;
}

void TIcon::Assign(const TBitmap& picture) {
    if (picture.Empty()) {
        Clear();
        return;
    }
    IconPixels img{picture.Width(), picture.Height(), {}};
    img.argb.reserve(std::size_t(img.width) * std::size_t(img.height));
    const std::uint32_t clear = ColorToPixel(picture.TransparentColor()) & 0x00FFFFFFu;
    for (int y = 0; y < img.height; ++y) {
        const std::uint32_t* row = picture.ScanLine(y);
        for (int x = 0; x < img.width; ++x) {
            const std::uint32_t rgb = row[x] & 0x00FFFFFFu;
            img.argb.push_back(rgb == clear ? 0u : (0xFF000000u | rgb));
        }
    }
    std::vector<IconPixels> images;
    images.push_back(std::move(img));
    SetImages(std::move(images));
}

void TIcon::Assign(const TIcon& other) {
    if (&other == this) return;
    SetImages(other.images_);
}

void TIcon::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead);
    if (file.Size() > kMaxFileSize) throw EInvalidGraphic("The icon file " + fileName + " is too large");
    std::vector<std::uint8_t> bytes(std::size_t(file.Size()));
    if (!bytes.empty()) file.ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0) {
        SetImages(ReadIconFile(bytes));
        return;
    }
    TBitmap picture;
    picture.LoadFromBytes(bytes);
    Assign(picture);
}

void TIcon::Clear() {
    if (images_.empty() && !handle_) return;
    SetImages({});
}

HICON TIcon::Handle() const {
    if (!handle_) {
        if (const IconPixels* p = Nearest(kStandardSize)) handle_ = CreateIconFromPixels(*p);
    }
    return handle_;
}

HICON TIcon::HandleForSize(int size) const {
    if (size <= 0) return nullptr;
    for (const auto& [s, h] : sized_)
        if (s == size) return h;
    const IconPixels* p = Nearest(size);
    if (!p) return nullptr;
    const HICON h = CreateIconFromPixels(ScaleIconPixels(*p, size, size));
    if (h) sized_.emplace_back(size, h);
    return h;
}

void TIcon::SetHandle(HICON icon) {
    const IconPixels* p = IconPixelsOf(icon);
    if (!p) {
        Clear();
        return;
    }
    std::vector<IconPixels> images{*p};
    SetImages(std::move(images), icon);
}

HICON TIcon::ReleaseHandle() {
    const HICON h = Handle();
    handle_ = nullptr;
    Clear();
    return h;
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
    const IconPixels* p = Nearest(std::max(rect.Width(), rect.Height()));
    if (!p || IsRectEmpty(rect)) return;
    const HICON h = CreateIconFromPixels(*p);
    DrawIconEx(&canvas, rect.Left, rect.Top, h, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
    DestroyIcon(h);
}
