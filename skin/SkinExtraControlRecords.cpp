#include "SkinExtraControlRecords.h"

#include "SkinKeyTable.h"

namespace {

const SkinKeyTable<TbsDataSkinLabelControl>& LabelControlKeys() {
    using R = TbsDataSkinLabelControl;
    static const auto table =
        SkinKeyTable<R>().Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinCheckRadioControl>& CheckRadioControlKeys() {
    using R = TbsDataSkinCheckRadioControl;
    static const auto table = SkinKeyTable<R>()
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("unenabledfontcolor", &R::unenabledfontcolor)
                                  .Colour("framefontcolor", &R::framefontcolor)
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Rect("checkimagearea", &R::checkimagearea)
                                  .Rect("textarea", &R::textarea)
                                  .Rect("checkimagerect", &R::checkimagerect)
                                  .Rect("uncheckimagerect", &R::uncheckimagerect)
                                  .Rect("activecheckimagerect", &R::activecheckimagerect)
                                  .Rect("activeuncheckimagerect", &R::activeuncheckimagerect)
                                  .Rect("unenabledcheckimagerect", &R::unenabledcheckimagerect)
                                  .Rect("unenableduncheckimagerect", &R::unenableduncheckimagerect)
                                  .Rect("grayedcheckimagerect", &R::grayedcheckimagerect)
                                  .Rect("activegrayedcheckimagerect", &R::activegrayedcheckimagerect)
                                  .Boolean("morphing", &R::morphing)
                                  .MorphKind("morphkind", &R::morphkind);
    return table;
}

const SkinKeyTable<TbsDataSkinUpDownControl>& UpDownControlKeys() {
    using R = TbsDataSkinUpDownControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("upbuttonrect", &R::upbuttonrect)
                                  .Rect("activeupbuttonrect", &R::activeupbuttonrect)
                                  .Rect("downupbuttonrect", &R::downupbuttonrect)
                                  .Rect("downbuttonrect", &R::downbuttonrect)
                                  .Rect("activedownbuttonrect", &R::activedownbuttonrect)
                                  .Rect("downdownbuttonrect", &R::downdownbuttonrect);
    return table;
}

const SkinKeyTable<TbsDataSkinExPanelControl>& ExPanelControlKeys() {
    using R = TbsDataSkinExPanelControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("rollhskinrect", &R::rollhskinrect)
                                  .Rect("rollvskinrect", &R::rollvskinrect)
                                  .Integer("rollleftoffset", &R::rollleftoffset, 0)
                                  .Integer("rollrightoffset", &R::rollrightoffset, 0)
                                  .Integer("rolltopoffset", &R::rolltopoffset, 0)
                                  .Integer("rollbottomoffset", &R::rollbottomoffset, 0)
                                  .Rect("rollvcaptionrect", &R::rollvcaptionrect)
                                  .Rect("rollhcaptionrect", &R::rollhcaptionrect)
                                  .Rect("closebuttonrect", &R::closebuttonrect)
                                  .Rect("closebuttonactiverect", &R::closebuttonactiverect)
                                  .Rect("closebuttondownrect", &R::closebuttondownrect)
                                  .Rect("hrollbuttonrect", &R::hrollbuttonrect)
                                  .Rect("hrollbuttonactiverect", &R::hrollbuttonactiverect)
                                  .Rect("hrollbuttondownrect", &R::hrollbuttondownrect)
                                  .Rect("hrestorebuttonrect", &R::hrestorebuttonrect)
                                  .Rect("hrestorebuttonactiverect", &R::hrestorebuttonactiverect)
                                  .Rect("hrestorebuttondownrect", &R::hrestorebuttondownrect)
                                  .Rect("vrollbuttonrect", &R::vrollbuttonrect)
                                  .Rect("vrollbuttonactiverect", &R::vrollbuttonactiverect)
                                  .Rect("vrollbuttondownrect", &R::vrollbuttondownrect)
                                  .Rect("vrestorebuttonrect", &R::vrestorebuttonrect)
                                  .Rect("vrestorebuttonactiverect", &R::vrestorebuttonactiverect)
                                  .Rect("vrestorebuttondownrect", &R::vrestorebuttondownrect)
                                  .Rect("captionrect", &R::captionrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Boolean("buttonstransparent", &R::buttonstransparent)
                                  .Colour("buttonstransparentcolor", &R::buttonstransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinGaugeControl>& GaugeControlKeys() {
    using R = TbsDataSkinGaugeControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("progressarea", &R::progressarea)
                                  .Rect("progressrect", &R::progressrect)
                                  .Integer("beginoffset", &R::beginoffset, 0)
                                  .Integer("endoffset", &R::endoffset, 0)
                                  .Boolean("vertical", &R::vertical)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Boolean("progresstransparent", &R::progresstransparent)
                                  .Colour("progresstransparentcolor", &R::progresstransparentcolor)
                                  .Boolean("progressstretch", &R::progressstretch)
                                  .Rect("animationskinrect", &R::animationskinrect)
                                  .Integer("animationcountframes", &R::animationcountframes, 0)
                                  .Integer("animationtimerinterval", &R::animationtimerinterval, 0)
                                  .Rect("progressanimationskinrect", &R::progressanimationskinrect)
                                  .Integer("progressanimationcountframes", &R::progressanimationcountframes, 0)
                                  .Integer("progressanimationtimerinterval", &R::progressanimationtimerinterval, 0)
                                  .Integer("animationbeginoffset", &R::animationbeginoffset, 0)
                                  .Integer("animationendoffset", &R::animationendoffset, 0);
    return table;
}

const SkinKeyTable<TbsDataSkinSplitterControl>& SplitterControlKeys() {
    using R = TbsDataSkinSplitterControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("gripperrect", &R::gripperrect)
                                  .Boolean("grippertransparent", &R::grippertransparent)
                                  .Colour("grippertransparentcolor", &R::grippertransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinTrackBarControl>& TrackBarControlKeys() {
    using R = TbsDataSkinTrackBarControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Rect("trackarea", &R::trackarea)
                                  .Rect("buttonrect", &R::buttonrect)
                                  .Rect("activebuttonrect", &R::activebuttonrect)
                                  .Boolean("vertical", &R::vertical)
                                  .Boolean("buttontransparent", &R::buttontransparent)
                                  .Colour("buttontransparentcolor", &R::buttontransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinGridControl>& GridControlKeys() {
    using R = TbsDataSkinGridControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("fixedcellrect", &R::fixedcellrect)
                                  .Rect("selectcellrect", &R::selectcellrect)
                                  .Rect("focuscellrect", &R::focuscellrect)
                                  .Integer("fixedcellleftoffset", &R::fixedcellleftoffset, 0)
                                  .Integer("fixedcellrightoffset", &R::fixedcellrightoffset, 0)
                                  .Rect("fixedcelltextrect", &R::fixedcelltextrect)
                                  .Integer("cellleftoffset", &R::cellleftoffset, 0)
                                  .Integer("cellrightoffset", &R::cellrightoffset, 0)
                                  .Rect("celltextrect", &R::celltextrect)
                                  .Integer("bgpictureindex", &R::bgpictureindex, -1)
                                  .Colour("linescolor", &R::linescolor)
                                  .Colour("bgcolor", &R::bgcolor)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("selectfontcolor", &R::selectfontcolor)
                                  .Colour("focusfontcolor", &R::focusfontcolor)
                                  .String("fixedfontname", &R::fixedfontname, "Arial")
                                  .Integer("fixedfontheight", &R::fixedfontheight, 14)
                                  .FontStyle("fixedfontstyle", &R::fixedfontstyle)
                                  .Colour("fixedfontcolor", &R::fixedfontcolor)
                                  .Boolean("cellstretcheffect", &R::cellstretcheffect)
                                  .Boolean("fixedcellstretcheffect", &R::fixedcellstretcheffect)
                                  .Boolean("showfocus", &R::showfocus);
    return table;
}

const SkinKeyTable<TbsDataSkinTabControl>& TabControlKeys() {
    using R = TbsDataSkinTabControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("tabrect", &R::tabrect)
                                  .Rect("activetabrect", &R::activetabrect)
                                  .Rect("focustabrect", &R::focustabrect)
                                  .Rect("mouseintabrect", &R::mouseintabrect)
                                  .Rect("clientrect", &R::clientrect)
                                  .Integer("bgpictureindex", &R::bgpictureindex, -1)
                                  .Point("lefttoppoint", &R::lefttoppoint)
                                  .Point("righttoppoint", &R::righttoppoint)
                                  .Point("leftbottompoint", &R::leftbottompoint)
                                  .Point("rightbottompoint", &R::rightbottompoint)
                                  .Integer("tableftoffset", &R::tableftoffset, 0)
                                  .Integer("tabrightoffset", &R::tabrightoffset, 0)
                                  .Rect("tabsbgrect", &R::tabsbgrect)
                                  .Boolean("tabstretcheffect", &R::tabstretcheffect)
                                  .Boolean("leftstretch", &R::leftstretch)
                                  .Boolean("topstretch", &R::topstretch)
                                  .Boolean("rightstretch", &R::rightstretch)
                                  .Boolean("bottomstretch", &R::bottomstretch)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .StretchKind("stretchtype", &R::stretchtype)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("focusfontcolor", &R::focusfontcolor)
                                  .Colour("mouseinfontcolor", &R::mouseinfontcolor)
                                  .String("updown", &R::updown)
                                  .Boolean("showfocus", &R::showfocus)
                                  .Integer("focusoffsetx", &R::focusoffsetx, 0)
                                  .Integer("focusoffsety", &R::focusoffsety, 0)
                                  .Rect("closebuttonrect", &R::closebuttonrect)
                                  .Rect("closebuttonactiverect", &R::closebuttonactiverect)
                                  .Rect("closebuttondownrect", &R::closebuttondownrect)
                                  .Boolean("buttontransparent", &R::buttontransparent)
                                  .Colour("buttontransparentcolor", &R::buttontransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinControlBar>& ControlBarKeys() {
    using R = TbsDataSkinControlBar;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("itemrect", &R::itemrect)
                                  .Integer("bgpictureindex", &R::bgpictureindex, -1)
                                  .Rect("hgriprect", &R::hgriprect)
                                  .Rect("vgriprect", &R::vgriprect)
                                  .Integer("gripoffset1", &R::gripoffset1, 0)
                                  .Integer("gripoffset2", &R::gripoffset2, 0)
                                  .Boolean("itemstretcheffect", &R::itemstretcheffect)
                                  .Integer("itemoffset1", &R::itemoffset1, 3)
                                  .Integer("itemoffset2", &R::itemoffset2, 3)
                                  .Boolean("itemtransparent", &R::itemtransparent)
                                  .Colour("itemtransparentcolor", &R::itemtransparentcolor)
                                  .Boolean("griptransparent", &R::griptransparent)
                                  .Colour("griptransparentcolor", &R::griptransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinSpinEditControl>& SpinEditControlKeys() {
    using R = TbsDataSkinSpinEditControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("disabledfontcolor", &R::disabledfontcolor)
                                  .Rect("upbuttonrect", &R::upbuttonrect)
                                  .Rect("activeupbuttonrect", &R::activeupbuttonrect)
                                  .Rect("downupbuttonrect", &R::downupbuttonrect)
                                  .Rect("downbuttonrect", &R::downbuttonrect)
                                  .Rect("activedownbuttonrect", &R::activedownbuttonrect)
                                  .Rect("downdownbuttonrect", &R::downdownbuttonrect);
    return table;
}

const SkinKeyTable<TbsDataSkinScrollBoxControl>& ScrollBoxControlKeys() {
    using R = TbsDataSkinScrollBoxControl;
    static const auto table = SkinKeyTable<R>().Integer("bgpictureindex", &R::bgpictureindex, -1);
    return table;
}

const SkinKeyTable<TbsDataSkinTreeView>& TreeViewKeys() {
    using R = TbsDataSkinTreeView;
    static const auto table = SkinKeyTable<R>()
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("bgcolor", &R::bgcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinRichEdit>& RichEditKeys() {
    using R = TbsDataSkinRichEdit;
    static const auto table = SkinKeyTable<R>()
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("bgcolor", &R::bgcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinBevel>& BevelKeys() {
    using R = TbsDataSkinBevel;
    static const auto table = SkinKeyTable<R>().Colour("lightcolor", &R::lightcolor).Colour("darkcolor", &R::darkcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinSlider>& SliderKeys() {
    using R = TbsDataSkinSlider;
    static const auto table = SkinKeyTable<R>()
                                  .Colour("bgcolor", &R::bgcolor)
                                  .Rect("hrulerrect", &R::hrulerrect)
                                  .Rect("hthumbrect", &R::hthumbrect)
                                  .Rect("vrulerrect", &R::vrulerrect)
                                  .Rect("vthumbrect", &R::vthumbrect)
                                  .Integer("edgesize", &R::edgesize, 0)
                                  .Colour("pointscolor", &R::pointscolor);
    return table;
}

}  // namespace

// ---- custom controls ----

void TbsDataSkinLabelControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, LabelControlKeys());
}
void TbsDataSkinLabelControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, LabelControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinLabelControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(LabelControlKeys());
}

void TbsDataSkinCheckRadioControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, CheckRadioControlKeys());
}
void TbsDataSkinCheckRadioControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, CheckRadioControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinCheckRadioControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(CheckRadioControlKeys());
}

void TbsDataSkinUpDownControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, UpDownControlKeys());
    // The buttons are drawn at the size of their images: never composed.
    lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = TPoint{};
    clientrect = TRect{};
}
void TbsDataSkinUpDownControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, UpDownControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinUpDownControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(UpDownControlKeys());
}

void TbsDataSkinExPanelControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ExPanelControlKeys());
}
void TbsDataSkinExPanelControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ExPanelControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinExPanelControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(ExPanelControlKeys());
}

void TbsDataSkinGaugeControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, GaugeControlKeys());
}
void TbsDataSkinGaugeControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, GaugeControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinGaugeControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(GaugeControlKeys());
}

void TbsDataSkinSplitterControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, SplitterControlKeys());
}
void TbsDataSkinSplitterControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, SplitterControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinSplitterControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(SplitterControlKeys());
}

void TbsDataSkinTrackBarControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, TrackBarControlKeys());
}
void TbsDataSkinTrackBarControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, TrackBarControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinTrackBarControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(TrackBarControlKeys());
}

void TbsDataSkinControlBar::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ControlBarKeys());
}
void TbsDataSkinControlBar::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ControlBarKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinControlBar::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(ControlBarKeys());
}

void TbsDataSkinSpinEditControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, SpinEditControlKeys());
}
void TbsDataSkinSpinEditControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, SpinEditControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinSpinEditControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(SpinEditControlKeys());
}

void TbsDataSkinScrollBoxControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ScrollBoxControlKeys());
}
void TbsDataSkinScrollBoxControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ScrollBoxControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinScrollBoxControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(ScrollBoxControlKeys());
}

// ---- plain controls ----

void TbsDataSkinGridControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinControl>(*this, ini, GridControlKeys());
}
void TbsDataSkinGridControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, GridControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinGridControl::Keys() { return KeysAfter<TbsDataSkinControl>(GridControlKeys()); }

void TbsDataSkinTabControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinControl>(*this, ini, TabControlKeys());
}
void TbsDataSkinTabControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, TabControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinTabControl::Keys() { return KeysAfter<TbsDataSkinControl>(TabControlKeys()); }

