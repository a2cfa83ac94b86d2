#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "Exceptions.h"
#include "SkinRecordFactory.h"
#include "SysUtils.h"

namespace {

using KeyValues = std::map<std::string, std::string>;

TMemIniFile Ini(std::initializer_list<std::string> lines) {
    TStringList list;
    for (const auto& line : lines) list.Add(line);
    return TMemIniFile(list);
}

TMemIniFile IniFromSection(const std::string& section, const KeyValues& values) {
    TStringList list;
    list.Add("[" + section + "]");
    for (const auto& [key, value] : values) list.Add(key + "=" + value);
    return TMemIniFile(list);
}

// The records' sections are named after them; the window records have fixed ones.
constexpr const char* kName = "rec";

template <class R>
R MakeRecord() {
    if constexpr (std::is_constructible_v<R, AnsiString>)
        return R(kName);
    else
        return R();
}

template <class R>
std::vector<std::string> KeyNames() {
    std::vector<std::string> names;
    for (const SkinKeyInfo& k : R::Keys()) names.push_back(k.key);
    return names;
}

template <class R>
std::vector<std::string> WrittenKeyOrder(const R& record, const std::string& section) {
    TMemIniFile ini;
    record.WriteToIni(ini);
    TStringList keys;
    ini.ReadSection(section, keys);
    std::vector<std::string> out;
    for (int i = 0; i < keys.Count(); ++i) out.push_back(keys[i]);
    return out;
}

template <class R>
KeyValues Written(const R& record, const std::string& section) {
    TMemIniFile ini;
    ini.WriteString(section, "stale", "gone");  // WriteToIni must erase the section first
    record.WriteToIni(ini);
    TStringList lines;
    ini.ReadSectionValues(section, lines);
    KeyValues out;
    for (int i = 0; i < lines.Count(); ++i) out[lines.Names(i)] = lines.ValueFromIndex(i);
    return out;
}

// The keys whose values differ, as "key: actual (want expected)" lines; empty when equal.
std::string Diff(const KeyValues& actual, const KeyValues& expected) {
    std::string out;
    for (const auto& [key, want] : expected) {
        const auto it = actual.find(key);
        const std::string got = it == actual.end() ? "<absent>" : it->second;
        if (got != want) out += key + ": " + got + " (want " + want + ")\n";
    }
    for (const auto& [key, got] : actual)
        if (!expected.contains(key)) out += key + ": " + got + " (not a key of the class)\n";
    return out;
}

// A value of the key's type in its written form; each n gives another value
// (booleans excepted), so a key read into the wrong field shows up.
std::string Sample(SkinValueType type, int n) {
    switch (type) {
        case SkinValueType::Integer: return std::to_string(100 + n);
        case SkinValueType::Colour:
            return std::to_string(n % 2 ? static_cast<std::int32_t>(0xFF000000u + n) : 0x010101 * n);
        case SkinValueType::Boolean: return "1";
        case SkinValueType::String: return "name" + std::to_string(n);
        case SkinValueType::Point: return std::to_string(n) + "," + std::to_string(1000 + n);
        case SkinValueType::Rect:
            return std::to_string(n) + "," + std::to_string(n + 1) + "," + std::to_string(n + 200) + "," +
                   std::to_string(n + 300);
        case SkinValueType::FontStyle: return FontStyleText(static_cast<TFontStyles>(n % 15 + 1));
        case SkinValueType::Alignment:
            return AlignmentWord(n % 2 ? SkinAlignment::LeftJustify : SkinAlignment::RightJustify);
        case SkinValueType::StretchKind: return StretchKindWord(n % 2 ? SkinStretchKind::Horz : SkinStretchKind::Vert);
        case SkinValueType::MorphKind: return MorphKindWord(static_cast<SkinMorphKind>(1 + n % 6));
        case SkinValueType::Command: {
            const SkinCommand commands[] = {SkinCommand::Close,   SkinCommand::Maximize, SkinCommand::Minimize,
                                            SkinCommand::SysMenu, SkinCommand::RollUp,   SkinCommand::MinimizeToTray};
            return CommandWord(commands[n % 6]);
        }
        case SkinValueType::ImageEffect: break;
    }
    return "";
}

// The default of every key in written form: the type's default unless listed.
std::string ExpectedDefault(const std::string& className, const SkinKeyInfo& key) {
    const std::string k = key.key;
    if (k == "fontname" || k == "captionfontname" || k == "fixedfontname") return "Arial";
    if (k == "fontheight" || k == "captionfontheight" || k == "fixedfontheight") return "14";
    if (k.ends_with("pictureindex")) return "-1";
    if (k == "animateinterval") return "25";
    if (k == "countframes") return "1";
    if (k == "timerinterval") return "50";
    if (k == "itemoffset1" || k == "itemoffset2") return "3";
    if (k == "vscrollbarname") return "vscrollbar";
    if (k == "hscrollbarname") return "hscrollbar";
    if (k == "bothhscrollbarname") return "bothhscrollbar";
    if (className == "TbsDataSkinStdLabelControl" && k == "activefontcolor") return "16711680";  // 0xFF0000
    switch (key.type) {
        case SkinValueType::Integer:
        case SkinValueType::Colour:
        case SkinValueType::Boolean: return "0";
        case SkinValueType::String:
        case SkinValueType::FontStyle: return "";
        case SkinValueType::Point: return "0,0";
        case SkinValueType::Rect: return "0,0,0,0";
        case SkinValueType::Alignment: return "tacenter";
        case SkinValueType::StretchKind: return "stfull";
        case SkinValueType::MorphKind: return "mkdefault";
        case SkinValueType::Command: return "cmdefault";
        case SkinValueType::ImageEffect: return "iebrightness";
    }
    return "";
}

// The values a record computes after reading, applied to what was read.
void ApplyComputed(const std::string& className, KeyValues& v) {
    if (className == "TbsDataSkinAnimate") v["morphing"] = "0";
    if (className == "TbsDataSkinUpDownControl") {
        for (const char* p : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"}) v[p] = "0,0";
        v["clientrect"] = "0,0,0,0";
    }
    if (className == "TbsDataSkinMenuItem") {
        for (const char* mark : {"check", "radio", "arrow"}) {
            const std::string normal = std::string(mark) + "imagerect";
            const std::string active = "active" + normal;
            if (IsRectEmpty(ParseRectValue(v[active]))) v[active] = v[normal];
        }
    }
}

// Checks one record class: defaults, each key alone, all keys together, and
// a write-then-read round trip comparing every field.
template <class R>
void CheckRecordClass(const std::string& className, const std::string& section) {
    SCOPED_TRACE(className);
    const std::vector<SkinKeyInfo> keys = R::Keys();

    // Defaults: reading a description without the section.
    R fresh = MakeRecord<R>();
    fresh.ReadFromIni(TMemIniFile{});
    KeyValues defaults;
    for (const auto& key : keys) defaults[key.key] = ExpectedDefault(className, key);
    EXPECT_EQ(Diff(Written(fresh, section), defaults), "") << "defaults";
    EXPECT_EQ(WrittenKeyOrder(fresh, section), KeyNames<R>()) << "written in reading order";

    // Each key alone reaches its own field and no other.
    const KeyValues ownDefaults = Written(fresh, section);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string value = Sample(keys[i].type, static_cast<int>(i) + 1);
        R record = MakeRecord<R>();
        record.ReadFromIni(IniFromSection(section, {{keys[i].key, value}}));
        KeyValues expected = ownDefaults;
        expected[keys[i].key] = value;
        ApplyComputed(className, expected);
        EXPECT_EQ(Diff(Written(record, section), expected), "") << "key " << keys[i].key << " alone";
    }

    // All keys at once, then the round trip through the written form.
    KeyValues all;
    for (std::size_t i = 0; i < keys.size(); ++i) all[keys[i].key] = Sample(keys[i].type, static_cast<int>(i) + 1);
    R first = MakeRecord<R>();
    first.ReadFromIni(IniFromSection(section, all));
    KeyValues expected = all;
    ApplyComputed(className, expected);
    EXPECT_EQ(Diff(Written(first, section), expected), "") << "all keys";

    TMemIniFile written;
    first.WriteToIni(written);
    R second = MakeRecord<R>();
    second.ReadFromIni(written);
    EXPECT_TRUE(first == second);
    EXPECT_FALSE(first == fresh);
}

// Own keys of each class, in reading order, as skin files spell them.
const char* const kObjectKeys = "hint activepictureindex skinrectinapicture skinrect activeskinrect inactiveskinrect "
                                "morphing morphkind";
const char* const kControlKeys = "pictureindex maskpictureindex skinrect";
const char* const kCustomKeys = "pictureindex maskpictureindex skinrect lefttoppoint righttoppoint leftbottompoint "
                                "rightbottompoint clientrect leftstretch topstretch rightstretch bottomstretch "
                                "stretcheffect stretchtype";
const char* const kFont = "fontname fontheight fontstyle fontcolor";

std::vector<std::string> Words(std::initializer_list<std::string> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) {
        std::istringstream in(part);
        for (std::string w; in >> w;) out.push_back(w);
    }
    return out;
}

