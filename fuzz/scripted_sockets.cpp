// Sockets for the fuzzers, under the real posix message queue: every connection is
// answered by the same scripted peer, which hands out the fuzzed reply in chunks, says
// "would block" between them (the client then waits for the next read notice, which the
// queue's poll delivers), and ends with a close or a reset. Deterministic and without any
// real socket, so each input runs in microseconds.
#include "scripted_sockets.h"

#include <algorithm>
#include <cstdint>

#include "platform/posix/messages_queue.h"

namespace platform {
namespace {

struct Peer {
    fuzzseam::Script script;
    int lastError = 0;
    SocketId nextSocket = 0;
    // The one connection: which socket, how far it has read, how far data has arrived.
    SocketId socket = kNoSocket;
    std::uint64_t window = 0;
    unsigned message = 0;
    std::size_t read = 0, arrived = 0;
    bool connected = false;
    bool waiting = false;
    int zeroSends = 0;
    int failedLookupsRead = 0;
};

Peer& ThePeer() {
    static Peer peer;
    return peer;
}

int Fail(int error) {
    ThePeer().lastError = error;
    return kSocketError;
}

void Notify(std::uint64_t window, unsigned message, std::uintptr_t wParam, unsigned event, unsigned error) {
    posix::PostWindowMessage(window, message, wParam, static_cast<std::intptr_t>((error << 16) | event));
}

}  // namespace

// The next chunk arrives with its read notice; the close comes with the last one.
void posix::PollSockets(int) {
    Peer& peer = ThePeer();
    if (!peer.waiting || !peer.connected) return;
    peer.waiting = false;
    const std::size_t total = peer.script.endless ? SIZE_MAX : peer.script.reply.size();
    peer.arrived = std::min(total, peer.arrived + peer.script.chunk);
    Notify(peer.window, peer.message, peer.socket, kEventRead, 0);
    if (peer.arrived == total)
        Notify(peer.window, peer.message, peer.socket, kEventClose, peer.script.resetAtEnd ? 10054u : 0u);
}

SocketLibrary StartSockets(SocketLibraryInfo& info) {
    info.Version = 0x0101;
    return std::make_shared<char>();
}

// Numbers are reused, as a real system does, so that millions of runs stay in 16 bits.
SocketId OpenStreamSocket() { return 3 + ThePeer().nextSocket++ % 1024; }
bool SetLingerReset(SocketId) { return true; }

bool SelectNotifications(SocketId socket, const MessageWindow& window, unsigned message) {
    Peer& peer = ThePeer();
    peer.socket = socket;
    peer.connected = false;
    peer.window = window.impl().id;
    peer.message = message;
    return true;
}

// The scripted peer sends its read notice with each chunk whatever was asked.
bool ArmConnectedNotifications(SocketId, const MessageWindow&, unsigned, bool) { return true; }

// Names never resolve: a fuzzed redirection to a name ends at "Null Remote Address".
// Whatever a failed lookup's result area holds is not to be read.
LookupId StartHostLookup(const MessageWindow& window, unsigned message, const std::string&) {
    Notify(window.impl().id, message, 1, 0, 11001);
    return 1;
}
std::uint32_t FinishHostLookup(LookupId) {
    ++ThePeer().failedLookupsRead;
    return 0;
}
void CancelHostLookup(LookupId) {}

std::uint32_t InetAddress(const char* text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        unsigned value = 0;
        int digits = 0;
        for (; *text >= '0' && *text <= '9' && digits < 4; ++text, ++digits) value = value * 10 + unsigned(*text - '0');
        if (digits == 0 || value > 255 || *text != (part == 3 ? '\0' : '.')) return kNoAddress;
        if (part < 3) ++text;
        address |= value << (8 * part);
    }
    return address;
}

int ConnectSocket(SocketId socket, const Ipv4Address&) {
    Peer& peer = ThePeer();
    if (socket != peer.socket) return Fail(10038);
    peer.read = peer.arrived = 0;
    peer.connected = !peer.script.refuse;
    peer.waiting = true;
    Notify(peer.window, peer.message, socket, kEventConnect, peer.script.refuse ? 10061u : 0u);
    return Fail(kErrorWouldBlock);
}

int SendSocket(SocketId socket, const char*, int length) {
    Peer& peer = ThePeer();
    if (socket != peer.socket || !peer.connected) return Fail(kErrorNotConnected);
    if (!peer.script.sendStalls) return length;
    // A caller that keeps asking is stopped here instead of spinning for ever.
    if (++peer.zeroSends > 1000) throw std::runtime_error("send called again after it took nothing 1000 times");
    return 0;
}

int ReceiveSocket(SocketId socket, char* data, int length, bool peek) {
    Peer& peer = ThePeer();
    if (socket != peer.socket || !peer.connected) return Fail(kErrorNotConnected);
    if (peer.read == peer.arrived) {
        if (peer.script.endless || peer.arrived < peer.script.reply.size()) {
            peer.waiting = true;
            return Fail(kErrorWouldBlock);
        }
        return peer.script.resetAtEnd ? Fail(10054) : 0;
    }
    const std::size_t count = std::min(peer.arrived - peer.read, static_cast<std::size_t>(length));
    // An endless reply wraps around; a finite one is copied in one run.
    const std::string& reply = peer.script.reply;
    for (std::size_t done = 0; done < count;) {
        const std::size_t at = (peer.read + done) % reply.size();
        const std::size_t run = std::min(count - done, reply.size() - at);
        std::copy_n(reply.data() + at, run, data + done);
        done += run;
    }
    if (!peek) peer.read += count;
    return static_cast<int>(count);
}

int CloseSocket(SocketId socket) {
    Peer& peer = ThePeer();
    if (socket == peer.socket) peer.connected = false;
    return 0;
}

SocketId AcceptSocket(SocketId, Ipv4Address&) { return Fail(10045), kNoSocket; }
int LastSocketError() { return ThePeer().lastError; }

}  // namespace platform

namespace fuzzseam {
void Serve(Script script) {
    auto& peer = platform::ThePeer();
    peer.script = std::move(script);
    peer.script.chunk = std::max<std::size_t>(peer.script.chunk, 1);
    if (peer.script.reply.empty()) peer.script.endless = false;
    peer.zeroSends = 0;
    peer.failedLookupsRead = 0;
}
int FailedLookupsRead() { return platform::ThePeer().failedLookupsRead; }
}  // namespace fuzzseam
