#include "WordList.h"

#include <algorithm>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Exceptions.h"
#include "ProgramResources.h"

namespace {

// Whether the byte at `pos` starts a character when `text` is read from its
// start. Any byte that cannot be a lead byte ends a character, so reading
// starts again right after the last such byte before `pos`; the bytes from
// there to `pos` pair up as lead and trail bytes.
bool StartsCharacter(std::string_view text, std::size_t pos) {
    std::size_t runStart = pos;
    while (runStart > 0 && IsLeadByte(static_cast<unsigned char>(text[runStart - 1]))) --runStart;
    return (pos - runStart) % 2 == 0;
}

// Position of the first "|" that is a character of its own (not the second
// byte of a double-byte character), or npos.
std::size_t FindSeparator(std::string_view line) {
    std::size_t from = 0;
    while (from < line.size()) {
        const void* found = std::memchr(line.data() + from, '|', line.size() - from);
        if (found == nullptr) break;
        const std::size_t pos = static_cast<std::size_t>(static_cast<const char*>(found) - line.data());
        if (StartsCharacter(line, pos)) return pos;
        from = pos + 1;
    }
    return std::string_view::npos;
}

void CheckRoom(const TEngWordTable& table, std::size_t firstIndex, std::size_t count) {
    if (count == 0) return;
    if (firstIndex >= table.Length() || count > table.Length() - firstIndex) {
        const std::size_t firstMissing = std::max(firstIndex, table.Length());
        throw EListError("List index out of bounds (" + std::to_string(firstMissing) + ")");
    }
}

}  // namespace

AnsiString CutBetween(std::string_view text, std::string_view startDelim, std::string_view endDelim) {
    std::size_t begin = 0;
    if (const std::size_t start = AnsiPos(startDelim, text); start != 0) {
        begin = (start - 1) + CharLengthAt(text, start - 1);
    }
    const std::size_t end = AnsiPos(endDelim, text);
    if (end == 0 || end - 1 < begin) return {};
    return AnsiString(text.substr(begin, end - 1 - begin));
}

TWordLineParts SplitWordLine(std::string_view line) {
    if (line.empty()) return {};
    const std::size_t bar = FindSeparator(line);
    if (bar == std::string_view::npos) return {std::string_view(), line.substr(CharLengthAt(line, 0))};
    return {line.substr(0, bar), line.substr(bar + 1)};
}

std::vector<std::string_view> SplitWordListLines(std::string_view text) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
    }
    std::vector<std::string_view> lines;
    const char* bytes = text.data();
    const std::size_t size = text.size();
    std::size_t lineStart = 0;
    // Called for each CR and LF in order. The LF of a CR LF pair was taken
    // with its CR; lineStart is then already past it.
    auto lineBreakAt = [&](std::size_t pos) {
        if (pos < lineStart) return;
        lines.push_back(text.substr(lineStart, pos - lineStart));
        lineStart = pos + 1;
        if (bytes[pos] == '\r' && lineStart < size && bytes[lineStart] == '\n') ++lineStart;
    };
    std::size_t pos = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + pos));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        while (mask != 0) {
            lineBreakAt(pos + static_cast<std::size_t>(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; pos < size; ++pos) {
        if (bytes[pos] == '\r' || bytes[pos] == '\n') lineBreakAt(pos);
    }
    if (lineStart < size) lines.push_back(text.substr(lineStart));
    return lines;
}

void AppendWordLines(TEngWordTable& table, std::span<const std::string_view> lines, std::size_t firstIndex) {
    CheckRoom(table, firstIndex, lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TWordLineParts parts = SplitWordLine(lines[i]);
        table.Store(firstIndex + i, parts.Headword, parts.Gloss);
    }
}

void AppendWordLines(TEngWordTable& table, const TStrings& lines, std::size_t firstIndex) {
    const auto count = static_cast<std::size_t>(lines.Count());
    CheckRoom(table, firstIndex, count);
    for (std::size_t i = 0; i < count; ++i) {
        const TWordLineParts parts = SplitWordLine(lines[static_cast<int>(i)]);
        table.Store(firstIndex + i, parts.Headword, parts.Gloss);
    }
}

void AppendWordLines(std::span<const std::string_view> lines, std::size_t firstIndex) {
    AppendWordLines(WordTable, lines, firstIndex);
}

void AppendWordLines(const TStrings& lines, std::size_t firstIndex) { AppendWordLines(WordTable, lines, firstIndex); }

std::vector<std::string_view> LoadEmbeddedWordList() {
    // The resource lives in the program file, so views into it stay valid
    // after the stream is gone.
    TResourceStream stream("enwordlib", "TXT");
    return SplitWordListLines(std::string_view(stream.Memory(), static_cast<std::size_t>(stream.Size())));
}
