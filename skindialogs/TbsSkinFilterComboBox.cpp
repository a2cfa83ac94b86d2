#include "TbsSkinFilterComboBox.h"

#include "SysUtils.h"

std::vector<TbsFilterPair> SplitFileFilter(const AnsiString& filter) {
    std::vector<TbsFilterPair> pairs;
    std::vector<AnsiString> parts;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|'); bar != AnsiString::npos; bar = filter.find('|', start)) {
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    // The unterminated rest counts only as the pattern of a pair.
    const bool restIsPattern = parts.size() % 2 == 1;
    if (restIsPattern) parts.push_back(filter.substr(start));
    for (std::size_t i = 0; i < parts.size(); i += 2)
        pairs.push_back({parts[i], i + 1 < parts.size() ? parts[i + 1] : AnsiString()});
    return pairs;
}

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner) : TbsSkinComboBox(AOwner) {
    filter_ = "All files (*.*)|*.*";
    Build();
}

void TbsSkinFilterComboBox::SetFilter(const AnsiString& value) {
    if (CompareText(value, filter_) == 0) return;
    filter_ = value;
    Build();
    if (OnChange) OnChange(this);
}

void TbsSkinFilterComboBox::Build() {
    Items().BeginUpdate();
    Items().Clear();
    patterns_.clear();
    for (const TbsFilterPair& pair : SplitFileFilter(filter_)) {
        Items().Add(pair.Description);
        patterns_.push_back(pair.Pattern);
    }
    Items().EndUpdate();
    if (!patterns_.empty()) SetItemIndex(0);
}

AnsiString TbsSkinFilterComboBox::Mask() {
    if (patterns_.empty()) return "*.*";
    if (ItemIndex() < 0) SetItemIndex(int(patterns_.size()) - 1);
    const int index = ItemIndex();
    return index >= 0 && index < int(patterns_.size()) ? patterns_[std::size_t(index)] : AnsiString("*.*");
}
