#include "WordDatabaseLoader.h"

#include <exception>

#include "DatabaseErrors.h"
#include "Exceptions.h"
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

void TWordDatabaseLoader::Run() {
    TLoadedWords words;
    try {
        // A lock held by another program is waited for as long as any
        // statement waits, but a second at a time, so that a window closing
        // meanwhile is not kept waiting.
        for (int waited = 1;; ++waited) {
            try {
                // A connection of this thread's own: the window's connection
                // stays the window's.
                TADOConnection connection;
                TADOQuery query;
                OpenWordDatabase(connection, query, appDir_);
                connection.CommandTimeout = 1;
                words.DatabaseRows = ReadDbRowsInto(connection, words.Table, [this] { return stop_.load(); });
                break;
            } catch (const EDatabaseEngineError& e) {
                if (e.Fault != TDatabaseFault::Locked || waited >= kWordDatabaseLockWaitSeconds || stop_) throw;
                words = TLoadedWords{};
            }
        }
        if (stop_) return;
        // The built-in words follow the rows, as at every start. Their text
        // lies in the program file and is only read.
        const std::vector<std::string_view> lines = LoadEmbeddedWordList();
        words.Table.SetLength(words.DatabaseRows + lines.size());
        AppendWordLines(words.Table, lines, words.DatabaseRows);
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
