#include "TerminalText.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <memory>

namespace {

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenConverter(std::string_view to, std::string_view from) {
    const iconv_t handle = iconv_open(std::string(to).c_str(), std::string(from).c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return IconvHandle(handle);
}

bool IsUtf8(std::string_view charset) { return charset == "UTF-8" || charset == "utf-8" || charset == "UTF8"; }

// Runs `in` through the converter. On a sequence that does not convert,
// `onFailure(rest, out, used)` may write a replacement at out[used] and
// returns how many input bytes to step over, or 0 to give up (no result).
template <typename OnFailure>
std::optional<std::string> Convert(iconv_t handle, std::string_view in, OnFailure onFailure) {
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t used = 0;
    bool flushed = false;
    while (!flushed) {
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        // Once the input is used up, a call without input writes whatever
        // ends the text (the shift back of a stateful charset).
        const bool flushing = srcLeft == 0;
        const std::size_t rc = flushing ? iconv(handle, nullptr, nullptr, &dst, &dstLeft)
                                        : iconv(handle, &src, &srcLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            flushed = flushing;
        } else if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {
            const std::size_t skip = std::min(srcLeft, onFailure(std::string_view(src, srcLeft), out, used));
            if (skip == 0) return std::nullopt;
            src += skip;
            srcLeft -= skip;
        }
    }
    out.resize(used);
    return out;
}

}  // namespace

std::string TerminalCharset() {
    // Only the character classification follows the user's locale; messages
    // and numbers stay as they are.
    std::setlocale(LC_CTYPE, "");
    const std::string charset = nl_langinfo(CODESET);
    if (charset.empty() || charset == "ANSI_X3.4-1968" || charset == "ASCII") return "UTF-8";
    return charset;
}

std::optional<AnsiString> TerminalToAnsi(std::string_view text, std::string_view charset) {
    const IconvHandle handle = OpenConverter("GBK", charset);
    if (!handle) return std::nullopt;
    return Convert(static_cast<iconv_t>(handle.get()), text,
                   [](std::string_view, std::string&, std::size_t&) -> std::size_t { return 0; });
}

std::string AnsiToTerminal(std::string_view ansi, std::string_view charset) {
    if (IsUtf8(charset)) return AnsiToUtf8(ansi);
    IconvHandle handle = OpenConverter(charset, "GBK");
    // A charset that iconv does not know: UTF-8 is what a terminal most likely reads.
    if (!handle) return AnsiToUtf8(ansi);
    auto replace = [](std::string_view rest, std::string& out, std::size_t& used) -> std::size_t {
        if (out.size() - used < 1) out.resize(out.size() * 2 + 1);
        out[used++] = '?';
        return CharLengthAt(rest, 0);
    };
    return *Convert(static_cast<iconv_t>(handle.get()), ansi, replace);
}
