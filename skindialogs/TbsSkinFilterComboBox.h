#pragma once
// The open dialog's file type box: a skinned combo box with one item per
// "description|pattern" pair of its Filter, the patterns kept beside the
// items. Its current pattern is the selected item's ("*.*" with no items).

#include <vector>

#include "TbsSkinComboBox.h"

// Splits a filter into description and pattern pairs, in order: a
// description followed by "|" but no pattern gets an empty pattern; text
// after the last complete pair without a "|" is dropped.
struct TbsFilterPair {
    AnsiString Description;
    AnsiString Pattern;
};
std::vector<TbsFilterPair> SplitFileFilter(const AnsiString& filter);

class TbsSkinFilterComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinFilterComboBox(TComponent* AOwner);

    const AnsiString& Filter() const { return filter_; }
    // A filter that differs (letter case aside) rebuilds the items, selects
    // the first, and raises OnChange.
    void SetFilter(const AnsiString& value);
    // The pattern of the selected item; with none selected the last item is
    // selected first; "*.*" when there are no items.
    AnsiString Mask();
    const std::vector<AnsiString>& Patterns() const { return patterns_; }

private:
    void Build();

    AnsiString filter_;
    std::vector<AnsiString> patterns_;
};
