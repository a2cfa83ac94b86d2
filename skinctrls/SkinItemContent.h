#pragma once
// How a combo box draws one item, in its field and in its drop-down list:
// the item's image at the left, vertically centred, and the text beside it
// (moved right by the image's width + 2). Text with tab characters is laid
// out in columns by the tab widths; other text is left-aligned and
// vertically centred.

#include <vector>

#include "AnsiString.h"
#include "Geometry.h"
#include "TCanvas.h"

class TImageList;

// The tab widths are column widths in pixels: the text after the n-th tab
// starts at the sum of the first n widths (the last width repeats for further
// tabs); a column that is already passed moves the text to the next stop.
// Without widths a tab is drawn as a gap of eight average characters.
struct SkinItemContent {
    const TImageList* images = nullptr;
    int imageIndex = -1;
    const std::vector<int>* tabWidths = nullptr;
};

// Draws `text` (and the image) inside `rect` with the canvas's font; the
// canvas's brush style is left as found.
void DrawSkinItemContent(TCanvas& canvas, const TRect& rect, const AnsiString& text, const SkinItemContent& content);

// The x offsets (from the text's left edge) at which the tab-separated parts
// of a text start, given the parts' widths.
std::vector<int> TabbedPartOffsets(const std::vector<int>& partWidths, const std::vector<int>& tabWidths, int defaultTab);
