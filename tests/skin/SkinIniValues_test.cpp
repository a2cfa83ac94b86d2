#include "SkinIniValues.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Exceptions.h"

namespace {

// A description built from lines, as a skin file would hold them.
TMemIniFile Ini(std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* line : lines) list.Add(line);
    return TMemIniFile(list);
}

std::vector<std::string> Items(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

}  // namespace

// ---- number lists ----

TEST(ParseRectValue, ReadsDigitsOnlyAndIgnoresExtraNumbers) {
    struct Case {
        const char* text;
        TRect rect;
    };
    const Case cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}},
        {" 1, 2 ,3 , 4 ", {1, 2, 3, 4}},          // blanks anywhere
        {"-1,-2,3,4", {1, 2, 3, 4}},              // minus signs are skipped
        {"a1b0,2x,3,4px", {10, 2, 3, 4}},         // letters too
        {"0,0,0,0", {0, 0, 0, 0}},
        {"1,2,3,4,5,6", {1, 2, 3, 4}},            // extra numbers never stored
        {"1,2,3,4,", {1, 2, 3, 4}},               // a trailing comma opens no fifth slot
        {"1,2,3,4,,junk", {1, 2, 3, 4}},
        {"0007,2147483647,3,4", {7, 2147483647, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseRectValue(c.text), c.rect);
    }
}

