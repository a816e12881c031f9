// Stand-in for Winsock 1.1 in asynchronous mode: non-blocking BSD sockets whose
// readiness the message pump turns into the same notifications, with the same
// re-enabling rules (one read notice until the next receive, one close, one connect)
// and the same WSA error numbers.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // POLLRDHUP: the peer's close is seen even with data still unread
#endif
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

#include "platform/posix/messages_queue.h"

namespace platform {
namespace {

enum class State { Idle, Connecting, Connected };

struct SocketRecord {
    State state = State::Idle;
    std::uint64_t window = 0;  // 0: no notifications asked for
    unsigned message = 0;
    bool armed = true;         // notices are asked for while connected
    bool readEnabled = true;   // a read notice may be posted
    bool closePosted = false;  // the peer's close has been reported
    bool endOfData = false;    // nothing more will ever arrive
    int stickyError = 0;       // a reset stays reported, as on Windows
};

std::map<int, SocketRecord>& Sockets() {
    static std::map<int, SocketRecord> sockets;
    return sockets;
}

int lastError = 0;
LookupId nextLookup = 1;

// Lookups are answered at once; the answer waits here for its reader.
std::map<LookupId, std::uint32_t>& Lookups() {
    static std::map<LookupId, std::uint32_t> lookups;
    return lookups;
}

int WsaFromErrno(int error) {
    switch (error) {
        case EWOULDBLOCK:
        case EINPROGRESS:
        case EALREADY:
            return kErrorWouldBlock;
        case EINTR:
            return 10004;
        case EBADF:
        case ENOTSOCK:
            return 10038;
        case EACCES:
            return 10013;
        case EFAULT:
            return 10014;
        case EINVAL:
            return 10022;
        case EMFILE:
        case ENFILE:
            return 10024;
        case EMSGSIZE:
            return 10040;
        case EADDRINUSE:
            return 10048;
        case EADDRNOTAVAIL:
            return 10049;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return 10051;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return 10053;
        case ECONNRESET:
        case EPIPE:
            return 10054;
        case ENOBUFS:
        case ENOMEM:
            return 10055;
        case EISCONN:
            return 10056;
        case ENOTCONN:
            return kErrorNotConnected;
        case ESHUTDOWN:
            return 10058;
        case ETIMEDOUT:
            return 10060;
        case ECONNREFUSED:
            return 10061;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return 10065;
        default:
            return 10107;  // system call failure
    }
}

int Fail(int wsaError) {
    lastError = wsaError;
    return kSocketError;
}

int PendingError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    return error;
}

void Notify(const SocketRecord& record, int fd, unsigned event, int wsaError) {
    if (record.window == 0) return;
    const auto lParam = static_cast<std::intptr_t>((static_cast<unsigned>(wsaError) << 16) | event);
    posix::PostWindowMessage(record.window, record.message, static_cast<std::uintptr_t>(fd), lParam);
}

short InterestOf(const SocketRecord& record) {
    if (record.window == 0 || record.stickyError != 0) return 0;
    switch (record.state) {
        case State::Connecting:
            return POLLOUT;
        case State::Connected: {
            if (!record.armed) return 0;
            short events = 0;
            if (record.readEnabled && !record.endOfData) events |= POLLIN;
            if (!record.closePosted) events |= POLLRDHUP;
            return events;
        }
        case State::Idle:
            break;
    }
    return 0;
}

void ReportConnected(int fd, SocketRecord& record, short revents) {
    record.state = State::Connected;
    const int error = PendingError(fd);
    if (error != 0 || (revents & (POLLERR | POLLHUP)) != 0) {
        record.closePosted = true;
        record.endOfData = true;
        Notify(record, fd, kEventConnect, error != 0 ? WsaFromErrno(error) : 10061);
    } else {
        Notify(record, fd, kEventConnect, 0);
    }
}

void ReportConnectedSocket(int fd, SocketRecord& record, short revents) {
    if ((revents & POLLERR) != 0) {
        const int error = PendingError(fd);
        record.stickyError = WsaFromErrno(error != 0 ? error : ECONNRESET);
        record.endOfData = true;
        if (!record.closePosted) Notify(record, fd, kEventClose, record.stickyError);
        record.closePosted = true;
        return;
    }
    bool hasData = false;
    if ((revents & POLLIN) != 0) {
        char byte;
        hasData = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
        if (!hasData && record.closePosted) record.endOfData = true;
    }
    if (hasData && record.readEnabled) {
        record.readEnabled = false;
        Notify(record, fd, kEventRead, 0);
    }
    if ((revents & (POLLRDHUP | POLLHUP)) != 0 && !record.closePosted) {
        record.closePosted = true;
        Notify(record, fd, kEventClose, 0);
    }
}

void Report(int fd, SocketRecord& record, short revents) {
    switch (record.state) {
        case State::Connecting:
            ReportConnected(fd, record, revents);
            break;
        case State::Connected:
            ReportConnectedSocket(fd, record, revents);
            break;
        case State::Idle:
            break;
    }
}

SocketRecord* Find(SocketId socket) {
    auto found = Sockets().find(static_cast<int>(socket));
    return found == Sockets().end() ? nullptr : &found->second;
}

sockaddr_in ToSockaddr(const Ipv4Address& peer) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(peer.Port);
    address.sin_addr.s_addr = peer.Address;
    return address;
}

}  // namespace

