#pragma once
// Control records: how each kind of skinned control looks. Each record is
// listed in SKINCONTROLS under a name and a kind; the kind decides the class
// (and so the keys), the name decides which control uses it.
//
// This file holds the two bases and the records the controls of this program
// read; SkinExtraControlRecords.h holds the rest of the format.
//
// A record is plain data named after its INI section. Its fields carry the
// names of their keys exactly as skin files spell them. ReadFromIni reads the
// base class's keys first, then the class's own, each with its default;
// WriteToIni erases the section and writes the same keys in the same order.
// Keys() lists a class's keys in that order, with their value types.

#include <vector>

#include "SkinIniValues.h"

class TbsDataSkinControl {
public:
    explicit TbsDataSkinControl(AnsiString name) : EntryName(std::move(name)) {}
    virtual ~TbsDataSkinControl() = default;

    virtual void ReadFromIni(const TMemIniFile& ini);
    virtual void WriteToIni(TMemIniFile& ini) const;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString EntryName;  // the record's name and the name of its section

    int pictureindex = -1;      // picture list entry holding the control's images
    int maskpictureindex = -1;  // picture list entry of a shaping mask (black = inside)
    TRect skinrect;             // the normal image; empty = no skin image

    friend bool operator==(const TbsDataSkinControl&, const TbsDataSkinControl&) = default;
};

// How a custom control's image is composed from `skinrect` at another size.
// The numbers are the resize kinds the skinned controls work with.
enum class SkinComposition : int {
    None = -1,   // `skinrect` empty: the control draws its default look
    Fixed = 0,   // `skinrect` copied unscaled; the control takes its size
    Frame = 1,   // nine parts: corners, edges and client part
    Row = 2,     // left end, middle, right end
    Column = 3,  // top end, middle, bottom end
};

// Adds the geometry that lets a control of any size be composed from
// `skinrect`. Points and `clientrect` are relative to `skinrect`.
class TbsDataSkinCustomControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    // The composition the keys ask for, tested in order: an empty `skinrect`,
    // a right-bottom point with both coordinates set, a right-top point with
    // either set, a left-bottom point with either set, and otherwise none.
    SkinComposition CompositionKind() const;

    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect clientrect;
    bool leftstretch = false;
    bool topstretch = false;
    bool rightstretch = false;
    bool bottomstretch = false;
    bool stretcheffect = false;
    SkinStretchKind stretchtype = SkinStretchKind::Full;

    friend bool operator==(const TbsDataSkinCustomControl&, const TbsDataSkinCustomControl&) = default;
};

// Kind "button": push buttons, scroll bar buttons, dialog buttons.
class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
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
    TColor downfontcolor = 0;
    TColor disabledfontcolor = 0;
    TRect activeskinrect;
    TRect downskinrect;
    TRect focusedskinrect;
    TRect disabledskinrect;
    bool morphing = false;
    SkinMorphKind morphkind = SkinMorphKind::Default;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool showfocus = false;
    TRect menumarkerflatrect;
    TRect menumarkerrect;
    TRect menumarkeractiverect;
    TRect menumarkerdownrect;
    TColor menumarkertransparentcolor = 0;

    friend bool operator==(const TbsDataSkinButtonControl&, const TbsDataSkinButtonControl&) = default;
};

// Kind "menubutton": a button with a drop-down part.
class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
public:
    using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect trackbuttonrect;

    friend bool operator==(const TbsDataSkinMenuButtonControl&, const TbsDataSkinMenuButtonControl&) = default;
};

// Kind "panel": panels and group boxes.
class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    int bgpictureindex = -1;
    TRect captionrect;
    SkinAlignment alignment = SkinAlignment::Center;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TRect checkimagerect;
    TRect uncheckimagerect;
    TRect markframerect;
    TRect framerect;
    TRect frametextrect;
    int frameleftoffset = 0;
    int framerightoffset = 0;
    TRect gripperrect;
    bool grippertransparent = false;
    TColor grippertransparentcolor = 0;

    friend bool operator==(const TbsDataSkinPanelControl&, const TbsDataSkinPanelControl&) = default;
};

// Kind "edit".
class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
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
    TColor disabledfontcolor = 0;
    TColor activefontcolor = 0;
    TRect buttonrect;
    TRect activebuttonrect;
    TRect downbuttonrect;
    TRect unenabledbuttonrect;

    friend bool operator==(const TbsDataSkinEditControl&, const TbsDataSkinEditControl&) = default;
};