const std::string kButtonControlOwn =
    std::string(kFont) +
    " activefontcolor downfontcolor disabledfontcolor activeskinrect downskinrect focusedskinrect "
    "disabledskinrect morphing morphkind animateskinrect framecount animateinterval showfocus menumarkerflatrect "
    "menumarkerrect menumarkeractiverect menumarkerdownrect menumarkertransparentcolor";
const std::string kEditOwn = "activeskinrect " + std::string(kFont) +
                             " disabledfontcolor activefontcolor buttonrect activebuttonrect downbuttonrect "
                             "unenabledbuttonrect";
const std::string kListBoxOwn =
    "itemrect activeitemrect focusitemrect itemleftoffset itemrightoffset itemtextrect " + std::string(kFont) +
    " activefontcolor focusfontcolor captionrect captionfontname captionfontheight captionfontstyle "
    "captionfontcolor upbuttonrect activeupbuttonrect downupbuttonrect downbuttonrect activedownbuttonrect "
    "downdownbuttonrect checkbuttonrect activecheckbuttonrect downcheckbuttonrect vscrollbarname hscrollbarname "
    "bothhscrollbarname showfocus";
const std::string kStdButtonOwn = "command restorerect restoreactiverect restoredownrect restoreinactiverect";
const std::string kMainMenuItemOwn = "itemleftoffset itemrightoffset downrect textrect " + std::string(kFont) +
                                     " activefontcolor downfontcolor unenabledfontColor stretcheffect "
                                     "animateskinrect framecount animateinterval inactiveanimation";

}  // namespace

