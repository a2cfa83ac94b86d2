#pragma once
// The multi-line edit: TCustomMemo / TMemo, with its text as a list of lines
// (Lines), word wrap at the control's width, vertical and horizontal
// scrolling with optional scroll bars, and Enter and Tab as typed text.

#include <memory>
#include <vector>

#include "TCustomEdit.h"
#include "TStrings.h"

class TCustomMemo;

// The memo's text seen as lines: reading splits the text at its line breaks,
// changing a line rewrites the text. Lines and text never disagree because
// there is only the text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}

    int Count() const override;
    const AnsiString& Strings(int index) const override;
    void Insert(int index, const AnsiString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Put(int index, const AnsiString& s) override;
    void SetText(std::string_view text) override;

private:
    const std::vector<AnsiString>& Split() const;
    void Join(const std::vector<AnsiString>& lines);

    TCustomMemo& memo_;
    mutable std::vector<AnsiString> cache_;
    mutable AnsiString cachedFrom_;
    mutable bool cacheValid_ = false;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings& Lines() { return *lines_; }
    void SetLines(const TStrings& lines) { lines_->Assign(lines); }

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }

    // The caret as (column in bytes, line) of the display lines.
    TPoint CaretPosition() const;

private:
    std::unique_ptr<TMemoStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
