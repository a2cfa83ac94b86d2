#include "TSQLLines.h"

void TSQLLines::Clear() {
    lines_.clear();
    onChange_();
}

void TSQLLines::Add(std::string_view line) {
    lines_.emplace_back(line);
    onChange_();
}

AnsiString TSQLLines::Text() const {
    AnsiString text;
    for (const AnsiString& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TSQLLines::SetText(std::string_view text) {
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    onChange_();
}
