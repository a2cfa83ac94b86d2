#include "LookUpAnywhere.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "DesktopInput.h"
#include "MainWindowFixture.h"
#include "ScratchFolder.h"

namespace {

constexpr unsigned kCtrlAlt = MOD_CONTROL | MOD_ALT;

class LookUpAnywhereTest : public MainWindowTest {
protected:
    std::unique_ptr<LookUpAnywhere> Anywhere(std::unique_ptr<InstanceServer> server = nullptr,
                                             std::string key = "Ctrl+Alt+Z") {
        auto anywhere = std::make_unique<LookUpAnywhere>(*form_, std::move(server), std::move(key));
        Pump();
        return anywhere;
    }
    void PressHotkey() {
        ASSERT_TRUE(screen_->PressHotkey(kCtrlAlt, 'Z'));
        Pump();
    }
    void StartWithWords() {
        WithDatabase();
        Start();
    }
    AnsiString Gloss() { return form_->MemDetail->Text(); }
};

TEST_F(LookUpAnywhereTest, TheHotkeyLooksUpThePrimarySelectionElseTheClipboard) {
    StartWithWords();
    auto anywhere = Anywhere();
    ASSERT_TRUE(anywhere->HotkeyHeld());

    screen_->SetPrimarySelectionUtf8("  apple\nsecond line");
    PressHotkey();
    EXPECT_EQ(form_->EdWord->Text(), "apple");
    EXPECT_EQ(ListRows().front(), "apple");
    EXPECT_NE(Gloss().find("苹果"), std::string::npos) << Gloss();

    screen_->SetPrimarySelectionUtf8(" \n ");
    screen_->SetClipboardUtf8("pear");
    PressHotkey();
    EXPECT_EQ(form_->EdWord->Text(), "pear");

    // Nothing anywhere: the window keeps what it shows.
    screen_->SetClipboardUtf8("");
    PressHotkey();
    EXPECT_EQ(form_->EdWord->Text(), "pear");
    for (const AnsiString& e : errors_) ADD_FAILURE() << AnsiToUtf8(e);
}

TEST_F(LookUpAnywhereTest, AHiddenOrMinimisedWindowComesBackForARequest) {
    StartWithWords();
    auto anywhere = Anywhere();
    form_->Hide();
    Pump();
    anywhere->Carry({WindowRequest::Kind::Word, "apple"});
    Pump();
    EXPECT_TRUE(form_->Visible());
    EXPECT_EQ(GetForegroundWindow(), form_->Handle());
    EXPECT_EQ(form_->EdWord->Text(), "apple");

    Application->Minimize();
    Pump();
    ASSERT_TRUE(Application->Minimized());
    anywhere->Carry({WindowRequest::Kind::Show, ""});
    Pump();
    EXPECT_FALSE(Application->Minimized());
    EXPECT_FALSE(IsIconic(form_->Handle()));
}

TEST_F(LookUpAnywhereTest, AHotkeyHeldElsewhereIsSaidOnceAndTheWindowWorksOn) {
    screen_->HoldHotkeyElsewhere(kCtrlAlt, 'Z');
    StartWithWords();
    auto anywhere = Anywhere();
    EXPECT_FALSE(anywhere->HotkeyHeld());
    EXPECT_NE(Gloss().find("Ctrl+Alt+Z"), std::string::npos) << Gloss();
    EXPECT_NE(Gloss().find("占用"), std::string::npos) << Gloss();
    anywhere->Carry({WindowRequest::Kind::Word, "apple"});
    Pump();
    EXPECT_EQ(Gloss().find("占用"), std::string::npos);
    EXPECT_EQ(ListRows().front(), "apple");

    // A setting that names no key is said the same way; an empty one is off.
    auto unreadable = Anywhere(nullptr, "Ctrl+Alt+Banana");
    EXPECT_NE(Gloss().find("Ctrl+Alt+Banana"), std::string::npos) << Gloss();
    auto off = Anywhere(nullptr, "");
    EXPECT_FALSE(off->HotkeyHeld());
    EXPECT_FALSE(screen_->PressHotkey(kCtrlAlt, 'Z'));
}

TEST_F(LookUpAnywhereTest, ASecondStartsRequestArrivesAndAStalledPeerIsLetGo) {
    ScratchFolder runtime("la");
    const auto paths = InstancePathsFor(runtime.Path().string(), ":5");
    ASSERT_TRUE(paths);
    StartWithWords();
    auto anywhere = Anywhere(InstanceServer::Claim(*paths));

    // A peer that connects, sends half a line and stalls.
    const int stalled = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", paths->Socket.c_str());
    ASSERT_EQ(connect(stalled, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(send(stalled, "word ap", 7, 0), 7);
    Pump();

    // Meanwhile a second start hands its word over.
    std::atomic<bool> done = false;
    HandOver result = HandOver::Failed;
    std::thread second([&] {
        result = HandToRunningInstance(*paths, EncodeWindowRequest({WindowRequest::Kind::Word, "pear"}), 5000);
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i) {
        Pump();
        usleep(2000);
    }
    second.join();
    EXPECT_EQ(result, HandOver::Delivered);
    EXPECT_EQ(form_->EdWord->Text(), "pear");

    // The stalled peer is closed once its time is up.
    screen_->Sleep(1500);
    Pump();
    screen_->Sleep(300);
    Pump();
    char byte = 0;
    EXPECT_EQ(recv(stalled, &byte, 1, MSG_DONTWAIT), 0);
    close(stalled);

    // A peer that sends more than a request can hold is closed at once.
    const int flooding = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(connect(flooding, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string flood(kMaxInstanceMessage + 10, 'x');
    ASSERT_GT(send(flooding, flood.data(), flood.size(), 0), 0);
    for (int i = 0; i < 5; ++i) Pump();
    const ssize_t got = recv(flooding, &byte, 1, MSG_DONTWAIT);
    // Closed with the rest unread: the end or a reset, never "try again".
    EXPECT_TRUE(got == 0 || (got < 0 && errno == ECONNRESET)) << std::strerror(errno);
    close(flooding);
    EXPECT_EQ(form_->EdWord->Text(), "pear");
}

}  // namespace
