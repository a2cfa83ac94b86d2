#include "TStrings.h"

#include <algorithm>
#include <cstring>

#include "Exceptions.h"
#include "SysUtils.h"

namespace {

// Calls `line(view)` for every line of `text` by the line rule.
template <typename Line>
void SplitLines(std::string_view text, Line line) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
    }
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const char* start = p;
        while (p != end && *p != '\r' && *p != '\n') ++p;
        line(std::string_view(start, static_cast<std::size_t>(p - start)));
        if (p != end && *p == '\r') ++p;
        if (p != end && *p == '\n') ++p;
    }
}

bool NeedsQuotes(std::string_view s) {
    if (s.empty()) return true;
    return std::any_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',';
    });
}

bool IsCommaTextBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// ---- TStrings ----

void TStrings::RaiseIndexError(int index) {
    throw EStringListError(Format("List index out of bounds (%d)", index));
}

void TStrings::Put(int index, const AnsiString& s) {
    void* object = Objects(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

void* TStrings::Objects(int index) const {
    if (index < 0 || index >= Count()) RaiseIndexError(index);
    return nullptr;
}

void TStrings::PutObject(int, void*) {}

void TStrings::InsertObject(int index, const AnsiString& s, void* object) {
    BeginUpdate();
    Insert(index, s);
    PutObject(index, object);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    const AnsiString s1 = Strings(index1);
    void* o1 = Objects(index1);
    Put(index1, Strings(index2));
    PutObject(index1, Objects(index2));
    Put(index2, s1);
    PutObject(index2, o1);
    EndUpdate();
}

int TStrings::Add(const AnsiString& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const AnsiString& s, void* object) {
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings) {
    BeginUpdate();
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Strings(i), strings.Objects(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    BeginUpdate();
    Clear();
    AddStrings(source);
    EndUpdate();
}

void TStrings::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex) return;
    BeginUpdate();
    const AnsiString s = Strings(currentIndex);
    void* object = Objects(currentIndex);
    Delete(currentIndex);
    InsertObject(newIndex, s, object);
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i) {
        if (SameText(Strings(i), s)) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const void* object) const {
    for (int i = 0; i < Count(); ++i) {
        if (Objects(i) == object) return i;
    }
    return -1;
}

AnsiString TStrings::Names(int index) const {
    const AnsiString& s = Strings(index);
    const std::size_t pos = AnsiPos("=", s);
    return pos == 0 ? AnsiString() : s.substr(0, pos - 1);
}

AnsiString TStrings::ValueFromIndex(int index) const {
    const AnsiString& s = Strings(index);
    const std::size_t pos = AnsiPos("=", s);
    return pos == 0 ? AnsiString() : s.substr(pos);
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const AnsiString& s = Strings(i);
        const std::size_t pos = AnsiPos("=", s);
        if (pos != 0 && SameText(std::string_view(s).substr(0, pos - 1), name)) return i;
    }
    return -1;
}

AnsiString TStrings::Values(std::string_view name) const {
    const int index = IndexOfName(name);
    return index < 0 ? AnsiString() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    AnsiString item;
    item.reserve(name.size() + 1 + value.size());
    item.append(name).append(1, '=').append(value);
    if (index < 0) {
        Add(item);
    } else {
        Put(index, item);
    }
}

AnsiString TStrings::Text() const {
    std::size_t total = 0;
    for (int i = 0; i < Count(); ++i) total += Strings(i).size() + 2;
    AnsiString text;
    text.reserve(total);
    for (int i = 0; i < Count(); ++i) text.append(Strings(i)).append("\r\n");
    return text;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    Clear();
    SplitLines(text, [this](std::string_view line) { Add(AnsiString(line)); });
    EndUpdate();
}

