#include "IniFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Exceptions.h"
#include "FileUtils.h"
#include "TempDir.h"

namespace {

TMemIniFile FromText(const char* text) {
    TStringList lines;
    lines.SetText(text);
    return TMemIniFile(lines);
}

std::vector<std::string> Items(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

const char* const kSample =
    "; leading comment\r\n"
    "[Pictures]\r\n"
    "  picture = frame.bmp  \r\n"
    "Count=3\r\n"
    "count=7\r\n"                  // duplicate key: the first wins
    ";count=9\r\n"                 // a comment, not a key
    "Empty=\r\n"
    "a=b=c\r\n"
    "no equals sign\r\n"
    "\r\n"
    "  [ FormInfo ]  \r\n"
    "ClientRect=1, 2, 3, 4\r\n"
    "Hex=0x1F\r\n"
    "Colour=$FF00000F\r\n"
    "Bad=12abc\r\n"
    "One=1\r\n"
    "Two=2\r\n"
    "[pictures]\r\n"               // same section again: its keys join the first
    "extra=yes\r\n"
    "picture=second.bmp\r\n";

}  // namespace

TEST(TMemIniFile, ReadingRules) {
    const TMemIniFile ini = FromText(kSample);
    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"Pictures", "picture", "frame.bmp"},    // blanks around name and value trimmed
        {"PICTURES", "PICTURE", "frame.bmp"},    // names without regard to case
        {"pictures", "count", "3"},              // first of duplicate keys
        {"Pictures", ";count", "<default>"},
        {"Pictures", "Empty", ""},               // present but empty: not the default
        {"Pictures", "a", "b=c"},
        {"Pictures", "no equals sign", "<default>"},
        {"formInfo", "clientrect", "1, 2, 3, 4"},
        {"Pictures", "extra", "yes"},            // from the repeated section
        {"Missing", "picture", "<default>"},
        {"FormInfo", "missing", "<default>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected) << c.section << "/" << c.key;
    }
    EXPECT_TRUE(ini.SectionExists("FORMINFO"));
    EXPECT_FALSE(ini.SectionExists("Missing"));
    EXPECT_TRUE(ini.ValueExists("pictures", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("pictures", "no equals sign"));
}

TEST(TMemIniFile, IntegersAndBooleans) {
    const TMemIniFile ini = FromText(kSample);
    struct Case { const char* key; int expected; };
    for (const Case& c : {Case{"Hex", 31}, Case{"Colour", static_cast<int>(0xFF00000Fu)}, Case{"Bad", -5},
                          Case{"One", 1}, Case{"missing", -5}}) {
        EXPECT_EQ(ini.ReadInteger("FormInfo", c.key, -5), c.expected) << c.key;
    }
    EXPECT_EQ(ini.ReadInteger("Pictures", "Empty", 42), 42);  // empty text gives the default
    EXPECT_TRUE(ini.ReadBool("FormInfo", "One", false));
    EXPECT_TRUE(ini.ReadBool("FormInfo", "Two", false));        // any non-zero integer
    EXPECT_FALSE(ini.ReadBool("FormInfo", "Bad", false));       // malformed: the default
    EXPECT_TRUE(ini.ReadBool("FormInfo", "missing", true));
}

TEST(TMemIniFile, SectionListings) {
    const TMemIniFile ini = FromText(kSample);
    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Pictures", "FormInfo"}));
    ini.ReadSection("pictures", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"picture", "Count", "Empty", "a", "extra"}));
    ini.ReadSectionValues("FORMINFO", list);
    EXPECT_EQ(list[0], "ClientRect=1, 2, 3, 4");
    EXPECT_EQ(list.Count(), 6);
    ini.ReadSection("missing", list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TMemIniFile, WritingErasingAndUpdateFileKeepOrder) {
    TempDir dir;
    const std::string path = dir / "skin.ini";
    {
        std::ofstream(path, std::ios::binary) << "; top\n[B]\nk=1\n; note\nK=dup\n[A]\nx=1\ny=2\n[C]\nz=3\n";
    }
    TMemIniFile ini(path);
    ini.WriteString("b", "K", "changed");   // the first of the duplicates, keeping its spelling
    ini.WriteInteger("A", "new", -12);
    ini.WriteBool("New Section", "flag", true);
    ini.DeleteKey("A", "X");
    ini.EraseSection("c");
    EXPECT_FALSE(ini.SectionExists("C"));
    ini.UpdateFile();

    std::ifstream in(path, std::ios::binary);
    std::ostringstream written;
    written << in.rdbuf();
    EXPECT_EQ(written.str(),
              "; top\r\n[B]\r\nk=changed\r\n; note\r\nK=dup\r\n\r\n"
              "[A]\r\ny=2\r\nnew=-12\r\n\r\n[New Section]\r\nflag=1\r\n\r\n");

    const TMemIniFile again(path);
    EXPECT_EQ(again.ReadString("b", "k", ""), "changed");
    EXPECT_EQ(again.ReadInteger("a", "NEW", 0), -12);
    EXPECT_TRUE(again.ReadBool("new section", "flag", false));

    ini.DeleteKey("B", "k");                // the later duplicate now shows through
    EXPECT_EQ(ini.ReadString("B", "k", ""), "dup");
}

TEST(TMemIniFile, FileAndLinesRoundTrip) {
    TempDir dir;
    const TMemIniFile missing(dir / "none.ini");  // a missing file is an empty description
    TStringList lines;
    missing.GetStrings(lines);
    EXPECT_EQ(lines.Count(), 0);

    TMemIniFile ini = FromText(kSample);
    ini.GetStrings(lines);
    TMemIniFile copy(lines);
    TStringList sections;
    copy.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
        TStringList a, b;
        ini.ReadSectionValues(sections[i], a);
        copy.ReadSectionValues(sections[i], b);
        EXPECT_EQ(Items(a), Items(b)) << sections[i];
    }

    ini.SetFileName(dir / "no/such/dir/x.ini");
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
}
