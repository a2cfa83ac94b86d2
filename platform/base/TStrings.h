#pragma once
// Lists of text lines: the abstract TStrings that controls expose for their
// items, and TStringList, the list that keeps its own items. Each item may
// carry an opaque pointer-sized value (Objects), never owned by the list.
//
// The line rule (SetText, LoadFromFile, LoadFromStream): a line ends at CR LF,
// at a lone CR or at a lone LF; a NUL byte ends the whole text; a last line
// without a line break still counts; a line break at the very end adds no
// empty line; empty lines in the middle are kept. Text() puts CR LF after
// every line.

#include <functional>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "Streams.h"

class TStrings {
public:
    virtual ~TStrings() = default;
    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    // ---- the operations a concrete list provides ----
    virtual int Count() const = 0;
    // Index errors raise EStringListError "List index out of bounds (%d)".
    virtual const AnsiString& Strings(int index) const = 0;
    virtual void Insert(int index, const AnsiString& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // Replaces the text of an item and keeps its object.
    virtual void Put(int index, const AnsiString& s);
    virtual void* Objects(int index) const;
    virtual void PutObject(int index, void* object);
    virtual void InsertObject(int index, const AnsiString& s, void* object);
    virtual void Exchange(int index1, int index2);

    // ---- built on the operations above ----
    const AnsiString& operator[](int index) const { return Strings(index); }
    // Returns the index of the new item.
    virtual int Add(const AnsiString& s);
    int AddObject(const AnsiString& s, void* object);
    void AddStrings(const TStrings& strings);
    void Assign(const TStrings& source);
    void Move(int currentIndex, int newIndex);

    // Searches compare ASCII letters without regard to case; -1 when absent.
    virtual int IndexOf(std::string_view s) const;
    int IndexOfObject(const void* object) const;

    // Items of the form name=value. Names(i) is empty for an item without '='.
    AnsiString Names(int index) const;
    AnsiString ValueFromIndex(int index) const;
    int IndexOfName(std::string_view name) const;
    AnsiString Values(std::string_view name) const;
    // Replaces the value of the first item with that name, or adds
    // name=value; an empty value deletes the item.
    void SetValue(std::string_view name, std::string_view value);

    virtual AnsiString Text() const;
    virtual void SetText(std::string_view text);
    // Items joined by commas; an item that is empty or holds a blank, a control
    // character, a comma or a double quote is put in double quotes (inner
    // quotes doubled). SetCommaText splits at commas and blanks outside quotes.
    AnsiString CommaText() const;
    void SetCommaText(std::string_view text);

    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName) const;
    // Reads from the stream's position to its end.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    // Brackets a batch of changes: change notifications wait for the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    // Called when the first BeginUpdate starts and the last EndUpdate ends a batch.
    virtual void SetUpdateState(bool updating);
    [[noreturn]] static void RaiseIndexError(int index);

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;

    int Count() const override { return static_cast<int>(items_.size()); }
    const AnsiString& Strings(int index) const override;
    void Insert(int index, const AnsiString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Put(int index, const AnsiString& s) override;
    void* Objects(int index) const override;
    void PutObject(int index, void* object) override;
    void InsertObject(int index, const AnsiString& s, void* object) override;
    void Exchange(int index1, int index2) override;
    int Add(const AnsiString& s) override;
    int IndexOf(std::string_view s) const override;
    void SetText(std::string_view text) override;
    AnsiString Text() const override;

    // A sorted list keeps its items in order (Add places them; Insert and
    // Put raise EStringListError) and handles repeats as Duplicates says.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    // Whether comparisons tell 'a' from 'A' (default: they do not).
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);
    void Sort();
    // Binary search of a sorted list: true when found; `index` is where the
    // item is or would go.
    bool Find(std::string_view s, int& index) const;

    std::function<void()> OnChanging;
    std::function<void()> OnChange;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view a, std::string_view b) const;

private:
    struct Item {
        AnsiString text;
        void* object = nullptr;
    };
    void CheckIndex(int index, int limit) const;
    void Changing();
    void Changed();
    void InsertItem(int index, const AnsiString& s, void* object);
    void SortItems();

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