// ---- key lists ----

TEST(SkinRecordKeys, EveryClassReadsTheFormatsKeysInOrder) {
    struct Case {
        const char* className;
        std::vector<std::string> actual;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"TbsDataUserObject", KeyNames<TbsDataUserObject>(), Words({"skinrect"})},
        {"TbsDataSkinButton", KeyNames<TbsDataSkinButton>(), Words({kObjectKeys, "downrect disableskinrsect"})},
        {"TbsDataSkinStdButton", KeyNames<TbsDataSkinStdButton>(),
         Words({kObjectKeys, "downrect disableskinrsect", kStdButtonOwn})},
        {"TbsDataSkinMainMenuBarButton", KeyNames<TbsDataSkinMainMenuBarButton>(),
         Words({kObjectKeys, "downrect disableskinrsect", kStdButtonOwn})},
        {"TbsDataSkinAnimate", KeyNames<TbsDataSkinAnimate>(),
         Words({kObjectKeys, "countframes cycle buttonstyle timerinterval", "command downskinrect restorerect restoreactiverect restoredownrect restoreinactiverect"})},
        {"TbsDataSkinMenuItem", KeyNames<TbsDataSkinMenuItem>(),
         Words({kObjectKeys,
                "itemleftoffset itemrightoffset dividerrect dividerleftoffset dividerrightoffset textrect imagerect",
                kFont,
                "activefontcolor unenabledfontcolor stretcheffect inactivestretcheffect dividerstretcheffect "
                "animateskinrect framecount animateinterval inactiveanimation useimagecolor imagecolor "
                "activeimagecolor inactivetransparent checkimagerect activecheckimagerect radioimagerect "
                "activeradioimagerect arrowimagerect activearrowimagerect"})},
        {"TbsDataSkinMainMenuItem", KeyNames<TbsDataSkinMainMenuItem>(), Words({kObjectKeys, kMainMenuItemOwn})},
        {"TbsDataSkinMainMenuBarItem", KeyNames<TbsDataSkinMainMenuBarItem>(), Words({kObjectKeys, kMainMenuItemOwn})},
        {"TbsDataSkinCaption", KeyNames<TbsDataSkinCaption>(),
         Words({kObjectKeys, "textrect", kFont,
                "activefontcolor alignment light lightcolor activelightcolor shadow shadowcolor activeshadowcolor "
                "framerect activeframerect frametextrect frameleftoffset framerightoffset stretcheffect "
                "animateskinrect framecount animateinterval inactiveanimation fullframe"})},
        {"TbsDataSkinPopupWindow", KeyNames<TbsDataSkinPopupWindow>(),
         Words({"windowpictureindex maskpictureindex lefttoppoint righttoppoint leftbottompoint rightbottompoint "
                "itemsrect scrollmarkercolor scrollmarkeractivecolor leftstretch rightstretch topstretch "
                "bottomstretch stretcheffect stretchtype"})},
        {"TbsDataSkinHintWindow", KeyNames<TbsDataSkinHintWindow>(),
         Words({"windowpictureindex maskpictureindex lefttoppoint righttoppoint leftbottompoint rightbottompoint "
                "clientrect",
                kFont, "leftstretch rightstretch topstretch bottomstretch stretcheffect stretchtype"})},
        {"TbsDataSkinButtonControl", KeyNames<TbsDataSkinButtonControl>(), Words({kCustomKeys, kButtonControlOwn})},
        {"TbsDataSkinMenuButtonControl", KeyNames<TbsDataSkinMenuButtonControl>(),
         Words({kCustomKeys, kButtonControlOwn, "trackbuttonrect"})},
        {"TbsDataSkinPanelControl", KeyNames<TbsDataSkinPanelControl>(),
         Words({kCustomKeys, "bgpictureindex captionrect alignment", kFont,
                "checkimagerect uncheckimagerect markframerect framerect frametextrect frameleftoffset "
                "framerightoffset gripperrect grippertransparent grippertransparentcolor"})},
        {"TbsDataSkinEditControl", KeyNames<TbsDataSkinEditControl>(), Words({kCustomKeys, kEditOwn})},
        {"TbsDataSkinMemoControl", KeyNames<TbsDataSkinMemoControl>(),
         Words({kCustomKeys, kEditOwn, "bgcolor activebgcolor"})},
        {"TbsDataSkinComboBox", KeyNames<TbsDataSkinComboBox>(),
         Words({kCustomKeys,
                "activeskinrect itemrect activeitemrect focusitemrect itemleftoffset itemrightoffset itemtextrect",
                kFont,
                "focusfontcolor activefontcolor listboxname buttonrect activebuttonrect downbuttonrect "
                "unenabledbuttonrect itemstretcheffect focusitemstretcheffect showfocus"})},
        {"TbsDataSkinListBox", KeyNames<TbsDataSkinListBox>(), Words({kCustomKeys, kListBoxOwn})},
        {"TbsDataSkinCheckListBox", KeyNames<TbsDataSkinCheckListBox>(),
         Words({kCustomKeys, kListBoxOwn, "itemcheckrect checkimagerect uncheckimagerect"})},
        {"TbsDataSkinListView", KeyNames<TbsDataSkinListView>(), Words({kControlKeys, kFont, "bgcolor"})},
        {"TbsDataSkinScrollBarControl", KeyNames<TbsDataSkinScrollBarControl>(),
         Words({kCustomKeys,
                "trackarea upbuttonrect activeupbuttonrect downupbuttonrect downbuttonrect activedownbuttonrect "
                "downdownbuttonrect thumbrect activethumbrect downthumbrect thumboffset1 thumboffset2 "
                "thumbtransparent thumbtransparentcolor thumbstretcheffect thumbminsize thumbminpagesize glyphrect "
                "activeglyphrect downglyphrect glyphtransparent glyphtransparentcolor"})},
        {"TbsDataSkinStdLabelControl", KeyNames<TbsDataSkinStdLabelControl>(),
         Words({kControlKeys, kFont, "activefontcolor"})},
        {"TbsDataSkinLabelControl", KeyNames<TbsDataSkinLabelControl>(), Words({kCustomKeys, kFont})},
        {"TbsDataSkinCheckRadioControl", KeyNames<TbsDataSkinCheckRadioControl>(),
         Words({kCustomKeys, kFont,
                "activefontcolor unenabledfontcolor framefontcolor activeskinrect checkimagearea textarea "
                "checkimagerect uncheckimagerect activecheckimagerect activeuncheckimagerect "
                "unenabledcheckimagerect unenableduncheckimagerect grayedcheckimagerect "
                "activegrayedcheckimagerect morphing morphkind"})},
        {"TbsDataSkinUpDownControl", KeyNames<TbsDataSkinUpDownControl>(),
         Words({kCustomKeys, "upbuttonrect activeupbuttonrect downupbuttonrect downbuttonrect activedownbuttonrect "
                             "downdownbuttonrect"})},
        {"TbsDataSkinMainMenuBar", KeyNames<TbsDataSkinMainMenuBar>(),
         Words({kControlKeys, "itemsrect menubaritem closebutton minbutton maxbutton sysmenubutton trackmarkcolor "
                              "trackmarkactivecolor stretcheffect itemtransparent"})},
        {"TbsDataSkinExPanelControl", KeyNames<TbsDataSkinExPanelControl>(),
         Words({kCustomKeys,
                "rollhskinrect rollvskinrect rollleftoffset rollrightoffset rolltopoffset rollbottomoffset "
                "rollvcaptionrect rollhcaptionrect closebuttonrect closebuttonactiverect closebuttondownrect "
                "hrollbuttonrect hrollbuttonactiverect hrollbuttondownrect hrestorebuttonrect "
                "hrestorebuttonactiverect hrestorebuttondownrect vrollbuttonrect vrollbuttonactiverect "
                "vrollbuttondownrect vrestorebuttonrect vrestorebuttonactiverect vrestorebuttondownrect captionrect",
                kFont, "buttonstransparent buttonstransparentcolor"})},
        {"TbsDataSkinGaugeControl", KeyNames<TbsDataSkinGaugeControl>(),
         Words({kCustomKeys, "progressarea progressrect beginoffset endoffset vertical", kFont,
                "progresstransparent progresstransparentcolor progressstretch animationskinrect "
                "animationcountframes animationtimerinterval progressanimationskinrect "
                "progressanimationcountframes progressanimationtimerinterval animationbeginoffset "
                "animationendoffset"})},
        {"TbsDataSkinSplitterControl", KeyNames<TbsDataSkinSplitterControl>(),
         Words({kCustomKeys, "gripperrect grippertransparent grippertransparentcolor"})},
        {"TbsDataSkinTrackBarControl", KeyNames<TbsDataSkinTrackBarControl>(),
         Words({kCustomKeys, "activeskinrect trackarea buttonrect activebuttonrect vertical buttontransparent "
                             "buttontransparentcolor"})},
        {"TbsDataSkinGridControl", KeyNames<TbsDataSkinGridControl>(),
         Words({kControlKeys,
                "fixedcellrect selectcellrect focuscellrect fixedcellleftoffset fixedcellrightoffset "
                "fixedcelltextrect cellleftoffset cellrightoffset celltextrect bgpictureindex linescolor bgcolor",
                kFont,
                "selectfontcolor focusfontcolor fixedfontname fixedfontheight fixedfontstyle fixedfontcolor "
                "cellstretcheffect fixedcellstretcheffect showfocus"})},
        {"TbsDataSkinTabControl", KeyNames<TbsDataSkinTabControl>(),
         Words({kControlKeys,
                "tabrect activetabrect focustabrect mouseintabrect clientrect bgpictureindex lefttoppoint "
                "righttoppoint leftbottompoint rightbottompoint tableftoffset tabrightoffset tabsbgrect "
                "tabstretcheffect leftstretch topstretch rightstretch bottomstretch stretcheffect stretchtype",
                kFont,
                "activefontcolor focusfontcolor mouseinfontcolor updown showfocus focusoffsetx focusoffsety "
                "closebuttonrect closebuttonactiverect closebuttondownrect buttontransparent "
                "buttontransparentcolor"})},
        {"TbsDataSkinControlBar", KeyNames<TbsDataSkinControlBar>(),
         Words({kCustomKeys, "itemrect bgpictureindex hgriprect vgriprect gripoffset1 gripoffset2 "
                             "itemstretcheffect itemoffset1 itemoffset2 itemtransparent itemtransparentcolor "
                             "griptransparent griptransparentcolor"})},
        {"TbsDataSkinSpinEditControl", KeyNames<TbsDataSkinSpinEditControl>(),
         Words({kCustomKeys, "activeskinrect", kFont,
                "activefontcolor disabledfontcolor upbuttonrect activeupbuttonrect downupbuttonrect downbuttonrect "
                "activedownbuttonrect downdownbuttonrect"})},
        {"TbsDataSkinScrollBoxControl", KeyNames<TbsDataSkinScrollBoxControl>(),
         Words({kCustomKeys, "bgpictureindex"})},
        {"TbsDataSkinTreeView", KeyNames<TbsDataSkinTreeView>(), Words({kControlKeys, kFont, "bgcolor"})},
        {"TbsDataSkinRichEdit", KeyNames<TbsDataSkinRichEdit>(), Words({kControlKeys, kFont, "bgcolor"})},
        {"TbsDataSkinBevel", KeyNames<TbsDataSkinBevel>(), Words({kControlKeys, "lightcolor darkcolor"})},
        {"TbsDataSkinSlider", KeyNames<TbsDataSkinSlider>(),
         Words({kControlKeys, "bgcolor hrulerrect hthumbrect vrulerrect vthumbrect edgesize pointscolor"})},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.className;
}

