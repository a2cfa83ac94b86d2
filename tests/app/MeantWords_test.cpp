// The lookup a user runs: the hits of LookupWords with the words the typed
// text most likely means put before them (letter case, word forms) or after
// them (spellings), over the real word list and over small tables.

#include "MeantWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HeadwordIndex.h"
#include "WordForms.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

// The table as the window holds it without a database: the built-in list.
const TEngWordTable& ListTable() {
    static const TEngWordTable table = [] {
        const std::vector<std::string_view> lines = LoadEmbeddedWordList();
        TEngWordTable t;
        t.SetLength(lines.size());
        AppendWordLines(t, lines, 0);
        return t;
    }();
    return table;
}

std::vector<std::string> Headwords(const std::vector<TMeantHit>& hits) {
    std::vector<std::string> words;
    for (const TMeantHit& h : hits) words.emplace_back(h.Eng);
    return words;
}

std::string Shown(const std::vector<TMeantHit>& hits) {
    std::string text;
    for (const TMeantHit& h : hits) text += std::string(h.Eng) + " ";
    return text;
}

TEST(MeantWords, InflectedWordsFindTheirDictionaryFormFirst) {
    struct Case {
        const char* kind;
        const char* typed;
        const char* first;
    };
    const Case cases[] = {
        {"plural", "apples", "apple"},        {"plural", "mice", "mouse"},
        {"plural", "analyses", "analysis"},   {"plural", "children", "child"},
        {"plural", "studies", "study"},       {"plural", "boxes", "box"},
        {"past", "went", "go"},               {"past", "took", "take"},
        {"past", "stopped", "stop"},          {"past", "studied", "study"},
        {"participle", "gone", "go"},         {"participle", "written", "write"},
        {"-ing", "running", "run"},           {"-ing", "making", "make"},
        {"-ing", "stopping", "stop"},         {"comparative", "better", "good"},
        {"comparative", "bigger", "big"},     {"superlative", "happiest", "happy"},
        {"superlative", "best", "good"},      {"third person", "goes", "go"},
        {"third person", "has", "have"},      {"possessive", "party's", "party"},
        {"possessive", "parties'", "party"},  {"case and form", "Went", "go"},
        {"curly possessive", "party\xA1\xAFs", "party"},
    };
    for (const Case& c : cases) {
        const std::vector<TMeantHit> hits = LookupMeantWords(ListTable(), c.typed);
        ASSERT_FALSE(hits.empty()) << c.kind << ": " << c.typed;
        EXPECT_EQ(hits[0].Eng, c.first) << c.kind << ": " << c.typed << " found " << Shown(hits);
        EXPECT_EQ(hits[0].Kind, TMeantKind::WordForm) << c.typed;
        EXPECT_EQ(hits[0].Relation, std::string(c.typed) + " → " + c.first) << c.typed;
        EXPECT_LE(hits.size(), kMaxWordHits);
    }
    // The word's own hits follow, in their order.
    const std::vector<TWordHit> own = LookupWords(ListTable(), "better");
    const std::vector<TMeantHit> better = LookupMeantWords(ListTable(), "better");
    ASSERT_EQ(better.size(), kMaxWordHits);
    for (std::size_t i = 1; i < better.size(); ++i) {
        EXPECT_EQ(better[i].Index, own[i - 1].Index);
        EXPECT_EQ(better[i].Kind, TMeantKind::Typed);
    }
}

TEST(MeantWords, OtherLetterCaseFindsTheHeadword) {
    for (const auto& [typed, first] : std::vector<std::pair<const char*, const char*>>{
             {"Also", "also"}, {"YOUR", "your"}, {"Apple", "apple"}, {"Public", "public"}, {"Ice Cream", "ice cream"},
             {"apple.", "apple"}, {"(Water),", "water"}, {"don't", "don-t"}}) {
        const std::vector<TMeantHit> hits = LookupMeantWords(ListTable(), typed);
        ASSERT_FALSE(hits.empty()) << typed;
        EXPECT_EQ(hits[0].Eng, first) << typed << " found " << Shown(hits);
        EXPECT_EQ(hits[0].Kind, TMeantKind::LetterCase) << typed;
        EXPECT_TRUE(hits[0].Relation.empty()) << typed;
    }
}

