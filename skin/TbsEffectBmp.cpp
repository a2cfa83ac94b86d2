#include "TbsEffectBmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Exceptions.h"
#include "TbsFBitmap.h"

namespace {

// Rounds to the nearest integer, halves to even, and clamps to a channel.
std::uint8_t ToChannel(double v) {
    const double r = std::nearbyint(v);
    return std::uint8_t(std::clamp(r, 0.0, 255.0));
}

int Nearest(double v) { return int(std::nearbyint(v)); }

double Clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

// w * from + (1 - w) * to, channel by channel.
void Mix(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to, double w) {
    for (int c = 0; c < 3; ++c) out[c] = ToChannel(w * from[c] + (1 - w) * to[c]);
}

void CopyPixel(std::uint8_t* out, const std::uint8_t* in) { std::memcpy(out, in, 3); }

}  // namespace

TbsEffectBmp::TbsEffectBmp(const TBitmap& bitmap) {
    const TbsFBitmap pixels(bitmap);
    width_ = pixels.Width();
    height_ = pixels.Height();
    rowBytes_ = pixels.RowBytes();
    bits_.assign(pixels.Bits(), pixels.Bits() + rowBytes_ * std::size_t(height_));
    random_.seed(std::random_device{}());
}

std::uint8_t* TbsEffectBmp::RowPointer(int y) {
    if (y < 0 || y >= height_) throw EInvalidOperation("Scan line index out of range");
    return bits_.data() + std::size_t(y) * rowBytes_;
}

const std::uint8_t* TbsEffectBmp::RowPointer(int y) const {
    if (y < 0 || y >= height_) throw EInvalidOperation("Scan line index out of range");
    return bits_.data() + std::size_t(y) * rowBytes_;
}

void TbsEffectBmp::ReadRow(int y, std::span<std::uint8_t> buffer) const {
    const std::size_t bytes = std::size_t(width_) * 3;
    if (buffer.size() < bytes) throw EInvalidOperation("Row buffer too short");
    std::memcpy(buffer.data(), RowPointer(y), bytes);
}

void TbsEffectBmp::WriteRow(int y, std::span<const std::uint8_t> buffer) {
    const std::size_t bytes = std::size_t(width_) * 3;
    if (buffer.size() < bytes) throw EInvalidOperation("Row buffer too short");
    std::memcpy(RowPointer(y), buffer.data(), bytes);
}

void TbsEffectBmp::DrawTo(TCanvas& canvas, int x, int y) const {
    canvas.SetDIBitsToDevice(x, y, width_, height_, bits_.data(), int(rowBytes_), 24);
}

void TbsEffectBmp::AssignTo(TBitmap& bitmap) const {
    bitmap.SetSize(width_, height_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = RowPointer(y);
        std::uint32_t* out = bitmap.ScanLine(y);
        for (int x = 0; x < width_; ++x, in += 3)
            out[x] = 0xFF000000u | (std::uint32_t(in[2]) << 16) | (std::uint32_t(in[1]) << 8) | in[0];
    }
}

// ---- colour effects ----

void TbsEffectBmp::Lighten(double x) {
    x = Clamp01(x);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        for (int i = 0; i < width_ * 3; ++i) p[i] = ToChannel((1 - x) * p[i] + 255 * x);
    }
}

void TbsEffectBmp::Darken(double x) {
    x = Clamp01(x);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        for (int i = 0; i < width_ * 3; ++i) p[i] = ToChannel((1 - x) * p[i]);
    }
}

void TbsEffectBmp::ToGray() {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            const std::uint8_t g = ToChannel(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p[0] = p[1] = p[2] = g;
        }
    }
}

void TbsEffectBmp::AddNoise(int amount) {
    if (amount < 1) return;
    std::uniform_int_distribution<int> pick(0, amount - 1);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            const int shift = pick(random_) - amount / 2;
            for (int c = 0; c < 3; ++c) p[c] = ToChannel(p[c] + shift);
        }
    }
}

