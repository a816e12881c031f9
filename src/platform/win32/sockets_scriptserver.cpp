// The transport tests' loopback peer over blocking Winsock sockets (test support only;
// the product never links it).
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "script_server.h"

namespace {

class Socket {
public:
    explicit Socket(SOCKET socket = INVALID_SOCKET) : socket_(socket) {}
    Socket(Socket&& other) noexcept : socket_(std::exchange(other.socket_, INVALID_SOCKET)) {}
    Socket& operator=(Socket&& other) noexcept {
        std::swap(socket_, other.socket_);
        return *this;
    }
    ~Socket() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
    }
    SOCKET get() const { return socket_; }

private:
    SOCKET socket_;
};

// Keeps the library started for the server's own sockets.
class Library {
public:
    Library() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Library() { WSACleanup(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t BoundPort(SOCKET socket) {
    sockaddr_in address{};
    int length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

}  // namespace

struct ScriptServer::Impl {
    Library library;
    Socket listener;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    mutable std::mutex mutex;
    std::deque<std::vector<ScriptStep>> scripts;
    std::vector<std::string> requests;
    std::thread thread;

    bool Readable(SOCKET socket) const {
        while (!stopping) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(socket, &set);
            timeval wait{0, 20000};
            if (select(0, &set, nullptr, nullptr, &wait) > 0) return true;
        }
        return false;
    }

    std::string ReadRequest(SOCKET socket) const {
        std::string request;
        char block[4096];
        while (request.find("\r\n\r\n") == std::string::npos && Readable(socket)) {
            const int got = recv(socket, block, sizeof block, 0);
            if (got <= 0) break;
            request.append(block, static_cast<std::size_t>(got));
        }
        return request;
    }

    void Play(Socket connection, const std::vector<ScriptStep>& script) const {
        for (const ScriptStep& step : script) {
            switch (step.kind) {
            case ScriptStep::Kind::Send:
                for (std::size_t sent = 0; sent < step.bytes.size();) {
                    const int count = send(connection.get(), step.bytes.data() + sent, static_cast<int>(step.bytes.size() - sent), 0);
                    if (count <= 0) return;
                    sent += static_cast<std::size_t>(count);
                }
                break;
            case ScriptStep::Kind::Pause:
                std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
                break;
            case ScriptStep::Kind::Reset: {
                const linger option{1, 0};
                setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option);
                return;
            }
            case ScriptStep::Kind::Hold: {
                char byte;
                while (Readable(connection.get()) && recv(connection.get(), &byte, 1, 0) > 0) {
                }
                return;
            }
            }
        }
        shutdown(connection.get(), SD_SEND);
    }

    void Serve() {
        while (Readable(listener.get())) {
            Socket connection(accept(listener.get(), nullptr, nullptr));
            if (connection.get() == INVALID_SOCKET) continue;
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
    impl_->listener = Socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const sockaddr_in address = Loopback(0);
    if (impl_->listener.get() == INVALID_SOCKET ||
        bind(impl_->listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
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
    const Library library;
    const Socket probe(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const sockaddr_in address = Loopback(0);
    bind(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return BoundPort(probe.get());
}
