#include "WordShare.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "Exceptions.h"
#include "ScratchFolder.h"
#include "WinStyles.h"

namespace {

namespace fs = std::filesystem;

// One call of the shell's open, with every argument copied.
struct ShellCall {
    HWND Owner;
    std::optional<std::string> Verb, File, Parameters, Directory;
    INT ShowCommand;
    bool operator==(const ShellCall&) const = default;
};

std::optional<std::string> Copy(LPCSTR text) { return text ? std::optional<std::string>(text) : std::nullopt; }

class WordShareTest : public ::testing::Test {
protected:
    TShellExecute RecordingShell() {
        return [this](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
            calls_.push_back({owner, Copy(verb), Copy(file), Copy(parameters), Copy(directory), show});
            return reinterpret_cast<HINSTANCE>(std::intptr_t{2});  // a failure, which nobody looks at
        };
    }

    TWordShareContext Context() {
        return {owner_,
                [this](const AnsiString& text, int kind, int buttons) {
                    messages_.push_back(text + "|" + std::to_string(kind) + "|" + std::to_string(buttons));
                    return mrYes;
                },
                RecordingShell()};
    }

    AnsiString WriteFile(const char* name, const std::string& bytes) {
        const AnsiString path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // The test's own folder (no other test process shares it), removed afterwards.
    const ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.Path();
    HWND owner_ = reinterpret_cast<HWND>(std::intptr_t{0x1234});
    std::vector<ShellCall> calls_;
    std::vector<AnsiString> messages_;
};

}  // namespace

// The fields of a mailto link's query, split at "&" and "=", with their
// values percent-decoded back to the program's text.
std::vector<std::pair<std::string, AnsiString>> QueryFields(const std::string& link) {
    std::vector<std::pair<std::string, AnsiString>> fields;
    const std::size_t query = link.find('?');
    if (query == std::string::npos) return fields;
    std::size_t start = query + 1;
    while (start <= link.size()) {
        std::size_t end = link.find('&', start);
        if (end == std::string::npos) end = link.size();
        const std::string field = link.substr(start, end - start);
        const std::size_t eq = field.find('=');
        std::string value, raw = eq == std::string::npos ? std::string() : field.substr(eq + 1);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '%' && i + 2 < raw.size() && std::isxdigit(static_cast<unsigned char>(raw[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(raw[i + 2]))) {
                value += static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                value += raw[i];
            }
        }
        fields.emplace_back(field.substr(0, eq), Utf8ToAnsi(value));
        start = end + 1;
    }
    return fields;
}

TEST_F(WordShareTest, SharesTheLinesAsTheMailBodyBetweenQuotesPercentEncoded) {
    // A last line without a break and a lone LF both come out as lines ending in CR LF.
    const AnsiString path = WriteFile("share.txt", "cat|n.猫\ndog|n.狗");
    ShareWordList(path, Context());
    const std::string link = "mailto:" + std::string(ContactMailAddress) +
                             "?subject=%E5%8D%95%E8%AF%8D%E5%85%B1%E4%BA%AB"
                             "&body=%22cat%7Cn.%E7%8C%AB%0D%0Adog%7Cn.%E7%8B%97%0D%0A%22";
    EXPECT_EQ(calls_, (std::vector<ShellCall>{{owner_, "open", link, std::nullopt, std::nullopt, SW_SHOW}}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(WordShareTest, NoTextOfTheListAddsAFieldToTheLinkAndTheMailShowsItAsWritten) {
    // Glosses that would add recipients, end the body, or start a fragment,
    // and line breaks of every kind.
    const std::string text =
        "cc|&cc=a@x&bcc=b@y\r\n"
        "to|?to=c@z#frag %41 + \"quoted\"\r\n"
        "tab|a\tb;c/d:e,f=g\r"
        "猫|n.猫 cat\n";
    const AnsiString path = WriteFile("hostile.txt", text);
    ShareWordList(path, Context());
    ASSERT_EQ(calls_.size(), 1u);
    const std::string link = *calls_[0].File;
    for (const char c : link) {
        EXPECT_TRUE(c > ' ' && c < 0x7F) << "a raw byte " << int(static_cast<unsigned char>(c)) << " in the link";
    }
    const auto fields = QueryFields(link);
    ASSERT_EQ(fields.size(), 2u) << link;
    EXPECT_EQ(fields[0].first, "subject");
    EXPECT_EQ(fields[0].second, "单词共享");
    EXPECT_EQ(fields[1].first, "body");
    EXPECT_EQ(fields[1].second,
              "\"cc|&cc=a@x&bcc=b@y\r\nto|?to=c@z#frag %41 + \"quoted\"\r\ntab|a\tb;c/d:e,f=g\r\n猫|n.猫 cat\r\n\"");
    EXPECT_EQ(link.find('#'), std::string::npos);
}

TEST_F(WordShareTest, AListTooLongForAMailLinkIsRefusedWithAMessageSayingTheLimit) {
    // The link of an empty list is the fixed part plus the two encoded quotes;
    // a one-line list adds the line and its encoded CR LF.
    const std::size_t fixed = WordShareLink(TStringList()).size();
    const std::size_t fits = kMaxMailLinkBytes - fixed - 6;  // letters, 1 byte each
    const struct {
        const char* what;
        std::string text;
        bool shared;
    } cases[] = {
        {"exactly the longest link", std::string(fits, 'a') + "\r\n", true},
        {"one byte more", std::string(fits + 1, 'a') + "\r\n", false},
        {"a list of some 200 KB", [] {
             std::string list;
             for (int i = 0; list.size() < (200u << 10); ++i) list += "word" + std::to_string(i) + "|n.词\r\n";
             return list;
         }(), false},
        {"Chinese counts nine bytes a character", std::string((kMaxMailLinkBytes / 9 + 100) * 2, '\xB4'), false},
    };
    for (const auto& c : cases) {
        calls_.clear();
        messages_.clear();
        ShareWordList(WriteFile("list.txt", c.text), Context());
        if (c.shared) {
            ASSERT_EQ(calls_.size(), 1u) << c.what;
            EXPECT_EQ(calls_[0].File->size(), kMaxMailLinkBytes) << c.what;
            EXPECT_TRUE(messages_.empty()) << c.what;
        } else {
            EXPECT_TRUE(calls_.empty()) << c.what << ": the list was handed over";
            ASSERT_EQ(messages_.size(), 1u) << c.what;
            EXPECT_EQ(messages_[0], MailLinkTooLongText() + "|2|1") << c.what;
        }
    }
    EXPECT_NE(MailLinkTooLongText().find("131071"), AnsiString::npos) << MailLinkTooLongText();
}

TEST_F(WordShareTest, ABadPathOrAnUnreadableFileHandsNothingOver) {
    ShareWordList("C:\\", Context());
    EXPECT_EQ(messages_, std::vector<AnsiString>{"词库非法！|2|1"});

    const AnsiString missing = (dir_ / "missing.txt").string();
    try {
        ShareWordList(missing, Context());
        ADD_FAILURE() << "a missing file was shared";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(missing), AnsiString::npos) << e.Message();
    }
    EXPECT_TRUE(calls_.empty());
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(WordShareTest, TheMailButtonOpensTheContactAddress) {
    MailContact(owner_, RecordingShell());
    const std::string link = "mailto:" + std::string(ContactMailAddress);
    EXPECT_EQ(calls_, (std::vector<ShellCall>{{owner_, "Open", link, std::nullopt, std::nullopt, SW_SHOW}}));
    EXPECT_EQ(ContactMailLink(), link);
    EXPECT_NE(std::string(ContactMailAddress).find('@'), std::string::npos);
}
