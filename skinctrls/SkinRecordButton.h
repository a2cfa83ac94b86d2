#pragma once
// A small button composed from a button record of the skin at whatever size
// its owner needs: the buttons of the edit and the combo box when these are
// not drawn at the skin's own size. The owner names a few records in order of
// preference; the first one the skin holds as a button record with a picture
// draws the button, with its menu-marker glyph or an arrow on top.

#include <initializer_list>
#include <string_view>

#include "Geometry.h"
#include "SkinControlRecords.h"
#include "TBitmap.h"
#include "TColor.h"

class TbsSkinData;

enum class RecordButtonState { Normal, Active, Down };

struct RecordButton {
    const TbsDataSkinButtonControl* record = nullptr;
    const TBitmap* picture = nullptr;
    explicit operator bool() const { return record && picture; }
};

// The first of `names` that the loaded skin holds as a button record whose
// picture exists; empty when none does or without a loaded skin.
RecordButton FindRecordButton(const TbsSkinData* skin, std::initializer_list<std::string_view> names);

// The record's image for `state`: `skinrect`, `activeskinrect`,
// `downskinrect`, where an empty rectangle falls back to the state before it.
TRect RecordButtonImageRect(const TbsDataSkinButtonControl& record, RecordButtonState state);

// Draws the button's image for `state` over `area` of `dest`: a nine-part
// record is composed at the area's size, any other image is stretched to it.
void DrawRecordButton(TBitmap& dest, const TRect& area, const RecordButton& button, RecordButtonState state);

// Draws the record's menu marker for `state` centred in `area`, one pixel
// lower while down, leaving out its transparent colour. False (and nothing
// drawn) when the record has no marker.
bool DrawRecordButtonMarker(TBitmap& dest, const TRect& area, const RecordButton& button, RecordButtonState state);

// The record's caption colour for `state`, or its disabled colour.
TColor RecordButtonFontColor(const TbsDataSkinButtonControl& record, RecordButtonState state, bool enabled);
