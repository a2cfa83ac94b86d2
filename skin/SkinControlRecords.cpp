#include "SkinControlRecords.h"

#include "SkinKeyTable.h"

namespace {

const SkinKeyTable<TbsDataSkinControl>& ControlKeys() {
    using R = TbsDataSkinControl;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("pictureindex", &R::pictureindex, -1)
                                  .Integer("maskpictureindex", &R::maskpictureindex, -1)
                                  .Rect("skinrect", &R::skinrect);
    return table;
}

const SkinKeyTable<TbsDataSkinCustomControl>& CustomControlKeys() {
    using R = TbsDataSkinCustomControl;
    static const auto table = SkinKeyTable<R>()
                                  .Point("lefttoppoint", &R::lefttoppoint)
                                  .Point("righttoppoint", &R::righttoppoint)
                                  .Point("leftbottompoint", &R::leftbottompoint)
                                  .Point("rightbottompoint", &R::rightbottompoint)
                                  .Rect("clientrect", &R::clientrect)
                                  .Boolean("leftstretch", &R::leftstretch)
                                  .Boolean("topstretch", &R::topstretch)
                                  .Boolean("rightstretch", &R::rightstretch)
                                  .Boolean("bottomstretch", &R::bottomstretch)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .StretchKind("stretchtype", &R::stretchtype);
    return table;
}

const SkinKeyTable<TbsDataSkinButtonControl>& ButtonControlKeys() {
    using R = TbsDataSkinButtonControl;
    static const auto table = SkinKeyTable<R>()
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("downfontcolor", &R::downfontcolor)
                                  .Colour("disabledfontcolor", &R::disabledfontcolor)
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Rect("downskinrect", &R::downskinrect)
                                  .Rect("focusedskinrect", &R::focusedskinrect)
                                  .Rect("disabledskinrect", &R::disabledskinrect)
                                  .Boolean("morphing", &R::morphing)
                                  .MorphKind("morphkind", &R::morphkind)
                                  .Rect("animateskinrect", &R::animateskinrect)
                                  .Integer("framecount", &R::framecount, 0)
                                  .Integer("animateinterval", &R::animateinterval, 25)
                                  .Boolean("showfocus", &R::showfocus)
                                  .Rect("menumarkerflatrect", &R::menumarkerflatrect)
                                  .Rect("menumarkerrect", &R::menumarkerrect)
                                  .Rect("menumarkeractiverect", &R::menumarkeractiverect)
                                  .Rect("menumarkerdownrect", &R::menumarkerdownrect)
                                  .Colour("menumarkertransparentcolor", &R::menumarkertransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinMenuButtonControl>& MenuButtonControlKeys() {
    using R = TbsDataSkinMenuButtonControl;
    static const auto table = SkinKeyTable<R>().Rect("trackbuttonrect", &R::trackbuttonrect);
    return table;
}

const SkinKeyTable<TbsDataSkinPanelControl>& PanelControlKeys() {
    using R = TbsDataSkinPanelControl;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("bgpictureindex", &R::bgpictureindex, -1)
                                  .Rect("captionrect", &R::captionrect)
                                  .Alignment("alignment", &R::alignment)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Rect("checkimagerect", &R::checkimagerect)
                                  .Rect("uncheckimagerect", &R::uncheckimagerect)
                                  .Rect("markframerect", &R::markframerect)
                                  .Rect("framerect", &R::framerect)
                                  .Rect("frametextrect", &R::frametextrect)
                                  .Integer("frameleftoffset", &R::frameleftoffset, 0)
                                  .Integer("framerightoffset", &R::framerightoffset, 0)
                                  .Rect("gripperrect", &R::gripperrect)
                                  .Boolean("grippertransparent", &R::grippertransparent)
                                  .Colour("grippertransparentcolor", &R::grippertransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinEditControl>& EditControlKeys() {
    using R = TbsDataSkinEditControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("disabledfontcolor", &R::disabledfontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Rect("buttonrect", &R::buttonrect)
                                  .Rect("activebuttonrect", &R::activebuttonrect)
                                  .Rect("downbuttonrect", &R::downbuttonrect)
                                  .Rect("unenabledbuttonrect", &R::unenabledbuttonrect);
    return table;
}

const SkinKeyTable<TbsDataSkinMemoControl>& MemoControlKeys() {
    using R = TbsDataSkinMemoControl;
    static const auto table =
        SkinKeyTable<R>().Colour("bgcolor", &R::bgcolor).Colour("activebgcolor", &R::activebgcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinComboBox>& ComboBoxKeys() {
    using R = TbsDataSkinComboBox;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Rect("itemrect", &R::itemrect)
                                  .Rect("activeitemrect", &R::activeitemrect)
                                  .Rect("focusitemrect", &R::focusitemrect)
                                  .Integer("itemleftoffset", &R::itemleftoffset, 0)
                                  .Integer("itemrightoffset", &R::itemrightoffset, 0)
                                  .Rect("itemtextrect", &R::itemtextrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("focusfontcolor", &R::focusfontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .String("listboxname", &R::listboxname)
                                  .Rect("buttonrect", &R::buttonrect)
                                  .Rect("activebuttonrect", &R::activebuttonrect)
                                  .Rect("downbuttonrect", &R::downbuttonrect)
                                  .Rect("unenabledbuttonrect", &R::unenabledbuttonrect)
                                  .Boolean("itemstretcheffect", &R::itemstretcheffect)
                                  .Boolean("focusitemstretcheffect", &R::focusitemstretcheffect)
                                  .Boolean("showfocus", &R::showfocus);
    return table;
}

const SkinKeyTable<TbsDataSkinListBox>& ListBoxKeys() {
    using R = TbsDataSkinListBox;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("itemrect", &R::itemrect)
                                  .Rect("activeitemrect", &R::activeitemrect)
                                  .Rect("focusitemrect", &R::focusitemrect)
                                  .Integer("itemleftoffset", &R::itemleftoffset, 0)
                                  .Integer("itemrightoffset", &R::itemrightoffset, 0)
                                  .Rect("itemtextrect", &R::itemtextrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("focusfontcolor", &R::focusfontcolor)
                                  .Rect("captionrect", &R::captionrect)
                                  .String("captionfontname", &R::captionfontname, "Arial")
                                  .Integer("captionfontheight", &R::captionfontheight, 14)
                                  .FontStyle("captionfontstyle", &R::captionfontstyle)
                                  .Colour("captionfontcolor", &R::captionfontcolor)
                                  .Rect("upbuttonrect", &R::upbuttonrect)
                                  .Rect("activeupbuttonrect", &R::activeupbuttonrect)
                                  .Rect("downupbuttonrect", &R::downupbuttonrect)
                                  .Rect("downbuttonrect", &R::downbuttonrect)
                                  .Rect("activedownbuttonrect", &R::activedownbuttonrect)
                                  .Rect("downdownbuttonrect", &R::downdownbuttonrect)
                                  .Rect("checkbuttonrect", &R::checkbuttonrect)
                                  .Rect("activecheckbuttonrect", &R::activecheckbuttonrect)
                                  .Rect("downcheckbuttonrect", &R::downcheckbuttonrect)
                                  .String("vscrollbarname", &R::vscrollbarname, "vscrollbar")
                                  .String("hscrollbarname", &R::hscrollbarname, "hscrollbar")
                                  .String("bothhscrollbarname", &R::bothhscrollbarname, "bothhscrollbar")
                                  .Boolean("showfocus", &R::showfocus);
    return table;
}

const SkinKeyTable<TbsDataSkinCheckListBox>& CheckListBoxKeys() {
    using R = TbsDataSkinCheckListBox;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("itemcheckrect", &R::itemcheckrect)
                                  .Rect("checkimagerect", &R::checkimagerect)
                                  .Rect("uncheckimagerect", &R::uncheckimagerect);
    return table;
}

const SkinKeyTable<TbsDataSkinListView>& ListViewKeys() {
    using R = TbsDataSkinListView;
    static const auto table = SkinKeyTable<R>()
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("bgcolor", &R::bgcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinScrollBarControl>& ScrollBarControlKeys() {
    using R = TbsDataSkinScrollBarControl;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("trackarea", &R::trackarea)
                                  .Rect("upbuttonrect", &R::upbuttonrect)
                                  .Rect("activeupbuttonrect", &R::activeupbuttonrect)
                                  .Rect("downupbuttonrect", &R::downupbuttonrect)
                                  .Rect("downbuttonrect", &R::downbuttonrect)
                                  .Rect("activedownbuttonrect", &R::activedownbuttonrect)
                                  .Rect("downdownbuttonrect", &R::downdownbuttonrect)
                                  .Rect("thumbrect", &R::thumbrect)
                                  .Rect("activethumbrect", &R::activethumbrect)
                                  .Rect("downthumbrect", &R::downthumbrect)
                                  .Integer("thumboffset1", &R::thumboffset1, 0)
                                  .Integer("thumboffset2", &R::thumboffset2, 0)
                                  .Boolean("thumbtransparent", &R::thumbtransparent)
                                  .Colour("thumbtransparentcolor", &R::thumbtransparentcolor)
                                  .Boolean("thumbstretcheffect", &R::thumbstretcheffect)
                                  .Integer("thumbminsize", &R::thumbminsize, 0)
                                  .Integer("thumbminpagesize", &R::thumbminpagesize, 0)
                                  .Rect("glyphrect", &R::glyphrect)
                                  .Rect("activeglyphrect", &R::activeglyphrect)
                                  .Rect("downglyphrect", &R::downglyphrect)
                                  .Boolean("glyphtransparent", &R::glyphtransparent)
                                  .Colour("glyphtransparentcolor", &R::glyphtransparentcolor);
    return table;
}

const SkinKeyTable<TbsDataSkinStdLabelControl>& StdLabelControlKeys() {
    using R = TbsDataSkinStdLabelControl;
    static const auto table = SkinKeyTable<R>()
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor, 0xFF0000);
    return table;
}

const SkinKeyTable<TbsDataSkinMainMenuBar>& MainMenuBarKeys() {
    using R = TbsDataSkinMainMenuBar;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("itemsrect", &R::itemsrect)
                                  .String("menubaritem", &R::menubaritem)
                                  .String("closebutton", &R::closebutton)
                                  .String("minbutton", &R::minbutton)
                                  .String("maxbutton", &R::maxbutton)
                                  .String("sysmenubutton", &R::sysmenubutton)
                                  .Colour("trackmarkcolor", &R::trackmarkcolor)
                                  .Colour("trackmarkactivecolor", &R::trackmarkactivecolor)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .Boolean("itemtransparent", &R::itemtransparent);
    return table;
}

}  // namespace

// ---- bases ----

void TbsDataSkinControl::ReadFromIni(const TMemIniFile& ini) { ControlKeys().Read(*this, ini, EntryName); }
void TbsDataSkinControl::WriteToIni(TMemIniFile& ini) const { WriteSection(*this, ini, EntryName, ControlKeys()); }
std::vector<SkinKeyInfo> TbsDataSkinControl::Keys() { return KeysOf(ControlKeys()); }

void TbsDataSkinCustomControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinControl>(*this, ini, CustomControlKeys());
}
void TbsDataSkinCustomControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, CustomControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinCustomControl::Keys() {
    return KeysAfter<TbsDataSkinControl>(CustomControlKeys());
}

SkinComposition TbsDataSkinCustomControl::CompositionKind() const {
    if (IsRectEmpty(skinrect)) return SkinComposition::None;
    if (rightbottompoint.X != 0 && rightbottompoint.Y != 0) return SkinComposition::Frame;
    if (righttoppoint.X != 0 || righttoppoint.Y != 0) return SkinComposition::Row;
    if (leftbottompoint.X != 0 || leftbottompoint.Y != 0) return SkinComposition::Column;
    return SkinComposition::Fixed;
}

// ---- buttons ----

void TbsDataSkinButtonControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ButtonControlKeys());
}
void TbsDataSkinButtonControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ButtonControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinButtonControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(ButtonControlKeys());
}

void TbsDataSkinMenuButtonControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinButtonControl>(*this, ini, MenuButtonControlKeys());
}
void TbsDataSkinMenuButtonControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinButtonControl>(*this, ini, MenuButtonControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinMenuButtonControl::Keys() {
    return KeysAfter<TbsDataSkinButtonControl>(MenuButtonControlKeys());
}

// ---- panel ----

void TbsDataSkinPanelControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, PanelControlKeys());
}
void TbsDataSkinPanelControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, PanelControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinPanelControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(PanelControlKeys());
}

// ---- edit and memo ----

void TbsDataSkinEditControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, EditControlKeys());
}
void TbsDataSkinEditControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, EditControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinEditControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(EditControlKeys());
}

void TbsDataSkinMemoControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinEditControl>(*this, ini, MemoControlKeys());
}
void TbsDataSkinMemoControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinEditControl>(*this, ini, MemoControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinMemoControl::Keys() {
    return KeysAfter<TbsDataSkinEditControl>(MemoControlKeys());
}

// ---- combo box and list boxes ----

void TbsDataSkinComboBox::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ComboBoxKeys());
}
void TbsDataSkinComboBox::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ComboBoxKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinComboBox::Keys() { return KeysAfter<TbsDataSkinCustomControl>(ComboBoxKeys()); }

