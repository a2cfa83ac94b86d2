#pragma once
// Byte streams: the abstract TStream, streams over memory and over files.
// Positions and sizes are 64-bit byte counts.

#include <cstdint>
#include <vector>

#include "AnsiString.h"

enum TSeekOrigin : int { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };
constexpr TSeekOrigin soBeginning = soFromBeginning;
constexpr TSeekOrigin soCurrent = soFromCurrent;
constexpr TSeekOrigin soEnd = soFromEnd;

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Transfer up to `count` bytes; return how many moved (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Returns the new position. Seeking past the end is allowed; seeking
    // before the start raises EStreamError.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(std::int64_t newSize) = 0;
    virtual std::int64_t Size();

    std::int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soFromBeginning); }

    // Move exactly `count` bytes or raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies `count` bytes from the source's position; count 0 copies the
    // whole source from its start. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // The bytes from the position to the end, as text.
    AnsiString ReadRemainingText();
};

// A stream over a block of memory that it does not grow.
class TCustomMemoryStream : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return size_; }
    std::int64_t Size() const { return size_; }  // a memory stream knows its size without seeking

    const char* Memory() const { return data_; }
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const AnsiString& fileName) const;

protected:
    void SetPointer(const char* data, std::int64_t size);

private:
    const char* data_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

// A growable in-memory stream.
class TMemoryStream : public TCustomMemoryStream {
public:
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    void SetSize(std::int64_t newSize) override;

    using TCustomMemoryStream::Memory;
    char* Memory() { return buffer_.data(); }
    void Clear();
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const AnsiString& fileName);

private:
    void Reserve(std::int64_t capacity);
    std::vector<char> buffer_;  // its size is the capacity; Size() is the stream's length
};

// Open modes. The low nibble says how, the next one what others may do.
// Linux has no mandatory share locks: the share flags are accepted and
// ignored, so two streams may open one file as they could with fmShareDenyNone.
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;
// Creates the file, or empties an existing one; opened for reading and writing.
constexpr unsigned fmCreate = 0xFF00;

// A stream over an open file. The file name is passed to the system as its
// bytes. Failing to open raises EFOpenError "Cannot open file "%s". <reason>",
// failing to create EFCreateError "Cannot create file "%s". <reason>".
class TFileStream : public TStream {
public:
    TFileStream(const AnsiString& fileName, unsigned mode);
    ~TFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

    const AnsiString& FileName() const { return fileName_; }
    int Handle() const { return fd_; }

private:
    AnsiString fileName_;
    int fd_ = -1;
};
