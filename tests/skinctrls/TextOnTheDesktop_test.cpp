// Chinese text on a real X desktop (private Xvfb with openbox, X11 backend):
// typed into the skinned edit and memo it arrives as GBK and is never seen
// half a character at a time; text pasted from another program (UTF-8)
// becomes GBK, and copied text reaches other programs as UTF-8; a character
// GBK cannot hold turns into a visible '?' while the rest is kept.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DesktopSession.h"
#include "Forms.h"
#include "ScratchFolder.h"
#include "DesktopBackend.h"
#include "TbsSkinData.h"
#include "TbsSkinEdit.h"
#include "TbsSkinMemo2.h"
#include "WindowSystem.h"

// Xlib keeps some allocations for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libX11\nleak:libxcb\nleak:libXext\nleak:libXrandr\n";
}

namespace {

// This file's plain literals are GBK; text for other programs is spelled as
// UTF-8 literals.
std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// Whether `text` is whole GBK characters: no lead byte without its trail.
bool WholeGbk(const AnsiString& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x81 || b == 0xFF) continue;
        if (i + 1 >= text.size()) return false;
        const auto t = static_cast<unsigned char>(text[i + 1]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
        ++i;
    }
    return true;
}

void PumpFor(Backend& backend, double seconds) {
    const double end = DesktopSession::Seconds() + seconds;
    while (DesktopSession::Seconds() < end) {
        PumpMessages();
        backend.WaitForEvent(10);
    }
}

bool PumpUntil(Backend& backend, const std::function<bool()>& done, double seconds = 8) {
    const double end = DesktopSession::Seconds() + seconds;
    while (DesktopSession::Seconds() < end) {
        PumpMessages();
        if (done()) return true;
        backend.WaitForEvent(10);
    }
    return false;
}

// Runs a shell command while the program keeps handling its events (typing
// changes the key map as it goes, and a clipboard request needs an answer).
// Returns the command's exit status.
int RunWhilePumping(Backend& backend, const std::string& command) {
    pid_t pid = -1;
    std::vector<char*> argv{const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(command.c_str()),
                            nullptr};
    if (posix_spawnp(&pid, "sh", nullptr, nullptr, argv.data(), environ) != 0) return -1;
    const double end = DesktopSession::Seconds() + 30;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (DesktopSession::Seconds() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        PumpMessages();
        backend.WaitForEvent(5);
    }
    PumpFor(backend, 0.2);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TextOnTheDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        // scripts/install-deps installs all of these: a missing one is a failure.
        ASSERT_TRUE(desktop_.Start(true, false)) << desktop_.error();
        ASSERT_EQ(desktop_.Run("command -v xdotool >/dev/null && command -v xclip >/dev/null"), 0)
            << "xdotool or xclip is missing";
        session_ = std::make_unique<WindowSystemSession>(OpenDesktopBackend());
        app_ = std::make_unique<ApplicationSession>();
        form_ = Application->CreateForm<TForm>();
        form_->SetBounds(100, 100, 420, 260);
        form_->SetCaption("Mirvo text check");
        auto* skin = CreateComponent<TbsSkinData>(form_);
        skin->LoadIniSkin(std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini");
        edit_ = CreateComponent<TbsSkinEdit>(form_);
        edit_->SetParent(form_);
        edit_->SetBounds(10, 10, 390, 21);
        edit_->SetSkinData(skin);
        memo_ = CreateComponent<TbsSkinMemo2>(form_);
        memo_->SetParent(form_);
        memo_->SetBounds(10, 50, 390, 150);
        memo_->SetSkinData(skin);
        // Every state the texts pass through is recorded.
        edit_->OnChange = [this](TObject*) { seen_.push_back(edit_->Text()); };
        memo_->OnChange = [this](TObject*) { seen_.push_back(memo_->Text()); };
        form_->Show();
        ASSERT_TRUE(PumpUntil(backend(), [&] {
            return desktop_.Run("xdotool search --name 'Mirvo text check' >/dev/null 2>&1") == 0;
        }));
        desktop_.Run("xdotool search --name 'Mirvo text check' windowactivate --sync >/dev/null 2>&1");
        PumpFor(backend(), 0.3);
    }
    void TearDown() override {
        app_.reset();
        session_.reset();
        desktop_.Stop();
    }
    Backend& backend() { return session_->backend(); }
    void ExpectNeverSplit() {
        for (const AnsiString& s : seen_) EXPECT_TRUE(WholeGbk(s)) << "a state held half a character";
        seen_.clear();
    }
    // Types UTF-8 text into the focused native window as a user would. Each
    // character outside ASCII first gets a key of its own: xdotool would
    // otherwise rebind one spare key for every character while the program
    // is still reading the previous one, and the desktop, not the program,
    // would lose characters.
    void Type(const std::string& utf8) {
        // Keys without any symbol (keys bound to modifiers would act as those).
        std::istringstream free(desktop_.Output("xmodmap -pke | awk 'NF == 3 { print $2 }'"));
        std::string keymap;
        int keycode = 0;
        std::vector<char32_t> bound;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            char32_t c = length == 1 ? b : b & (0x7F >> length);
            for (int k = 1; k < length && i + k < utf8.size(); ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
            i += length;
            if (c < 0x80 || std::find(bound.begin(), bound.end(), c) != bound.end()) continue;
            bound.push_back(c);
            ASSERT_TRUE(free >> keycode) << "no free key left for the text";
            char line[64];
            std::snprintf(line, sizeof line, " -e 'keycode %d = U%04X U%04X'", keycode, unsigned(c), unsigned(c));
            keymap += line;
        }
        if (!keymap.empty()) {
            ASSERT_EQ(RunWhilePumping(backend(), "xmodmap" + keymap), 0);
        }
        ASSERT_EQ(RunWhilePumping(backend(), "LC_ALL=C.UTF-8 xdotool type --delay 60 '" + utf8 + "'"), 0);
    }
    // Puts UTF-8 text on the desktop's clipboard from another program.
    void OfferClipboard(const std::string& utf8) {
        const std::string file = scratch_.Dir() + "offer.txt";
        std::ofstream(file, std::ios::binary) << utf8;
        ASSERT_EQ(RunWhilePumping(backend(), "xclip -selection clipboard -i < '" + file + "'"), 0);
    }
    std::string ClipboardSeenByOthers() {
        const std::string file = scratch_.Dir() + "taken.txt";
        EXPECT_EQ(RunWhilePumping(backend(), "xclip -selection clipboard -o > '" + file + "'"), 0);
        return ReadFile(file);
    }

    DesktopSession desktop_;
    ScratchFolder scratch_;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    TForm* form_ = nullptr;
    TbsSkinEdit* edit_ = nullptr;
    TbsSkinMemo2* memo_ = nullptr;
    std::vector<AnsiString> seen_;
};