TEST(ParseRectValue, AnEmptyNumberIsAConversionError) {
    for (const char* text : {"", "1,2,,4", "1,2,3", "1;2;3;4", "a,b,c,d", "1,2,3,-", "2147483648,0,0,0",
                             "99999999999999999999,1,2,3"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(ParseRectValue(text), EConvertError);
    }
    try {
        ParseRectValue("1,2,,4");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'' is not a valid integer value");
    }
}

TEST(ParsePointValue, ReadsTwoNumbers) {
    EXPECT_EQ(ParsePointValue("3,4"), Point(3, 4));
    EXPECT_EQ(ParsePointValue(" 3 , 4 "), Point(3, 4));
    EXPECT_EQ(ParsePointValue("-5,3"), Point(5, 3));
    EXPECT_EQ(ParsePointValue("1,2,3"), Point(1, 2));
    // With a semicolon the digits run together into one number.
    EXPECT_THROW(ParsePointValue("3;4"), EConvertError);
    EXPECT_THROW(ParsePointValue("7"), EConvertError);
    EXPECT_THROW(ParsePointValue(""), EConvertError);
}

TEST(IniReadRect, MissingKeyIsEmptyAndBadValueNamesItsPlace) {
    const TMemIniFile ini = Ini({"[btn]", "skinrect=0,0,0,0", "good= 1, 2, 3, 4", "bad=1,,3,4", "pt=1 ; 2"});
    EXPECT_EQ(IniReadRect(ini, "btn", "skinrect"), TRect{});
    EXPECT_EQ(IniReadRect(ini, "btn", "absent"), TRect{});
    EXPECT_EQ(IniReadRect(ini, "nosection", "skinrect"), TRect{});
    EXPECT_TRUE(IsRectEmpty(IniReadRect(ini, "btn", "absent")));
    EXPECT_EQ(IniReadRect(ini, "BTN", "GOOD"), Rect(1, 2, 3, 4));
    EXPECT_EQ(IniReadPoint(ini, "btn", "absent"), Point(0, 0));

    try {
        IniReadRect(ini, "btn", "bad");
        FAIL();
    } catch (const EConvertError& e) {
        const std::string message = e.Message();
        EXPECT_NE(message.find("[btn]"), std::string::npos) << message;
        EXPECT_NE(message.find("bad=1,,3,4"), std::string::npos) << message;
        EXPECT_NE(message.find("'' is not a valid integer value"), std::string::npos) << message;
    }
    // The comment marker inside a value is part of the value here: one number, then none.
    EXPECT_THROW(IniReadPoint(ini, "btn", "pt"), EConvertError);
}

// ---- lenient values ----

TEST(IniReadValues, MalformedOrMissingNumbersGiveTheDefault) {
    const TMemIniFile ini = Ini({"[s]", "dec=-12", "hex=0x1F", "dollar=$10", "bad=12a", "empty=", "sys=0xFF00000F",
                                 "neg=-16777201", "one=1", "two=2", "zeroone=01", "word=true"});
    EXPECT_EQ(IniReadInteger(ini, "s", "dec", 5), -12);
    EXPECT_EQ(IniReadInteger(ini, "s", "hex", 5), 31);
    EXPECT_EQ(IniReadInteger(ini, "s", "dollar", 5), 16);
    EXPECT_EQ(IniReadInteger(ini, "s", "bad", 5), 5);
    EXPECT_EQ(IniReadInteger(ini, "s", "empty", 5), 5);
    EXPECT_EQ(IniReadInteger(ini, "s", "absent", 5), 5);

    // A system colour in hexadecimal and as the negative decimal of its bits.
    EXPECT_EQ(IniReadColor(ini, "s", "sys", 0), 0xFF00000Fu);
    EXPECT_EQ(IniReadColor(ini, "s", "neg", 0), 0xFF00000Fu);
    EXPECT_EQ(IniReadColor(ini, "s", "absent", 0xFF000012u), 0xFF000012u);

    struct BoolCase {
        const char* key;
        bool value;
    };
    for (const auto& c : {BoolCase{"one", true}, BoolCase{"zeroone", true}, BoolCase{"two", false},
                          BoolCase{"word", false}, BoolCase{"absent", false}, BoolCase{"dec", false}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(IniReadBool(ini, "s", c.key), c.value);
    }
}

TEST(SkinWords, ReadCaseSensitivelyWithTheirFallbacks) {
    struct Case {
        const char* word;
        int stretch, effect, morph, command, alignment;
    };
    // Values: stretch 0 full 1 horz 2 vert; effect 0..5; morph 0..6; command 0..6; alignment 0 left 1 right 2 centre.
    const Case cases[] = {
        {"stfull", 0, 2, 0, 6, 1},      {"stvert", 2, 2, 0, 6, 1},        {"STVERT", 1, 2, 0, 6, 1},
        {"sthorz", 1, 2, 0, 6, 1},      {"iebrightness", 1, 0, 0, 6, 1},  {"iedarkness", 1, 1, 0, 6, 1},
        {"iegrayscale", 1, 2, 0, 6, 1}, {"ienoise", 1, 3, 0, 6, 1},       {"iesplitblur", 1, 4, 0, 6, 1},
        {"ieinvert", 1, 5, 0, 6, 1},    {"mkgradient", 1, 2, 1, 6, 1},    {"mkpush", 1, 2, 6, 6, 1},
        {"mkrightslide", 1, 2, 5, 6, 1}, {"MKPUSH", 1, 2, 0, 6, 1},       {"cmclose", 1, 2, 0, 0, 1},
        {"cmsysmenu", 1, 2, 0, 3, 1},   {"cmrollup", 1, 2, 0, 5, 1},      {"CMCLOSE", 1, 2, 0, 6, 1},
        {"cmdefault", 1, 2, 0, 4, 1},   {"taleftjustify", 1, 2, 0, 6, 0}, {"tacenter", 1, 2, 0, 6, 2},
        {"TACENTER", 1, 2, 0, 6, 1},    {"", 1, 2, 0, 6, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(static_cast<int>(StretchKindFromWord(c.word)), c.stretch);
        EXPECT_EQ(static_cast<int>(ImageEffectFromWord(c.word)), c.effect);
        EXPECT_EQ(static_cast<int>(MorphKindFromWord(c.word)), c.morph);
        EXPECT_EQ(static_cast<int>(CommandFromWord(c.word)), c.command);
        EXPECT_EQ(static_cast<int>(AlignmentFromWord(c.word)), c.alignment);
    }
}

TEST(SkinWords, MissingKeysTakeTheDefaultWords) {
    const TMemIniFile ini;
    EXPECT_EQ(IniReadStretchKind(ini, "s", "k"), SkinStretchKind::Full);
    EXPECT_EQ(IniReadImageEffect(ini, "s", "k"), SkinImageEffect::Brightness);
    EXPECT_EQ(IniReadMorphKind(ini, "s", "k"), SkinMorphKind::Default);
    EXPECT_EQ(IniReadCommand(ini, "s", "k"), SkinCommand::Default);
    EXPECT_EQ(IniReadAlignment(ini, "s", "k"), SkinAlignment::Center);
    EXPECT_EQ(IniReadFontStyle(ini, "s", "k"), 0u);
}

TEST(FontStyleFromText, EachWordIsASubstringTest) {
    struct Case {
        const char* text;
        TFontStyles style;
    };
    const Case cases[] = {
        {"fsbold,fsunderline", fsBold | fsUnderline},
        {"fsunderline fsbold", fsBold | fsUnderline},
        {"FSBOLD,FSUNDERLINE", 0},
        {"fsbolditalic", fsBold},  // "italic" without its "fs" is no flag
        {"[fsitalic]fsstrikeout", fsItalic | fsStrikeOut},
        {"fsbold,fsitalic,fsunderline,fsstrikeout", fsBold | fsItalic | fsUnderline | fsStrikeOut},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FontStyleFromText(c.text), c.style);
    }
}

// ---- written forms ----

TEST(IniWriteValues, WriteTheFormsTheReadersRead) {
    TMemIniFile ini;
    IniWriteRect(ini, "s", "r", Rect(1, 22, 333, 4444));
    IniWritePoint(ini, "s", "p", Point(5, 0));
    IniWriteColor(ini, "s", "sys", 0xFF00000Fu);
    IniWriteColor(ini, "s", "rgb", 0x00C08040u);
    IniWriteBool(ini, "s", "t", true);
    IniWriteBool(ini, "s", "f", false);
    IniWriteFontStyle(ini, "s", "fs", fsStrikeOut | fsBold | fsUnderline);
    IniWriteFontStyle(ini, "s", "nofs", 0);
    IniWriteAlignment(ini, "s", "right", SkinAlignment::RightJustify);
    IniWriteStretchKind(ini, "s", "vert", SkinStretchKind::Vert);
    IniWriteMorphKind(ini, "s", "push", SkinMorphKind::Push);
    IniWriteCommand(ini, "s", "tray", SkinCommand::MinimizeToTray);

    const std::pair<const char*, const char*> written[] = {
        {"r", "1,22,333,4444"},   {"p", "5,0"},        {"sys", "-16777201"},          {"rgb", "12615744"},
        {"t", "1"},               {"f", "0"},          {"fs", "fsbold,fsunderline,fsstrikeout"},
        {"nofs", ""},             {"right", "tarightjustify"}, {"vert", "stvert"},    {"push", "mkpush"},
        {"tray", "cmminimizetotray"},
    };
    for (const auto& [key, text] : written) {
        SCOPED_TRACE(key);
        EXPECT_EQ(ini.ReadString("s", key, "<absent>"), text);
    }

    EXPECT_EQ(IniReadRect(ini, "s", "r"), Rect(1, 22, 333, 4444));
    EXPECT_EQ(IniReadColor(ini, "s", "sys", 0), 0xFF00000Fu);
    EXPECT_EQ(IniReadFontStyle(ini, "s", "fs"), fsStrikeOut | fsBold | fsUnderline);
    EXPECT_EQ(IniReadAlignment(ini, "s", "right"), SkinAlignment::RightJustify);
    EXPECT_EQ(IniReadCommand(ini, "s", "tray"), SkinCommand::MinimizeToTray);
}

// ---- lists and directories ----

TEST(IniReadList, AppendsCountEntriesWithEmptyOnesForMissingKeys) {
    const TMemIniFile ini = Ini({"[PICTURES]", "activepicturescount=2", "0=a.bmp", "1=b.bmp", "[TWO]",
                                 "activepicturescount=2", "0=only.bmp", "[NEG]", "activepicturescount=-3", "0=x"});
    TStringList list;
    list.Add("kept");
    IniReadList(ini, "PICTURES", "activepictures", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"kept", "a.bmp", "b.bmp"}));

    TStringList two;
    IniReadList(ini, "TWO", "activepictures", two);
    EXPECT_EQ(Items(two), (std::vector<std::string>{"only.bmp", ""}));

    TStringList none;
    IniReadList(ini, "NEG", "activepictures", none);
    IniReadList(ini, "ABSENT", "activepictures", none);
    EXPECT_EQ(none.Count(), 0);
}

