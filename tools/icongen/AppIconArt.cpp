#include "AppIconArt.h"

#include "IconPainter.h"

namespace {
constexpr double kDesign = 32;
}

IconPixels DrawAppIcon(int size) {
    IconPainter p(size, kDesign);
    // The tile: a darker rim around a blue gradient, lit a little at the top.
    p.Fill(IconRoundRect(1, 1, 31, 31, 6.5), 0xFF163C78u);
    p.Fill(IconRoundRect(2, 2, 30, 30, 5.6), IconVerticalGradient(0xFF3D9BE9u, 0xFF1D57A8u, 2, 30));
    p.Fill(IconRoundRect(3, 2.6, 29, 13, 5), 0x26FFFFFFu);

    // The book: a shadow, two pages that rise towards the spine, the spine.
    p.Fill(IconPolygon({{4.6, 10.6}, {16, 12.8}, {27.4, 10.6}, {27.4, 25.6}, {16, 27.6}, {4.6, 25.6}}), 0x55081C3Cu);
    const IconPaint page = IconVerticalGradient(0xFFFFFFFFu, 0xFFE8EEF6u, 9, 26);
    p.Fill(IconPolygon({{4.5, 9.2}, {15.6, 11.4}, {15.6, 26.2}, {4.5, 24.0}}), page);
    p.Fill(IconPolygon({{16.4, 11.4}, {27.5, 9.2}, {27.5, 24.0}, {16.4, 26.2}}), page);
    p.Fill(IconSegment({16, 11.2}, {16, 26.2}, 0.55), 0xFF9AAAC0u);

    // "A" on the left page, in red.
    const std::uint32_t red = 0xFFD8432Au;
    p.Fill(IconUnion({IconSegment({7.6, 22.2}, {10.2, 14.6}, 0.95), IconSegment({10.2, 14.6}, {12.8, 22.6}, 0.95),
                      IconSegment({8.7, 19.6}, {11.8, 20.0}, 0.75)}),
           red);
    // "中" on the right page, in the tile's blue.
    const std::uint32_t blue = 0xFF1D57A8u;
    p.Fill(IconUnion({IconSegment({18.6, 16.2}, {25.2, 15.0}, 0.7), IconSegment({18.6, 16.2}, {18.6, 20.6}, 0.7),
                      IconSegment({25.2, 15.0}, {25.2, 19.4}, 0.7), IconSegment({18.6, 20.6}, {25.2, 19.4}, 0.7),
                      IconSegment({21.9, 12.8}, {21.9, 24.4}, 0.8)}),
           blue);
    return p.Take();
}