void TbsDataSkinListBox::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ListBoxKeys());
}
void TbsDataSkinListBox::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ListBoxKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinListBox::Keys() { return KeysAfter<TbsDataSkinCustomControl>(ListBoxKeys()); }

void TbsDataSkinCheckListBox::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinListBox>(*this, ini, CheckListBoxKeys());
}
void TbsDataSkinCheckListBox::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinListBox>(*this, ini, CheckListBoxKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinCheckListBox::Keys() {
    return KeysAfter<TbsDataSkinListBox>(CheckListBoxKeys());
}

// ---- list view, scroll bar, label, main menu bar ----

void TbsDataSkinListView::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinControl>(*this, ini, ListViewKeys());
}
void TbsDataSkinListView::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, ListViewKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinListView::Keys() { return KeysAfter<TbsDataSkinControl>(ListViewKeys()); }

void TbsDataSkinScrollBarControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinCustomControl>(*this, ini, ScrollBarControlKeys());
}
void TbsDataSkinScrollBarControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinCustomControl>(*this, ini, ScrollBarControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinScrollBarControl::Keys() {
    return KeysAfter<TbsDataSkinCustomControl>(ScrollBarControlKeys());
}

void TbsDataSkinStdLabelControl::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinControl>(*this, ini, StdLabelControlKeys());
}
void TbsDataSkinStdLabelControl::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, StdLabelControlKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinStdLabelControl::Keys() {
    return KeysAfter<TbsDataSkinControl>(StdLabelControlKeys());
}

void TbsDataSkinMainMenuBar::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinControl>(*this, ini, MainMenuBarKeys());
}
void TbsDataSkinMainMenuBar::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinControl>(*this, ini, MainMenuBarKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinMainMenuBar::Keys() { return KeysAfter<TbsDataSkinControl>(MainMenuBarKeys()); }
