#include "CommandLine.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "AppPaths.h"
#include "ConnectionString.h"
#include "DatabaseErrors.h"
#include "DbKeyCache.h"
#include "DbPassword.h"
#include "HeadwordIndex.h"
#include "MeantWords.h"
#include "ProgramResources.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TerminalText.h"
#include "WordDatabase.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

constexpr std::string_view kProgramName = "mirvodict";
constexpr std::string_view kVersion = "1.20";

constexpr std::string_view kHelp =
    "Usage: mirvodict                    open the dictionary window\n"
    "       mirvodict WORD...            look WORD up in the dictionary window\n"
    "       mirvodict --selection        look the selected text up in the window\n"
    "       mirvodict -l WORD [--builtin]\n"
    "       mirvodict --help | --version\n"
    "\n"
    "Looks WORD up the way the window's translate button does: headwords that\n"
    "start with WORD and glosses that contain it, words of the word database\n"
    "first, then those of the word list built into the program, at most eleven.\n"
    "Each hit is printed on a line of its own: the headword, a tab, the gloss.\n"
    "WORD may be the start of an English word or some Chinese text; case and\n"
    "blanks count. When WORD is not literally a headword, the words it most\n"
    "likely means come first: the headword in other letter case, the dictionary\n"
    "form of an inflected word (went: go), or, failing both, headwords spelt\n"
    "nearly like it after its own hits; standard error then says so.\n"
    "\n"
    "  -l, --lookup WORD   look WORD up and print the hits, without a window\n"
    "      --selection     look up the text last selected in any program (the\n"
    "                      clipboard's when nothing is selected) in the window\n"
    "      --builtin       use only the built-in word list, not the word database\n"
    "  -h, --help          show this help and exit\n"
    "  -V, --version       show the version and exit\n"
    "\n"
    "Exit status: 0 when something was found, 1 when nothing was, 2 for a usage\n"
    "error or a word database that cannot be read (the built-in words still\n"
    "answer then).\n";

CommandLineRequest UsageError(std::string error) {
    CommandLineRequest request;
    request.Action = CommandAction::UsageError;
    request.Error = std::move(error);
    return request;
}

// A record's text on one line of the terminal: control characters (line
// breaks and tabs from a database row among them, or escape sequences that
// would drive the terminal) become blanks. In GBK no trail byte is below
// 0x40, so every such byte is a character of its own.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = ' ';
    }
    return line;
}

// One hit as printed: headword and gloss, still in program text, and what
// it is to the typed word.
struct PrintedHit {
    AnsiString Eng;
    AnsiString Chs;
    TMeantKind Kind = TMeantKind::Typed;
};

// Appends the hits of `pattern` in `table`, in table order, until `hits`
// holds as many as a lookup lists.
void TakeHits(const TEngWordTable& table, std::string_view pattern, std::vector<PrintedHit>& hits) {
    for (const TWordHit& hit : LookupWords(table, pattern)) {
        if (hits.size() == kMaxWordHits) return;
        hits.push_back({hit.Eng, AnsiString(table[hit.Index].Chs)});
    }
}

// The embedded word list, read a run of lines at a time: each run ends just
// after a line feed (so a CR LF pair never straddles two runs, and the lines
// of all runs are exactly the lines of the whole text), and a NUL byte ends
// the list as it ends the text.
class EmbeddedWordRuns {
public:
    EmbeddedWordRuns() : stream_("enwordlib", "TXT") {
        rest_ = std::string_view(stream_.Memory(), static_cast<std::size_t>(stream_.Size()));
    }
    // Moves to the next run; false once the list is used up.
    bool Next() {
        if (rest_.empty()) return false;
        constexpr std::size_t kRunBytes = 64 * 1024;
        std::size_t end = rest_.size();
        if (rest_.size() > kRunBytes) {
            const void* lf = std::memchr(rest_.data() + kRunBytes, '\n', rest_.size() - kRunBytes);
            if (lf != nullptr) end = static_cast<std::size_t>(static_cast<const char*>(lf) - rest_.data()) + 1;
        }
        run_ = rest_.substr(0, end);
        rest_.remove_prefix(end);
        if (const void* nul = std::memchr(run_.data(), '\0', run_.size())) {
            run_ = run_.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - run_.data()));
            rest_ = {};
        }
        return true;
    }
    std::string_view Current() const { return run_; }

private:
    TResourceStream stream_;
    std::string_view rest_;
    std::string_view run_;
};