// ---- defaults, each key, round trip ----

TEST(SkinObjectRecords, DefaultsEachKeyAndRoundTrip) {
    CheckRecordClass<TbsDataSkinObject>("TbsDataSkinObject", kName);
    CheckRecordClass<TbsDataUserObject>("TbsDataUserObject", kName);
    CheckRecordClass<TbsDataSkinButton>("TbsDataSkinButton", kName);
    CheckRecordClass<TbsDataSkinStdButton>("TbsDataSkinStdButton", kName);
    CheckRecordClass<TbsDataSkinMainMenuBarButton>("TbsDataSkinMainMenuBarButton", kName);
    CheckRecordClass<TbsDataSkinAnimate>("TbsDataSkinAnimate", kName);
    CheckRecordClass<TbsDataSkinMenuItem>("TbsDataSkinMenuItem", kName);
    CheckRecordClass<TbsDataSkinMainMenuItem>("TbsDataSkinMainMenuItem", kName);
    CheckRecordClass<TbsDataSkinMainMenuBarItem>("TbsDataSkinMainMenuBarItem", kName);
    CheckRecordClass<TbsDataSkinCaption>("TbsDataSkinCaption", kName);
    CheckRecordClass<TbsDataSkinPopupWindow>("TbsDataSkinPopupWindow", "POPUPWINDOW");
    CheckRecordClass<TbsDataSkinHintWindow>("TbsDataSkinHintWindow", "HINTWINDOW");
}

