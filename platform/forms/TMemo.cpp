#include "TMemo.h"

#include "Exceptions.h"
#include "SysUtils.h"

// --- TMemoStrings -------------------------------------------------------------------

const std::vector<AnsiString>& TMemoStrings::Split() const {
    const AnsiString text = memo_.Text();
    if (cacheValid_ && text == cachedFrom_) return cache_;
    cache_.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t br = text.find("\r\n", pos);
        if (br == AnsiString::npos) {
            cache_.push_back(text.substr(pos));
            break;
        }
        cache_.push_back(text.substr(pos, br - pos));
        pos = br + 2;
    }
    cachedFrom_ = text;
    cacheValid_ = true;
    return cache_;
}

void TMemoStrings::Join(const std::vector<AnsiString>& lines) {
    AnsiString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    memo_.SetText(text);
}

int TMemoStrings::Count() const { return int(Split().size()); }

const AnsiString& TMemoStrings::Strings(int index) const {
    const auto& lines = Split();
    if (index < 0 || index >= int(lines.size())) RaiseIndexError(index);
    return lines[std::size_t(index)];
}

void TMemoStrings::Insert(int index, const AnsiString& s) {
    std::vector<AnsiString> lines = Split();
    if (index < 0 || index > int(lines.size())) RaiseIndexError(index);
    lines.insert(lines.begin() + index, s);
    Join(lines);
}

void TMemoStrings::Delete(int index) {
    std::vector<AnsiString> lines = Split();
    if (index < 0 || index >= int(lines.size())) RaiseIndexError(index);
    lines.erase(lines.begin() + index);
    Join(lines);
}

void TMemoStrings::Put(int index, const AnsiString& s) {
    std::vector<AnsiString> lines = Split();
    if (index < 0 || index >= int(lines.size())) RaiseIndexError(index);
    lines[std::size_t(index)] = s;
    Join(lines);
}

void TMemoStrings::Clear() { memo_.SetText(""); }

void TMemoStrings::SetText(std::string_view text) { memo_.SetText(AnsiString(text)); }

// --- TCustomMemo ------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner, true), lines_(std::make_unique<TMemoStrings>(*this)) {
    SetBounds(0, 0, 185, 89);
    wordWrap_ = true;
    AutoSelect = false;
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    SetScrollBars(scrollBars_);
    TextLayoutChanged();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    scrollBars_ = value;
    // Wrapped text never needs a horizontal bar.
    const bool horz = (value == ssHorizontal || value == ssBoth) && !wordWrap_;
    const bool vert = value == ssVertical || value == ssBoth;
    bars_.SetAllowed(horz, vert, HandleAllocated() ? Handle() : nullptr);
    TextLayoutChanged();
}

TPoint TCustomMemo::CaretPosition() const {
    const int line = layout_.LineOf(buffer_.Caret());
    return {int(buffer_.Caret() - layout_.Line(line).Start), line};
}
