#include "WordShare.h"

#include <gtest/gtest.h>

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

TEST_F(WordShareTest, SharesTheLinesAsTheMailBodyBetweenQuotesWithoutEncoding) {
    // A last line without a break and a lone LF both come out as lines ending in CR LF.
    const AnsiString path = WriteFile("share.txt", "cat|n.猫\ndog|n.狗");
    ShareWordList(path, Context());
    const std::string link = "mailto:" + std::string(ContactMailAddress) + "?subject=单词共享&body=\"cat|n.猫\r\ndog|n.狗\r\n\"";
    EXPECT_EQ(calls_, (std::vector<ShellCall>{{owner_, "open", link, std::nullopt, std::nullopt, SW_SHOW}}));
    EXPECT_TRUE(messages_.empty());
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
