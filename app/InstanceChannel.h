#pragma once
// One dictionary window per user and display. The running window holds a
// lock file and listens on a socket beside it, in a folder only the user
// can open (under XDG_RUNTIME_DIR); a later start connects there, hands its
// request over and ends. The lock goes with the process that held it, so a
// crashed window never blocks the next start: its left-over socket is
// removed by whoever takes the lock next.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The folder and the names used for `display` (the value of DISPLAY).
struct InstancePaths {
    std::string Folder;
    std::string Lock;
    std::string Socket;
};
// Empty when no folder only the user can open is at hand (no
// XDG_RUNTIME_DIR, or it or our folder in it is not private).
std::optional<InstancePaths> InstancePathsFor(std::string_view runtimeDir, std::string_view display);
// The same for this process's environment.
std::optional<InstancePaths> InstancePathsHere();

// The running window's end: the lock held and the socket listening,
// non-blocking. Closing it (destroying) removes the socket.
class InstanceServer {
public:
    // Null when another live process holds the lock, or the socket cannot
    // be made.
    static std::unique_ptr<InstanceServer> Claim(const InstancePaths& paths);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    int ListenFd() const { return listenFd_; }
    // A waiting connection from a process of this user, non-blocking;
    // -1 when none is waiting. Connections of other users are closed.
    int AcceptPeer();

private:
    InstanceServer() = default;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
};

// The largest request a peer may send, its line end included.
inline constexpr std::size_t kMaxInstanceMessage = 4096;

enum class HandOver {
    Delivered,   // the running window took the request
    NoInstance,  // none runs: this process should open the window itself
    Failed,      // one runs but did not answer in time
};

// Sends `message` (one line, without its end) to the running window and
// waits at most `timeoutMs` for its answer. A window that is still starting
// (it holds the lock but does not listen yet) is waited for as well.
HandOver HandToRunningInstance(const InstancePaths& paths, std::string_view message, int timeoutMs);