TEST(SkinControlRecords, DefaultsEachKeyAndRoundTrip) {
    CheckRecordClass<TbsDataSkinControl>("TbsDataSkinControl", kName);
    CheckRecordClass<TbsDataSkinCustomControl>("TbsDataSkinCustomControl", kName);
    CheckRecordClass<TbsDataSkinButtonControl>("TbsDataSkinButtonControl", kName);
    CheckRecordClass<TbsDataSkinMenuButtonControl>("TbsDataSkinMenuButtonControl", kName);
    CheckRecordClass<TbsDataSkinPanelControl>("TbsDataSkinPanelControl", kName);
    CheckRecordClass<TbsDataSkinEditControl>("TbsDataSkinEditControl", kName);
    CheckRecordClass<TbsDataSkinMemoControl>("TbsDataSkinMemoControl", kName);
    CheckRecordClass<TbsDataSkinComboBox>("TbsDataSkinComboBox", kName);
    CheckRecordClass<TbsDataSkinListBox>("TbsDataSkinListBox", kName);
    CheckRecordClass<TbsDataSkinCheckListBox>("TbsDataSkinCheckListBox", kName);
    CheckRecordClass<TbsDataSkinListView>("TbsDataSkinListView", kName);
    CheckRecordClass<TbsDataSkinScrollBarControl>("TbsDataSkinScrollBarControl", kName);
    CheckRecordClass<TbsDataSkinStdLabelControl>("TbsDataSkinStdLabelControl", kName);
    CheckRecordClass<TbsDataSkinMainMenuBar>("TbsDataSkinMainMenuBar", kName);
    CheckRecordClass<TbsDataSkinLabelControl>("TbsDataSkinLabelControl", kName);
    CheckRecordClass<TbsDataSkinCheckRadioControl>("TbsDataSkinCheckRadioControl", kName);
    CheckRecordClass<TbsDataSkinUpDownControl>("TbsDataSkinUpDownControl", kName);
    CheckRecordClass<TbsDataSkinExPanelControl>("TbsDataSkinExPanelControl", kName);
    CheckRecordClass<TbsDataSkinGaugeControl>("TbsDataSkinGaugeControl", kName);
    CheckRecordClass<TbsDataSkinSplitterControl>("TbsDataSkinSplitterControl", kName);
    CheckRecordClass<TbsDataSkinTrackBarControl>("TbsDataSkinTrackBarControl", kName);
    CheckRecordClass<TbsDataSkinGridControl>("TbsDataSkinGridControl", kName);
    CheckRecordClass<TbsDataSkinTabControl>("TbsDataSkinTabControl", kName);
    CheckRecordClass<TbsDataSkinControlBar>("TbsDataSkinControlBar", kName);
    CheckRecordClass<TbsDataSkinSpinEditControl>("TbsDataSkinSpinEditControl", kName);
    CheckRecordClass<TbsDataSkinScrollBoxControl>("TbsDataSkinScrollBoxControl", kName);
    CheckRecordClass<TbsDataSkinTreeView>("TbsDataSkinTreeView", kName);
    CheckRecordClass<TbsDataSkinRichEdit>("TbsDataSkinRichEdit", kName);
    CheckRecordClass<TbsDataSkinBevel>("TbsDataSkinBevel", kName);
    CheckRecordClass<TbsDataSkinSlider>("TbsDataSkinSlider", kName);
}

