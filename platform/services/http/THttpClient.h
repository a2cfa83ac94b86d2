#pragma once
// A blocking HTTP/1.1 GET on libcurl, which is loaded on the first Get (a
// missing or unusable libcurl is raised as an EHttpError then). The body goes
// into any byte stream (a memory stream for a page, a file stream for a
// download); every failure is raised to the caller as an exception, so a
// caller that swallows network errors does so knowingly.

#include <cstdint>

#include "AnsiString.h"
#include "Exceptions.h"
#include "Streams.h"

// A transfer that did not complete: no connection, unknown host, a malformed
// or unsupported URL, a broken or incomplete body. Bytes that arrived before
// the failure stay in the caller's stream; the caller decides what to keep.
class EHttpError : public Exception { public: using Exception::Exception; };

// The transfer ran out of time (connect or total time-out).
class EHttpTimeout : public EHttpError { public: using EHttpError::EHttpError; };

// The body grew past the caller's MaxBodyBytes (or was announced larger):
// the transfer was dropped there.
class EHttpBodyTooLarge : public EHttpError { public: using EHttpError::EHttpError; };

// The server answered with a status outside 200-299. The error page's body is
// not written to the caller's stream.
class EHttpProtocolError : public EHttpError {
public:
    EHttpProtocolError(AnsiString message, int errorCode)
        : EHttpError(std::move(message)), errorCode_(errorCode) {}
    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};

class THttpClient {
public:
    // Milliseconds; 0 means no limit. A desktop program should always set
    // both, so that a stalled server cannot block it for ever.
    int ConnectTimeout = 0;
    int TotalTimeout = 0;
    // Redirects are followed up to this many hops; further ones fail.
    int MaxRedirects = 5;
    // The most body bytes taken; 0 means no limit. A body announced or
    // found to be larger is dropped with EHttpBodyTooLarge, after at most
    // this many bytes reached the stream.
    std::int64_t MaxBodyBytes = 0;

    // Writes the body of `url` into `body` from its current position. Only
    // http and https URLs are fetched, also across redirects. A failure of
    // the stream itself (a full disk) aborts the transfer and is re-raised as
    // the stream's own exception.
    void Get(const AnsiString& url, TStream& body);

    // The status of the last response, 0 when none arrived.
    int ResponseCode() const { return responseCode_; }

private:
    int responseCode_ = 0;
};

// For tests: the file name of libcurl that the next Get loads; nullptr restores
// the usual one. Drops the functions of a library already loaded, so the next
// Get loads again. Must not run while a transfer is under way.
void SetCurlLibraryForTesting(const char* fileName);