AnsiString TStrings::CommaText() const {
    AnsiString out;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) out += ',';
        const AnsiString& s = Strings(i);
        if (!NeedsQuotes(s)) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStrings::SetCommaText(std::string_view text) {
    BeginUpdate();
    Clear();
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsCommaTextBlank(text[i])) ++i;
    while (i < n && text[i] != '\0') {
        AnsiString item;
        if (text[i] == '"') {
            // A quoted item: a doubled quote stands for one; the item ends at
            // the lone closing quote (or at the end of the text).
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < n && static_cast<unsigned char>(text[i]) > ' ' && text[i] != ',') ++i;
            item.assign(text.substr(start, i - start));
        }
        Add(item);
        while (i < n && IsCommaTextBlank(text[i])) ++i;
        if (i < n && text[i] == ',') {
            // A comma at the very end stands before one more, empty item.
            if (i + 1 >= n || text[i + 1] == '\0') Add(AnsiString());
            ++i;
            while (i < n && IsCommaTextBlank(text[i])) ++i;
        }
    }
    EndUpdate();
}

void TStrings::LoadFromFile(const AnsiString& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const AnsiString& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
    SetText(stream.ReadRemainingText());
}

void TStrings::SaveToStream(TStream& stream) const {
    const AnsiString text = Text();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

// ---- TStringList ----

void TStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit) RaiseIndexError(index);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging();
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) {
        Changing();
    } else {
        Changed();
    }
}

const AnsiString& TStringList::Strings(int index) const {
    CheckIndex(index, Count() - 1);
    return items_[static_cast<std::size_t>(index)].text;
}

void* TStringList::Objects(int index) const {
    CheckIndex(index, Count() - 1);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::InsertItem(int index, const AnsiString& s, void* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const AnsiString& s, void* object) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index, Count());
    InsertItem(index, s, object);
}

int TStringList::Add(const AnsiString& s) {
    int index = Count();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s, nullptr);
    return index;
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count() - 1);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Put(int index, const AnsiString& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index, Count() - 1);
    Changing();
    items_[static_cast<std::size_t>(index)].text = s;
    Changed();
}

void TStringList::PutObject(int index, void* object) {
    CheckIndex(index, Count() - 1);
    Changing();
    items_[static_cast<std::size_t>(index)].object = object;
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1, Count() - 1);
    CheckIndex(index2, Count() - 1);
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    if (caseSensitive_) return a.compare(b);
    return CompareText(a, b);
}

int TStringList::IndexOf(std::string_view s) const {
    if (sorted_) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (CompareStrings(items_[i].text, s) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
    // Lower bound; among equal items the first one is found.
    int low = 0;
    int high = Count();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (CompareStrings(items_[static_cast<std::size_t>(mid)].text, s) < 0) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    index = low;
    return low < Count() && CompareStrings(items_[static_cast<std::size_t>(low)].text, s) == 0;
}

void TStringList::SortItems() {
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
}

void TStringList::Sort() {
    Changing();
    SortItems();
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == caseSensitive_) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}

void TStringList::SetText(std::string_view text) {
    // The whole text in one pass: each line is built once, in place. The
    // vector is sized from a count of LF bytes so it rarely grows on the way.
    Changing();
    items_.clear();
    items_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    SplitLines(text, [this](std::string_view line) { items_.push_back(Item{AnsiString(line), nullptr}); });
    if (sorted_) {
        // A sorted list takes the lines as Add would: in order, repeats as Duplicates says.
        SortItems();
        if (duplicates_ != dupAccept) {
            auto same = [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) == 0; };
            if (duplicates_ == dupError && std::adjacent_find(items_.begin(), items_.end(), same) != items_.end()) {
                items_.clear();
                throw EStringListError("String list does not allow duplicates");
            }
            items_.erase(std::unique(items_.begin(), items_.end(), same), items_.end());
        }
    }
    Changed();
}

AnsiString TStringList::Text() const {
    std::size_t total = 0;
    for (const Item& item : items_) total += item.text.size() + 2;
    AnsiString text;
    text.reserve(total);
    for (const Item& item : items_) text.append(item.text).append("\r\n");
    return text;
}
