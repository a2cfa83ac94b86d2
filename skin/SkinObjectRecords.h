#pragma once
// Object records: the pieces of a skinned window frame and of its menus
// (caption buttons, caption text, animated pictures, user objects, popup and
// main menu items), listed in SKINOBJECTS, plus the two window records read
// from the fixed sections POPUPWINDOW and HINTWINDOW.
//
// A record is plain data named after its INI section. Its fields carry the
// names of their keys exactly as skin files spell them. ReadFromIni reads the
// base class's keys first, then the class's own, each with its default;
// WriteToIni erases the section and writes the same keys in the same order.
// Keys() lists a class's keys in that order, with their value types.

#include <vector>

#include "SkinIniValues.h"

class TbsDataSkinObject {
public:
    explicit TbsDataSkinObject(AnsiString name) : EntryName(std::move(name)) {}
    virtual ~TbsDataSkinObject() = default;

    virtual void ReadFromIni(const TMemIniFile& ini);
    virtual void WriteToIni(TMemIniFile& ini) const;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString EntryName;  // the record's name and the name of its section

    AnsiString hint;
    int activepictureindex = -1;
    bool skinrectinapicture = false;
    TRect skinrect;
    TRect activeskinrect;
    TRect inactiveskinrect;
    bool morphing = false;
    SkinMorphKind morphkind = SkinMorphKind::Default;

    friend bool operator==(const TbsDataSkinObject&, const TbsDataSkinObject&) = default;
};

// A free-form object of the frame: only its place (`skinrect`) is read; every
// other field keeps its initial value whatever the section says.
class TbsDataUserObject : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    friend bool operator==(const TbsDataUserObject&, const TbsDataUserObject&) = default;
};

class TbsDataSkinButton : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect downrect;
    TRect disableskinrsect;  // the key is spelt this way in skin files

    friend bool operator==(const TbsDataSkinButton&, const TbsDataSkinButton&) = default;
};

// A caption button with a command (close, maximize, ...) and a restore look.
class TbsDataSkinStdButton : public TbsDataSkinButton {
public:
    using TbsDataSkinButton::TbsDataSkinButton;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    SkinCommand command = SkinCommand::Default;
    TRect restorerect;
    TRect restoreactiverect;
    TRect restoredownrect;
    TRect restoreinactiverect;

    friend bool operator==(const TbsDataSkinStdButton&, const TbsDataSkinStdButton&) = default;
};

// No keys of its own: the skinned form tells it from its base by its class.
class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
public:
    using TbsDataSkinStdButton::TbsDataSkinStdButton;

    friend bool operator==(const TbsDataSkinMainMenuBarButton&, const TbsDataSkinMainMenuBarButton&) = default;
};

// An animation strip on the frame. It never morphs: `morphing` is cleared
// after reading, whatever the section says.
class TbsDataSkinAnimate : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    int countframes = 1;
    bool cycle = false;
    bool buttonstyle = false;
    int timerinterval = 50;
    SkinCommand command = SkinCommand::Default;
    TRect downskinrect;
    TRect restorerect;
    TRect restoreactiverect;
    TRect restoredownrect;
    TRect restoreinactiverect;

    friend bool operator==(const TbsDataSkinAnimate&, const TbsDataSkinAnimate&) = default;
};

// An item of a popup menu. After reading, each empty highlighted mark image
// (check, radio, arrow) takes its normal counterpart.
class TbsDataSkinMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect dividerrect;
    int dividerleftoffset = 0;
    int dividerrightoffset = 0;
    TRect textrect;
    TRect imagerect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    TColor unenabledfontcolor = 0;
    bool stretcheffect = false;
    bool inactivestretcheffect = false;
    bool dividerstretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;
    bool useimagecolor = false;
    TColor imagecolor = 0;
    TColor activeimagecolor = 0;
    bool inactivetransparent = false;
    TRect checkimagerect;
    TRect activecheckimagerect;
    TRect radioimagerect;
    TRect activeradioimagerect;
    TRect arrowimagerect;
    TRect activearrowimagerect;

    friend bool operator==(const TbsDataSkinMenuItem&, const TbsDataSkinMenuItem&) = default;
};

// An item of the form's main menu bar.
class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect downrect;
    TRect textrect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    TColor downfontcolor = 0;
    TColor unenabledfontColor = 0;  // spelt so by skin files; keys match without regard to case
    bool stretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;

    friend bool operator==(const TbsDataSkinMainMenuItem&, const TbsDataSkinMainMenuItem&) = default;
};

// No keys of its own: the skinned form tells it from its base by its class.
class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
public:
    using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;

    friend bool operator==(const TbsDataSkinMainMenuBarItem&, const TbsDataSkinMainMenuBarItem&) = default;
};

// The caption text of the frame.
class TbsDataSkinCaption : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect textrect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    SkinAlignment alignment = SkinAlignment::Center;
    bool light = false;
    TColor lightcolor = 0;
    TColor activelightcolor = 0;
    bool shadow = false;
    TColor shadowcolor = 0;
    TColor activeshadowcolor = 0;
    TRect framerect;
    TRect activeframerect;
    TRect frametextrect;
    int frameleftoffset = 0;
    int framerightoffset = 0;
    bool stretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;
    bool fullframe = false;

    friend bool operator==(const TbsDataSkinCaption&, const TbsDataSkinCaption&) = default;
};

// The window that holds a popup menu (section POPUPWINDOW). A
// `windowpictureindex` of -1 means popup windows are not skinned.
class TbsDataSkinPopupWindow {
public:
    void ReadFromIni(const TMemIniFile& ini);
    // The loader never writes it; the write form serves tools and tests.
    void WriteToIni(TMemIniFile& ini) const;
    static std::vector<SkinKeyInfo> Keys();

    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect itemsrect;
    TColor scrollmarkercolor = 0;
    TColor scrollmarkeractivecolor = 0;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;
    SkinStretchKind stretchtype = SkinStretchKind::Full;

    friend bool operator==(const TbsDataSkinPopupWindow&, const TbsDataSkinPopupWindow&) = default;
};

// The hint window (section HINTWINDOW). A `windowpictureindex` of -1 means
// hints are not skinned. Created with font height 12; reading a skin without
// the section still applies the key default 14.
class TbsDataSkinHintWindow {
public:
    void ReadFromIni(const TMemIniFile& ini);
    // The loader never writes it; the write form serves tools and tests.
    void WriteToIni(TMemIniFile& ini) const;
    static std::vector<SkinKeyInfo> Keys();

    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect clientrect;
    AnsiString fontname = "Arial";
    int fontheight = 12;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;
    SkinStretchKind stretchtype = SkinStretchKind::Full;

    friend bool operator==(const TbsDataSkinHintWindow&, const TbsDataSkinHintWindow&) = default;
};