void TbsEffectBmp::SplitBlur(int amount) {
    if (amount == 0) return;
    // A neighbour outside the image falls back to the pixel's own row or column.
    const auto within = [](int v, int limit, int fallback) { return v >= 0 && v < limit ? v : fallback; };
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* upper = RowPointer(within(y - amount, height_, y));
        const std::uint8_t* lower = RowPointer(within(y + amount, height_, y));
        std::uint8_t* p = RowPointer(y);
        for (int x = 0; x < width_; ++x) {
            const int left = 3 * within(x - amount, width_, x);
            const int right = 3 * within(x + amount, width_, x);
            for (int c = 0; c < 3; ++c)
                p[3 * x + c] = std::uint8_t(
                    (upper[left + c] + lower[left + c] + upper[right + c] + lower[right + c]) / 4);
        }
    }
}

void TbsEffectBmp::InvertColors() {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        for (int i = 0; i < width_ * 3; ++i) p[i] = std::uint8_t(255 - p[i]);
    }
}

void TbsEffectBmp::ApplyImageEffect(SkinImageEffect effect) {
    switch (effect) {
        case SkinImageEffect::Brightness: Lighten(0.5); break;
        case SkinImageEffect::Darkness: Darken(0.3); break;
        case SkinImageEffect::Grayscale: ToGray(); break;
        case SkinImageEffect::Noise: AddNoise(50); break;
        case SkinImageEffect::SplitBlur: SplitBlur(1); break;
        case SkinImageEffect::Invert: InvertColors(); break;
    }
}

// ---- morphs ----

void TbsEffectBmp::BlendFade(const TbsEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    k = Clamp01(k);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        const std::uint8_t* q = other.RowPointer(y);
        for (int i = 0; i < width_ * 3; ++i) p[i] = ToChannel((1 - k) * p[i] + k * q[i]);
    }
}

void TbsEffectBmp::BlendFromCentre(const TbsEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    if (width_ < height_)
        BlendFromCentreVertical(other, Clamp01(k));
    else
        BlendFromCentreHorizontal(other, Clamp01(k));
}

void TbsEffectBmp::BlendFromCentreHorizontal(const TbsEffectBmp& other, double k) {
    const int W = width_;
    if (W == 0) return;
    const int a = Nearest(W * k);
    const int b = (W - a) / 2;
    const double s = b != 0 ? 1.0 / b : 1.0;
    const int c = a / 2, m = W / 2;
    const int g = std::max(0, m - c), f = std::min(W - 1, m + c);
    std::vector<std::uint8_t> from(std::size_t(W) * 3);
    for (int y = 0; y < height_; ++y) {
        ReadRow(y, from);
        std::uint8_t* p = RowPointer(y);
        const std::uint8_t* to = other.RowPointer(y);
        for (int x = g; x <= f; ++x) CopyPixel(p + 3 * x, to + 3 * x);
        double w = 0;
        for (int x = g; x >= 0; --x, w = std::min(1.0, w + s)) Mix(p + 3 * x, &from[3 * std::size_t(x)], to + 3 * x, w);
        w = 0;
        for (int x = f; x < W; ++x, w = std::min(1.0, w + s)) Mix(p + 3 * x, &from[3 * std::size_t(x)], to + 3 * x, w);
    }
}

void TbsEffectBmp::BlendFromCentreVertical(const TbsEffectBmp& other, double k) {
    const int H = height_;
    if (H == 0 || width_ == 0) return;
    const int a = Nearest(H * k);
    const int b = (H - 1 - a) / 2;
    const double s = b != 0 ? 1.0 / b : 0.0;
    const int c = a / 2, m = H / 2;
    const int g = std::max(0, m - c), f = std::min(H - 1, m + c);
    const std::size_t bytes = std::size_t(width_) * 3;
    std::vector<std::uint8_t> from(bytes);
    const auto mixRow = [&](int y, double w) {
        ReadRow(y, from);
        std::uint8_t* p = RowPointer(y);
        const std::uint8_t* to = other.RowPointer(y);
        for (int x = 0; x < width_; ++x) Mix(p + 3 * x, &from[3 * std::size_t(x)], to + 3 * x, w);
    };
    for (int y = g; y <= f; ++y) std::memcpy(RowPointer(y), other.RowPointer(y), bytes);
    double w = 0;
    for (int y = g; y >= 0; --y, w = std::min(1.0, w + s)) mixRow(y, w);
    w = 0;
    for (int y = f; y < H; ++y, w = std::min(1.0, w + s)) mixRow(y, w);
}