TEST_F(TextOnTheDesktop, ChineseTypedIntoTheEditAndTheMemoArrivesAsWholeGbkCharacters) {
    edit_->SetFocus();
    Type(Utf8(u8"苹果 apple 词典"));
    EXPECT_EQ(edit_->Text(), "苹果 apple 词典");
    EXPECT_EQ(edit_->Text().size(), 15u) << "two bytes a character in code page 936";
    ExpectNeverSplit();

    memo_->SetFocus();
    Type(Utf8(u8"中文输入，一个字也不少。"));
    EXPECT_EQ(memo_->Text(), "中文输入，一个字也不少。");
    ExpectNeverSplit();
}

TEST_F(TextOnTheDesktop, TheClipboardTakesUtf8InKeepsGbkAndGivesUtf8Out) {
    edit_->SetFocus();
    OfferClipboard(Utf8(u8"词典 dictionary"));
    edit_->PasteFromClipboard();
    PumpFor(backend(), 0.2);
    EXPECT_EQ(edit_->Text(), "词典 dictionary");
    ExpectNeverSplit();

    memo_->SetFocus();
    OfferClipboard(Utf8(u8"第一行\n第二行"));
    memo_->PasteFromClipboard();
    PumpFor(backend(), 0.2);
    EXPECT_EQ(memo_->Text(), "第一行\r\n第二行");

    edit_->SetText("复制 copy 汉字");
    edit_->SelectAll();
    edit_->CopyToClipboard();
    EXPECT_EQ(ClipboardSeenByOthers(), Utf8(u8"复制 copy 汉字"));
    memo_->SelectAll();
    memo_->CopyToClipboard();
    EXPECT_EQ(ClipboardSeenByOthers(), Utf8(u8"第一行\n第二行"));
}

TEST_F(TextOnTheDesktop, ACharacterGbkCannotHoldIsReplacedVisiblyAndTheRestKept) {
    edit_->SetFocus();
    edit_->SetText("");
    OfferClipboard(Utf8(u8"词😀典 ok"));
    edit_->PasteFromClipboard();
    PumpFor(backend(), 0.2);
    EXPECT_EQ(edit_->Text(), "词?典 ok");
    ExpectNeverSplit();

    memo_->SetFocus();
    memo_->SetText("");
    Type(Utf8(u8"中😀文"));
    EXPECT_EQ(memo_->Text(), "中?文");
    ExpectNeverSplit();
}

}  // namespace
