#pragma once
// Text as the program keeps it: bytes in code page 936 (GBK). Every length and
// limit of the program counts these bytes. Conversion to Unicode happens only at
// the edges (glyph lookup, typed text, the clipboard, file names given to the OS).

#include <string>
#include <string_view>

using AnsiString = std::string;

// A GBK lead byte starts a two-byte character; ASCII bytes stand alone.
constexpr bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Byte length of the character that starts at `index` (1 or 2; 1 for a lead
// byte with nothing after it).
std::size_t CharLengthAt(std::string_view text, std::size_t index);

// 1-based position of the first occurrence of `sub` in `text`, searching
// character by character so that a match never starts on the trail byte of a
// double-byte character; 0 when absent or when `sub` is empty.
std::size_t AnsiPos(std::string_view sub, std::string_view text);

// Only A-Z and a-z change; every other byte, double-byte characters included,
// stays as it is.
AnsiString LowerCase(std::string_view text);
AnsiString UpperCase(std::string_view text);

// Conversions through iconv. Bytes that do not decode become U+FFFD; characters
// that GBK cannot hold become '?'. Nothing is ever dropped silently.
std::string AnsiToUtf8(std::string_view ansi);
AnsiString Utf8ToAnsi(std::string_view utf8);
std::u32string AnsiToUtf32(std::string_view ansi);
AnsiString Utf32ToAnsi(std::u32string_view text);