namespace posix {
void PollSockets(int timeoutMs) {
    std::vector<pollfd> fds;
    for (const auto& [fd, record] : Sockets())
        if (const short events = InterestOf(record); events != 0) fds.push_back(pollfd{fd, events, 0});
    if (fds.empty() && timeoutMs == 0) return;
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return;
    for (const pollfd& entry : fds) {
        if (entry.revents == 0) continue;
        if (SocketRecord* record = Find(static_cast<SocketId>(entry.fd))) Report(entry.fd, *record, entry.revents);
    }
}
}  // namespace posix

// There is nothing to start or stop: any live token will do.
SocketLibrary StartSockets(SocketLibraryInfo& info) {
    info.Version = 0x0101;
    info.HighVersion = 0x0202;
    info.Description = "Quorvane posix sockets";
    info.SystemStatus = "Running";
    info.MaxSockets = 1024;
    info.MaxUdpDatagram = 65467;
    return std::make_shared<char>();
}

SocketId OpenStreamSocket() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) {
        Fail(WsaFromErrno(errno));
        return kNoSocket;
    }
    Sockets()[fd] = SocketRecord{};
    return static_cast<SocketId>(fd);
}

bool SetLingerReset(SocketId socket) {
    const linger option{1, 0};
    if (setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &option, sizeof option) == 0) return true;
    Fail(WsaFromErrno(errno));
    return false;
}

bool SelectNotifications(SocketId socket, const MessageWindow& window, unsigned message) {
    SocketRecord* record = Find(socket);
    if (record == nullptr) return Fail(10038), false;
    const int fd = static_cast<int>(socket);
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return Fail(WsaFromErrno(errno)), false;
    record->window = window.impl().id;
    record->message = message;
    return true;
}

bool ArmConnectedNotifications(SocketId socket, const MessageWindow& window, unsigned message, bool armed) {
    if (!SelectNotifications(socket, window, message)) return false;
    Find(socket)->armed = armed;
    return true;
}

LookupId StartHostLookup(const MessageWindow& window, unsigned message, const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    const int status = getaddrinfo(name.c_str(), nullptr, &hints, &result);
    int wsaError = 0;
    std::uint32_t address = 0;
    if (status == 0 && result != nullptr) {
        address = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr.s_addr;
    } else {
        wsaError = status == EAI_AGAIN ? 11002 : status == EAI_NODATA ? 11004 : status == EAI_NONAME ? 11001 : 11003;
    }
    if (result != nullptr) freeaddrinfo(result);
    const LookupId lookup = nextLookup++;
    Lookups()[lookup] = address;
    posix::PostWindowMessage(window.impl().id, message, lookup,
                             static_cast<std::intptr_t>(static_cast<unsigned>(wsaError) << 16));
    return lookup;
}

