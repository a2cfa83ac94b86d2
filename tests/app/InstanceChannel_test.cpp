#include "InstanceChannel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

class InstanceChannelTest : public ::testing::Test {
protected:
    // A short name: a socket's path has room for about a hundred bytes.
    ScratchFolder scratch_{"ic"};
    std::string RuntimeDir() const { return scratch_.Path().string(); }
};

TEST_F(InstanceChannelTest, OneWindowHoldsTheDisplayAndHandsItOnWhenItEnds) {
    const auto paths = InstancePathsFor(RuntimeDir(), ":7");
    ASSERT_TRUE(paths);
    EXPECT_EQ(fs::status(paths->Folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(HandToRunningInstance(*paths, "show", 500), HandOver::NoInstance);
    {
        auto first = InstanceServer::Claim(*paths);
        ASSERT_TRUE(first);
        EXPECT_FALSE(InstanceServer::Claim(*paths));
        // Another display is another window's.
        EXPECT_TRUE(InstanceServer::Claim(*InstancePathsFor(RuntimeDir(), ":8")));
    }
    EXPECT_TRUE(InstanceServer::Claim(*paths));
}

TEST_F(InstanceChannelTest, ASocketLeftByACrashedWindowBlocksNothing) {
    const auto paths = InstancePathsFor(RuntimeDir(), ":0");
    ASSERT_TRUE(paths);
    // A socket that nobody listens on any more, and no lock held.
    const int dead = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", paths->Socket.c_str());
    ASSERT_EQ(bind(dead, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(dead);
    EXPECT_EQ(HandToRunningInstance(*paths, "show", 500), HandOver::NoInstance);
    EXPECT_TRUE(InstanceServer::Claim(*paths));
}

TEST_F(InstanceChannelTest, AWindowThatNeverAnswersCostsTheTimeoutOnly) {
    const auto paths = InstancePathsFor(RuntimeDir(), ":0");
    auto server = InstanceServer::Claim(*paths);
    ASSERT_TRUE(server);
    const std::time_t start = std::time(nullptr);
    EXPECT_EQ(HandToRunningInstance(*paths, "word apple", 300), HandOver::Failed);
    EXPECT_LE(std::time(nullptr) - start, 2);
}

TEST_F(InstanceChannelTest, RefusesAFolderOthersCanOpen) {
    fs::create_directory(scratch_.Path() / "mirvodict");
    chmod((scratch_.Path() / "mirvodict").c_str(), 0755);
    EXPECT_FALSE(InstancePathsFor(RuntimeDir(), ":0"));
    fs::remove(scratch_.Path() / "mirvodict");
    fs::create_directory_symlink("/tmp", scratch_.Path() / "mirvodict");
    EXPECT_FALSE(InstancePathsFor(RuntimeDir(), ":0"));
    EXPECT_FALSE(InstancePathsFor("", ":0"));
    EXPECT_FALSE(InstancePathsFor("relative", ":0"));
}

}  // namespace