TEST(MeantWords, CommonMisspellingsSuggestTheWordMeant) {
    struct Case {
        const char* typed;
        const char* meant;
        bool first;  // the word's own hits, if any, come before suggestions
    };
    const Case cases[] = {
        {"recieve", "receive", true},       {"seperate", "separate", true},  {"occured", "occur", true} /* "occurred", a form */,
        {"untill", "until", true},          {"definately", "definitely", true}, {"accomodate", "accommodate", true},
        {"beleive", "believe", true},       {"wierd", "weird", true},        {"goverment", "government", true},
        {"tommorow", "tomorrow", true},     {"begining", "beginning", true}, {"neccessary", "necessary", true},
        {"adress", "address", true},        {"freind", "friend", true},      {"wich", "which", false},
        {"Recieve", "receive", true},
    };
    for (const Case& c : cases) {
        const std::vector<TMeantHit> hits = LookupMeantWords(ListTable(), c.typed);
        const std::vector<std::string> words = Headwords(hits);
        const auto at = std::find(words.begin(), words.end(), c.meant);
        ASSERT_NE(at, words.end()) << c.typed << " found " << Shown(hits);
        const TMeantHit& hit = hits[static_cast<std::size_t>(at - words.begin())];
        EXPECT_EQ(hit.Kind, TMeantKind::Spelling) << c.typed;
        if (c.first) {
            EXPECT_EQ(at, words.begin()) << c.typed << " found " << Shown(hits);
        }
        EXPECT_EQ(hit.Relation, std::string(c.typed) + " → " + c.meant + "?");
        EXPECT_LE(hits.size(), kMaxWordHits);
    }
    // A word far from every headword gets no suggestion.
    EXPECT_TRUE(LookupMeantWords(ListTable(), "qqxqzzkw").empty());
}

// Words that are headwords as typed keep the hits of LookupWords, all of
// them in their order, behind the word itself (a gloss holding the word can
// put another headword first); Chinese text keeps exactly its hits.
TEST(MeantWords, HeadwordsKeepTheirHitsBehindThemselvesAndChineseKeepsExactlyItsHits) {
    for (const char* typed : {"apple", "computer", "water", "the", "beautiful", "ice cream", "run", "n", "for", "in",
                              "\xC6\xBB\xB9\xFB" /* 苹果 */, "\xD6\xD0" /* 中 */, "\xB5\xC4" /* 的 */, ""}) {
        const std::vector<TWordHit> own = LookupWords(ListTable(), typed);
        std::vector<std::size_t> expected;
        if (!MeantWordKey(typed).empty()) {
            for (std::size_t i = 0; i < ListTable().Length(); ++i)
                if (ListTable()[i].Eng == typed) expected.push_back(i);
            ASSERT_FALSE(expected.empty()) << typed;
        }
        for (const TWordHit& h : own)
            if (h.Eng != typed || MeantWordKey(typed).empty()) expected.push_back(h.Index);
        expected.resize(std::min(expected.size(), kMaxWordHits));
        std::vector<std::size_t> found;
        for (const TMeantHit& h : LookupMeantWords(ListTable(), typed)) {
            found.push_back(h.Index);
            EXPECT_EQ(h.Kind, TMeantKind::Typed) << typed;
        }
        EXPECT_EQ(found, expected) << typed;
    }
    // A trailing blank is kept by the literal lookup; the word itself comes first.
    const std::vector<TMeantHit> blank = LookupMeantWords(ListTable(), "apple ");
    ASSERT_FALSE(blank.empty());
    EXPECT_EQ(blank[0].Eng, "apple");
    EXPECT_EQ(blank[0].Kind, TMeantKind::LetterCase);
}

