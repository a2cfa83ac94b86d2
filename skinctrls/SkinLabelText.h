#pragma once
// How the two skinned labels draw their text: the font chosen from the label
// record, the default font or the label's own, and disabled text embossed
// (a highlight copy one pixel down-right under a shadow copy).

#include "AnsiString.h"
#include "Geometry.h"
#include "TCanvas.h"
#include "TFont.h"

class TbsSkinData;

// The label record's font keys, read when the label binds.
struct SkinLabelFontKeys {
    bool bound = false;  // a label record is bound
    AnsiString fontname;
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
};

// Index of the label's record (-1 for no skin, an empty one or no record of
// that name) and, for a label record, its font keys.
int BindSkinLabelRecord(const TbsSkinData* skin, const AnsiString& name, SkinLabelFontKeys& keys);

// The font to draw with: without a record DefaultFont (UseSkinFont) or Font;
// with one, the record's name, style and height (UseSkinFont) or Font's, and
// the record's colour (UseSkinColor) or Font's.
void ChooseSkinLabelFont(TFont& out, const SkinLabelFontKeys& keys, bool useSkinFont, bool useSkinColor,
                         const TFont& defaultFont, const TFont& font, const TbsSkinData* skin);

// Draws (or with DT_CALCRECT measures) `text` in `rect`; disabled text is
// embossed in the skin's highlight and shadow colours, or the system's.
void DrawSkinLabelText(TCanvas& canvas, const AnsiString& text, TRect& rect, unsigned flags, bool enabled,
                       const TbsSkinData* skin);
