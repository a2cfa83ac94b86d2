#include "WindowRequest.h"

#include <gtest/gtest.h>

#include "DesktopInput.h"
#include "VirtualKeys.h"
#include "HotkeySetting.h"
#include "WordTable.h"

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(WordFromSelection, TakesTheFirstLineTrimmedAndKeepsOnlyText) {
    const std::string longLine(1 << 20, 'x');
    struct Case {
        std::string selection;
        AnsiString word;
    } const cases[] = {
        {"apple", "apple"},
        {"  apple pie\t \nsecond line", "apple pie"},
        {"\r\n \n\t pear\r\nplum", "pear"},
        {"", ""},
        {" \n\t\n", ""},
        {longLine, AnsiString(kMaxChsBytes, 'x')},
        {"\xff\xfe" "apple\xe2\x82", "apple"},         // bytes that are not UTF-8 are dropped
        {std::string("app\0le", 6), "app le"},        // a NUL is no end of the text
        {"\x1b[31mred", "[31mred"},                   // no escape sequence reaches the box
        {Utf8(u8"苹果"), Utf8ToAnsi(Utf8(u8"苹果"))},
    };
    for (const Case& c : cases) EXPECT_EQ(WordFromSelection(c.selection), c.word) << c.selection.substr(0, 40);

    // Chinese text is cut to whole characters within the lookup's limit.
    std::string many;
    for (int i = 0; i < 200; ++i) many += Utf8(u8"果");
    const AnsiString cut = WordFromSelection(many);
    EXPECT_EQ(cut.size(), kMaxChsBytes - 1);
    EXPECT_EQ(cut.substr(0, 2), Utf8ToAnsi(Utf8(u8"果")));
}

TEST(WindowRequestLine, RoundTripsAndRejectsOtherLines) {
    const WindowRequest requests[] = {
        {WindowRequest::Kind::Show, ""},
        {WindowRequest::Kind::Selection, ""},
        {WindowRequest::Kind::Word, "ice cream"},
        {WindowRequest::Kind::Word, Utf8ToAnsi(Utf8(u8"苹果"))},
    };
    for (const WindowRequest& r : requests) EXPECT_EQ(DecodeWindowRequest(EncodeWindowRequest(r)), r);
    // A word never breaks the line it travels on.
    const std::string line = EncodeWindowRequest({WindowRequest::Kind::Word, "a\nb\rc"});
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    for (const char* bad : {"", "word", "Show", "selection ", "lookup apple", "\x01"})
        EXPECT_FALSE(DecodeWindowRequest(bad)) << bad;
}

TEST(WindowRequestFromArgs, WindowRequestsAndCommandLineWork) {
    const char* plain[] = {"mirvodict"};
    EXPECT_EQ(WindowRequestFromArgs(1, plain), WindowRequest{});
    const char* words[] = {"mirvodict", "ice", "cream"};
    EXPECT_EQ(WindowRequestFromArgs(3, words), (WindowRequest{WindowRequest::Kind::Word, "ice cream"}));
    const char* selection[] = {"mirvodict", "--selection"};
    EXPECT_EQ(WindowRequestFromArgs(2, selection), (WindowRequest{WindowRequest::Kind::Selection, ""}));
    const char* lookup[] = {"mirvodict", "-l", "apple"};
    EXPECT_FALSE(WindowRequestFromArgs(3, lookup));
    const char* wrong[] = {"mirvodict", "--selection", "apple"};
    EXPECT_FALSE(WindowRequestFromArgs(3, wrong));
}

TEST(ParseHotkey, ReadsModifiersAndOneKey) {
    struct Case {
        const char* text;
        std::optional<HotkeySpec> spec;
    } const cases[] = {
        {"Ctrl+Alt+Z", HotkeySpec{MOD_CONTROL | MOD_ALT, 'Z'}},
        {"shift + win + f5", HotkeySpec{MOD_SHIFT | MOD_WIN, VK_F1 + 4}},
        {"Control+Space", HotkeySpec{MOD_CONTROL, VK_SPACE}},
        {"alt+1", HotkeySpec{MOD_ALT, '1'}},
        {"Z", std::nullopt},            // no modifier: every program would lose the key
        {"Ctrl+Alt", std::nullopt},
        {"Ctrl+A+B", std::nullopt},
        {"Ctrl+F13", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"Hyper+Z", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseHotkey(c.text), c.spec) << c.text;
}

}  // namespace
