#include "InstanceChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::uint64_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::uint64_t(ts.tv_sec) * 1000 + std::uint64_t(ts.tv_nsec) / 1000000;
}

// A folder that is ours alone: made with mode 0700 when missing, and
// refused when it is a link, someone else's, or open to others.
bool PrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st{};
    if (lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool PeerIsUs(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid();
}

// Whether a live process holds the lock (it is free again at once when not).
bool LockHeld(const InstancePaths& paths) {
    const int fd = open(paths.Lock.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

// Connects to the socket; -1 when nobody listens there.
int Connect(const InstancePaths& paths) {
    sockaddr_un address;
    if (!FillAddress(paths.Socket, address)) return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || !PeerIsUs(fd)) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<InstancePaths> InstancePathsFor(std::string_view runtimeDir, std::string_view display) {
    if (runtimeDir.empty() || runtimeDir.front() != '/') return std::nullopt;
    InstancePaths paths;
    paths.Folder = std::string(runtimeDir) + "/mirvodict";
    if (!PrivateFolder(paths.Folder)) return std::nullopt;
    // The display's name as a file name: ":0", "localhost:10.0" and the like.
    std::string name = "display-";
    for (const char c : display.empty() ? std::string_view("none") : display)
        name += (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_') ? c : '_';
    if (name.size() > 64) name.resize(64);
    paths.Lock = paths.Folder + "/" + name + ".lock";
    paths.Socket = paths.Folder + "/" + name + ".sock";
    // A socket's path has room for about a hundred bytes only.
    if (paths.Socket.size() >= sizeof(sockaddr_un{}.sun_path)) return std::nullopt;
    return paths;
}

std::optional<InstancePaths> InstancePathsHere() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* display = std::getenv("DISPLAY");
    return InstancePathsFor(runtime ? runtime : "", display ? display : "");
}

std::unique_ptr<InstanceServer> InstanceServer::Claim(const InstancePaths& paths) {
    std::unique_ptr<InstanceServer> server(new InstanceServer);
    server->lockFd_ = open(paths.Lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (server->lockFd_ < 0 || flock(server->lockFd_, LOCK_EX | LOCK_NB) != 0) return nullptr;
    // Holding the lock, any socket there is a dead window's.
    unlink(paths.Socket.c_str());
    sockaddr_un address;
    if (!FillAddress(paths.Socket, address)) return nullptr;
    server->listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (server->listenFd_ < 0) return nullptr;
    const mode_t previous = umask(077);
    const bool bound = bind(server->listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(previous);
    if (!bound || listen(server->listenFd_, 8) != 0) return nullptr;
    server->socketPath_ = paths.Socket;
    return server;
}

InstanceServer::~InstanceServer() {
    if (!socketPath_.empty()) unlink(socketPath_.c_str());
    if (listenFd_ >= 0) close(listenFd_);
    if (lockFd_ >= 0) close(lockFd_);
}

int InstanceServer::AcceptPeer() {
    for (;;) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return -1;
        }
        if (PeerIsUs(fd)) return fd;
        close(fd);
    }
}

HandOver HandToRunningInstance(const InstancePaths& paths, std::string_view message, int timeoutMs) {
    const std::uint64_t end = MonotonicMs() + std::uint64_t(std::max(timeoutMs, 0));
    int fd = Connect(paths);
    while (fd < 0) {
        if (!LockHeld(paths)) return HandOver::NoInstance;
        // A window is starting and does not listen yet.
        if (MonotonicMs() >= end) return HandOver::Failed;
        usleep(10000);
        fd = Connect(paths);
    }
    std::string line(message.substr(0, kMaxInstanceMessage - 1));
    line += '\n';
    std::string_view rest = line;
    HandOver result = HandOver::Failed;
    while (!rest.empty()) {
        const ssize_t n = send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        rest.remove_prefix(std::size_t(n));
    }
    if (rest.empty()) {
        // The answer: "ok" once the window took the request.
        char answer[8] = {};
        std::size_t got = 0;
        while (got < 3) {
            const std::uint64_t now = MonotonicMs();
            if (now >= end) break;
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, int(end - now)) <= 0) break;
            const ssize_t n = recv(fd, answer + got, 3 - got, 0);
            if (n <= 0) break;
            got += std::size_t(n);
        }
        if (got == 3 && std::memcmp(answer, "ok\n", 3) == 0) result = HandOver::Delivered;
    }
    close(fd);
    return result;
}
