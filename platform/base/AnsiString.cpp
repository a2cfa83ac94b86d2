#include "AnsiString.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// One converter per direction and thread, opened on first use: iconv_open is
// far dearer than a conversion of a short text.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on a sequence that does not convert, appends
    // `replacement`, skips `skip(rest)` input bytes and goes on.
    template <typename Skip>
    std::string Run(std::string_view in, std::string_view replacement, Skip skip) {
        std::string out;
        out.resize(in.size() * 4 + 16);
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t used = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            std::size_t dstLeft = out.size() - used;
            const std::size_t rc = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
            used = out.size() - dstLeft;
            if (rc != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else {  // EILSEQ or EINVAL: a bad or cut-off sequence
                if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + replacement.size());
                std::memcpy(out.data() + used, replacement.data(), replacement.size());
                used += replacement.size();
                const std::size_t n = std::min(srcLeft, skip(std::string_view(src, srcLeft)));
                src += n;
                srcLeft -= n;
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t handle_;
};

std::size_t SkipGbkChar(std::string_view rest) {
    return CharLengthAt(rest, 0);
}

std::size_t SkipUtf8Char(std::string_view rest) {
    std::size_t n = 1;
    while (n < rest.size() && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) ++n;
    return n;
}

std::size_t SkipUtf32Char(std::string_view) { return 4; }

const std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
const std::string_view kReplacementUtf32 = std::string_view("\xFD\xFF\x00\x00", 4);

}  // namespace

std::size_t CharLengthAt(std::string_view text, std::size_t index) {
    if (index + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[index]))) return 2;
    return 1;
}

std::size_t AnsiPos(std::string_view sub, std::string_view text) {
    if (sub.empty() || sub.size() > text.size()) return 0;
    const std::size_t last = text.size() - sub.size();
    for (std::size_t i = 0; i <= last; i += CharLengthAt(text, i)) {
        if (text.compare(i, sub.size(), sub) == 0) return i + 1;
    }
    return 0;
}

namespace {

// Shifts the single-byte letters from..from+25 by `delta`, stepping over
// double-byte characters whole: their trail bytes may look like ASCII letters.
AnsiString ShiftAsciiLetters(std::string_view text, char from, int delta) {
    AnsiString out(text);
    for (std::size_t i = 0; i < out.size(); i += CharLengthAt(out, i)) {
        char& c = out[i];
        if (c >= from && c <= from + 25) c = static_cast<char>(c + delta);
    }
    return out;
}

}  // namespace

AnsiString LowerCase(std::string_view text) { return ShiftAsciiLetters(text, 'A', 'a' - 'A'); }

AnsiString UpperCase(std::string_view text) { return ShiftAsciiLetters(text, 'a', 'A' - 'a'); }

std::string AnsiToUtf8(std::string_view ansi) {
    thread_local Converter converter("UTF-8", "GBK");
    return converter.Run(ansi, kReplacementUtf8, SkipGbkChar);
}

AnsiString Utf8ToAnsi(std::string_view utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    return converter.Run(utf8, "?", SkipUtf8Char);
}

std::u32string AnsiToUtf32(std::string_view ansi) {
    thread_local Converter converter("UTF-32LE", "GBK");
    const std::string bytes = converter.Run(ansi, kReplacementUtf32, SkipGbkChar);
    std::u32string out(bytes.size() / 4, U'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

AnsiString Utf32ToAnsi(std::u32string_view text) {
    thread_local Converter converter("GBK", "UTF-32LE");
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 4);
    return converter.Run(bytes, "?", SkipUtf32Char);
}
