#pragma once
// The program's command line: a word looked up without a window, exactly as
// the translate button looks it up (the word database first, then the word
// list built into the program, at most eleven hits), and the usual --help and
// --version. Started without arguments the program opens its window instead.

#include <span>
#include <string>
#include <string_view>

#include "AnsiString.h"

// Exit statuses of the command line.
inline constexpr int kExitFound = 0;
inline constexpr int kExitNothingFound = 1;
inline constexpr int kExitTrouble = 2;  // a usage error, or a word database that cannot be read

enum class CommandAction {
    OpenWindow,
    Lookup,
    ShowHelp,
    ShowVersion,
    UsageError,
    LookUpInWindow,   // WORD...: the window (the running one, or a new one) looks Word up
    LookUpSelection,  // --selection: the window looks the desktop's selected text up
};

// What the arguments ask for.
struct CommandLineRequest {
    CommandAction Action = CommandAction::OpenWindow;
    std::string Word;          // Lookup, LookUpInWindow: the word, in the terminal's charset, as given
    bool BuiltinOnly = false;  // Lookup: leave the word database alone
    std::string Error;         // UsageError: what is wrong, in plain ASCII
};

// Reads the arguments that follow the program's name. -l WORD and
// --lookup WORD take the next argument whatever it looks like (so a word may
// start with "-"); --lookup=WORD and -lWORD work too.
CommandLineRequest ParseCommandLine(std::span<const std::string_view> args);

// What a run printed, and its exit status.
struct CommandLineOutput {
    int Status = kExitFound;
    std::string Out;  // standard output
    std::string Err;  // standard error
};

// Carries out any request but OpenWindow. The word database is the one under
// `appDir` (ending in "/"); text is read and written in `charset`. A lookup
// prints one line per hit, the hits the translate button lists (the words
// the typed text most likely means among them): the headword, a tab, the
// gloss; when some are dictionary forms or spelling suggestions, one line
// on standard error says so. It reads the database rows into WordTable as
// the window does and empties it again.
CommandLineOutput RunCommandLine(const CommandLineRequest& request, const AnsiString& appDir, std::string_view charset);

// The program's entry when it is given arguments: runs them against the
// program's own directory and the terminal's charset, writes the output, and
// returns the exit status. Nothing of the window system is touched.
int CommandLineMain(int argc, char** argv);