// The lines of `run` that hold `pattern` somewhere, in order. Only they can
// be hits: a line's headword and gloss are both parts of it, so a headword
// that starts with the pattern or a gloss that contains it puts the pattern
// in the line. Each place the pattern occurs gives the line around it (a line
// is all that lies between two line breaks, CR or LF), and the search goes on
// after that line; most of the list is passed over at the speed of memmem.
std::vector<std::string_view> CandidateLines(std::string_view run, std::string_view pattern) {
    std::vector<std::string_view> candidates;
    // A line holds no line break, so a pattern with one is in no line.
    if (pattern.find_first_of("\r\n") != std::string_view::npos) return candidates;
    auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    std::size_t from = 0;
    while (from + pattern.size() <= run.size()) {
        const void* found = memmem(run.data() + from, run.size() - from, pattern.data(), pattern.size());
        if (found == nullptr) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - run.data());
        std::size_t begin = at;
        while (begin > 0 && !isBreak(run[begin - 1])) --begin;
        std::size_t end = at + pattern.size();
        while (end < run.size() && !isBreak(run[end])) ++end;
        candidates.push_back(run.substr(begin, end - begin));
        from = end;
    }
    return candidates;
}

// Reads the word database's rows into WordTable as the window does. The
// file's key comes from the user's key cache when it holds one for this
// file, which spares the key derivation; a cached key that does not open
// the file is passed over for the password, and the key the password gives
// is kept for the next time.
void ReadDatabaseRows(const AnsiString& appDir) {
    TADOConnection connection;
    TADOQuery query;
    OpenWordDatabase(connection, query, appDir);
    const AnsiString file = WordDatabaseFileName(appDir);
    const std::string salt = DatabaseSalt(AnsiToUtf8(file));
    if (salt.empty()) {
        AppendDbRows(query, 0);  // no file, or too short to be one: the usual error
        return;
    }
    const std::string cache = DbKeyCacheFile();
    if (const std::optional<AnsiString> key = CachedDatabaseKey(cache, salt)) {
        connection.SetConnectionString("Provider=SQLCipher;Data Source=" + QuoteConnectionValue(file) +
                                       ";Persist Security Info=False;Jet OLEDB:Database Password=" +
                                       QuoteConnectionValue(*key));
        try {
            AppendDbRows(query, 0);
            return;
        } catch (const EDatabaseError& e) {
            // A file held by another program stays held whatever the key.
            const auto* engine = dynamic_cast<const EDatabaseEngineError*>(&e);
            if (engine != nullptr && engine->Fault == TDatabaseFault::Locked) throw;
        }
        OpenWordDatabase(connection, query, appDir);
    }
    AppendDbRows(query, 0);
    // The key is derived anew only when there is a cache to keep it in.
    if (!cache.empty()) RememberDatabaseKey(cache, salt, DeriveDatabaseKey(MakeDbPassword(DbPasswordSeed), salt));
}

// The line of the embedded word list whose headword is exactly this one.
std::optional<std::string_view> EmbeddedHeadwordLine(std::string_view headword) {
    std::string_view text = FindProgramResource("TXT", "ENWORDLIB");
    if (text.data() == nullptr || headword.empty()) return std::nullopt;
    text = text.substr(0, text.find('\0'));
    const std::string start = std::string(headword) + "|";
    std::size_t at = std::string_view::npos;
    if (text.starts_with(start)) {
        at = 0;
    } else {
        const std::string inside = "\n" + start;
        if (const void* found = memmem(text.data(), text.size(), inside.data(), inside.size()))
            at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) + 1;
    }
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t end = text.find_first_of("\r\n", at);
    return text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
}

// Whether the typed word may find more than its literal hits (a word in
// other letter case, a dictionary form, a spelling). Most words looked up
// are headwords as typed, and for them this is told from the database rows
// in WordTable and two searches in the built-in texts, without reading the
// whole list.
bool MayMeanOtherWords(std::string_view pattern) {
    const AnsiString key = MeantWordKey(pattern);
    bool headword = false;
    bool otherCase = false;
    if (!key.empty()) {
        for (std::size_t r = 0; r < WordTable.Length(); ++r) {
            const std::string_view eng = WordTable[r].Eng;
            if (eng.size() != key.size() || FoldCase(eng) != key) continue;
            headword = true;
            otherCase = otherCase || eng != pattern;
        }
        headword = headword || EmbeddedHeadwordLine(key).has_value();
    }
    return !MeantWordsAddNothing(pattern, headword, otherCase);
}

// The hits of the translate button over the whole table as the window holds
// it: the database rows already in WordTable, then every line of the list.
void TakeMeantHits(std::string_view pattern, std::vector<PrintedHit>& hits) {
    const std::size_t rows = WordTable.Length();
    const std::vector<std::string_view> lines = LoadEmbeddedWordList();
    WordTable.SetLength(rows + lines.size());
    AppendWordLines(lines, rows);
    for (const TMeantHit& hit : LookupMeantWords(WordTable, pattern)) {
        hits.push_back({hit.Eng, AnsiString(WordTable[hit.Index].Chs), hit.Kind});
    }
}

