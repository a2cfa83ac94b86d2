#include "WordListDiff.h"

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Exceptions.h"
#include "FileUtils.h"
#include "TStrings.h"
#include "WordList.h"
#include "WordListFile.h"

namespace {

// Glosses longer than this are reported while list B is scanned: the word
// table keeps only 255 bytes, and a maintainer wants to see which words lose
// text before the list is delivered.
constexpr std::size_t kLongGlossBytes = 254;

AnsiString HomeDirectory() {
    if (const char* home = ::getenv("HOME"); home != nullptr && *home != '\0') return home;
    // Without HOME (started from a service, say) the account database knows.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && *found->pw_dir != '\0') {
        return found->pw_dir;
    }
    throw EInOutError("Cannot find the home directory to write newworduni.txt");
}

// List B as the scans see it. A scan from `resume` matches a headword when
// its last occurrence lies at or after `resume`, and the last equal line is
// that occurrence; so one map of last occurrences answers every scan without
// walking B again. The long-gloss lines are kept in order for the reports.
class ScannedList {
public:
    explicit ScannedList(const TStrings& lines) {
        for (int i = 0; i < lines.Count(); ++i) {
            const TWordLineParts parts = SplitWordLine(lines[i]);
            lastIndex_[parts.Headword] = static_cast<std::size_t>(i);
            if (parts.Gloss.size() > kLongGlossBytes) longGlosses_.push_back({static_cast<std::size_t>(i), parts.Headword});
        }
    }

    // The index of the last line from `resume` on with this headword, or -1.
    std::ptrdiff_t LastMatchFrom(std::size_t resume, std::string_view headword) const {
        const auto it = lastIndex_.find(headword);
        if (it == lastIndex_.end() || it->second < resume) return -1;
        return static_cast<std::ptrdiff_t>(it->second);
    }

    // The headwords of the long-gloss lines a scan from `resume` passes, in order.
    template <typename Report>
    void ReportLongGlossesFrom(std::size_t resume, const Report& report) const {
        auto it = std::lower_bound(longGlosses_.begin(), longGlosses_.end(), resume,
                                   [](const LongGloss& line, std::size_t index) { return line.index < index; });
        for (; it != longGlosses_.end(); ++it) report(AnsiString(it->headword));
    }

private:
    struct LongGloss {
        std::size_t index;
        std::string_view headword;
    };
    std::unordered_map<std::string_view, std::size_t> lastIndex_;
    std::vector<LongGloss> longGlosses_;
};

}  // namespace

AnsiString DiffOutputPath() { return IncludeTrailingPathDelimiter(HomeDirectory()) + "newworduni.txt"; }

void DiffWordLists(const AnsiString& listAPath, const AnsiString& listBPath, const AnsiString& outputPath,
                   const std::function<void(const AnsiString&)>& appendGlossLine) {
    TStringList listA;
    listA.SetText(ReadRegularFile(listAPath));
    TStringList listB;
    listB.SetText(ReadRegularFile(listBPath));
    const ScannedList scanned(listB);

    TStringList unmatched;
    std::size_t resume = 0;
    for (int i = 0; i < listA.Count(); ++i) {
        const std::string_view headword = SplitWordLine(listA[i]).Headword;
        bool matched = false;
        if (headword.find(' ') == std::string_view::npos) {
            scanned.ReportLongGlossesFrom(resume, appendGlossLine);
            if (const std::ptrdiff_t last = scanned.LastMatchFrom(resume, headword); last >= 0) {
                matched = true;
                resume = static_cast<std::size_t>(last);
            }
        }
        if (!matched) unmatched.Add(listA[i]);
    }
    unmatched.SaveToFile(outputPath);
}
