#include "IniFiles.h"

#include "FileUtils.h"
#include "SysUtils.h"

std::size_t CaseFoldedHash::operator()(std::string_view s) const noexcept {
    // FNV-1a over the bytes with single-byte letters upper-cased, as SameText compares.
    std::size_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (CharLengthAt(s, i) == 2) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
            c = s[++i];
        } else {
            c = AsciiUpper(c);
        }
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

bool CaseFoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }

// ---- Section ----

void TMemIniFile::Section::AddLine(Line line) {
    if (line.isValue) keys.try_emplace(line.key, lines.size());  // the first of equal keys stays
    lines.push_back(std::move(line));
}

void TMemIniFile::Section::Reindex() {
    keys.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].isValue) keys.try_emplace(lines[i].key, i);
    }
}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const AnsiString& fileName) : fileName_(fileName) {
    if (FileExists(fileName)) {
        TStringList lines;
        lines.LoadFromFile(fileName);
        SetStrings(lines);
    }
}

TMemIniFile::TMemIniFile(const TStrings& lines) { SetStrings(lines); }

void TMemIniFile::Clear() {
    preamble_.clear();
    sections_.clear();
    sectionIndex_.clear();
}

void TMemIniFile::SetStrings(const TStrings& lines) {
    Clear();
    Section* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const AnsiString s = Trim(lines[i]);
        if (s.empty()) continue;
        if (s.size() >= 2 && s.front() == '[' && s.back() == ']') {
            current = &AddSection(Trim(std::string_view(s).substr(1, s.size() - 2)));
            continue;
        }
        Line line;
        const std::size_t eq = s.front() == ';' ? 0 : AnsiPos("=", s);
        if (eq != 0) {
            line.key = Trim(std::string_view(s).substr(0, eq - 1));
            line.value = Trim(std::string_view(s).substr(eq));
            line.isValue = true;
        } else {
            line.key = s;
        }
        if (current != nullptr) {
            current->AddLine(std::move(line));
        } else {
            preamble_.push_back(s);  // kept for the write-back, never read
        }
    }
}

void TMemIniFile::GetStrings(TStrings& lines) const {
    lines.BeginUpdate();
    lines.Clear();
    for (const AnsiString& s : preamble_) lines.Add(s);
    for (const Section& section : sections_) {
        lines.Add("[" + section.name + "]");
        for (const Line& line : section.lines) {
            lines.Add(line.isValue ? line.key + "=" + line.value : line.key);
        }
        lines.Add(AnsiString());
    }
    lines.EndUpdate();
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) const {
    const auto it = sectionIndex_.find(name);
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TMemIniFile::Section& TMemIniFile::AddSection(std::string_view name) {
    const auto [it, added] = sectionIndex_.try_emplace(AnsiString(name), sections_.size());
    if (added) {
        sections_.push_back(Section{AnsiString(name), {}, {}});
    }
    return sections_[it->second];
}

void TMemIniFile::ReindexSections() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.try_emplace(sections_[i].name, i);
}

AnsiString TMemIniFile::ReadString(std::string_view section, std::string_view ident,
                                   std::string_view defaultValue) const {
    if (const Section* s = FindSection(section)) {
        const auto it = s->keys.find(ident);
        if (it != s->keys.end()) return s->lines[it->second].value;
    }
    return AnsiString(defaultValue);
}

int TMemIniFile::ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const {
    return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

bool TMemIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TMemIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
    Section& s = AddSection(section);
    const auto it = s.keys.find(ident);
    if (it != s.keys.end()) {
        s.lines[it->second].value = AnsiString(value);
    } else {
        s.AddLine(Line{AnsiString(ident), AnsiString(value), true});
    }
}

void TMemIniFile::WriteInteger(std::string_view section, std::string_view ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

void TMemIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool TMemIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    const Section* s = FindSection(section);
    return s != nullptr && s->keys.find(ident) != s->keys.end();
}

void TMemIniFile::ReadSection(std::string_view section, TStrings& strings) const {
    strings.BeginUpdate();
    strings.Clear();
    if (const Section* s = FindSection(section)) {
        for (std::size_t i = 0; i < s->lines.size(); ++i) {
            const Line& line = s->lines[i];
            // Each key once, at its first occurrence.
            if (line.isValue && s->keys.find(line.key)->second == i) strings.Add(line.key);
        }
    }
    strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& strings) const {
    strings.BeginUpdate();
    strings.Clear();
    for (const Section& s : sections_) strings.Add(s.name);
    strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const {
    strings.BeginUpdate();
    strings.Clear();
    if (const Section* s = FindSection(section)) {
        for (const Line& line : s->lines) {
            if (line.isValue) strings.Add(line.key + "=" + line.value);
        }
    }
    strings.EndUpdate();
}

void TMemIniFile::EraseSection(std::string_view section) {
    const auto it = sectionIndex_.find(section);
    if (it == sectionIndex_.end()) return;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    ReindexSections();
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view ident) {
    const auto sit = sectionIndex_.find(section);
    if (sit == sectionIndex_.end()) return;
    Section& s = sections_[sit->second];
    const auto kit = s.keys.find(ident);
    if (kit == s.keys.end()) return;
    s.lines.erase(s.lines.begin() + static_cast<std::ptrdiff_t>(kit->second));
    // A later duplicate of the key, if any, now becomes the one that is read.
    s.Reindex();
}

void TMemIniFile::UpdateFile() const {
    TStringList lines;
    GetStrings(lines);
    lines.SaveToFile(fileName_);
}