TEST(IniReadList, StopsOneEntryAfterTheLastPresentKey) {
    using V = std::vector<std::string>;
    struct Case {
        const char* count;
        std::initializer_list<const char*> keys;
        V entries;
    };
    const Case cases[] = {
        {"2000000000", {"0=a.bmp"}, V{"a.bmp", ""}},       // a huge count neither hangs nor exhausts memory
        {"0x7FFFFFFF", {"1=b.bmp"}, V{"", "b.bmp", ""}},
        {"5", {"4=e.bmp"}, V{"", "", "", "", "e.bmp"}},    // gaps before a present key are kept
        {"3", {"0=a", "1=b", "2=c", "7=h"}, V{"a", "b", "c"}},  // keys at or past the count are not entries
        {"1000", {"2=c", "02=x", "-1=y", "x=z"}, V{"", "", "c", ""}},  // only plain decimal names are entries
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        TStringList lines;
        lines.Add("[PICTURES]");
        lines.Add(std::string("activepicturescount=") + c.count);
        for (const char* key : c.keys) lines.Add(key);
        const TMemIniFile ini(lines);
        TStringList list;
        IniReadList(ini, "PICTURES", "activepictures", list);
        EXPECT_EQ(Items(list), c.entries);
    }

    const TMemIniFile ini = Ini({"[SKINCONTROLS]", "count=2147483647", "0=button:button"});
    EXPECT_EQ(IniReadDirectory(ini, "SKINCONTROLS"),
              (std::vector<SkinDirectoryEntry>{{"button", "button"}, {"", ""}}));
}

