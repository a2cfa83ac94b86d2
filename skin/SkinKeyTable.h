#pragma once
// A table of the keys of one record class: key name, value type, the member it
// fills and its default. Reading, writing and listing a record all walk the
// same table, so the three can never disagree on a key's name, order, type or
// default.

#include <functional>
#include <utility>
#include <vector>

#include "SkinIniValues.h"

template <class R>
class SkinKeyTable {
public:
    using Reader = std::function<void(R&, const TMemIniFile&, std::string_view)>;
    using Writer = std::function<void(const R&, TMemIniFile&, std::string_view)>;

    SkinKeyTable& Integer(const char* key, int R::*member, int defaultValue) {
        return Add(key, SkinValueType::Integer,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) {
                       r.*member = IniReadInteger(ini, s, key, defaultValue);
                   },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteInteger(ini, s, key, r.*member); });
    }

    SkinKeyTable& Colour(const char* key, TColor R::*member, TColor defaultValue = 0) {
        return Add(key, SkinValueType::Colour,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) {
                       r.*member = IniReadColor(ini, s, key, defaultValue);
                   },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteColor(ini, s, key, r.*member); });
    }

    SkinKeyTable& Boolean(const char* key, bool R::*member) {
        return Add(key, SkinValueType::Boolean,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadBool(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteBool(ini, s, key, r.*member); });
    }

    SkinKeyTable& String(const char* key, AnsiString R::*member, const char* defaultValue = "") {
        return Add(key, SkinValueType::String,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) {
                       r.*member = IniReadString(ini, s, key, defaultValue);
                   },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteString(ini, s, key, r.*member); });
    }

    SkinKeyTable& Point(const char* key, TPoint R::*member) {
        return Add(key, SkinValueType::Point,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadPoint(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWritePoint(ini, s, key, r.*member); });
    }

    SkinKeyTable& Rect(const char* key, TRect R::*member) {
        return Add(key, SkinValueType::Rect,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadRect(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteRect(ini, s, key, r.*member); });
    }

    SkinKeyTable& FontStyle(const char* key, TFontStyles R::*member) {
        return Add(key, SkinValueType::FontStyle,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadFontStyle(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteFontStyle(ini, s, key, r.*member); });
    }

    SkinKeyTable& Alignment(const char* key, SkinAlignment R::*member) {
        return Add(key, SkinValueType::Alignment,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadAlignment(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteAlignment(ini, s, key, r.*member); });
    }

    SkinKeyTable& StretchKind(const char* key, SkinStretchKind R::*member) {
        return Add(key, SkinValueType::StretchKind,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadStretchKind(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) {
                       IniWriteStretchKind(ini, s, key, r.*member);
                   });
    }

    SkinKeyTable& MorphKind(const char* key, SkinMorphKind R::*member) {
        return Add(key, SkinValueType::MorphKind,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadMorphKind(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteMorphKind(ini, s, key, r.*member); });
    }

    SkinKeyTable& Command(const char* key, SkinCommand R::*member) {
        return Add(key, SkinValueType::Command,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadCommand(ini, s, key); },
                   [=](const R& r, TMemIniFile& ini, std::string_view s) { IniWriteCommand(ini, s, key, r.*member); });
    }

    // The inactive-frame effect is read but has no written form.
    SkinKeyTable& ImageEffect(const char* key, SkinImageEffect R::*member) {
        return Add(key, SkinValueType::ImageEffect,
                   [=](R& r, const TMemIniFile& ini, std::string_view s) { r.*member = IniReadImageEffect(ini, s, key); },
                   Writer{});
    }

    // The four font keys that most records carry, in their usual order.
    SkinKeyTable& Font(AnsiString R::*name, int R::*height, TFontStyles R::*style, TColor R::*color) {
        return String("fontname", name, "Arial").Integer("fontheight", height, 14).FontStyle("fontstyle", style).Colour(
            "fontcolor", color);
    }

    void Read(R& record, const TMemIniFile& ini, std::string_view section) const {
        for (const Entry& e : entries_) e.read(record, ini, section);
    }

    void Write(const R& record, TMemIniFile& ini, std::string_view section) const {
        for (const Entry& e : entries_)
            if (e.write) e.write(record, ini, section);
    }

    // Appends the keys of this table to `keys`.
    void AppendInfo(std::vector<SkinKeyInfo>& keys) const {
        for (const Entry& e : entries_) keys.push_back(e.info);
    }

private:
    struct Entry {
        SkinKeyInfo info;
        Reader read;
        Writer write;
    };

    SkinKeyTable& Add(const char* key, SkinValueType type, Reader read, Writer write) {
        entries_.push_back(Entry{{key, type}, std::move(read), std::move(write)});
        return *this;
    }

    std::vector<Entry> entries_;
};

// ---- the three operations of a record class whose keys follow its base's ----

template <class C>
std::vector<SkinKeyInfo> KeysOf(const SkinKeyTable<C>& table) {
    std::vector<SkinKeyInfo> keys;
    table.AppendInfo(keys);
    return keys;
}

// The keys of `Base` followed by the class's own.
template <class Base, class C>
std::vector<SkinKeyInfo> KeysAfter(const SkinKeyTable<C>& own) {
    std::vector<SkinKeyInfo> keys = Base::Keys();
    own.AppendInfo(keys);
    return keys;
}

// Runs the base's read (not the override: the call is qualified), then reads
// the class's own keys from the record's section.
template <class Base, class C>
void ReadAfter(C& record, const TMemIniFile& ini, const SkinKeyTable<C>& own) {
    record.Base::ReadFromIni(ini);
    own.Read(record, ini, record.EntryName);
}

// The base's write erases the section and writes the base keys first.
template <class Base, class C>
void WriteAfter(const C& record, TMemIniFile& ini, const SkinKeyTable<C>& own) {
    record.Base::WriteToIni(ini);
    own.Write(record, ini, record.EntryName);
}

// For a class at the root of its family: its section holds its keys only.
template <class C>
void WriteSection(const C& record, TMemIniFile& ini, std::string_view section, const SkinKeyTable<C>& keys) {
    ini.EraseSection(section);
    keys.Write(record, ini, section);
}
