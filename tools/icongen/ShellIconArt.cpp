#include "ShellIconArt.h"

#include "IconPainter.h"

namespace {

constexpr double kDesign = 32;

void DrawFolder(IconPainter& p) {
    // The back with its tab, the front a little lower and lighter.
    p.Fill(IconUnion({IconRoundRect(2, 6, 14, 12, 1.5), IconRoundRect(2, 8, 30, 27, 1.8)}), 0xFFB7862Au);
    p.Fill(IconUnion({IconRoundRect(3, 7, 13, 12, 1.0), IconRoundRect(3, 9, 29, 26, 1.2)}),
           IconVerticalGradient(0xFFE9B949u, 0xFFD69B2Du, 7, 26));
    p.Fill(IconRoundRect(2, 12, 30, 27.5, 1.8), 0xFFB7862Au);
    p.Fill(IconRoundRect(3, 13, 29, 26.5, 1.2), IconVerticalGradient(0xFFFFE28Au, 0xFFF2BF4Bu, 13, 26.5));
    p.Fill(IconRoundRect(3.5, 13.5, 28.5, 15, 0.7), 0x66FFFFFFu);
}

void DrawFile(IconPainter& p) {
    // A page with its top-right corner folded over.
    const std::vector<IconPoint> page{{6, 2}, {20, 2}, {27, 9}, {27, 30}, {6, 30}};
    p.Fill(IconPolygon(page), 0xFF7A8594u);
    p.Fill(IconPolygon({{7, 3}, {19.6, 3}, {26, 9.4}, {26, 29}, {7, 29}}),
           IconVerticalGradient(0xFFFFFFFFu, 0xFFE9EDF3u, 3, 29));
    p.Fill(IconPolygon({{19, 2.5}, {26.5, 10}, {19, 10}}), 0xFFC9D1DCu);
    p.Fill(IconPolygon({{19, 2}, {19, 10}, {27, 10}, {27, 9}, {20, 9}, {20, 2}}), 0xFF7A8594u);
    for (double y : {14.0, 18.0, 22.0}) p.Fill(IconRoundRect(10, y, 23, y + 1.6, 0.6), 0xFF9AA7B8u);
    p.Fill(IconRoundRect(10, 25.5, 18, 27.1, 0.6), 0xFF9AA7B8u);
}

void DrawDrive(IconPainter& p) {
    // A disk drive seen from the front: a grey case, a dark slot, a green light.
    p.Fill(IconRoundRect(2, 9, 30, 25, 2.5), 0xFF4A5360u);
    p.Fill(IconRoundRect(3, 10, 29, 24, 1.8), IconVerticalGradient(0xFFE4E8EEu, 0xFFA9B1BDu, 10, 24));
    p.Fill(IconRoundRect(3.5, 10.5, 28.5, 13.5, 1.2), 0x80FFFFFFu);
    p.Fill(IconRoundRect(6, 18, 19, 20.2, 0.8), 0xFF3A424Eu);
    p.Fill(IconCircle(24.5, 19.1, 1.9), 0xFF1F7A2Eu);
    p.Fill(IconCircle(24.5, 19.1, 1.3), 0xFF4CDB62u);
}

void DrawHome(IconPainter& p) {
    // A house: a red roof over cream walls with a brown door and a window.
    p.Fill(IconPolygon({{16, 2.5}, {31, 15.5}, {27.5, 15.5}, {16, 5.6}, {4.5, 15.5}, {1, 15.5}}), 0xFF9E2B1Fu);
    p.Fill(IconPolygon({{16, 5.6}, {27, 15}, {27, 29.5}, {5, 29.5}, {5, 15}}), 0xFF8A7350u);
    p.Fill(IconPolygon({{16, 7}, {26, 15.6}, {26, 28.5}, {6, 28.5}, {6, 15.6}}),
           IconVerticalGradient(0xFFFFF6DEu, 0xFFEAD9AEu, 7, 28.5));
    p.Fill(IconPolygon({{16, 2.5}, {30, 14.6}, {28.4, 16.3}, {16, 5.6}, {3.6, 16.3}, {2, 14.6}}),
           IconVerticalGradient(0xFFE5543Bu, 0xFFC23A25u, 2.5, 16.3));
    p.Fill(IconRoundRect(9, 19, 15, 28.5, 0.8), 0xFF7B4A22u);
    p.Fill(IconCircle(13.6, 24, 0.7), 0xFFF2C94Cu);
    p.Fill(IconRoundRect(18, 18, 24, 23.5, 0.6), 0xFF5E8FCBu);
    p.Fill(IconRoundRect(18.6, 18.6, 23.4, 20.3, 0.4), 0x80FFFFFFu);
}

}  // namespace

IconPixels DrawShellIcon(ShellIconArt art, int size) {
    IconPainter p(size, kDesign);
    switch (art) {
    case ShellIconArt::Folder: DrawFolder(p); break;
    case ShellIconArt::File: DrawFile(p); break;
    case ShellIconArt::Drive: DrawDrive(p); break;
    case ShellIconArt::Home: DrawHome(p); break;
    }
    return p.Take();
}

std::string ShellIconFileStem(ShellIconArt art) {
    switch (art) {
    case ShellIconArt::Folder: return "shell-folder";
    case ShellIconArt::File: return "shell-file";
    case ShellIconArt::Drive: return "shell-drive";
    case ShellIconArt::Home: return "shell-home";
    }
    return {};
}
