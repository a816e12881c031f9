// The transport tests' loopback peer over blocking sockets, BSD or Winsock (test support
// only; the product never links it).
#include "script_server.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

// The few places where Winsock and BSD sockets differ; everything below is shared.
#ifdef _WIN32
#include <winsock2.h>

namespace {

using SocketHandle = SOCKET;
using AddressLength = int;
using IoLength = int;
constexpr SocketHandle kNoSocket = INVALID_SOCKET;
constexpr int kStreamType = SOCK_STREAM;
constexpr int kSendFlags = 0;
constexpr int kShutdownSend = SD_SEND;

void CloseSocket(SocketHandle socket) { closesocket(socket); }

bool WaitReadable(SocketHandle socket, int milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{0, milliseconds * 1000};
    return select(0, &set, nullptr, nullptr, &wait) > 0;
}

// Keeps Winsock started for as long as the server's own sockets live.
class SocketLibrary {
public:
    SocketLibrary() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("script server cannot start Winsock");
    }
    ~SocketLibrary() { WSACleanup(); }
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
};

}  // namespace
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using SocketHandle = int;
using AddressLength = socklen_t;
using IoLength = std::size_t;
constexpr SocketHandle kNoSocket = -1;
constexpr int kStreamType = SOCK_STREAM | SOCK_CLOEXEC;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client gone early must not raise SIGPIPE
constexpr int kShutdownSend = SHUT_WR;

void CloseSocket(SocketHandle socket) { close(socket); }

bool WaitReadable(SocketHandle socket, int milliseconds) {
    pollfd entry{socket, POLLIN, 0};
    return poll(&entry, 1, milliseconds) > 0;
}

// BSD sockets need no start-up.
class SocketLibrary {};

}  // namespace
#endif

namespace {

constexpr int kStopCheckMilliseconds = 20;
constexpr std::size_t kBlockSize = 4096;

class Socket {
public:
    explicit Socket(SocketHandle handle = kNoSocket) : handle_(handle) {}
    Socket(Socket&& other) noexcept : handle_(std::exchange(other.handle_, kNoSocket)) {}
    Socket& operator=(Socket&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~Socket() {
        if (handle_ != kNoSocket) CloseSocket(handle_);
    }
    SocketHandle get() const { return handle_; }

private:
    SocketHandle handle_;
};

Socket OpenStream() { return Socket(socket(AF_INET, kStreamType, IPPROTO_TCP)); }

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool BindLoopback(SocketHandle socket) {
    const sockaddr_in address = Loopback(0);
    return bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::uint16_t BoundPort(SocketHandle socket) {
    sockaddr_in address{};
    AddressLength length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// The body length a request header announces; none, or one that is not a number, is 0.
std::size_t AnnouncedLength(const std::string& header) {
    const std::string name = "\r\nContent-Length: ";
    const std::size_t at = header.find(name);
    if (at == std::string::npos) return 0;
    const char* digits = header.data() + at + name.size();
    std::size_t length = 0;
    const std::from_chars_result parsed = std::from_chars(digits, header.data() + header.size(), length);
    return parsed.ec == std::errc{} ? length : 0;
}

}  // namespace

struct ScriptServer::Impl {
    SocketLibrary library;  // first in, last out: outlives every socket below
    Socket listener;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    mutable std::mutex mutex;
    std::deque<std::vector<ScriptStep>> scripts;
    std::vector<std::string> requests;
    std::thread thread;

    // Waits for the socket to become readable; false when the server stops first.
    bool Readable(SocketHandle socket) const {
        while (!stopping) {
            if (WaitReadable(socket, kStopCheckMilliseconds)) return true;
        }
        return false;
    }

    // Appends one block to the request; false at end of stream, on error, or on stop.
    bool ReadBlock(SocketHandle socket, std::string& request) const {
        char block[kBlockSize];
        if (!Readable(socket)) return false;
        const auto got = recv(socket, block, static_cast<IoLength>(sizeof block), 0);
        if (got <= 0) return false;
        request.append(block, static_cast<std::size_t>(got));
        return true;
    }

    // The header and the body it announces: a close with unread bytes would be a reset.
    std::string ReadRequest(SocketHandle socket) const {
        std::string request;
        std::size_t headerEnd = std::string::npos;
        while ((headerEnd = request.find("\r\n\r\n")) == std::string::npos) {
            if (!ReadBlock(socket, request)) return request;
        }
        const std::size_t bodyStart = headerEnd + 4;
        const std::size_t bodyLength = AnnouncedLength(request.substr(0, headerEnd + 2));
        while (request.size() - bodyStart < bodyLength) {
            if (!ReadBlock(socket, request)) break;
        }
        return request;
    }

    // Plays the script; true when it ends normally and the connection is to close gracefully.
    bool Run(SocketHandle socket, const std::vector<ScriptStep>& script) const {
        for (const ScriptStep& step : script) {
            switch (step.kind) {
                case ScriptStep::Kind::Send:
                    for (std::size_t sent = 0; sent < step.bytes.size();) {
                        const std::size_t chunk = std::min(step.bytes.size() - sent, kBlockSize);
                        const auto count =
                            send(socket, step.bytes.data() + sent, static_cast<IoLength>(chunk), kSendFlags);
                        if (count <= 0) return false;
                        sent += static_cast<std::size_t>(count);
                    }
                    break;
                case ScriptStep::Kind::Pause:
                    std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
                    break;
                case ScriptStep::Kind::Reset: {
                    const linger option{1, 0};
                    setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option);
                    return false;
                }
                case ScriptStep::Kind::Hold: {
                    char byte;
                    while (Readable(socket) && recv(socket, &byte, 1, 0) > 0) {
                    }
                    return false;
                }
            }
        }
        return true;
    }

    void Play(Socket connection, const std::vector<ScriptStep>& script) const {
        // Our FIN goes out first, ahead of the close, so the client sees a clean end of stream.
        if (Run(connection.get(), script)) shutdown(connection.get(), kShutdownSend);
    }

    void Serve() {
        while (Readable(listener.get())) {
            Socket connection(accept(listener.get(), nullptr, nullptr));
            if (connection.get() == kNoSocket) continue;
            std::string request = ReadRequest(connection.get());
            std::vector<ScriptStep> script;
            {
                std::lock_guard lock(mutex);
                requests.push_back(std::move(request));
                if (!scripts.empty()) {
                    script = std::move(scripts.front());
                    scripts.pop_front();
                }
            }
            Play(std::move(connection), script);
        }
    }
};

ScriptServer::ScriptServer() : impl_(std::make_unique<Impl>()) {
    impl_->listener = OpenStream();
    if (impl_->listener.get() == kNoSocket || !BindLoopback(impl_->listener.get()) ||
        listen(impl_->listener.get(), 16) != 0)
        throw std::runtime_error("script server cannot listen");
    impl_->port = BoundPort(impl_->listener.get());
    impl_->thread = std::thread([this] { impl_->Serve(); });
}

ScriptServer::~ScriptServer() {
    impl_->stopping = true;
    impl_->thread.join();
}

std::uint16_t ScriptServer::Port() const { return impl_->port; }

void ScriptServer::Play(std::vector<ScriptStep> script) {
    std::lock_guard lock(impl_->mutex);
    impl_->scripts.push_back(std::move(script));
}

std::vector<std::string> ScriptServer::Requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

std::uint16_t ScriptServer::RefusingPort() {
    [[maybe_unused]] const SocketLibrary library;
    const Socket probe = OpenStream();
    BindLoopback(probe.get());
    return BoundPort(probe.get());  // closed on return: connections are refused
}