void TbsDataSkinTreeView::ReadFromIni(const TMemIniFile& ini) { ReadAfter<TbsDataSkinControl>(*this, ini, TreeViewKeys()); }
void TbsDataSkinTreeView::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, TreeViewKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinTreeView::Keys() { return KeysAfter<TbsDataSkinControl>(TreeViewKeys()); }

void TbsDataSkinRichEdit::ReadFromIni(const TMemIniFile& ini) { ReadAfter<TbsDataSkinControl>(*this, ini, RichEditKeys()); }
void TbsDataSkinRichEdit::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, RichEditKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinRichEdit::Keys() { return KeysAfter<TbsDataSkinControl>(RichEditKeys()); }

void TbsDataSkinBevel::ReadFromIni(const TMemIniFile& ini) { ReadAfter<TbsDataSkinControl>(*this, ini, BevelKeys()); }
void TbsDataSkinBevel::WriteToIni(TMemIniFile& ini) const { WriteAfter<TbsDataSkinControl>(*this, ini, BevelKeys()); }
std::vector<SkinKeyInfo> TbsDataSkinBevel::Keys() { return KeysAfter<TbsDataSkinControl>(BevelKeys()); }

void TbsDataSkinSlider::ReadFromIni(const TMemIniFile& ini) { ReadAfter<TbsDataSkinControl>(*this, ini, SliderKeys()); }
void TbsDataSkinSlider::WriteToIni(TMemIniFile& ini) const { WriteAfter<TbsDataSkinControl>(*this, ini, SliderKeys()); }
std::vector<SkinKeyInfo> TbsDataSkinSlider::Keys() { return KeysAfter<TbsDataSkinControl>(SliderKeys()); }