// Database rows come first in the table; within each kind they come first
// in the hits too, and the exact letter case before the other.
TEST(MeantWords, DatabaseWordsLeadEachKindAndTheExactCaseComesFirst) {
    TEngWordTable table;
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"US", "n.database us"}, {"go", "v.database go"}, {"receive", "v.database receive"},
        {"us", "pron.list us"},  {"go", "v.list go"},     {"receive", "v.list receive"},
        {"gone", "adj.list gone"}, {"usage", "n.list usage"},
    };
    table.SetLength(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) table.Store(i, rows[i].first, rows[i].second);

    auto indices = [&](std::string_view typed) {
        std::vector<std::size_t> out;
        for (const TMeantHit& h : LookupMeantWords(table, typed)) out.push_back(h.Index);
        return out;
    };
    EXPECT_EQ(indices("US"), (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(indices("Us"), (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(indices("us"), (std::vector<std::size_t>{3, 0, 7}));  // the exact case, the other, then "usage"
    EXPECT_EQ(indices("went"), (std::vector<std::size_t>{1, 4}));
    EXPECT_EQ(indices("gone"), (std::vector<std::size_t>{1, 4, 6}));  // the form first, the word itself after
    EXPECT_EQ(indices("recieve"), (std::vector<std::size_t>{2, 5}));
}

TEST(MeantWords, RegularEndingsAreGuessedOnlyWhereTheyGiveAHeadword) {
    // Words the forms table cannot know.
    TEngWordTable table;
    const char* const words[] = {"glorf", "flob", "zarve", "flurpy", "quib"};
    table.SetLength(std::size(words));
    for (std::size_t i = 0; i < std::size(words); ++i) table.Store(i, words[i], "n.x");
    struct Case {
        const char* typed;
        const char* first;
    };
    for (const Case& c : {Case{"glorfs", "glorf"}, Case{"glorfed", "glorf"}, Case{"flobbing", "flob"},
                          Case{"flobbed", "flob"}, Case{"zarving", "zarve"}, Case{"zarved", "zarve"},
                          Case{"flurpier", "flurpy"}, Case{"flurpiest", "flurpy"}, Case{"quibs", "quib"},
                          Case{"glorf's", "glorf"}}) {
        const std::vector<TMeantHit> hits = LookupMeantWords(table, c.typed);
        ASSERT_FALSE(hits.empty()) << c.typed;
        EXPECT_EQ(hits[0].Eng, c.first) << c.typed;
        EXPECT_EQ(hits[0].Kind, TMeantKind::WordForm) << c.typed;
    }
    // No guess without a headword behind it: these are spellings at best.
    for (const char* typed : {"plinked", "glorfingly"}) {
        for (const TMeantHit& h : LookupMeantWords(table, typed)) EXPECT_NE(h.Kind, TMeantKind::WordForm) << typed;
    }
}

TEST(MeantWords, FormsTableIsSortedAndFindsEveryFormOfALine) {
    const std::string_view forms = EmbeddedWordForms();
    ASSERT_FALSE(forms.empty());
    const std::vector<std::string_view> lines = SplitWordListLines(forms);
    ASSERT_GT(lines.size(), 20000u);
    // Sorted by form, so a binary search finds each; probe a spread of lines.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const TWordLineParts a = SplitWordLine(lines[i - 1]), b = SplitWordLine(lines[i]);
        ASSERT_LE(a.Headword, b.Headword) << i;
    }
    for (std::size_t i = 0; i < lines.size(); i += 997) {
        const TWordLineParts line = SplitWordLine(lines[i]);
        const std::vector<std::string_view> lemmas = DictionaryFormsIn(forms, line.Headword);
        EXPECT_NE(std::find(lemmas.begin(), lemmas.end(), line.Gloss), lemmas.end()) << lines[i];
    }
    EXPECT_TRUE(DictionaryFormsIn(forms, "apple").empty());
    EXPECT_TRUE(DictionaryFormsIn(forms, "").empty());
    EXPECT_TRUE(DictionaryFormsIn(forms, "zzzzzzzz").empty());
}

TEST(SpellingCost, CommonSlipsCostLessAndThreeEditsAreTooMany) {
    struct Case {
        const char* typed;
        const char* headword;
        int cost;
    };
    const Case cases[] = {
        {"receive", "receive", 0},
        {"recieve", "receive", kCommonSlipCost},           // ie for ei
        {"untill", "until", kCommonSlipCost},              // a letter doubled
        {"ocur", "occur", kCommonSlipCost},                // a double letter single
        {"seperate", "separate", kCommonSlipCost},         // a vowel for a vowel
        {"hwllo", "hello", kCommonSlipCost},               // a neighbouring key
        {"hzllo", "hello", kPlainEditCost},                // any other letter
        {"hlelo", "hello", kPlainEditCost},                // two neighbours swapped
        {"helo", "hello", kCommonSlipCost},
        {"hel", "hello", kCommonSlipCost + kPlainEditCost},
        {"xylophone", "telephone", kMaxSpellingCost + 1},  // far beyond two edits
        {"abcdef", "abcxyz", kMaxSpellingCost + 1},        // three plain edits
    };
    for (const Case& c : cases) {
        const int cost = SpellingCost(c.typed, c.headword);
        if (c.cost > kMaxSpellingCost) {
            EXPECT_GT(cost, kMaxSpellingCost) << c.typed << " " << c.headword;
        } else {
            EXPECT_EQ(cost, c.cost) << c.typed << " " << c.headword;
        }
    }
}

// The index's walk finds exactly what testing every headword finds.
TEST(HeadwordIndex, SuggestionsAreThoseOfTheFullComparison) {
    const TEngWordTable& table = ListTable();
    const THeadwordIndex& index = HeadwordIndexOf(table);
    for (const char* typed : {"recieve", "teh", "mispell", "qwertyuiop", "ab", "x", "acommodation", "ice craem"}) {
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < table.Length(); ++i) {
            const std::string folded = FoldCase(table[i].Eng);
            if (folded != typed && SpellingCost(typed, folded) <= kMaxSpellingCost &&
                std::find(expected.begin(), expected.end(), folded) == expected.end())
                expected.push_back(folded);
        }
        std::vector<std::string> found;
        for (const THeadwordIndex::Suggestion& s : index.Suggest(typed)) {
            found.emplace_back(s.Key);
            EXPECT_EQ(s.Cost, SpellingCost(typed, s.Key)) << typed << " " << s.Key;
        }
        std::sort(expected.begin(), expected.end());
        std::vector<std::string> sortedFound = found;
        std::sort(sortedFound.begin(), sortedFound.end());
        EXPECT_EQ(sortedFound, expected) << typed;
    }
    // The index follows the table it describes.
    TEngWordTable small;
    small.SetLength(1);
    small.Store(0, "Zebra", "n.x");
    EXPECT_EQ(HeadwordIndexOf(small).Find("zebra").size(), 1u);
    small.Store(0, "Lion", "n.x");
    EXPECT_TRUE(HeadwordIndexOf(small).Find("zebra").empty());
    EXPECT_EQ(HeadwordIndexOf(small).Find("lion").size(), 1u);
}

}  // namespace
