#pragma once
// Reads the word database on a thread of its own, so that a database of
// millions of words never holds the window: the thread builds the whole
// word table a start-up builds (the database rows first, then the built-in
// words) and hands it over in one piece. The thread touches no window and
// no shared state: the window's thread asks for the result (Take) when its
// timer comes, and swaps it in.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>

#include "AnsiString.h"
#include "WordTable.h"

struct TLoadedWords {
    TEngWordTable Table;            // the database rows, then the built-in words
    std::size_t DatabaseRows = 0;   // how many records at the start came from the database
    AnsiString Failure;             // the message when the database could not be read; Table is then empty
};

class TWordDatabaseLoader {
public:
    // Starts reading the database under `appDir` (ending in "/") at once.
    explicit TWordDatabaseLoader(AnsiString appDir);
    // Asks the thread to stop between two rows and waits for it; what it had
    // read is dropped.
    ~TWordDatabaseLoader();
    TWordDatabaseLoader(const TWordDatabaseLoader&) = delete;
    TWordDatabaseLoader& operator=(const TWordDatabaseLoader&) = delete;

    // The words, once the thread has finished; nothing before that. The
    // result is handed out once.
    std::optional<TLoadedWords> Take();

private:
    void Run();
    // The database's rows, read by one connection or, for a large table, by two at once.
    TLoadedWords ReadDatabase();

    const AnsiString appDir_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::optional<TLoadedWords> result_;  // guarded by mutex_
    std::thread thread_;                  // last: starts once the members above exist
};