std::uint32_t FinishHostLookup(LookupId lookup) {
    const auto found = Lookups().find(lookup);
    if (found == Lookups().end()) return 0;
    const std::uint32_t address = found->second;
    Lookups().erase(found);
    return address;
}

void CancelHostLookup(LookupId lookup) { Lookups().erase(lookup); }

std::uint32_t InetAddress(const char* text) {
    in_addr address{};
    return inet_aton(text, &address) != 0 ? address.s_addr : kNoAddress;
}

int ConnectSocket(SocketId socket, const Ipv4Address& peer) {
    SocketRecord* record = Find(socket);
    if (record == nullptr) return Fail(10038);
    if (record->state != State::Idle) return Fail(10056);
    const sockaddr_in address = ToSockaddr(peer);
    const int fd = static_cast<int>(socket);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        record->state = State::Connected;
        Notify(*record, fd, kEventConnect, 0);
        return Fail(kErrorWouldBlock);
    }
    const int error = errno;
    switch (error) {
        case EINPROGRESS:
            record->state = State::Connecting;
            return Fail(kErrorWouldBlock);
        case ECONNREFUSED:
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ETIMEDOUT:
            // Winsock reports these through the connect notice, never at once.
            record->state = State::Connected;
            record->closePosted = record->endOfData = true;
            Notify(*record, fd, kEventConnect, WsaFromErrno(error));
            return Fail(kErrorWouldBlock);
        default:
            return Fail(WsaFromErrno(error));
    }
}

int SendSocket(SocketId socket, const char* data, int length) {
    SocketRecord* record = Find(socket);
    if (record == nullptr) return Fail(10038);
    if (record->stickyError != 0) return Fail(record->stickyError);
    const ssize_t sent = send(static_cast<int>(socket), data, static_cast<size_t>(length), MSG_NOSIGNAL);
    if (sent < 0) return Fail(WsaFromErrno(errno));
    return static_cast<int>(sent);
}

int ReceiveSocket(SocketId socket, char* data, int length, bool peek) {
    SocketRecord* record = Find(socket);
    if (record == nullptr) return Fail(10038);
    record->readEnabled = true;
    if (record->stickyError != 0) return Fail(record->stickyError);
    if (record->state == State::Idle) return Fail(kErrorNotConnected);
    const ssize_t received = recv(static_cast<int>(socket), data, static_cast<size_t>(length), peek ? MSG_PEEK : 0);
    if (received >= 0) return static_cast<int>(received);
    const int error = errno;
    if (error == ECONNRESET || error == ECONNABORTED || error == ETIMEDOUT) {
        record->stickyError = WsaFromErrno(error);
        record->endOfData = true;
    }
    return Fail(WsaFromErrno(error));
}

int CloseSocket(SocketId socket) {
    if (Sockets().erase(static_cast<int>(socket)) == 0) return Fail(10038);
    if (close(static_cast<int>(socket)) != 0) return Fail(WsaFromErrno(errno));
    return 0;
}

SocketId AcceptSocket(SocketId socket, Ipv4Address& peer) {
    SocketRecord* record = Find(socket);
    if (record == nullptr) return Fail(10038), kNoSocket;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int fd = accept4(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
    if (fd < 0) return Fail(WsaFromErrno(errno)), kNoSocket;
    peer.Address = address.sin_addr.s_addr;
    peer.Port = ntohs(address.sin_port);
    SocketRecord accepted;
    accepted.state = State::Connected;
    Sockets()[fd] = accepted;
    return static_cast<SocketId>(fd);
}

int LastSocketError() { return lastError; }

}  // namespace platform
