#include "WordTable.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Exceptions.h"

namespace {

struct Word {
    std::string eng;
    std::string chs;
};

TEngWordTable MakeTable(const std::vector<Word>& words) {
    TEngWordTable table;
    table.SetLength(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) table.Store(i, words[i].eng, words[i].chs);
    return table;
}

std::vector<std::size_t> HitIndices(const std::vector<TWordHit>& hits) {
    std::vector<std::size_t> out;
    for (const TWordHit& hit : hits) out.push_back(hit.Index);
    return out;
}

// The lookup rule, record by record, straight from its definition.
std::vector<std::size_t> ReferenceMatches(const std::vector<Word>& words, std::string_view pattern) {
    std::vector<std::size_t> out;
    if (pattern.empty()) return out;
    for (std::size_t i = 0; i < words.size() && out.size() < kMaxWordHits; ++i) {
        const std::string eng = words[i].eng.substr(0, kMaxEngBytes);
        const std::string chs = words[i].chs.substr(0, kMaxChsBytes);
        if (eng.starts_with(pattern) || chs.find(pattern) != std::string::npos) out.push_back(i);
    }
    return out;
}

TEST(TEngWordTable, CutsFieldsToTheirByteLimits) {
    struct Case { std::size_t engBytes, chsBytes, storedEng, storedChs; };
    const Case cases[] = {
        {50, 255, 50, 255},  // exactly at the limits: stored whole
        {51, 256, 50, 255},  // one byte over: the last byte goes
        {60, 300, 50, 255},
        {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TEngWordTable table;
        table.SetLength(1);
        const std::string eng(c.engBytes, 'e');
        std::string chs;
        for (std::size_t i = 0; i < c.chsBytes; ++i) chs += static_cast<char>('a' + i % 26);
        table.Store(0, eng, chs);
        EXPECT_EQ(table[0].Eng, eng.substr(0, c.storedEng)) << c.engBytes;
        EXPECT_EQ(table[0].Chs, chs.substr(0, c.storedChs)) << c.chsBytes;
    }
}

TEST(TEngWordTable, CutMaySplitADoubleByteCharacter) {
    TEngWordTable table;
    table.SetLength(1);
    const std::string eng = std::string(49, 'x') + "中";  // 51 bytes: the lead byte stays alone
    table.Store(0, eng, "");
    EXPECT_EQ(table[0].Eng, eng.substr(0, 50));
}

TEST(TEngWordTable, NewRecordsAreEmptyAndIndicesAreChecked) {
    TEngWordTable table;
    table.SetLength(3);
    EXPECT_EQ(table.Length(), 3u);
    table.Store(1, "cat", "n.猫");
    EXPECT_EQ(table[0].Eng, "");
    EXPECT_EQ(table[2].Chs, "");
    EXPECT_THROW(table.Store(3, "x", "y"), EListError);
    EXPECT_THROW(table[3], EListError);

    table.SetLength(5);  // growing keeps what is stored
    EXPECT_EQ(table[1].Eng, "cat");
    EXPECT_EQ(table[4].Eng, "");
    table.SetLength(1);
    EXPECT_EQ(table.Length(), 1u);
    EXPECT_THROW(table[1], EListError);

    table.Clear();
    EXPECT_EQ(table.Length(), 0u);
    EXPECT_EQ(table.MemoryBytes(), 0u);
}

TEST(TEngWordTable, StoredWordsStayPutWhileTheTableFills) {
    TEngWordTable table;
    table.SetLength(5000);
    table.Store(0, "first", "n.第一");
    const TEngWord early = table[0];
    for (std::size_t i = 1; i < 5000; ++i) table.Store(i, "word" + std::to_string(i), std::string(200, 'g'));
    EXPECT_EQ(early.Eng, "first");  // the views still point at live bytes
    EXPECT_EQ(early.Chs, "n.第一");
    EXPECT_EQ(table[4999].Eng, "word4999");
}

TEST(TEngWordTable, StoringARecordAgainReplacesIt) {
    TEngWordTable table = MakeTable({{"a", "x"}, {"b", "y"}, {"c", "z"}});
    table.Store(1, "bee", "n.蜜蜂");
    EXPECT_EQ(table[1].Eng, "bee");
    EXPECT_EQ(table[1].Chs, "n.蜜蜂");
    EXPECT_EQ(HitIndices(LookupWords(table, "b")), std::vector<std::size_t>{1});
    EXPECT_EQ(HitIndices(LookupWords(table, "z")), std::vector<std::size_t>{2});
    EXPECT_TRUE(LookupWords(table, "y").empty());
}

class LookupWordsTest : public ::testing::Test {
protected:
    // Database rows first, then embedded lines, as at start-up.
    const std::vector<Word> words_ = {
        {"apple", "n.苹果"},                 // 0
        {"Apple", "n.苹果公司"},             // 1
        {"apple pie", "n.苹果派"},           // 2
        {"pineapple", "n.菠萝"},             // 3
        {"banana", "n.香蕉"},                // 4
        {"apple", "n.苹果,家伙"},            // 5: the same headword again
        {"中国", "n.China"},                 // 6: a Chinese headword
        {"run", "vi.跑;n.跑步"},             // 7
        {"", ""},                            // 8: an empty record
    };
    const TEngWordTable table_ = MakeTable(words_);
};

TEST_F(LookupWordsTest, FindsHeadwordStartsAndGlossesInTableOrder) {
    struct Case { const char* input; std::vector<std::size_t> hits; };
    const Case cases[] = {
        {"", {}},                      // an empty input finds nothing
        {"apple", {0, 2, 5}},          // headword starts; a duplicate headword is a hit of its own
        {"Apple", {1}},                // case counts
        {"apple ", {2}},               // a trailing blank counts too
        {"pie", {}},                   // inside a headword is not a start
        {"pineapple", {3}},
        {"applesauce", {}},            // longer than every headword it starts
        {"苹果", {0, 1, 2, 5}},        // typed Chinese finds glosses
        {"家伙", {5}},                 // at the very end of a gloss
        {"n.", {0, 1, 2, 3, 4, 5, 6, 7}},  // English letters find tags in glosses
        {"China", {6}},                // in a gloss though no headword starts with it
        {"中", {6}},                   // a Chinese headword by its first character
        {"跑;n", {7}},                 // separators are plain bytes
        {"apple\r\n", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitIndices(LookupWords(table_, c.input)), c.hits) << c.input;
    }
}

TEST_F(LookupWordsTest, HitsCarryACopyOfTheHeadword) {
    const std::vector<TWordHit> hits = LookupWords(table_, "apple");
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].Eng, "apple");
    EXPECT_EQ(hits[1].Eng, "apple pie");
    EXPECT_EQ(hits[2].Eng, "apple");
}

