#include "WordListReader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "Exceptions.h"
#include "WordList.h"
#include "WordListFile.h"

namespace {

// The file is read in pieces of this size.
constexpr std::size_t kPieceBytes = 1 << 20;
// Of a line, only this much is kept: a word takes at most 50 + 1 + 255 bytes,
// so a longer line is junk or a headword far beyond its limit.
constexpr std::size_t kKeptLineBytes = 64 * 1024;

enum class TEncoding { Gbk, Utf8, Utf16Le, Utf16Be };

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Control codes that no text holds: all below the blank except tab, line
// feed, vertical tab, form feed, carriage return and the old end-of-file
// mark (1A) some editors still write.
constexpr std::array<bool, 256> MakeBinaryBytes() {
    std::array<bool, 256> binary{};
    for (int b = 0; b < 0x20; ++b) binary[static_cast<std::size_t>(b)] = true;
    for (int b : {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x1A}) binary[static_cast<std::size_t>(b)] = false;
    return binary;
}
constexpr std::array<bool, 256> kBinaryByte = MakeBinaryBytes();

bool IsBinaryByte(char c) { return kBinaryByte[static_cast<unsigned char>(c)]; }

[[noreturn]] void RaiseBinary(const AnsiString& fileName) {
    throw EReadError("“" + fileName + "”不是文本文件（其中有文本中不会出现的字节，例如压缩文件或图片），" +
                     "不能作为单词列表导入。");
}

// How many bytes the UTF-8 sequence led by `lead` takes; 1 for anything that
// cannot lead one (the check of the whole sequence tells it is broken).
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// Where the bytes must be cut so that no UTF-8 sequence is split: before a
// sequence at the end that lacks bytes still to come.
std::size_t CompleteUtf8Prefix(std::string_view bytes) {
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
        const auto b = static_cast<unsigned char>(bytes[size - back]);
        if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        return Utf8Length(b) > back ? size - back : size;
    }
    return size;
}

// Turns lines of code page 936 text, given in pieces, into records.
class TLineSink {
public:
    TLineSink(const AnsiString& fileName, TWordListRecords& out) : fileName_(fileName), out_(out) {}

    void Feed(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (afterCr_) {
                afterCr_ = false;
                if (c == '\n') continue;  // the second half of CR LF
            }
            if (c == '\r' || c == '\n') {
                EndLine();
                afterCr_ = c == '\r';
                continue;
            }
            if (IsBinaryByte(c)) RaiseBinary(fileName_);
            // Runs of ordinary bytes go into the line at once.
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n' && !IsBinaryByte(text[end])) ++end;
            const std::size_t room = kKeptLineBytes - std::min(kKeptLineBytes, line_.size());
            line_.append(text.data() + i, std::min(room, end - i));
            overlong_ = overlong_ || end - i > room;
            i = end - 1;
        }
    }

    // The last line needs no line break.
    void Finish() {
        if (!line_.empty() || overlong_) EndLine();
    }

private:
    void EndLine() {
        const std::string_view line = line_;
        const bool blank = !overlong_ && line.find_first_not_of(" \t") == std::string_view::npos;
        if (!blank) {
            const TWordLineParts parts = SplitWordLine(line);
            const bool hasSeparator = parts.Headword.size() < line.size() && line[parts.Headword.size()] == '|';
            const bool hasHeadword = parts.Headword.find_first_not_of(" \t") != std::string_view::npos;
            // A line cut short must still hold its whole gloss, up to its limit.
            const bool whole = !overlong_ || parts.Headword.size() + 1 + kMaxChsBytes <= line.size();
            if (hasSeparator && hasHeadword && whole) {
                const std::size_t index = out_.Records.Length();
                out_.Records.SetLength(index + 1);
                out_.Records.Store(index, parts.Headword, parts.Gloss);
            } else {
                ++out_.Malformed;
            }
        }
        line_.clear();
        overlong_ = false;
    }

    const AnsiString& fileName_;
    TWordListRecords& out_;
    std::string line_;
    bool overlong_ = false;
    bool afterCr_ = false;
};

// Turns UTF-8, given in pieces, into code page 936 for the line sink. A
// character GBK cannot hold, and a broken sequence, becomes one '?'.
class TUtf8Converter {
public:
    TUtf8Converter(TLineSink& sink, std::size_t& replaced) : sink_(sink), replaced_(replaced) {}

    void Feed(std::string_view utf8) {
        pending_.append(utf8);
        const std::size_t cut = CompleteUtf8Prefix(pending_);
        Convert(std::string_view(pending_).substr(0, cut));
        pending_.erase(0, cut);
    }
    void Finish() {
        Convert(pending_);
        pending_.clear();
    }

private:
    void Convert(std::string_view piece) {
        if (piece.empty()) return;
        const AnsiString converted = Utf8ToAnsi(piece);
        // A '?' is never part of a GBK double-byte character: the '?' added
        // are those of the output less those of the input.
        const auto before = static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '?'));
        const auto after = static_cast<std::size_t>(std::count(converted.begin(), converted.end(), '?'));
        replaced_ += after - std::min(after, before);
        sink_.Feed(converted);
    }

    TLineSink& sink_;
    std::size_t& replaced_;
    std::string pending_;
};