void TbsEffectBmp::BlendFromLeft(const TbsEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    const int W = width_;
    const int a = std::min(std::max(Nearest(W * Clamp01(k)), 1), W - 1);
    const double s = a != 0 ? 1.0 / a : 0.0;
    std::vector<std::uint8_t> from(std::size_t(W) * 3);
    for (int y = 0; y < height_; ++y) {
        ReadRow(y, from);
        std::uint8_t* p = RowPointer(y);
        const std::uint8_t* to = other.RowPointer(y);
        double w = 0;
        for (int x = 0; x <= a; ++x, w = std::min(1.0, w + s)) Mix(p + 3 * x, &from[3 * std::size_t(x)], to + 3 * x, w);
    }
}

void TbsEffectBmp::BlendFromRight(const TbsEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    const int W = width_;
    const int a = std::min(std::max(W - Nearest(W * Clamp01(k)), 0), W - 1);
    const double s = W - a > 0 ? 1.0 / (W - a) : 1.0;
    std::vector<std::uint8_t> from(std::size_t(W) * 3);
    for (int y = 0; y < height_; ++y) {
        ReadRow(y, from);
        std::uint8_t* p = RowPointer(y);
        const std::uint8_t* to = other.RowPointer(y);
        double w = 0;
        for (int x = W - 1; x >= a; --x, w = std::min(1.0, w + s))
            Mix(p + 3 * x, &from[3 * std::size_t(x)], to + 3 * x, w);
    }
}

void TbsEffectBmp::SlideFromLeft(const TbsEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    const int W = width_;
    const int b = std::min(std::max(Nearest(W * Clamp01(k)), 1), W - 1);
    for (int y = 0; y < height_; ++y)
        std::memcpy(RowPointer(y), other.RowPointer(y) + 3 * std::size_t(W - b), 3 * std::size_t(b));
}

void TbsEffectBmp::SlideFromRight(const TbsEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    const int W = width_;
    const int b = std::min(std::max(Nearest(W * Clamp01(k)), 1), W - 1);
    for (int y = 0; y < height_; ++y)
        std::memcpy(RowPointer(y) + 3 * std::size_t(W - b), other.RowPointer(y), 3 * std::size_t(b));
}

void TbsEffectBmp::PushFromLeft(const TbsEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    const int W = width_;
    const int a = std::min(std::max(Nearest(W * Clamp01(k)), 0), W - 1);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = RowPointer(y);
        // The old image moves right by a + 1 columns; the columns it leaves
        // take the right end of the new image.
        std::memmove(p + 3 * std::size_t(a + 1), p, 3 * std::size_t(W - a - 1));
        std::memcpy(p, other.RowPointer(y) + 3 * std::size_t(W - a - 1), 3 * std::size_t(a + 1));
    }
}

void TbsEffectBmp::Morph(SkinMorphKind kind, const TbsEffectBmp& other, double k) {
    switch (kind) {
        case SkinMorphKind::Default: BlendFade(other, k); break;
        case SkinMorphKind::Gradient: BlendFromCentre(other, k); break;
        case SkinMorphKind::LeftGradient: BlendFromLeft(other, k); break;
        case SkinMorphKind::RightGradient: BlendFromRight(other, k); break;
        case SkinMorphKind::LeftSlide: SlideFromLeft(other, k); break;
        case SkinMorphKind::RightSlide: SlideFromRight(other, k); break;
        case SkinMorphKind::Push: PushFromLeft(other, k); break;
    }
}
