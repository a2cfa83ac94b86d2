#pragma once
// Reading a word list file as the program's text (code page 936), whichever
// way it was saved: a list saved as UTF-8, the default of Linux editors, is
// recognised and converted, so that its Chinese reaches the database as GBK
// rather than as garbled bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "AnsiString.h"

struct TWordListText {
    AnsiString Text;            // in code page 936
    bool FromUtf8 = false;      // the file was UTF-8 and has been converted
    std::size_t Replaced = 0;   // characters GBK cannot hold, each now a '?'
};

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// UTF-8 is taken to be the text's encoding when it starts with the UTF-8
// byte-order mark (which is dropped), or when it is valid UTF-8 and holds a
// character of three bytes or more, as every Chinese character in UTF-8 is;
// any other text is taken as code page 936 unchanged. (A short GBK text can
// pass for UTF-8 made of two-byte characters: "n.猫" in GBK reads as "n.è",
// so two-byte characters alone do not make a text UTF-8.)
TWordListText DecodeWordListText(std::string bytes);

// The bytes of a file, unchanged. Only a regular file (or a link to one) is
// read: a folder, a pipe or a device named like a word list is refused at
// once with EFOpenError, without waiting on it. A file that cannot be opened
// raises EFOpenError too. Both messages name the file.
std::string ReadRegularFile(const AnsiString& fileName);

// ReadRegularFile, decoded by DecodeWordListText.
TWordListText ReadWordListFile(const AnsiString& fileName);
