#include "WindowRequest.h"

#include <algorithm>
#include <vector>

#include "CommandLine.h"
#include "TerminalText.h"
#include "WordListFile.h"
#include "WordTable.h"

namespace {

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Program text on one line: control characters become blanks (a GBK trail
// byte is never below 0x40, so each such byte is a character of its own).
AnsiString OneLine(AnsiString text) {
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = ' ';
    }
    return text;
}

// Keeps the valid sequences of `utf8`, drops every other byte.
std::string ValidUtf8Only(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = Utf8SequenceAt(utf8, i);
        if (n > 0) out.append(utf8.substr(i, n));
        i += std::max<std::size_t>(n, 1);
    }
    return out;
}

// The first `limit` bytes of program text, whole characters only.
AnsiString CutToBytes(const AnsiString& text, std::size_t limit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = CharLengthAt(text, i);
        if (i + n > limit) break;
        i += n;
    }
    return text.substr(0, i);
}

}  // namespace

std::optional<WindowRequest> WindowRequestFromArgs(int argc, const char* const* argv) {
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    const CommandLineRequest parsed = ParseCommandLine(args);
    WindowRequest request;
    switch (parsed.Action) {
    case CommandAction::OpenWindow:
        return request;
    case CommandAction::LookUpSelection:
        request.What = WindowRequest::Kind::Selection;
        return request;
    case CommandAction::LookUpInWindow: {
        const std::optional<AnsiString> word = TerminalToAnsi(parsed.Word, TerminalCharset());
        if (!word) return std::nullopt;
        request.What = WindowRequest::Kind::Word;
        request.Word = OneLine(*word);
        return request;
    }
    default:
        return std::nullopt;
    }
}

std::string EncodeWindowRequest(const WindowRequest& request) {
    switch (request.What) {
    case WindowRequest::Kind::Word:
        return "word " + std::string(OneLine(request.Word));
    case WindowRequest::Kind::Selection:
        return "selection";
    case WindowRequest::Kind::Show:
        break;
    }
    return "show";
}

std::optional<WindowRequest> DecodeWindowRequest(std::string_view line) {
    WindowRequest request;
    if (line == "show") return request;
    if (line == "selection") {
        request.What = WindowRequest::Kind::Selection;
        return request;
    }
    if (line.starts_with("word ")) {
        request.What = WindowRequest::Kind::Word;
        request.Word = OneLine(AnsiString(line.substr(5)));
        return request;
    }
    return std::nullopt;
}

AnsiString WordFromSelection(std::string_view utf8) {
    // The first line that holds more than blanks.
    std::string_view line;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find_first_of("\r\n");
        line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        while (!line.empty() && IsBlank(static_cast<unsigned char>(line.front()))) line.remove_prefix(1);
        if (!line.empty()) break;
    }
    // A lookup reads kMaxChsBytes of program text, at most one character for
    // each byte; four UTF-8 bytes a character is more than enough.
    line = line.substr(0, std::min(line.size(), kMaxChsBytes * 4 + 4));
    AnsiString word = OneLine(Utf8ToAnsi(ValidUtf8Only(line)));
    // A NUL or other control character became a blank: blanks at either
    // end go, as do those the cut leaves at the end.
    std::size_t begin = 0;
    while (begin < word.size() && word[begin] == ' ') ++begin;
    word = CutToBytes(word.substr(begin), kMaxChsBytes);
    while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.pop_back();
    return word;
}
