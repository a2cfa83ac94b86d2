#include "Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include "Exceptions.h"
#include "SysUtils.h"

namespace {

constexpr std::int64_t kCopyChunk = 64 * 1024;

[[noreturn]] void RaiseSeekError() { throw EStreamError("Invalid stream position"); }

}  // namespace

// ---- TStream ----

std::int64_t TStream::Size() {
    const std::int64_t saved = Seek(0, soFromCurrent);
    const std::int64_t size = Seek(0, soFromEnd);
    Seek(saved, soFromBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::int64_t total = count;
    std::vector<char> chunk(static_cast<std::size_t>(std::min(count, kCopyChunk)));
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(chunk.size()));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        count -= n;
    }
    return total;
}

AnsiString TStream::ReadRemainingText() {
    const std::int64_t remaining = std::max<std::int64_t>(0, Size() - Position());
    AnsiString text(static_cast<std::size_t>(remaining), '\0');
    ReadBuffer(text.data(), remaining);
    return text;
}

// ---- TCustomMemoryStream ----

void TCustomMemoryStream::SetPointer(const char* data, std::int64_t size) {
    data_ = data;
    size_ = size;
}

std::int64_t TCustomMemoryStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || position_ >= size_) return 0;
    const std::int64_t n = std::min(count, size_ - position_);
    std::memcpy(buffer, data_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    switch (origin) {
        case soFromBeginning: base = 0; break;
        case soFromCurrent: base = position_; break;
        case soFromEnd: base = size_; break;
    }
    if (base + offset < 0) RaiseSeekError();
    position_ = base + offset;
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) const {
    stream.WriteBuffer(data_, size_);
}

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TMemoryStream ----

void TMemoryStream::Reserve(std::int64_t capacity) {
    if (capacity <= static_cast<std::int64_t>(buffer_.size())) return;
    // Grow geometrically so that many small writes cost amortised O(1).
    const std::int64_t grown = std::max<std::int64_t>(capacity, static_cast<std::int64_t>(buffer_.size()) * 3 / 2);
    try {
        buffer_.resize(static_cast<std::size_t>(std::max<std::int64_t>(grown, 256)));
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
}

void TMemoryStream::SetSize(std::int64_t newSize) {
    if (newSize < 0) RaiseSeekError();
    const std::int64_t oldSize = Size();
    const std::int64_t position = Position();
    Reserve(newSize);
    if (newSize > oldSize) {
        std::fill(buffer_.begin() + oldSize, buffer_.begin() + newSize, '\0');
    }
    SetPointer(buffer_.data(), newSize);
    if (position > newSize) Seek(newSize, soFromBeginning);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const std::int64_t position = Position();
    const std::int64_t end = position + count;
    if (end > Size()) {
        const std::int64_t oldSize = Size();
        Reserve(end);
        // A write after a seek past the end leaves zeros in the gap.
        if (position > oldSize) std::fill(buffer_.begin() + oldSize, buffer_.begin() + position, '\0');
        SetPointer(buffer_.data(), end);
    }
    std::memcpy(buffer_.data() + position, buffer, static_cast<std::size_t>(count));
    Seek(end, soFromBeginning);
    return count;
}

void TMemoryStream::Clear() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    SetPointer(nullptr, 0);
    Seek(0, soFromBeginning);
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const std::int64_t count = stream.Size();
    SetSize(count);
    if (count != 0) stream.ReadBuffer(buffer_.data(), count);
    Seek(0, soFromBeginning);
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

// ---- TFileStream ----

TFileStream::TFileStream(const AnsiString& fileName, unsigned mode) : fileName_(fileName) {
    const bool create = (mode & 0xFF00) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 0x3) {
            case fmOpenWrite: flags |= O_WRONLY; break;
            case fmOpenReadWrite: flags |= O_RDWR; break;
            default: flags |= O_RDONLY; break;
        }
    }
    const char* what = create ? "Cannot create file \"%s\". %s" : "Cannot open file \"%s\". %s";
    do {
        fd_ = ::open(fileName.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    int error = fd_ < 0 ? errno : 0;
    if (fd_ >= 0) {
        // A directory opens for reading on Linux, but it is not a file.
        struct stat st {};
        if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
            error = EISDIR;
            ::close(fd_);
            fd_ = -1;
        }
    }
    if (fd_ < 0) {
        const AnsiString message = Format(what, fileName.c_str(), std::strerror(error));
        if (create) throw EFCreateError(message);
        throw EFOpenError(message);
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    char* out = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(fd_, out + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EReadError(Format("Stream read error. %s", std::strerror(errno)));
        if (n == 0) break;
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    const char* in = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd_, in + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EWriteError(Format("Stream write error. %s", std::strerror(errno)));
        if (n == 0) break;
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    const off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (result < 0) RaiseSeekError();
    return result;
}

void TFileStream::SetSize(std::int64_t newSize) {
    if (newSize < 0) RaiseSeekError();
    if (::ftruncate(fd_, static_cast<off_t>(newSize)) != 0) {
        throw EStreamError(Format("Stream write error. %s", std::strerror(errno)));
    }
    if (Position() > newSize) Seek(newSize, soFromBeginning);
}
