#pragma once
// The exception family of the platform. An exception that leaves an event
// handler reaches the application's default error report, which shows
// Message() in a message box; the texts therefore follow the platform's own.

#include <exception>

#include "AnsiString.h"

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : message_(std::move(message)) {}
    const AnsiString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    AnsiString message_;
};

// Each subclass keeps the base constructor; the type tells the kind of fault.
class EConvertError : public Exception { public: using Exception::Exception; };
class EStreamError : public Exception { public: using Exception::Exception; };
class EFOpenError : public EStreamError { public: using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { public: using EStreamError::EStreamError; };
class EReadError : public EStreamError { public: using EStreamError::EStreamError; };
class EWriteError : public EStreamError { public: using EStreamError::EStreamError; };
class EInOutError : public Exception { public: using Exception::Exception; };
class EResNotFound : public Exception { public: using Exception::Exception; };
class EStringListError : public Exception { public: using Exception::Exception; };
class EListError : public Exception { public: using Exception::Exception; };
class EInvalidOperation : public Exception { public: using Exception::Exception; };
class EInvalidGraphic : public Exception { public: using Exception::Exception; };
class EOutOfResources : public Exception { public: using Exception::Exception; };
class EDatabaseError : public Exception { public: using Exception::Exception; };
class ESocketError : public Exception { public: using Exception::Exception; };
