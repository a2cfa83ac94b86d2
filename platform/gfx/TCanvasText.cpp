// TCanvas: text output, measuring and DrawText layout. Text arrives in code
// page 936 and becomes Unicode code points here, at the glyph lookup.

#include <algorithm>

#include "FontEngine.h"
#include "TBitmap.h"
#include "TCanvas.h"

namespace {

constexpr int kTabColumns = 8;

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// Lines may break after a space and on either side of an ideograph (Chinese
// text has no spaces between words).
bool IsIdeographic(char32_t c) { return c >= 0x2E80; }

std::uint8_t Blend(std::uint32_t dst, std::uint32_t src, int shift, unsigned a) {
    const unsigned d = (dst >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    return std::uint8_t((s * a + d * (255 - a) + 127) / 255);
}

}  // namespace

int TCanvas::TextRunWidth(std::span<const TextChar> text, int tabWidth) {
    FontInstance& font = FontFor(Font);
    int x = 0;
    for (const TextChar& ch : text) {
        if (ch.c == U'\t' && tabWidth > 0)
            x = (x / tabWidth + 1) * tabWidth;
        else
            x += font.Advance(ch.c);
    }
    return x;
}

// Draws glyphs with their top-left cell corner at surface point (x, y), in
// the font colour, blending the anti-aliased edges into the pixels.
void TCanvas::DrawTextRun(int x, int y, std::span<const TextChar> text, int tabWidth, const TRegion& clip) {
    if (!target_ || clip.IsEmpty() || text.empty()) return;
    FontInstance& font = FontFor(Font);
    const std::uint32_t ink = ColorToPixel(Font.Color());
    const int baseline = y + font.Ascent();
    const std::vector<TRect> clipRects = clip.Rects();
    const TRect clipBox = clip.BoundingBox();

    int penX = x;
    for (const TextChar& ch : text) {
        const int start = penX;
        if (ch.c == U'\t' && tabWidth > 0) {
            penX = x + ((penX - x) / tabWidth + 1) * tabWidth;
        } else {
            const GlyphImage& g = font.Glyph(ch.c);
            const TRect box = Bounds(penX + g.Left, baseline - g.Top, g.Width, g.Height);
            if (!IsRectEmpty(IntersectRect(box, clipBox))) {
                for (const TRect& c : clipRects) {
                    const TRect part = IntersectRect(box, c);
                    if (IsRectEmpty(part)) continue;
                    for (int py = part.Top; py < part.Bottom; ++py) {
                        const std::uint8_t* cov = g.Coverage.data() + std::size_t(py - box.Top) * std::size_t(g.Width);
                        std::uint32_t* row = target_->ScanLine(py);
                        for (int px = part.Left; px < part.Right; ++px) {
                            const unsigned a = cov[px - box.Left];
                            if (a == 0) continue;
                            std::uint32_t& p = row[px];
                            p = a == 255 ? ink
                                         : 0xFF000000u | (std::uint32_t(Blend(p, ink, 16, a)) << 16) |
                                               (std::uint32_t(Blend(p, ink, 8, a)) << 8) | Blend(p, ink, 0, a);
                        }
                    }
                }
            }
            penX += g.Advance;
        }
        if (ch.underline) {
            const int top = baseline + font.UnderlineOffset();
            FillSurfaceRect({start, top, penX, top + font.LineThickness()}, ink, clip);
        }
    }
    if (Font.HasStyle(fsUnderline)) {
        const int top = baseline + font.UnderlineOffset();
        FillSurfaceRect({x, top, penX, top + font.LineThickness()}, ink, clip);
    }
    if (Font.HasStyle(fsStrikeOut)) {
        const int top = baseline - font.StrikeOutOffset();
        FillSurfaceRect({x, top, penX, top + font.LineThickness()}, ink, clip);
    }
}

TSize TCanvas::TextExtentW(std::u32string_view text) {
    std::vector<TextChar> chars;
    chars.reserve(text.size());
    for (char32_t c : text) chars.push_back({c, false});
    return {TextRunWidth(chars, 0), FontFor(Font).CellHeight()};
}

TSize TCanvas::TextExtent(const AnsiString& text) { return TextExtentW(AnsiToUtf32(text)); }

void TCanvas::TextOutW(int x, int y, std::u32string_view text) {
    std::vector<TextChar> chars;
    chars.reserve(text.size());
    for (char32_t c : text) chars.push_back({c, false});
    const TSize size{TextRunWidth(chars, 0), FontFor(Font).CellHeight()};
    const TPoint s{x + Shift().X, y + Shift().Y};
    const TRegion clip = SurfaceClip();
    if (Brush.Style != bsClear) FillSurfaceRect(Bounds(s.X, s.Y, size.cx, size.cy), ColorToPixel(Brush.Color), clip);
    DrawTextRun(s.X, s.Y, chars, 0, clip);
    penPos_ = {x + size.cx, y};
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) { TextOutW(x, y, AnsiToUtf32(text)); }

void TCanvas::TextRect(const TRect& rect, int x, int y, const AnsiString& text) {
    const std::u32string wide = AnsiToUtf32(text);
    std::vector<TextChar> chars;
    for (char32_t c : wide) chars.push_back({c, false});
    TRegion clip(ToSurface(rect));
    clip.Combine(clip, SurfaceClip(), RGN_AND);
    if (Brush.Style != bsClear) FillSurfaceRect(ToSurface(rect), ColorToPixel(Brush.Color), clip);
    DrawTextRun(x + Shift().X, y + Shift().Y, chars, 0, clip);
}

int TCanvas::DrawText(const AnsiString& text, TRect& rect, unsigned flags) {
    return DrawTextW(AnsiToUtf32(text), rect, flags);
}

int TCanvas::DrawTextW(std::u32string_view text, TRect& rect, unsigned flags) {
    std::vector<TextChar> chars;
    chars.reserve(text.size());
    // "&x" underlines x, "&&" is one "&", a lone "&" at the end shows nothing.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'&' && !(flags & DT_NOPREFIX)) {
            if (++i >= text.size()) break;
            chars.push_back({text[i], text[i] != U'&'});
        } else {
            chars.push_back({text[i], false});
        }
    }
    return DrawTextChars(std::move(chars), rect, flags);
}

