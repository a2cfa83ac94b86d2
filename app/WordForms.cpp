#include "WordForms.h"

#include <string.h>

#include <algorithm>
#include <cstdint>

#include "ProgramResources.h"
#include "SpellingWalk.h"

namespace {

// The line of `table` that holds byte `pos`.
std::string_view LineAt(std::string_view table, std::size_t pos) {
    std::size_t begin = pos == 0 ? std::string_view::npos : table.rfind('\n', pos - 1);
    begin = begin == std::string_view::npos ? 0 : begin + 1;
    std::size_t end = table.find('\n', pos);
    if (end == std::string_view::npos) end = table.size();
    std::string_view line = table.substr(begin, end - begin);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

std::string_view FormOf(std::string_view line) { return line.substr(0, line.find('|')); }

bool IsConsonant(char c) {
    return c >= 'a' && c <= 'z' && c != 'a' && c != 'e' && c != 'i' && c != 'o' && c != 'u';
}

}  // namespace

std::string_view EmbeddedWordForms() {
    const std::string_view forms = FindProgramResource("TXT", "ENWORDFORMS");
    return forms.data() == nullptr ? std::string_view() : forms;
}

std::vector<std::string_view> DictionaryFormsIn(std::string_view table, std::string_view form) {
    std::vector<std::string_view> lemmas;
    if (form.empty() || table.empty()) return lemmas;
    // Binary search over byte positions: each probe reads the line around it.
    std::size_t low = 0, high = table.size();  // the first line with form >= `form` starts in [low, high]
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const std::string_view line = LineAt(table, mid);
        const auto lineStart = static_cast<std::size_t>(line.data() - table.data());
        std::size_t next = table.find('\n', lineStart);
        next = next == std::string_view::npos ? table.size() : next + 1;
        if (FormOf(line) < form) low = next;
        else high = lineStart;
    }
    for (std::size_t at = low; at < table.size();) {
        const std::string_view line = LineAt(table, at);
        if (FormOf(line) != form) break;
        const std::size_t bar = line.find('|');
        if (bar != std::string_view::npos && bar + 1 < line.size()) lemmas.push_back(line.substr(bar + 1));
        const std::size_t end = table.find('\n', at);
        if (end == std::string_view::npos) break;
        at = end + 1;
    }
    return lemmas;
}

std::vector<TFormGuess> RegularFormGuesses(std::string_view form) {
    std::vector<TFormGuess> guesses;
    bool strict = false;  // what the guesses added next are
    auto add = [&](std::string_view stem, std::string_view ending = "") {
        std::string guess = std::string(stem) + std::string(ending);
        const bool known = std::any_of(guesses.begin(), guesses.end(), [&](const TFormGuess& g) { return g.Word == guess; });
        if (guess.size() >= 2 && guess != form && !known) guesses.push_back({std::move(guess), strict});
    };
    auto cut = [&](std::size_t n) { return form.substr(0, form.size() - n); };
    // A stem that ends in a doubled consonant, undoubled ("stopp" -> "stop").
    auto undouble = [](std::string_view stem) -> std::string_view {
        const std::size_t n = stem.size();
        if (n >= 3 && stem[n - 1] == stem[n - 2] && IsConsonant(stem[n - 1])) return stem.substr(0, n - 1);
        return {};
    };
    auto stemForms = [&](std::size_t endingLength) {
        const std::string_view stem = cut(endingLength);
        if (stem.size() < 2) return;
        // "stopped" is "stop", "hoped" rather "hope" than "hop", "walked" "walk".
        if (const std::string_view single = undouble(stem); !single.empty()) add(single);
        add(stem, "e");
        add(stem);
    };
    if (form.ends_with("ies") && form.size() > 4) add(cut(3), "y");
    if (form.ends_with("es") && form.size() > 3) add(cut(2));
    if (form.ends_with("s") && !form.ends_with("ss") && form.size() > 2) add(cut(1));
    strict = true;
    if (form.ends_with("ied") && form.size() > 4) add(cut(3), "y");
    if (form.ends_with("ier") && form.size() > 4) add(cut(3), "y");
    if (form.ends_with("iest") && form.size() > 5) add(cut(4), "y");
    if (form.ends_with("ed") && form.size() > 3) stemForms(2);
    if (form.ends_with("ing") && form.size() > 4) stemForms(3);
    if (form.ends_with("est") && form.size() > 4) stemForms(3);
    if (form.ends_with("er") && form.size() > 3) stemForms(2);
    return guesses;
}

bool HasListedForms(std::string_view table, std::string_view lemma) {
    if (lemma.empty() || table.empty()) return false;
    const std::string field = "|" + std::string(lemma);
    for (std::size_t from = 0; from < table.size();) {
        const void* found = memmem(table.data() + from, table.size() - from, field.data(), field.size());
        if (found == nullptr) return false;
        const auto end = static_cast<std::size_t>(static_cast<const char*>(found) - table.data()) + field.size();
        if (end == table.size() || table[end] == '\r' || table[end] == '\n') return true;
        from = end;
    }
    return false;
}

std::vector<TFormSuggestion> SuggestForms(std::string_view table, std::string_view typed, int bound) {
    // Where each line's form and dictionary form lie, found once per table:
    // the walk reads the k-th form many times.
    struct Line {
        std::uint32_t start;
        std::uint8_t formLength;
        std::uint8_t lemmaLength;
    };
    static const char* indexed = nullptr;
    static std::size_t indexedSize = 0;
    static std::vector<Line> lines;
    if (indexed != table.data() || indexedSize != table.size()) {
        lines.clear();
        for (std::size_t at = 0; at < table.size();) {
            const std::string_view line = LineAt(table, at);
            const std::size_t bar = line.find('|');
            if (bar != std::string_view::npos && bar <= 255 && line.size() - bar - 1 <= 255)
                lines.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint8_t>(bar),
                                 static_cast<std::uint8_t>(line.size() - bar - 1)});
            const std::size_t end = table.find('\n', at);
            if (end == std::string_view::npos) break;
            at = end + 1;
        }
        indexed = table.data();
        indexedSize = table.size();
    }
    const auto formAt = [&](std::size_t k) { return table.substr(lines[k].start, lines[k].formLength); };
    std::vector<TFormSuggestion> found;
    spelling_walk::WalkSortedKeys(lines.size(), formAt, typed, bound, [&](std::size_t k, int cost) {
        const Line& l = lines[k];
        found.push_back({formAt(k), table.substr(l.start + l.formLength + 1u, l.lemmaLength), cost});
    });
    return found;
}