TEST(IniReadDirectory, SplitsEachEntryAtItsFirstColon) {
    const TMemIniFile ini = Ini({"[SKINCONTROLS]", "count=6", "0=button", "1=:button", "2=edit:edit",
                                 "3=a:b:c", "4=name:", "5= spaced : kind "});
    const std::vector<SkinDirectoryEntry> expected{
        {"", ""},            // no colon: nothing
        {"", "button"},      // empty name
        {"edit", "edit"},    //
        {"a", "b:c"},        // the kind is everything after the first colon
        {"name", ""},        //
        {"spaced ", " kind"}, // only the ends of the whole value are trimmed
    };
    EXPECT_EQ(IniReadDirectory(ini, "SKINCONTROLS"), expected);
    EXPECT_TRUE(IniReadDirectory(ini, "SKINOBJECTS").empty());
}

// ---- FORMINFO ----

TEST(SkinFormInfo, ReadsEveryKeyWithItsDefault) {
    SkinFormInfo info;
    info.ReadFromIni(TMemIniFile{});
    EXPECT_EQ(info, SkinFormInfo{});
    EXPECT_EQ(info.bgpictureindex, -1);
    EXPECT_EQ(info.mdibgpictureindex, -1);
    EXPECT_EQ(info.stretchtype, SkinStretchKind::Full);
    EXPECT_EQ(info.inactiveeffect, SkinImageEffect::Brightness);

    const TMemIniFile ini = Ini({"[forminfo]", "LeftTopPoint=5,6", "clientrect=5,6,95,80", "bgpictureindex=2",
                                 "stretchtype=stvert", "topstretch=1", "buttonsinleft=01", "formminwidth=120",
                                 "inactiveeffect=ieinvert", "mdibgstretchtype=nonsense", "captionrect=1,2,3,4,5"});
    info.ReadFromIni(ini);
    EXPECT_EQ(info.lefttoppoint, Point(5, 6));
    EXPECT_EQ(info.clientrect, Rect(5, 6, 95, 80));
    EXPECT_EQ(info.bgpictureindex, 2);
    EXPECT_EQ(info.stretchtype, SkinStretchKind::Vert);
    EXPECT_TRUE(info.topstretch);
    EXPECT_TRUE(info.buttonsinleft);
    EXPECT_EQ(info.formminwidth, 120);
    EXPECT_EQ(info.inactiveeffect, SkinImageEffect::Invert);
    EXPECT_EQ(info.mdibgstretchtype, SkinStretchKind::Horz);
    EXPECT_EQ(info.captionrect, Rect(1, 2, 3, 4));
    std::string names;
    for (const SkinKeyInfo& k : SkinFormInfo::Keys()) names += std::string(k.key) + " ";
    EXPECT_EQ(names,
              "lefttoppoint righttoppoint leftbottompoint rightbottompoint clientrect bgpictureindex "
              "mdibgpictureindex leftstretch rightstretch topstretch bottomstretch stretcheffect stretchtype "
              "mdibgstretcheffect mdibgstretchtype maskrectarea hittestlefttoppoint hittestrighttoppoint "
              "hittestleftbottompoint hittestrightbottompoint buttonsrect captionrect buttonsoffset buttonsinleft "
              "mainmenupopupup borderwidth formminwidth mditabstransparent mainmenubartransparent "
              "autorenderinginactiveimage inactiveeffect ");

    EXPECT_THROW(info.ReadFromIni(Ini({"[FORMINFO]", "righttoppoint=5"})), EConvertError);
}