// ---- records with rules of their own ----

TEST(SkinObjectRecords, RulesOfParticularRecords) {
    const TMemIniFile ini = Ini({
        "[close]", "command=CMCLOSE",                                          //
        "[user]", "hint=Hello", "activepictureindex=3", "skinrect=1,2,3,4", "morphing=1",  //
        "[anim]", "morphing=1", "morphkind=mkpush",                             //
        "[item]", "checkimagerect=1,2,3,4", "radioimagerect=5,6,7,8", "activeradioimagerect=9,9,19,19",
        "arrowimagerect=1,1,2,2", "activearrowimagerect=4,4,4,9",               //
        "[bar]", "UnEnabledFontColor=255",                                      //
    });

    TbsDataSkinStdButton close("close");
    close.ReadFromIni(ini);
    EXPECT_EQ(close.command, SkinCommand::MinimizeToTray);

    TbsDataUserObject user("user");
    user.ReadFromIni(ini);
    EXPECT_EQ(user.skinrect, Rect(1, 2, 3, 4));
    EXPECT_EQ(user.hint, "");
    EXPECT_EQ(user.activepictureindex, -1);
    EXPECT_FALSE(user.morphing);

    TbsDataSkinAnimate anim("anim");
    anim.ReadFromIni(ini);
    EXPECT_FALSE(anim.morphing);
    EXPECT_EQ(anim.morphkind, SkinMorphKind::Push);
    EXPECT_EQ(anim.countframes, 1);
    EXPECT_EQ(anim.timerinterval, 50);

    TbsDataSkinMenuItem item("item");
    item.ReadFromIni(ini);
    EXPECT_EQ(item.activecheckimagerect, Rect(1, 2, 3, 4));    // only the normal mark given
    EXPECT_EQ(item.activeradioimagerect, Rect(9, 9, 19, 19));  // its own
    EXPECT_EQ(item.activearrowimagerect, Rect(1, 1, 2, 2));    // zero width counts as empty

    TbsDataSkinMainMenuBarItem bar("bar");
    bar.ReadFromIni(ini);
    EXPECT_EQ(bar.unenabledfontColor, 255u);
}

