// Build-time generator of dat/WordLib.dat, the word database delivered beside
// the program: a new file keyed with the program's derived password, holding
// the table enword(eng, chs) filled from a starter word list.
//
//   wordlib-db <starter words, UTF-8 "headword|gloss" lines> <output file>
//
// Every line must follow the word list's content rules (checked here, so a
// bad starter word fails the build rather than reaching users). The output is
// written beside its final name and moved there only when complete.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "ConnectionString.h"
#include "DatabaseFile.h"
#include "DbPassword.h"
#include "Exceptions.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

namespace {

struct StarterWord {
    AnsiString Eng;  // GBK
    AnsiString Chs;  // GBK
};

constexpr std::size_t kMaxHeadwordBytes = 40;
constexpr std::size_t kMaxGlossBytes = 254;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

// Counts the single-byte characters equal to `c`, stepping over double-byte
// characters whole (their trail byte may look like any ASCII character).
std::size_t CountSingleByteChars(std::string_view text, char c) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (CharLengthAt(text, i) == 1 && text[i] == c) ++count;
    }
    return count;
}

bool HasCapitals(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (CharLengthAt(text, i) == 1 && text[i] >= 'A' && text[i] <= 'Z') return true;
    }
    return false;
}

bool StartsWithPartOfSpeech(std::string_view gloss) {
    for (const std::string_view tag : {"n.", "v.", "adj.", "prep.", "adv.", "conj.", "pron.", "int.", "num.", "vt.",
                                       "vi.", "art."}) {
        if (gloss.starts_with(tag)) return true;
    }
    return false;
}

// The rule the line breaks, or an empty text for a good line.
std::string CheckLine(const std::string& utf8, StarterWord& word) {
    const AnsiString line = Utf8ToAnsi(utf8);
    if (AnsiToUtf8(line) != utf8) return "holds characters that GBK cannot hold";
    if (CountSingleByteChars(line, '|') != 1) return "must hold exactly one \"|\"";
    if (CountSingleByteChars(line, '\'') != 0) return "must hold no apostrophe (write a hyphen)";
    const std::size_t bar = AnsiPos("|", line) - 1;
    word.Eng = line.substr(0, bar);
    word.Chs = line.substr(bar + 1);
    if (word.Eng.empty() || word.Eng.size() > kMaxHeadwordBytes) return "headword must be 1 to 40 bytes";
    if (HasCapitals(word.Eng)) return "headword must be lower case";
    if (word.Chs.size() > kMaxGlossBytes) return "gloss must be at most 254 bytes";
    if (!StartsWithPartOfSpeech(word.Chs)) return "gloss must start with a part-of-speech tag";
    return "";
}

std::vector<StarterWord> ReadStarterWords(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Exception("cannot read " + file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<StarterWord> words;
    bool ok = true;
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        StarterWord word;
        const std::string fault = CheckLine(lines[i], word);
        if (!fault.empty()) {
            std::fprintf(stderr, "%s:%zu: %s\n", file.c_str(), i + 1, fault.c_str());
            ok = false;
        }
        words.push_back(std::move(word));
    }
    if (!ok) throw Exception("the starter words break the word list rules");
    if (words.empty()) throw Exception(file + " holds no words");
    return words;
}

void WriteDatabase(const std::vector<StarterWord>& words, const std::string& file) {
    const AnsiString connectionString = "Provider=SQLCipher;Data Source=" + QuoteConnectionValue(Utf8ToAnsi(file)) +
                                        ";Persist Security Info=False;Jet OLEDB:Database Password=" +
                                        MakeDbPassword(DbPasswordSeed);
    CreateADODatabase(connectionString);
    TADOConnection connection;
    connection.LoginPrompt = false;
    connection.SetConnectionString(connectionString);
    TADOQuery query;
    query.SetConnection(&connection);
    const auto exec = [&](const char* sql) {
        query.SQL().SetText(sql);
        query.ExecSQL();
    };
    exec("create table enword (eng text, chs text)");
    exec("begin");
    query.SQL().SetText("insert into enword (eng,chs) values (:eng,:chs)");
    for (const StarterWord& word : words) {
        query.Parameters().ParamByName("eng").Value = word.Eng;
        query.Parameters().ParamByName("chs").Value = word.Chs;
        query.ExecSQL();
    }
    exec("commit");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wordlib-db <starter words file> <output file>\n");
        return 2;
    }
    const std::string output = argv[2];
    const std::string partial = output + ".partial";
    try {
        const std::vector<StarterWord> words = ReadStarterWords(argv[1]);
        std::filesystem::remove(partial);
        WriteDatabase(words, partial);
        std::filesystem::rename(partial, output);
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "wordlib-db: %s\n", e.Message().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wordlib-db: %s\n", e.what());
    }
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return 1;
}