TEST(NormalizeFormInfo, MaskAreaHitTestPointsAndCornerClamping) {
    auto base = [] {
        SkinFormInfo f;
        f.lefttoppoint = {2, 3};
        f.righttoppoint = {150, 5};
        f.leftbottompoint = {5, 250};
        f.rightbottompoint = {150, 250};
        f.clientrect = {10, 20, 100, 200};
        return f;
    };
    struct Case {
        const char* name;
        const char* mask;
        std::optional<TRect> maskArea;
        std::optional<TPoint> hitLeftTop;
        TRect wantMaskArea;
        TPoint wantHitLeftTop, wantHitRightBottom;
    };
    const Case cases[] = {
        // Without a mask the mask area and hit-test points stay as read.
        {"no mask", "", Rect(1, 1, 5, 5), Point(0, 7), Rect(1, 1, 5, 5), Point(0, 7), Point(0, 0)},
        // An empty mask area becomes the client rectangle; empty hit-test
        // points take the corner points as read, before clamping.
        {"empty area", "mask.bmp", std::nullopt, std::nullopt, Rect(10, 20, 100, 200), Point(2, 3), Point(150, 250)},
        {"area grows", "mask.bmp", Rect(0, 30, 50, 300), Point(4, 0), Rect(0, 20, 100, 300), Point(2, 3),
         Point(150, 250)},
        {"hit point kept", "mask.bmp", Rect(0, 0, 1, 1), Point(8, 9), Rect(0, 0, 100, 200), Point(8, 9),
         Point(150, 250)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SkinFormInfo f = base();
        if (c.maskArea) f.maskrectarea = *c.maskArea;
        if (c.hitLeftTop) f.hittestlefttoppoint = *c.hitLeftTop;
        NormalizeFormInfo(f, c.mask);
        EXPECT_EQ(f.maskrectarea, c.wantMaskArea);
        EXPECT_EQ(f.hittestlefttoppoint, c.wantHitLeftTop);
        EXPECT_EQ(f.hittestrightbottompoint, c.wantHitRightBottom);
        // The corner points are pulled onto the client rectangle's edges.
        EXPECT_EQ(f.lefttoppoint, Point(10, 20));
        EXPECT_EQ(f.righttoppoint, Point(100, 20));
        EXPECT_EQ(f.leftbottompoint, Point(10, 200));
        EXPECT_EQ(f.rightbottompoint, Point(100, 200));
    }

    // Corner points already inside the client edges stay where they are.
    SkinFormInfo inside = base();
    inside.lefttoppoint = {30, 40};
    inside.rightbottompoint = {60, 70};
    NormalizeFormInfo(inside, "");
    EXPECT_EQ(inside.lefttoppoint, Point(30, 40));
    EXPECT_EQ(inside.rightbottompoint, Point(60, 70));

    // A right-bottom point on the left-top point's column or row: no clamping.
    for (const TPoint rb : {Point(2, 250), Point(150, 3)}) {
        SkinFormInfo f = base();
        f.rightbottompoint = rb;
        NormalizeFormInfo(f, "");
        EXPECT_EQ(f.lefttoppoint, Point(2, 3));
        EXPECT_EQ(f.righttoppoint, Point(150, 5));
        EXPECT_EQ(f.rightbottompoint, rb);
    }
}
