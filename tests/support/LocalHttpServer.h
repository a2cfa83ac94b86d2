#pragma once
// A small, real HTTP/1.1 server for tests, on 127.0.0.1 with a port of the
// system's choice. Each test decides per path what the server does: serve a
// body, answer with an error status, stall, or drop the connection in the
// middle of a body. Every connection is answered once and closed.
//
// Everything here stops by itself: the accept loop polls a stop flag and ends
// after a fixed lifetime, reads time out, and a stalling reply waits only
// until the server stops or its own bound passes.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// No <chrono>: its unit suffixes cannot be compiled to code page 936, which
// the program's own tests use; <thread> brings the clocks and durations.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

struct HttpReply {
    enum class Kind {
        Complete,       // status line, headers and the whole body
        DropMidBody,    // Content-Length of the whole body, half of it sent, then closed
        StallMidBody,   // headers and half of the body sent, then silence
        StallAtStart,   // the request is read and nothing is ever answered
        CloseAtStart,   // the request is read and the connection closed unanswered
        Flood,          // FloodBytes of generated body, sent until the client hangs up
    };
    int Status = 200;
    std::string Body;
    Kind How = Kind::Complete;
    std::vector<std::string> ExtraHeaders;  // "Name: value" lines
    // Flood only: the body's length, and whether Content-Length announces it
    // (otherwise the body simply runs until the connection closes).
    std::uint64_t FloodBytes = 0;
    bool AnnounceLength = true;

    static HttpReply Ok(std::string body) { return {200, std::move(body), Kind::Complete, {}}; }
    static HttpReply Error(int status, std::string body = "error page") {
        return {status, std::move(body), Kind::Complete, {}};
    }
    static HttpReply Broken(Kind how, std::string body = std::string(4000, 'x')) {
        return {200, std::move(body), how, {}};
    }
    static HttpReply Redirect(const std::string& location) {
        return {302, "moved", Kind::Complete, {"Location: " + location}};
    }
    static HttpReply Flood(std::uint64_t bytes, bool announceLength) {
        HttpReply reply{200, std::string(), Kind::Flood, {}};
        reply.FloodBytes = bytes;
        reply.AnnounceLength = announceLength;
        return reply;
    }
};

class LocalHttpServer {
public:
    using Handler = std::function<HttpReply(const std::string& path)>;

    explicit LocalHttpServer(Handler handler) : handler_(std::move(handler)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listener_ < 0) throw std::runtime_error("socket failed");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 16) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            ::close(listener_);
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~LocalHttpServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        stopped_.notify_all();
        acceptor_.join();
        for (auto& worker : workers_) worker.join();
        ::close(listener_);
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    // The paths requested so far, in the order the requests arrived.
    std::vector<std::string> RequestedPaths() const {
        std::lock_guard lock(mutex_);
        return paths_;
    }

    // A URL on this machine where nothing listens: connecting is refused.
    static std::string UnreachableUrl(const std::string& path = "/") {
        const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(probe);  // bound but never listening, and now closed
        return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + path;
    }

private:
    static constexpr auto kLifetime = std::chrono::seconds(60);
    static constexpr auto kStallBound = std::chrono::seconds(10);

    bool Stopping() const {
        std::lock_guard lock(mutex_);
        return stopping_;
    }

    void AcceptLoop() {
        const auto end = std::chrono::steady_clock::now() + kLifetime;
        while (!Stopping() && std::chrono::steady_clock::now() < end) {
            pollfd ready{listener_, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0) continue;
            const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) continue;
            std::lock_guard lock(mutex_);
            workers_.emplace_back([this, connection] { Serve(connection); });
        }
    }

    void Serve(int connection) {
        timeval timeout{2, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        // A client that stops reading without hanging up cannot hold a flood either.
        ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<size_t>(got));
        }
        const auto firstSpace = request.find(' ');
        const auto secondSpace = request.find(' ', firstSpace + 1);
        if (firstSpace == std::string::npos || secondSpace == std::string::npos) {
            ::close(connection);
            return;
        }
        const std::string path = request.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        {
            std::lock_guard lock(mutex_);
            paths_.push_back(path);
        }
        const HttpReply reply = handler_(path);
        Answer(connection, reply);
        ::close(connection);
    }

    void Answer(int connection, const HttpReply& reply) {
        using Kind = HttpReply::Kind;
        if (reply.How == Kind::CloseAtStart) return;
        if (reply.How == Kind::StallAtStart) {
            WaitForStop();
            return;
        }
        std::string head = "HTTP/1.1 " + std::to_string(reply.Status) + " " + ReasonPhrase(reply.Status) + "\r\n";
        if (reply.How == Kind::Flood) {
            if (reply.AnnounceLength) head += "Content-Length: " + std::to_string(reply.FloodBytes) + "\r\n";
        } else {
            head += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n";
        }
        head += "Content-Type: application/octet-stream\r\nConnection: close\r\n";
        for (const auto& header : reply.ExtraHeaders) head += header + "\r\n";
        head += "\r\n";
        SendAll(connection, head);
        if (reply.How == Kind::Flood) {
            const std::string chunk(1 << 16, 'F');
            for (std::uint64_t sent = 0; sent < reply.FloodBytes && !Stopping(); sent += chunk.size()) {
                if (!SendAll(connection, chunk)) return;  // the client hung up
            }
            return;
        }
        if (reply.How == Kind::Complete) {
            SendAll(connection, reply.Body);
            return;
        }
        SendAll(connection, reply.Body.substr(0, reply.Body.size() / 2));
        if (reply.How == Kind::StallMidBody) WaitForStop();
    }

    void WaitForStop() {
        std::unique_lock lock(mutex_);
        stopped_.wait_for(lock, kStallBound, [this] { return stopping_; });
    }

    static bool SendAll(int connection, const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(connection, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    static const char* ReasonPhrase(int status) {
        switch (status) {
            case 200: return "OK";
            case 302: return "Found";
            case 403: return "Forbidden";
            case 404: return "Not Found";
            case 500: return "Internal Server Error";
            case 503: return "Service Unavailable";
            default: return "Status";
        }
    }

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::vector<std::string> paths_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};
