// The transport tests' loopback peer over blocking BSD sockets (test support only; the
// product never links it).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "script_server.h"

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t BoundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

std::size_t AnnouncedLength(const std::string& header) {
    for (std::size_t at = header.find("\r\n"); at != std::string::npos; at = header.find("\r\n", at + 2)) {
        const std::string name = "Content-Length: ";
        if (header.compare(at + 2, name.size(), name) == 0) return std::stoul(header.substr(at + 2 + name.size()));
    }
    return 0;
}

}  // namespace

struct ScriptServer::Impl {
    Fd listener;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    mutable std::mutex mutex;
    std::deque<std::vector<ScriptStep>> scripts;
    std::vector<std::string> requests;
    std::thread thread;

    // Waits for the fd to become readable; false when the server stops first.
    bool Readable(int fd) const {
        pollfd entry{fd, POLLIN, 0};
        while (!stopping) {
            if (poll(&entry, 1, 20) > 0) return true;
        }
        return false;
    }

    std::string ReadRequest(int fd) const {
        std::string request;
        char block[4096];
        std::size_t headerEnd = std::string::npos;
        while (headerEnd == std::string::npos ||
               request.size() < headerEnd + 4 + AnnouncedLength(request.substr(0, headerEnd + 2))) {
            if (!Readable(fd)) break;
            const ssize_t got = recv(fd, block, sizeof block, 0);
            if (got <= 0) break;
            request.append(block, static_cast<std::size_t>(got));
            headerEnd = request.find("\r\n\r\n");
        }
        return request;
    }

    void Play(Fd connection, const std::vector<ScriptStep>& script) const {
        for (const ScriptStep& step : script) {
            switch (step.kind) {
            case ScriptStep::Kind::Send:
                for (std::size_t sent = 0; sent < step.bytes.size();) {
                    const ssize_t count = send(connection.get(), step.bytes.data() + sent, step.bytes.size() - sent, MSG_NOSIGNAL);
                    if (count <= 0) return;
                    sent += static_cast<std::size_t>(count);
                }
                break;
            case ScriptStep::Kind::Pause:
                std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
                break;
            case ScriptStep::Kind::Reset: {
                const linger option{1, 0};
                setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, &option, sizeof option);
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
    }

    void Serve() {
        while (Readable(listener.get())) {
            Fd connection(accept(listener.get(), nullptr, nullptr));
            if (connection.get() < 0) continue;
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
    impl_->listener = Fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(0);
    if (impl_->listener.get() < 0 || bind(impl_->listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
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
    Fd probe(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(0);
    bind(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return BoundPort(probe.get());  // closed on return: connections are refused
}
