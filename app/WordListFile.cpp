#include "WordListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>

#include "Exceptions.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// UTF-8 is converted in pieces of about this size, so that the converter's
// working buffer stays small for a list of many megabytes.
constexpr std::size_t kConvertPiece = 1 << 20;

// True when the text holds a byte of a three- or four-byte UTF-8 sequence:
// Chinese, in UTF-8, takes three bytes a character.
bool HasLongSequenceLead(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
}

// Converts UTF-8 to code page 936 piece by piece, never cutting a character.
// Every character GBK cannot hold (and every broken sequence after a
// byte-order mark) becomes one '?'; as a '?' is never part of a GBK double-byte
// character, the '?' added are the '?' of the output less those of the input.
TWordListText ConvertUtf8(std::string_view utf8) {
    TWordListText result;
    result.FromUtf8 = true;
    result.Text.reserve(utf8.size());
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = std::min(utf8.size(), start + kConvertPiece);
        while (end < utf8.size() && end > start && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
        if (end == start) end = std::min(utf8.size(), start + kConvertPiece);
        const std::string_view piece = utf8.substr(start, end - start);
        const AnsiString converted = Utf8ToAnsi(piece);
        const auto before = static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '?'));
        const auto after = static_cast<std::size_t>(std::count(converted.begin(), converted.end(), '?'));
        result.Replaced += after - std::min(after, before);
        result.Text += converted;
        start = end;
    }
    return result;
}

[[noreturn]] void RaiseOpenError(const AnsiString& fileName, int error) {
    throw EFOpenError("无法打开文件“" + fileName + "”。\r\n(" + std::strerror(error) + ")");
}

[[noreturn]] void RaiseNotAFile(const AnsiString& fileName) {
    throw EFOpenError("“" + fileName + "”不是普通文件（它是文件夹、管道或设备），不能作为单词列表读取。");
}

}  // namespace

std::size_t Utf8SequenceAt(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    auto cont = [&](std::size_t k) { return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; };
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (b0 == 0xE0 && at(1) < 0xA0) return 0;   // overlong
        if (b0 == 0xED && at(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (b0 == 0xF0 && at(1) < 0x90) return 0;   // overlong
        if (b0 == 0xF4 && at(1) >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, the bulk of a word list, are stepped over eight at a time.
        while (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if (word & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= bytes.size()) break;
        const std::size_t n = Utf8SequenceAt(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string TUtf16Decoder::Feed(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 3 / 2 + 8);
    for (const char c : bytes) {
        if (!haveByte_) {
            firstByte_ = static_cast<unsigned char>(c);
            haveByte_ = true;
            continue;
        }
        haveByte_ = false;
        const auto second = static_cast<unsigned char>(c);
        Unit(bigEndian_ ? (firstByte_ << 8 | second) : (second << 8 | firstByte_), utf8);
    }
    return utf8;
}

std::string TUtf16Decoder::Finish() {
    std::string utf8;
    if (highSurrogate_ != 0 || haveByte_) Append(0xFFFD, utf8);
    highSurrogate_ = 0;
    haveByte_ = false;
    return utf8;
}

void TUtf16Decoder::Unit(unsigned unit, std::string& utf8) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (highSurrogate_ != 0) Append(0xFFFD, utf8);
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (highSurrogate_ == 0) {
            Append(0xFFFD, utf8);
        } else {
            Append(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00), utf8);
            highSurrogate_ = 0;
        }
        return;
    }
    if (highSurrogate_ != 0) {
        Append(0xFFFD, utf8);
        highSurrogate_ = 0;
    }
    Append(unit, utf8);
}

void TUtf16Decoder::Append(unsigned cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

TWordListText DecodeWordListText(std::string bytes) {
    if (std::string_view(bytes).starts_with(kUtf8Bom)) {
        return ConvertUtf8(std::string_view(bytes).substr(kUtf8Bom.size()));
    }
    for (const bool bigEndian : {false, true}) {
        if (!std::string_view(bytes).starts_with(bigEndian ? kUtf16BeBom : kUtf16LeBom)) continue;
        TUtf16Decoder utf16(bigEndian);
        std::string utf8 = utf16.Feed(std::string_view(bytes).substr(kUtf16LeBom.size()));
        utf8 += utf16.Finish();
        return ConvertUtf8(utf8);
    }
    if (HasLongSequenceLead(bytes) && IsValidUtf8(bytes)) return ConvertUtf8(bytes);
    TWordListText result;
    result.Text = std::move(bytes);
    return result;
}

AnsiString FormatFileSize(std::uint64_t bytes) {
    char text[64];
    constexpr std::uint64_t kKB = 1024;
    if (bytes < kKB) {
        std::snprintf(text, sizeof text, "%llu ", static_cast<unsigned long long>(bytes));
        return AnsiString(text) + "字节";
    }
    const char* unit = "KB";
    double value = static_cast<double>(bytes) / kKB;
    if (bytes >= kKB * kKB * kKB) {
        unit = "GB";
        value = static_cast<double>(bytes) / static_cast<double>(kKB * kKB * kKB);
    } else if (bytes >= kKB * kKB) {
        unit = "MB";
        value = static_cast<double>(bytes) / static_cast<double>(kKB * kKB);
    }
    std::snprintf(text, sizeof text, "%.1f %s", value, unit);
    return text;
}

void RaiseWordListTooLarge(const AnsiString& fileName, std::uint64_t size) {
    throw EReadError("“" + fileName + "”有 " + FormatFileSize(size) + "，超过了单词列表文件的上限 " +
                     FormatFileSize(kMaxWordListFileBytes) + "，没有读取。");
}

TRegularFile::TRegularFile(const AnsiString& fileName) : fileName_(fileName) {
    // The kind of file is looked at before it is opened: opening a pipe for
    // reading would wait for a writer, and opening a device may act on it.
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) RaiseOpenError(fileName, errno);
    if (!S_ISREG(st.st_mode)) RaiseNotAFile(fileName);
    // Opened without blocking and looked at again, in case the name was
    // replaced by something else in between.
    do {
        fd_ = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) RaiseOpenError(fileName, errno);
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        ::close(fd_);
        if (!S_ISREG(st.st_mode)) RaiseNotAFile(fileName);
        RaiseOpenError(fileName, error);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

TRegularFile::~TRegularFile() { ::close(fd_); }

std::size_t TRegularFile::Read(char* buffer, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, count);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw EReadError("读取文件“" + fileName_ + "”时出错。\r\n(" + std::strerror(errno) + ")");
    }
}

void TRegularFile::Rewind() {
    if (::lseek(fd_, 0, SEEK_SET) != 0)
        throw EReadError("读取文件“" + fileName_ + "”时出错。\r\n(" + std::strerror(errno) + ")");
}

std::string ReadRegularFile(const AnsiString& fileName) {
    TRegularFile file(fileName);
    if (file.Size() > kMaxWordListFileBytes) RaiseWordListTooLarge(fileName, file.Size());
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(file.Size()));
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            // The file grew since it was looked at.
            if (used >= kMaxWordListFileBytes) RaiseWordListTooLarge(fileName, used);
            bytes.resize(bytes.size() + 65536);
        }
        const std::size_t n = file.Read(bytes.data() + used, bytes.size() - used);
        if (n == 0) break;
        used += n;
    }
    bytes.resize(used);
    return bytes;
}

TWordListText ReadWordListFile(const AnsiString& fileName) { return DecodeWordListText(ReadRegularFile(fileName)); }