// The hits the translate button lists: the word database's rows first (read
// into WordTable as the window reads them), then the embedded list's lines.
// A lookup walks the table in order and stops at the eleventh hit, so the
// embedded list is read a run at a time and a common word never pays for the
// rest of it; of each run, the lines that can be hits are stored into a
// table of their own and looked up there, in their order. A word that may
// mean other words than its literal hits is looked up over the whole table
// instead, exactly as the window does.
std::vector<PrintedHit> LookupLikeTheWindow(std::string_view pattern, bool withDatabase, const AnsiString& appDir,
                                            std::string& databaseError) {
    std::vector<PrintedHit> hits;
    // An empty word finds nothing; the window does not read its words for it
    // either (they were read at start-up).
    if (pattern.empty()) return hits;
    WordTable.Clear();
    if (withDatabase) {
        try {
            ReadDatabaseRows(appDir);
        } catch (const std::exception& e) {
            // The built-in words still answer.
            databaseError = e.what();
            WordTable.Clear();
        }
    }
    if (MayMeanOtherWords(pattern)) {
        TakeMeantHits(pattern, hits);
        WordTable.Clear();
        return hits;
    }
    // The records whose headword is the word as typed come first, the
    // database's, then the list's; the literal hits follow without them.
    std::vector<PrintedHit> exact;
    if (!MeantWordKey(pattern).empty()) {
        for (std::size_t r = 0; r < WordTable.Length(); ++r) {
            if (WordTable[r].Eng == pattern) exact.push_back({AnsiString(WordTable[r].Eng), AnsiString(WordTable[r].Chs)});
        }
        if (const std::optional<std::string_view> line = EmbeddedHeadwordLine(pattern)) {
            const TWordLineParts parts = SplitWordLine(*line);
            exact.push_back({AnsiString(parts.Headword.substr(0, kMaxEngBytes)), AnsiString(parts.Gloss.substr(0, kMaxChsBytes))});
        }
    }
    TakeHits(WordTable, pattern, hits);
    WordTable.Clear();
    EmbeddedWordRuns runs;
    while (hits.size() < kMaxWordHits && runs.Next()) {
        // The lookup searches with the first 255 bytes of the word only.
        const std::vector<std::string_view> candidates = CandidateLines(runs.Current(), pattern.substr(0, kMaxChsBytes));
        if (candidates.empty()) continue;
        TEngWordTable table;
        table.SetLength(candidates.size());
        AppendWordLines(table, candidates, 0);
        TakeHits(table, pattern, hits);
    }
    if (exact.empty()) return hits;
    for (PrintedHit& hit : hits) {
        if (exact.size() == kMaxWordHits) break;
        if (hit.Eng != pattern) exact.push_back(std::move(hit));
    }
    return exact;
}

// The line on standard error that says the hits are not all the typed word's
// own: which are its dictionary forms, or that they are spelling suggestions.
// Empty when there are none of either. `typed` is the word as given.
std::string MeantHitsNote(const std::vector<PrintedHit>& hits, std::string_view typed, std::string_view charset) {
    const std::string word = OneLine(typed);
    std::vector<std::string> lemmas;  // each dictionary form once, as listed
    bool spelling = false;
    for (const PrintedHit& hit : hits) {
        if (hit.Kind == TMeantKind::Spelling) spelling = true;
        if (hit.Kind != TMeantKind::WordForm) continue;
        const std::string lemma = AnsiToTerminal(OneLine(hit.Eng), charset);
        if (std::find(lemmas.begin(), lemmas.end(), lemma) == lemmas.end()) lemmas.push_back(lemma);
    }
    std::string forms;
    for (const std::string& lemma : lemmas) forms += (forms.empty() ? "" : ", ") + lemma;
    if (!forms.empty())
        return std::string(kProgramName) + ": \"" + word + "\" is a form of " + forms + "; the first hits are its dictionary forms\n";
    if (spelling)
        return std::string(kProgramName) + ": \"" + word + "\" is not a headword; the hits include spelling suggestions\n";
    return {};
}

