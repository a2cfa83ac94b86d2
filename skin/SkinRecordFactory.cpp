#include "SkinRecordFactory.h"

#include <array>
#include <typeinfo>

namespace {

template <class Base, class C>
std::unique_ptr<Base> Create(const AnsiString& name) {
    return std::make_unique<C>(name);
}

template <class C>
constexpr SkinObjectKind ObjectKind(const char* kind, const char* className) {
    return {kind, className, &Create<TbsDataSkinObject, C>, &C::Keys};
}

template <class C>
constexpr SkinControlKind ControlKind(const char* kind, const char* className) {
    return {kind, className, &Create<TbsDataSkinControl, C>, &C::Keys};
}

const std::array kObjectKinds{
    ObjectKind<TbsDataSkinMenuItem>("menuitem", "TbsDataSkinMenuItem"),
    ObjectKind<TbsDataSkinMainMenuBarItem>("mainmenubaritem", "TbsDataSkinMainMenuBarItem"),
    ObjectKind<TbsDataSkinStdButton>("stdbutton", "TbsDataSkinStdButton"),
    ObjectKind<TbsDataSkinMainMenuBarButton>("mainmenubarbutton", "TbsDataSkinMainMenuBarButton"),
    ObjectKind<TbsDataSkinButton>("button", "TbsDataSkinButton"),
    ObjectKind<TbsDataSkinCaption>("caption", "TbsDataSkinCaption"),
    ObjectKind<TbsDataSkinAnimate>("animate", "TbsDataSkinAnimate"),
    ObjectKind<TbsDataUserObject>("userobject", "TbsDataUserObject"),
};

const std::array kControlKinds{
    ControlKind<TbsDataSkinPanelControl>("panel", "TbsDataSkinPanelControl"),
    ControlKind<TbsDataSkinExPanelControl>("expanel", "TbsDataSkinExPanelControl"),
    ControlKind<TbsDataSkinMenuButtonControl>("menubutton", "TbsDataSkinMenuButtonControl"),
    ControlKind<TbsDataSkinButtonControl>("button", "TbsDataSkinButtonControl"),
    ControlKind<TbsDataSkinCheckRadioControl>("checkradio", "TbsDataSkinCheckRadioControl"),
    ControlKind<TbsDataSkinGaugeControl>("gauge", "TbsDataSkinGaugeControl"),
    ControlKind<TbsDataSkinSplitterControl>("splitter", "TbsDataSkinSplitterControl"),
    ControlKind<TbsDataSkinTrackBarControl>("trackbar", "TbsDataSkinTrackBarControl"),
    ControlKind<TbsDataSkinLabelControl>("label", "TbsDataSkinLabelControl"),
    ControlKind<TbsDataSkinStdLabelControl>("stdlabel", "TbsDataSkinStdLabelControl"),
    ControlKind<TbsDataSkinUpDownControl>("updown", "TbsDataSkinUpDownControl"),
    ControlKind<TbsDataSkinGridControl>("grid", "TbsDataSkinGridControl"),
    ControlKind<TbsDataSkinTabControl>("tab", "TbsDataSkinTabControl"),
    ControlKind<TbsDataSkinMainMenuBar>("mainmenubar", "TbsDataSkinMainMenuBar"),
    ControlKind<TbsDataSkinControlBar>("controlbar", "TbsDataSkinControlBar"),
    ControlKind<TbsDataSkinMemoControl>("memo", "TbsDataSkinMemoControl"),
    ControlKind<TbsDataSkinEditControl>("edit", "TbsDataSkinEditControl"),
    ControlKind<TbsDataSkinCheckListBox>("checklistbox", "TbsDataSkinCheckListBox"),
    ControlKind<TbsDataSkinListBox>("listbox", "TbsDataSkinListBox"),
    ControlKind<TbsDataSkinComboBox>("combobox", "TbsDataSkinComboBox"),
    ControlKind<TbsDataSkinScrollBarControl>("scrollbar", "TbsDataSkinScrollBarControl"),
    ControlKind<TbsDataSkinSpinEditControl>("spinedit", "TbsDataSkinSpinEditControl"),
    ControlKind<TbsDataSkinScrollBoxControl>("scrollbox", "TbsDataSkinScrollBoxControl"),
    ControlKind<TbsDataSkinTreeView>("treeview", "TbsDataSkinTreeView"),
    ControlKind<TbsDataSkinBevel>("bevel", "TbsDataSkinBevel"),
    ControlKind<TbsDataSkinSlider>("slider", "TbsDataSkinSlider"),
    ControlKind<TbsDataSkinListView>("listview", "TbsDataSkinListView"),
    ControlKind<TbsDataSkinRichEdit>("richedit", "TbsDataSkinRichEdit"),
};

template <class Record, class Kind>
std::unique_ptr<Record> CreateOfKind(std::span<const Kind> kinds, std::string_view kind, const AnsiString& name) {
    for (const Kind& k : kinds)
        if (kind == k.kind) return k.create(name);
    return nullptr;
}

template <class Record, class Kind>
void ReadDirectory(const TMemIniFile& ini, std::string_view section, std::span<const Kind> kinds,
                   std::vector<std::unique_ptr<Record>>& records) {
    for (const SkinDirectoryEntry& entry : IniReadDirectory(ini, section)) {
        auto record = CreateOfKind<Record>(kinds, entry.kind, entry.name);
        if (!record) continue;
        records.push_back(std::move(record));
        records.back()->ReadFromIni(ini);
    }
}

template <class Record>
AnsiString WrittenForm(const Record& record) {
    TMemIniFile ini;
    record.WriteToIni(ini);
    TStringList lines;
    ini.ReadSectionValues(record.EntryName, lines);
    return lines.Text();
}

template <class Record>
bool SameRecord(const Record& a, const Record& b) {
    return typeid(a) == typeid(b) && a.EntryName == b.EntryName && WrittenForm(a) == WrittenForm(b);
}

}  // namespace

std::span<const SkinObjectKind> SkinObjectKinds() { return kObjectKinds; }
std::span<const SkinControlKind> SkinControlKinds() { return kControlKinds; }

std::unique_ptr<TbsDataSkinObject> CreateSkinObjectRecord(std::string_view kind, const AnsiString& name) {
    return CreateOfKind<TbsDataSkinObject>(SkinObjectKinds(), kind, name);
}

std::unique_ptr<TbsDataSkinControl> CreateSkinControlRecord(std::string_view kind, const AnsiString& name) {
    return CreateOfKind<TbsDataSkinControl>(SkinControlKinds(), kind, name);
}

void ReadSkinObjects(const TMemIniFile& ini, std::vector<std::unique_ptr<TbsDataSkinObject>>& records) {
    ReadDirectory(ini, "SKINOBJECTS", SkinObjectKinds(), records);
}

void ReadSkinControls(const TMemIniFile& ini, std::vector<std::unique_ptr<TbsDataSkinControl>>& records) {
    ReadDirectory(ini, "SKINCONTROLS", SkinControlKinds(), records);
}

bool SameSkinRecord(const TbsDataSkinObject& a, const TbsDataSkinObject& b) { return SameRecord(a, b); }
bool SameSkinRecord(const TbsDataSkinControl& a, const TbsDataSkinControl& b) { return SameRecord(a, b); }