namespace {

// The longest n in [0, limit] for which fits(n) holds, where fits holds for
// every n up to some point and for none after it; 0 when only 0 is left.
// A binary search keeps shortening a long line to a logarithmic number of
// measurements.
template <typename Fits>
std::size_t LongestFitting(std::size_t limit, Fits fits) {
    std::size_t lo = 0, hi = limit;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo + 1) / 2;
        if (fits(mid)) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

}  // namespace

// Cuts characters off the end of a line that is too wide and puts "..."
// after what is left, which fits (or is "..." alone).
void TCanvas::EndEllipsify(std::vector<TextChar>& line, int maxWidth, int tabWidth) {
    if (TextRunWidth(line, tabWidth) <= maxWidth) return;
    const std::vector<TextChar> dots(3, TextChar{U'.', false});
    const auto shortened = [&](std::size_t keep) {
        std::vector<TextChar> trial(line.begin(), line.begin() + std::ptrdiff_t(keep));
        trial.insert(trial.end(), dots.begin(), dots.end());
        return trial;
    };
    const std::size_t keep = LongestFitting(line.size() - 1, [&](std::size_t n) {
        return TextRunWidth(shortened(n), tabWidth) <= maxWidth;
    });
    line = shortened(keep);
}

// "/home/user/words/list.txt" too wide becomes "/home/us.../list.txt": the
// head (everything before the last separator) loses characters at its end
// until head + "..." + tail fits. The tail keeps its separator. When even
// "..." + tail is too wide, that is the result (the caller's DT_END_ELLIPSIS,
// if given, cuts it further); a line with no head before its last separator
// is cut at its end, which keeps its start readable.
void TCanvas::PathEllipsify(std::vector<TextChar>& line, int maxWidth, int tabWidth) {
    if (TextRunWidth(line, tabWidth) <= maxWidth) return;
    std::size_t split = line.size();
    while (split > 0 && line[split - 1].c != U'/' && line[split - 1].c != U'\\') --split;
    if (split <= 1) {
        // No head to shorten ("name" or "/name").
        EndEllipsify(line, maxWidth, tabWidth);
        return;
    }
    --split;  // the separator belongs to the tail
    const std::vector<TextChar> dots(3, TextChar{U'.', false});
    const auto shortened = [&](std::size_t keep) {
        std::vector<TextChar> trial(line.begin(), line.begin() + std::ptrdiff_t(keep));
        trial.insert(trial.end(), dots.begin(), dots.end());
        trial.insert(trial.end(), line.begin() + std::ptrdiff_t(split), line.end());
        return trial;
    };
    const std::size_t keep = LongestFitting(split - 1, [&](std::size_t n) {
        return TextRunWidth(shortened(n), tabWidth) <= maxWidth;
    });
    line = shortened(keep);
}

