#pragma once
// Breaks a memo's text into display lines. Hard lines end at CR LF; with word
// wrap a hard line is broken again where it would pass the width: after the
// last blank that still fits, or between two double-byte characters (Chinese
// text has no blanks), or, for a word longer than the whole line, after the
// last character that fits. A display line always holds at least one
// character, so a narrow memo still makes progress.
//
// The layout measures through a function so that it can be tested without a
// font; the memo passes its canvas's text width.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "AnsiString.h"

struct TMemoLine {
    std::size_t Start = 0;  // first byte
    std::size_t End = 0;    // one past the last byte shown (blanks at a wrap and CR LF excluded)
    std::size_t Next = 0;   // where the next display line starts
    bool HardBreak = false; // the line ends with CR LF (or at the end of the text)
};

class TMemoLayout {
public:
    using MeasureFn = std::function<int(std::string_view)>;

    // `width` <= 0 or `wordWrap` false: one display line per hard line.
    void Build(const AnsiString& text, int width, bool wordWrap, const MeasureFn& measure);

    const std::vector<TMemoLine>& Lines() const { return lines_; }
    int Count() const { return static_cast<int>(lines_.size()); }
    const TMemoLine& Line(int i) const { return lines_[static_cast<std::size_t>(i)]; }

    // The display line a caret offset stands on. An offset at a soft wrap
    // point belongs to the line it starts.
    int LineOf(std::size_t offset) const;
    // Pixels from the line's start to `offset` (clamped into the line).
    int XOf(int line, std::size_t offset) const;
    // The character boundary of `line` nearest to `x`.
    std::size_t OffsetAt(int line, int x) const;
    // The widest display line, in pixels.
    int MaxWidth() const;

private:
    const AnsiString* text_ = nullptr;
    MeasureFn measure_;
    std::vector<TMemoLine> lines_;
};
