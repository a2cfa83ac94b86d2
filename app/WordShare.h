#pragma once
// Offering a word list to others through the desktop's mail handler, and
// writing to the program's contact address. Both hand a mailto link to the
// shell; what the mail program makes of it is the desktop's business, and the
// shell's result is not looked at.

#include <functional>

#include "AnsiString.h"
#include "MessageContract.h"
#include "ShellApi.h"
#include "TStrings.h"

// The address both mail links go to.
inline constexpr char ContactMailAddress[] = "mirvo.words@example.com";

// The shell's open call, replaceable so callers can see what is handed over.
using TShellExecute = std::function<HINSTANCE(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>;

// "mailto:", the contact address, "?subject=单词共享&body=", then the lines,
// each followed by CR LF, between double quotes. The text goes in as it is,
// without percent-encoding, line breaks included.
AnsiString WordShareLink(const TStrings& lines);

// "mailto:" followed by the contact address.
AnsiString ContactMailLink();

// What the share touches in the main window.
struct TWordShareContext {
    HWND Owner = nullptr;  // the main window
    TShowSkinMessage ShowMessage;
    TShellExecute ShellExecute = ShellExecuteA;
};

// The share button: checks the path text ("词库非法！" when it fails), reads the
// file as the import does (only a regular file, UTF-8 converted; a file that
// cannot be read raises EFOpenError naming it, and nothing is handed over)
// and opens its share link with the verb "open".
void ShareWordList(const AnsiString& pathText, const TWordShareContext& context);

// The mail button: opens the contact link with the verb "Open".
void MailContact(HWND owner, const TShellExecute& shellExecute = ShellExecuteA);
