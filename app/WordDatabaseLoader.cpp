#include "WordDatabaseLoader.h"

#include <exception>
#include <thread>

#include "DatabaseErrors.h"
#include "Exceptions.h"
#include "StartUpMemory.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "WordDatabase.h"
#include "WordList.h"

TWordDatabaseLoader::TWordDatabaseLoader(AnsiString appDir)
    : appDir_(std::move(appDir)), thread_([this] { Run(); }) {}

TWordDatabaseLoader::~TWordDatabaseLoader() {
    stop_ = true;
    thread_.join();
}

std::optional<TLoadedWords> TWordDatabaseLoader::Take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::optional<TLoadedWords> taken = std::move(result_);
    result_.reset();
    return taken;
}

namespace {

// Below this many rows one connection reads them all; above it, two read a
// half each at the same time: taking the pages off the disk and deciphering
// them is most of the work, and each connection does it on its own.
constexpr std::int64_t kRowsForTwoReaders = 200000;

// A connection of the reading's own: the window's connection stays the
// window's. It waits for a lock a second at a time (see Run).
void OpenForReading(TADOConnection& connection, const AnsiString& appDir) {
    TADOQuery query;
    OpenWordDatabase(connection, query, appDir);
    connection.CommandTimeout = 1;
    connection.Open();
}

}  // namespace

TLoadedWords TWordDatabaseLoader::ReadDatabase() {
    const auto stop = [this] { return stop_.load(); };
    TLoadedWords words;
    TADOConnection connection;
    OpenForReading(connection, appDir_);
    const auto [first, last] = DbRowIdRange(connection);
    if (last - first < kRowsForTwoReaders) {
        words.DatabaseRows = ReadDbRowsInto(connection, words.Table, stop);
        return words;
    }
    // The second half on a thread and a connection of its own; the rows of
    // both halves come in rowid order, as one select gives them.
    const std::int64_t middle = first + (last - first) / 2;
    TEngWordTable secondHalf;
    std::exception_ptr secondError;
    std::atomic<bool> firstHalfFailed{false};
    std::thread second([&] {
        try {
            TADOConnection other;
            OpenForReading(other, appDir_);
            ReadDbRowsInto(other, secondHalf, [&] { return stop_ || firstHalfFailed; }, middle + 1, last);
        } catch (...) {
            secondError = std::current_exception();
        }
    });
    try {
        ReadDbRowsInto(connection, words.Table, stop, first, middle);
    } catch (...) {
        firstHalfFailed = true;
        second.join();
        throw;
    }
    second.join();
    if (secondError) std::rethrow_exception(secondError);
    const std::size_t firstRows = words.Table.Length();
    words.Table.SetLength(firstRows + secondHalf.Length());
    for (std::size_t i = 0; i < secondHalf.Length(); ++i) {
        const TEngWord word = secondHalf[i];
        words.Table.Store(firstRows + i, word.Eng, word.Chs);
    }
    words.DatabaseRows = words.Table.Length();
    return words;
}

void TWordDatabaseLoader::Run() {
    TLoadedWords words;
    try {
        // A lock held by another program is waited for as long as any
        // statement waits, but a second at a time, so that a window closing
        // meanwhile is not kept waiting.
        for (int waited = 1;; ++waited) {
            try {
                words = ReadDatabase();
                break;
            } catch (const EDatabaseEngineError& e) {
                if (e.Fault != TDatabaseFault::Locked || waited >= kWordDatabaseLockWaitSeconds || stop_) throw;
                words = TLoadedWords{};
            }
        }
        if (stop_) return;
        // The built-in words follow the rows, as at every start. Their text
        // lies in the program file and is only read.
        std::vector<std::string_view> lines = LoadEmbeddedWordList();
        words.Table.SetLength(words.DatabaseRows + lines.size());
        AppendWordLines(words.Table, lines, words.DatabaseRows);
        // The table holds its own copy: the list's pages may go again.
        ReleaseEmbeddedWordList(lines);
    } catch (const EDatabaseError& e) {
        words = TLoadedWords{};
        words.Failure = WordDatabaseErrorText(WordDatabaseFileName(appDir_), e, "这次只能查到程序自带的单词。");
    } catch (const std::exception& e) {
        // Anything else (no memory left for millions of words, say) costs the
        // database words too, never the program.
        words = TLoadedWords{};
        words.Failure = "单词库中的单词没能读入：" + AnsiString(e.what()) + "\r\n这次只能查到程序自带的单词。";
    }
    if (stop_) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    result_ = std::move(words);
}
