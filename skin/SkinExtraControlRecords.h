#pragma once
// The control records of the skin format that no control of this program
// reads. They load like all others, so a skin made for a richer set of
// controls loads completely and writes back unchanged.

#include "SkinControlRecords.h"

// Kind "label".
class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;

    friend bool operator==(const TbsDataSkinLabelControl&, const TbsDataSkinLabelControl&) = default;
};

// Kind "checkradio": check boxes and radio buttons.
class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    TColor unenabledfontcolor = 0;
    TColor framefontcolor = 0;
    TRect activeskinrect;
    TRect checkimagearea;
    TRect textarea;
    TRect checkimagerect;
    TRect uncheckimagerect;
    TRect activecheckimagerect;
    TRect activeuncheckimagerect;
    TRect unenabledcheckimagerect;
    TRect unenableduncheckimagerect;
    TRect grayedcheckimagerect;
    TRect activegrayedcheckimagerect;
    bool morphing = false;
    SkinMorphKind morphkind = SkinMorphKind::Default;

    friend bool operator==(const TbsDataSkinCheckRadioControl&, const TbsDataSkinCheckRadioControl&) = default;
};

// Kind "updown". Its image is always `skinrect` at its own size: after
// reading, the corner points and `clientrect` are cleared whatever the
// section says.
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;

    friend bool operator==(const TbsDataSkinUpDownControl&, const TbsDataSkinUpDownControl&) = default;
};

// Kind "expanel": a panel that rolls up horizontally or vertically.
class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect rollhskinrect;
    TRect rollvskinrect;
    int rollleftoffset = 0;
    int rollrightoffset = 0;
    int rolltopoffset = 0;
    int rollbottomoffset = 0;
    TRect rollvcaptionrect;
    TRect rollhcaptionrect;
    TRect closebuttonrect;
    TRect closebuttonactiverect;
    TRect closebuttondownrect;
    TRect hrollbuttonrect;
    TRect hrollbuttonactiverect;
    TRect hrollbuttondownrect;
    TRect hrestorebuttonrect;
    TRect hrestorebuttonactiverect;
    TRect hrestorebuttondownrect;
    TRect vrollbuttonrect;
    TRect vrollbuttonactiverect;
    TRect vrollbuttondownrect;
    TRect vrestorebuttonrect;
    TRect vrestorebuttonactiverect;
    TRect vrestorebuttondownrect;
    TRect captionrect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    bool buttonstransparent = false;
    TColor buttonstransparentcolor = 0;

    friend bool operator==(const TbsDataSkinExPanelControl&, const TbsDataSkinExPanelControl&) = default;
};

// Kind "gauge": progress bars.
class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect progressarea;
    TRect progressrect;
    int beginoffset = 0;
    int endoffset = 0;
    bool vertical = false;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    bool progresstransparent = false;
    TColor progresstransparentcolor = 0;
    bool progressstretch = false;
    TRect animationskinrect;
    int animationcountframes = 0;
    int animationtimerinterval = 0;
    TRect progressanimationskinrect;
    int progressanimationcountframes = 0;
    int progressanimationtimerinterval = 0;
    int animationbeginoffset = 0;
    int animationendoffset = 0;

    friend bool operator==(const TbsDataSkinGaugeControl&, const TbsDataSkinGaugeControl&) = default;
};

// Kind "splitter".
class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect gripperrect;
    bool grippertransparent = false;
    TColor grippertransparentcolor = 0;

    friend bool operator==(const TbsDataSkinSplitterControl&, const TbsDataSkinSplitterControl&) = default;
};

// Kind "trackbar".
class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect activeskinrect;
    TRect trackarea;
    TRect buttonrect;
    TRect activebuttonrect;
    bool vertical = false;
    bool buttontransparent = false;
    TColor buttontransparentcolor = 0;

    friend bool operator==(const TbsDataSkinTrackBarControl&, const TbsDataSkinTrackBarControl&) = default;
};

