#pragma once
// Conversions between numbers and text, trimming, case-insensitive comparison,
// printf-style formatting, and the calendar clock.

#include <cstdint>
#include <string_view>

#include "AnsiString.h"

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X"
// (also after a sign). Leading blanks are skipped; anything after the
// digits is an error. Hexadecimal takes up to 32 bits and keeps the bit
// pattern, so "$FFFFFFFF" is -1 and "0xFF00000F" the system colour 15.
// Fails with EConvertError "'%s' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int defaultValue);
// Same rules; returns false instead of raising.
bool TryStrToInt(std::string_view text, int& value);

AnsiString IntToStr(std::int64_t value);
// Upper-case hexadecimal of the value's bits, padded with zeros to `digits`.
AnsiString IntToHex(std::int64_t value, int digits);

// printf-style formatting into a new string.
AnsiString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Strip blanks and control characters (bytes up to 0x20) at the ends.
AnsiString Trim(std::string_view text);
AnsiString TrimLeft(std::string_view text);
AnsiString TrimRight(std::string_view text);

// ASCII letters compared without regard to case; every other byte, the
// bytes of double-byte characters included, as is.
// CompareText returns <0, 0 or >0 as `a` sorts before, with or after `b`.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
char AsciiUpper(char c);

// Calendar time as the platform counts it: days since 1899-12-30 00:00 in
// local time, the time of day as the fraction. Differences are in days.
using TDateTime = double;
constexpr TDateTime kUnixEpochDate = 25569.0;  // 1970-01-01

TDateTime Now();
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// Converts a POSIX time (seconds and nanoseconds since 1970 UTC) to local TDateTime.
TDateTime UnixTimeToDateTime(std::int64_t seconds, long nanoseconds = 0);