TEST(LookupWords, AMatchNeverRunsAcrossFieldsOrRecords) {
    // In memory the text of these records lies end to end; none of these
    // patterns may be found across a boundary.
    const TEngWordTable table = MakeTable({{"ab", "cd"}, {"ef", "gh"}, {"ij", "kl"}});
    for (const char* pattern : {"bc", "de", "dg", "hi", "cdef", "abcd", "fg", "lm"}) {
        EXPECT_TRUE(LookupWords(table, pattern).empty()) << pattern;
    }
    EXPECT_EQ(HitIndices(LookupWords(table, "gh")), std::vector<std::size_t>{1});
    EXPECT_EQ(HitIndices(LookupWords(table, "ef")), std::vector<std::size_t>{1});
    EXPECT_TRUE(LookupWords(table, "f").empty());  // inside a headword, not at its start
}

TEST(LookupWords, StopsAtElevenHitsInTableOrder) {
    std::vector<Word> words;
    for (int i = 0; i < 30; ++i) words.push_back({i % 2 == 0 ? "cat" + std::to_string(i) : "dog", "n.猫"});
    const TEngWordTable table = MakeTable(words);
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < 22; i += 2) expected.push_back(i);
    EXPECT_EQ(HitIndices(LookupWords(table, "cat")), expected);
    EXPECT_EQ(LookupWords(table, "猫").size(), 11u);
    EXPECT_EQ(LookupWords(table, "猫").back().Index, 10u);
}

TEST(LookupWords, SearchesWithTheFirst255BytesOfTheInput) {
    std::string gloss;
    for (int i = 0; i < 255; ++i) gloss += static_cast<char>('a' + i % 26);
    const TEngWordTable table = MakeTable({{"long", gloss}});
    EXPECT_EQ(LookupWords(table, gloss + std::string(45, '!')).size(), 1u);  // 300 bytes typed
    EXPECT_TRUE(LookupWords(table, gloss.substr(1) + "!").empty());          // byte 255 still counts
}

