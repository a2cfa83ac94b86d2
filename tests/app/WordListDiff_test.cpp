#include "WordListDiff.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "Exceptions.h"
#include "ScratchFolder.h"
#include "TStrings.h"
#include "WordList.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The tool's rule applied literally, one full scan of B per line of A, to
// check the tool against on generated lists.
struct DiffResult {
    std::string Output;
    std::vector<AnsiString> GlossLines;
    bool operator==(const DiffResult&) const = default;
};

DiffResult LiteralDiff(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    DiffResult result;
    std::size_t resume = 0;
    for (const std::string& lineA : a) {
        const std::string_view headword = SplitWordLine(lineA).Headword;
        bool matched = false;
        if (headword.find(' ') == std::string_view::npos) {
            for (std::size_t j = resume; j < b.size(); ++j) {
                const TWordLineParts parts = SplitWordLine(b[j]);
                if (parts.Gloss.size() > 254) result.GlossLines.emplace_back(parts.Headword);
                if (parts.Headword == headword) {
                    matched = true;
                    resume = j;
                }
            }
        }
        if (!matched) result.Output += lineA + "\r\n";
    }
    return result;
}

class WordListDiffTest : public ::testing::Test {
protected:
    AnsiString WriteList(const char* name, const std::vector<std::string>& lines, const char* lineEnd = "\r\n") {
        const AnsiString path = (dir_ / name).string();
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines) out << line << lineEnd;
        return path;
    }

    DiffResult Run(const std::vector<std::string>& a, const std::vector<std::string>& b) {
        DiffResult result;
        const AnsiString output = (dir_ / "newworduni.txt").string();
        DiffWordLists(WriteList("a.txt", a, "\n"), WriteList("b.txt", b), output,
                      [&](const AnsiString& line) { result.GlossLines.push_back(line); });
        result.Output = ReadFile(output);
        return result;
    }

    // The test's own folder (no other test process shares it), removed afterwards.
    const ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.Path();
};

}  // namespace

TEST_F(WordListDiffTest, WritesTheLinesOfAWhoseSingleWordHeadwordsBLacksAfterTheResumePoint) {
    const std::string longGloss = "n." + std::string(253, 'g');  // 255 bytes
    const std::vector<std::string> b = {
        "ant|n.蚂蚁",          // 0
        "apple|n.苹果",        // 1
        "cat|n.猫",            // 2
        "apple|n.苹果树",      // 3: the last equal line moves the resume point here
        "long|" + longGloss,   // 4
        "fine|" + longGloss.substr(0, 254),
        "ice cream|n.冰淇淋",
        "dog|n.狗",
    };
    const std::vector<std::string> a = {
        "apple|n.苹果",        // matched at 3
        "ice cream|n.冰淇淋",  // a blank: always written, and B is not scanned
        "cat|n.猫",            // B has it only before the resume point
        "dog|n.狗",            // matched at 7
        "zebra|n.斑马",        // not in B
        "long|n.长",           // B has it before the resume point
        "|n.无词头",           // empty headword, not in B
    };
    const DiffResult result = Run(a, b);
    EXPECT_EQ(result.Output, "ice cream|n.冰淇淋\r\ncat|n.猫\r\nzebra|n.斑马\r\nlong|n.长\r\n|n.无词头\r\n");
    // The scans for apple, cat and dog (from 0, 3 and 3) pass line 4; the later ones start at 7.
    EXPECT_EQ(result.GlossLines, (std::vector<AnsiString>(3, "long")));
    EXPECT_EQ(result, LiteralDiff(a, b));
}

TEST_F(WordListDiffTest, AgreesWithTheLiteralRuleOnGeneratedLists) {
    std::mt19937 random(20240610);
    const char* const headwords[] = {"a", "b", "c", "d", "e", "f", "g h", "", "\xB0\xA1", "no bar"};
    auto line = [&] {
        std::string text = headwords[random() % std::size(headwords)];
        if (text == "no bar") return std::string("nobar");
        const std::size_t glossBytes = random() % 5 == 0 ? 250 + random() % 10 : 1 + random() % 10;
        return text + "|" + std::string(glossBytes, 'x');
    };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> a(random() % 30), b(random() % 30);
        for (std::string& l : a) l = line();
        for (std::string& l : b) l = line();
        ASSERT_EQ(Run(a, b), LiteralDiff(a, b)) << "round " << round;
    }
}

TEST_F(WordListDiffTest, ReplacesTheOutputAndReportsFilesItCannotReadOrWrite) {
    const AnsiString a = WriteList("a.txt", {"zebra|n.斑马"});
    const AnsiString b = WriteList("b.txt", {"ant|n.蚂蚁"});
    const AnsiString output = (dir_ / "out.txt").string();
    std::ofstream(output) << "an older and much longer result\r\nsecond line\r\n";
    DiffWordLists(a, b, output, [](const AnsiString&) {});
    EXPECT_EQ(ReadFile(output), "zebra|n.斑马\r\n");

    const AnsiString missing = (dir_ / "missing.txt").string();
    const AnsiString fresh = (dir_ / "fresh.txt").string();
    for (const auto& [listA, listB] : {std::pair{missing, b}, std::pair{a, missing}}) {
        try {
            DiffWordLists(listA, listB, fresh, [](const AnsiString&) {});
            ADD_FAILURE() << "a missing list was compared";
        } catch (const EFOpenError& e) {
            EXPECT_NE(e.Message().find(missing), AnsiString::npos) << e.Message();
        }
        EXPECT_FALSE(fs::exists(fresh));
    }

    const AnsiString unwritable = (dir_ / "no such dir" / "newworduni.txt").string();
    try {
        DiffWordLists(a, b, unwritable, [](const AnsiString&) {});
        ADD_FAILURE() << "the output was reported written";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(unwritable), AnsiString::npos) << e.Message();
    }
}

TEST(DiffOutputPath, IsNewworduniTxtInTheHomeDirectory) {
    const char* saved = getenv("HOME");
    const std::string savedHome = saved ? saved : "";
    setenv("HOME", "/home/maintainer/", 1);
    EXPECT_EQ(DiffOutputPath(), "/home/maintainer/newworduni.txt");
    setenv("HOME", "/home/maintainer", 1);
    EXPECT_EQ(DiffOutputPath(), "/home/maintainer/newworduni.txt");
    // Without HOME the account's home directory serves.
    unsetenv("HOME");
    const AnsiString fallback = DiffOutputPath();
    EXPECT_TRUE(fallback.starts_with("/") && fallback.ends_with("/newworduni.txt")) << fallback;
    if (saved) setenv("HOME", savedHome.c_str(), 1);
}
