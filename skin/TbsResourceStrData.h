#pragma once
// The optional table of user-interface texts a skin data component can carry:
// lines KEY=Text that skinned menus, dialogs and caption buttons take their
// captions and hints from instead of their built-in texts.

#include "AnsiString.h"
#include "Classes.h"
#include "TStrings.h"

class TbsResourceStrData : public TComponent {
public:
    // Starts with the default English table (DefaultResourceStrings).
    explicit TbsResourceStrData(TComponent* AOwner);

    const TStringList& ResStrings() const { return resStrings_; }
    // Copies the lines.
    void SetResStrings(const TStrings& lines) { resStrings_.Assign(lines); }

    // The font character set to use with these texts (1: the system default).
    int CharSet() const { return charSet_; }
    void SetCharSet(int charSet) { charSet_ = charSet; }

    // The text after the first "=" of the first line whose name (the text
    // before that "=") equals `key` without regard to case; empty when no
    // line has that name.
    AnsiString LookupString(std::string_view key) const;

private:
    TStringList resStrings_;
    int charSet_ = 1;
};

// Number of lines of the default table.
constexpr int kDefaultResourceStringCount = 130;

// Fills `lines` (cleared first) with the default table, in its fixed order.
void DefaultResourceStrings(TStrings& lines);