TEST(LookupWords, ComparesBytesWhereverCharactersBegin) {
    // "中中" is D6 D0 D6 D0: the pattern D0 D6 starts on a trail byte.
    const TEngWordTable table = MakeTable({{"x", "中中"}});
    EXPECT_EQ(LookupWords(table, "\xD0\xD6").size(), 1u);
}

TEST(LookupWords, RunsOverTheGlobalWordTable) {
    WordTable.SetLength(2);
    WordTable.Store(0, "cat", "n.猫");
    WordTable.Store(1, "dog", "n.狗");
    const std::vector<TWordHit> hits = LookupWords("do");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].Index, 1u);
    EXPECT_EQ(FormatGloss(1), "dog\r\n--------------------\r\nn.狗");
    WordTable.Clear();
    EXPECT_TRUE(LookupWords("do").empty());
}

TEST(FormatGloss, PutsARuleBetweenHeadwordAndGloss) {
    const TEngWordTable table = MakeTable({{"apple", "n.苹果,家伙"}, {"", ""}});
    EXPECT_EQ(FormatGloss(table, 0), "apple\r\n--------------------\r\nn.苹果,家伙");
    EXPECT_EQ(FormatGloss(table, 1), "\r\n--------------------\r\n");
    EXPECT_THROW(FormatGloss(table, 2), EListError);
}

// The lookup scans the stored text in one pass when records were stored in
// index order and tests record by record otherwise. Random tables over a
// tiny alphabet give many near misses at field and block boundaries; both
// ways must agree with the rule itself.
TEST(LookupWords, AgreesWithTheRuleWhateverTheStoringOrder) {
    std::mt19937 random(20240611);
    const std::string alphabet = "ab|\xD6\xD0";
    auto text = [&](std::size_t maxLength) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
        for (char& c : s) c = alphabet[random() % alphabet.size()];
        return s;
    };
    enum class Order { Forward, Backward, WithGaps, ShrunkAndRefilled };
    for (const Order order : {Order::Forward, Order::Backward, Order::WithGaps, Order::ShrunkAndRefilled}) {
        // Enough text for several blocks; some fields over their limits.
        std::vector<Word> words(6000);
        for (Word& w : words) w = {text(60), text(300)};
        TEngWordTable table;
        table.SetLength(words.size());
        switch (order) {
        case Order::Forward:
            for (std::size_t i = 0; i < words.size(); ++i) table.Store(i, words[i].eng, words[i].chs);
            break;
        case Order::Backward:
            for (std::size_t i = words.size(); i-- > 0;) table.Store(i, words[i].eng, words[i].chs);
            break;
        case Order::WithGaps:  // every third record is never stored
            for (std::size_t i = 0; i < words.size(); ++i) {
                if (i % 3 == 1) words[i] = {};
                else table.Store(i, words[i].eng, words[i].chs);
            }
            break;
        case Order::ShrunkAndRefilled:  // stale text of cut-off records stays in memory
            for (std::size_t i = 0; i < words.size(); ++i) table.Store(i, words[i].eng, words[i].chs);
            table.SetLength(100);
            table.SetLength(words.size());
            for (std::size_t i = 100; i < words.size(); ++i) {
                words[i] = {text(8), text(20)};
                table.Store(i, words[i].eng, words[i].chs);
            }
            break;
        }
        for (int round = 0; round < 400; ++round) {
            const std::string pattern = text(round % 50 == 0 ? 40 : 5);
            ASSERT_EQ(HitIndices(LookupWords(table, pattern)), ReferenceMatches(words, pattern))
                << "order " << static_cast<int>(order) << ", pattern " << pattern;
        }
    }
}

TEST(TEngWordTable, CostsItsTextPlusAFewBytesPerRecord) {
    std::vector<Word> words;
    std::size_t textBytes = 0;
    for (int i = 0; i < 20000; ++i) {
        words.push_back({"word" + std::to_string(i), "n.词语,单词" + std::string(i % 40, 'x')});
        textBytes += words.back().eng.size() + words.back().chs.size();
    }
    const TEngWordTable table = MakeTable(words);
    EXPECT_LE(table.MemoryBytes(), textBytes + 16 * words.size());
}

}  // namespace
