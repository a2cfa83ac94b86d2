#include "SysUtils.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <algorithm>
#include <limits>

#include "Exceptions.h"

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

}  // namespace

bool TryStrToInt(std::string_view text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return false;
    std::uint64_t magnitude = 0;
    if (hex) {
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0) return false;
            magnitude = magnitude * 16 + static_cast<unsigned>(digit);
            if (magnitude > 0xFFFFFFFFu) return false;
        }
        // Hexadecimal is a bit pattern: the sign applies to the 32-bit value.
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        value = static_cast<int>(bits);
        return true;
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        if (magnitude > 0x80000000u) return false;
    }
    if (!negative && magnitude > 0x7FFFFFFFu) return false;
    value = negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude)) : static_cast<int>(magnitude);
    return true;
}

int StrToInt(std::string_view text) {
    int value = 0;
    if (!TryStrToInt(text, value)) {
        throw EConvertError("'" + AnsiString(text) + "' is not a valid integer value");
    }
    return value;
}

int StrToIntDef(std::string_view text, int defaultValue) {
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

AnsiString IntToStr(std::int64_t value) { return std::to_string(value); }

AnsiString IntToHex(std::int64_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::uint64_t bits = static_cast<std::uint64_t>(value);
    AnsiString out;
    do {
        out.insert(out.begin(), kDigits[bits & 0xF]);
        bits >>= 4;
    } while (bits != 0);
    if (static_cast<int>(out.size()) < digits) out.insert(0, static_cast<std::size_t>(digits) - out.size(), '0');
    return out;
}

AnsiString Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    AnsiString out;
    if (length > 0) {
        out.resize(static_cast<std::size_t>(length));
        std::vsnprintf(out.data(), out.size() + 1, format, again);
    }
    va_end(again);
    return out;
}

AnsiString TrimLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlankOrControl(text[start])) ++start;
    return AnsiString(text.substr(start));
}

AnsiString TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1])) --end;
    return AnsiString(text.substr(0, end));
}

AnsiString Trim(std::string_view text) {
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && IsBlankOrControl(text[start])) ++start;
    while (end > start && IsBlankOrControl(text[end - 1])) --end;
    return AnsiString(text.substr(start, end - start));
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Both walk character by character: the trail byte of a double-byte
// character may look like an ASCII letter and must not be folded.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        if (CharLengthAt(a, i) == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            i += 2;
        } else {
            if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
            ++i;
        }
    }
    return true;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    bool trail = false;  // a[i] is the second byte of a double-byte character
    for (std::size_t i = 0; i < n; ++i) {
        const bool fold = !trail && CharLengthAt(a, i) == 1;
        trail = !trail && CharLengthAt(a, i) == 2;
        const auto ca = static_cast<unsigned char>(fold ? AsciiUpper(a[i]) : a[i]);
        const auto cb = static_cast<unsigned char>(fold ? AsciiUpper(b[i]) : b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<TDateTime>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) +
           kUnixEpochDate;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    CivilFromDays(static_cast<std::int64_t>(std::floor(value)) - static_cast<std::int64_t>(kUnixEpochDate), year,
                  month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
    auto ms = static_cast<std::int64_t>(std::llround((value - std::floor(value)) * 86400000.0));
    if (ms >= 86400000) ms = 86400000 - 1;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

TDateTime UnixTimeToDateTime(std::int64_t seconds, long nanoseconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local {};
    localtime_r(&t, &local);
    const double localSeconds = static_cast<double>(seconds + local.tm_gmtoff) + nanoseconds / 1e9;
    return localSeconds / 86400.0 + kUnixEpochDate;
}

TDateTime Now() {
    std::timespec ts {};
    std::timespec_get(&ts, TIME_UTC);
    return UnixTimeToDateTime(ts.tv_sec, ts.tv_nsec);
}
