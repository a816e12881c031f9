// Winsock 1.1 in asynchronous mode, passed through; host lookups keep their result area
// here so that a late answer never writes into freed memory.
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/win32/messages_window.h"

namespace platform {
namespace {

struct Lookup {
    HANDLE handle = nullptr;
    std::array<char, MAXGETHOSTSTRUCT> result{};
};

std::map<LookupId, std::unique_ptr<Lookup>>& Lookups() {
    static std::map<LookupId, std::unique_ptr<Lookup>> lookups;
    return lookups;
}

// A cancelled lookup may still be answered: its area is never freed.
std::vector<std::unique_ptr<Lookup>>& AbandonedLookups() {
    static std::vector<std::unique_ptr<Lookup>> abandoned;
    return abandoned;
}

}  // namespace

SocketLibrary StartSockets(SocketLibraryInfo& info) {
    auto library = std::make_shared<win32::SocketLibraryScope>(MAKEWORD(1, 1));
    if (!library->Started()) return nullptr;
    const WSADATA& data = library->Data();
    info.Version = data.wVersion;
    info.HighVersion = data.wHighVersion;
    info.Description = data.szDescription;
    info.SystemStatus = data.szSystemStatus;
    info.MaxSockets = data.iMaxSockets;
    info.MaxUdpDatagram = data.iMaxUdpDg;
    return library;
}

SocketId OpenStreamSocket() { return ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); }

bool SetLingerReset(SocketId socket) {
    const linger option{1, 0};
    return setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option) == 0;
}

bool SelectNotifications(SocketId socket, const MessageWindow& window, unsigned message) {
    return WSAAsyncSelect(socket, window.impl().hwnd.Get(), message,
                          FD_READ | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE) == 0;
}

// Windows posts the connect notice again to a connected socket that asks for it, and the
// reader would hear of a new connection at every switch. Disarmed, the socket asks for
// nothing at all: for the close and out-of-band notices alone, Wine's server watched it
// after every read and peeked into it, half as many system calls again per block.
bool ArmConnectedNotifications(SocketId socket, const MessageWindow& window, unsigned message, bool armed) {
    const long events = armed ? FD_READ | FD_OOB | FD_CLOSE : 0;
    return WSAAsyncSelect(socket, window.impl().hwnd.Get(), message, events) == 0;
}

LookupId StartHostLookup(const MessageWindow& window, unsigned message, const std::string& name) {
    auto lookup = std::make_unique<Lookup>();
    lookup->handle = WSAAsyncGetHostByName(window.impl().hwnd.Get(), message, name.c_str(), lookup->result.data(),
                                           static_cast<int>(lookup->result.size()));
    if (lookup->handle == nullptr) return 0;
    const auto id = reinterpret_cast<LookupId>(lookup->handle);
    Lookups()[id] = std::move(lookup);
    return id;
}

std::uint32_t FinishHostLookup(LookupId lookup) {
    const auto found = Lookups().find(lookup);
    if (found == Lookups().end()) return 0;
    const auto* entry = reinterpret_cast<const hostent*>(found->second->result.data());
    std::uint32_t address = 0;
    if (entry->h_addrtype == AF_INET && entry->h_length == sizeof address && entry->h_addr_list[0] != nullptr)
        std::memcpy(&address, entry->h_addr_list[0], sizeof address);
    Lookups().erase(found);
    return address;
}

void CancelHostLookup(LookupId lookup) {
    const auto found = Lookups().find(lookup);
    if (found == Lookups().end()) return;
    WSACancelAsyncRequest(found->second->handle);
    AbandonedLookups().push_back(std::move(found->second));
    Lookups().erase(found);
}

std::uint32_t InetAddress(const char* text) { return inet_addr(text); }

int ConnectSocket(SocketId socket, const Ipv4Address& peer) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(peer.Port);
    address.sin_addr.s_addr = peer.Address;
    return connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int SendSocket(SocketId socket, const char* data, int length) { return send(socket, data, length, 0); }

int ReceiveSocket(SocketId socket, char* data, int length, bool peek) {
    return recv(socket, data, length, peek ? MSG_PEEK : 0);
}

int CloseSocket(SocketId socket) { return closesocket(socket); }

SocketId AcceptSocket(SocketId socket, Ipv4Address& peer) {
    sockaddr_in address{};
    int length = sizeof address;
    const SOCKET accepted = accept(socket, reinterpret_cast<sockaddr*>(&address), &length);
    peer.Address = address.sin_addr.s_addr;
    peer.Port = ntohs(address.sin_port);
    return accepted;
}

int LastSocketError() { return WSAGetLastError(); }

}  // namespace platform