int TCanvas::DrawTextChars(std::vector<TextChar> text, TRect& rect, unsigned flags) {
    FontInstance& font = FontFor(Font);
    const int lineHeight = font.CellHeight();
    const int tabWidth = (flags & DT_EXPANDTABS) ? kTabColumns * font.AveCharWidth() : 0;
    const bool singleLine = flags & DT_SINGLELINE;
    const int maxWidth = rect.Width();

    if (text.empty()) {
        if (flags & DT_CALCRECT) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top + (singleLine ? lineHeight : 0);
        }
        return singleLine ? lineHeight : 0;
    }

    // Split into lines: at line breaks unless single-line, then by width.
    std::vector<std::vector<TextChar>> lines;
    std::vector<std::vector<TextChar>> paragraphs(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i].c;
        if (!singleLine && (c == U'\r' || c == U'\n')) {
            if (c == U'\r' && i + 1 < text.size() && text[i + 1].c == U'\n') ++i;
            paragraphs.emplace_back();
        } else if (!(singleLine && (c == U'\r' || c == U'\n'))) {
            paragraphs.back().push_back(text[i]);
        }
    }
    for (auto& paragraph : paragraphs) {
        if (!(flags & DT_WORDBREAK) || singleLine) {
            lines.push_back(std::move(paragraph));
            continue;
        }
        std::size_t start = 0;
        do {
            // Extend the line a character at a time; once it is too wide, cut
            // at the last break chance. A word wider than the line stays whole.
            std::size_t lastBreak = start, end = start;
            for (; end < paragraph.size(); ++end) {
                std::size_t visible = end + 1;
                while (visible > start && IsSpace(paragraph[visible - 1].c)) --visible;
                const std::span<const TextChar> run(paragraph.data() + start, visible - start);
                if (lastBreak > start && TextRunWidth(run, tabWidth) > maxWidth) break;
                const char32_t c = paragraph[end].c;
                if (IsSpace(c) || IsIdeographic(c) ||
                    (end + 1 < paragraph.size() && IsIdeographic(paragraph[end + 1].c)))
                    lastBreak = end + 1;
            }
            const std::size_t cut = end >= paragraph.size() ? end : lastBreak;
            std::vector<TextChar> line(paragraph.begin() + std::ptrdiff_t(start),
                                       paragraph.begin() + std::ptrdiff_t(cut));
            while (!line.empty() && IsSpace(line.back().c)) line.pop_back();
            lines.push_back(std::move(line));
            start = cut;
            while (start < paragraph.size() && IsSpace(paragraph[start].c)) ++start;
        } while (start < paragraph.size());
    }

    for (auto& line : lines) {
        if (flags & DT_PATH_ELLIPSIS) PathEllipsify(line, maxWidth, tabWidth);
        if (flags & DT_END_ELLIPSIS) EndEllipsify(line, maxWidth, tabWidth);
    }

    std::vector<int> widths;
    int widest = 0;
    for (const auto& line : lines) {
        widths.push_back(TextRunWidth(line, tabWidth));
        widest = std::max(widest, widths.back());
    }
    const int textHeight = lineHeight * int(lines.size());

    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + textHeight;
        return textHeight;
    }

    int y = rect.Top;
    if (singleLine) {
        if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    TRegion clip = SurfaceClip();
    if (!(flags & DT_NOCLIP)) clip.Combine(clip, TRegion(ToSurface(rect)), RGN_AND);
    const TPoint shift = Shift();
    for (std::size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
        int x = rect.Left;
        if (flags & DT_CENTER)
            x = (rect.Left + rect.Right - widths[i]) / 2;
        else if (flags & DT_RIGHT)
            x = rect.Right - widths[i];
        if (Brush.Style != bsClear)
            FillSurfaceRect(Bounds(x + shift.X, y + shift.Y, widths[i], lineHeight), ColorToPixel(Brush.Color), clip);
        DrawTextRun(x + shift.X, y + shift.Y, lines[i], tabWidth, clip);
    }
    return y - rect.Top;
}
