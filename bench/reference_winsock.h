// What the two bare Winsock references share: the connected socket that has sent its GET,
// and the sink that drops the reply's headers and writes the body.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <ws2tcpip.h>

#include <cstring>

#include "reference.h"

namespace reference {

class WinsockSession {
public:
    WinsockSession() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~WinsockSession() {
        if (ok_) WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool ok() const { return ok_; }

private:
    WSADATA data_{};
    bool ok_ = false;
};

class Socket {
public:
    Socket() = default;
    ~Socket() {
        if (handle_ != INVALID_SOCKET) closesocket(handle_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Connects (blocking) and sends a request that the server answers by closing.
    bool open(const Url& url) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(url.host.c_str(), std::to_string(url.port).c_str(), &hints, &found) != 0) return false;
        const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
        handle_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (handle_ == INVALID_SOCKET) return false;
        if (connect(handle_, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0) return false;
        const std::string request = "GET " + url.path + " HTTP/1.0\r\nHost: " + url.host + "\r\n\r\n";
        return send(handle_, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size());
    }
    SOCKET get() const { return handle_; }

private:
    SOCKET handle_ = INVALID_SOCKET;
};

// Takes each received block; the first bytes up to the blank line are the reply's headers.
class BodySink {
public:
    BodySink(OutputFile& file, Transfer& transfer) : file_(file), transfer_(transfer) {}

    bool take(const char* data, std::size_t size) {
        ++transfer_.blocks;
        if (inHeaders_) {
            headers_.append(data, size);
            const auto end = headers_.find("\r\n\r\n");
            if (end == std::string::npos) return headers_.size() < BlockSize;
            inHeaders_ = false;
            const std::size_t body = end + 4;
            return writeBody(headers_.data() + body, headers_.size() - body);
        }
        return writeBody(data, size);
    }

private:
    bool writeBody(const char* data, std::size_t size) {
        transfer_.bytes += static_cast<long long>(size);
        return size == 0 || file_.write(data, size);
    }

    OutputFile& file_;
    Transfer& transfer_;
    std::string headers_;
    bool inHeaders_ = true;
};

}  // namespace reference
