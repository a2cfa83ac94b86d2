// The standard icons, drawn from shapes on a 32-unit square: the
// application's window, the error's red disc with a cross, the question's
// blue disc with "?", the warning's yellow triangle with "!" and the
// information's blue disc with "i". Each is made once, on first use, and
// shared for the rest of the run.

#include <map>

#include "IconPainter.h"
#include "Icons.h"

namespace {

constexpr int kSize = 32;
constexpr double kDesign = 32;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

void Disc(IconPainter& p, std::uint32_t rim, std::uint32_t top, std::uint32_t bottom) {
    p.Fill(IconCircle(16, 16, 15.2), rim);
    p.Fill(IconCircle(16, 16, 14), IconVerticalGradient(top, bottom, 2, 30));
    // A soft light on the upper half.
    p.Fill(IconEllipse(6, 3.5, 26, 15), 0x30FFFFFFu);
}

IconPixels Application() {
    IconPainter p(kSize, kDesign);
    p.Fill(IconRoundRect(2.5, 4.5, 29.5, 27.5, 2), 0xFF3A4250u);
    p.Fill(IconRoundRect(3.5, 5.5, 28.5, 26.5, 1.4), 0xFFF6F8FBu);
    p.Fill(IconRoundRect(3.5, 5.5, 28.5, 10.5, 1.4), IconVerticalGradient(0xFF4F8EEAu, 0xFF2557B8u, 5.5, 10.5));
    p.Fill(IconRoundRect(23, 7, 27, 9.2, 0.5), kWhite);
    return p.Take();
}

IconPixels Error() {
    IconPainter p(kSize, kDesign);
    Disc(p, 0xFF8E1B12u, 0xFFF0584Au, 0xFFC0241Au);
    p.Fill(IconSegment({11, 11}, {21, 21}, 2.1), kWhite);
    p.Fill(IconSegment({21, 11}, {11, 21}, 2.1), kWhite);
    return p.Take();
}

IconPixels Question() {
    IconPainter p(kSize, kDesign);
    Disc(p, 0xFF163F8Au, 0xFF4C9BF0u, 0xFF1E5CBEu);
    p.Fill(IconUnion({IconArc(16, 12.2, 3.0, 6.8, 165, 45), IconSegment({18.9, 15.8}, {16, 18.6}, 1.95),
                      IconSegment({16, 18.6}, {16, 20.2}, 1.95), IconCircle(16, 25, 2.2)}),
           kWhite);
    return p.Take();
}

IconPixels Warning() {
    IconPainter p(kSize, kDesign);
    p.Fill(IconUnion({IconPolygon({{16, 3.2}, {29.8, 27.4}, {2.2, 27.4}}), IconCircle(16, 4.2, 1.6),
                      IconCircle(28.6, 27, 1.6), IconCircle(3.4, 27, 1.6)}),
           0xFF8C6100u);
    p.Fill(IconPolygon({{16, 5.6}, {27.5, 26.2}, {4.5, 26.2}}), IconVerticalGradient(0xFFFFE866u, 0xFFF0B000u, 5, 27));
    p.Fill(IconUnion({IconSegment({16, 11.5}, {16, 18.8}, 1.9), IconCircle(16, 22.8, 1.9)}), 0xFF1A1A1Au);
    return p.Take();
}

IconPixels Information() {
    IconPainter p(kSize, kDesign);
    Disc(p, 0xFF163F8Au, 0xFF4C9BF0u, 0xFF1E5CBEu);
    p.Fill(IconUnion({IconCircle(16, 9.2, 2.3), IconSegment({16, 14}, {16, 24}, 2.1), IconSegment({13.2, 14}, {16, 14}, 1.1),
                      IconSegment({13, 24.6}, {19, 24.6}, 1.1)}),
           kWhite);
    return p.Take();
}

}  // namespace

HICON LoadIcon(void* instance, int iconId) {
    if (instance) return nullptr;
    static std::map<int, HICON> loaded;
    if (const auto found = loaded.find(iconId); found != loaded.end()) return found->second;
    IconPixels pixels;
    switch (iconId) {
    case IDI_APPLICATION: pixels = Application(); break;
    case IDI_HAND: pixels = Error(); break;
    case IDI_QUESTION: pixels = Question(); break;
    case IDI_EXCLAMATION: pixels = Warning(); break;
    case IDI_ASTERISK: pixels = Information(); break;
    default: return nullptr;
    }
    const HICON icon = CreateSharedIcon(std::move(pixels));
    loaded.emplace(iconId, icon);
    return icon;
}