TEST(SkinWindowRecords, HintWindowStartsAtHeight12AndReadsDefaultsWithoutItsSection) {
    TbsDataSkinHintWindow hint;
    EXPECT_EQ(hint.fontheight, 12);
    EXPECT_EQ(hint.windowpictureindex, -1);
    hint.windowpictureindex = 4;
    hint.ReadFromIni(Ini({"[VERSION]", "skinname=x"}));
    EXPECT_EQ(hint.fontheight, 14);
    EXPECT_EQ(hint.fontname, "Arial");
    EXPECT_EQ(hint.windowpictureindex, -1);

    TbsDataSkinPopupWindow popup;
    popup.ReadFromIni(Ini({"[popupwindow]", "windowpictureindex=2", "itemsrect=4,4,60,90", "stretchtype=stvert"}));
    EXPECT_EQ(popup.windowpictureindex, 2);
    EXPECT_EQ(popup.itemsrect, Rect(4, 4, 60, 90));
    EXPECT_EQ(popup.stretchtype, SkinStretchKind::Vert);
}

TEST(SkinControlRecords, CompositionKindFollowsTheCornerPoints) {
    struct Case {
        const char* name;
        TRect skinrect;
        TPoint lt, rt, lb, rb;
        SkinComposition kind;
    };
    const TRect r = Rect(0, 0, 40, 20);
    const Case cases[] = {
        {"empty skinrect", Rect(5, 5, 5, 9), {1, 1}, {2, 2}, {3, 3}, {4, 4}, SkinComposition::None},
        {"nine parts", r, {3, 3}, {30, 3}, {3, 15}, {30, 15}, SkinComposition::Frame},
        {"rb half set, rt zero, lb set", r, {0, 0}, {0, 0}, {0, 3}, {5, 0}, SkinComposition::Column},
        {"row", r, {4, 0}, {36, 0}, {0, 0}, {0, 0}, SkinComposition::Row},
        {"row wins over column", r, {0, 0}, {0, 1}, {1, 0}, {0, 9}, SkinComposition::Row},
        {"all zero", r, {0, 0}, {0, 0}, {0, 0}, {0, 0}, SkinComposition::Fixed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TbsDataSkinCustomControl rec("c");
        rec.skinrect = c.skinrect;
        rec.lefttoppoint = c.lt;
        rec.righttoppoint = c.rt;
        rec.leftbottompoint = c.lb;
        rec.rightbottompoint = c.rb;
        EXPECT_EQ(rec.CompositionKind(), c.kind);
    }
}

TEST(SkinControlRecords, UpDownNeverKeepsCompositionGeometry) {
    TbsDataSkinUpDownControl updown("updown");
    updown.ReadFromIni(Ini({"[updown]", "skinrect=0,0,16,30", "rightbottompoint=10,10", "lefttoppoint=2,2",
                            "clientrect=1,1,9,9", "upbuttonrect=0,0,16,15"}));
    EXPECT_EQ(updown.rightbottompoint, Point(0, 0));
    EXPECT_EQ(updown.lefttoppoint, Point(0, 0));
    EXPECT_EQ(updown.clientrect, TRect{});
    EXPECT_EQ(updown.upbuttonrect, Rect(0, 0, 16, 15));
    EXPECT_EQ(updown.CompositionKind(), SkinComposition::Fixed);
}

// ---- kind tables and directories ----

TEST(SkinRecordFactory, EachKindCreatesItsClass) {
    struct Case {
        const char* kind;
        const std::type_info& type;
    };
    const Case objects[] = {
        {"menuitem", typeid(TbsDataSkinMenuItem)},
        {"mainmenubaritem", typeid(TbsDataSkinMainMenuBarItem)},
        {"stdbutton", typeid(TbsDataSkinStdButton)},
        {"mainmenubarbutton", typeid(TbsDataSkinMainMenuBarButton)},
        {"button", typeid(TbsDataSkinButton)},
        {"caption", typeid(TbsDataSkinCaption)},
        {"animate", typeid(TbsDataSkinAnimate)},
        {"userobject", typeid(TbsDataUserObject)},
    };
    for (const auto& c : objects) {
        SCOPED_TRACE(c.kind);
        const auto record = CreateSkinObjectRecord(c.kind, "n");
        ASSERT_TRUE(record);
        EXPECT_EQ(typeid(*record), c.type);
        EXPECT_EQ(record->EntryName, "n");
    }
    const Case controls[] = {
        {"panel", typeid(TbsDataSkinPanelControl)},
        {"expanel", typeid(TbsDataSkinExPanelControl)},
        {"menubutton", typeid(TbsDataSkinMenuButtonControl)},
        {"button", typeid(TbsDataSkinButtonControl)},
        {"checkradio", typeid(TbsDataSkinCheckRadioControl)},
        {"gauge", typeid(TbsDataSkinGaugeControl)},
        {"splitter", typeid(TbsDataSkinSplitterControl)},
        {"trackbar", typeid(TbsDataSkinTrackBarControl)},
        {"label", typeid(TbsDataSkinLabelControl)},
        {"stdlabel", typeid(TbsDataSkinStdLabelControl)},
        {"updown", typeid(TbsDataSkinUpDownControl)},
        {"grid", typeid(TbsDataSkinGridControl)},
        {"tab", typeid(TbsDataSkinTabControl)},
        {"mainmenubar", typeid(TbsDataSkinMainMenuBar)},
        {"controlbar", typeid(TbsDataSkinControlBar)},
        {"memo", typeid(TbsDataSkinMemoControl)},
        {"edit", typeid(TbsDataSkinEditControl)},
        {"checklistbox", typeid(TbsDataSkinCheckListBox)},
        {"listbox", typeid(TbsDataSkinListBox)},
        {"combobox", typeid(TbsDataSkinComboBox)},
        {"scrollbar", typeid(TbsDataSkinScrollBarControl)},
        {"spinedit", typeid(TbsDataSkinSpinEditControl)},
        {"scrollbox", typeid(TbsDataSkinScrollBoxControl)},
        {"treeview", typeid(TbsDataSkinTreeView)},
        {"bevel", typeid(TbsDataSkinBevel)},
        {"slider", typeid(TbsDataSkinSlider)},
        {"listview", typeid(TbsDataSkinListView)},
        {"richedit", typeid(TbsDataSkinRichEdit)},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.kind);
        const auto record = CreateSkinControlRecord(c.kind, "n");
        ASSERT_TRUE(record);
        EXPECT_EQ(typeid(*record), c.type);
    }
    EXPECT_EQ(SkinObjectKinds().size(), std::size(objects));
    EXPECT_EQ(SkinControlKinds().size(), std::size(controls));
    for (const char* unknown : {"Button", "", "userObject", "statusbar"}) {
        EXPECT_FALSE(CreateSkinControlRecord(unknown, "n")) << unknown;
        EXPECT_FALSE(CreateSkinObjectRecord(unknown, "n")) << unknown;
    }
}