CommandLineOutput RunLookup(const CommandLineRequest& request, const AnsiString& appDir, std::string_view charset) {
    CommandLineOutput output;
    const std::optional<AnsiString> pattern = TerminalToAnsi(request.Word, charset);
    if (!pattern) {
        output.Status = kExitTrouble;
        output.Err = std::string(kProgramName) + ": the word is not valid " + std::string(charset) +
                     " text, or holds a character the dictionary cannot hold\n";
        return output;
    }
    std::string databaseError;
    const std::vector<PrintedHit> hits = LookupLikeTheWindow(*pattern, !request.BuiltinOnly, appDir, databaseError);
    for (const PrintedHit& hit : hits) {
        output.Out += AnsiToTerminal(OneLine(hit.Eng), charset);
        output.Out += '\t';
        output.Out += AnsiToTerminal(OneLine(hit.Chs), charset);
        output.Out += '\n';
    }
    output.Status = hits.empty() ? kExitNothingFound : kExitFound;
    output.Err = MeantHitsNote(hits, request.Word, charset);
    if (!databaseError.empty()) {
        output.Status = kExitTrouble;
        output.Err += std::string(kProgramName) + ": cannot read the word database: " +
                      AnsiToTerminal(OneLine(databaseError), charset) + "\n";
    }
    return output;
}

// Writes all of `text` to the file descriptor; false when that fails.
bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

CommandLineRequest ParseCommandLine(std::span<const std::string_view> args) {
    CommandLineRequest request;
    bool lookup = false;
    bool selection = false;
    // Words without an option are looked up in the window, joined by blanks.
    std::vector<std::string_view> windowWords;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::optional<std::string_view> word;
        if (arg == "-h" || arg == "--help") {
            request.Action = CommandAction::ShowHelp;
            return request;
        } else if (arg == "-V" || arg == "--version") {
            request.Action = CommandAction::ShowVersion;
            return request;
        } else if (arg == "--builtin") {
            request.BuiltinOnly = true;
        } else if (arg == "-l" || arg == "--lookup") {
            if (i + 1 == args.size()) return UsageError("option '" + std::string(arg) + "' needs a word");
            word = args[++i];
        } else if (arg.starts_with("--lookup=")) {
            word = arg.substr(9);
        } else if (arg.starts_with("-l")) {
            word = arg.substr(2);
        } else if (arg == "--selection") {
            selection = true;
        } else if (arg.starts_with("-")) {
            return UsageError("unknown option '" + std::string(arg) + "'");
        } else {
            windowWords.push_back(arg);
        }
        if (word) {
            if (lookup) return UsageError("only one word can be looked up at a time");
            lookup = true;
            request.Word = std::string(*word);
        }
    }
    if (lookup && !windowWords.empty())
        return UsageError("unexpected argument '" + std::string(windowWords.front()) +
                          "' (a phrase is one argument: quote it, as in -l 'apple pie')");
    if (selection && (lookup || !windowWords.empty()))
        return UsageError("'--selection' looks up the selected text, not a word given");
    if (!lookup) {
        if (request.BuiltinOnly) return UsageError("'--builtin' goes with --lookup WORD");
        if (selection) {
            request.Action = CommandAction::LookUpSelection;
        } else if (!windowWords.empty()) {
            request.Action = CommandAction::LookUpInWindow;
            for (std::string_view w : windowWords) {
                if (!request.Word.empty()) request.Word += ' ';
                request.Word += w;
            }
        }
        return request;
    }
    request.Action = CommandAction::Lookup;
    return request;
}

CommandLineOutput RunCommandLine(const CommandLineRequest& request, const AnsiString& appDir,
                                 std::string_view charset) {
    CommandLineOutput output;
    switch (request.Action) {
    case CommandAction::Lookup:
        return RunLookup(request, appDir, charset);
    case CommandAction::ShowHelp:
        output.Out = std::string(kHelp);
        break;
    case CommandAction::ShowVersion:
        output.Out = std::string(kProgramName) + " " + std::string(kVersion) + "\n";
        break;
    case CommandAction::UsageError:
        output.Status = kExitTrouble;
        output.Err = std::string(kProgramName) + ": " + request.Error + "\nTry 'mirvodict --help' for more.\n";
        break;
    case CommandAction::OpenWindow:
    case CommandAction::LookUpInWindow:
    case CommandAction::LookUpSelection:
        output.Status = kExitTrouble;
        output.Err = std::string(kProgramName) + ": nothing to do without a window\n";
        break;
    }
    return output;
}

int CommandLineMain(int argc, char** argv) {
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    CommandLineOutput output;
    try {
        const CommandLineRequest request = ParseCommandLine(args);
        if (request.Action == CommandAction::Lookup) InitAppDir();
        output = RunCommandLine(request, AppDir, TerminalCharset());
    } catch (const std::exception& e) {
        // A program file without its word list, or no memory left.
        output.Status = kExitTrouble;
        output.Err = std::string(kProgramName) + ": " + AnsiToTerminal(OneLine(e.what()), TerminalCharset()) + "\n";
    }
    if (!WriteAll(STDOUT_FILENO, output.Out)) {
        WriteAll(STDERR_FILENO, std::string(kProgramName) + ": cannot write the output\n");
        output.Status = kExitTrouble;
    }
    WriteAll(STDERR_FILENO, output.Err);
    AppDir.clear();
    return output.Status;
}
