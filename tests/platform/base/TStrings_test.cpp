#include "TStrings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Exceptions.h"
#include "TempDir.h"

namespace {

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(TStringList, SetTextSplitsByTheLineRule) {
    using V = std::vector<std::string>;
    struct Case { std::string text; V lines; };
    const Case cases[] = {
        {"", V{}},
        {"a\r\nb\r\nc", V{"a", "b", "c"}},          // CR LF, last line without a break counts
        {"a\nb\nc", V{"a", "b", "c"}},              // lone LF
        {"a\rb\rc", V{"a", "b", "c"}},              // lone CR
        {"a\r\nb\r\n", V{"a", "b"}},                // a final break adds no empty line
        {"a\n\nb", V{"a", "", "b"}},                // empty lines in the middle are kept
        {"a\r\r\nb", V{"a", "", "b"}},              // lone CR, then CR LF
        {"a\n\rb", V{"a", "", "b"}},                // LF CR is two breaks
        {"\r\n", V{""}},
        {"\n\n", V{"", ""}},
        {std::string("a\nb\0c\nd", 7), V{"a", "b"}},  // NUL ends the whole text
        {std::string("\0a", 2), V{}},
        {"x | y", V{"x | y"}},                       // nothing but line breaks is touched
    };
    for (const Case& c : cases) {
        TStringList list;
        list.Add("old");
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << testing::PrintToString(c.text);
    }
}

TEST(TStringList, TextPutsCrLfAfterEveryLineAndRoundTrips) {
    TStringList list;
    EXPECT_EQ(list.Text(), "");
    list.SetText("a\nb\r\rc");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n\r\nc\r\n");
    TStringList copy;
    copy.SetText(list.Text());
    EXPECT_EQ(Lines(copy), Lines(list));
}

TEST(TStringList, FilesAndStreamsKeepBytesAndFollowTheLineRule) {
    TempDir dir;
    const std::string gbk = "apple|n.\xC6\xBB\xB9\xFB";  // GBK bytes pass through untouched
    TStringList list;
    list.Add(gbk);
    list.Add("");
    list.Add("end");
    list.SaveToFile(dir / "w.txt");
    EXPECT_EQ(ReadFile(dir / "w.txt"), gbk + "\r\n\r\nend\r\n");

    TStringList loaded;
    loaded.LoadFromFile(dir / "w.txt");
    EXPECT_EQ(Lines(loaded), Lines(list));

    TMemoryStream stream;
    stream.WriteBuffer("skip\nx\ny", 8);
    stream.SetPosition(5);  // loading reads from the position on
    loaded.LoadFromStream(stream);
    EXPECT_EQ(Lines(loaded), (std::vector<std::string>{"x", "y"}));

    EXPECT_THROW(loaded.LoadFromFile(dir / "missing.txt"), EFOpenError);
}

TEST(TStringList, NamesAndValues) {
    TStringList list;
    list.SetText("Key=1\nnovalue\nkey=2\na=b=c\n=empty name");
    EXPECT_EQ(list.Names(0), "Key");
    EXPECT_EQ(list.Names(1), "");           // no '=': no name
    EXPECT_EQ(list.Values("KEY"), "1");     // first match, name case ignored
    EXPECT_EQ(list.Values("a"), "b=c");     // value runs past further '='
    EXPECT_EQ(list.Values("novalue"), "");
    EXPECT_EQ(list.IndexOfName("missing"), -1);

    list.SetValue("KEY", "9");              // replaces the first, keeps its place
    EXPECT_EQ(list[0], "KEY=9");
    list.SetValue("new", "v");
    EXPECT_EQ(list[list.Count() - 1], "new=v");
    list.SetValue("key", "");               // empty value deletes
    EXPECT_EQ(list[0], "novalue");
    EXPECT_EQ(list.Values("key"), "2");
}

TEST(TStringList, EditingObjectsAndIndexErrors) {
    TStringList list;
    int a = 0, b = 0;
    list.AddObject("Alpha", &a);
    list.Add("beta");
    list.InsertObject(0, "gamma", &b);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"gamma", "Alpha", "beta"}));
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.Objects(1), &a);
    EXPECT_EQ(list.Objects(2), nullptr);
    EXPECT_EQ(list.IndexOf("ALPHA"), 1);     // without regard to case
    EXPECT_EQ(list.IndexOf("delta"), -1);
    list.Put(1, "alpha2");                   // keeps the object
    EXPECT_EQ(list.Objects(1), &a);
    list.Delete(0);
    EXPECT_EQ(list.IndexOfObject(&a), 0);
    list.Exchange(0, 1);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"beta", "alpha2"}));

    for (int bad : {-1, 2}) {
        try {
            (void)list.Strings(bad);
            FAIL() << bad;
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
    EXPECT_THROW(list.Insert(3, "x"), EStringListError);
    EXPECT_NO_THROW(list.Insert(2, "x"));    // inserting at Count appends
}

TEST(TStringList, ChangeEventsWaitForEndUpdate) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.Add("a");
    list.SetText("x\ny\nz");
    EXPECT_EQ(changes, 2);
    list.BeginUpdate();
    list.Add("b");
    list.Delete(0);
    EXPECT_EQ(changes, 2);
    list.EndUpdate();
    EXPECT_EQ(changes, 3);
}

TEST(TStringList, CommaTextQuotesWhatNeedsIt) {
    TStringList list;
    for (const char* s : {"plain", "two words", "", "say \"hi\"", "a,b"}) list.Add(s);
    const std::string text = list.CommaText();
    EXPECT_EQ(text, "plain,\"two words\",\"\",\"say \"\"hi\"\"\",\"a,b\"");
    TStringList back;
    back.SetCommaText(text);
    EXPECT_EQ(Lines(back), Lines(list));

    back.SetCommaText("  a b,,c ,");         // blanks separate too; a comma at the end adds an empty item
    EXPECT_EQ(Lines(back), (std::vector<std::string>{"a", "b", "", "c", ""}));
}

TEST(TStringList, SortedListKeepsOrderAndHandlesDuplicates) {
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "fig", "pear"}));  // dupIgnore, no case
    EXPECT_EQ(list.IndexOf("PEAR"), 2);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("FIG"), EStringListError);
    list.SetDuplicates(dupAccept);
    list.Add("FIG");
    EXPECT_EQ(list.Count(), 4);
}
