#include "TbsSkinColors.h"

#include "SkinIniValues.h"

namespace {
constexpr const char* kSection = "SKINCOLORS";
}  // namespace

void TbsSkinColors::ResetColors() {
    cbtnface = clBtnFace;
    cbtntext = clBtnText;
    cwindow = clWindow;
    cwindowtext = clWindowText;
    chighlight = clHighlight;
    chighlighttext = clHighlightText;
    cbtnhighlight = clBtnHighlight;
    cbtnshadow = clBtnShadow;
}

void TbsSkinColors::ReadFromIni(const TMemIniFile& ini) {
    cbtnface = IniReadColor(ini, kSection, "cbtnface", clBtnFace);
    cbtntext = IniReadColor(ini, kSection, "cbtntext", clBtnText);
    cwindow = IniReadColor(ini, kSection, "cwindow", clWindow);
    cwindowtext = IniReadColor(ini, kSection, "cwindowtext", clWindowText);
    chighlight = IniReadColor(ini, kSection, "chighlight", clHighlight);
    chighlighttext = IniReadColor(ini, kSection, "chighlighttext", clHighlightText);
    cbtnhighlight = IniReadColor(ini, kSection, "cbtnhighlight", clBtnHighlight);
    cbtnshadow = IniReadColor(ini, kSection, "cbtnshadow", clBtnShadow);
}
