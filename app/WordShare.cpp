#include "WordShare.h"

#include <limits>

#include "SysUtils.h"
#include "WordImport.h"
#include "WordListFile.h"
#include "WinStyles.h"

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// Appends `text` percent-encoded to `out`; false as soon as `out` would
// pass `maxBytes`, with `out` then holding an unfinished link.
bool AppendPercentEncoded(AnsiString& out, std::string_view text, std::size_t maxBytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = AnsiToUtf8(text);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
        if (out.size() > maxBytes) return false;
    }
    return true;
}

}  // namespace

AnsiString PercentEncode(std::string_view text) {
    AnsiString out;
    AppendPercentEncoded(out, text, std::numeric_limits<std::size_t>::max());
    return out;
}

std::optional<AnsiString> WordShareLinkWithin(const TStrings& lines, std::size_t maxBytes) {
    AnsiString link = "mailto:" + AnsiString(ContactMailAddress) + "?subject=";
    if (!AppendPercentEncoded(link, "单词共享", maxBytes)) return std::nullopt;
    link += "&body=";
    if (!AppendPercentEncoded(link, "\"", maxBytes)) return std::nullopt;
    // Line by line, so a long list is never held twice over before the
    // limit stops it.
    for (int i = 0; i < lines.Count(); ++i) {
        if (!AppendPercentEncoded(link, lines.Strings(i), maxBytes)) return std::nullopt;
        if (!AppendPercentEncoded(link, "\r\n", maxBytes)) return std::nullopt;
    }
    if (!AppendPercentEncoded(link, "\"", maxBytes) || link.size() > maxBytes) return std::nullopt;
    return link;
}

AnsiString WordShareLink(const TStrings& lines) {
    return *WordShareLinkWithin(lines, std::numeric_limits<std::size_t>::max());
}

AnsiString ContactMailLink() { return "mailto:" + AnsiString(ContactMailAddress); }

AnsiString MailLinkTooLongText() {
    return "词库太长，不能放进邮件链接共享，没有发出任何单词。\r\n邮件链接最长 " +
           IntToStr(static_cast<std::int64_t>(kMaxMailLinkBytes)) +
           " 字节（约 128 KB）；编码后每个英文字母占 1 字节，每个汉字占 9 字节。\r\n请把词库分成几个小文件再共享。";
}

void ShareWordList(const AnsiString& pathText, const TWordShareContext& context) {
    if (!IsWordListPath(pathText)) {
        context.ShowMessage("词库非法！", mtInformation, mbYes);
        return;
    }
    TStringList lines;
    lines.SetText(ReadWordListFile(pathText).Text);
    const std::optional<AnsiString> link = WordShareLinkWithin(lines, kMaxMailLinkBytes);
    if (!link) {
        context.ShowMessage(MailLinkTooLongText(), mtInformation, mbYes);
        return;
    }
    context.ShellExecute(context.Owner, "open", link->c_str(), nullptr, nullptr, SW_SHOW);
}

void MailContact(HWND owner, const TShellExecute& shellExecute) {
    const AnsiString link = ContactMailLink();
    shellExecute(owner, "Open", link.c_str(), nullptr, nullptr, SW_SHOW);
}
