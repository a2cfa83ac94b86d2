#include "SkinItemContent.h"

#include <algorithm>

#include "ImgList.h"

std::vector<int> TabbedPartOffsets(const std::vector<int>& partWidths, const std::vector<int>& tabWidths,
                                   int defaultTab) {
    std::vector<int> offsets;
    offsets.reserve(partWidths.size());
    int x = 0;        // where the previous part ended
    int stop = 0;     // the current tab stop
    std::size_t column = 0;
    for (std::size_t i = 0; i < partWidths.size(); ++i) {
        if (i > 0) {
            // Move to the first stop past the end of the previous part; a
            // column of width 0 (or below) would never move, so it counts as 1.
            do {
                const int w = tabWidths.empty() ? defaultTab : tabWidths[std::min(column, tabWidths.size() - 1)];
                stop += std::max(1, w);
                ++column;
            } while (stop < x);
            x = stop;
        }
        offsets.push_back(x);
        x += partWidths[i];
    }
    return offsets;
}

void DrawSkinItemContent(TCanvas& c, const TRect& rect, const AnsiString& text, const SkinItemContent& content) {
    TRect textRect = rect;
    const TImageList* images = content.images;
    if (images && content.imageIndex >= 0 && content.imageIndex < images->Count()) {
        images->Draw(c, rect.Left, rect.Top + (rect.Height() - images->Height()) / 2, content.imageIndex);
        textRect.Left += images->Width() + 2;
    }
    const TBrushStyle oldStyle = c.Brush.Style;
    c.Brush.Style = bsClear;
    constexpr unsigned kFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (text.find('\t') == AnsiString::npos) {
        TRect r = textRect;
        c.DrawText(text, r, kFlags);
        c.Brush.Style = oldStyle;
        return;
    }
    std::vector<AnsiString> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        parts.push_back(text.substr(start, tab == AnsiString::npos ? AnsiString::npos : tab - start));
        if (tab == AnsiString::npos) break;
        start = tab + 1;
    }
    std::vector<int> widths;
    widths.reserve(parts.size());
    for (const AnsiString& part : parts) widths.push_back(c.TextWidth(part));
    static const std::vector<int> kNoTabs;
    const std::vector<int> offsets =
        TabbedPartOffsets(widths, content.tabWidths ? *content.tabWidths : kNoTabs, 8 * c.TextWidth("x"));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        TRect r{textRect.Left + offsets[i], textRect.Top, textRect.Right, textRect.Bottom};
        if (r.Left >= r.Right) break;
        c.DrawText(parts[i], r, kFlags);
    }
    c.Brush.Style = oldStyle;
}
