#pragma once
// Reading a word list file as the program's text (code page 936), whichever
// way it was saved: a list saved as UTF-8, the default of Linux editors, is
// recognised and converted, so that its Chinese reaches the database as GBK
// rather than as garbled bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "AnsiString.h"

struct TWordListText {
    AnsiString Text;            // in code page 936
    bool FromUtf8 = false;      // the file was UTF-8 and has been converted
    std::size_t Replaced = 0;   // characters GBK cannot hold, each now a '?'
};

inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Turns UTF-16 (either byte order), given in pieces of any length, into
// UTF-8. A lone surrogate, or a byte left over at the end, becomes U+FFFD,
// which GBK cannot hold and so ends as a '?'.
class TUtf16Decoder {
public:
    explicit TUtf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}
    std::string Feed(std::string_view bytes);
    std::string Finish();

private:
    void Unit(unsigned unit, std::string& utf8);
    static void Append(unsigned codePoint, std::string& out);

    const bool bigEndian_;
    unsigned char firstByte_ = 0;
    bool haveByte_ = false;
    unsigned highSurrogate_ = 0;
};

// Length of the well-formed UTF-8 sequence at byte `i` of `s`, or 0.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// UTF-8 is taken to be the text's encoding when it starts with the UTF-8
// byte-order mark (which is dropped), or when it is valid UTF-8 and holds a
// character of three bytes or more, as every Chinese character in UTF-8 is;
// any other text is taken as code page 936 unchanged. (A short GBK text can
// pass for UTF-8 made of two-byte characters: "n.猫" in GBK reads as "n.è",
// so two-byte characters alone do not make a text UTF-8.) Text that starts
// with a UTF-16 byte-order mark, either order, is converted like UTF-8.
TWordListText DecodeWordListText(std::string bytes);

// The largest word list file read (the built-in list of 85,000 words takes
// 2.5 MB): anything larger is refused before it is read, as is a file that
// grows past it while it is read.
inline constexpr std::uint64_t kMaxWordListFileBytes = std::uint64_t{256} << 20;

// A size for a message: "3.0 GB", "256.0 MB", "12.5 KB", "100 字节".
AnsiString FormatFileSize(std::uint64_t bytes);

// Raises EReadError saying that the file, of `size` bytes, is over the limit.
[[noreturn]] void RaiseWordListTooLarge(const AnsiString& fileName, std::uint64_t size);

// A regular file (or a link to one) open for reading. A folder, a pipe or a
// device named like a word list is refused at once with EFOpenError, without
// waiting on it; a file that cannot be opened raises EFOpenError too. Both
// messages name the file.
class TRegularFile {
public:
    explicit TRegularFile(const AnsiString& fileName);
    ~TRegularFile();
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;

    // The size when the file was opened.
    std::uint64_t Size() const { return size_; }
    // Up to `count` bytes from the current position; 0 at the end. A read
    // error raises EReadError naming the file.
    std::size_t Read(char* buffer, std::size_t count);
    // Back to the first byte.
    void Rewind();

private:
    AnsiString fileName_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The bytes of a file, unchanged. Only a regular file (or a link to one) is
// read: a folder, a pipe or a device named like a word list is refused at
// once with EFOpenError, without waiting on it. A file that cannot be opened
// raises EFOpenError too. Both messages name the file. A file larger than
// kMaxWordListFileBytes raises EReadError naming its size.
std::string ReadRegularFile(const AnsiString& fileName);

// ReadRegularFile, decoded by DecodeWordListText.
TWordListText ReadWordListFile(const AnsiString& fileName);