// Reads the file a piece at a time, keeping count for the progress; false
// when the progress abandons the reading.
class TPieceReader {
public:
    TPieceReader(TRegularFile& file, const AnsiString& fileName, const TWordListReadProgress& progress,
                 std::uint64_t total)
        : file_(file), fileName_(fileName), progress_(progress), total_(total), buffer_(new char[kPieceBytes]) {}

    // Calls `take` with each piece of the file from its start, after `skip` bytes.
    template <class Take>
    bool ReadAll(std::size_t skip, Take&& take) {
        file_.Rewind();
        std::uint64_t read = 0;
        for (;;) {
            if (progress_ && !progress_(done_, total_)) return false;
            const std::size_t n = file_.Read(buffer_.get(), kPieceBytes);
            if (n == 0) return true;
            read += n;
            done_ += n;
            // A file that grows while it is read is held to the same limit.
            if (read > kMaxWordListFileBytes) RaiseWordListTooLarge(fileName_, read);
            std::string_view piece(buffer_.get(), n);
            const std::size_t dropped = std::min<std::size_t>(skip, piece.size());
            skip -= dropped;
            take(piece.substr(dropped));
        }
    }

private:
    TRegularFile& file_;
    const AnsiString& fileName_;
    const TWordListReadProgress& progress_;
    const std::uint64_t total_;
    std::uint64_t done_ = 0;
    std::unique_ptr<char[]> buffer_;
};

// The first bytes of the file, enough for any byte-order mark.
std::string FirstBytes(TRegularFile& file) {
    std::string head(3, '\0');
    std::size_t used = 0;
    while (used < head.size()) {
        const std::size_t n = file.Read(head.data() + used, head.size() - used);
        if (n == 0) break;
        used += n;
    }
    head.resize(used);
    return head;
}

}  // namespace

std::optional<TWordListRecords> ReadWordListRecords(const AnsiString& fileName, const TWordListReadProgress& progress) {
    TRegularFile file(fileName);
    if (file.Size() > kMaxWordListFileBytes) RaiseWordListTooLarge(fileName, file.Size());

    const std::string head = FirstBytes(file);
    TEncoding encoding = TEncoding::Gbk;
    std::size_t mark = 0;
    if (std::string_view(head).starts_with(kUtf8Bom)) {
        encoding = TEncoding::Utf8;
        mark = kUtf8Bom.size();
    } else if (std::string_view(head).starts_with(kUtf16LeBom)) {
        encoding = TEncoding::Utf16Le;
        mark = kUtf16LeBom.size();
    } else if (std::string_view(head).starts_with(kUtf16BeBom)) {
        encoding = TEncoding::Utf16Be;
        mark = kUtf16BeBom.size();
    }

    // Without a mark, a first reading tells UTF-8 from code page 936 (the
    // whole file must be valid UTF-8 and hold a character of three bytes or
    // more, as Chinese takes) and refuses binary content early.
    const std::uint64_t total = file.Size() * (mark == 0 ? 2 : 1);
    TPieceReader reader(file, fileName, progress, total);
    if (mark == 0) {
        bool valid = true;
        bool longSequence = false;
        std::string pending;
        const bool read = reader.ReadAll(0, [&](std::string_view piece) {
            if (std::any_of(piece.begin(), piece.end(), IsBinaryByte)) RaiseBinary(fileName);
            if (!valid) return;
            pending.append(piece);
            const std::size_t cut = CompleteUtf8Prefix(pending);
            const std::string_view complete = std::string_view(pending).substr(0, cut);
            valid = IsValidUtf8(complete);
            longSequence = longSequence || std::any_of(complete.begin(), complete.end(),
                                                       [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
            pending.erase(0, cut);
        });
        if (!read) return std::nullopt;
        if (valid && pending.empty() && longSequence) encoding = TEncoding::Utf8;
    }

    TWordListRecords result;
    TLineSink lines(fileName, result);
    TUtf8Converter utf8(lines, result.Replaced);
    TUtf16Decoder utf16(encoding == TEncoding::Utf16Be);
    const bool read = reader.ReadAll(mark, [&](std::string_view piece) {
        switch (encoding) {
        case TEncoding::Gbk: lines.Feed(piece); break;
        case TEncoding::Utf8: utf8.Feed(piece); break;
        case TEncoding::Utf16Le:
        case TEncoding::Utf16Be: utf8.Feed(utf16.Feed(piece)); break;
        }
    });
    if (!read) return std::nullopt;
    if (encoding == TEncoding::Utf16Le || encoding == TEncoding::Utf16Be) utf8.Feed(utf16.Finish());
    if (encoding != TEncoding::Gbk) utf8.Finish();
    lines.Finish();
    return result;
}