// Kind "grid".
class TbsDataSkinGridControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect fixedcellrect;
    TRect selectcellrect;
    TRect focuscellrect;
    int fixedcellleftoffset = 0;
    int fixedcellrightoffset = 0;
    TRect fixedcelltextrect;
    int cellleftoffset = 0;
    int cellrightoffset = 0;
    TRect celltextrect;
    int bgpictureindex = -1;
    TColor linescolor = 0;
    TColor bgcolor = 0;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor selectfontcolor = 0;
    TColor focusfontcolor = 0;
    AnsiString fixedfontname = "Arial";
    int fixedfontheight = 14;
    TFontStyles fixedfontstyle = 0;
    TColor fixedfontcolor = 0;
    bool cellstretcheffect = false;
    bool fixedcellstretcheffect = false;
    bool showfocus = false;

    friend bool operator==(const TbsDataSkinGridControl&, const TbsDataSkinGridControl&) = default;
};

// Kind "tab": a tab control, with geometry keys of its own.
class TbsDataSkinTabControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect tabrect;
    TRect activetabrect;
    TRect focustabrect;
    TRect mouseintabrect;
    TRect clientrect;
    int bgpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    int tableftoffset = 0;
    int tabrightoffset = 0;
    TRect tabsbgrect;
    bool tabstretcheffect = false;
    bool leftstretch = false;
    bool topstretch = false;
    bool rightstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;
    SkinStretchKind stretchtype = SkinStretchKind::Full;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    TColor focusfontcolor = 0;
    TColor mouseinfontcolor = 0;
    AnsiString updown;  // name of an up-down record
    bool showfocus = false;
    int focusoffsetx = 0;
    int focusoffsety = 0;
    TRect closebuttonrect;
    TRect closebuttonactiverect;
    TRect closebuttondownrect;
    bool buttontransparent = false;
    TColor buttontransparentcolor = 0;

    friend bool operator==(const TbsDataSkinTabControl&, const TbsDataSkinTabControl&) = default;
};

// Kind "controlbar".
class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect itemrect;
    int bgpictureindex = -1;
    TRect hgriprect;
    TRect vgriprect;
    int gripoffset1 = 0;
    int gripoffset2 = 0;
    bool itemstretcheffect = false;
    int itemoffset1 = 3;
    int itemoffset2 = 3;
    bool itemtransparent = false;
    TColor itemtransparentcolor = 0;
    bool griptransparent = false;
    TColor griptransparentcolor = 0;

    friend bool operator==(const TbsDataSkinControlBar&, const TbsDataSkinControlBar&) = default;
};

// Kind "spinedit".
class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect activeskinrect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    TColor disabledfontcolor = 0;
    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;

    friend bool operator==(const TbsDataSkinSpinEditControl&, const TbsDataSkinSpinEditControl&) = default;
};

// Kind "scrollbox".
class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    int bgpictureindex = -1;

    friend bool operator==(const TbsDataSkinScrollBoxControl&, const TbsDataSkinScrollBoxControl&) = default;
};

// Kind "treeview".
class TbsDataSkinTreeView : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor bgcolor = 0;

    friend bool operator==(const TbsDataSkinTreeView&, const TbsDataSkinTreeView&) = default;
};

// Kind "richedit".
class TbsDataSkinRichEdit : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor bgcolor = 0;

    friend bool operator==(const TbsDataSkinRichEdit&, const TbsDataSkinRichEdit&) = default;
};

// Kind "bevel".
class TbsDataSkinBevel : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TColor lightcolor = 0;
    TColor darkcolor = 0;

    friend bool operator==(const TbsDataSkinBevel&, const TbsDataSkinBevel&) = default;
};

// Kind "slider".
class TbsDataSkinSlider : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TColor bgcolor = 0;
    TRect hrulerrect;
    TRect hthumbrect;
    TRect vrulerrect;
    TRect vthumbrect;
    int edgesize = 0;
    TColor pointscolor = 0;

    friend bool operator==(const TbsDataSkinSlider&, const TbsDataSkinSlider&) = default;
};
