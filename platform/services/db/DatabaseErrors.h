#pragma once
// The error the engine reports, with what a caller needs to word its own
// message: the kind of fault, the file when it is known, and the engine's text.

#include "AnsiString.h"
#include "Exceptions.h"

// What went wrong, in terms a program can act on without knowing the engine.
enum class TDatabaseFault {
    Other,
    CannotOpen,     // the file is missing or cannot be opened
    NotADatabase,   // wrong password, damaged, or not a file of this engine
    Locked,         // another program holds a lock longer than the connection waits
    DiskFull,       // no room for the database or its journal
    ReadOnly,       // the file or its folder cannot be written
    IOError,        // the system refused a read or a write
    Constraint,     // the statement broke a rule of the schema (a trigger, a check)
};

class EDatabaseEngineError : public EDatabaseError {
public:
    EDatabaseEngineError(AnsiString message, TDatabaseFault fault, AnsiString reason, AnsiString fileName = {})
        : EDatabaseError(std::move(message)), Fault(fault), Reason(std::move(reason)), FileName(std::move(fileName)) {}
    TDatabaseFault Fault;
    AnsiString Reason;    // the engine's own (English) text
    AnsiString FileName;  // the database file, when the error concerns opening it
};
