#include "SkinObjectRecords.h"

#include "SkinKeyTable.h"

namespace {

const SkinKeyTable<TbsDataSkinObject>& ObjectKeys() {
    using R = TbsDataSkinObject;
    static const auto table = SkinKeyTable<R>()
                                  .String("hint", &R::hint)
                                  .Integer("activepictureindex", &R::activepictureindex, -1)
                                  .Boolean("skinrectinapicture", &R::skinrectinapicture)
                                  .Rect("skinrect", &R::skinrect)
                                  .Rect("activeskinrect", &R::activeskinrect)
                                  .Rect("inactiveskinrect", &R::inactiveskinrect)
                                  .Boolean("morphing", &R::morphing)
                                  .MorphKind("morphkind", &R::morphkind);
    return table;
}

const SkinKeyTable<TbsDataUserObject>& UserObjectKeys() {
    using R = TbsDataUserObject;
    static const auto table = SkinKeyTable<R>().Rect("skinrect", &R::skinrect);
    return table;
}

const SkinKeyTable<TbsDataSkinButton>& ButtonKeys() {
    using R = TbsDataSkinButton;
    static const auto table =
        SkinKeyTable<R>().Rect("downrect", &R::downrect).Rect("disableskinrsect", &R::disableskinrsect);
    return table;
}

const SkinKeyTable<TbsDataSkinStdButton>& StdButtonKeys() {
    using R = TbsDataSkinStdButton;
    static const auto table = SkinKeyTable<R>()
                                  .Command("command", &R::command)
                                  .Rect("restorerect", &R::restorerect)
                                  .Rect("restoreactiverect", &R::restoreactiverect)
                                  .Rect("restoredownrect", &R::restoredownrect)
                                  .Rect("restoreinactiverect", &R::restoreinactiverect);
    return table;
}

const SkinKeyTable<TbsDataSkinAnimate>& AnimateKeys() {
    using R = TbsDataSkinAnimate;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("countframes", &R::countframes, 1)
                                  .Boolean("cycle", &R::cycle)
                                  .Boolean("buttonstyle", &R::buttonstyle)
                                  .Integer("timerinterval", &R::timerinterval, 50)
                                  .Command("command", &R::command)
                                  .Rect("downskinrect", &R::downskinrect)
                                  .Rect("restorerect", &R::restorerect)
                                  .Rect("restoreactiverect", &R::restoreactiverect)
                                  .Rect("restoredownrect", &R::restoredownrect)
                                  .Rect("restoreinactiverect", &R::restoreinactiverect);
    return table;
}

const SkinKeyTable<TbsDataSkinMenuItem>& MenuItemKeys() {
    using R = TbsDataSkinMenuItem;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("itemleftoffset", &R::itemleftoffset, 0)
                                  .Integer("itemrightoffset", &R::itemrightoffset, 0)
                                  .Rect("dividerrect", &R::dividerrect)
                                  .Integer("dividerleftoffset", &R::dividerleftoffset, 0)
                                  .Integer("dividerrightoffset", &R::dividerrightoffset, 0)
                                  .Rect("textrect", &R::textrect)
                                  .Rect("imagerect", &R::imagerect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("unenabledfontcolor", &R::unenabledfontcolor)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .Boolean("inactivestretcheffect", &R::inactivestretcheffect)
                                  .Boolean("dividerstretcheffect", &R::dividerstretcheffect)
                                  .Rect("animateskinrect", &R::animateskinrect)
                                  .Integer("framecount", &R::framecount, 0)
                                  .Integer("animateinterval", &R::animateinterval, 25)
                                  .Boolean("inactiveanimation", &R::inactiveanimation)
                                  .Boolean("useimagecolor", &R::useimagecolor)
                                  .Colour("imagecolor", &R::imagecolor)
                                  .Colour("activeimagecolor", &R::activeimagecolor)
                                  .Boolean("inactivetransparent", &R::inactivetransparent)
                                  .Rect("checkimagerect", &R::checkimagerect)
                                  .Rect("activecheckimagerect", &R::activecheckimagerect)
                                  .Rect("radioimagerect", &R::radioimagerect)
                                  .Rect("activeradioimagerect", &R::activeradioimagerect)
                                  .Rect("arrowimagerect", &R::arrowimagerect)
                                  .Rect("activearrowimagerect", &R::activearrowimagerect);
    return table;
}

const SkinKeyTable<TbsDataSkinMainMenuItem>& MainMenuItemKeys() {
    using R = TbsDataSkinMainMenuItem;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("itemleftoffset", &R::itemleftoffset, 0)
                                  .Integer("itemrightoffset", &R::itemrightoffset, 0)
                                  .Rect("downrect", &R::downrect)
                                  .Rect("textrect", &R::textrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Colour("downfontcolor", &R::downfontcolor)
                                  .Colour("unenabledfontColor", &R::unenabledfontColor)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .Rect("animateskinrect", &R::animateskinrect)
                                  .Integer("framecount", &R::framecount, 0)
                                  .Integer("animateinterval", &R::animateinterval, 25)
                                  .Boolean("inactiveanimation", &R::inactiveanimation);
    return table;
}

const SkinKeyTable<TbsDataSkinCaption>& CaptionKeys() {
    using R = TbsDataSkinCaption;
    static const auto table = SkinKeyTable<R>()
                                  .Rect("textrect", &R::textrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Colour("activefontcolor", &R::activefontcolor)
                                  .Alignment("alignment", &R::alignment)
                                  .Boolean("light", &R::light)
                                  .Colour("lightcolor", &R::lightcolor)
                                  .Colour("activelightcolor", &R::activelightcolor)
                                  .Boolean("shadow", &R::shadow)
                                  .Colour("shadowcolor", &R::shadowcolor)
                                  .Colour("activeshadowcolor", &R::activeshadowcolor)
                                  .Rect("framerect", &R::framerect)
                                  .Rect("activeframerect", &R::activeframerect)
                                  .Rect("frametextrect", &R::frametextrect)
                                  .Integer("frameleftoffset", &R::frameleftoffset, 0)
                                  .Integer("framerightoffset", &R::framerightoffset, 0)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .Rect("animateskinrect", &R::animateskinrect)
                                  .Integer("framecount", &R::framecount, 0)
                                  .Integer("animateinterval", &R::animateinterval, 25)
                                  .Boolean("inactiveanimation", &R::inactiveanimation)
                                  .Boolean("fullframe", &R::fullframe);
    return table;
}

const SkinKeyTable<TbsDataSkinPopupWindow>& PopupWindowKeys() {
    using R = TbsDataSkinPopupWindow;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("windowpictureindex", &R::windowpictureindex, -1)
                                  .Integer("maskpictureindex", &R::maskpictureindex, -1)
                                  .Point("lefttoppoint", &R::lefttoppoint)
                                  .Point("righttoppoint", &R::righttoppoint)
                                  .Point("leftbottompoint", &R::leftbottompoint)
                                  .Point("rightbottompoint", &R::rightbottompoint)
                                  .Rect("itemsrect", &R::itemsrect)
                                  .Colour("scrollmarkercolor", &R::scrollmarkercolor)
                                  .Colour("scrollmarkeractivecolor", &R::scrollmarkeractivecolor)
                                  .Boolean("leftstretch", &R::leftstretch)
                                  .Boolean("rightstretch", &R::rightstretch)
                                  .Boolean("topstretch", &R::topstretch)
                                  .Boolean("bottomstretch", &R::bottomstretch)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .StretchKind("stretchtype", &R::stretchtype);
    return table;
}

const SkinKeyTable<TbsDataSkinHintWindow>& HintWindowKeys() {
    using R = TbsDataSkinHintWindow;
    static const auto table = SkinKeyTable<R>()
                                  .Integer("windowpictureindex", &R::windowpictureindex, -1)
                                  .Integer("maskpictureindex", &R::maskpictureindex, -1)
                                  .Point("lefttoppoint", &R::lefttoppoint)
                                  .Point("righttoppoint", &R::righttoppoint)
                                  .Point("leftbottompoint", &R::leftbottompoint)
                                  .Point("rightbottompoint", &R::rightbottompoint)
                                  .Rect("clientrect", &R::clientrect)
                                  .Font(&R::fontname, &R::fontheight, &R::fontstyle, &R::fontcolor)
                                  .Boolean("leftstretch", &R::leftstretch)
                                  .Boolean("rightstretch", &R::rightstretch)
                                  .Boolean("topstretch", &R::topstretch)
                                  .Boolean("bottomstretch", &R::bottomstretch)
                                  .Boolean("stretcheffect", &R::stretcheffect)
                                  .StretchKind("stretchtype", &R::stretchtype);
    return table;
}

constexpr const char* kPopupWindowSection = "POPUPWINDOW";
constexpr const char* kHintWindowSection = "HINTWINDOW";

}  // namespace

// ---- TbsDataSkinObject ----

void TbsDataSkinObject::ReadFromIni(const TMemIniFile& ini) { ObjectKeys().Read(*this, ini, EntryName); }
void TbsDataSkinObject::WriteToIni(TMemIniFile& ini) const { WriteSection(*this, ini, EntryName, ObjectKeys()); }
std::vector<SkinKeyInfo> TbsDataSkinObject::Keys() { return KeysOf(ObjectKeys()); }

// ---- TbsDataUserObject: its place only, not the base keys ----

void TbsDataUserObject::ReadFromIni(const TMemIniFile& ini) { UserObjectKeys().Read(*this, ini, EntryName); }
void TbsDataUserObject::WriteToIni(TMemIniFile& ini) const { WriteSection(*this, ini, EntryName, UserObjectKeys()); }
std::vector<SkinKeyInfo> TbsDataUserObject::Keys() { return KeysOf(UserObjectKeys()); }

// ---- buttons ----

void TbsDataSkinButton::ReadFromIni(const TMemIniFile& ini) { ReadAfter<TbsDataSkinObject>(*this, ini, ButtonKeys()); }
void TbsDataSkinButton::WriteToIni(TMemIniFile& ini) const { WriteAfter<TbsDataSkinObject>(*this, ini, ButtonKeys()); }
std::vector<SkinKeyInfo> TbsDataSkinButton::Keys() { return KeysAfter<TbsDataSkinObject>(ButtonKeys()); }

void TbsDataSkinStdButton::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinButton>(*this, ini, StdButtonKeys());
}
void TbsDataSkinStdButton::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinButton>(*this, ini, StdButtonKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinStdButton::Keys() { return KeysAfter<TbsDataSkinButton>(StdButtonKeys()); }

// ---- TbsDataSkinAnimate ----

void TbsDataSkinAnimate::ReadFromIni(const TMemIniFile& ini) {
    TbsDataSkinObject::ReadFromIni(ini);
    // An animation strip has no morph look of its own.
    morphing = false;
    AnimateKeys().Read(*this, ini, EntryName);
}
void TbsDataSkinAnimate::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinObject>(*this, ini, AnimateKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinAnimate::Keys() { return KeysAfter<TbsDataSkinObject>(AnimateKeys()); }

// ---- menu items ----

void TbsDataSkinMenuItem::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinObject>(*this, ini, MenuItemKeys());
    // A skin that draws its marks the same when highlighted gives them once.
    if (IsRectEmpty(activecheckimagerect)) activecheckimagerect = checkimagerect;
    if (IsRectEmpty(activeradioimagerect)) activeradioimagerect = radioimagerect;
    if (IsRectEmpty(activearrowimagerect)) activearrowimagerect = arrowimagerect;
}
void TbsDataSkinMenuItem::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinObject>(*this, ini, MenuItemKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinMenuItem::Keys() { return KeysAfter<TbsDataSkinObject>(MenuItemKeys()); }

void TbsDataSkinMainMenuItem::ReadFromIni(const TMemIniFile& ini) {
    ReadAfter<TbsDataSkinObject>(*this, ini, MainMenuItemKeys());
}
void TbsDataSkinMainMenuItem::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinObject>(*this, ini, MainMenuItemKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinMainMenuItem::Keys() {
    return KeysAfter<TbsDataSkinObject>(MainMenuItemKeys());
}

// ---- TbsDataSkinCaption ----

void TbsDataSkinCaption::ReadFromIni(const TMemIniFile& ini) { ReadAfter<TbsDataSkinObject>(*this, ini, CaptionKeys()); }
void TbsDataSkinCaption::WriteToIni(TMemIniFile& ini) const {
    WriteAfter<TbsDataSkinObject>(*this, ini, CaptionKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinCaption::Keys() { return KeysAfter<TbsDataSkinObject>(CaptionKeys()); }

// ---- window records ----

void TbsDataSkinPopupWindow::ReadFromIni(const TMemIniFile& ini) {
    PopupWindowKeys().Read(*this, ini, kPopupWindowSection);
}
void TbsDataSkinPopupWindow::WriteToIni(TMemIniFile& ini) const {
    WriteSection(*this, ini, kPopupWindowSection, PopupWindowKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinPopupWindow::Keys() { return KeysOf(PopupWindowKeys()); }

void TbsDataSkinHintWindow::ReadFromIni(const TMemIniFile& ini) {
    HintWindowKeys().Read(*this, ini, kHintWindowSection);
}
void TbsDataSkinHintWindow::WriteToIni(TMemIniFile& ini) const {
    WriteSection(*this, ini, kHintWindowSection, HintWindowKeys());
}
std::vector<SkinKeyInfo> TbsDataSkinHintWindow::Keys() { return KeysOf(HintWindowKeys()); }
