#pragma once
// TMemIniFile: an INI description held in memory.
//
// Reading rules: a line "[name]" (after trimming) opens a section; a line
// "key=value" holds a value, with blanks around the key and the value
// trimmed; lines starting with ";" are comments; blank lines are ignored.
// Section and key names are matched without regard to case (ASCII letters).
// Of two keys with the same name in a section the first one wins; a section
// that appears twice is one section, its later keys appended to the first.
//
// Lookups go through hash indexes folded to one case, so reading a key costs
// the same in a file of a thousand sections as in a file of one.
//
// UpdateFile writes the sections back in their original order, each followed
// by an empty line, comments and lines without "=" kept where they were.

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "AnsiString.h"
#include "TStrings.h"

// Hash and equality for names compared without regard to case; transparent,
// so a lookup by std::string_view makes no copy.
struct CaseFoldedHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept;
};
struct CaseFoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};

class TMemIniFile {
public:
    TMemIniFile() = default;
    // Reads the file when it exists; a missing file gives an empty description.
    explicit TMemIniFile(const AnsiString& fileName);
    explicit TMemIniFile(const TStrings& lines);

    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& fileName) { fileName_ = fileName; }

    // Replaces the whole content with the given lines / puts it into `lines`.
    void SetStrings(const TStrings& lines);
    void GetStrings(TStrings& lines) const;
    void Clear();

    // A present key gives its value, even when empty; a missing one the default.
    AnsiString ReadString(std::string_view section, std::string_view ident, std::string_view defaultValue) const;
    // StrToIntDef of the value: empty or malformed text gives the default.
    int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
    // The integer is read with the default 1 or 0; any value but 0 is true.
    bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view ident, int value);
    void WriteBool(std::string_view section, std::string_view ident, bool value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view ident) const;
    // Each fills `strings` after clearing it: the key names of a section,
    // the section names, or the section's "key=value" lines.
    void ReadSection(std::string_view section, TStrings& strings) const;
    void ReadSections(TStrings& strings) const;
    void ReadSectionValues(std::string_view section, TStrings& strings) const;
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);

    // Writes the content to FileName() (EFCreateError when it cannot).
    void UpdateFile() const;

private:
    struct Line {
        AnsiString key;   // for a comment or a line without "=": the whole line
        AnsiString value;
        bool isValue = false;
    };
    struct Section {
        AnsiString name;
        std::vector<Line> lines;
        // Key name -> index in `lines` of its first occurrence.
        std::unordered_map<AnsiString, std::size_t, CaseFoldedHash, CaseFoldedEqual> keys;
        void AddLine(Line line);
        void Reindex();
    };

    const Section* FindSection(std::string_view name) const;
    Section& AddSection(std::string_view name);
    void ReindexSections();

    AnsiString fileName_;
    std::vector<AnsiString> preamble_;  // comments before the first section
    std::vector<Section> sections_;
    std::unordered_map<AnsiString, std::size_t, CaseFoldedHash, CaseFoldedEqual> sectionIndex_;
};
