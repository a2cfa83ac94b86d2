#include "SkinLabelText.h"

#include "SkinControlGeometry.h"
#include "TbsSkinData.h"

int BindSkinLabelRecord(const TbsSkinData* skin, const AnsiString& name, SkinLabelFontKeys& keys) {
    keys.bound = false;
    if (!skin || skin->IsEmpty()) return -1;
    const int index = skin->FindControlIndex(name);
    if (index < 0) return -1;
    if (const auto* r = dynamic_cast<const TbsDataSkinStdLabelControl*>(SkinControlRecordAt(skin, index))) {
        keys.bound = true;
        keys.fontname = r->fontname;
        keys.fontheight = r->fontheight;
        keys.fontstyle = r->fontstyle;
        keys.fontcolor = r->fontcolor;
    }
    return index;
}

void ChooseSkinLabelFont(TFont& out, const SkinLabelFontKeys& keys, bool useSkinFont, bool useSkinColor,
                         const TFont& defaultFont, const TFont& font, const TbsSkinData* skin) {
    if (!keys.bound) {
        out.Assign(useSkinFont ? defaultFont : font);
    } else {
        out.Assign(font);
        if (useSkinFont) {
            out.SetName(keys.fontname);
            out.SetStyle(keys.fontstyle);
            out.SetHeight(keys.fontheight);
        }
        if (useSkinColor) out.SetColor(keys.fontcolor);
    }
    if (skin && skin->ResourceStrData()) out.SetCharset(skin->ResourceStrData()->CharSet());
    else out.SetCharset(defaultFont.Charset());
}

void DrawSkinLabelText(TCanvas& c, const AnsiString& text, TRect& rect, unsigned flags, bool enabled,
                       const TbsSkinData* skin) {
    c.Brush.Style = bsClear;
    if (enabled || (flags & DT_CALCRECT)) {
        c.DrawText(text, rect, flags);
        return;
    }
    const bool skinned = skin && !skin->IsEmpty();
    const TColor normal = c.Font.Color();
    TRect shifted = OffsetRect(rect, 1, 1);
    c.Font.SetColor(skinned ? skin->SkinColors().cbtnhighlight : clBtnHighlight);
    c.DrawText(text, shifted, flags);
    c.Font.SetColor(skinned ? skin->SkinColors().cbtnshadow : clBtnShadow);
    c.DrawText(text, rect, flags);
    c.Font.SetColor(normal);
}