// Kind "memo": an edit record with background colours for the text area.
class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
public:
    using TbsDataSkinEditControl::TbsDataSkinEditControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TColor bgcolor = 0;
    TColor activebgcolor = 0;

    friend bool operator==(const TbsDataSkinMemoControl&, const TbsDataSkinMemoControl&) = default;
};

// Kind "combobox". `listboxname` names the list box record of the drop-down list.
class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect activeskinrect;
    TRect itemrect;
    TRect activeitemrect;
    TRect focusitemrect;
    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect itemtextrect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor focusfontcolor = 0;
    TColor activefontcolor = 0;
    AnsiString listboxname;
    TRect buttonrect;
    TRect activebuttonrect;
    TRect downbuttonrect;
    TRect unenabledbuttonrect;
    bool itemstretcheffect = false;
    bool focusitemstretcheffect = false;
    bool showfocus = false;

    friend bool operator==(const TbsDataSkinComboBox&, const TbsDataSkinComboBox&) = default;
};

// Kind "listbox". The three scroll bar names refer to scroll bar records.
class TbsDataSkinListBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect itemrect;
    TRect activeitemrect;
    TRect focusitemrect;
    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect itemtextrect;
    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0;
    TColor focusfontcolor = 0;
    TRect captionrect;
    AnsiString captionfontname = "Arial";
    int captionfontheight = 14;
    TFontStyles captionfontstyle = 0;
    TColor captionfontcolor = 0;
    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;
    TRect checkbuttonrect;
    TRect activecheckbuttonrect;
    TRect downcheckbuttonrect;
    AnsiString vscrollbarname = "vscrollbar";
    AnsiString hscrollbarname = "hscrollbar";
    AnsiString bothhscrollbarname = "bothhscrollbar";
    bool showfocus = false;

    friend bool operator==(const TbsDataSkinListBox&, const TbsDataSkinListBox&) = default;
};

// Kind "checklistbox": a list box with check marks.
class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
public:
    using TbsDataSkinListBox::TbsDataSkinListBox;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect itemcheckrect;
    TRect checkimagerect;
    TRect uncheckimagerect;

    friend bool operator==(const TbsDataSkinCheckListBox&, const TbsDataSkinCheckListBox&) = default;
};

// Kind "listview": font and colours only, no geometry.
class TbsDataSkinListView : public TbsDataSkinControl {
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

    friend bool operator==(const TbsDataSkinListView&, const TbsDataSkinListView&) = default;
};

// Kind "scrollbar".
class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect trackarea;
    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;
    TRect thumbrect;
    TRect activethumbrect;
    TRect downthumbrect;
    int thumboffset1 = 0;
    int thumboffset2 = 0;
    bool thumbtransparent = false;
    TColor thumbtransparentcolor = 0;
    bool thumbstretcheffect = false;
    int thumbminsize = 0;
    int thumbminpagesize = 0;
    TRect glyphrect;
    TRect activeglyphrect;
    TRect downglyphrect;
    bool glyphtransparent = false;
    TColor glyphtransparentcolor = 0;

    friend bool operator==(const TbsDataSkinScrollBarControl&, const TbsDataSkinScrollBarControl&) = default;
};

// Kind "stdlabel": font only, no geometry. The active colour defaults to blue.
class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    AnsiString fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    TColor fontcolor = 0;
    TColor activefontcolor = 0xFF0000;

    friend bool operator==(const TbsDataSkinStdLabelControl&, const TbsDataSkinStdLabelControl&) = default;
};

// Kind "mainmenubar": the skinned form's menu bar. The string keys name
// object records (the bar's items and its buttons).
class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void ReadFromIni(const TMemIniFile& ini) override;
    void WriteToIni(TMemIniFile& ini) const override;
    static std::vector<SkinKeyInfo> Keys();

    TRect itemsrect;
    AnsiString menubaritem;
    AnsiString closebutton;
    AnsiString minbutton;
    AnsiString maxbutton;
    AnsiString sysmenubutton;
    TColor trackmarkcolor = 0;
    TColor trackmarkactivecolor = 0;
    bool stretcheffect = false;
    bool itemtransparent = false;

    friend bool operator==(const TbsDataSkinMainMenuBar&, const TbsDataSkinMainMenuBar&) = default;
};
