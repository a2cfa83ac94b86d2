#include "MemoLayout.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t CharLen(std::string_view t, std::size_t i) { return CharLengthAt(t, i); }

}  // namespace

void TMemoLayout::Build(const AnsiString& text, int width, bool wordWrap, const MeasureFn& measure) {
    text_ = &text;
    measure_ = measure;
    lines_.clear();
    const std::string_view t = text;
    std::size_t pos = 0;
    while (true) {
        std::size_t hardEnd = t.find("\r\n", pos);
        const bool last = hardEnd == std::string_view::npos;
        if (last) hardEnd = t.size();
        std::size_t start = pos;
        if (wordWrap && width > 0 && start < hardEnd) {
            while (true) {
                // Grow the line character by character until it overflows.
                int x = 0;
                std::size_t i = start;
                std::size_t lastBreak = std::string_view::npos;  // a place to end the line
                std::size_t breakNext = 0;                        // where the next line starts then
                bool overflow = false;
                while (i < hardEnd) {
                    const std::size_t len = CharLen(t, i);
                    const int w = measure(t.substr(i, len));
                    // Blanks may hang past the edge; they never force a break.
                    if (x + w > width && !IsBlank(t[i])) {
                        overflow = true;
                        break;
                    }
                    x += w;
                    if (IsBlank(t[i])) {
                        std::size_t j = i;
                        while (j < hardEnd && IsBlank(t[j])) ++j;
                        lastBreak = i;
                        breakNext = j;
                    } else if (len == 2) {
                        // A double-byte character may start a new line, and so
                        // may the character after it.
                        if (i > start) lastBreak = i, breakNext = i;
                        if (i + len < hardEnd) lastBreak = i + len, breakNext = i + len;
                    }
                    i += len;
                }
                if (!overflow) {
                    lines_.push_back({start, hardEnd, hardEnd, true});
                    break;
                }
                std::size_t end = i;
                std::size_t next = i;
                if (lastBreak != std::string_view::npos && breakNext > start) {
                    end = lastBreak;
                    next = breakNext;
                } else if (i == start) {
                    // Not even one character fits: show it anyway.
                    end = next = start + CharLen(t, start);
                }
                while (end > start && IsBlank(t[end - 1])) --end;
                lines_.push_back({start, end, next, false});
                start = next;
                if (start >= hardEnd) {
                    lines_.back().HardBreak = true;
                    break;
                }
            }
        } else {
            lines_.push_back({start, hardEnd, hardEnd, true});
        }
        // The next display line starts after the break.
        lines_.back().Next = last ? hardEnd : hardEnd + 2;
        if (last) break;
        pos = hardEnd + 2;
    }
}

int TMemoLayout::LineOf(std::size_t offset) const {
    // The last line whose start is at or before the offset.
    auto it = std::upper_bound(lines_.begin(), lines_.end(), offset,
                               [](std::size_t off, const TMemoLine& l) { return off < l.Start; });
    if (it == lines_.begin()) return 0;
    return static_cast<int>(it - lines_.begin()) - 1;
}

int TMemoLayout::XOf(int line, std::size_t offset) const {
    if (line < 0 || line >= Count() || !text_) return 0;
    const TMemoLine& l = Line(line);
    offset = std::clamp(offset, l.Start, l.End);
    return measure_(std::string_view(*text_).substr(l.Start, offset - l.Start));
}

std::size_t TMemoLayout::OffsetAt(int line, int x) const {
    if (line < 0 || line >= Count() || !text_) return 0;
    const TMemoLine& l = Line(line);
    const std::string_view t = *text_;
    std::size_t i = l.Start;
    int left = 0;
    while (i < l.End) {
        const std::size_t len = CharLen(t, i);
        const int w = measure_(t.substr(i, len));
        if (x < left + (w + 1) / 2) return i;
        left += w;
        i += len;
    }
    return l.End;
}

int TMemoLayout::MaxWidth() const {
    int widest = 0;
    for (int i = 0; i < Count(); ++i) widest = std::max(widest, XOf(i, Line(i).End));
    return widest;
}