TEST(SkinRecordFactory, ReadsTheDirectoryInFileOrderSkippingUnknownKinds) {
    const TMemIniFile ini = Ini({
        "[SKINCONTROLS]", "count=6", "0=button", "1=:button", "2=groupbox:panel", "3=odd:statusbar",
        "4=resizetoolbutton:button", "5=button:BUTTON",                         //
        "[]", "fontheight=9",                                                    //
        "[groupbox]", "captionrect=1,2,3,4",                                     //
        "[resizetoolbutton]", "skinrect=0,0,10,10",                              //
        "[SKINOBJECTS]", "count=2", "0=closebutton:stdbutton", "1=sysmenu:stdbutton",  //
        "[closebutton]", "command=cmclose", "[sysmenu]", "command=cmsysmenu",
    });
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    ReadSkinControls(ini, controls);
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0]->EntryName, "");
    EXPECT_EQ(dynamic_cast<TbsDataSkinButtonControl&>(*controls[0]).fontheight, 9);
    EXPECT_EQ(controls[1]->EntryName, "groupbox");
    EXPECT_EQ(dynamic_cast<TbsDataSkinPanelControl&>(*controls[1]).captionrect, Rect(1, 2, 3, 4));
    EXPECT_EQ(controls[2]->EntryName, "resizetoolbutton");
    EXPECT_EQ(controls[2]->skinrect, Rect(0, 0, 10, 10));

    std::vector<std::unique_ptr<TbsDataSkinObject>> objects;
    ReadSkinObjects(ini, objects);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdButton&>(*objects[0]).command, SkinCommand::Close);
    EXPECT_EQ(dynamic_cast<TbsDataSkinStdButton&>(*objects[1]).command, SkinCommand::SysMenu);
}

TEST(SkinRecordFactory, AMalformedValueStopsTheReadAndKeepsWhatWasRead) {
    const TMemIniFile ini = Ini({"[SKINCONTROLS]", "count=3", "0=a:edit", "1=b:memo", "2=c:edit", "[b]",
                                 "clientrect=1,2,,4"});
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    try {
        ReadSkinControls(ini, controls);
        FAIL() << "a malformed rect must stop the read";
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.Message()).find("[b] clientrect=1,2,,4"), std::string::npos) << e.Message();
    }
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(controls[1]->EntryName, "b");
}

TEST(SkinRecordFactory, SameSkinRecordComparesClassNameAndValues) {
    TbsDataSkinEditControl edit("edit");
    TbsDataSkinMemoControl memo("edit");
    TbsDataSkinEditControl other("edit");
    EXPECT_TRUE(SameSkinRecord(edit, other));
    EXPECT_FALSE(SameSkinRecord(edit, memo));
    other.fontcolor = 5;
    EXPECT_FALSE(SameSkinRecord(edit, other));
    other = edit;
    other.EntryName = "edit2";
    EXPECT_FALSE(SameSkinRecord(edit, other));
}
