#pragma once
// Offering a word list to others through the desktop's mail handler, and
// writing to the program's contact address. Both hand a mailto link to the
// shell; what the mail program makes of it is the desktop's business, and the
// shell's result is not looked at.

#include <cstddef>
#include <functional>
#include <optional>

#include "AnsiString.h"
#include "MessageContract.h"
#include "ShellApi.h"
#include "TStrings.h"

// The address both mail links go to.
inline constexpr char ContactMailAddress[] = "mirvo.words@example.com";

// The longest link the desktop's opener can be given: it receives the link
// as one program argument, and the kernel refuses an argument of 128 KiB or
// more (its terminating zero included). A longer link would fail to start
// the opener at all.
inline constexpr std::size_t kMaxMailLinkBytes = (std::size_t(128) << 10) - 1;

// The shell's open call, replaceable so callers can see what is handed over.
using TShellExecute = std::function<HINSTANCE(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>;

// `text` as a URL's query value: converted to UTF-8 and every byte other
// than A-Z, a-z, 0-9 and "-._~" written as %XX, so that no character of the
// text (an "&", a "?", a line break) can end the value or start another
// field. Mail programs decode it back to the text.
AnsiString PercentEncode(std::string_view text);

// "mailto:", the contact address, "?subject=" with 单词共享, "&body=" with the
// lines, each followed by CR LF, between double quotes. Subject and body are
// percent-encoded, so a gloss holding "&cc=..." adds no recipient; the mail
// program shows the same subject and body as the text before encoding.
AnsiString WordShareLink(const TStrings& lines);
// The same link, or nothing when it would be longer than `maxBytes` (it is
// then not built whole, so a large list costs no more than the limit).
std::optional<AnsiString> WordShareLinkWithin(const TStrings& lines, std::size_t maxBytes);

// "mailto:" followed by the contact address.
AnsiString ContactMailLink();

// What the share touches in the main window.
struct TWordShareContext {
    HWND Owner = nullptr;  // the main window
    TShowSkinMessage ShowMessage;
    TShellExecute ShellExecute = ShellExecuteA;
};

// The message shown instead of sharing a list whose link would pass
// kMaxMailLinkBytes; it says how long the link may be.
AnsiString MailLinkTooLongText();

// The share button: checks the path text ("词库非法！" when it fails), reads the
// file as the import does (only a regular file, UTF-8 converted; a file that
// cannot be read raises EFOpenError naming it, and nothing is handed over)
// and opens its share link with the verb "open". A list whose link would
// pass kMaxMailLinkBytes is not handed over: the user is told why, with
// MailLinkTooLongText.
void ShareWordList(const AnsiString& pathText, const TWordShareContext& context);

// The mail button: opens the contact link with the verb "Open".
void MailContact(HWND owner, const TShellExecute& shellExecute = ShellExecuteA);
