// Clipboard text. The program keeps text in code page 936 with CR LF line
// ends; the desktop's clipboard holds UTF-8 with LF line ends.

#include "WindowSystemState.h"

namespace {
std::string ToDesktopLines(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        out += s[i];
    }
    return out;
}

std::string ToProgramLines(const std::string& s) {
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
        out += s[i];
    }
    return out;
}
}  // namespace

BOOL SetClipboardText(const AnsiString& text) {
    Sys().backend().SetClipboardUtf8(ToDesktopLines(AnsiToUtf8(text)));
    return TRUE;
}

AnsiString GetClipboardText() { return Utf8ToAnsi(ToProgramLines(Sys().backend().ClipboardUtf8())); }

BOOL IsClipboardFormatAvailable(UINT format) {
    if (format != CF_TEXT && format != CF_UNICODETEXT) return FALSE;
    return Sys().backend().ClipboardUtf8().empty() ? FALSE : TRUE;
}
