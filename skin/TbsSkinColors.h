#pragma once
// The eight system colours a skin may replace (section SKINCOLORS). Skinned
// controls paint with these instead of the desktop's colours, so a dark skin
// does not get light default text areas.

#include "IniFiles.h"
#include "TColor.h"

class TbsSkinColors {
public:
    // All eight are 0 until the first ResetColors, as the skin data component
    // resets them whenever it clears a skin.
    TbsSkinColors() = default;

    // Sets the eight system-colour defaults.
    void ResetColors();
    // Reads section SKINCOLORS, each key with its default.
    void ReadFromIni(const TMemIniFile& ini);

    TColor cbtnface = 0;
    TColor cbtntext = 0;
    TColor cwindow = 0;
    TColor cwindowtext = 0;
    TColor chighlight = 0;
    TColor chighlighttext = 0;
    TColor cbtnhighlight = 0;
    TColor cbtnshadow = 0;
};
